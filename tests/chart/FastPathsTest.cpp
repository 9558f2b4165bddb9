// The chart's fast drawing paths must not change a single pixel: every scene
// is painted twice, once with them and once with every item drawn through
// the canvas, and the two pictures must be equal.
#include "chart/ChartMapping.h"
#include "chart/RChart.h"
#include "gfx/Frames.h"

#include <QImage>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

using Scene = std::function<void(TRChart&)>;

// Where two pictures first differ, and how many pixels do; empty when equal.
std::string Difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return "sizes differ";
    int count = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                if (count++ == 0)
                    first = {x, y};
            }
    if (count == 0)
        return {};
    return std::to_string(count) + " pixels differ, the first at (" + std::to_string(first.x()) + ", "
           + std::to_string(first.y()) + ")";
}

int CountNot(const QImage& image, QRgb background)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != background;
    return n;
}

// A spectrum-sized chart over 0..100 on both axes, filled by the scene.
void Build(TRChart& c, const Scene& scene, bool fast)
{
    c.SetFastPaths(fast);
    c.SetControlBounds(0, 0, 641, 217);
    c.SetLayerRange(1, 0, 100, 0, 100);
    c.show();
    scene(c);
}

// Paints the scene both ways, through RenderChart and through ShowItems, and
// compares; also checks the scene put something on the data area.
void ExpectSamePictures(const Scene& scene, const char* what)
{
    SCOPED_TRACE(what);
    TRChart fast, plain;
    Build(fast, scene, true);
    Build(plain, scene, false);
    fast.RenderChart();
    plain.RenderChart();
    EXPECT_EQ(Difference(fast.Presented(), plain.Presented()), "") << "full repaint";
    EXPECT_GT(CountNot(plain.DataBitmap().Image(), qRgb(255, 255, 255)), 2000) << "the scene draws little";
    // A second paint reuses what the first one kept (text extents, buffers).
    fast.SetAutoRedraw(true);
    plain.SetAutoRedraw(true);
    fast.ShowItems();
    plain.ShowItems();
    EXPECT_EQ(Difference(fast.Presented(), plain.Presented()), "") << "ShowItems";
}

std::mt19937 Random(unsigned seed) { return std::mt19937(seed); }

const TColor kColors[] = {clBlack, clRed, 0x00804020, clBtnFace, clGrayText, 0x00FFFFFF, clNavy, 0x0012ABEF};

} // namespace

TEST(ChartFastPaths, LinesOfEveryPenAndPlace)
{
    ExpectSamePictures(
        [](TRChart& c) {
            auto rng = Random(1);
            std::uniform_real_distribution<double> inside(-10, 110), far(-1e7, 1e7);
            for (int i = 0; i < 3000; ++i) {
                c.SetDataColor(kColors[i % 8]);
                c.SetPenStyle(TPenStyle(i % 7));
                c.SetLineWidth(i % 11 == 0 ? 2 + i % 3 : i % 5 == 0 ? 0 : 1);
                if (i % 13 == 0) // one end far off: clamped to 30000 pixels
                    c.AddLine(inside(rng), inside(rng), far(rng), far(rng));
                else if (i % 17 == 0) // wholly beside the data area
                    c.AddLine(-50 - i % 7, inside(rng), -20, inside(rng));
                else if (i % 19 == 0) // a single pixel
                    c.AddLine(50, 50, 50, 50);
                else if (i % 2 == 0) // short, every direction
                    c.AddLine(inside(rng), inside(rng), inside(rng) / 10 + 45, inside(rng) / 10 + 45);
                else
                    c.AddLine(inside(rng), inside(rng), inside(rng), inside(rng));
            }
            // exact horizontals, verticals and diagonals, both ways
            c.SetPenStyle(psSolid);
            c.SetLineWidth(1);
            c.SetDataColor(clBlue);
            c.AddLine(0, 50, 100, 50);
            c.AddLine(100, 40, 0, 40);
            c.AddLine(30, 0, 30, 100);
            c.AddLine(31, 100, 31, 0);
            c.AddLine(0, 0, 100, 100);
            c.AddLine(100, 0, 0, 100);
        },
        "lines");
}

TEST(ChartFastPaths, EllipsesAndRectanglesFilledOpenAndCut)
{
    ExpectSamePictures(
        [](TRChart& c) {
            auto rng = Random(2);
            std::uniform_real_distribution<double> pos(-20, 120), r(0, 15);
            for (int i = 0; i < 2000; ++i) {
                c.SetDataColor(kColors[i % 8]);
                c.SetFillColor(kColors[(i + 3) % 8]);
                c.SetTransparentFill(i % 3 == 0);
                c.SetPenStyle(i % 23 == 0 ? psClear : i % 29 == 0 ? psDot : i % 31 == 0 ? psInsideFrame : psSolid);
                c.SetLineWidth(i % 37 == 0 ? 3 : 1);
                const double x = pos(rng), y = pos(rng);
                if (i % 2 == 0)
                    c.AddEllipse(x, y, r(rng), r(rng));
                else
                    c.AddRectangle(x, y, x + r(rng) - 7, y + r(rng) - 7);
            }
            c.SetPenStyle(psSolid);
            c.SetLineWidth(1);
            c.SetTransparentFill(true);
            c.AddEllipse(50, 50, 0, 0);     // one pixel
            c.AddEllipse(50, 50, 0.1, 30);  // one column
            c.AddEllipse(50, -400, 300, 500); // far larger than the picture
            c.AddEllipse(-1e6, 50, 10, 10); // wholly outside
            c.AddRectangle(-1e6, -1e6, 1e6, 1e6);
        },
        "ellipses and rectangles");
}

TEST(ChartFastPaths, EveryMarkAtEdgesAndInside)
{
    ExpectSamePictures(
        [](TRChart& c) {
            c.SetFont(TFont{QStringLiteral("Liberation Sans"), -11});
            for (int m = 0; m < 256; ++m) {
                c.SetDataColor(kColors[m % 8]);
                c.SetPenStyle(m % 9 == 0 ? psDash : m % 10 == 0 ? psClear : psSolid);
                c.SetLineWidth(m % 7 == 0 ? 2 : 1);
                c.AddMark(5 + (m % 32) * 3, 5 + (m / 32) * 12, m);
                // on and beyond the four edges
                c.AddMark(0, m / 2.56, m);
                c.AddMark(100, m / 2.56, m);
                c.AddMark(m / 2.56, 100.5, m);
                c.AddMark(m / 2.56, -0.5, m);
            }
            auto rng = Random(3);
            std::uniform_real_distribution<double> pos(-5, 105);
            c.SetPenStyle(psSolid);
            c.SetLineWidth(1);
            const int common[] = {9, 8, 7, 3, 6, 18, 25, 0};
            for (int i = 0; i < 20000; ++i) {
                c.SetDataColor(kColors[(i / 50) % 8]);
                c.AddMark(pos(rng), pos(rng), common[i % 8]);
            }
        },
        "marks");
}

TEST(ChartFastPaths, SquareMarksPiledUpInRunsOfOnePen)
{
    // Runs of one colour and size are drawn together; what comes between
    // them (another colour, pen or kind) must still lie over and under them
    // in the order the items were added.
    ExpectSamePictures(
        [](TRChart& c) {
            auto rng = Random(11);
            std::uniform_real_distribution<double> pos(-6, 106);
            std::uniform_int_distribution<int> runLength(1, 6000), pick(0, 7);
            for (int run = 0; run < 40; ++run) {
                c.SetDataColor(kColors[pick(rng)]);
                const int type = 7 + (run / 4) % 3; // four runs of each size: colour changes alone
                c.SetPenStyle(run % 11 == 5 ? psDash : psSolid);
                c.SetLineWidth(run % 13 == 7 ? 2 : 1);
                const int n = run % 4 == 0 ? pick(rng) + 1 : runLength(rng);
                for (int i = 0; i < n; ++i)
                    c.AddMark(pos(rng), pos(rng), type);
                c.SetPenStyle(psSolid);
                c.SetLineWidth(1);
                if (run % 3 == 1) {
                    c.SetDataColor(kColors[(run + 3) % 8]);
                    c.AddLine(pos(rng), pos(rng), pos(rng), pos(rng));
                    c.AddMark(pos(rng), pos(rng), 3);
                }
            }
        },
        "runs of square marks");
}

TEST(ChartFastPaths, MixedKindsWithChangingColoursTextsAndLabels)
{
    ExpectSamePictures(
        [](TRChart& c) {
            c.SetTextBkStyle(tbSolid);
            c.SetTextBkColor(clYellow);
            c.SetActiveLayer(2);
            c.SetLayerRange(2, 1, 1000, 0, 1);
            c.ScaleX(2)->SetLogarithmic(true);
            c.SetActiveLayer(1);
            auto rng = Random(4);
            std::uniform_real_distribution<double> pos(0, 100);
            for (int i = 0; i < 3600; ++i) {
                c.SetDataColor(kColors[i % 8]);
                c.SetFillColor(kColors[(i + 1) % 8]);
                c.SetPenStyle(i % 41 == 0 ? psDashDot : psSolid);
                c.SetClassDefault(i % 50 == 0 ? 7 : 0);
                c.SetActiveLayer(i % 97 == 0 ? 3 : i % 89 == 0 ? 2 : 1);
                const double x = pos(rng), y = pos(rng);
                switch (i % 12) {
                case 0: c.AddLine(x, y, x + 5, y - 8); break;
                case 1: c.AddEllipse(x, y, 4, 6); break;
                case 2: c.AddMark(x, y, 9); break;
                case 3: c.AddMoveTo(x, y); break;
                case 4: case 5: c.AddDrawTo(x, y); break; // runs of two, joined
                case 6: c.AddDrawRel(5, -3); break;
                case 7: c.AddText(x, y, 6 + i % 5, QStringLiteral("m/z %1").arg(i % 30)); break;
                case 8: c.AddArrow(x, y, x + 6, y + 3, i % 14); break;
                case 9: c.AddFramedBox(x, y, x + 6, y + 4, TFrameStyle(i % 6), clGray, clWhite); break;
                case 10: c.AddBar3D(x, y, x + 4, y - 10, 30 + i % 120, 5); break;
                case 11: c.AddMark(x, y, 65 + i % 26); break;
                }
            }
            c.SetActiveLayer(1);
            c.SetClassDefault(0);
            c.SetDataColor(clRed);
            for (int i = 0; i < 450; ++i) // a run longer than 200 points
                c.AddDrawTo(i / 4.5, 50 + 30 * std::sin(i / 20.0));
            c.SetClassVisible(7, false);
            c.SetLayerVisible(3, false);
            for (int n = 1; n <= 3; ++n) {
                TTextLabel* l = c.TextLabel(n);
                l->SetCaption(QStringLiteral("label %1\nsecond line").arg(n));
                l->SetPosX(20 * n);
                l->SetPosY(80);
                l->SetMode(TTxtLblMode(n + 1));
                l->SetVisible(true);
            }
        },
        "mixed");
}

TEST(ChartFastPaths, TextExtentsFollowAFontChangeBetweenPaints)
{
    auto scene = [](TRChart& c) {
        c.SetTextAlignment(taRightJustify);
        c.SetTextBkStyle(tbSolid);
        c.SetTextBkColor(clSilver);
        for (int i = 0; i < 60; ++i)
            c.AddText(90, 5 + i * 1.5, 8, QStringLiteral("WWWWWW %1").arg(i));
    };
    TRChart fast, plain;
    Build(fast, scene, true);
    Build(plain, scene, false);
    fast.RenderChart();
    // Bold text is wider: a width remembered for the plain font would place
    // the right-aligned bold texts wrongly.
    fast.SetTextFontStyle(fsBold);
    plain.SetTextFontStyle(fsBold);
    fast.RenderChart();
    plain.RenderChart();
    EXPECT_EQ(Difference(fast.Presented(), plain.Presented()), "");
}

TEST(ChartFastPaths, PrinterCanvasMarksStayPrinterForms)
{
    auto scene = [](TRChart& c) {
        for (int m = 0; m < 48; ++m) {
            c.SetDataColor(kColors[m % 8]);
            c.AddMark(5 + m * 2, 50, m);
        }
    };
    TRChart fast, plain;
    Build(fast, scene, true);
    Build(plain, scene, false);
    Canvas a(600, 200), b(600, 200);
    a.SetPrinter(true, 600);
    b.SetPrinter(true, 600);
    fast.DrawData(a);
    plain.DrawData(b);
    EXPECT_EQ(Difference(a.Image(), b.Image()), "");
}

// World-to-pixel rounding: nearest, ties to even, limited to 32 bits.
TEST(ChartFastPaths, PixelsOfTheQuickMappingAreThoseOfTheExtendedSum)
{
    // The mapping takes a quick path in double; its pixel must be that of
    // k * v + d in extended precision, rounded to nearest with ties to
    // even, also right next to the middle between two pixels.
    auto rng = Random(5);
    std::uniform_real_distribution<double> unit(-1, 1), scale(-8, 8);
    std::uniform_int_distribution<int> pixel(-40000, 40000), nudge(-3, 3);
    int nearTies = 0;
    for (int i = 0; i < 200000; ++i) {
        TAxisMapping m;
        const long double k = unit(rng) * std::pow(10.0L, scale(rng)), d = unit(rng) * 1e4L;
        m.Set(k, d);
        double v;
        if (i % 2) {
            v = unit(rng) * 1e6;
        } else {
            // A value whose sum lands within a few units in the last place
            // of a pixel's middle.
            const long double target = pixel(rng) + 0.5L;
            v = double((target - d) / k);
            for (int n = nudge(rng); n != 0; n += n > 0 ? -1 : 1)
                v = std::nextafter(v, n > 0 ? INFINITY : -INFINITY);
            ++nearTies;
        }
        const long double p = k * v + d;
        if (std::isnan(p) || std::fabs(p) > 2e9L)
            continue;
        ASSERT_EQ(AxisToPixel(m, v), int(std::llrint(p))) << "k " << double(k) << " d " << double(d) << " v " << v;
    }
    EXPECT_GT(nearTies, 50000);
}

TEST(ChartFastPaths, PixelRoundingIsNearestWithTiesToEven)
{
    TAxisMapping m;
    m.Set(1, 0);
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double v;
        int pixel;
    } cases[] = {
        {0.5, 0},         {1.5, 2},         {2.5, 2},      {-0.5, 0},          {-1.5, -2},
        {-2.5, -2},       {2.4999999, 2},   {2.5000001, 3}, {-2.5000001, -3},  {1e12, 2147483647},
        {-1e12, -2147483647}, {inf, 2147483647}, {-inf, -2147483647}, {std::nan(""), 0}, {30000.5, 30000},
        {2147483646.5, 2147483646},
    };
    for (const auto& t : cases)
        EXPECT_EQ(AxisToPixel(m, t.v), t.pixel) << t.v;
}
