#include "scale/TickSpacing.h"

#include <cmath>

TTickSpacing CalcTickSpacing(int minTicks, long double low, long double high)
{
    TTickSpacing r;
    if (high == low || minTicks == 0) {
        r.FirstTick = double(low);
        return r;
    }
    const long double s = low < high ? 1.0L : -1.0L;
    long double d = std::log10(std::fabs(high - low) / minTicks);
    long double e = d - std::trunc(d);
    if (std::fabs(e) < 1e-10L || std::fabs(e) > 0.9999999999L) {
        e = 0;
        d = std::nearbyint(d); // halves to even in the default rounding mode
    }
    if (d < 0 && e != 0)
        d = d - 1;
    if (e < 0)
        e = e + 1;
    // The thresholds are the rounded logarithms of 2 and 5; the step itself is
    // built from the exact mantissa so that ticks fall on round numbers
    // (10^(k + 0.30103) would put them at 2.0000000199 x 10^k).
    constexpr long double L2 = 0.30103L, L5 = 0.69897L;
    long double mantissa;
    if (e < L2 + 1e-10L) {
        mantissa = 1;
        r.SubIntervals = 5;
    } else if (e < L5 + 1e-10L) {
        mantissa = 2;
        r.SubIntervals = 4;
    } else {
        mantissa = 5;
        r.SubIntervals = 5;
    }
    const long double distance = s * mantissa * std::pow(10.0L, std::trunc(d));
    r.Distance = double(distance);
    long double first = (std::trunc(low / distance) - 1) * distance;
    // A handful of additions at most; the bound only guards against ranges
    // that are not finite.
    for (int guard = 0; guard < 1000 && s * (low - first) > 0.001L * std::fabs(distance); ++guard)
        first += distance;
    r.FirstTick = double(first);
    return r;
}
