#pragma once
// One substance of the spectrum library as the model uses it: its lines in
// the order the loader leaves them (ascending abundance) and the end of the
// spectrum chart's mass axis.

#include "app/SectorField.h"

#include <QString>
#include <optional>
#include <vector>

class TSpectrumLibrary;

struct TSubstance {
    QString Name;
    std::vector<TSpectralLine> Lines;
    std::optional<double> MassAxisEnd; // none when no mass was read
    std::optional<double> LastMass;    // the last mass read (MassAxisEndAfter)
};

// Loads by the loader's own rule (the name line compared without case); none
// when no record is found. A damaged record raises the loader's
// EConvertError.
std::optional<TSubstance> LoadSubstance(TSpectrumLibrary& library, const QString& name);
