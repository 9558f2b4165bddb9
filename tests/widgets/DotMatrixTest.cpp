#include "widgets/RasterLab.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kOn = 0x00FF00, kOff = 0x404040, kBack = 0x000000;

TColor Px(const TRasterLab& lab, int x, int y) { return lab.Picture().GetPixel(x, y); }

// A frameless label with the first dot of the text at (1, 1), pitch 4.
void Plain(TRasterLab& lab, const QString& text)
{
    lab.resize(60, 56);
    lab.SetFrameStyle(fsNone);
    lab.SetText(text);
}

} // namespace

TEST(RasterLab, ConstructorDefaults)
{
    TRasterLab lab;
    EXPECT_EQ(lab.Text(), QStringLiteral("Text"));
    EXPECT_EQ(lab.DotSize(), 3);
    EXPECT_EQ(lab.DotSpacing(), 1);
    EXPECT_EQ(lab.PosX(), 1);
    EXPECT_EQ(lab.PosY(), 1);
    EXPECT_TRUE(lab.Proportional());
    EXPECT_EQ(lab.CharBlockMode(), rdbmOn);
    EXPECT_FALSE(lab.AutoHeight());
    EXPECT_FALSE(lab.AutoCenter());
    EXPECT_EQ(lab.ColorDotOn(), 0x00FF00u);
    EXPECT_EQ(lab.ColorDotOff(), 0x404040u);
    EXPECT_EQ(lab.ColorLabBakG(), 0x000000u);
    EXPECT_EQ(lab.FrameStyle(), fsLowered);
    EXPECT_EQ(lab.ColorScheme(), csBWG);
    EXPECT_EQ(lab.ScrollMode(), rdsmOff);
    EXPECT_EQ(lab.ScrollInterval(), 100);
    EXPECT_EQ(lab.ScrollIncrement(), 1);
    EXPECT_TRUE(lab.ScrollLoop());
    EXPECT_EQ(lab.Font().Name, QStringLiteral("default"));
    EXPECT_EQ(lab.Font().Size(), 8);
    EXPECT_EQ(lab.width(), 400);
    EXPECT_EQ(lab.height(), 68);
    // Published under the documented names for the form machinery.
    EXPECT_EQ(lab.property("CharBlockMode").toInt(), int(rdbmOn));
    EXPECT_EQ(lab.property("Text").toString(), QStringLiteral("Text"));
}

TEST(RasterLab, SettersClampTheirValues)
{
    struct Row { const char* property; int in, stored; };
    const Row rows[] = {
        {"DotSize", 40, 32}, {"DotSize", 0, 1}, {"DotSize", -5, 1}, {"DotSize", 7, 7},
        {"DotSpacing", 5, 3}, {"DotSpacing", -1, 0}, {"DotSpacing", 2, 2},
        {"ScrollInterval", 5, 10}, {"ScrollInterval", 250, 250},
        {"ScrollIncrement", 0, 1}, {"ScrollIncrement", -3, 3}, {"ScrollIncrement", INT_MIN, INT_MAX},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.property) + " " + std::to_string(r.in));
        TRasterLab lab;
        lab.setProperty(r.property, r.in);
        EXPECT_EQ(lab.property(r.property).toInt(), r.stored);
    }
}

TEST(RasterLab, TextWidthAndCentringOfTheFocusedMass)
{
    TRasterLab lab;
    lab.resize(113, 49);
    lab.SetText(QStringLiteral("220.8"));
    EXPECT_EQ(lab.CenteringWidth(), 104) << "4 x (6 + 6 + 6 + 2 + 6)";
    lab.SetAutoCenter(true);
    EXPECT_EQ(lab.PosX(), 6);
    // The first lit dot of "2" (row 1, column 2) starts at PosX + (2 - 1) x 4.
    EXPECT_EQ(Px(lab, 10, 5), kOn);
    EXPECT_EQ(Px(lab, 9, 5), kBack);

    // A new text is centred before it is drawn; switching off returns to 1.
    lab.SetText(QStringLiteral("6.9"));
    EXPECT_EQ(lab.PosX(), (113 - 4 * (6 + 2 + 6)) / 2 + 2);
    lab.SetAutoCenter(false);
    EXPECT_EQ(lab.PosX(), 1);
    // A text wider than the control: the division truncates toward zero.
    lab.SetAutoCenter(true);
    lab.SetText(QStringLiteral("1234567890"));
    EXPECT_EQ(lab.PosX(), (113 - 240) / 2 + 2);
}

TEST(RasterLab, AutoHeightFitsOneLine)
{
    TRasterLab lab;
    lab.SetAutoHeight(true);
    EXPECT_EQ(lab.height(), 1 + 4 * 12);
    lab.SetDotSize(2);
    EXPECT_EQ(lab.height(), 1 + 3 * 12);
    lab.SetDotSpacing(0);
    EXPECT_EQ(lab.height(), 1 + 2 * 12);
    lab.SetFrameStyle(fsEngraved);
    EXPECT_EQ(lab.height(), 2 + 2 * 12);
    lab.SetFrameStyle(fsNone);
    EXPECT_EQ(lab.height(), 2 * 12);
}

TEST(RasterLab, BlockModesOnPixels)
{
    // "1": its top dot is column 3, row 1, drawn at x = 1 + (3 - 1) x 4 = 9,
    // y = 1 + 4 = 5. The unlit dot of column 1 of that row is at (1, 5); the
    // character's advance is 24, so the column between it and the next
    // character is x = 21..24.
    struct Row {
        TRDBlockMode mode;
        TColor unlitInGlyph, unlitBetweenChars, unlitAfterText, gap;
    };
    const Row rows[] = {
        {rdbmOff, kBack, kBack, kBack, kBack},
        {rdbmOn, kOff, kBack, kOff, kBack},
        {rdbmRaster, kOff, kOff, kOff, kBack},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.mode));
        TRasterLab lab;
        Plain(lab, QStringLiteral("11"));
        lab.SetCharBlockMode(r.mode);
        for (int dx = 0; dx < 3; ++dx)
            for (int dy = 0; dy < 3; ++dy)
                EXPECT_EQ(Px(lab, 9 + dx, 5 + dy), kOn);
        EXPECT_EQ(Px(lab, 12, 5), r.gap) << "gap right of a lit dot";
        EXPECT_EQ(Px(lab, 9, 8), r.gap) << "gap under a lit dot";
        EXPECT_EQ(Px(lab, 1, 5), r.unlitInGlyph);
        EXPECT_EQ(Px(lab, 3, 7), r.unlitInGlyph);
        EXPECT_EQ(Px(lab, 21, 5), r.unlitBetweenChars);
        EXPECT_EQ(Px(lab, 23, 41), r.unlitBetweenChars);
        EXPECT_EQ(Px(lab, 21 + 24 + 4, 1), r.unlitAfterText);
        EXPECT_EQ(Px(lab, 25 + 9, 5), kOn) << "second 1";
    }
}

TEST(RasterLab, RasterFollowsTheTextPosition)
{
    // The unlit dots stay aligned with the text's dots when it moves by less
    // than a pitch, also to negative positions.
    for (int posX : {1, 2, 3, -2, -5}) {
        SCOPED_TRACE(posX);
        TRasterLab lab;
        Plain(lab, QStringLiteral("1"));
        lab.SetCharBlockMode(rdbmRaster);
        lab.SetPosX(posX);
        const int dotX = ((posX % 4) + 4) % 4; // first dot column on the screen
        EXPECT_EQ(Px(lab, dotX, 1), kOff);
        EXPECT_EQ(Px(lab, dotX + 2, 3), kOff);
        EXPECT_EQ(Px(lab, (dotX + 3) % 4, 1), kBack);
        EXPECT_EQ(Px(lab, dotX + 40, 1), kOff);
        EXPECT_EQ(Px(lab, posX + 8, 5), kOn);
    }
}

TEST(RasterLab, DotSizeOneDrawsSinglePixels)
{
    TRasterLab lab;
    Plain(lab, QStringLiteral("-"));
    lab.SetDotSize(1);
    lab.SetDotSpacing(0);
    lab.SetCharBlockMode(rdbmOff);
    // "-": columns 1..5 of row 6, drawn from x = 1, one pixel each.
    for (int x = 1; x <= 5; ++x)
        EXPECT_EQ(Px(lab, x, 7), kOn);
    EXPECT_EQ(Px(lab, 6, 7), kBack);
    EXPECT_EQ(Px(lab, 1, 8), kBack);
}

TEST(RasterLab, FixedWidthKeepsEachGlyphInItsCell)
{
    TRasterLab lab;
    Plain(lab, QStringLiteral(".1"));
    lab.SetProportional(false);
    // Every character takes (7 + 1) x 4 pixels; a glyph keeps its columns:
    // the point (column 3) at x = 1 + 12, the 1's top dot (column 3) at
    // x = 1 + 32 + 12.
    EXPECT_EQ(lab.CenteringWidth(), 64);
    EXPECT_EQ(Px(lab, 13, 37), kOn);
    EXPECT_EQ(Px(lab, 45, 5), kOn);
    lab.SetProportional(true);
    EXPECT_EQ(Px(lab, 1, 37), kOn);
    EXPECT_EQ(Px(lab, 9 + 8, 5), kOn);
}

TEST(RasterLab, FrameStylesOnPixels)
{
    constexpr TColor kShadow = 0x808080, kHigh = 0xFFFFFF, kDark = 0x000000;
    constexpr int W = 30, H = 20;
    struct Px_ { int x, y; TColor c; };
    struct Row { TFrameStyle style; std::vector<Px_> pixels; };
    const TColor bg = 0x0000C0; // neither a frame colour nor a dot colour
    const Row rows[] = {
        {fsSimple, {{0, 0, kShadow}, {W - 1, 0, kShadow}, {0, H - 1, kShadow}, {W - 1, H - 1, kShadow}, {1, 1, bg}}},
        {fsLowered, {{0, 0, kShadow}, {W - 2, 0, kShadow}, {0, H - 2, kShadow}, {W - 2, H - 2, kShadow},
                     {1, 1, kDark}, {1, H - 3, kDark}, {W - 3, 1, kDark}, {W - 2, 1, kShadow},
                     {2, H - 1, kHigh}, {W - 1, H - 1, kHigh}, {W - 1, 1, kHigh},
                     {W - 1, 0, bg}, {0, H - 1, bg}, {2, 2, bg}}},
        {fsRaised, {{0, 0, kShadow}, {1, 1, kHigh}, {1, H - 3, kHigh}, {0, H - 1, kDark},
                    {W - 1, H - 1, kDark}, {W - 1, 1, kDark}, {W - 2, H - 2, kShadow}, {W - 1, 0, bg}}},
        {fsEmbossed, {{0, 0, kHigh}, {W - 2, H - 2, kHigh}, {1, 1, kShadow}, {W - 1, H - 1, kShadow},
                      {W - 1, 1, kShadow}, {W - 1, 0, bg}, {0, H - 1, bg}, {2, 2, bg}}},
        {fsEngraved, {{0, 0, kShadow}, {W - 2, H - 2, kShadow}, {1, 1, kHigh}, {W - 1, H - 1, kHigh}}},
        {fsNone, {{0, 0, bg}, {W - 1, H - 1, bg}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.style));
        TRasterLab lab;
        lab.resize(W, H);
        lab.SetText(QString());
        lab.SetCharBlockMode(rdbmOff);
        lab.SetColorLabBakG(bg);
        lab.SetFrameStyle(r.style);
        for (const Px_& p : r.pixels)
            EXPECT_EQ(Px(lab, p.x, p.y), p.c) << p.x << "," << p.y;
    }
}

TEST(RasterLab, ColorSchemeChangesOnlyTheReliefColours)
{
    TRasterLab lab;
    lab.resize(30, 20);
    lab.SetColorScheme(csSystem);
    EXPECT_EQ(Px(lab, 0, 0), ResolveColor(clBtnShadow));
    EXPECT_EQ(Px(lab, 29, 19), ResolveColor(clBtnHighlight));
    EXPECT_EQ(Px(lab, 1, 1), 0x000000u) << "dark stays black";
    lab.SetColorScheme(csBWG);
    EXPECT_EQ(Px(lab, 0, 0), 0x808080u);
}

TEST(RasterLab, HiddenLabelDoesNotPaintUntilShown)
{
    QWidget window;
    auto* lab = new TRasterLab(&window);
    Plain(*lab, QStringLiteral("1"));
    EXPECT_EQ(Px(*lab, 9, 5), kOn) << "a label on a window not shown yet still paints";
    lab->hide();
    lab->SetText(QStringLiteral("-"));
    EXPECT_EQ(Px(*lab, 9, 5), kOn) << "hidden: the old picture stays";
    lab->show();
    EXPECT_EQ(Px(*lab, 9, 5), kOff);
    EXPECT_EQ(Px(*lab, 9, 25), kOn);
}

TEST(RasterLab, AssignTakesTheLookAndTextOnly)
{
    TRasterLab a, b;
    a.SetText(QStringLiteral("42"));
    a.SetFrameStyle(fsRaised);
    a.SetColorLabBakG(0x112233);
    a.SetColorDotOn(0x0000FF);
    a.SetColorDotOff(0x222222);
    a.SetColorScheme(csSystem);
    a.SetDotSize(5);
    a.SetScrollLoop(false);
    b.Assign(a);
    EXPECT_EQ(b.Text(), QStringLiteral("42"));
    EXPECT_EQ(b.FrameStyle(), fsRaised);
    EXPECT_EQ(b.ColorLabBakG(), 0x112233u);
    EXPECT_EQ(b.ColorDotOn(), 0x0000FFu);
    EXPECT_EQ(b.ColorScheme(), csSystem);
    EXPECT_EQ(b.Picture().GetPixel(1, 1), ResolveColor(clBtnHighlight)) << "relief colours copied";
    EXPECT_EQ(b.ColorDotOff(), 0x404040u);
    EXPECT_EQ(b.DotSize(), 3);
    EXPECT_TRUE(b.ScrollLoop());
}

TEST(RasterLab, AnotherFontGivesItsOwnRaster)
{
    TRasterLab lab;
    TFont f;
    f.Name = QStringLiteral("Liberation Sans");
    f.SetPixelHeight(14);
    lab.SetAutoHeight(true);
    lab.SetFont(f);
    const TCharRaster& r = lab.Raster();
    EXPECT_NE(r.Height, 12);
    EXPECT_EQ(lab.height(), 1 + 4 * r.Height) << "AutoHeight applied after the rebuild";
    TFont back;
    back.Name = QStringLiteral("Default");
    lab.SetFont(back);
    EXPECT_EQ(lab.Raster().Height, 12);
    EXPECT_EQ(lab.height(), 49);
}
