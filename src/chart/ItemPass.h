#pragma once
// The item pass: one paint of the chart's display list into the data picture,
// item by item in list order, with the pen state the items leave behind
// (colour, style, width and position carry over from one item to the next).
//
// Two kinds of item are gathered in runs instead of being drawn the moment
// they come. Consecutive draw-to items of one pen make one polyline of at
// most 200 points; its segments share the pen, so the direct pixel writer
// draws all of them or the canvas does. Consecutive filled-square marks of
// one pen are drawn together, since dense scenes pile thousands of them on
// the same pixels. A run is drawn as soon as an item comes that cannot join
// it, so the picture is the one that drawing every item on its own gives.

#include "chart/ChartMapping.h"
#include "chart/ChartTypes.h"
#include "chart/DisplayList.h"
#include "chart/ItemRaster.h"
#include "chart/TextExtents.h"
#include "gfx/Alignment.h"
#include "gfx/Canvas.h"

#include <QPoint>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// Nearest int, ties to even, limited to +-2147483647 (NaN gives 0): pixel
// offsets and pixel positions given in doubles.
inline int RoundToInt(double v)
{
    if (!(v > -2147483647.0))
        return std::isnan(v) ? 0 : -2147483647;
    if (!(v < 2147483647.0))
        return 2147483647;
    return int(std::nearbyint(v));
}

// What the pass takes from the chart.
struct TItemPassSource {
    const TItemStore& Store;
    const std::array<bool, 256>& ClassVisible;
    const std::array<bool, kLayerCount + 1>& LayerVisible;
    // Direct pixel writing and remembered text extents (TRChart::FastPaths).
    bool FastPaths;
    // How text items are written.
    int TextFontStyle;
    TColor TextBkColor;
    TTextBkg TextBkStyle;
    TAlignment TextAlignment;
    TTextExtents& TextExtents;
    // World units of a layer to the data picture's pixels, clamped for drawing.
    TDataPixelMapping DataPixel;
    // Memory the chart keeps from paint to paint, so that painting allocates
    // nothing in the steady state.
    std::vector<QPoint>& DrawToRun;
    std::vector<QPoint>& SquareMarks;
    std::vector<std::uint8_t>& SquareMarkScratch;
};

class TItemPass {
public:
    // The canvas is the data picture with the pen, brush and pen position the
    // items start from; it must not change size while the pass runs.
    TItemPass(Canvas& canvas, TItemPassSource source);

    // Draws every shown item of the list, leaving no run pending.
    void Run();

private:
    // The steps of the pass. They are defined inline in ItemPass.cpp, the only
    // file that calls them, so that the compiler folds them into the item
    // loop, which runs for every item of lists of 10^5 items and more.

    // The rules that hold before any item is drawn: runs it cannot join are
    // drawn, and the pen takes its width.
    inline void Prepare(const TChartItem& item);
    inline void Draw(const TChartItem& item, int layer);

    inline void DrawTo(const TChartItem& item, int layer);
    inline void MoveTo(const TChartItem& item, int layer);
    inline void MoveRel(const TChartItem& item);
    inline void DrawRel(const TChartItem& item);
    inline void Mark(const TChartItem& item, int layer);
    inline void Text(const TChartItem& item, int layer);
    // Lines, rectangles, ellipses, framed boxes and arrows: two corners, a
    // single pixel when they meet, and the pen position kept.
    inline void Shape(const TChartItem& item, int layer);
    inline void Line(const TChartItem& item, QPoint a, QPoint b);
    inline void RectangleOrEllipse(const TChartItem& item, QPoint a, QPoint b);
    inline void FramedBox(const TChartItem& item, QPoint a, QPoint b);
    inline void Arrow(const TChartItem& item, QPoint a, QPoint b);
    inline void Bar3D(const TChartItem& item, int layer);

    // Draws the pending draw-to run and moves the pen to its last point.
    inline void Flush();
    // Draws the square marks gathered.
    inline void FlushSquares();
    // A new pen colour or style ends the draw-to run drawn with the old one.
    inline void SetPen(TColor color, TPenStyle style);

    Canvas& c_;
    const TItemPassSource source_;
    const bool fast_;
    TItemRaster raster_;
    std::vector<QPoint>& run_;     // the pending draw-to polyline, from the pen position
    std::vector<QPoint>& squares_; // the centres of the square marks gathered
    int squareType_ = 0;           // their mark type
};
