#include "chart/MouseRules.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// 300 x 200 with margins 50, 20, 20, 40: data area x 50..280, y 20..160.
TChartGeometry Geometry()
{
    TChartGeometry g;
    g.Width = 300;
    g.Height = 200;
    g.MarginLeft = 50;
    g.MarginRight = 20;
    g.MarginTop = 20;
    g.MarginBottom = 40;
    return g;
}

} // namespace

TEST(MouseRules, DataAreaIncludesItsBorder)
{
    const TChartGeometry g = Geometry();
    const struct { int x, y; bool inside; } cases[] = {
        {50, 20, true}, {280, 160, true}, {49, 100, false}, {281, 100, false},
        {100, 19, false}, {100, 161, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InDataArea(g, c.x, c.y), c.inside) << c.x << "," << c.y;
    TChartGeometry shadowed = g;
    shadowed.ShadowWidth = 5; // the shadow is not part of the data area
    EXPECT_FALSE(InDataArea(shadowed, 280, 100));
    EXPECT_TRUE(InDataArea(shadowed, 275, 155));
}

TEST(MouseRules, PanFollowsThePointer)
{
    // Content follows the pointer: dragging left shows higher x values,
    // dragging down shows higher y values.
    EXPECT_EQ(PanAxis({0, 100}, -60, 240, false, false), (TAxisRange{25, 125}));
    EXPECT_EQ(PanAxis({0, 100}, 35, 140, true, false), (TAxisRange{25, 125}));
    EXPECT_EQ(PanAxis({100, 0}, -60, 240, false, false), (TAxisRange{75, -25})); // reversed axis
    const TAxisRange log = PanAxis({1, 100}, -60, 240, false, true);
    EXPECT_NEAR(log.Low, std::pow(100, 0.25), 1e-12);
    EXPECT_NEAR(log.High, 100 * std::pow(100, 0.25), 1e-10);
    const TAxisRange logY = PanAxis({1, 100}, 70, 140, true, true);
    EXPECT_NEAR(logY.Low, 10, 1e-12);
    EXPECT_EQ(PanAxis({0, 100}, 10, 0, false, false), (TAxisRange{0, 100})); // no data area
}

TEST(MouseRules, ZoomDragFactors)
{
    const TZoomFactors right = ZoomDragFactors(30, 20, 300, 200, false);
    EXPECT_DOUBLE_EQ(right.X, 0.9); // right: zoom in
    EXPECT_DOUBLE_EQ(right.Y, 1.1); // down: zoom out
    const TZoomFactors iso = ZoomDragFactors(30, 20, 300, 200, true);
    EXPECT_DOUBLE_EQ(iso.Y, 0.9);
    const TAxisRange in = ZoomAxis({0, 100}, 0.9), outReversed = ZoomAxis({100, 0}, 1.2);
    EXPECT_NEAR(in.Low, 5, 1e-12);
    EXPECT_NEAR(in.High, 95, 1e-12);
    EXPECT_NEAR(outReversed.Low, 110, 1e-12);
    EXPECT_NEAR(outReversed.High, -10, 1e-12);
}

TEST(MouseRules, ZoomWindowCorner)
{
    const TChartGeometry g = Geometry();
    const QPoint s(100, 60);
    const struct { QPoint pointer; bool iso; QPoint corner; } cases[] = {
        {{140, 70}, false, {140, 70}},
        {{140, 70}, true, {140, 100}}, // 40 right, 10 down: 40 below
        {{140, 50}, true, {140, 20}},  // 40 right, 10 up: 40 above
        {{60, 70}, true, {60, 100}},   // 40 left, 10 down
        {{60, 50}, true, {60, 20}},    // 40 left, 10 up
        {{100, 90}, true, {100, 60}},  // no width: no height either
        {{400, 300}, false, {280, 160}},
        {{10, 5}, false, {50, 20}},
        {{200, 70}, true, {200, 160}}, // square limited by the data area
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZoomWindowCorner(g, s, c.pointer, c.iso), c.corner) << c.pointer.x() << "," << c.pointer.y();
}

TEST(MouseRules, ZoomWindowDirection)
{
    const TAxisRange rising{0, 100}, falling{100, 0};
    EXPECT_EQ(ZoomWindowAxis(60, 20, rising, false), (TAxisRange{60, 20}));
    EXPECT_EQ(ZoomWindowAxis(60, 20, rising, true), (TAxisRange{20, 60}));
    EXPECT_EQ(ZoomWindowAxis(20, 60, rising, true), (TAxisRange{20, 60}));
    EXPECT_EQ(ZoomWindowAxis(20, 60, falling, true), (TAxisRange{60, 20}));
    EXPECT_EQ(ZoomWindowAxis(20, 60, falling, false), (TAxisRange{20, 60}));
}

TEST(MouseRules, UsableRanges)
{
    const struct { TAxisRange r; bool log; bool ok; } cases[] = {
        {{0, 1}, false, true},
        {{1, 0}, false, true},
        {{1, 1}, false, false},
        {{0, 1e-11}, false, false}, // below MinRange
        {{0, INFINITY}, false, false},
        {{NAN, 1}, false, false},
        {{-1, 10}, true, false},
        {{1e-101, 10}, true, false},
        {{1e-100, 10}, true, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UsableRange(c.r, c.log, 1e-10), c.ok) << c.r.Low << ".." << c.r.High;
}

TEST(MouseRules, WheelZoomKeepsThePointersValue)
{
    const TAxisRange lin = ZoomAxisAbout({0, 100}, 20, 0.5, false);
    EXPECT_EQ(lin, (TAxisRange{10, 60}));
    const TAxisRange log = ZoomAxisAbout({1, 10000}, 10, 0.5, true);
    EXPECT_NEAR(log.Low, std::sqrt(10.0), 1e-12);
    EXPECT_NEAR(log.High, 10 * std::sqrt(1000.0), 1e-9);
    EXPECT_EQ(WheelZoomAxes(maNone, false).X, false);
    EXPECT_EQ(WheelZoomAxes(maNone, false).Y, false);
    EXPECT_EQ(WheelZoomAxes(maPanHoriz, false).Y, false);
    EXPECT_EQ(WheelZoomAxes(maPanHoriz, true).Y, true);
    EXPECT_EQ(WheelZoomAxes(maZoomWindPos, false).X, true);
}

TEST(MouseRules, NearestCrossHair)
{
    using S = TCrossHairSpot;
    const struct { std::vector<S> hairs; int x, y; int chosen; } cases[] = {
        {{{chOff, 0, 0}, {chOff, 0, 0}}, 5, 5, 1},
        {{{chVert, 100, 0}, {chVert, 60, 0}}, 70, 5, 2},
        {{{chVert, 100, 0}, {chHoriz, 0, 50}}, 95, 52, 2}, // 2 px vertically beats 5 px
        {{{chBoth, 100, 50}, {chVert, 99, 0}}, 100, 200, 1},
        {{{chHoriz, 100, 40}, {chOff, 70, 50}}, 70, 50, 1}, // switched off: never chosen
        {{{chVert, 2000000000, 0}, {chVert, -2000000000, 0}}, 0, 0, 1}, // far away, no overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(NearestCrossHair(c.hairs, c.x, c.y), c.chosen);
}

TEST(MouseRules, NearestShownLabel)
{
    std::vector<TLabelSpot> labels(30);
    EXPECT_EQ(NearestLabel(labels, 10, 10), 1);
    labels[4] = {true, {100, 100}};
    labels[9] = {true, {30, 30}};
    labels[2] = {false, {11, 11}};
    EXPECT_EQ(NearestLabel(labels, 10, 10), 10);
    EXPECT_EQ(NearestLabel(labels, 90, 95), 5);
}

TEST(MouseRules, CursorOfEachMode)
{
    const struct { TMouseActMode mode; TChartCursorChoice inside; } cases[] = {
        {maNone, ccCross}, {maPan, ccHand}, {maPanHoriz, ccHand}, {maPanVert, ccHand},
        {maZoomWind, ccZoomWindow}, {maZoomWindPos, ccZoomWindowPlus}, {maZoomDrag, ccZoomDrag},
        {maDragCrossH, ccDefault}, {maDragLabel, ccDefault}, {maRubberBand, ccKeep}, {maRotate, ccKeep},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CursorForMouseAction(c.mode, true), c.inside) << int(c.mode);
        EXPECT_EQ(CursorForMouseAction(c.mode, false), ccDefault) << int(c.mode);
    }
}
