// The real dialog, driven with keys and clicks while it runs modally.
#include "dialogs/MessageDialog.h"
#include "support/Errors.h"
#include "support/ScopedHook.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MessageDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        MessageDialogButtonWidths().Clear();
        MessageDialogLanguage = 0;
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Ionpath Test"));
    }
    void TearDown() override { MessageDialogLanguage = 0; }
};

using Drive = std::function<void(TMessageForm&)>;

// Runs show, which blocks in the dialog's own event loop, and hands the open
// dialog to drive from inside that loop. A dialog drive leaves open is closed
// after a while so that a fault fails the test instead of hanging it.
int WhileShown(const std::function<int()>& show, const Drive& drive)
{
    bool driven = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* form = qobject_cast<TMessageForm*>(QApplication::activeModalWidget());
        if (!form || !form->isVisible() || !QTest::qWaitForWindowActive(form))
            return;
        poll.stop();
        driven = true;
        drive(*form);
        QTimer::singleShot(3000, form, [form] {
            ADD_FAILURE() << "the dialog stayed open";
            form->done(-1);
        });
    });
    poll.start(5);
    const int result = show();
    EXPECT_TRUE(driven);
    return result;
}

void Key(TMessageForm& form, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    QTest::keyClick(target, key, modifiers);
}

QList<TModalButton*> Buttons(const QWidget& form) { return form.findChildren<TModalButton*>(); }
QLabel* Message(const QWidget& form) { return form.findChild<QLabel*>(QStringLiteral("Message")); }
QImage Icon(QStyle::StandardPixmap kind)
{
    return QApplication::style()->standardIcon(kind).pixmap(32, 32).toImage();
}

} // namespace

TEST_F(MessageDialog, GermanErrorWithOneOkButtonAnswersEveryWayWithOk)
{
    MessageDialogLanguage = 1;
    const std::vector<std::pair<const char*, Drive>> ways = {
        {"Escape", [](TMessageForm& f) { Key(f, Qt::Key_Escape); }},
        {"Return", [](TMessageForm& f) { Key(f, Qt::Key_Return); }},
        {"click", [](TMessageForm& f) { QTest::mouseClick(Buttons(f).front(), Qt::LeftButton); }},
        {"close box", [](TMessageForm& f) { f.close(); }},
    };
    for (const auto& [name, way] : ways) {
        const int result = WhileShown([] { return ShowMessageDialog("Datei fehlt", TMsgDlgType(1), TMsgDlgButtons(4), 0); },
                                      [&way](TMessageForm& f) {
            EXPECT_EQ(f.windowTitle(), "Fehler");
            auto* image = f.findChild<QLabel*>(QStringLiteral("Image"));
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->pixmap().toImage(), Icon(QStyle::SP_MessageBoxCritical));
            EXPECT_NE(image->pixmap().toImage(), Icon(QStyle::SP_MessageBoxWarning));
            ASSERT_EQ(Buttons(f).size(), 1);
            EXPECT_EQ(Buttons(f).front()->text(), "OK");
            EXPECT_EQ(f.DefaultButton(), Buttons(f).front());
            EXPECT_EQ(f.CancelButton(), Buttons(f).front());
            way(f);
        });
        EXPECT_EQ(result, mrOk) << name;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) // each dialog was released
        EXPECT_EQ(qobject_cast<TMessageForm*>(w), nullptr);
}

TEST_F(MessageDialog, YesNoAnswersKeysAndAccelerators)
{
    struct { std::uint8_t language; Qt::Key key; Qt::KeyboardModifiers modifiers; int result; } cases[] = {
        {0, Qt::Key_Escape, {}, mrNo},     {0, Qt::Key_Return, {}, mrYes}, {0, Qt::Key_Enter, Qt::KeypadModifier, mrYes},
        {0, Qt::Key_N, Qt::AltModifier, mrNo}, {0, Qt::Key_N, {}, mrNo}, {0, Qt::Key_Y, {}, mrYes},
        {1, Qt::Key_J, {}, mrYes},         {1, Qt::Key_N, Qt::AltModifier, mrNo}, {0, Qt::Key_Space, {}, mrYes},
        {MessageDialogFrench, Qt::Key_O, {}, mrYes}, {MessageDialogFrench, Qt::Key_N, {}, mrNo},
        {MessageDialogSpanish, Qt::Key_S, {}, mrYes}, {MessageDialogSpanish, Qt::Key_N, Qt::AltModifier, mrNo},
    };
    for (const auto& t : cases) {
        MessageDialogLanguage = t.language;
        const int result = WhileShown([] { return ShowMessageDialog("Sure?", dkConfirmation, TMsgDlgButtons(3), 0); },
                                      [&](TMessageForm& f) {
            EXPECT_EQ(f.DefaultButton()->objectName(), "Yes");
            EXPECT_EQ(f.CancelButton()->objectName(), "No");
            Key(f, t.key, t.modifiers);
        });
        EXPECT_EQ(result, t.result) << "key " << t.key << " language " << int(t.language);
    }
}

TEST_F(MessageDialog, WithoutButtonsTheDialogIsAsTallAsWithThemAndEscapeCloses)
{
    auto withOk = BuildMessageDialog("Nothing to choose", dkWarning, {dbOK});
    const int result = WhileShown([] { return ShowMessageDialog("Nothing to choose", dkWarning, TMsgDlgButtons(0), 0); },
                                  [&](TMessageForm& f) {
        EXPECT_TRUE(Buttons(f).isEmpty());
        EXPECT_EQ(f.height(), withOk->height());
        Key(f, Qt::Key_Escape);
    });
    EXPECT_EQ(result, mrCancel);
}

TEST_F(MessageDialog, AbortRetryIgnoreIgnoresEscapeButAnswersItsLetters)
{
    const int result = WhileShown([] { return ShowMessageDialog("Disk?", dkError, {dbAbort, dbRetry, dbIgnore}, 0); },
                                  [](TMessageForm& f) {
        EXPECT_EQ(f.CancelButton(), nullptr);
        Key(f, Qt::Key_Escape);
        EXPECT_TRUE(f.isVisible());
        Key(f, Qt::Key_I);
    });
    EXPECT_EQ(result, mrIgnore);
}

TEST_F(MessageDialog, LongMessageWrapsAtHalfTheScreenWidth)
{
    const QString text = QString("The ion beam leaves the source and bends in the field. ").repeated(10);
    auto f = BuildMessageDialog(text, dkInformation, {dbOK});
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    const QFontMetrics fm(Message(*f)->font());
    EXPECT_LE(Message(*f)->width(), half);
    EXPECT_GT(Message(*f)->width(), half - fm.horizontalAdvance("source "));
    EXPECT_GE(Message(*f)->height(), 3 * fm.height());
    EXPECT_LE(f->width(), half + 32 + 2 * Message(*f)->x());
}

TEST_F(MessageDialog, MessageIsShownExactlyAsGivenAndInTheMessageBoxFont)
{
    const QString text = QStringLiteral("R&D <b>x</b>");
    const QFont previous = QApplication::font("QMessageBoxLabel");
    QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 20), "QMessageBoxLabel");
    auto f = BuildMessageDialog(text, dkWarning, {dbOK});
    auto plain = BuildMessageDialog("RD <b>x</b>", dkWarning, {dbOK});
    QApplication::setFont(previous, "QMessageBoxLabel");

    EXPECT_EQ(Message(*f)->text(), text);
    EXPECT_EQ(Message(*f)->font(), f->font());
    EXPECT_EQ(Buttons(*f).front()->font(), f->font());
    EXPECT_EQ(f->font().pointSize(), 20);
    EXPECT_EQ(Message(*f)->width(), QFontMetrics(f->font()).horizontalAdvance(text));
    EXPECT_GT(Message(*f)->width(), Message(*plain)->width()); // the "&" takes its room
    EXPECT_NE(Message(*f)->grab().toImage(), Message(*plain)->grab().toImage());
}

TEST_F(MessageDialog, GivenEdgesReplaceTheCentredOnes)
{
    const QPoint centred = BuildMessageDialog("Where?", dkWarning, {dbOK})->pos();
    struct { int x, y; QPoint expected; } cases[] = {
        {10, -1, {10, centred.y()}}, {-1, 20, {centred.x(), 20}}, {-5, -5, centred}, {0, 0, {0, 0}},
    };
    for (const auto& t : cases) {
        WhileShown([&] { return ShowMessageDialogAt("Where?", dkWarning, {dbOK}, 0, t.x, t.y, QString()); },
                   [&](TMessageForm& f) {
            EXPECT_EQ(f.pos(), t.expected) << t.x << "," << t.y;
            f.accept();
        });
    }
}

TEST_F(MessageDialog, HelpOpensTheHelpContextAndLeavesTheDialogOpen)
{
    std::vector<std::pair<int, QString>> asked;
    TScopedHook handler(MessageHelpHandler(), [&](int context, const QString& file) { asked.emplace_back(context, file); });
    const int result = WhileShown([] { return ShowMessageDialogAt("Help?", dkInformation, {dbOK, dbHelp}, 42, -1, -1, "manual.chm"); },
                                  [&](TMessageForm& f) {
        EXPECT_EQ(Buttons(f).back()->text(), "&Help");
        Key(f, Qt::Key_H, Qt::AltModifier); // a mnemonic presses its button with a short animation
        EXPECT_TRUE(QTest::qWaitFor([&] { return !asked.empty(); }, 1000));
        EXPECT_TRUE(f.isVisible());
        QTest::mouseClick(Buttons(f).front(), Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(42, QStringLiteral("manual.chm")));
}

TEST_F(MessageDialog, TextsOfEveryLanguage)
{
    const char* names[] = {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help"};
    const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10, 0};
    const struct {
        std::uint8_t language;
        const char* titles[4];
        const char* captions[11];
    } cases[] = {
        {MessageDialogEnglish, {"Warning", "Error", "Information", "Confirm"},
         {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"}},
        {MessageDialogGerman, {"Warnung", "Fehler", "Information", "Best\u00e4tigung"},
         {"&Ja", "&Nein", "OK", "Abbruch", "&Abbruch", "&Wiederholen", "&Ignorieren", "&Alle", "N&ein zu Allen",
          "Ja zu &Allen", "&Hilfe"}},
        {MessageDialogFrench, {"Avertissement", "Erreur", "Information", "Confirmation"},
         {"&Oui", "&Non", "OK", "Annuler", "&Abandonner", "&R\u00e9essayer", "&Ignorer", "&Tous",
          "Non \u00e0 tou&s", "Oui \u00e0 &tous", "&Aide"}},
        {MessageDialogSpanish, {"Advertencia", "Error", "Informaci\u00f3n", "Confirmaci\u00f3n"},
         {"&S\u00ed", "&No", "Aceptar", "Cancelar", "&Anular", "&Reintentar", "&Ignorar", "&Todos", "N&o a todos",
          "S\u00ed a &todos", "A&yuda"}},
        // A language the dialogs have no texts for speaks English.
        {4, {"Warning", "Error", "Information", "Confirm"},
         {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"}},
        {255, {"Warning", "Error", "Information", "Confirm"},
         {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.language));
        MessageDialogLanguage = c.language;
        for (int kind = 0; kind < 4; ++kind)
            EXPECT_EQ(BuildMessageDialog("x", TMsgDlgType(kind), {})->windowTitle(), QString::fromUtf8(c.titles[kind]));
        EXPECT_EQ(BuildMessageDialog("x", dkCustom, {})->windowTitle(), "Ionpath Test");
        const auto all = BuildMessageDialog("x", dkWarning, TMsgDlgButtons(0x7ff));
        const auto buttons = Buttons(*all);
        ASSERT_EQ(buttons.size(), 11);
        for (int i = 0; i < 11; ++i) {
            EXPECT_EQ(buttons[i]->objectName(), names[i]);
            EXPECT_EQ(buttons[i]->text(), QString::fromUtf8(c.captions[i]));
            EXPECT_EQ(buttons[i]->ModalResult(), results[i]);
            // No caption is cut off, although the widths were measured in
            // the first language shown.
            EXPECT_LE(buttons[i]->fontMetrics().horizontalAdvance(QString(buttons[i]->text()).remove(u'&')),
                      buttons[i]->width())
                << names[i];
        }
    }
}

// A letter pressed in a dialog answers with its button only when no other
// button of the dialog has the same one; the buttons that are shown together
// must therefore differ in every language.
TEST(MessageDialogTexts, ButtonsShownTogetherHaveTheirOwnLetters)
{
    const std::vector<std::vector<TMsgDlgBtn>> together = {
        {dbYes, dbNo, dbYesToAll, dbNoToAll, dbCancel},
        {dbAbort, dbRetry, dbIgnore},
        {dbYes, dbNo, dbHelp},
    };
    for (std::uint8_t language :
         {MessageDialogEnglish, MessageDialogGerman, MessageDialogFrench, MessageDialogSpanish}) {
        for (const auto& set : together) {
            QString letters;
            for (TMsgDlgBtn kind : set) {
                const QString caption = MessageButtonCaption(kind, language);
                const qsizetype amp = caption.indexOf(u'&');
                if (amp >= 0 && amp + 1 < caption.size()) {
                    const QChar letter = caption[amp + 1].toLower();
                    EXPECT_FALSE(letters.contains(letter)) << "language " << int(language) << ": "
                                                           << caption.toStdString() << " shares its letter";
                    letters += letter;
                }
            }
        }
    }
}

TEST(MessageDialogTexts, TheTablesLanguageTextChoosesTheDialogLanguage)
{
    const struct {
        const char* text;
        std::uint8_t language;
    } cases[] = {
        {"lggerman", MessageDialogGerman},   {"LgGerman", MessageDialogGerman},   {"lgfrench", MessageDialogFrench},
        {"LGFRENCH", MessageDialogFrench},   {"lgspanish", MessageDialogSpanish}, {"lgenglish", MessageDialogEnglish},
        {"lgitalian", MessageDialogEnglish}, {"", MessageDialogEnglish},
        // An untranslated key, and texts that only look alike.
        {"$dlglanguage$", MessageDialogEnglish}, {" lggerman", MessageDialogEnglish}, {"lgfrench ", MessageDialogEnglish},
        {"german", MessageDialogEnglish},
    };
    for (const auto& c : cases)
        EXPECT_EQ(int(MessageDialogLanguageOf(QString::fromUtf8(c.text))), int(c.language)) << c.text;
}

TEST_F(MessageDialog, UnknownKindIsReportedAndNoWindowIsLeft)
{
    EXPECT_THROW(ShowMessageDialog("x", TMsgDlgType(9), {dbOK}, 0), Exception);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TMessageForm*>(w), nullptr);
}

// Return presses the default button or the one the user moved the focus to
// with Tab; Escape the cancel button, and nothing when no button declines.
TEST_F(MessageDialog, ReturnAndEscapeAnswerForEveryButtonSet)
{
    using Keys = std::vector<Qt::Key>;
    const struct {
        TMsgDlgButtons buttons;
        Keys keys;
        int result;
    } cases[] = {
        {{dbOK, dbCancel}, {Qt::Key_Return}, mrOk},
        {{dbOK, dbCancel}, {Qt::Key_Escape}, mrCancel},
        {{dbOK, dbCancel}, {Qt::Key_Tab, Qt::Key_Return}, mrCancel},
        {{dbOK, dbCancel}, {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}, mrOk},
        {{dbYes, dbNo, dbCancel}, {Qt::Key_Return}, mrYes},
        {{dbYes, dbNo, dbCancel}, {Qt::Key_Escape}, mrCancel},
        {{dbYes, dbNo, dbCancel}, {Qt::Key_Tab, Qt::Key_Return}, mrNo},
        {{dbYes, dbNo, dbCancel}, {Qt::Key_Tab, Qt::Key_Escape}, mrCancel},
        {{dbRetry, dbCancel}, {Qt::Key_Return}, mrRetry},
        {{dbRetry, dbCancel}, {Qt::Key_Escape}, mrCancel},
        {{dbAbort, dbRetry, dbIgnore}, {Qt::Key_Return}, mrRetry},
        {{dbOK, dbHelp}, {Qt::Key_Escape}, mrOk},
        {{dbYes, dbNo, dbYesToAll, dbNoToAll}, {Qt::Key_Escape}, mrNo},
        // Neither a default nor a cancel button: Escape does nothing, Return
        // presses the button with the focus, the first.
        {{dbAbort, dbIgnore}, {Qt::Key_Escape, Qt::Key_Return}, mrAbort},
    };
    for (const auto& c : cases) {
        const int result = WhileShown([&] { return ShowMessageDialog("Go on?", dkConfirmation, c.buttons, 0); },
                                      [&](TMessageForm& f) {
            for (Qt::Key key : c.keys) {
                ASSERT_TRUE(f.isVisible()) << "closed before key " << key;
                Key(f, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            }
        });
        EXPECT_EQ(result, c.result) << "buttons " << c.buttons.Bits() << ", last key " << c.keys.back();
    }
}
