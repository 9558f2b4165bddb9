#pragma once
// The positions of a chart's grid lines along one axis.

#include <vector>

constexpr int kMaxGridLines = 1000;

// low < high. step: the GridDx / GridDy setting (0 = at the axis ticks, > 0 a
// spacing, -1..-3 decade patterns on logarithmic axes; a linear axis uses |step|).
// ticks: the axis's recorded tick values, used when step is 0.
// At most kMaxGridLines values, all below high.
std::vector<double> GridValues(double low, double high, bool logarithmic, double step,
                               const std::vector<double>& ticks);
