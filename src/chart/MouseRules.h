#pragma once
// The arithmetic behind the chart's mouse actions, free of any window: hit
// tests, pan and zoom ranges, the zoom window's corners and direction, which
// cross-hair or label a drag takes, and which cursor a mode shows.

#include "chart/ChartMapping.h"
#include "chart/ChartTypes.h"
#include "chart/MouseTypes.h"

#include <QPoint>
#include <optional>
#include <vector>

// The data area with its border included on all four sides.
bool InDataArea(const TChartGeometry& g, int x, int y);
QPoint LimitToDataArea(const TChartGeometry& g, QPoint p);

// A range the mapping can use on this axis: finite, a span of at least
// minRange, and on a logarithmic axis both ends at least 1e-100.
bool UsableRange(TAxisRange r, bool log, double minRange);

// Panning one axis by delta pixels (pointer minus anchor) over an axis of
// extent pixels; the content follows the pointer. On a vertical axis pixels
// grow downwards, so the sign turns. Logarithmic axes move by a factor.
TAxisRange PanAxis(TAxisRange anchor, int delta, int extent, bool vertical, bool log);

// Zoom factors of a drag by (dx, dy) pixels on a control of width x height:
// right zooms in horizontally, down zooms out vertically; isometric charts
// use the horizontal factor on both axes.
struct TZoomFactors {
    double X = 1, Y = 1;
};
TZoomFactors ZoomDragFactors(int dx, int dy, int width, int height, bool isometric);
// The anchor range about its centre, its span times factor (the same linear
// rule on logarithmic axes).
TAxisRange ZoomAxis(TAxisRange anchor, double factor);

// The moving corner of a zoom window: limited to the data area; on an
// isometric chart made square in pixels (towards the side the pointer is on).
QPoint ZoomWindowCorner(const TChartGeometry& g, QPoint start, QPoint pointer, bool isometric);

// The range a zoom window gives one axis: from the start corner's value to
// the current corner's. keepDirection exchanges the pair when it would run
// against the axis's present direction.
TAxisRange ZoomWindowAxis(double startValue, double currentValue, TAxisRange present, bool keepDirection);

// Wheel zoom of one axis about the world value under the pointer: the span is
// multiplied by factor and the pointer's value stays where it is.
TAxisRange ZoomAxisAbout(TAxisRange present, double pivot, double factor, bool log);

// What a cross-hair offers to a drag: its mode and its position in pixels.
struct TCrossHairSpot {
    TCrossHMode Mode = chOff;
    int Px = 0, Py = 0;
};
// 1-based number of the cross-hair nearest to (x, y): a vertical line counts
// by its horizontal distance, a horizontal one by its vertical distance; 1
// when none is switched on.
int NearestCrossHair(const std::vector<TCrossHairSpot>& hairs, int x, int y);

struct TLabelSpot {
    bool Eligible = false; // shown: a mode other than tlOff and Visible
    QPoint Anchor;         // control pixels
};
// 1-based number of the shown label whose anchor is nearest to (x, y); 1 when
// none is shown.
int NearestLabel(const std::vector<TLabelSpot>& labels, int x, int y);

// The cursor a mode shows after a mouse move (ccKeep for the modes that
// leave it alone).
TChartCursorChoice CursorForMouseAction(TMouseActMode mode, bool insideDataArea);

// The modes the wheel zooms in, and on which axes.
struct TWheelAxes {
    bool X = false, Y = false;
};
TWheelAxes WheelZoomAxes(TMouseActMode mode, bool isometric);
