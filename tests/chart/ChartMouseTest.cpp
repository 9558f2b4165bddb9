#include "chart/MousePointers.h"
#include "chart/RChart.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// 310 x 200 with the standard layout's margins (50, 20, 20, 40): the data
// area runs over x 50..290 (240 pixels) and y 20..160 (140 pixels).
struct MouseChart {
    TRChart c;
    int zoomPans = 0;
    explicit MouseChart(TMouseActMode mode = maNone, double xl = 0, double xh = 100, double yl = 0, double yh = 100)
    {
        c.SetControlBounds(0, 0, 310, 200);
        c.SetLayerRange(1, xl, xh, yl, yh);
        c.SetMouseAction(mode);
        c.OnZoomPan = [this](TRChart*) { ++zoomPans; };
        c.show();
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(&c, b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(&c, b, {}, p); }
    // A move with the buttons QTest holds pressed.
    void Drag(QPoint p) { QTest::mouseMove(&c, p); }
    void DragAndRelease(QPoint from, QPoint to)
    {
        Press(from);
        Drag((from + to) / 2);
        Drag(to);
        Release(to);
    }
    // A move with no button held.
    void Hover(QPoint p, Qt::KeyboardModifiers keys = {})
    {
        QMouseEvent e(QEvent::MouseMove, p, c.mapToGlobal(p), Qt::NoButton, Qt::NoButton, keys);
        QCoreApplication::sendEvent(&c, &e);
    }
    void Leave()
    {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(&c, &e);
    }
    TAxisRange X(int layer = 1) const { return {c.ScaleX(layer)->RangeLow(), c.ScaleX(layer)->RangeHigh()}; }
    TAxisRange Y(int layer = 1) const { return {c.ScaleY(layer)->RangeLow(), c.ScaleY(layer)->RangeHigh()}; }
    QPointF World(QPoint p, int layer = 1) const
    {
        double x, y;
        c.PixelToWorld(layer, p.x(), p.y(), x, y);
        return {x, y};
    }
};

void ExpectRange(TAxisRange r, double low, double high, double tol = 1e-9)
{
    EXPECT_NEAR(r.Low, low, tol);
    EXPECT_NEAR(r.High, high, tol);
}

bool Inverted(const QImage& before, const QImage& after, int x, int y)
{
    return ((before.pixel(x, y) ^ after.pixel(x, y)) & 0xFFFFFFu) == 0xFFFFFFu;
}

int CountColour(const QImage& img, TColor colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFFu) == (ToQRgb(colour) & 0xFFFFFFu);
    return n;
}

const QCursor* Override() { return QGuiApplication::overrideCursor(); }

} // namespace

TEST(ChartMouse, ZoomWindowDirections)
{
    const struct { TMouseActMode mode; QPoint from, to; bool xReversed, yReversed; } cases[] = {
        {maZoomWind, {100, 140}, {200, 60}, false, false}, // bottom-left to top-right
        {maZoomWind, {200, 140}, {100, 60}, true, false},  // right to left
        {maZoomWind, {100, 60}, {200, 140}, false, true},  // top-left to bottom-right
        {maZoomWindPos, {200, 140}, {100, 60}, false, false},
        {maZoomWindPos, {100, 60}, {200, 140}, false, false},
        {maZoomWindPos, {200, 60}, {100, 140}, false, false},
    };
    for (const auto& k : cases) {
        MouseChart m(k.mode);
        const QPointF a = m.World(k.from), b = m.World(k.to);
        m.DragAndRelease(k.from, k.to);
        const TAxisRange x = m.X(), y = m.Y();
        EXPECT_EQ(x.High < x.Low, k.xReversed) << k.from.x() << "," << k.from.y();
        EXPECT_EQ(y.High < y.Low, k.yReversed) << k.from.x() << "," << k.from.y();
        EXPECT_NEAR(std::fmin(x.Low, x.High), std::fmin(a.x(), b.x()), 1e-9);
        EXPECT_NEAR(std::fmax(x.Low, x.High), std::fmax(a.x(), b.x()), 1e-9);
        EXPECT_NEAR(std::fmin(y.Low, y.High), std::fmin(a.y(), b.y()), 1e-9);
        EXPECT_NEAR(std::fmax(y.Low, y.High), std::fmax(a.y(), b.y()), 1e-9);
        EXPECT_EQ(m.zoomPans, 1);
        EXPECT_FALSE(m.c.ZoomWindowDragging());
    }
}

TEST(ChartMouse, ZoomWindowWithoutExtentChangesNothing)
{
    const struct { const char* what; QPoint press; std::vector<QPoint> moves; } cases[] = {
        {"click", {120, 80}, {}},
        {"there and back", {120, 80}, {{180, 120}, {120, 80}}},
        {"a horizontal line", {120, 80}, {{180, 120}, {180, 80}}},
        {"pressed outside the data area", {20, 80}, {{180, 120}}},
    };
    for (const auto& k : cases) {
        MouseChart m(maZoomWind);
        const QImage before = m.c.Presented();
        m.Press(k.press);
        for (QPoint p : k.moves)
            m.Drag(p);
        m.Release(k.moves.empty() ? k.press : k.moves.back());
        ExpectRange(m.X(), 0, 100, 0);
        ExpectRange(m.Y(), 0, 100, 0);
        EXPECT_EQ(m.zoomPans, 0) << k.what;
        EXPECT_TRUE(m.c.Presented() == before) << k.what; // no outline left behind
    }
}

TEST(ChartMouse, RightButtonCancelsTheZoomWindowAndRestoresThePicture)
{
    MouseChart m(maZoomWind);
    m.c.AddLine(0, 0, 100, 100);
    m.c.ShowItems();
    const QImage before = m.c.Presented();
    m.Press({100, 60});
    m.Drag({150, 100});
    m.Drag({200, 140});
    QImage shown = m.c.Presented();
    EXPECT_TRUE(Inverted(before, shown, 100, 60));  // start corner
    EXPECT_TRUE(Inverted(before, shown, 200, 140)); // current corner
    EXPECT_TRUE(Inverted(before, shown, 150, 140)); // bottom edge
    EXPECT_FALSE(Inverted(before, shown, 150, 100)); // no fill
    EXPECT_FALSE(Inverted(before, shown, 150, 141));

    // A repaint of the chart during the drag keeps the outline in sight.
    m.c.RenderChart();
    shown = m.c.Presented();
    EXPECT_TRUE(Inverted(before, shown, 200, 100));

    m.Press({200, 140}, Qt::RightButton);
    m.Release({200, 140}, Qt::RightButton);
    EXPECT_TRUE(m.c.Presented() == before);
    EXPECT_FALSE(m.c.ZoomWindowDragging());
    m.Release({200, 140});
    ExpectRange(m.X(), 0, 100, 0);
    ExpectRange(m.Y(), 0, 100, 0);
    EXPECT_EQ(m.zoomPans, 0);
    EXPECT_TRUE(m.c.Presented() == before);

    // Changing the mode during a drag drops the window as well.
    m.Press({100, 60});
    m.Drag({200, 140});
    m.c.SetMouseAction(maPan);
    EXPECT_TRUE(m.c.Presented() == before);
    m.Release({200, 140});
    ExpectRange(m.X(), 0, 100, 0);
}

TEST(ChartMouse, IsometricZoomWindowIsSquareAndKeepsTheScale)
{
    MouseChart m(maZoomWind);
    m.c.SetIsometric(true);
    const QImage before = m.c.Presented();
    m.Press({100, 60});
    m.Drag({140, 70}); // 40 right, 10 down
    const QImage shown = m.c.Presented();
    EXPECT_TRUE(Inverted(before, shown, 120, 100)); // the bottom edge is 40 below the start
    EXPECT_FALSE(Inverted(before, shown, 120, 101));
    EXPECT_FALSE(Inverted(before, shown, 120, 70));
    EXPECT_TRUE(Inverted(before, shown, 140, 95));
    const QPointF a = m.World({100, 60}), b = m.World({140, 100});
    m.Release({140, 70});
    // x as dragged; y centred on the window and fitted so that one world
    // unit has the same length on both axes.
    ExpectRange(m.X(), a.x(), b.x());
    const TAxisRange y = m.Y();
    EXPECT_NEAR((y.Low + y.High) / 2, (a.y() + b.y()) / 2, 1e-9);
    int x0, y0, x1, y1;
    m.c.WorldToPixel(1, m.X().Low, y.Low, x0, y0);
    m.c.WorldToPixel(1, m.X().Low + 10, y.Low + 10, x1, y1);
    EXPECT_NEAR(std::abs(x1 - x0), std::abs(y1 - y0), 1);
}

TEST(ChartMouse, PanFollowsThePointerOnLinearAndLogarithmicAxes)
{
    const double f = std::pow(100.0, 0.25);
    const struct { TMouseActMode mode; double xl, xh, yl, yh; } cases[] = {
        {maPan, f, 100 * f, 25, 125},
        {maPanHoriz, f, 100 * f, 0, 100},
        {maPanVert, 1, 100, 25, 125},
    };
    for (const auto& k : cases) {
        MouseChart m(k.mode, 1, 100, 0, 100);
        m.c.Scale1X()->SetLogarithmic(true);
        ASSERT_TRUE(m.c.Scale1X()->Logarithmic());
        // A quarter of the width to the left and a quarter of the height down.
        m.Press({200, 90});
        m.Drag({170, 110});
        m.Drag({140, 125});
        ExpectRange(m.X(), k.xl, k.xh, 1e-9);
        ExpectRange(m.Y(), k.yl, k.yh, 1e-9);
        EXPECT_EQ(m.zoomPans, 2);
        m.Drag({20, 190}); // outside the data area: no change
        ExpectRange(m.X(), k.xl, k.xh, 1e-9);
        EXPECT_EQ(m.zoomPans, 2);
        m.Release({20, 190});
        m.Hover({100, 100}); // the anchor is gone: a new drag starts afresh
        m.Press({100, 100});
        m.Drag({100, 100});
        ExpectRange(m.X(), k.xl, k.xh, 1e-9);
        m.Release({100, 100});
    }
}

TEST(ChartMouse, ZoomDragScalesAboutTheCentre)
{
    MouseChart m(maZoomDrag);
    m.Press({150, 90});
    m.Drag({181, 110}); // fx = 1 - 31/310, fy = 1 + 20/200
    ExpectRange(m.X(), 5, 95);
    ExpectRange(m.Y(), -5, 105);
    m.Release({181, 110});

    MouseChart iso(maZoomDrag);
    iso.c.SetIsometric(true);
    const TAxisRange y0 = iso.Y();
    iso.Press({150, 90});
    iso.Drag({181, 110});
    ExpectRange(iso.X(), 5, 95);
    EXPECT_NEAR(iso.Y().High - iso.Y().Low, (y0.High - y0.Low) * 0.9, 1e-9);
    iso.Release({181, 110});
}

TEST(ChartMouse, OnlyMouseLayersZoomAndJoinedLayersFollow)
{
    MouseChart m(maZoomWind);
    m.c.SetLayerRange(2, 0, 10, 0, 10);
    m.c.SetLayerRange(3, 0, 50, 0, 50);
    m.c.JointLayers()->SetL03xControlledBy(1);
    const QPointF a2 = m.World({100, 140}, 2), b2 = m.World({200, 60}, 2);
    m.DragAndRelease({100, 140}, {200, 60});
    EXPECT_NE(m.X(), (TAxisRange{0, 100}));
    ExpectRange(m.X(2), 0, 10, 0);
    ExpectRange(m.Y(2), 0, 10, 0);
    EXPECT_EQ(m.X(3), m.X());
    ExpectRange(m.Y(3), 0, 50, 0);

    m.c.SetMouseLayer(2, true);
    EXPECT_EQ(m.c.MouseLayerMask(), 3u);
    m.c.SetLayerRange(1, 0, 100, 0, 100);
    m.DragAndRelease({100, 140}, {200, 60});
    ExpectRange(m.X(2), a2.x(), b2.x());
    ExpectRange(m.Y(2), a2.y(), b2.y());
    m.c.SetMouseLayerMask(0);
    EXPECT_FALSE(m.c.MouseLayer(1));
}

TEST(ChartMouse, CrossHairsOutsideTheDataAreaAreNotDrawn)
{
    // Range 0..100 over x 50..290 and y 160..20; a line of width w keeps off
    // a border band of w div 2.
    const struct { TCrossHMode mode; double pos; int width; bool drawn; } cases[] = {
        {chVert, 50, 1, true}, {chVert, 150, 1, false}, {chVert, -5, 1, false},
        {chVert, 0, 1, false}, {chVert, 100, 1, false}, {chVert, 0.5, 3, false},
        {chVert, 1, 3, true}, {chHoriz, 50, 1, true}, {chHoriz, 101, 1, false},
        {chBoth, 150, 1, false},
    };
    for (const auto& k : cases) {
        MouseChart m;
        TCrossHair* h = m.c.CrossHair2();
        h->SetColor(clRed);
        h->SetLayer(1);
        h->SetPosX(k.mode == chHoriz ? 50 : k.pos);
        h->SetPosY(k.mode == chVert ? 50 : k.pos);
        h->SetLineWid(k.width);
        h->SetMode(k.mode);
        EXPECT_EQ(CountColour(m.c.Presented(), clRed) > 0, k.drawn) << int(k.mode) << " at " << k.pos;
    }
}

TEST(ChartMouse, CrossHairSettersRepaintAndClampTheLayer)
{
    MouseChart m;
    TCrossHair* h = m.c.CrossHair1();
    EXPECT_EQ(m.c.CrossHair3()->Layer(), 3);
    h->SetLayer(0);
    EXPECT_EQ(h->Layer(), 1);
    h->SetLayer(17);
    EXPECT_EQ(h->Layer(), 16);
    h->SetLayer(1);
    h->SetColor(clRed);
    h->SetMode(chVert);
    h->SetPosX(25);
    const int column = 50 + 60;
    EXPECT_EQ(m.c.Presented().pixel(column, 90) & 0xFFFFFFu, ToQRgb(clRed) & 0xFFFFFFu);

    m.c.SetAutoRedraw(false); // the new position shows with the next ShowItems
    h->SetPosX(75);
    EXPECT_EQ(m.c.Presented().pixel(column, 90) & 0xFFFFFFu, ToQRgb(clRed) & 0xFFFFFFu);
    m.c.ShowItems();
    EXPECT_NE(m.c.Presented().pixel(column, 90) & 0xFFFFFFu, ToQRgb(clRed) & 0xFFFFFFu);
    EXPECT_EQ(m.c.Presented().pixel(50 + 180, 90) & 0xFFFFFFu, ToQRgb(clRed) & 0xFFFFFFu);
}

TEST(ChartMouse, DragTakesTheNearestCrossHair)
{
    MouseChart m(maDragCrossH);
    TCrossHair* hairs[] = {m.c.CrossHair1(), m.c.CrossHair2(), m.c.CrossHair3()};
    const TCrossHMode modes[] = {chVert, chHoriz, chVert};
    for (int i = 0; i < 3; ++i) {
        hairs[i]->SetLayer(1);
        hairs[i]->SetMode(modes[i]);
        hairs[i]->SetPosX(i == 0 ? 20 : 80);
        hairs[i]->SetPosY(70);
    }
    TCrossHair* moved = nullptr;
    m.c.OnCrossHairMove = [&](TRChart*, TCrossHair* h) { moved = h; };

    m.Press({245, 150}); // 2 px right of cross-hair 3 at x 242
    m.Drag({150, 100});
    EXPECT_EQ(moved, hairs[2]);
    EXPECT_NEAR(hairs[2]->PosX(), m.World({150, 100}).x(), 1e-9);
    EXPECT_NEAR(hairs[2]->PosY(), m.World({150, 100}).y(), 1e-9);
    EXPECT_EQ(hairs[0]->PosX(), 20);
    m.Release({150, 100});

    m.Press({60, 63}); // 1 px below the horizontal cross-hair 2 (y 62), 38 px from cross-hair 1
    m.Drag({100, 120});
    EXPECT_EQ(moved, hairs[1]);
    EXPECT_NEAR(hairs[1]->PosY(), m.World({100, 120}).y(), 1e-9);
    m.Release({100, 120});
}

TEST(ChartMouse, DragMovesTheNearestShownLabelByItsAttachment)
{
    const struct { TTxtLblAttachMode attach; bool worldX, worldY; } cases[] = {
        {tlamNone, false, false}, {tlamXOnly, true, false}, {tlamYOnly, false, true}, {tlamBoth, true, true},
    };
    for (const auto& k : cases) {
        MouseChart m(maDragLabel);
        TTextLabel* near = m.c.TextLabel(5);
        TTextLabel* hidden = m.c.TextLabel(6);
        for (TTextLabel* l : {near, hidden}) {
            l->SetCaption(QStringLiteral("peak"));
            l->SetMode(tlBox);
            l->SetAttachToData(k.attach);
            l->SetPosX(k.worldX ? 50 : 170); // all at control pixel (170, 90)
            l->SetPosY(k.worldY ? 50 : 90);
        }
        near->SetVisible(true);
        hidden->SetPosX(k.worldX ? 51 : 172); // nearer, but not shown
        TTextLabel* moved = nullptr;
        m.c.OnTextLabelMove = [&](TRChart*, TTextLabel* l) { moved = l; };
        m.Press({174, 93});
        m.Drag({220, 120});
        EXPECT_EQ(moved, near);
        const QPointF w = m.World({220, 120});
        EXPECT_NEAR(near->PosX(), k.worldX ? w.x() : 220, 1e-9);
        EXPECT_NEAR(near->PosY(), k.worldY ? w.y() : 120, 1e-9);
        m.Release({220, 120});
    }
}

TEST(ChartMouse, MoveEnterAndLeaveEvents)
{
    MouseChart m;
    m.c.SetLayerRange(2, 0, 10, 0, 10);
    m.c.SetActiveLayer(2);
    struct { bool inside = false; Qt::KeyboardModifiers keys; double x = 0, y = 0; int calls = 0; } seen;
    m.c.OnMouseMoveInChart = [&](TRChart*, bool inside, Qt::KeyboardModifiers keys, double x, double y) {
        seen = {inside, keys, x, y, seen.calls + 1};
    };
    int enters = 0, leaves = 0;
    m.c.OnMouseEnter = [&](TRChart*) { ++enters; };
    m.c.OnMouseLeave = [&](TRChart*) { ++leaves; };

    m.Hover({110, 90}, Qt::ShiftModifier);
    EXPECT_TRUE(seen.inside);
    EXPECT_EQ(seen.keys, Qt::ShiftModifier);
    EXPECT_NEAR(seen.x, 2.5, 1e-9); // world units of the active layer
    EXPECT_NEAR(seen.y, 5, 1e-9);
    EXPECT_NEAR(m.c.MouseWorldX(), 2.5, 1e-9);
    m.Hover({20, 90});
    EXPECT_FALSE(seen.inside);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_NEAR(m.c.MouseWorldX(), 2.5, 1e-9); // kept from the last position inside

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), m.c.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&m.c, &enter);
    m.Leave();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST(ChartMouse, WheelZoomsAboutThePointerInZoomAndPanModes)
{
    auto wheel = [](MouseChart& m, QPoint p, int delta) {
        QWheelEvent e(p, m.c.mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&m.c, &e);
        return e.isAccepted();
    };
    MouseChart none;
    EXPECT_FALSE(wheel(none, {110, 90}, 120));
    ExpectRange(none.X(), 0, 100, 0);

    MouseChart pan(maPan);
    const QPointF before = pan.World({110, 55});
    EXPECT_TRUE(wheel(pan, {110, 55}, 120));
    EXPECT_NEAR(pan.X().High - pan.X().Low, 80, 1e-9);
    EXPECT_NEAR(pan.Y().High - pan.Y().Low, 80, 1e-9);
    EXPECT_NEAR(pan.World({110, 55}).x(), before.x(), 1e-9);
    EXPECT_NEAR(pan.World({110, 55}).y(), before.y(), 1e-9);
    EXPECT_EQ(pan.zoomPans, 1);
    EXPECT_FALSE(wheel(pan, {20, 55}, 120)); // outside the data area

    MouseChart horiz(maPanHoriz);
    wheel(horiz, {110, 55}, -120);
    EXPECT_NEAR(horiz.X().High - horiz.X().Low, 125, 1e-9);
    ExpectRange(horiz.Y(), 0, 100, 0);
}

TEST(ChartMouse, CursorFollowsTheModeForTheWholeApplication)
{
    ASSERT_EQ(Override(), nullptr);
    {
        MouseChart m;
        m.Hover({110, 90});
        ASSERT_NE(Override(), nullptr);
        EXPECT_EQ(Override()->shape(), Qt::CrossCursor);
        const struct { TMouseActMode mode; int cursor; } cases[] = {
            {maPan, 1}, {maPanVert, 1}, {maZoomWind, 2}, {maZoomDrag, 3}, {maZoomWindPos, 4},
        };
        for (const auto& k : cases) {
            m.c.SetMouseAction(k.mode);
            m.Hover({110, 90});
            ASSERT_NE(Override(), nullptr);
            EXPECT_TRUE(*Override() == ApplicationCursor(k.cursor)) << int(k.mode);
        }
        m.c.SetMouseAction(maRotate); // leaves the cursor as it was
        m.Hover({111, 90});
        EXPECT_TRUE(*Override() == ApplicationCursor(4));
        m.c.SetMouseAction(maDragLabel);
        m.Hover({111, 90});
        EXPECT_EQ(Override(), nullptr);
        m.c.SetMouseAction(maNone);
        m.Hover({110, 90});
        m.Hover({20, 90}); // outside the data area
        EXPECT_EQ(Override(), nullptr);
        m.Hover({110, 90});
        m.Leave(); // the chart's cursor does not stay behind
        EXPECT_EQ(Override(), nullptr);
        m.Hover({110, 90});
    }
    EXPECT_EQ(Override(), nullptr); // nor when the chart goes
}

TEST(ChartMouse, FixedCursorIsNeverChanged)
{
    ASSERT_EQ(Override(), nullptr);
    MouseChart m;
    m.Hover({110, 90});
    m.c.SetMouseCursorFixed(true); // takes its own cursor down
    EXPECT_EQ(Override(), nullptr);

    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    for (TMouseActMode mode : {maNone, maPan, maZoomWind, maZoomDrag, maDragCrossH}) {
        m.c.SetMouseAction(mode);
        for (QPoint p : {QPoint(110, 90), QPoint(20, 90), QPoint(111, 90)}) {
            m.Hover(p);
            ASSERT_NE(Override(), nullptr);
            EXPECT_EQ(Override()->shape(), Qt::WaitCursor) << int(mode);
        }
        m.Leave();
        EXPECT_EQ(Override()->shape(), Qt::WaitCursor) << int(mode);
    }
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(Override(), nullptr);
}

TEST(ChartCursors, FourTwoColourCursorsWithTheirHotSpots)
{
    const struct { int n; const char* name; QPoint hot; } cases[] = {
        {1, "CURHAND", {12, 3}}, {2, "CURZOOMW", {7, 9}}, {3, "CURZOOMD", {15, 15}}, {4, "CURZOOMP", {7, 8}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(ChartCursorName(k.n), QLatin1String(k.name));
        const QCursor c = ApplicationCursor(k.n);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.hotSpot(), k.hot);
        EXPECT_EQ(ChartCursorHotSpot(k.n), k.hot);
        const QImage pic = ChartCursorPicture(k.n);
        ASSERT_EQ(pic.size(), QSize(32, 32));
        // The cursor shows the picture: set bits are black, mask bits mark
        // what is not transparent.
        const QImage bits = c.bitmap().toImage(), mask = c.mask().toImage();
        int black = 0, white = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb p = pic.pixel(x, y);
                ASSERT_TRUE(p == 0xFF000000u || p == 0xFFFFFFFFu || qAlpha(p) == 0) << k.name;
                black += p == 0xFF000000u;
                white += p == 0xFFFFFFFFu;
                EXPECT_EQ(bits.pixelIndex(x, y) != 0 && mask.pixelIndex(x, y) != 0, p == 0xFF000000u);
                EXPECT_EQ(mask.pixelIndex(x, y) != 0, qAlpha(p) != 0);
            }
        EXPECT_GT(black, 20);
        EXPECT_GT(white, 20);
    }
    auto black = [](int n, int x, int y) { return ChartCursorPicture(n).pixel(x, y) == 0xFF000000u; };
    // The hand points with the tip of a finger.
    EXPECT_TRUE(black(1, 12, 3));
    EXPECT_EQ(qAlpha(ChartCursorPicture(1).pixel(12, 2)), 0);
    // The zoom-window cursors aim with the centre of a cross.
    for (int n : {2, 4}) {
        const QPoint h = ChartCursorHotSpot(n);
        for (int d = -3; d <= 3; ++d) {
            EXPECT_TRUE(black(n, h.x() + d, h.y())) << n;
            EXPECT_TRUE(black(n, h.x(), h.y() + d)) << n;
        }
    }
    // The zoom-drag cursor is symmetric about its hot spot.
    const QImage d = ChartCursorPicture(3);
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 31; ++x)
            ASSERT_EQ(d.pixel(x, y), d.pixel(30 - x, 30 - y)) << x << "," << y;
    EXPECT_EQ(ApplicationCursor(9).shape(), Qt::ArrowCursor);

    // Not a check: the four cursors enlarged, for a person to look at when
    // IONPATH_PICTURES names a folder.
    const QByteArray dir = qgetenv("IONPATH_PICTURES");
    if (!dir.isEmpty()) {
        constexpr int kScale = 8, kGap = 16;
        QImage sheet(4 * (32 * kScale + kGap), 32 * kScale, QImage::Format_RGB32);
        sheet.fill(QColor(90, 140, 200));
        QPainter p(&sheet);
        for (int n = 1; n <= 4; ++n) {
            p.drawImage(QRect((n - 1) * (32 * kScale + kGap), 0, 32 * kScale, 32 * kScale), ChartCursorPicture(n));
            const QPoint h = ChartCursorHotSpot(n) * kScale + QPoint((n - 1) * (32 * kScale + kGap), 0);
            p.setPen(Qt::red);
            p.drawRect(h.x(), h.y(), kScale - 1, kScale - 1);
        }
        p.end();
        sheet.save(QString::fromLocal8Bit(dir) + QStringLiteral("/cursors.png"));
    }
}
