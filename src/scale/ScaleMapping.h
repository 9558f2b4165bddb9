#pragma once
// The mapping of a scale's values to pixel coordinates along the scale.

#include "scale/ScaleTypes.h"

struct TScaleGeometry {
    int Width = 400;
    int Height = 400;
    int MarginLeft = 20, MarginRight = 20, MarginTop = 20, MarginBottom = 20;
    TScaleType ScaleType = sctXB;
};

class TScaleMapping {
public:
    // Recomputes factor and offset; an empty range, and a logarithmic range
    // whose bounds are not both positive, keep the previous mapping.
    void Update(double low, double high, bool logarithmic, const TScaleGeometry& g);
    // Nearest pixel (halves to even), clamped to the 32-bit range.
    int ValueToPixel(double v) const;

    double Factor() const { return factor_; }
    double Offset() const { return offset_; }

private:
    double factor_ = 1.0;
    double offset_ = 0.0;
    bool logarithmic_ = false;
    bool reversed_ = false; // high < low: values at or below 1e-100 go to the far end
    int width_ = 400;
};
