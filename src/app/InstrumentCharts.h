#pragma once
// The two charts with the instrument's real beams and detectors
// (analysis/SectorInstrument.h) instead of the classic single paths and
// sticks: each line's beam as a band of rays with the slit's aperture or the
// plate on the wall, the slit's current as a trace over m/z, the plate's
// blackening against m/z. The window and ionpath-cli draw them alike. With
// the classic detector none of this is used (app/SpectrometerCharts.h).

#include "analysis/SectorInstrument.h"

#include <optional>
#include <vector>

class TRChart;

// Replaces the deflection chart's items: every line's beam as a band of
// three rays, its middle and its edges on the wall (faintest line first, as
// the classic paths), then the wall: the slit's two jaws, or the plate.
// Paints once at the end.
void ShowBeams(TRChart& deflection, const TSectorInstrument& instrument, const std::vector<TSpectralLine>& lines,
               int fieldPosition);

// Appends one sample of a slit scan to the spectrum chart: a segment from the
// previous sample when the field rose since (a new scan starts without one).
// The abundance axis grows in steps of 50 % when a current passes its top
// (lines that the slit takes together add up). Does not paint.
void AddTraceSample(TRChart& spectrum, const std::optional<TTraceSample>& previous, const TTraceSample& sample);

// Replaces the spectrum chart's items by the plate's blackening (0 to 100 %)
// against m/z at this field, read at `readings` heights. Does not paint.
void ShowPlate(TRChart& spectrum, const TSectorInstrument& instrument, const std::vector<TSpectralLine>& lines,
               int fieldPosition, int readings = 400);
