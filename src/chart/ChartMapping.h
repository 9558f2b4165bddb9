#pragma once
// World-to-pixel mapping of a chart layer: the data area of the control and a
// factor and offset per axis, linear or logarithmic.

#include "chart/ChartTypes.h"

#include <QPoint>
#include <algorithm>

struct TChartGeometry {
    int Width = 0, Height = 0;
    int MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    int ShadowWidth = 0;
    // Pixel width and height of the data area (the data bitmap is one larger).
    int Wd() const { return Width - MarginLeft - MarginRight - ShadowWidth; }
    int Hd() const { return Height - MarginTop - MarginBottom - ShadowWidth; }
};

// One axis of one layer: p = K * v + D, or K * ln v + D on a logarithmic axis.
struct TAxisMapping {
    long double K = 0;
    long double D = 0;
    // K and D in double, for the quick path of AxisToPixel.
    double Kd = 0, Dd = 0;
    bool Log = false;
    // The pixel that values at or below 1e-100 go to on a logarithmic axis.
    int LowEnd = 0;

    void Set(long double k, long double d)
    {
        K = k;
        D = d;
        Kd = double(k);
        Dd = double(d);
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

// World units of a layer to the pixels of the data picture (the control's
// pixels less the margins), limited to +-kDrawLimit for drawing. A plain
// value over the chart's mappings, so that the item pass maps its points
// without a call through the chart.
struct TDataPixelMapping {
    const TAxisMapping* X = nullptr; // indexed by layer, 1..kLayerCount
    const TAxisMapping* Y = nullptr;
    int MarginLeft = 0;
    int MarginTop = 0;

    // A layer outside 1..kLayerCount is taken as the nearest one.
    QPoint operator()(int layer, double x, double y) const
    {
        const int n = layer < 1 ? 1 : layer > kLayerCount ? kLayerCount : layer;
        const auto clamp = [](long long v) { return int(std::clamp<long long>(v, -kDrawLimit, kDrawLimit)); };
        return {clamp(static_cast<long long>(AxisToPixel(X[n], x)) - MarginLeft),
                clamp(static_cast<long long>(AxisToPixel(Y[n], y)) - MarginTop)};
    }
};
