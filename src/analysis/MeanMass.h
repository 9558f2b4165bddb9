#pragma once
// The relative atomic (or molecular) mass from a recorded spectrum: the
// abundance-weighted mean of the lines' masses, M = sum(m_i * a_i) / sum(a_i),
// as a class works it out from a scan of an element's isotopes. Where the
// exact mass behind a recorded nominal mass is known (an element's isotope,
// a line of a computed isotope pattern) it takes the place of the nominal
// mass, so that the mean can be set beside the standard atomic weight.

#include "support/SpectralLine.h"

#include <functional>
#include <optional>
#include <vector>

struct TMeanMassRow {
    double RecordedMass = 0; // as the detector recorded it
    double Mass = 0;         // the exact mass where known, else the recorded one
    double Abundance = 0;    // as recorded, percent of the strongest line
    double Share = 0;        // percent of the sum of all abundances
};

struct TMeanMass {
    std::vector<TMeanMassRow> Rows; // one per distinct recorded mass, ascending
    double Mean = 0;                // 0 when there are no lines
};

// `exactMass` gives the exact mass for a recorded mass, or none. Lines of the
// same mass (a scan records each several times) count once, with the largest
// abundance recorded for it. Lines with an abundance that is not a positive
// finite number are left out, and so are lines whose mass is not finite.
TMeanMass AbundanceWeightedMeanMass(const std::vector<TSpectralLine>& lines,
                                    const std::function<std::optional<double>(double)>& exactMass = {});
