// The dialog's geometry from a font with known sizes: every character of the
// average-size sample is charWidth wide plus a remainder, so that the
// truncating "div 52" and the rounding of the dialog units both show.
#include "dialogs/MessageDialogLayout.h"
#include "support/Errors.h"

#include <QStringList>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

namespace {

struct FakeMetrics : TDialogTextMetrics {
    int charWidth = 7, remainder = 51, lineHeight = 15, captionCharWidth = 7;
    QSize text{200, 15};
    mutable int askedWrapWidth = -1;

    QSize Extent(const QString& s) const override { return {int(s.size()) * charWidth + remainder, lineHeight}; }
    int CaptionWidth(const QString& c) const override { return int(QString(c).remove(u'&').size()) * captionCharWidth; }
    QSize WrappedSize(const QString&, int width) const override
    {
        askedWrapWidth = width;
        return text;
    }
};

TMessageDialogEnvironment Env(std::uint8_t language = 0)
{
    return {QSize(1024, 768), QStringLiteral("Ionpath"), language, false, {}};
}

TMessageDialogLayout Lay(TMsgDlgType kind, TMsgDlgButtons buttons, const FakeMetrics& m = {},
                         const TMessageDialogEnvironment& env = Env())
{
    TButtonWidthCache cache;
    return LayoutMessageDialog(QStringLiteral("text"), kind, buttons, env, m, cache);
}

} // namespace

TEST(MessageDialogLayout, MulDivRoundsHalvesAwayFromZeroAndFailsLikeTheSystemCall)
{
    struct { int a, b, c, expected; } cases[] = {
        {10, 7, 4, 18}, {14, 15, 8, 26}, {5, 1, 2, 3}, {-5, 1, 2, -3}, {7, -3, 2, -11},
        {1, 1, 0, -1}, {INT_MAX, 2, 1, -1}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    };
    for (const auto& t : cases)
        EXPECT_EQ(MulDiv(t.a, t.b, t.c), t.expected) << t.a << "*" << t.b << "/" << t.c;
}

TEST(MessageDialogLayout, DialogUnitsFollowTheAverageCharacter)
{
    struct { int charWidth, remainder, lineHeight, cx, hm, vm, hs, vs, bw, bh, bs; } cases[] = {
        {7, 51, 15, 7, 14, 15, 18, 19, 88, 26, 7},
        {6, 51, 13, 6, 12, 13, 15, 16, 75, 23, 6},
        {5, 0, 12, 5, 10, 12, 13, 15, 63, 21, 5},
    };
    for (const auto& t : cases) {
        FakeMetrics m;
        m.charWidth = t.charWidth, m.remainder = t.remainder, m.lineHeight = t.lineHeight;
        const auto l = Lay(dkError, TMsgDlgButtons{dbOK}, m);
        EXPECT_EQ(l.AverageChar, QSize(t.cx, t.lineHeight));
        EXPECT_EQ(l.HorzMargin, t.hm);
        EXPECT_EQ(l.VertMargin, t.vm);
        EXPECT_EQ(l.HorzSpacing, t.hs);
        EXPECT_EQ(l.VertSpacing, t.vs);
        EXPECT_EQ(l.ButtonWidth, t.bw);
        EXPECT_EQ(l.ButtonHeight, t.bh);
        EXPECT_EQ(l.ButtonSpacing, t.bs);
    }
}

TEST(MessageDialogLayout, ErrorDialogWithOneOkButton)
{
    for (std::uint8_t language : {0, 1}) {
        FakeMetrics m;
        const auto l = Lay(dkError, TMsgDlgButtons(4), m, Env(language));
        EXPECT_EQ(l.Title, language ? "Fehler" : "Error");
        EXPECT_EQ(m.askedWrapWidth, 512);
        EXPECT_EQ(l.BlockSize, QSize(250, 32)); // 200 + icon 32 + spacing 18; icon taller than text
        EXPECT_EQ(l.ClientSize, QSize(278, 107));
        EXPECT_EQ(l.Position, QPoint(512 - 139, 384 - 53));
        EXPECT_EQ(l.ImageBounds, QRect(14, 15, 32, 32));
        EXPECT_EQ(l.MessageBounds, QRect(64, 15, 200, 15));
        ASSERT_EQ(l.Buttons.size(), 1u);
        const auto& ok = l.Buttons[0];
        EXPECT_EQ(ok.Name, "OK");
        EXPECT_EQ(ok.ModalResult, mrOk);
        EXPECT_EQ(ok.Bounds, QRect(95, 66, 88, 26));
        EXPECT_TRUE(ok.IsDefault && ok.IsCancel);
    }
    // The outer size is what gets centred.
    auto env = Env();
    env.Frame = QMargins(4, 30, 4, 4);
    EXPECT_EQ(Lay(dkError, TMsgDlgButtons{dbOK}, {}, env).Position, QPoint(512 - 143, 384 - 70));
}

TEST(MessageDialogLayout, DefaultAndCancelButtonsAndTheRowFromLeftToRight)
{
    struct { TMsgDlgButtons buttons; const char* names; const char* byDefault; const char* cancel; } cases[] = {
        {TMsgDlgButtons(3), "Yes No", "Yes", "No"},
        {{dbOK, dbCancel}, "OK Cancel", "OK", "Cancel"},
        {{dbCancel, dbNo, dbYes}, "Yes No Cancel", "Yes", "Cancel"},
        {{dbYes, dbOK}, "Yes OK", "OK", "OK"},
        {{dbIgnore, dbRetry, dbAbort}, "Abort Retry Ignore", "Retry", ""},
        {{dbHelp, dbYesToAll, dbNoToAll, dbAll}, "All NoToAll YesToAll Help", "", ""},
    };
    for (const auto& t : cases) {
        const auto l = Lay(dkConfirmation, t.buttons);
        QStringList names;
        QString byDefault, cancel;
        int x = (l.ClientSize.width() - l.ButtonGroupWidth) / 2;
        for (const auto& b : l.Buttons) {
            names << b.Name;
            if (b.IsDefault) byDefault += b.Name;
            if (b.IsCancel) cancel += b.Name;
            EXPECT_EQ(b.Bounds, QRect(x, l.BlockSize.height() + 15 + 19, 88, 26)) << qPrintable(b.Name);
            x += 88 + 7;
        }
        EXPECT_EQ(names.join(' '), t.names);
        EXPECT_EQ(byDefault, t.byDefault) << t.names;
        EXPECT_EQ(cancel, t.cancel) << t.names;
    }
}

TEST(MessageDialogLayout, WithoutButtonsTheRowStillTakesItsHeight)
{
    const auto l = Lay(dkWarning, TMsgDlgButtons(0));
    EXPECT_TRUE(l.Buttons.empty());
    EXPECT_EQ(l.ClientSize, QSize(250 + 28, 32 + 26 + 19 + 30));
}

TEST(MessageDialogLayout, CustomKindHasNoIconAndTheTextStartsAtTheMargin)
{
    FakeMetrics oneWord;
    oneWord.text = QSize(14, 15);
    for (const auto& m : {FakeMetrics(), oneWord}) {
        const auto l = Lay(dkCustom, {dbYes, dbNo, dbCancel}, m);
        EXPECT_FALSE(l.HasIcon);
        EXPECT_EQ(l.Title, "Ionpath");
        EXPECT_EQ(l.MessageBounds, QRect(QPoint(14, 15), m.text));
        // A short message leaves the width to the buttons, between the margins.
        const int group = 3 * 88 + 2 * 7;
        EXPECT_EQ(l.ClientSize.width(), std::max(group, m.text.width()) + 2 * 14);
        EXPECT_EQ(l.Buttons.front().Bounds.left(), (l.ClientSize.width() - group) / 2);
    }
}

TEST(MessageDialogLayout, CachedWidthOutlivesALanguageChange)
{
    FakeMetrics m;
    m.captionCharWidth = 20; // captions wider than the standard button
    TButtonWidthCache cache;
    const auto english = LayoutMessageDialog("x", dkWarning, {dbCancel}, Env(0), m, cache);
    EXPECT_EQ(english.ButtonWidth, 6 * 20 + 8);
    EXPECT_EQ(cache.Width(dbOK), 0); // absent buttons are not measured
    const auto german = LayoutMessageDialog("x", dkWarning, {dbCancel}, Env(1), m, cache);
    EXPECT_EQ(german.Buttons[0].Caption, "Abbruch");
    EXPECT_EQ(german.ButtonWidth, 6 * 20 + 8);
    EXPECT_EQ(cache.Width(dbCancel), 6 * 20 + 8);

    TButtonWidthCache fresh;
    EXPECT_EQ(LayoutMessageDialog("x", dkWarning, {dbCancel}, Env(1), m, fresh).ButtonWidth, 7 * 20 + 8);
}

TEST(MessageDialogLayout, RightToLeftMirrorsIconAndTextTogether)
{
    auto env = Env();
    env.RightToLeft = true;
    const auto l = Lay(dkInformation, {dbOK}, {}, env);
    EXPECT_EQ(l.ImageBounds, QRect(278 - 14 - 32, 15, 32, 32));
    EXPECT_EQ(l.MessageBounds, QRect(14, 15, 200, 15));
}

TEST(MessageDialogLayout, DialogLargerThanTheScreenKeepsItsTitleBarOnScreen)
{
    FakeMetrics m;
    m.text = QSize(2000, 1500);
    EXPECT_EQ(Lay(dkWarning, {dbOK}, m).Position, QPoint(0, 0));
}

TEST(MessageDialogLayout, UnknownKindOrButtonIsAnErrorAndMeasuresNothing)
{
    TButtonWidthCache cache;
    FakeMetrics m;
    EXPECT_THROW(LayoutMessageDialog("x", TMsgDlgType(5), {dbOK}, Env(), m, cache), Exception);
    EXPECT_THROW(LayoutMessageDialog("x", TMsgDlgType(-1), {dbOK}, Env(), m, cache), Exception);
    EXPECT_THROW(LayoutMessageDialog("x", dkError, TMsgDlgButtons(4 | 1u << 11), Env(), m, cache), Exception);
    EXPECT_EQ(cache.Width(dbOK), 0);
}
