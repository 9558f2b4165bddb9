// A canvas of device pixel ratio 2, as on a high-resolution screen: what the
// pixel rules draw covers exactly the 2 x 2 blocks of the plain picture's
// pixels, and text is drawn in the device's own pixels.
#include "gfx/Canvas.h"
#include "gfx/Frames.h"
#include "support/Errors.h"

#include <QFontDatabase>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

using Drawing = std::function<void(Canvas&)>;

// The device pixel (x, y) of the sharp picture against the unit pixel it
// belongs to in the plain one; the first difference, or an empty string.
std::string FirstDifference(const Canvas& plain, const Canvas& sharp, int ratio)
{
    const QImage& p = plain.Image();
    const QImage& s = sharp.Image();
    if (s.width() != p.width() * ratio || s.height() != p.height() * ratio)
        return "device size " + std::to_string(s.width()) + " x " + std::to_string(s.height());
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != p.pixel(x / ratio, y / ratio))
                return "device pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

Canvas Drawn(int ratio, const Drawing& draw)
{
    Canvas c;
    c.SetDevicePixelRatio(ratio);
    c.Resize(40, 30);
    draw(c);
    return c;
}

} // namespace

TEST(CanvasRatio, PixelRulesCoverWholeDeviceBlocks)
{
    const struct {
        const char* name;
        Drawing draw;
    } cases[] = {
        {"diagonal line", [](Canvas& c) { c.Pen.Color = clRed; c.MoveTo(3, 2); c.LineTo(31, 17); }},
        {"steep line backwards", [](Canvas& c) { c.Pen.Color = clBlue; c.MoveTo(20, 28); c.LineTo(14, 1); }},
        {"dashed line on an opaque brush",
         [](Canvas& c) {
             c.Pen = TPen{clBlack, 1, psDashDot};
             c.Brush = TBrush{clYellow, bsSolid};
             c.MoveTo(0, 10);
             c.LineTo(39, 12);
         }},
        {"xor line drawn once", [](Canvas& c) {
             c.Brush = TBrush{TColor(0x808000), bsSolid};
             c.FillRect(0, 0, 40, 30);
             c.Pen = TPen{clWhite, 1, psSolid, pmXor};
             c.MoveTo(1, 29);
             c.LineTo(38, 0);
         }},
        {"rectangle", [](Canvas& c) {
             c.Pen.Color = clMaroon;
             c.Brush = TBrush{clLime, bsSolid};
             c.Rectangle(4, 3, 30, 21);
         }},
        {"inside-frame rectangle of pen width 2", [](Canvas& c) {
             c.Pen = TPen{clBlack, 2, psInsideFrame};
             c.Brush = TBrush{clSilver, bsSolid};
             c.Rectangle(0, 0, 40, 30);
         }},
        {"fill", [](Canvas& c) { c.Brush = TBrush{clNavy, bsSolid}; c.FillRect(-5, 7, 22, 45); }},
        {"outlined ellipse", [](Canvas& c) {
             c.Pen.Color = TColor(0x008000);
             c.Brush = TBrush{clWhite, bsClear};
             c.Ellipse(2, 2, 37, 27);
         }},
        {"filled ellipse without pen", [](Canvas& c) {
             c.Pen.Style = psClear;
             c.Brush = TBrush{TColor(0x800080), bsSolid};
             c.Ellipse(5, 4, 24, 29);
         }},
        {"ellipse of pen width 3", [](Canvas& c) {
             c.Pen = TPen{clRed, 3};
             c.Brush = TBrush{TColor(0xFFFF00), bsSolid};
             c.Ellipse(6, 5, 34, 25);
         }},
        {"polygon", [](Canvas& c) {
             c.Pen.Color = clBlack;
             c.Brush = TBrush{TColor(0xFF00FF), bsSolid};
             c.Polygon({{2, 27}, {20, 1}, {38, 27}, {20, 18}});
         }},
        {"single pixels", [](Canvas& c) {
             c.SetPixel(0, 0, clRed);
             c.SetPixel(39, 29, clBlue);
             c.SetPixel(40, 5, clBlue); // outside: nothing
         }},
        {"lowered frame", [](Canvas& c) {
             DrawFrame(c, fsLowered, 1, 1, 38, 28, clWhite, kFrameFace, clGray, kFrameDark, kFrameDark);
         }},
        {"embossed frame", [](Canvas& c) {
             DrawFrame(c, fsEmbossed, 0, 0, 39, 29, clWhite, kFrameFace, clGray, kFrameDark, kFrameDark);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Canvas plain = Drawn(1, c.draw);
        for (int ratio : {2, 3}) {
            const Canvas sharp = Drawn(ratio, c.draw);
            EXPECT_EQ(sharp.Width(), 40);
            EXPECT_EQ(sharp.Height(), 30);
            EXPECT_EQ(FirstDifference(plain, sharp, ratio), "") << "ratio " << ratio;
            EXPECT_EQ(sharp.GetPixel(39, 29), plain.GetPixel(39, 29));
        }
    }
}

TEST(CanvasRatio, XorTwiceGivesThePictureBack)
{
    Canvas c;
    c.SetDevicePixelRatio(2);
    c.Resize(20, 20);
    c.Brush = TBrush{TColor(0x008080), bsSolid};
    c.FillRect(0, 0, 10, 20);
    const QImage before = c.Image().copy();
    c.Pen = TPen{clWhite, 1, psSolid, pmXor};
    c.Brush.Style = bsClear;
    for (int i = 0; i < 2; ++i)
        c.Rectangle(2, 3, 17, 15);
    EXPECT_EQ(c.Image(), before);
}

TEST(CanvasRatio, TextIsDrawnInDevicePixels)
{
    Canvas sharp;
    sharp.SetDevicePixelRatio(2);
    sharp.Resize(120, 30);
    sharp.Font = TFont{QStringLiteral("Liberation Sans"), -13, clBlack};
    sharp.Brush.Style = bsClear;
    const QString text = QStringLiteral("Mass 6.9 @%");
    sharp.TextOut(4, 5, text);
    const int w = sharp.TextWidth(text), h = sharp.TextHeight(text);
    ASSERT_GT(w, 20);
    ASSERT_LT(w, 116);

    // The ink stays in the text's box (in units), and some 2 x 2 block is
    // partly inked: a picture drawn at ratio 1 and enlarged has none.
    const QImage& img = sharp.Image();
    int mixedBlocks = 0, ink = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            int inked = 0;
            for (int d = 0; d < 4; ++d)
                inked += img.pixel(x + d % 2, y + d / 2) != qRgb(255, 255, 255);
            ink += inked;
            mixedBlocks += inked > 0 && inked < 4;
            if (inked) {
                EXPECT_GE(x / 2, 4);
                EXPECT_LT(x / 2, 4 + w + 1);
                EXPECT_GE(y / 2, 5);
                EXPECT_LT(y / 2, 5 + h);
            }
        }
    EXPECT_GT(ink, 0);
    EXPECT_GT(mixedBlocks, 0);
    EXPECT_EQ(sharp.PenPos(), QPoint(4 + w, 5)); // the pen moves on in units
}

TEST(CanvasRatio, RatioChangesKeepTheSizeInUnits)
{
    Canvas c(33, 17);
    EXPECT_EQ(c.DevicePixelRatio(), 1);
    c.SetDevicePixelRatio(2);
    EXPECT_EQ(c.Image().size(), QSize(66, 34));
    EXPECT_EQ(c.Width(), 33);
    EXPECT_EQ(c.Height(), 17);
    EXPECT_EQ(c.GetPixel(32, 16), clWhite); // made white
    c.SetPixel(3, 4, clRed);
    c.Resize(40, 20); // what fits is kept, at the same ratio
    EXPECT_EQ(c.DevicePixelRatio(), 2);
    EXPECT_EQ(c.Image().size(), QSize(80, 40));
    EXPECT_EQ(c.GetPixel(3, 4), clRed);
    EXPECT_EQ(c.GetPixel(39, 19), clWhite);
    EXPECT_EQ(c.GetPixel(40, 19), TColor(-1));

    Canvas empty; // a ratio set before the first size is kept for it
    empty.SetDevicePixelRatio(3);
    empty.Resize(5, 4);
    EXPECT_EQ(empty.Image().size(), QSize(15, 12));

    c.SetPrinter(true, 600); // a printer picture is in the printer's dots
    EXPECT_EQ(c.DevicePixelRatio(), 1);
    EXPECT_EQ(c.Width(), 40);

    Canvas huge;
    huge.SetDevicePixelRatio(2);
    EXPECT_THROW(huge.Resize(std::numeric_limits<int>::max() / 2 + 1, 1), Exception);
}

TEST(CanvasRatio, WholeRatioOfAScreen)
{
    const struct {
        double screen;
        int whole;
    } cases[] = {
        {1.0, 1}, {1.25, 1}, {1.5, 1}, {1.75, 1}, {2.0, 2}, {2.5, 2}, {3.0, 3}, {0.5, 1}, {0.0, 1}, {-2.0, 1},
        {std::nan(""), 1}, {std::numeric_limits<double>::infinity(), 1}, {1.9999999999999, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Canvas::WholeRatio(c.screen), c.whole) << c.screen;
}
