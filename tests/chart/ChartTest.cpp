#include "chart/RChart.h"
#include "support/Errors.h"
#include "support/ScopedHook.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A shown chart (offscreen) of the given size with layer 1 over the ranges.
struct Chart {
    TRChart c;
    explicit Chart(int w = 300, int h = 200, double xl = 0, double xh = 100, double yl = 0, double yh = 100)
    {
        c.SetControlBounds(0, 0, w, h);
        c.SetLayerRange(1, xl, xh, yl, yh);
        c.show();
    }
    TColor Px(int x, int y) const { return c.ControlBitmap().GetPixel(x, y); }
    TColor Data(int x, int y) const { return c.DataBitmap().GetPixel(x, y); }
    // Control pixel of a world point in layer 1.
    QPoint At(double x, double y) const
    {
        int px, py;
        c.WorldToPixel(1, x, y, px, py);
        return {px, py};
    }
};

int CountInData(const TRChart& c, TColor colour)
{
    int n = 0;
    const Canvas& d = c.DataBitmap();
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x)
            n += d.GetPixel(x, y) == colour;
    return n;
}

} // namespace

TEST(Chart, IsometricDerivesTheYRangeFromX)
{
    TRChart c;
    c.SetControlBounds(0, 0, 233, 246);
    c.SetMarginLeft(1);
    c.SetMarginRight(1);
    c.SetMarginTop(15);
    c.SetMarginBottom(1);
    c.SetShadowWidth(0);
    c.SetLayerRange(1, 0, 100, 0, 1);
    c.SetIsometric(true);
    EXPECT_NEAR(c.Scale1Y()->RangeLow(), 0, 1e-12);
    EXPECT_NEAR(c.Scale1Y()->RangeHigh(), 99.5689655172414, 1e-9); // 100 * 231 / 232
    c.SetMarginTop(16); // and again whenever the geometry changes
    EXPECT_NEAR(c.Scale1Y()->RangeHigh(), 100.0 * 230 / 232, 1e-9);
}

TEST(Chart, RangeRulesOfTheAxisSettings)
{
    TRChart c;
    c.Loaded();
    TScalePropsHoriz* x = c.Scale1X();
    x->SetRangeLow(4.99999999999);
    x->SetRangeHigh(5);
    EXPECT_EQ(x->RangeHigh(), 5);
    EXPECT_NEAR(x->RangeLow(), 5 - 1e-10, 1e-15); // the span stays at least MinRange
    x->SetRangeLow(4);
    x->SetRangeHigh(5);
    x->SetMinRange(2);
    EXPECT_EQ(x->RangeLow(), 3.5);
    EXPECT_EQ(x->RangeHigh(), 5.5);
    x->SetMinRange(0); // ignored
    EXPECT_EQ(x->MinRange(), 2);

    TScalePropsVert* y = c.Scale1Y();
    y->SetLogarithmic(true); // range 0..1: refused outside loading
    EXPECT_FALSE(y->Logarithmic());
    y->SetRangeLow(1);
    y->SetRangeHigh(1000);
    y->SetLogarithmic(true);
    EXPECT_TRUE(y->Logarithmic());
    y->SetRangeLow(0); // below 1e-100 on a logarithmic axis: ignored
    EXPECT_EQ(y->RangeLow(), 1);
    y->SetLabelType(ftDateTime);
    EXPECT_FALSE(y->Logarithmic());
    y->SetLabelType(ftTime);
    EXPECT_EQ(y->DecPlaces(), 4);
    y->SetDecPlaces(99);
    EXPECT_EQ(y->DecPlaces(), 12);
}

TEST(Chart, EveryAxisDrawsWithItsLayersSettings)
{
    // Whatever is set on a layer's axis settings reaches the axis that draws
    // it, the labels in the axis colour.
    TRChart c;
    for (int n : {1, 2, 7, 16}) {
        TScalePropsHoriz* x = c.ScaleX(n);
        TScalePropsVert* y = c.ScaleY(n);
        x->SetCaption(QStringLiteral("m/z %1").arg(n));
        x->SetCaptionPosX(n);
        x->SetCaptionAnchor(uaSclBotRgt);
        x->SetDecPlaces(2);
        x->SetMinTicks(7);
        x->SetShortTicks(false);
        x->SetScaleInscript(QStringLiteral("u"));
        x->SetScaleLocation(slTop);
        x->SetVisible(true);
        y->SetLabelType(ftUserText);
        y->SetUserTickText(QStringLiteral("low|high"));
        y->SetCaptionAlignment(taLeftJustify);
        y->SetColorScale(255);
        TFont f;
        f.Name = QStringLiteral("DejaVu Sans");
        f.SetPixelHeight(11);
        y->SetFont(f);
        y->SetScaleLocation(slRight);
        c.SetLayerRange(n, -n, n, 10, 20);
    }
    for (int n = 1; n <= 16; ++n) {
        SCOPED_TRACE(n);
        const std::pair<const TScaleProps*, const TScale*> axes[] = {{c.ScaleX(n), c.AxisX(n)},
                                                                     {c.ScaleY(n), c.AxisY(n)}};
        for (const auto& [props, axis] : axes) {
            TScaleSettings expected = props->Settings();
            expected.Font.Color = expected.ColorScale;
            EXPECT_TRUE(axis->Settings() == expected) << axis->Caption().toStdString();
        }
    }
    EXPECT_EQ(c.AxisX(7)->ScaleType(), sctXB);
    EXPECT_EQ(c.AxisY(7)->ScaleType(), sctYL);
    EXPECT_EQ(c.AxisY(16)->Font().Color, TColor(255));
}

TEST(Chart, JointLayerErrorsAndFollowing)
{
    TRChart c;
    TJointLayers* j = c.JointLayers();
    auto message = [&](auto&& f) {
        try {
            f();
        } catch (const EVexRChartError& e) {
            return e.Message();
        }
        return QStringLiteral("no error");
    };
    j->SetL02xControlledBy(1);
    EXPECT_EQ(message([&] { j->SetL01xControlledBy(3); }), "Layer 1 is joined by other layers (2)");
    j->SetL05xControlledBy(1);
    EXPECT_EQ(message([&] { j->SetL01xControlledBy(3); }), "Layer 1 is joined by other layers (2, 5)");
    EXPECT_EQ(message([&] { j->SetL03yControlledBy(17); }), "Destination layer 17 is out of range");
    EXPECT_EQ(message([&] { j->SetL03xControlledBy(2); }), "Destination layer 2 is already joined");
    EXPECT_EQ(j->L01xControlledBy(), 1); // unchanged by the failures
    EXPECT_EQ(j->L03xControlledBy(), 3);

    c.SetLayerRange(1, 10, 20, 0, 1);
    EXPECT_EQ(c.Scale2X()->RangeLow(), 10); // layer 2 follows layer 1's x
    EXPECT_EQ(c.Scale2X()->RangeHigh(), 20);
    EXPECT_EQ(c.Scale2Y()->RangeHigh(), 1);
    c.SetLayerRange(2, -5, 5, -7, 7); // its own x cannot be set, its y can
    EXPECT_EQ(c.Scale2X()->RangeLow(), 10);
    EXPECT_EQ(c.Scale2Y()->RangeLow(), -7);
    j->SetL02xControlledBy(2); // decoupled
    c.SetLayerRange(1, 0, 1, 0, 1);
    EXPECT_EQ(c.Scale2X()->RangeLow(), 10);

    j->SetL04yControlledBy(3); // joining takes the range at once
    c.SetLayerRange(3, 0, 1, 40, 50);
    EXPECT_EQ(c.Scale4Y()->RangeLow(), 40);
}

TEST(Chart, WorldToPixelOnLayers)
{
    Chart ch(300, 200);
    // default layout: margins 50, 20, 20, 40
    EXPECT_EQ(ch.At(0, 0), QPoint(50, 160));
    EXPECT_EQ(ch.At(100, 100), QPoint(280, 20));
    double x, y;
    ch.c.PixelToWorld(1, 280, 20, x, y);
    EXPECT_NEAR(x, 100, 1e-9);
    EXPECT_NEAR(y, 100, 1e-9);
    ch.c.SetLayerRange(2, 1, 100, 0, 1);
    ch.c.Scale2X()->SetLogarithmic(true);
    int px, py;
    ch.c.WorldToPixel(2, 0, 0.5, px, py);
    EXPECT_EQ(px, 0); // x = 0 on a logarithmic axis
    ch.c.WorldToPixel(2, 10, 0.5, px, py);
    EXPECT_EQ(px, 165);
    ch.c.WorldToPixel(99, 100, 1, px, py); // layer numbers are clamped
    int qx, qy;
    ch.c.WorldToPixel(16, 100, 1, qx, qy);
    EXPECT_EQ(px, qx);
}

TEST(Chart, LayersFiveToSixteenKeepTheirPlaceThroughEveryLayout)
{
    // Layer n's x axis lies at the bottom for odd n and at the top for even
    // n, its y axis at the left or right, each pair farther out than the
    // last; a layout places layers 1..4 and only hides the others' axes.
    const auto check = [](const TRChart& c, const char* when) {
        for (int n = 5; n <= kLayerCount; ++n) {
            SCOPED_TRACE(testing::Message() << when << ", layer " << n);
            const TScalePropsHoriz* x = c.ScaleX(n);
            const TScalePropsVert* y = c.ScaleY(n);
            EXPECT_EQ(x->ScaleLocation(), n % 2 == 1 ? slBottom : slTop);
            EXPECT_EQ(y->ScaleLocation(), n % 2 == 1 ? slLeft : slRight);
            EXPECT_EQ(x->ScalePos(), (n - 1) / 2 * 30);
            EXPECT_EQ(y->ScalePos(), (n - 1) / 2 * 50);
            EXPECT_EQ(x->CaptionPosX(), 0);
            EXPECT_EQ(x->CaptionPosY(), 0);
            EXPECT_EQ(y->CaptionPosX(), 0);
            EXPECT_EQ(y->CaptionPosY(), 0);
            EXPECT_FALSE(x->Visible());
            EXPECT_FALSE(y->Visible());
        }
    };
    TRChart c;
    check(c, "new");
    for (int layout = rcl_X1Bottom_Y1Left; layout <= rcl_X2Both_Y2Both; ++layout) {
        c.ScaleX(9)->SetVisible(true); // switched on by the user, hidden again by a layout
        c.StandardLayout(TrcLayout(layout));
        check(c, "after a layout");
    }

    // An axis switched on for layer 5 stands beside layer 1's, not on it.
    c.SetControlBounds(0, 0, 300, 220);
    c.StandardLayout(rcl_X1Bottom_Y1Left);
    c.ScaleY(5)->SetVisible(true);
    c.SetLayerRange(5, 0, 1, 0, 1);
    EXPECT_EQ(c.AxisY(5)->ScaleType(), c.AxisY(1)->ScaleType());
    EXPECT_EQ(c.AxisY(5)->MarginRight() - c.AxisY(1)->MarginRight(), 100 - c.ScaleY(1)->ScalePos());
}

TEST(Chart, MarginsDoNotResizeTheControl)
{
    TRChart c;
    c.SetControlBounds(0, 0, 300, 220);
    c.SetLayerRange(1, 0, 10, 0, 10);
    c.SetMarginLeft(290);
    EXPECT_EQ(c.width(), 300);
    EXPECT_EQ(c.height(), 220);
    c.SetMarginTop(250);
    EXPECT_EQ(c.height(), 220);
    // Without room every point maps to the middle of the control, and the
    // chart draws its frame without a data picture.
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {10.0, 10.0}, {5.0, -3.0}}) {
        int px, py;
        c.WorldToPixel(1, x, y, px, py);
        EXPECT_EQ(px, 150);
        EXPECT_EQ(py, 110);
    }
    c.show();
    c.AddLine(0, 0, 10, 10);
    c.RenderChart();
    EXPECT_EQ(c.ControlBitmap().Width(), 300);
    EXPECT_EQ(c.DataBitmap().Width(), 0);
    EXPECT_EQ(c.DataBitmap().Height(), 0);
    c.SetMarginTop(20); // room in height again, none in width: still none
    c.RenderChart();
    EXPECT_LT(c.DataWidth(), 0);
    EXPECT_EQ(c.DataBitmap().Width(), 0);
    c.SetMarginLeft(50);
    c.RenderChart();
    EXPECT_EQ(c.DataBitmap().Width(), c.DataWidth() + 1);
    EXPECT_EQ(c.DataBitmap().Height(), c.DataHeight() + 1);
    // The control's own size still keeps its minimum.
    c.SetControlBounds(0, 0, 10, 10);
    EXPECT_EQ(c.width(), 50 + 20 + c.ShadowWidth() + 80);
}

TEST(Chart, ControlBoundsHaveAMinimum)
{
    TRChart c;
    c.SetShadowWidth(4);
    c.SetControlBounds(0, 0, 10, 10);
    EXPECT_EQ(c.width(), 50 + 20 + 4 + 80);
    EXPECT_EQ(c.height(), 20 + 40 + 4 + 20);
    c.SetShadowWidth(99);
    EXPECT_EQ(c.ShadowWidth(), 32);
}

TEST(Chart, ListGrowsByAllocSizeAndKeepsItsItems)
{
    TRChart c;
    EXPECT_EQ(c.KindCount(0), 1);
    for (int i = 0; i < 1000; ++i)
        c.AddLine(i, 0, i, 1);
    EXPECT_EQ(c.Capacity(), 1000);
    c.SetDataColor(clRed);
    c.AddLine(-1, -2, -3, -4);
    EXPECT_EQ(c.Capacity(), 2000);
    EXPECT_EQ(c.ItemCount(), 1001);
    EXPECT_EQ(c.Item(999).X1, 999);
    EXPECT_EQ(c.Item(0).Color, 0u);
    EXPECT_EQ(c.Item(1000).Color, TColor(clRed));
    EXPECT_EQ(c.KindCount(ikLine), 1001);
    c.SetAllocSize(0); // refused
    EXPECT_EQ(c.AllocSize(), 1000);
    c.SetClassDefault(255);
    EXPECT_EQ(c.ClassDefault(), 0);
    c.ClearItems();
    EXPECT_EQ(c.ItemCount(), 0);
    EXPECT_EQ(c.Capacity(), 0);
    EXPECT_EQ(c.KindCount(0), 0);
}

TEST(Chart, ItemsOnThePicture)
{
    Chart ch(300, 200);
    TRChart& c = ch.c;
    c.SetDataColor(clRed);
    c.SetTransparentFill(true);
    c.AddEllipse(50, 50, 0, 0); // zero size: one pixel
    c.AddEllipse(20, 20, 10, 10);
    c.SetTransparentFill(false); // the flag was copied when the ellipse was added
    c.SetDataColor(clBlue);
    c.AddLine(-1e9, 75, 1e9, 75); // far outside: drawn to the clamped ends
    c.ShowItems();
    EXPECT_EQ(c.Item(1).Transparent, true);
    const QPoint p = ch.At(50, 50);
    EXPECT_EQ(ch.Data(p.x() - 50, p.y() - 20), TColor(clRed));
    EXPECT_EQ(ch.Data(p.x() - 49, p.y() - 20), TColor(clWhite));
    const QPoint centre = ch.At(20, 20);
    EXPECT_EQ(ch.Data(centre.x() - 50, centre.y() - 20), TColor(clWhite)); // unfilled
    const QPoint edge = ch.At(10, 20);
    EXPECT_EQ(ch.Data(edge.x() - 50, edge.y() - 20), TColor(clRed));
    const int y75 = ch.At(0, 75).y() - 20;
    EXPECT_EQ(ch.Data(1, y75), TColor(clBlue));
    EXPECT_EQ(ch.Data(c.DataWidth() - 1, y75), TColor(clBlue));

    c.ClearItems();
    c.ShowItems(); // background only, and the frame
    EXPECT_EQ(CountInData(c, clBlue), 0);
    EXPECT_EQ(ch.Data(0, 0), 0u);
    EXPECT_EQ(ch.Data(5, 5), TColor(clWhite));
}

TEST(Chart, DownwardArrowHeadSitsAboveTheTipOnBothSides)
{
    Chart ch(300, 200);
    TRChart& c = ch.c;
    c.SetDataColor(clBlue);
    c.SetFillColor(clRed);
    c.AddArrow(50, 90, 50, 10, 12);
    c.ShowItems();
    const QPoint tip = ch.At(50, 10) - QPoint(50, 20) + QPoint(0, 1); // extended by one downward
    const int shaftX = tip.x();
    // the tail column moved one pixel right: the shaft runs from x + 1 to x
    int redLeft = 0, redRight = 0, redBelow = 0;
    const Canvas& d = c.DataBitmap();
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) {
            if (d.GetPixel(x, y) != TColor(clRed))
                continue;
            if (y > tip.y())
                ++redBelow;
            (x < shaftX ? redLeft : redRight) += x != shaftX;
        }
    EXPECT_GT(redLeft, 0);
    EXPECT_GT(redRight, 0);
    EXPECT_EQ(redBelow, 0);
}

TEST(Chart, SharingErrorsAndGroups)
{
    QStringList shown;
    TScopedHook presenter(TRChart::SharingErrorPresenter(), [&](const QString& m) { shown << m; });
    TRChart a, b, c, d, e, f;
    a.SetUseDataOf(&a);
    b.SetUseDataOf(&a);
    c.SetUseDataOf(&b); // hangs on the master
    EXPECT_EQ(c.UseDataOf(), &a);
    a.SetUseDataOf(&d); // a has users
    d.SetUseDataOf(&a);
    e.SetUseDataOf(&a);
    f.SetUseDataOf(&a); // fifth
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0], "RChart: Cannot share data with myself");
    EXPECT_EQ(shown[1], "RChart: Cannot use foreign data. Other RCharts are using my own data.");
    EXPECT_EQ(shown[2], "RChart: Max. number of data shares exceeded");
    EXPECT_EQ(a.DataUserCount(), 4);
    EXPECT_EQ(f.UseDataOf(), nullptr);

    c.AddLine(1, 2, 3, 4); // added to a user: seen by the whole group
    EXPECT_EQ(a.ItemCount(), 1);
    EXPECT_EQ(b.ItemCount(), 1);
    EXPECT_EQ(e.Item(0).X2, 3);
    b.SetUseDataOf(nullptr); // leaves with the items as they stand
    a.AddLine(5, 6, 7, 8);
    EXPECT_EQ(b.ItemCount(), 1);
    EXPECT_EQ(c.ItemCount(), 2);
    EXPECT_EQ(a.DataUserCount(), 3);
    EXPECT_EQ(a.DataUser(0), &c);
    b.ClearItems();
    EXPECT_EQ(a.ItemCount(), 2);
}

TEST(Chart, ShadowStyles)
{
    Chart box(300, 200);
    box.c.SetShadowWidth(5);
    box.c.SetShadowStyle(ssBox);
    box.c.SetShadowColor(clRed);
    box.c.SetShadowBakColor(clYellow);
    const int W = 300, H = 200, S = 5;
    EXPECT_EQ(box.Px(W - S, 0), 0u);           // the black outline's corner
    EXPECT_EQ(box.Px(100, H - S), 0u);         // outline bottom / box edge
    EXPECT_EQ(box.Px(W - 1, 1), TColor(clYellow)); // corner beside the shadow
    EXPECT_EQ(box.Px(150, H - 3), TColor(clRed));  // the band below
    EXPECT_EQ(box.Px(1, H - 2), TColor(clYellow)); // box ends slant from the chart's corner
    EXPECT_EQ(box.Px(3, H - 2), 0u);

    Chart none(300, 200);
    const TColor face = ResolveColor(clBtnFace);
    EXPECT_EQ(none.Px(0, 0), face);
    EXPECT_EQ(none.Px(W - 1, H - 1), face);
}

TEST(Chart, GridLinesAtTheAxisTicks)
{
    Chart ch(300, 200);
    TRChart& c = ch.c;
    c.Scale1X()->SetShortTicks(false);
    c.Scale1X()->SetVisible(true);
    c.SetGridColor(clRed);
    c.SetGridStyle(gsVertLines);
    ASSERT_GT(c.AxisX(1)->NumTicks(), 2);
    for (int i = 1; i <= c.AxisX(1)->NumTicks(); ++i) {
        const double v = c.AxisX(1)->TickValue(i);
        if (v <= 0 || v >= 100)
            continue; // the ends lie under the data-area frame
        const QPoint p = ch.At(v, 50);
        EXPECT_EQ(ch.Px(p.x(), p.y()), TColor(clRed)) << v;
        EXPECT_EQ(ch.Px(p.x() + 1, p.y()), TColor(clWhite)) << v;
    }
}

TEST(Chart, LogarithmicGridDecades)
{
    Chart ch(300, 200);
    TRChart& c = ch.c;
    c.SetLayerRange(1, 1, 1000, 0, 1);
    c.Scale1X()->SetLogarithmic(true);
    c.SetGridColor(clRed);
    c.SetGridDx(-1);
    c.SetGridStyle(gsVertLines);
    const int y = ch.At(1, 0.5).y();
    std::vector<int> columns;
    for (int x = 51; x < 280; ++x)
        if (ch.Px(x, y) == TColor(clRed))
            columns.push_back(x);
    EXPECT_EQ(columns, (std::vector<int>{ch.At(10, 0).x(), ch.At(100, 0).x()}));
    c.SetGridDx(-5); // refused
    EXPECT_EQ(c.GridDx(), -1);
}

TEST(Chart, ThreeLineLabelBoxHeight)
{
    Chart ch(300, 200);
    TRChart& c = ch.c;
    TTextLabel* l = c.TextLabel(1);
    l->SetAttachToData(tlamNone);
    l->SetPosX(150);
    l->SetPosY(150);
    l->SetColorBorder(clRed);
    l->SetCaption(QStringLiteral("a\nb\nc"));
    l->SetMode(tlBox);
    l->SetVisible(true);
    const int h = c.DataBitmap().TextHeight(QStringLiteral("0"));
    // the box's left border column, in data pixels
    int top = -1, bottom = -1;
    const Canvas& d = c.DataBitmap();
    const int x = d.Width() > 0 ? [&] {
        for (int xx = 0; xx < d.Width(); ++xx)
            for (int yy = 0; yy < d.Height(); ++yy)
                if (d.GetPixel(xx, yy) == TColor(clRed))
                    return xx;
        return -1;
    }() : -1;
    ASSERT_GE(x, 0);
    for (int yy = 0; yy < d.Height(); ++yy)
        if (d.GetPixel(x, yy) == TColor(clRed)) {
            if (top < 0)
                top = yy;
            bottom = yy;
        }
    EXPECT_EQ(bottom - top + 1, 3 * h + 4);
    EXPECT_EQ(bottom, 150 - 20 + 1); // ends 2 px below the anchor, bottom edge excluded
}

TEST(Chart, BackgroundPictureAndAreas)
{
    Chart ch(300, 200, -2, 2, -2, 2);
    TRChart& c = ch.c;
    QTemporaryDir dir;
    c.BackGroundImg()->SetIncludePath(true);
    c.BackGroundImg()->SetName(dir.filePath(QStringLiteral("missing.bmp")));
    EXPECT_TRUE(c.BackGroundImg()->Name().isEmpty());
    EXPECT_EQ(ch.Data(10, 10), TColor(clWhite));

    c.BackGroundImg()->SetAreaColor(clRed);
    c.BackGroundImg()->SetAreaMode(bamVStripe); // -1..1 of -2..2: the middle half
    const int w = c.DataWidth();
    EXPECT_EQ(ch.Data(w / 2, 50), TColor(clRed));
    EXPECT_EQ(ch.Data(w / 4 + 2, 50), TColor(clRed));
    EXPECT_EQ(ch.Data(w / 4 - 2, 50), TColor(clWhite));
    EXPECT_EQ(ch.Data(3 * w / 4 - 2, 50), TColor(clRed));
    EXPECT_EQ(ch.Data(3 * w / 4 + 2, 50), TColor(clWhite));

    QImage tile(7, 5, QImage::Format_RGB32);
    tile.fill(QColor(0, 0, 255));
    const QString file = dir.filePath(QStringLiteral("tile.png"));
    ASSERT_TRUE(tile.save(file));
    c.BackGroundImg()->SetFillMode(bfTile);
    c.BackGroundImg()->SetName(file);
    EXPECT_EQ(c.BackGroundImg()->Name(), file);
    EXPECT_EQ(ch.Data(w / 2, 50), TColor(clBlue)); // the picture replaces the area
}

TEST(Chart, NothingCrashesOnNonFiniteInput)
{
    Chart ch(300, 200);
    TRChart& c = ch.c;
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    for (double v : {nan, inf, -inf, 1e308, -1e308}) {
        c.AddLine(v, 0, 50, v);
        c.AddEllipse(v, v, v, 1);
        c.AddRectangle(0, v, v, 0);
        c.AddDrawTo(v, v);
        c.AddArrow(v, 1, 2, v, 10);
        c.AddMark(v, 0, 9);
        c.AddText(v, v, 8, QStringLiteral("x"));
        c.AddBar3D(0, 0, v, v, 45, 10);
    }
    c.ShowItems();
    c.SetLayerRange(1, nan, inf, -inf, nan);
    c.SetGridStyle(gsLines);
    c.RenderChart();
    c.SetLayerRange(1, 0, 1e-300, 0, 1);
    c.RenderChart();
    SUCCEED();
}
