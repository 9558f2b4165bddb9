#include "gfx/Frames.h"
#include "PixelSet.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kBack = 0x123456;
constexpr TColor kHi = 0x0000F1, kFace = 0x0000F2, kShadow = 0x0000F3, kDark = 0x0000F4, kLine = 0x0000F5;

Canvas Framed(int style, TColor hi = kHi, TColor shadow = kShadow)
{
    Canvas c(12, 10);
    c.Brush.Color = kBack;
    c.FillRect(0, 0, 12, 10);
    DrawFrame(c, style, 1, 1, 9, 7, hi, kFace, shadow, kDark, kLine);
    return c;
}

} // namespace

TEST(Frames, ReliefStylesDrawTwoRingsInTheirFourColours)
{
    struct Row { TFrameStyle style; TColor a, b, c, d; };
    const Row rows[] = {
        {fsLowered, kShadow, kHi, kDark, kFace},
        {fsRaised, kHi, kDark, kFace, kShadow},
        {fsEmbossed, kHi, kShadow, kShadow, kHi},
        {fsEngraved, kShadow, kHi, kHi, kShadow},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.style));
        const Canvas c = Framed(r.style);
        // outer ring on the border of 1..9 x 1..7
        EXPECT_EQ(c.GetPixel(1, 1), r.a);  // top-left corner
        EXPECT_EQ(c.GetPixel(5, 1), r.a);  // top edge
        EXPECT_EQ(c.GetPixel(9, 1), r.a);  // top-right corner
        EXPECT_EQ(c.GetPixel(1, 4), r.a);  // left edge
        EXPECT_EQ(c.GetPixel(9, 4), r.b);  // right edge
        EXPECT_EQ(c.GetPixel(5, 7), r.b);  // bottom edge
        EXPECT_EQ(c.GetPixel(1, 7), r.b);  // bottom-left corner ends in B
        EXPECT_EQ(c.GetPixel(9, 7), r.b);
        // inner ring one pixel inside
        EXPECT_EQ(c.GetPixel(2, 2), r.c);
        EXPECT_EQ(c.GetPixel(8, 2), r.c);
        EXPECT_EQ(c.GetPixel(2, 4), r.c);
        EXPECT_EQ(c.GetPixel(8, 4), r.d);
        EXPECT_EQ(c.GetPixel(5, 6), r.d);
        EXPECT_EQ(c.GetPixel(2, 6), r.d);
        // inside and outside untouched
        EXPECT_EQ(c.GetPixel(5, 4), kBack);
        EXPECT_EQ(c.GetPixel(0, 0), kBack);
        EXPECT_EQ(c.GetPixel(10, 8), kBack);
        EXPECT_EQ(c.GetPixel(10, 1), kBack);
        EXPECT_EQ(c.GetPixel(1, 8), kBack);
        EXPECT_EQ(PixelsNot(c, kBack).size(), 28u + 20u) << "outer ring 9 x 7, inner ring 7 x 5";
    }
}

TEST(Frames, NoneAndUnknownStylesLeaveTheCanvasUntouched)
{
    for (int style : {int(fsNone), 6, 7, 255}) {
        const Canvas c = Framed(style);
        EXPECT_TRUE(PixelsNot(c, kBack).empty()) << style;
    }
}

TEST(Frames, SimpleStyleIsAClosedOutlineInTheLineColour)
{
    const Canvas c = Framed(fsSimple);
    for (auto [x, y] : {std::pair{1, 1}, {9, 1}, {1, 7}, {9, 7}, {5, 1}, {9, 4}})
        EXPECT_EQ(c.GetPixel(x, y), kLine) << x << "," << y;
    EXPECT_EQ(PixelsNot(c, kBack).size(), 28u);
    // the colour scheme has no part in it
    const TReliefColors sys = ReliefColors(csSystem);
    EXPECT_EQ(Framed(fsSimple, sys.Highlight, sys.Shadow).Image(), c.Image());
}

TEST(Frames, ColourSchemeChangesReliefColoursButNotDarkAndFace)
{
    EXPECT_EQ(ReliefColors(csBWG).Shadow, 0x808080u);
    EXPECT_EQ(ReliefColors(csBWG).Highlight, 0xFFFFFFu);
    EXPECT_EQ(ReliefColors(csSystem).Shadow, 0x80000010u);
    EXPECT_EQ(ReliefColors(csSystem).Highlight, 0x80000014u);

    const TReliefColors bwg = ReliefColors(csBWG);
    const Canvas lowered = Framed(fsLowered, bwg.Highlight, bwg.Shadow);
    EXPECT_EQ(lowered.GetPixel(1, 1), 0x808080u);
    EXPECT_EQ(lowered.GetPixel(9, 4), 0xFFFFFFu);
    const TReliefColors sys = ReliefColors(csSystem);
    const Canvas loweredSys = Framed(fsLowered, sys.Highlight, sys.Shadow);
    EXPECT_EQ(loweredSys.GetPixel(1, 1), ResolveColor(clBtnShadow));
    EXPECT_EQ(loweredSys.GetPixel(9, 4), ResolveColor(clBtnHighlight));
    // dark and face stay where they were
    EXPECT_EQ(loweredSys.GetPixel(2, 2), kDark);
    EXPECT_EQ(loweredSys.GetPixel(8, 4), kFace);
}

TEST(Frames, DrawFrameChangesOnlyThePenColour)
{
    Canvas c(12, 10);
    c.Brush.Color = 0xABCDEF;
    c.Font.Color = 0x111111;
    c.Pen.Width = 1;
    DrawFrame(c, fsRaised, 1, 1, 9, 7, kHi, kFace, kShadow, kDark, kLine);
    EXPECT_EQ(c.Pen.Color, kShadow); // the last colour used
    EXPECT_EQ(c.Brush.Color, 0xABCDEFu);
    EXPECT_EQ(c.Font.Color, 0x111111u);
}

TEST(Frames, MixColors)
{
    struct Row { TColor c0, c1; double f; TColor want; };
    const Row rows[] = {
        {0x000000, 0x0000FF, 0.5, 0x00007F},       // 127.5 truncates
        {0xFFF0F0, 0x500000, 0.0, 0xFFF0F0},
        {0xFFF0F0, 0x500000, 1.0, 0x500000},
        {0xFFF0F0, 0x500000, 1.7, 0x500000},       // clamped to 1
        {0xFFF0F0, 0x500000, -0.2, 0xFFF0F0},      // clamped to 0
        {0xFFF0F0, 0x500000, 0.25, 0xD3B4B4},      // 255-43.75, 240-60 per channel
        {0x80000010, 0x12345678, 0.0, 0x000010},   // top byte ignored
        {0x80000010, 0x12345678, 1.0, 0x345678},
        {0x0000FF, 0x000000, 0.5, 0x00007F},       // 255 - 127.5 = 127.5 -> 127
    };
    for (const Row& r : rows)
        EXPECT_EQ(MixColors(r.c0, r.c1, r.f), r.want) << std::hex << r.c0 << " " << r.c1 << " " << r.f;
}
