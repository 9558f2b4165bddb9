#include "chart/GridValues.h"

#include <cmath>

namespace {

// log10 of v, snapped to the nearest integer when within 1e-14 of it, so that
// stepping through mantissas is not thrown off by rounding.
double SnappedLog10(double v)
{
    const double l = std::log10(v);
    const double r = std::nearbyint(l);
    return std::fabs(l - r) < 1e-14 ? r : l;
}

double NextMantissa(double v, int pattern)
{
    const double l = SnappedLog10(v);
    const double u = std::floor(l);
    const double m = std::nearbyint(std::pow(10.0, l - u));
    const double base = std::pow(10.0, u);
    if (pattern == -2)
        return base * (m < 2 ? 2 : m < 5 ? 5 : 10);
    return base * (m + 1); // -3: 1, 2, ..., 9, 10
}

} // namespace

std::vector<double> GridValues(double low, double high, bool logarithmic, double step,
                               const std::vector<double>& ticks)
{
    std::vector<double> out;
    if (!(low < high))
        return out;
    const bool decadePattern = logarithmic && step < 0;
    const double spacing = std::fabs(step);
    if (step != 0 && !decadePattern && !(spacing > 0 && std::isfinite(spacing)))
        return out;

    double v;
    size_t tick = 0;
    if (step == 0) {
        v = ticks.empty() ? low : ticks[0];
        tick = 1;
    } else if (!decadePattern) {
        v = std::ceil(low / spacing) * spacing;
    } else {
        if (!(low > 0))
            return out;
        const double l = std::log10(low);
        const double u = std::floor(l);
        const double m = std::nearbyint(std::pow(10.0, l - u));
        if (step == -1)
            v = std::pow(10.0, std::ceil(l));
        else if (step == -2)
            v = std::pow(10.0, u) * (m <= 2 ? 2 : m <= 5 ? 5 : 10);
        else
            v = std::pow(10.0, u) * m;
    }

    while (v < high && int(out.size()) < kMaxGridLines) {
        out.push_back(v);
        double next;
        if (step == 0) {
            next = tick < ticks.size() ? ticks[tick] : high;
            ++tick;
        } else if (!decadePattern) {
            next = v + spacing;
        } else if (step == -1) {
            next = v * 10;
        } else {
            next = NextMantissa(v, int(step));
        }
        if (!(next > v) && step != 0)
            break; // the spacing is lost in the value's precision
        v = next;
    }
    return out;
}
