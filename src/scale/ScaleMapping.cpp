#include "scale/ScaleMapping.h"

#include <cmath>

void TScaleMapping::Update(double low, double high, bool logarithmic, const TScaleGeometry& g)
{
    logarithmic_ = logarithmic;
    reversed_ = high < low;
    width_ = g.Width;
    if (high == low)
        return;
    const bool vertical = IsVertical(g.ScaleType);
    const int span = vertical ? g.Height - g.MarginTop - g.MarginBottom - 1
                              : g.Width - g.MarginLeft - g.MarginRight - 1;
    if (logarithmic && !(low > 0 && high > 0))
        return;
    if (span <= 0) {
        factor_ = 0;
        offset_ = (vertical ? g.Height : g.Width) / 2.0;
        return;
    }
    const double lo = logarithmic ? std::log(low) : low;
    const double hi = logarithmic ? std::log(high) : high;
    if (vertical) {
        factor_ = span / (lo - hi);
        offset_ = g.MarginTop - hi * factor_;
    } else {
        factor_ = span / (hi - lo);
        offset_ = g.MarginLeft - lo * factor_;
    }
}

int TScaleMapping::ValueToPixel(double v) const
{
    double p;
    if (logarithmic_) {
        if (!(v > 1e-100))
            return reversed_ ? width_ : 0;
        p = factor_ * std::log(v) + offset_;
    } else {
        p = factor_ * v + offset_;
    }
    if (std::isnan(p))
        return 0;
    if (p > 2147483647.0)
        p = 2147483647.0;
    if (p < -2147483647.0)
        p = -2147483647.0;
    return int(std::nearbyint(p));
}
