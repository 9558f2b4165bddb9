#include "QStringPrinter.h"
#include "widgets/NumLab.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

constexpr TColor kOut = 0x0000C0, kOutText = 0x00C000, kLab = 0xC0C0FF, kLabText = 0xC00000;
constexpr TColor kShadow = 0x808080, kHigh = 0xFFFFFF, kDark = 0x000000;

// A label in colours that tell every part apart; the box is 35..117 wide.
void Colour(TNumLab& lab)
{
    lab.SetColorOutBakG(kOut);
    lab.SetColorOutText(kOutText);
    lab.SetColorLabBakG(kLab);
    lab.SetColorLabText(kLabText);
}

TColor Px(const TNumLab& lab, int x, int y) { return lab.Picture().GetPixel(x, y); }

QRect InkBox(const Canvas& c, TColor ink, QRect region = QRect(0, 0, 10000, 10000))
{
    QRect box;
    for (int y = std::max(0, region.top()); y <= std::min(c.Height() - 1, region.bottom()); ++y)
        for (int x = std::max(0, region.left()); x <= std::min(c.Width() - 1, region.right()); ++x)
            if (c.GetPixel(x, y) == ink)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Where the text's ink lies when it is drawn with its box's top-left at (x, y).
QRect ReferenceInk(const TNumLab& lab, const QString& text, int x, int y)
{
    Canvas c(lab.width() + 400, lab.height());
    c.Brush = TBrush{clWhite, bsSolid};
    c.FillRect(0, 0, c.Width(), c.Height());
    c.Font = lab.Font();
    c.Font.Color = kLabText;
    c.Brush.Style = bsClear;
    c.TextOut(x + 200, y, text);
    return InkBox(c, kLabText).translated(-200, 0);
}

int TextY(const TNumLab& lab)
{
    Canvas c(1, 1);
    c.Font = lab.Font();
    return (lab.height() - c.TextHeight(NumLabSampleText())) / 2;
}

int Width(const TNumLab& lab, const QString& text)
{
    Canvas c(1, 1);
    c.Font = lab.Font();
    return c.TextWidth(text);
}

struct DisplayCounter {
    int calls = 0;
    QString last;
    void Attach(TNumLab& lab)
    {
        lab.OnBeforeDisplay = [this](QObject*, QString& text) {
            ++calls;
            last = text;
        };
    }
};

void SendMouse(QWidget& w, QEvent::Type type, int x, Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, QPointF(x, 5), w.mapToGlobal(QPointF(x, 5)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}

void MoveMouse(TNumLab& lab, int x) { SendMouse(lab, QEvent::MouseMove, x); }

} // namespace

TEST(NumLab, ConstructorDefaults)
{
    TNumLab lab;
    EXPECT_EQ(lab.Value(), 0.0);
    EXPECT_EQ(lab.DisplayType(), dtFixP);
    EXPECT_EQ(lab.Precision(), 2);
    EXPECT_FALSE(lab.Comma());
    EXPECT_FALSE(lab.ForcePlusSign());
    EXPECT_FALSE(lab.Empty());
    EXPECT_EQ(lab.OverflowIndicator(), QStringLiteral("*********"));
    EXPECT_EQ(lab.StateText(), QStringLiteral("undefined"));
    EXPECT_EQ(lab.DTFormat(), QStringLiteral("mmm-dd, yyyy"));
    EXPECT_TRUE(lab.LeftText().isEmpty());
    EXPECT_TRUE(lab.RightText().isEmpty());
    EXPECT_EQ(lab.LeftSpace(), 35);
    EXPECT_EQ(lab.LabelWidth(), 80);
    EXPECT_EQ(lab.Alignment(), taCenter);
    EXPECT_EQ(lab.LeftTextAlignment(), taRightJustify);
    EXPECT_EQ(lab.RightTextAlignment(), taLeftJustify);
    EXPECT_EQ(lab.FrameStyle(), fsLowered);
    EXPECT_EQ(lab.ColorScheme(), csBWG);
    EXPECT_EQ(lab.ColorLabBakG(), clBtnFace);
    EXPECT_EQ(lab.ColorLabText(), clBlack);
    EXPECT_EQ(lab.ColorOutBakG(), clBtnFace);
    EXPECT_EQ(lab.ColorOutText(), clBlack);
    EXPECT_EQ(lab.width(), 160);
    EXPECT_EQ(lab.height(), 28);
    EXPECT_EQ(lab.DisplayText(), QStringLiteral("0.00"));
    EXPECT_EQ(lab.property("DisplayType").toInt(), int(dtFixP));
}

TEST(NumLab, SetterClamps)
{
    TNumLab lab;
    lab.SetPrecision(-1);
    EXPECT_EQ(lab.Precision(), 2);
    lab.SetPrecision(20);
    EXPECT_EQ(lab.Precision(), 15);
    lab.SetLeftSpace(-5);
    EXPECT_EQ(lab.LeftSpace(), 35);
    lab.SetLeftSpace(500);
    EXPECT_EQ(lab.LeftSpace(), 160);
    lab.SetLabelWidth(-1);
    EXPECT_EQ(lab.LabelWidth(), 80);
    lab.setProperty("DisplayType", 13);
    EXPECT_EQ(lab.DisplayType(), dtFixP) << "no such display type";
    lab.setProperty("DisplayType", int(dtDegMinSec));
    EXPECT_EQ(lab.DisplayType(), dtDegMinSec);
}

TEST(NumLab, SettersRepaintOnlyOnChange)
{
    TNumLab lab;
    DisplayCounter n;
    n.Attach(lab);
    struct Step { std::function<void()> set; int paints; };
    const Step steps[] = {
        {[&] { lab.SetValue(0.0); }, 0},
        {[&] { lab.SetValue(5.0); }, 1},
        {[&] { lab.SetValue(5.0); }, 0},
        {[&] { lab.SetPrecision(2); }, 0},
        {[&] { lab.SetPrecision(-3); }, 0},
        {[&] { lab.SetPrecision(0); }, 1},
        {[&] { lab.SetRightText(QStringLiteral("V")); }, 1},
        {[&] { lab.SetRightText(QStringLiteral("V")); }, 0},
        {[&] { lab.SetFrameStyle(fsLowered); }, 0},
        {[&] { lab.SetFrameStyle(fsRaised); }, 1},
        {[&] { lab.SetColorScheme(csBWG); }, 0},
        {[&] { lab.SetColorScheme(csSystem); }, 1},
        {[&] { lab.SetColorLabText(clBlack); }, 0},
        {[&] { lab.SetColorLabText(clRed); }, 1},
        {[&] { lab.SetLeftSpace(35); }, 0},
        {[&] { lab.SetLeftSpace(40); }, 1},
        {[&] { lab.SetFont(TFont{QStringLiteral("Liberation Sans"), -15}); }, 1},
    };
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(i++);
        const int before = n.calls;
        s.set();
        EXPECT_EQ(n.calls - before, s.paints);
    }
    EXPECT_EQ(n.last, QStringLiteral("5"));
}

TEST(NumLab, BoxInEveryFrameStyle)
{
    // L = 35, R = 35 + 80 + 2 = 117, H = 28.
    struct P { int x, y; TColor c; };
    struct Row { TFrameStyle style; std::vector<P> pixels; };
    const Row rows[] = {
        {fsNone, {{35, 0, kLab}, {116, 27, kLab}, {117, 5, kOut}, {34, 5, kOut}}},
        {fsSimple, {{35, 0, kShadow}, {116, 27, kShadow}, {35, 27, kShadow}, {36, 1, kLab}, {117, 5, kOut}}},
        {fsLowered, {{35, 0, kShadow}, {35, 26, kShadow}, {116, 0, kShadow}, {116, 1, kShadow},
                     {36, 1, kDark}, {36, 25, kDark}, {115, 1, kDark}, {36, 26, kShadow},
                     {36, 27, kHigh}, {116, 27, kHigh}, {117, 27, kHigh}, {117, 1, kHigh},
                     {117, 0, kOut}, {35, 27, kOut}, {37, 2, kLab}}},
        {fsRaised, {{35, 0, kShadow}, {36, 1, kHigh}, {36, 27, kDark}, {117, 1, kDark}}},
        {fsEmbossed, {{35, 0, kHigh}, {116, 26, kHigh}, {36, 1, kShadow}, {117, 27, kShadow}}},
        {fsEngraved, {{35, 0, kShadow}, {36, 1, kHigh}, {117, 27, kHigh}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.style));
        TNumLab lab;
        Colour(lab);
        lab.SetEmpty(true);
        lab.SetFrameStyle(r.style);
        for (const P& p : r.pixels)
            EXPECT_EQ(Px(lab, p.x, p.y), p.c) << p.x << "," << p.y;
    }
}

TEST(NumLab, ColorSchemeChangesShadowAndHighlightButNotDark)
{
    TNumLab lab;
    Colour(lab);
    lab.SetColorScheme(csSystem);
    EXPECT_EQ(Px(lab, 35, 0), ResolveColor(clBtnShadow));
    EXPECT_EQ(Px(lab, 36, 27), ResolveColor(clBtnHighlight));
    EXPECT_EQ(Px(lab, 36, 1), kDark);
}

TEST(NumLab, NumberPlacedByAlignment)
{
    const QString text = QStringLiteral("5000");
    for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
        SCOPED_TRACE(int(a));
        TNumLab lab;
        Colour(lab);
        lab.SetPrecision(0);
        lab.SetValue(5000);
        lab.SetAlignment(a);
        const int tw = Width(lab, text);
        const int x = a == taLeftJustify ? 35 + 4 : a == taRightJustify ? 35 + 80 - tw - 2 : 35 + (80 - tw) / 2 + 2;
        const QRect expected = ReferenceInk(lab, text, x, TextY(lab));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(InkBox(lab.Picture(), kLabText), expected);
    }
}

TEST(NumLab, SideTextsPlacedByAlignment)
{
    const QString left = QStringLiteral("U ="), right = QStringLiteral("[V]");
    struct Row { TAlignment leftAlign, rightAlign; };
    const Row rows[] = {{taLeftJustify, taLeftJustify}, {taRightJustify, taRightJustify}, {taCenter, taCenter}};
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.leftAlign));
        TNumLab lab;
        lab.resize(200, 28);
        Colour(lab);
        lab.SetEmpty(true);
        lab.SetLeftText(left);
        lab.SetRightText(right);
        lab.SetLeftTextAlignment(r.leftAlign);
        lab.SetRightTextAlignment(r.rightAlign);
        const int lw = Width(lab, left), rw = Width(lab, right), y = TextY(lab);
        const int lx = r.leftAlign == taLeftJustify ? 7 : r.leftAlign == taRightJustify ? 35 - lw - 5 : (35 - lw) / 2;
        const int rx = r.rightAlign == taLeftJustify ? 122 : r.rightAlign == taRightJustify ? 200 - rw - 6
                                                                                           : (200 - (115 + rw)) / 2 + 116;
        const QRect leftInk = ReferenceInk(lab, left, lx, y), rightInk = ReferenceInk(lab, right, rx, y);
        ASSERT_FALSE(leftInk.isEmpty());
        EXPECT_EQ(InkBox(lab.Picture(), kOutText, QRect(0, 0, 35, 28)), leftInk);
        EXPECT_EQ(InkBox(lab.Picture(), kOutText, QRect(118, 0, 82, 28)), rightInk);
    }
}

TEST(NumLab, TooWideNumberShowsTheOverflowIndicator)
{
    // The state type is never replaced, so it shows what the box must look like.
    auto picture = [](TDisplay type, double value, const QString& state, const QString& indicator) {
        TNumLab lab;
        Colour(lab);
        lab.SetLabelWidth(50);
        lab.SetOverflowIndicator(indicator);
        lab.SetStateText(state);
        lab.SetDisplayType(type);
        lab.SetValue(value);
        return lab.Picture().Image();
    };
    const QString stars = QStringLiteral("*********");
    EXPECT_EQ(picture(dtFixP, 123456789012.0, {}, stars), picture(dtState, 0, stars, stars));
    // Also when the indicator itself is too wide: it is shown, clipped.
    const QString wide = QStringLiteral("overflow overflow");
    EXPECT_EQ(picture(dtFixP, 123456789012.0, {}, wide), picture(dtState, 0, wide, wide));
    EXPECT_NE(picture(dtFixP, 12.0, {}, stars), picture(dtState, 0, stars, stars));
}

TEST(NumLab, NumberIsClippedToTheBoxInterior)
{
    TNumLab lab;
    Colour(lab);
    lab.SetDisplayType(dtState);
    lab.SetStateText(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW"));
    const QRect ink = InkBox(lab.Picture(), kLabText);
    EXPECT_EQ(ink.left(), 35 + 3);
    EXPECT_EQ(ink.right(), 35 + 80 - 2);
    EXPECT_GE(ink.top(), 2);
    EXPECT_LE(ink.bottom(), 28 - 4);
}

TEST(NumLab, EmptyDrawsFrameAndTextsButNoNumber)
{
    TNumLab lab;
    Colour(lab);
    DisplayCounter n;
    n.Attach(lab);
    lab.SetRightText(QStringLiteral("mT"));
    lab.SetLeftText(QStringLiteral("B"));
    const int calls = n.calls;
    lab.SetEmpty(true);
    EXPECT_EQ(n.calls, calls) << "OnBeforeDisplay is not asked";
    EXPECT_TRUE(InkBox(lab.Picture(), kLabText).isEmpty());
    EXPECT_FALSE(InkBox(lab.Picture(), kOutText, QRect(0, 0, 35, 28)).isEmpty());
    EXPECT_FALSE(InkBox(lab.Picture(), kOutText, QRect(118, 0, 42, 28)).isEmpty());
    EXPECT_EQ(Px(lab, 36, 1), kDark);
}

TEST(NumLab, BeforeDisplayMayChangeTheText)
{
    TNumLab a, b;
    Colour(a);
    Colour(b);
    a.OnBeforeDisplay = [](QObject* sender, QString& text) {
        EXPECT_NE(qobject_cast<TNumLab*>(sender), nullptr);
        text = QStringLiteral("<") + text + QStringLiteral(">");
    };
    a.SetValue(1.5);
    b.SetDisplayType(dtState);
    b.SetStateText(QStringLiteral("<1.50>"));
    EXPECT_EQ(a.Picture().Image(), b.Picture().Image());
}

TEST(NumLab, HiddenLabelDoesNotPaint)
{
    QWidget window;
    auto* lab = new TNumLab(&window);
    DisplayCounter n;
    n.Attach(*lab);
    lab->hide();
    lab->SetValue(3);
    EXPECT_EQ(n.calls, 0);
    lab->show();
    EXPECT_EQ(n.calls, 1);
    EXPECT_EQ(n.last, QStringLiteral("3.00"));
}

TEST(NumLab, MouseAreaFollowsTheMouse)
{
    TNumLab lab;
    const int cases[][2] = {{0, 0}, {35, 0}, {36, 1}, {115, 1}, {116, 2}, {159, 2}};
    for (const auto& c : cases) {
        MoveMouse(lab, c[0]);
        EXPECT_EQ(lab.MouseArea(), c[1]) << "x = " << c[0];
    }
}

TEST(NumLab, ClickIsALeftPressAndReleaseOverTheControl)
{
    TNumLab lab;
    int clicks = 0, downs = 0, ups = 0;
    lab.OnClick = [&](QObject*) { ++clicks; };
    lab.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int) { downs += x == 50; };
    lab.OnMouseUp = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++ups; };
    SendMouse(lab, QEvent::MouseButtonPress, 50, Qt::LeftButton);
    SendMouse(lab, QEvent::MouseButtonRelease, 60, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    SendMouse(lab, QEvent::MouseButtonPress, 50, Qt::LeftButton);
    SendMouse(lab, QEvent::MouseButtonRelease, 500, Qt::LeftButton); // released outside
    SendMouse(lab, QEvent::MouseButtonPress, 50, Qt::RightButton);
    SendMouse(lab, QEvent::MouseButtonRelease, 50, Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(ups, 3);
}

TEST(NumLab, AssignCopiesAllButSignsDateFormatAndHandler)
{
    TNumLab a, b;
    a.SetLeftSpace(20);
    a.SetEmpty(true);
    a.SetLabelWidth(60);
    a.SetPrecision(4);
    a.SetLeftText(QStringLiteral("L"));
    a.SetRightText(QStringLiteral("R"));
    a.SetFrameStyle(fsEngraved);
    a.SetAlignment(taLeftJustify);
    a.SetRightTextAlignment(taCenter);
    a.SetLeftTextAlignment(taLeftJustify);
    a.SetOverflowIndicator(QStringLiteral("##"));
    a.SetValue(7.25);
    a.SetStateText(QStringLiteral("on"));
    a.SetColorLabBakG(1);
    a.SetColorLabText(2);
    a.SetColorOutBakG(3);
    a.SetColorOutText(4);
    a.SetColorScheme(csSystem);
    a.SetDisplayType(dtExp);
    a.SetComma(true);
    a.SetForcePlusSign(true);
    a.SetDTFormat(QStringLiteral("yyyy"));
    TFont big = a.Font();
    big.SetPixelHeight(30);
    a.SetFont(big);
    const TFont own = b.Font();
    int calls = 0;
    a.OnBeforeDisplay = [&](QObject*, QString&) { ++calls; };
    b.Assign(a);
    EXPECT_EQ(b.LeftSpace(), 20);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.LabelWidth(), 60);
    EXPECT_EQ(b.Precision(), 4);
    EXPECT_EQ(b.LeftText(), QStringLiteral("L"));
    EXPECT_EQ(b.RightText(), QStringLiteral("R"));
    EXPECT_EQ(b.FrameStyle(), fsEngraved);
    EXPECT_EQ(b.Alignment(), taLeftJustify);
    EXPECT_EQ(b.RightTextAlignment(), taCenter);
    EXPECT_EQ(b.LeftTextAlignment(), taLeftJustify);
    EXPECT_EQ(b.OverflowIndicator(), QStringLiteral("##"));
    EXPECT_EQ(b.Value(), 7.25);
    EXPECT_EQ(b.StateText(), QStringLiteral("on"));
    EXPECT_EQ(b.ColorLabBakG(), 1u);
    EXPECT_EQ(b.ColorLabText(), 2u);
    EXPECT_EQ(b.ColorOutBakG(), 3u);
    EXPECT_EQ(b.ColorOutText(), 4u);
    EXPECT_EQ(b.ColorScheme(), csSystem);
    EXPECT_EQ(b.Picture().GetPixel(20, 0), ResolveColor(clBtnShadow)) << "frame colours copied";
    EXPECT_EQ(b.DisplayType(), dtExp);
    EXPECT_FALSE(b.Comma());
    EXPECT_FALSE(b.ForcePlusSign());
    EXPECT_EQ(b.DTFormat(), QStringLiteral("mmm-dd, yyyy"));
    EXPECT_TRUE(b.Font() == own) << "each keeps its own font";
    EXPECT_FALSE(b.OnBeforeDisplay);
}
