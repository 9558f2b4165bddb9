// Every caption of the windows fits the place it is shown in, in every
// language we ship. A caption cut by its control, or one that runs out of
// the instrument's housing, is the first thing a class sees of a
// translation that is too long. The languages are the translation files in
// data/, so a new one is checked as soon as its file is there.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Shape.h"
#include "app/SpectrometerChartMenus.h"
#include "app/SpectrometerCharts.h"
#include "chart/ChartMenu.h"
#include "chart/ChartTypes.h"
#include "chart/RChart.h"
#include "chart/ScaleProps.h"
#include "dialogs/ButtonWidthCache.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/MessageForm.h"
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <gtest/gtest.h>
#include <functional>

namespace {

QDir DataFolder()
{
    return QDir(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data")));
}

// The translation files we ship: "ionpath.itl" and one "ionpath.<language>.itl"
// per further language.
QStringList ShippedTranslations()
{
    return DataFolder().entryList({QStringLiteral("ionpath*.itl")}, QDir::Files, QDir::Name);
}

void Load(TLexifer2000& lex, const QString& file)
{
    ASSERT_TRUE(LoadTranslationFile(lex, DataFolder().filePath(file))) << file.toStdString();
}

QString SizeText(QSize s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

QString RectText(const QRect& r)
{
    return QStringLiteral("%1x%2 at (%3,%4)").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// The texts that do not fit, one line each, named by language file, the
// control's objectName and the text.
class TMisfits {
public:
    void SetLanguage(const QString& file) { language_ = file; }

    void CheckSize(const QString& name, const QString& text, QSize needed, QSize room)
    {
        if (needed.width() > room.width() || needed.height() > room.height())
            Add(name, text, QStringLiteral("needs %1, has %2").arg(SizeText(needed), SizeText(room)));
    }
    void CheckInside(const QString& name, const QString& text, const QRect& drawn, const QString& placeName,
                     const QRect& place)
    {
        if (!place.contains(drawn))
            Add(name, text,
                QStringLiteral("is drawn %1, outside %2 %3").arg(RectText(drawn), placeName, RectText(place)));
    }
    void Add(const QString& name, const QString& text, const QString& why)
    {
        QString shown = text;
        shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        lines_ << QStringLiteral("%1: %2 \"%3\" %4").arg(language_, name, shown, why);
    }

    bool Empty() const { return lines_.isEmpty(); }
    std::string Report() const { return lines_.join(QLatin1Char('\n')).toStdString(); }

private:
    QString language_;
    QStringList lines_;
};

// ---- controls ----------------------------------------------------------------

// The shape of the instrument drawing a label is written on: the largest
// one under the label's centre.
const TShape* HousingOf(const QLabel& label)
{
    const TShape* housing = nullptr;
    if (!label.parentWidget())
        return nullptr;
    for (const QWidget* w : label.parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* s = dynamic_cast<const TShape*>(w); // a plain widget to the meta-object system
        if (!s)
            continue;
        const QSize size = s->size();
        if (s->geometry().contains(label.geometry().center())
            && (!housing || size.width() * size.height() > housing->width() * housing->height()))
            housing = s;
    }
    return housing;
}

// A label is laid out with its font's metrics in its contents rectangle; a
// wrapped one fits when the height it needs for its width fits.
void CheckLabel(const QLabel& l, TMisfits& misfits)
{
    if (l.text().isEmpty())
        return;
    const int margin = l.margin();
    const QRect room = l.contentsRect().adjusted(margin, margin, -margin, -margin);
    int flags = Qt::TextExpandTabs;
    if (l.wordWrap())
        flags |= Qt::TextWordWrap;
    if (l.buddy())
        flags |= Qt::TextShowMnemonic;
    const QFontMetrics fm = l.fontMetrics();
    QSize needed = fm.boundingRect(QRect(0, 0, l.wordWrap() ? room.width() : 100000, 100000), flags, l.text()).size();
    if (l.wordWrap())
        needed.setHeight(std::max(needed.height(), l.heightForWidth(l.width()) - (l.height() - room.height())));
    misfits.CheckSize(l.objectName(), l.text(), needed, room.size());

    // Where the text goes in the parent: a label sized to its text must not
    // run out of its panel, a housing's caption not out of the housing.
    const QWidget* parent = l.parentWidget();
    if (!parent || l.isWindow())
        return;
    const QRect drawn = QStyle::alignedRect(l.layoutDirection(), l.alignment(), needed, room).translated(l.pos());
    if (const TShape* housing = HousingOf(l))
        misfits.CheckInside(l.objectName(), l.text(), drawn, housing->objectName(), housing->Inside());
    else
        misfits.CheckInside(l.objectName(), l.text(), drawn, parent->objectName(), parent->contentsRect());
}

// Caption and icon side by side, as the style draws a button's label.
QSize ButtonLabelSize(const QAbstractButton& b)
{
    QSize s = b.fontMetrics().size(Qt::TextShowMnemonic, b.text());
    if (!b.icon().isNull()) {
        s.rwidth() += b.iconSize().width() + 4;
        s.setHeight(std::max(s.height(), b.iconSize().height()));
    }
    return s;
}

void CheckButton(const QAbstractButton& b, TMisfits& misfits)
{
    if (b.text().isEmpty())
        return;
    QStyleOptionButton opt;
    opt.initFrom(&b);
    opt.text = b.text();
    opt.icon = b.icon();
    opt.iconSize = b.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (const auto* push = qobject_cast<const QPushButton*>(&b)) {
        if (push->isFlat())
            opt.features |= QStyleOptionButton::Flat;
        if (push->autoDefault())
            opt.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault())
            opt.features |= QStyleOptionButton::DefaultButton;
    } else if (qobject_cast<const QCheckBox*>(&b)) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<const QRadioButton*>(&b)) {
        contents = QStyle::SE_RadioButtonContents;
    } else {
        return;
    }
    const QRect room = b.style()->subElementRect(contents, &opt, &b);
    misfits.CheckSize(b.objectName(), b.text(), ButtonLabelSize(b), room.size());
}

// Every substance the selector offers, in the field that shows the chosen one.
void CheckComboBox(const QComboBox& c, TMisfits& misfits)
{
    QStyleOptionComboBox opt;
    opt.initFrom(&c);
    opt.editable = c.isEditable();
    opt.frame = c.hasFrame();
    opt.subControls = QStyle::SC_All;
    const QRect field = c.style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, &c);
    for (int i = 0; i < c.count(); ++i)
        misfits.CheckSize(c.objectName(), c.itemText(i), c.fontMetrics().size(0, c.itemText(i)), field.size());
}

void CheckGroupBox(const QGroupBox& g, TMisfits& misfits)
{
    if (!g.title().isEmpty())
        misfits.CheckSize(g.objectName(), g.title(), g.fontMetrics().size(Qt::TextShowMnemonic, g.title()),
                          g.contentsRect().size());
}

void CheckControls(const QWidget& window, TMisfits& misfits)
{
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        if (const auto* l = qobject_cast<const QLabel*>(w))
            CheckLabel(*l, misfits);
        else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            CheckButton(*b, misfits);
        else if (const auto* c = qobject_cast<const QComboBox*>(w))
            CheckComboBox(*c, misfits);
        else if (const auto* g = qobject_cast<const QGroupBox*>(w))
            CheckGroupBox(*g, misfits);
    }
}

// ---- chart captions ----------------------------------------------------------

// The bounds of the pixels in which two pictures of one size differ.
QRect Differing(const QImage& a, const QImage& b)
{
    QRect bounds;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The ink of a text written alone on a canvas large enough for it.
QSize Ink(const TFont& font, const QString& text)
{
    Canvas measure;
    measure.Font = font;
    const int h = measure.TextHeight(text);
    Canvas c(measure.TextWidth(text) + 4 * h, 3 * h);
    const QImage white = c.Image().copy();
    c.Font = font;
    c.Brush.Style = bsClear;
    c.TextOut(2 * h, h, text);
    return Differing(white, c.Image()).size();
}

// A caption is part of the chart's picture: what of it shows there is what
// differs from the picture without it. Cut at the chart's edge, or covered by
// the data area, it shows less ink than its letters have.
void CheckChartCaption(TRChart& chart, const QString& name, const QString& text, const TFont& font,
                       const std::function<void(const QString&)>& setCaption, TMisfits& misfits)
{
    if (text.isEmpty())
        return;
    setCaption(QString());
    chart.RenderChart();
    const QImage without = chart.Presented().copy();
    setCaption(text);
    chart.RenderChart();
    const QSize shown = Differing(without, chart.Presented()).size();
    const QSize letters = Ink(font, text);
    if (shown.width() < letters.width() || shown.height() < letters.height())
        misfits.Add(name, text, QStringLiteral("shows %1 of its %2 pixels of ink in the chart")
                                    .arg(SizeText(shown), SizeText(letters)));
}

void CheckCharts(const QWidget& window, TMisfits& misfits)
{
    for (TRChart* chart : window.findChildren<TRChart*>()) {
        CheckChartCaption(*chart, chart->objectName(), chart->Caption(), chart->Font(),
                          [chart](const QString& c) { chart->SetCaption(c); }, misfits);
        for (int layer = 1; layer <= kLayerCount; ++layer) {
            const std::pair<TScaleProps*, QString> axes[] = {
                {chart->ScaleX(layer), QStringLiteral("%1.Scale%2X").arg(chart->objectName()).arg(layer)},
                {chart->ScaleY(layer), QStringLiteral("%1.Scale%2Y").arg(chart->objectName()).arg(layer)},
            };
            for (const auto& named : axes) {
                TScaleProps* axis = named.first;
                if (axis->Visible())
                    CheckChartCaption(*chart, named.second, axis->Caption(), axis->Font(),
                                      [axis](const QString& c) { axis->SetCaption(c); }, misfits);
            }
        }
    }
}

// ---- menus -------------------------------------------------------------------

// A menu grows with its entries; an entry is cut only when the menu is held
// narrower than its text with the shortcut beside it, or runs off the screen.
void CheckMenu(QMenu& menu, TMisfits& misfits)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    menu.popup(screen.topLeft());
    const QFontMetrics fm = menu.fontMetrics();
    for (QAction* a : menu.actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        const QString shortcut = a->shortcut().toString(QKeySequence::NativeText);
        int needed = fm.size(Qt::TextShowMnemonic | Qt::TextSingleLine, a->text()).width();
        if (!shortcut.isEmpty())
            needed += fm.averageCharWidth() + fm.horizontalAdvance(shortcut);
        const QString name = a->objectName().isEmpty() ? menu.objectName()
                                                       : menu.objectName() + QLatin1Char('/') + a->objectName();
        misfits.CheckSize(name, a->text(), QSize(needed, fm.height()), menu.actionGeometry(a).size());
        misfits.CheckInside(name, a->text(), menu.actionGeometry(a).translated(menu.pos()),
                            QStringLiteral("the screen"), screen);
    }
    menu.hide();
}

// ---- pictures ----------------------------------------------------------------

// IONPATH_PICTURES=<folder> writes what was checked, for people to look at.
void Picture(QWidget& w, const QString& language, const QString& what)
{
    const QString dir = qEnvironmentVariable("IONPATH_PICTURES");
    if (!dir.isEmpty())
        w.grab().save(QDir(dir).filePath(QStringLiteral("texts-%1-%2.png").arg(language, what)));
}

// ---- the windows in one language ---------------------------------------------

// The main window as the program shows it in the table's language, with the
// shipped substances in its selector.
void CheckMainWindow(TLexifer2000& lex, const QString& language, TMisfits& misfits)
{
    TfrmExample w(nullptr, TWindowTexts::Keys);
    lex.TranslateForm(&w);
    w.FitTranslatedTexts();
    w.SetLibraryPath(DataFolder().filePath(QStringLiteral("ms_spec_sample.tra")));
    w.show();
    w.FormActivate();
    EXPECT_GT(w.spectrumbox->count(), 0);
    CheckControls(w, misfits);
    CheckCharts(w, misfits);
    Picture(w, language, QStringLiteral("main"));
}

void CheckAboutBox(TLexifer2000& lex, const QString& language, TMisfits& misfits)
{
    TFrmAbout box;
    PrepareAboutTexts(box, lex);
    box.show();
    CheckControls(box, misfits);
    Picture(box, language, QStringLiteral("about"));
}

// The window's charts with their menus, translated as the window translates
// them: through its table.
void CheckChartMenus(TLexifer2000& lex, TMisfits& misfits)
{
    QWidget panel;
    TRChart deflection(&panel);
    TRChart spectrum(&panel);
    SetUpDeflectionChart(deflection);
    SetUpSpectrumChart(spectrum);
    const auto translate = [&lex](const QString& text) { return lex.Translate(text); };
    const TChartMenu* menus[] = {
        InstallDeflectionChartMenu(deflection, translate),
        InstallSpectrumChartMenu(spectrum, [] { return TSpectrumCsvHeader{}; }, translate),
    };
    panel.show();
    for (const TChartMenu* menu : menus)
        CheckMenu(*menu->Menu(), misfits);
}

// The program's dialogs speak the language of its table. Each button is
// shown alone, in the narrowest dialog it can have, with its width measured
// afresh as in a run of the program.
void CheckMessageDialogs(TLexifer2000& lex, const QString& language, TMisfits& misfits)
{
    const std::uint8_t before = MessageDialogLanguage;
    MessageDialogLanguage = MessageDialogLanguageOf(lex.Translate(QStringLiteral("$dlglanguage$")));
    for (int kind = 0; kind < MessageButtonKindCount; ++kind) {
        MessageDialogButtonWidths().Clear();
        const auto form = BuildMessageDialog(QStringLiteral("?"), dkConfirmation, TMsgDlgButtons{TMsgDlgBtn(kind)});
        form->show();
        CheckControls(*form, misfits);
        if (kind == dbNoToAll)
            Picture(*form, language, QStringLiteral("dialog"));
    }
    MessageDialogLanguage = before;
    MessageDialogButtonWidths().Clear();
}

// Runs check once per shipped language and reports every text that does not fit.
void CheckEveryShippedLanguage(const std::function<void(TLexifer2000&, const QString&, TMisfits&)>& check)
{
    const QStringList files = ShippedTranslations();
    ASSERT_TRUE(files.contains(QStringLiteral("ionpath.itl")) && files.contains(QStringLiteral("ionpath.de.itl")))
        << files.join(u' ').toStdString();
    TMisfits misfits;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        misfits.SetLanguage(file);
        TLexifer2000 lex;
        Load(lex, file);
        check(lex, file, misfits);
    }
    EXPECT_TRUE(misfits.Empty()) << misfits.Report();
}

} // namespace

TEST(TextsFit, MainWindowInEveryShippedLanguage)
{
    CheckEveryShippedLanguage(CheckMainWindow);
}

TEST(TextsFit, AboutBoxInEveryShippedLanguage)
{
    CheckEveryShippedLanguage(CheckAboutBox);
}

TEST(TextsFit, ChartMenusInEveryShippedLanguage)
{
    CheckEveryShippedLanguage([](TLexifer2000& lex, const QString&, TMisfits& misfits) {
        CheckChartMenus(lex, misfits);
    });
}

TEST(TextsFit, MessageDialogButtonsInEveryShippedLanguage)
{
    CheckEveryShippedLanguage(CheckMessageDialogs);
}

// The checks above pass only if they see a text that is too long: each of
// these translations is too long for its place even in the smallest font the
// windows use, and must be reported under its control's name.
TEST(TextsFit, ATranslationTooLongForItsPlaceIsReported)
{
    const QString sentence = QStringLiteral("A translation far longer than anything its place was drawn for.");
    const auto times = [&](int n) { return QStringList(n, sentence).join(QLatin1Char(' ')); };
    const struct {
        const char* key;
        QString translation;
        const char* reported; // the control's name as the report gives it
    } cases[] = {
        {"Ion Source", QStringLiteral("Ionenquellenkammer"), "IonSource \""},
        {"Detector", QStringLiteral("Ionendetektorsystem"), "Detector \""},
        {"Start Scan", sentence, "ScStartBtn \""},
        {"Acceleration Voltage", times(2), "Voltage \""},
        {"Magnetic Deflection", sentence, "RChart1 \""},
        {"HomePage", times(2), "LblHomePage \""},
        {"Notice", times(3), "LblCopyright \""},
        {"Copy Picture", times(3), "RChart1Menu \""},
        {"Logarithmic abundance", times(3), "RChart2Menu/LogarithmicAbundance \""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        TLexifer2000 lex;
        QByteArray file = "[" + QByteArray(c.key) + "]=" + c.translation.toUtf8() + "|$$";
        QBuffer buffer(&file);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        lex.LoadFromStream(buffer);
        TMisfits misfits;
        misfits.SetLanguage(QStringLiteral("test"));
        CheckMainWindow(lex, QStringLiteral("test"), misfits);
        CheckAboutBox(lex, QStringLiteral("test"), misfits);
        CheckChartMenus(lex, misfits);
        EXPECT_NE(misfits.Report().find(QStringLiteral("test: %1").arg(QLatin1String(c.reported)).toStdString()),
                  std::string::npos)
            << misfits.Report();
    }

    // A dialog button narrower than its caption.
    TMessageDialogLayout layout;
    layout.ClientSize = {200, 100};
    layout.Buttons.push_back({dbRetry, QStringLiteral("Retry"), QStringLiteral("&Wiederholen"), mrRetry,
                              QRect(10, 50, 40, 25), true, false});
    TMessageForm form;
    form.Arrange(layout);
    form.show();
    TMisfits misfits;
    misfits.SetLanguage(QStringLiteral("test"));
    CheckControls(form, misfits);
    EXPECT_NE(misfits.Report().find("test: Retry \"&Wiederholen\""), std::string::npos) << misfits.Report();
}
