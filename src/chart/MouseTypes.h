#pragma once
// What the chart does with the mouse, the events it reports about it, and the
// state of a drag in progress.

#include "chart/ChartTypes.h"

#include <QPoint>
#include <QRect>
#include <Qt>
#include <array>
#include <cstdint>
#include <functional>

class TRChart;
class TCrossHair;
class TTextLabel;

// maRubberBand, maZoom and the rotation modes are accepted and stored but make
// the pointer do nothing (they belong to three-dimensional views).
enum TMouseActMode : std::uint8_t {
    maNone,
    maRubberBand,
    maZoom,
    maRotate,
    maRotAndZoom,
    maRotXOnly,
    maRotZOnly,
    maPan,
    maPanHoriz,
    maPanVert,
    maZoomDrag,
    maZoomWind,
    maZoomWindPos,
    maDragCrossH,
    maDragLabel,
};
constexpr int kMouseActModeCount = maDragLabel + 1;

// The cursors a chart shows.
enum TChartCursorChoice : std::uint8_t {
    ccKeep,    // leave the cursor as it is
    ccDefault, // no cursor of the chart's own
    ccCross,
    ccHand,            // cursor 1, "CURHAND"
    ccZoomWindow,      // cursor 2, "CURZOOMW"
    ccZoomDrag,        // cursor 3, "CURZOOMD"
    ccZoomWindowPlus,  // cursor 4, "CURZOOMP"
};

using TChartNotifyEvent = std::function<void(TRChart* chart)>;
// inside: the pointer is in the data area; x, y: its world position in the
// chart's ActiveLayer.
using TMouseMoveInChartEvent =
    std::function<void(TRChart* chart, bool inside, Qt::KeyboardModifiers shift, double x, double y)>;
using TCrossHairMoveEvent = std::function<void(TRChart* chart, TCrossHair* crossHair)>;
using TTextLabelMoveEvent = std::function<void(TRChart* chart, TTextLabel* label)>;

// One axis range in world units (Low may lie above High: a reversed axis).
struct TAxisRange {
    double Low = 0, High = 1;
    bool operator==(const TAxisRange&) const = default;
};

// One layer's ranges at the moment a drag took its anchor.
struct TAnchorRanges {
    TAxisRange X, Y;
};

struct TChartMouseState {
    TMouseActMode Action = maNone;
    bool CursorFixed = false;
    std::array<bool, kLayerCount + 1> Layers{}; // 1..16; index 0 unused

    // Where the left button went down on this chart, so that a drag is
    // measured from the point that was grabbed, not from the first motion
    // report (which may already be some pixels away).
    bool PressValid = false;
    QPoint Press;

    bool AnchorTaken = false;
    QPoint Anchor;
    std::array<TAnchorRanges, kLayerCount + 1> AnchorRanges{};

    // Zoom window: its corners, and the outline now drawn on the picture in
    // the window (exclusive-or, so drawing it again removes it).
    bool WindowDragging = false;
    QPoint WindowStart, WindowCurrent;
    bool OutlineShown = false;
    QRect Outline;

    int CrossHair = 1; // being dragged, 1..4
    int Label = 1;     // being dragged, 1..30

    // Last pointer position inside the data area, world units of ActiveLayer.
    double LastX = 0, LastY = 0;
};
