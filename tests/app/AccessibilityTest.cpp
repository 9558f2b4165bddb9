// The two windows for users of screen readers and of the keyboard: every
// control named and described in the window's language, labels joined to
// their controls, the Tab order, the sliders' keys and the About box's keys.
#include "../TwoScreens.h"
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "chart/RChart.h"
#include "i18n/Lexifer2000.h"
#include "support/ScopedHook.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

QString Shipped(const char* name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/") + QLatin1String(name));
}

QString Said(QWidget* w, QAccessible::Text t)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(t) : QStringLiteral("(no interface)");
}

// Both windows translated with one of the shipped files, as the program
// does it.
struct Translated {
    TLexifer2000 lex;
    TfrmExample main{nullptr, TWindowTexts::Keys};
    TFrmAbout about;
    explicit Translated(const char* file)
    {
        QFile f(Shipped(file));
        if (!f.open(QIODevice::ReadOnly))
            ADD_FAILURE() << "cannot read " << file;
        lex.LoadFromStream(f);
        lex.TranslateForm(&main);
        PrepareAboutTexts(about, lex);
    }
    // The controls a user reaches or hears, under their names.
    std::map<std::string, QWidget*> Controls() const
    {
        return {{"RChart1", main.RChart1},     {"RChart2", main.RChart2},       {"spectrumbox", main.spectrumbox},
                {"MMExplain", main.MMExplain}, {"Energy", main.Energy},         {"TBMagnetic", main.TBMagnetic},
                {"EnergyNum", main.EnergyNum}, {"MagnetNum", main.MagnetNum},   {"RLabMass", main.RLabMass},
                {"cmdExit", main.cmdExit},     {"SBAbout", main.SBAbout},       {"ScStartBtn", main.ScStartBtn},
                {"ScStopBtn", main.ScStopBtn}, {"ClearBtn", main.ClearBtn},     {"LblHomePage", about.LblHomePage},
                {"LblSimus", about.LblSimus},  {"BButOK", about.BButOK}};
    }
};

struct Window {
    TfrmExample w;
    Window()
    {
        w.SetLibraryPath(Shipped("ms_spec_sample.tra"));
        w.show();
        w.FormActivate();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};

QWidget* Focused() { return QApplication::focusWidget(); }

std::string NameOf(const QWidget* w) { return w ? w->objectName().toStdString() : "(none)"; }

// The widgets the focus visits from the one that has it, pressing key
// count times.
std::vector<std::string> FocusWalk(Qt::Key key, Qt::KeyboardModifiers modifiers, int count)
{
    std::vector<std::string> walk;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(Focused(), key, modifiers);
        walk.push_back(NameOf(Focused()));
    }
    return walk;
}

} // namespace

struct SaidTexts {
    QString name, description;
};

// What every control says, with one of the shipped files (one window at a
// time: the program's host client admits one copy).
std::map<std::string, SaidTexts> SaidWith(const char* file)
{
    Translated t(file);
    std::map<std::string, SaidTexts> said;
    for (const auto& [name, control] : t.Controls())
        said[name] = {Said(control, QAccessible::Name), Said(control, QAccessible::Description)};
    // The mass display is named by what it shows, so that each new mass is heard.
    t.main.RLabMass->SetText(QStringLiteral("6.9"));
    said["RLabMass after a change"] = {Said(t.main.RLabMass, QAccessible::Name), {}};
    return said;
}

TEST(Accessibility, EveryControlIsNamedAndDescribedInEnglishAndGerman)
{
    const auto en = SaidWith("ionpath.itl");
    const auto de = SaidWith("ionpath.de.itl");
    ASSERT_EQ(en.size(), 18u);
    // Names that are the same in both languages: the mass shown, a web
    // address, and "OK", which German uses as well.
    const std::set<std::string> sameName = {"RLabMass", "RLabMass after a change", "LblSimus", "BButOK"};
    for (const auto& [name, english] : en) {
        SCOPED_TRACE(name);
        const SaidTexts& german = de.at(name);
        if (name == "RLabMass after a change") {
            EXPECT_EQ(english.name, QStringLiteral("6.9"));
            EXPECT_EQ(german.name, QStringLiteral("6.9"));
            continue;
        }
        for (const SaidTexts& said : {english, german}) {
            EXPECT_FALSE(said.name.trimmed().isEmpty());
            EXPECT_FALSE(said.description.trimmed().isEmpty());
            EXPECT_FALSE(said.name.contains(QLatin1String("LX_"))) << said.name.toStdString();
            EXPECT_FALSE(said.description.contains(QLatin1String("LX_"))) << said.description.toStdString();
            // A description is a sentence of its own, not the name again.
            EXPECT_NE(said.description, said.name);
        }
        EXPECT_NE(english.description, german.description);
        if (!sameName.count(name)) {
            EXPECT_NE(english.name, german.name);
        }
    }

    // The names are the words the window shows beside the controls.
    const struct {
        const char *control, *english, *german;
    } spots[] = {
        {"Energy", "Acceleration Voltage", "Beschleunigungsspannung"},
        {"TBMagnetic", "Magnetic Field", "Magnetfeld"},
        {"spectrumbox", "Selected Substance", "Ausgew\u00e4hlte Substanz"},
        {"ScStartBtn", "Start Scan", "Messung starten"},
        {"RChart2", "Mass Spectrum", "Massenspektrum"},
        {"LblHomePage", "Mass spectrometry explained", "Massenspektrometrie erkl\u00e4rt"},
        {"BButOK", "OK", "OK"},
    };
    for (const auto& s : spots) {
        EXPECT_EQ(en.at(s.control).name, QString::fromUtf8(s.english));
        EXPECT_EQ(de.at(s.control).name, QString::fromUtf8(s.german));
    }
}

TEST(Accessibility, FrenchAndSpanishNameAndDescribeEveryControlInTheirOwnWords)
{
    const auto en = SaidWith("ionpath.itl");
    for (const char* file : {"ionpath.fr.itl", "ionpath.es.itl"}) {
        SCOPED_TRACE(file);
        const auto said = SaidWith(file);
        ASSERT_EQ(said.size(), en.size());
        for (const auto& [name, texts] : said) {
            if (name == "RLabMass after a change")
                continue;
            SCOPED_TRACE(name);
            EXPECT_FALSE(texts.name.trimmed().isEmpty());
            EXPECT_FALSE(texts.name.contains(QLatin1String("LX_"))) << texts.name.toStdString();
            EXPECT_FALSE(texts.description.contains(QLatin1String("LX_"))) << texts.description.toStdString();
            EXPECT_NE(texts.description, en.at(name).description);
        }
    }
}

TEST(Accessibility, NoControlThatTakesTheFocusIsWithoutAName)
{
    Translated german("ionpath.de.itl");
    for (QWidget* window : {static_cast<QWidget*>(&german.main), static_cast<QWidget*>(&german.about)})
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
                continue;
            if (w->parentWidget() && (w->parentWidget()->focusProxy() == w || qobject_cast<QComboBox*>(w->parentWidget())))
                continue; // parts of a composite control (a combo box's list)
            const QString said = Said(w, QAccessible::Name);
            EXPECT_FALSE(said.trimmed().isEmpty()) << NameOf(w) << " (" << w->metaObject()->className() << ")";
            EXPECT_FALSE(said.contains(QLatin1String("LX_"))) << NameOf(w);
        }
}

TEST(Accessibility, LabelsNameTheirControls)
{
    Translated english("ionpath.itl");
    TfrmExample& w = english.main;
    const struct {
        const char* label;
        QWidget* control;
    } cases[] = {
        {"Voltage", w.Energy}, {"MFieldLb", w.TBMagnetic}, {"selspektrum", w.spectrumbox}, {"Label1", w.RLabMass},
    };
    for (const auto& c : cases) {
        auto* label = w.findChild<QLabel*>(QLatin1String(c.label));
        ASSERT_NE(label, nullptr) << c.label;
        EXPECT_EQ(label->buddy(), c.control) << c.label;
        // A screen reader finds the label as the control's label.
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(c.control);
        bool labelled = false;
        for (const auto& [other, relation] : control->relations(QAccessible::Label))
            labelled |= other->object() == label;
        EXPECT_TRUE(labelled) << c.label;
    }
}

TEST(Accessibility, TabWalksThePanelThenTheCommandColumn)
{
    Window win;
    TfrmExample& w = win.w;
    w.RChart1->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(Focused(), w.RChart1);
    const std::vector<std::string> forward = {"spectrumbox", "MMExplain", "Energy",     "TBMagnetic",
                                              "RChart2",     "cmdExit",   "SBAbout",    "ScStartBtn",
                                              "ScStopBtn",   "ClearBtn",  "RChart1"};
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, Qt::NoModifier, int(forward.size())), forward);
    std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back("RChart1");
    EXPECT_EQ(FocusWalk(Qt::Key_Backtab, Qt::ShiftModifier, int(backward.size())), backward);
    // The explanation is read, not edited: Tab leaves it unchanged.
    const QString explanation = w.MMExplain->toPlainText();
    w.MMExplain->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.MMExplain, Qt::Key_Tab);
    EXPECT_EQ(Focused(), w.Energy);
    EXPECT_EQ(w.MMExplain->toPlainText(), explanation);

    // During a scan the disabled controls are passed over.
    std::vector<std::string> duringScan;
    w.OnScanPass = [&](int pass) {
        if (pass != 2)
            return;
        w.cmdExit->setFocus(Qt::TabFocusReason);
        duringScan = FocusWalk(Qt::Key_Tab, Qt::NoModifier, 7);
        w.ScStopBtnClick();
    };
    w.ScStartBtnClick();
    EXPECT_EQ(duringScan, (std::vector<std::string>{"SBAbout", "ScStopBtn", "ClearBtn", "RChart1", "MMExplain",
                                                     "RChart2", "cmdExit"}));
}

TEST(Accessibility, SlidersMoveByLineAndPageSizeAndTheReadOutsFollow)
{
    Window win;
    TfrmExample& w = win.w;
    const struct {
        QSlider* slider;
        Qt::Key key;
        int value;
        TNumLab* readOut;
        double shown;
    } steps[] = {
        {w.Energy, Qt::Key_Right, 5001, w.EnergyNum, 5001}, {w.Energy, Qt::Key_Up, 5002, w.EnergyNum, 5002},
        {w.Energy, Qt::Key_Left, 5001, w.EnergyNum, 5001},  {w.Energy, Qt::Key_Down, 5000, w.EnergyNum, 5000},
        {w.Energy, Qt::Key_PageUp, 5200, w.EnergyNum, 5200}, {w.Energy, Qt::Key_PageUp, 5400, w.EnergyNum, 5400},
        {w.Energy, Qt::Key_PageDown, 5200, w.EnergyNum, 5200}, {w.Energy, Qt::Key_End, 8000, w.EnergyNum, 8000},
        {w.Energy, Qt::Key_PageUp, 8000, w.EnergyNum, 8000}, {w.Energy, Qt::Key_Home, 3000, w.EnergyNum, 3000},
        {w.Energy, Qt::Key_PageDown, 3000, w.EnergyNum, 3000},
        {w.TBMagnetic, Qt::Key_Right, 2, w.MagnetNum, 0},   {w.TBMagnetic, Qt::Key_PageUp, 4, w.MagnetNum, 0},
        {w.TBMagnetic, Qt::Key_PageUp, 6, w.MagnetNum, 0},  {w.TBMagnetic, Qt::Key_End, 5000, w.MagnetNum, 500},
        {w.TBMagnetic, Qt::Key_PageDown, 4998, w.MagnetNum, 499}, {w.TBMagnetic, Qt::Key_Left, 4997, w.MagnetNum, 499},
        {w.TBMagnetic, Qt::Key_Home, 1, w.MagnetNum, 0},
    };
    for (const auto& s : steps) {
        s.slider->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(Focused(), s.slider);
        QTest::keyClick(s.slider, s.key);
        EXPECT_EQ(s.slider->value(), s.value) << NameOf(s.slider) << " key " << s.key;
        EXPECT_EQ(s.readOut->Value(), s.shown) << NameOf(s.slider) << " key " << s.key;
    }
    // The field moved by keys moves the focus of the instrument as a drag does.
    w.Energy->setValue(5000);
    w.TBMagnetic->setFocus(Qt::TabFocusReason);
    w.TBMagnetic->setValue(994);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.TBMagnetic, Qt::Key_PageUp);
    EXPECT_EQ(w.TBMagnetic->value(), 1000);
    EXPECT_EQ(w.MagnetNum->Value(), 100);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("6.9"));
}

TEST(Accessibility, AboutBoxAnswersEnterAndEscapeAndItsLinksTheirKeys)
{
    QStringList opened;
    TScopedHook opener(TFrmAbout::AddressOpener(), [&](const QUrl& url) {
        opened << url.toString();
        return false;
    });
    TLexifer2000 lex;
    QFile f(Shipped("ionpath.itl"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    lex.LoadFromStream(f);

    const struct {
        const char* name;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        bool closed;
        QStringList opened;
    } cases[] = {
        {"Enter on OK", {{Qt::Key_Return, Qt::NoModifier}}, true, {}},
        {"keypad Enter", {{Qt::Key_Enter, Qt::KeypadModifier}}, true, {}},
        {"Escape", {{Qt::Key_Escape, Qt::NoModifier}}, true, {}},
        {"Space on OK", {{Qt::Key_Space, Qt::NoModifier}}, true, {}},
        {"Tab to the home page, Enter",
         {{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier}},
         false,
         {QStringLiteral("https://en.wikipedia.org/wiki/Mass_spectrometry")}},
        {"Tab twice, Space",
         {{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Space, Qt::NoModifier}},
         false,
         {TFrmAbout::SimulationsAddress}},
        {"a link, then Escape",
         {{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier}},
         true,
         {}},
        {"around to OK, Enter",
         {{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier},
          {Qt::Key_Return, Qt::NoModifier}},
         true,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        TFrmAbout box;
        PrepareAboutTexts(box, lex);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
        EXPECT_EQ(Focused(), box.BButOK); // Enter closes the box at once
        for (const auto& [key, modifiers] : c.keys)
            QTest::keyClick(Focused(), key, modifiers);
        EXPECT_EQ(box.isVisible(), !c.closed);
        if (c.closed) {
            EXPECT_EQ(box.result(), QDialog::Rejected);
        }
        EXPECT_EQ(opened, c.opened);
    }
}

TEST(Accessibility, AboutBoxLinksArePressableLinksForAssistiveTools)
{
    QStringList opened;
    TScopedHook opener(TFrmAbout::AddressOpener(), [&](const QUrl& url) {
        opened << url.toString();
        return false;
    });
    TLexifer2000 lex;
    TFrmAbout box;
    PrepareAboutTexts(box, lex);
    box.SetHomePage(QStringLiteral("https://ionpath.example/home"));
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(box.LblSimus);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), TFrmAbout::SimulationsAddress);
    QAccessibleActionInterface* action = link->actionInterface();
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    action->doAction(QAccessibleActionInterface::pressAction());
    QAccessibleInterface* home = QAccessible::queryAccessibleInterface(box.LblHomePage);
    home->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened, (QStringList{TFrmAbout::SimulationsAddress, QStringLiteral("https://ionpath.example/home")}));
}

// Longer translations are not cut off: every caption with its icon fits
// inside its button's margins; where all fit the window's font stays.
TEST(Accessibility, TranslatedCaptionsFitTheirButtons)
{
    for (const char* file : {"ionpath.itl", "ionpath.de.itl", "ionpath.fr.itl", "ionpath.es.itl"}) {
        SCOPED_TRACE(file);
        Translated t(file);
        t.main.FitTranslatedTexts();
        const int windowPixels = t.main.font().pixelSize();
        int smaller = 0;
        for (QPushButton* b : t.main.findChildren<QPushButton*>()) {
            const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
            int needed = QFontMetrics(b->font()).horizontalAdvance(b->text());
            if (!b->icon().isNull())
                needed += b->iconSize().width();
            EXPECT_LE(needed, b->width() - 2 * margin) << NameOf(b) << " " << b->text().toStdString();
            EXPECT_GE(b->font().pixelSize(), 9) << NameOf(b);
            smaller += b->font().pixelSize() < windowPixels;
            // A shortened caption is the full caption, in a smaller font.
            EXPECT_FALSE(b->text().contains(QLatin1String("LX_")));
        }
        if (QString::fromLatin1(file) == QLatin1String("ionpath.itl")) {
            EXPECT_EQ(smaller, 0);
        }
        // The column reads alike: one size for all its buttons.
        for (QPushButton* b : t.main.findChildren<QPushButton*>())
            EXPECT_EQ(b->font().pixelSize(), t.main.cmdExit->font().pixelSize()) << NameOf(b);
    }
}

// The window on a high-resolution screen: every picture it paints itself is
// in the screen's device pixels, also after a move from a plain screen, and
// what the window shows is those pictures unscaled.
TEST(AtRatio2, TheWindowsOwnPicturesFollowItsScreen)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    TfrmExample w;
    w.SetLibraryPath(Shipped("ms_spec_sample.tra"));
    PlaceOn(w, plainScreen);
    w.show();
    w.FormActivate();
    w.TBMagnetic->setValue(1000);
    const auto ratios = [&w] {
        return std::vector<int>{w.EnergyNum->Picture().DevicePixelRatio(), w.MagnetNum->Picture().DevicePixelRatio(),
                                w.RLabMass->Picture().DevicePixelRatio(), w.RChart1->DataBitmap().DevicePixelRatio(),
                                w.RChart2->ControlBitmap().DevicePixelRatio()};
    };
    EXPECT_EQ(ratios(), std::vector<int>(5, 1));

    PlaceOn(w, sharpScreen);
    QCoreApplication::processEvents();
    ASSERT_EQ(w.devicePixelRatioF(), 2.0);
    EXPECT_EQ(ratios(), std::vector<int>(5, 2));
    // What each shows is its picture, unscaled.
    const struct {
        QWidget* widget;
        QImage picture;
    } parts[] = {
        {w.RLabMass, w.RLabMass->Picture().Image()},
        {w.MagnetNum, w.MagnetNum->Picture().Image()},
        {w.RChart2, w.RChart2->Presented()},
    };
    for (const auto& p : parts) {
        const QImage shown = p.widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.size(), p.widget->size() * 2) << NameOf(p.widget);
        EXPECT_EQ(shown, p.picture.convertToFormat(QImage::Format_RGB32)) << NameOf(p.widget);
    }
    // A new mass is drawn at the screen's ratio as well.
    w.TBMagnetic->setValue(2000);
    EXPECT_EQ(w.RLabMass->Picture().DevicePixelRatio(), 2);
    EXPECT_EQ(w.RLabMass->Text(), QStringLiteral("27.4"));
}
