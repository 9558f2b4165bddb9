#pragma once
// The two charts of the simulation as the main window shows them: the
// deflection view with one path per spectral line, and the mass spectrum
// with the detector's sticks and a cursor at the mass in focus. The window
// and the command-line tool set them up and fill them alike, so that the
// tool's pictures are the window's.

#include "app/SectorField.h"

#include <QString>
#include <vector>

class TRChart;

// Settings and place of the window's RChart1 and RChart2; ends their loading.
// The deflection chart's outline paths (TransparentFill) are switched on at
// the window's first activation, not here.
void SetUpDeflectionChart(TRChart& chart);
void SetUpSpectrumChart(TRChart& chart);

// Replaces the deflection chart's paths by those of one computation, painted
// once at the end: one path per line, faintest first (so strong lines lie on
// top), a straight path from the source to the top above the straight-path
// limit, else the circle through the source.
void ShowIonPaths(TRChart& deflection, const TIonPaths& model, const std::vector<TSpectralLine>& lines);

// The detector's part of one computation on the spectrum chart: appends the
// stick of the line in focus, if there is one (as the field scan records it),
// and puts CrossHair1 at the mass in focus. The chart as set up above does not
// redraw by itself: the caller calls ShowItems once its other changes are in.
void ShowDetector(TRChart& spectrum, const TIonPaths& model, const std::vector<TSpectralLine>& lines);

// The sticks the spectrum chart holds, in the order they were added.
std::vector<TSpectralLine> RecordedSticks(const TRChart& spectrum);

// The spectrum chart's abundance axis (layer 1, where the sticks stand):
// linear from 0 to 100 % as set up, or logarithmic from kLogAbundanceLow to
// 100 %, where the lines of a few percent beside a strong one stand tall
// enough to compare. A stick from 0 runs from the axis to its value on
// either. Switching paints the chart once, unless its painting is suppressed.
constexpr double kLogAbundanceLow = 0.1;
void SetLogarithmicAbundance(TRChart& spectrum, bool on);
bool LogarithmicAbundance(const TRChart& spectrum);

// What the spectrum chart's mass axis shows for ions of `charge`: for 1 the
// mass, as the classic chart has it (nothing is written); above 1 m/z, which
// `text` ("m/z (z = 2)") says at the axis's right end, inside the data area
// (text label 1). Does not paint.
void ShowMassAxisCharge(TRChart& spectrum, int charge, const QString& text);
