#pragma once
// The two charts of the simulation as the main window shows them: the
// deflection view with one path per spectral line, and the mass spectrum
// with the detector's sticks and a cursor at the mass in focus. The window
// and the command-line tool set them up and fill them alike, so that the
// tool's pictures are the window's.

#include "app/SectorField.h"

#include <vector>

class TRChart;

// Settings and place of the window's RChart1 and RChart2; ends their loading.
// The deflection chart's outline paths (TransparentFill) are switched on at
// the window's first activation, not here.
void SetUpDeflectionChart(TRChart& chart);
void SetUpSpectrumChart(TRChart& chart);

// Rebuilds the deflection chart's paths for one computation: faintest line
// first, straight paths above the straight-path limit; painted once at the end.
void ShowIonPaths(TRChart& deflection, const TIonPaths& model, const std::vector<TSpectralLine>& lines);

// The sticks the spectrum chart holds, in the order they were added.
std::vector<TSpectralLine> RecordedSticks(const TRChart& spectrum);
