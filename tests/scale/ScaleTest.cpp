#include "scale/Scale.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

// Counts the renders of a scale.
struct RenderCounter {
    int count = 0;
    void Attach(TScale& s)
    {
        s.OnAfterScaleRendered = [this](TScale*, Canvas&) { ++count; };
    }
};

TColor Px(const TScale& s, int x, int y) { return s.Picture().GetPixel(x, y); }

// Bounding box of the pixels inside r that differ from the background colour.
QRect InkBox(const Canvas& c, QRect r, TColor background)
{
    QRect box;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (c.GetPixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(Scale, DefaultScaleBackgroundFrameAndAxisLine)
{
    TScale s;
    s.SetRangeHigh(99); // no tick at the very end, so the line's end pixel shows
    s.PaintNow();
    ASSERT_EQ(s.Picture().Width(), 400);
    const TColor face = ResolveColor(clBtnFace);
    EXPECT_EQ(Px(s, 200, 200), face);
    // lowered frame: grey and white outside, black and silver inside
    EXPECT_EQ(Px(s, 0, 0), 0x808080u);
    EXPECT_EQ(Px(s, 200, 0), 0x808080u);
    EXPECT_EQ(Px(s, 399, 200), 0xFFFFFFu);
    EXPECT_EQ(Px(s, 200, 399), 0xFFFFFFu);
    EXPECT_EQ(Px(s, 0, 399), 0xFFFFFFu);
    EXPECT_EQ(Px(s, 1, 1), 0x000000u);
    EXPECT_EQ(Px(s, 398, 200), 0xC0C0C0u);
    // axis line at y = 379 from x = 20 up to, not including, x = 379
    for (int x = 20; x < 379; ++x)
        ASSERT_EQ(Px(s, x, 379), 0x000000u) << x;
    EXPECT_EQ(Px(s, 379, 379), face);
    EXPECT_EQ(Px(s, 19, 379), face);
    // the main tick at 0 points up: 7 pixels from the line
    for (int y = 373; y <= 379; ++y)
        EXPECT_EQ(Px(s, 20, y), 0x000000u) << y;
    EXPECT_EQ(Px(s, 20, 372), face);
    // a short tick at 5 (x = 38): 4 pixels
    const int x5 = s.ValueToPixel(5);
    EXPECT_EQ(Px(s, x5, 376), 0x000000u);
    EXPECT_EQ(Px(s, x5, 375), face);
    // labels above the ticks
    EXPECT_FALSE(InkBox(s.Picture(), QRect(10, 340, 30, 32), face).isEmpty());
    EXPECT_EQ(s.NumTicks(), 20); // short ticks 0..95
}

TEST(Scale, RightHandVerticalScale)
{
    TScale s;
    s.resize(100, 300);
    s.SetScaleType(sctYR);
    s.PaintNow();
    const TColor face = ResolveColor(clBtnFace);
    for (int y = 20; y < 279; ++y)
        ASSERT_EQ(Px(s, 79, y), 0x000000u) << y;
    EXPECT_EQ(s.ValueToPixel(0), 279);
    EXPECT_EQ(s.ValueToPixel(100), 20);
    // ticks point left: the main tick at 0 covers x = 74..79
    EXPECT_EQ(Px(s, 74, 279), 0x000000u);
    EXPECT_EQ(Px(s, 73, 279), face);
    // labels end 8 px left of the line, nothing right of it but the frame
    EXPECT_FALSE(InkBox(s.Picture(), QRect(3, 20, 68, 260), face).isEmpty());
    EXPECT_TRUE(InkBox(s.Picture(), QRect(80, 3, 16, 294), face).isEmpty());
    EXPECT_TRUE(InkBox(s.Picture(), QRect(72, 21, 6, 2), face).isEmpty()); // no label glyph at the ticks
}

TEST(Scale, CentredCaptionBelowTheAxisLine)
{
    TScale s;
    s.SetLabelType(ftNoFigs);
    s.SetShowBaseLine(false);
    s.SetShortTicks(false);
    s.SetCaptionAnchor(uaSclCenter);
    s.SetCaptionAlignment(taCenter);
    s.SetCaptionPosX(0);
    s.SetCaptionPosY(4);
    s.SetCaption(QStringLiteral("WWW"));
    const TColor face = ResolveColor(clBtnFace);
    const int w = s.Picture().TextWidth(QStringLiteral("WWW"));
    const int h = s.Picture().TextHeight(QStringLiteral("WWW"));
    const QRect ink = InkBox(s.Picture(), QRect(30, 381, 340, 17), face);
    ASSERT_FALSE(ink.isEmpty());
    // the text box starts half its width left of the axis middle (x = 200):
    // the same text drawn at a known place has its ink at the same offset
    Canvas ref(100, 40);
    ref.Font = s.Font();
    ref.Brush.Style = bsClear;
    ref.TextOut(10, 10, QStringLiteral("WWW"));
    const QRect refInk = InkBox(ref, QRect(0, 0, 100, 40), clWhite);
    EXPECT_EQ(ink.left(), 200 - w / 2 + refInk.left() - 10);
    EXPECT_EQ(ink.top(), 383 + refInk.top() - 10);
    EXPECT_GE(ink.top(), 383);
    EXPECT_LT(ink.bottom(), std::min(383 + h, 398));
}

TEST(Scale, TransparentScaleDrawsNoBackgroundAndOnlyInvalidates)
{
    TScale s;
    RenderCounter renders;
    renders.Attach(s);
    s.SetTransparent(true);
    const int after = renders.count;
    s.SetCaption(QStringLiteral("m/z"));
    s.SetRangeHigh(50);
    EXPECT_EQ(renders.count, after); // invalidated, not drawn
    s.SetEmbedded(true);             // embedded scales draw at once
    EXPECT_GT(renders.count, after);
    const QImage& img = s.Picture().Image();
    EXPECT_EQ(qAlpha(img.pixel(200, 200)), 0);  // no background
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);      // no frame
    EXPECT_EQ(qAlpha(img.pixel(100, 379)), 255); // the axis line
}

TEST(Scale, SuspendedPaintingAndPaintNow)
{
    TScale s;
    RenderCounter renders;
    renders.Attach(s);
    s.SuspendPaint(true);
    s.SetRangeHigh(10);
    s.SetCaption(QStringLiteral("x"));
    EXPECT_EQ(renders.count, 0);
    s.PaintNow();
    EXPECT_EQ(renders.count, 1);
    EXPECT_TRUE(s.PaintSuspended());
    s.SuspendPaint(true); // unchanged: nothing
    EXPECT_EQ(renders.count, 1);
    s.SuspendPaint(false);
    EXPECT_EQ(renders.count, 2);
    s.SetColorScale(s.ColorScale()); // unchanged colour: no repaint
    s.SetShortTicks(s.ShortTicks());
    EXPECT_EQ(renders.count, 2);
    s.SetCaption(s.Caption()); // other setters repaint on every assignment
    EXPECT_EQ(renders.count, 3);
    s.SetVisible(false);
    s.SetCaption(QStringLiteral("y"));
    EXPECT_EQ(renders.count, 3);
}

TEST(Scale, EmbeddedInAHostPictureAtAnOffset)
{
    Canvas host(500, 300);
    TScale s;
    s.SuspendPaint(true);
    s.SetEmbedded(true);
    s.SetTransparent(true);
    s.SetFrameStyle(fsNone);
    s.resize(500, 300);
    s.UpdateScaling();
    s.SetExternalCanvas(&host, 0, 5);
    std::vector<std::pair<int, int>> drawn;
    s.OnScaleTickDrawn = [&](TScale*, Canvas& c, TScaleType t, double, int x, int y) {
        EXPECT_EQ(&c, &host);
        EXPECT_EQ(t, sctXB);
        drawn.push_back({x, y});
    };
    s.PaintNow();
    // the line across is shifted by the offset, positions along it are not
    const int y = 5 + 300 - 20 - 1;
    EXPECT_EQ(host.GetPixel(20, y), 0x000000u);
    EXPECT_EQ(host.GetPixel(300, y), 0x000000u);
    EXPECT_EQ(host.GetPixel(300, y - 5), 0xFFFFFFu);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front(), std::make_pair(20, y));
    EXPECT_EQ(drawn.back(), std::make_pair(479, y));
    EXPECT_EQ(s.Picture().Width(), 0); // nothing drawn into its own picture
}

TEST(Scale, SetterRules)
{
    TScale s;
    s.SetRangeLow(10);
    s.SetRangeHigh(10); // never an empty range
    EXPECT_EQ(s.RangeHigh(), 10);
    EXPECT_EQ(s.RangeLow(), 11);
    s.SetRangeLow(10);
    s.SetRangeHigh(20);
    s.SetRangeLow(20);
    EXPECT_EQ(s.RangeHigh(), 21);

    s.SetMarginLeft(-5);
    EXPECT_EQ(s.MarginLeft(), 0);
    s.SetMinTicks(1);
    EXPECT_EQ(s.MinTicks(), 2);
    s.SetMinTicks(50);
    EXPECT_EQ(s.MinTicks(), 10);
    s.SetDecPlaces(-9);
    EXPECT_EQ(s.DecPlaces(), -3);
    s.SetDecPlaces(40);
    EXPECT_EQ(s.DecPlaces(), 12);
    s.SetLabelType(ftTime);
    EXPECT_EQ(s.DecPlaces(), 4);

    // made in code: logarithmic taken unchecked; after loading only where drawable
    s.SetRangeLow(0);
    s.SetLogarithmic(true);
    EXPECT_TRUE(s.Logarithmic());
    s.SetLabelType(ftDateTime);
    EXPECT_FALSE(s.Logarithmic());
    s.SetLabelType(ftNum);
    s.BeginLoading();
    s.Loaded();
    s.SetLogarithmic(true);
    EXPECT_FALSE(s.Logarithmic());
    s.SetRangeLow(1);
    s.SetRangeHigh(1000);
    s.SetLogarithmic(true);
    EXPECT_TRUE(s.Logarithmic());
}

TEST(Scale, SettingsAreTakenWholeWithinTheSettersLimits)
{
    TScaleSettings given;
    given.RangeLow = 2;
    given.RangeHigh = 2000;
    given.Logarithmic = true;
    given.LabelType = ftUserText;
    given.UserTickText = QStringLiteral("a|b");
    given.ScaleType = sctYR;
    given.Caption = QStringLiteral("m/z");
    given.CaptionAnchor = uaSclBotRgt;
    given.ColorScale = 255;
    given.Visible = true;

    struct Case {
        const char* what;
        std::function<void(TScaleSettings&)> change;
        std::function<void(TScaleSettings&)> expected; // what the scale makes of it
        bool loaded;
    };
    const Case cases[] = {
        {"as given", [](TScaleSettings&) {}, [](TScaleSettings&) {}, false},
        {"decimals", [](TScaleSettings& s) { s.DecPlaces = 40; }, [](TScaleSettings& s) { s.DecPlaces = 12; }, false},
        {"few ticks", [](TScaleSettings& s) { s.MinTicks = 0; }, [](TScaleSettings& s) { s.MinTicks = 2; }, false},
        {"empty range", [](TScaleSettings& s) { s.RangeLow = s.RangeHigh = 7; },
         [](TScaleSettings& s) { s.RangeLow = 7, s.RangeHigh = 8; }, false},
        {"log of zero, made in code", [](TScaleSettings& s) { s.RangeLow = 0; }, [](TScaleSettings& s) { s.RangeLow = 0; },
         false},
        {"log of zero, loaded", [](TScaleSettings& s) { s.RangeLow = 0; },
         [](TScaleSettings& s) { s.RangeLow = 0, s.Logarithmic = false; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TScale s;
        if (c.loaded) {
            s.BeginLoading();
            s.Loaded();
        }
        TScaleSettings v = given, expected = given;
        c.change(v);
        c.expected(expected);
        s.SetSettings(v);
        EXPECT_TRUE(s.Settings() == expected);
        EXPECT_EQ(s.RangeLow(), expected.RangeLow);
        EXPECT_EQ(s.RangeHigh(), expected.RangeHigh);
        EXPECT_EQ(s.Logarithmic(), expected.Logarithmic);
        EXPECT_EQ(s.ScaleType(), sctYR);
    }

    // The picture is that of the same settings made one by one.
    TScale whole, single;
    whole.SetSettings(given);
    single.SetRangeLow(2);
    single.SetRangeHigh(2000);
    single.SetLogarithmic(true);
    single.SetLabelType(ftUserText);
    single.SetUserTickText(QStringLiteral("a|b"));
    single.SetScaleType(sctYR);
    single.SetCaption(QStringLiteral("m/z"));
    single.SetCaptionAnchor(uaSclBotRgt);
    single.SetColorScale(255);
    whole.PaintNow();
    single.PaintNow();
    EXPECT_EQ(whole.Picture().Image(), single.Picture().Image());
}

TEST(Scale, CopyFromTakesTheAppearanceAndRange)
{
    TScale a, b;
    a.SetRangeLow(-5);
    a.SetRangeHigh(5);
    a.SetScaleType(sctYL);
    a.SetCaption(QStringLiteral("U / V"));
    a.SetFrameStyle(fsRaised);
    a.SetMarginTop(7);
    a.DateFormat()->SetDateSeparator(QLatin1Char('/'));
    b.CopyFrom(a);
    EXPECT_EQ(b.RangeLow(), -5);
    EXPECT_EQ(b.RangeHigh(), 5);
    EXPECT_EQ(b.ScaleType(), sctYL);
    EXPECT_EQ(b.Caption(), QStringLiteral("U / V"));
    EXPECT_EQ(b.FrameStyle(), fsRaised);
    EXPECT_EQ(b.MarginTop(), 7);
    EXPECT_EQ(b.DateFormat()->DateSeparator(), QLatin1Char('/'));
    EXPECT_NE(b.DateFormat(), a.DateFormat()); // each keeps its own
    EXPECT_EQ(b.ValueToPixel(5), a.ValueToPixel(5));
}

TEST(Scale, PrinterCanvasKeepsTheLabelPointSize)
{
    TScale s;
    TFont f;
    f.Name = QStringLiteral("DejaVu Sans");
    f.SetPixelHeight(16); // 12 points on a 96 dpi screen
    f.Color = clBlack;
    s.SetFont(f);
    s.SetShortTicks(false);
    s.SetShowBaseLine(false);
    s.SetFrameStyle(fsNone);
    s.SetColorBackGnd(clWhite);
    s.SetColorScale(clWhite); // ticks out of sight: only the letters count
    s.SetLabelType(ftUserText);
    s.SetUserTickText(QStringLiteral("H"));
    s.SuspendPaint(true);
    s.resize(400, 400);
    s.UpdateScaling();

    Canvas screen(400, 400);
    s.SetExternalCanvas(&screen, 0, 0);
    s.PaintNow();
    const QRect onScreen = InkBox(screen, QRect(0, 300, 400, 79), clWhite);

    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("scale.pdf")));
    pdf.setResolution(600);
    Canvas paper(400, 400);
    paper.SetPrinter(true, pdf.resolution());
    s.SetExternalCanvas(&paper, 0, 0);
    s.PaintNow();
    const QRect onPaper = InkBox(paper, QRect(0, 0, 400, 379), clWhite);
    {
        QPainter p(&pdf);
        p.drawImage(0, 0, paper.Image());
    }
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("scale.pdf"))).size(), 0);

    ASSERT_FALSE(onScreen.isEmpty());
    ASSERT_FALSE(onPaper.isEmpty());
    // a capital H of 12 points: about 12 * 0.73 / 72 inch high at each resolution
    const double ratio = double(onPaper.height()) / onScreen.height();
    EXPECT_NEAR(ratio, 600.0 / 96.0, 1.0);
}
