#pragma once
// World-to-pixel mapping of a chart layer: the data area of the control and a
// factor and offset per axis, linear or logarithmic.

struct TChartGeometry {
    int Width = 0, Height = 0;
    int MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    int ShadowWidth = 0;
    // Pixel width and height of the data area (the data bitmap is one larger).
    int Wd() const { return Width - MarginLeft - MarginRight - ShadowWidth; }
    int Hd() const { return Height - MarginTop - MarginBottom - ShadowWidth; }
};

// One axis of one layer: p = k * v + d, or k * ln v + d on a logarithmic axis.
struct TAxisMapping {
    long double k = 0;
    long double d = 0;
    // k and d in double, for the quick path of AxisToPixel.
    double kd = 0, dd = 0;
    bool log = false;
    // The pixel that values at or below 1e-100 go to on a logarithmic axis.
    int lowEnd = 0;

    void Set(long double kk, long double dd_)
    {
        k = kk;
        d = dd_;
        kd = double(kk);
        dd = double(dd_);
    }
};

// XL maps to the left edge of the data area, XH to its right edge.
TAxisMapping MapHorizontal(const TChartGeometry& g, double low, double high, bool log);
// YL maps to the bottom edge of the data area, YH to its top edge.
TAxisMapping MapVertical(const TChartGeometry& g, double low, double high, bool log);

// Nearest pixel, ties to even, limited to the 32-bit range (NaN maps to 0).
int AxisToPixel(const TAxisMapping& m, double v);
double AxisToWorld(const TAxisMapping& m, int p);

// Drawing code limits pixel coordinates to this before they reach the canvas.
constexpr int kDrawLimit = 30000;
inline int ClampForDrawing(int p) { return p < -kDrawLimit ? -kDrawLimit : p > kDrawLimit ? kDrawLimit : p; }
