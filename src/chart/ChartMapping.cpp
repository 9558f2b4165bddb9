#include "chart/ChartMapping.h"

#include <cmath>

namespace {

long double Ends(double v, bool log) { return log ? std::log((long double)v) : (long double)v; }

} // namespace

TAxisMapping MapHorizontal(const TChartGeometry& g, double low, double high, bool log)
{
    TAxisMapping m;
    m.log = log;
    m.lowEnd = high < low ? g.Width : 0;
    const int wd = g.Wd();
    if (wd <= 0) {
        m.Set(0, g.Width / 2.0L);
        return m;
    }
    const long double lo = Ends(low, log), hi = Ends(high, log);
    const long double right = g.Width - g.MarginRight - g.ShadowWidth;
    m.Set(wd / (hi - lo), (g.MarginLeft * hi - right * lo) / (hi - lo));
    return m;
}

TAxisMapping MapVertical(const TChartGeometry& g, double low, double high, bool log)
{
    TAxisMapping m;
    m.log = log;
    m.lowEnd = high < low ? 0 : g.Height;
    const int hd = g.Hd();
    if (hd <= 0) {
        m.Set(0, g.Height / 2.0L);
        return m;
    }
    const long double lo = Ends(low, log), hi = Ends(high, log);
    const long double bottom = g.Height - g.MarginBottom - g.ShadowWidth;
    m.Set(-hd / (hi - lo), (bottom * hi - g.MarginTop * lo) / (hi - lo));
    return m;
}

int AxisToPixel(const TAxisMapping& m, double v)
{
    if (!m.log) {
        // The pixel is that of the extended-precision sum below, which costs
        // several times more. The same sum in double differs from it by less
        // than `slack`, so where it is farther than that from the middle
        // between two pixels both round to the same one.
        const double p = m.kd * v + m.dd;
        const double slack = 4e-15 * (std::fabs(m.kd * v) + std::fabs(m.dd) + 1.0);
        if (p > -2e9 && p < 2e9) {
            const double fraction = std::fabs(p - double((long long)p)); // 0 <= f < 1
            if (std::fabs(fraction - 0.5) > slack)
                return int(p < 0 ? p - 0.5 : p + 0.5); // truncated: the nearest
        }
    }
    long double p;
    if (m.log) {
        if (!(v > 1e-100))
            return m.lowEnd;
        p = m.k * std::log((long double)v) + m.d;
    } else {
        p = m.k * v + m.d;
    }
    if (std::isnan(p))
        return 0;
    if (p > 2147483647.0L)
        return 2147483647;
    if (p < -2147483647.0L)
        return -2147483647;
    // Nearest, ties to even, as nearbyint in the default rounding mode;
    // llrint rounds the same way and is many times cheaper for long double,
    // which counts with two conversions per point of every item.
    return int(std::llrint(p));
}

double AxisToWorld(const TAxisMapping& m, int p)
{
    const long double v = (p - m.d) / m.k;
    return double(m.log ? std::exp(v) : v);
}
