#include "chart/ChartMapping.h"

#include <cmath>

namespace {

long double Ends(double v, bool log) { return log ? std::log((long double)v) : (long double)v; }

// Where one axis lies in the control: its low value at pixel From, its high
// value at To, Span pixels apart; the control's edges on the low and the high
// side; its middle, where everything goes when there is no room.
struct TAxisPixels {
    int Span;
    long double From, To;
    int LowEdge, HighEdge;
    long double Middle;
};

TAxisMapping MapAxis(const TAxisPixels& a, double low, double high, bool log)
{
    TAxisMapping m;
    m.Log = log;
    m.LowEnd = high < low ? a.HighEdge : a.LowEdge;
    if (a.Span <= 0) {
        m.Set(0, a.Middle);
        return m;
    }
    const long double lo = Ends(low, log), hi = Ends(high, log);
    m.Set((a.To - a.From) / (hi - lo), (a.From * hi - a.To * lo) / (hi - lo));
    return m;
}

} // namespace

TAxisMapping MapHorizontal(const TChartGeometry& g, double low, double high, bool log)
{
    const long double right = g.Width - g.MarginRight - g.ShadowWidth;
    return MapAxis({g.Wd(), (long double)g.MarginLeft, right, 0, g.Width, g.Width / 2.0L}, low, high, log);
}

TAxisMapping MapVertical(const TChartGeometry& g, double low, double high, bool log)
{
    const long double bottom = g.Height - g.MarginBottom - g.ShadowWidth;
    return MapAxis({g.Hd(), bottom, (long double)g.MarginTop, g.Height, 0, g.Height / 2.0L}, low, high, log);
}

int AxisToPixel(const TAxisMapping& m, double v)
{
    if (!m.Log) {
        // The pixel is that of the extended-precision sum below, which costs
        // several times more. The same sum in double differs from it by less
        // than `slack`, so where it is farther than that from the middle
        // between two pixels both round to the same one.
        const double p = m.Kd * v + m.Dd;
        const double slack = 4e-15 * (std::fabs(m.Kd * v) + std::fabs(m.Dd) + 1.0);
        if (p > -2e9 && p < 2e9) {
            const double fraction = std::fabs(p - double((long long)p)); // 0 <= f < 1
            if (std::fabs(fraction - 0.5) > slack)
                return int(p < 0 ? p - 0.5 : p + 0.5); // truncated: the nearest
        }
    }
    long double p;
    if (m.Log) {
        if (!(v > 1e-100))
            return m.LowEnd;
        p = m.K * std::log((long double)v) + m.D;
    } else {
        p = m.K * v + m.D;
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
    const long double v = (p - m.D) / m.K;
    return double(m.Log ? std::exp(v) : v);
}
