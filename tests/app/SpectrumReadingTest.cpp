// Reading the recorded spectrum: the mass and abundance of the stick under
// the mouse, and the logarithmic abundance axis that makes the small sticks
// beside a strong line tall enough to see.
#include "app/MainWindow.h"
#include "app/SpectrometerChartMenus.h"
#include "app/SpectrometerCharts.h"
#include "app/StickHitTest.h"
#include "app/StickTips.h"
#include "chart/ChartMenu.h"
#include "chart/RChart.h"
#include "i18n/Lexifer2000.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QString Shipped(const char* name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/") + QLatin1String(name));
}

void Load(TLexifer2000& lex, const char* file)
{
    QFile f(Shipped(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file;
    lex.LoadFromStream(f);
}

// Qt lets a tip fade out rather than taking it away at once.
bool TipGoes()
{
    for (int waited = 0; QToolTip::isVisible() && waited < 2000; waited += 20)
        QTest::qWait(20);
    return !QToolTip::isVisible();
}

QString Described(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Description) : QStringLiteral("(no interface)");
}

// The main window after a whole scan of carbon monoxide: sticks at 12, 14,
// 16 and 29 of 1 to 4 % beside the one of 28.
struct CarbonMonoxide {
    TfrmExample w;
    CarbonMonoxide()
    {
        w.SetLibraryPath(Shipped("ms_spec_sample.tra"));
        w.show();
        w.FormActivate();
        const int index = w.spectrumbox->findText(QStringLiteral("Carbon monoxide"));
        EXPECT_GE(index, 0);
        w.spectrumbox->setCurrentIndex(index);
        w.spectrumboxChange();
        w.ScStartBtnClick();
    }
    TRChart& Chart() const { return *w.RChart2; }
    int Column(double mass) const
    {
        int x, y;
        Chart().WorldToPixel(1, mass, 0, x, y);
        return x;
    }
    // The row of the axis the sticks stand on, in the chart control.
    int AxisRow() const { return Chart().MarginTop() + Chart().DataHeight(); }
    bool Dark(int x, int y) const { return (Chart().Presented().pixel(x, y) & 0xFFFFFF) == 0; }
    // The highest row of the stick in column x above the axis, as shown; the
    // axis row itself when nothing stands there.
    int ShownTop(int x) const
    {
        int y = AxisRow();
        while (y - 1 > Chart().MarginTop() && Dark(x, y - 1))
            --y;
        return y;
    }
    QAction* LogEntry() const { return Chart().findChild<QAction*>(QStringLiteral("LogarithmicAbundance")); }
};

} // namespace

TEST(StickHitTest, TheNearestStickWithinReachOfThePointer)
{
    // Sticks on the axis at row 100: a one-pixel 29 beside 28, 6 columns
    // apart; a lone small one at 200; the same 29 recorded again.
    const TStickSpot s28{{28, 100}, 50, 100, 10}, s29{{29, 1.15}, 56, 100, 99}, s12{{12, 3.46}, 200, 100, 97};
    const std::vector<TStickSpot> spots = {s28, s29, s12, {{29, 1.15}, 56, 100, 99}};
    const struct {
        int x, y;
        double mass; // 0: none
    } cases[] = {
        {56, 99, 29}, {56, 100, 29}, {56, 101, 0}, // the one-pixel stick's top, the axis, below it
        {56, 95, 29}, {56, 94, 0},                 // four and five rows above its top
        {59, 97, 29}, {60, 97, 0},                 // three and four columns beside it
        {53, 99, 28}, {54, 99, 29}, {52, 99, 28},  // 3 from either: the first listed; nearer
        {53, 50, 28},                              // beside both, far above 29's top
        {47, 6, 28}, {46, 6, 0},                   // the corner of 28's reach
        {200, 93, 12}, {203, 97, 12}, {204, 97, 0}, {197, 100, 12},
        {120, 99, 0}, // between the sticks
    };
    for (const auto& c : cases) {
        const auto hit = StickAt(spots, c.x, c.y);
        EXPECT_EQ(hit ? hit->Stick.Mass : 0, c.mass) << c.x << "," << c.y;
    }
    EXPECT_FALSE(StickAt({}, 56, 99));
}

// The small sticks are found, named and read out in the real window.
TEST(StickTips, HoveringASmallStickOfCarbonMonoxideTellsItsMassAndAbundance)
{
    CarbonMonoxide co;
    TRChart& chart = co.Chart();
    const QString ownDescription = Described(&chart);
    ASSERT_FALSE(ownDescription.isEmpty());
    EXPECT_TRUE(chart.toolTip().isEmpty());

    const int x29 = co.Column(29);
    const int top29 = co.ShownTop(x29);
    // One of the sticks too small to aim at: at most two rows over the axis.
    ASSERT_LT(top29, co.AxisRow());
    ASSERT_GE(top29, co.AxisRow() - 2);
    const int x16 = co.Column(16), x28 = co.Column(28);
    ASSERT_GT(x28 - x16, 2 * (kStickReachSideways + 1));

    const struct {
        QPoint at;
        QString said; // empty: nothing
    } moves[] = {
        {{x29 + 2, top29 - 3}, QStringLiteral("Mass 29, abundance 1.15 %")},
        {{x29, top29}, QStringLiteral("Mass 29, abundance 1.15 %")},
        {{x16 - 1, co.ShownTop(x16)}, QStringLiteral("Mass 16, abundance 1.97 %")},
        {{(x16 + x28) / 2, co.AxisRow() - 1}, {}}, // between the sticks
        {{x28 + 1, chart.MarginTop() + 20}, QStringLiteral("Mass 28, abundance 100 %")},
        {{x29, top29 - 20}, {}}, // high above 29
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(testing::Message() << m.at.x() << "," << m.at.y());
        QTest::mouseMove(&chart, m.at);
        EXPECT_EQ(chart.toolTip(), m.said);
        EXPECT_EQ(Described(&chart), m.said.isEmpty() ? ownDescription : m.said);
        if (m.said.isEmpty()) {
            EXPECT_TRUE(TipGoes());
        } else {
            EXPECT_TRUE(QToolTip::isVisible());
            EXPECT_EQ(QToolTip::text(), m.said);
        }
    }

    // The tip is in the window's language of the moment.
    Load(co.w.Lexifer(), "ionpath.de.itl");
    QTest::mouseMove(&chart, {x29 + 1, top29 - 1});
    EXPECT_EQ(chart.toolTip(), QStringLiteral("Masse 29, H\u00e4ufigkeit 1.15 %"));
    EXPECT_EQ(Described(&chart), chart.toolTip());
    // Leaving the chart from a stick ends the tip.
    QTest::mouseMove(co.w.ClearBtn, co.w.ClearBtn->rect().center());
    EXPECT_TRUE(chart.toolTip().isEmpty());
    EXPECT_EQ(Described(&chart), ownDescription);
    EXPECT_TRUE(TipGoes());
}

TEST(LogarithmicAbundance, TheMenuEntrySwitchesTheAxisAndBackToTheVeryLinearPicture)
{
    CarbonMonoxide co;
    TRChart& chart = co.Chart();
    QAction* entry = co.LogEntry();
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(chart.Scale1Y()->Logarithmic());
    // The deflection chart has no abundance to show.
    for (const QAction* a : co.w.RChart1->findChildren<QAction*>())
        EXPECT_FALSE(a->isCheckable()) << a->text().toStdString();
    const QImage linear = chart.Presented().copy();
    const int x29 = co.Column(29);
    const int linearTop29 = co.ShownTop(x29);

    // From the keyboard: the menu key opens the menu, the entry is the last.
    chart.setFocus();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, chart.rect().center(), chart.mapToGlobal(chart.rect().center()));
    QApplication::sendEvent(&chart, &key);
    QMenu* menu = chart.findChild<TChartMenu*>()->Menu();
    ASSERT_TRUE(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Up);
    EXPECT_EQ(menu->activeAction(), entry);
    QTest::keyClick(menu, Qt::Key_Return);

    EXPECT_TRUE(entry->isChecked());
    EXPECT_TRUE(chart.Scale1Y()->Logarithmic());
    EXPECT_EQ(chart.Scale1Y()->RangeLow(), 0.1);
    EXPECT_EQ(chart.Scale1Y()->RangeHigh(), 100);
    EXPECT_NE(chart.Presented(), linear);
    // Each small stick stands on the axis and reaches log(a / 0.1) / log(1000)
    // of the height, 35 % for 29's 1.15 %, 51 % for 12's 3.46 %.
    for (const auto& [mass, abundance] : {std::pair{29.0, 1.15}, {12.0, 3.46}, {14.0, 1.7}}) {
        SCOPED_TRACE(mass);
        const int x = co.Column(mass);
        EXPECT_TRUE(co.Dark(x, co.AxisRow() - 1));
        const int rows = int(std::lround(chart.DataHeight() * std::log10(abundance / 0.1) / 3));
        EXPECT_NEAR(co.ShownTop(x), co.AxisRow() - rows, 1);
    }
    // A picture for people to look at, when asked for.
    if (const QString dir = qEnvironmentVariable("IONPATH_PICTURES"); !dir.isEmpty())
        chart.Presented().save(dir + QStringLiteral("/spectrum-log.png"));
    // The tip follows the sticks: halfway up the tall 29 is on it now.
    const int top29 = co.ShownTop(x29);
    ASSERT_LT(top29, linearTop29 - 20);
    QTest::mouseMove(&chart, {x29 + 1, (top29 + co.AxisRow()) / 2});
    EXPECT_EQ(chart.toolTip(), QStringLiteral("Mass 29, abundance 1.15 %"));

    entry->trigger();
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(chart.Scale1Y()->Logarithmic());
    EXPECT_EQ(chart.Scale1Y()->RangeLow(), 0);
    EXPECT_EQ(chart.Scale1Y()->RangeHigh(), 100);
    EXPECT_EQ(chart.Presented(), linear);
}

// The entry and the tip in each language we ship, and without a table.
TEST(SpectrumReading, TextsInTheWindowsLanguage)
{
    const struct {
        const char* file; // none: no table
        const char *entry, *tip, *chargedTip; // the last for a stick of ions of charge 2
    } cases[] = {
        {nullptr, "Logarithmic abundance", "Mass 12, abundance 3.46 %", "m/z 12 (z = 2), abundance 3.46 %"},
        {"ionpath.itl", "Logarithmic abundance", "Mass 12, abundance 3.46 %", "m/z 12 (z = 2), abundance 3.46 %"},
        {"ionpath.de.itl", "Logarithmische H\u00e4ufigkeit", "Masse 12, H\u00e4ufigkeit 3.46 %",
         "m/z 12 (z = 2), H\u00e4ufigkeit 3.46 %"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "no table");
        TLexifer2000 lex;
        if (c.file)
            Load(lex, c.file);
        TRChart spectrum;
        SetUpSpectrumChart(spectrum);
        InstallSpectrumChartMenu(spectrum, [] { return TSpectrumCsvHeader{}; },
                                 [&](const QString& text) { return lex.Translate(text); });
        const QAction* entry = spectrum.findChild<QAction*>(QStringLiteral("LogarithmicAbundance"));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->text(), QString::fromUtf8(c.entry));
        EXPECT_EQ(StickTipText(lex, {12, 3.46}), QString::fromUtf8(c.tip));
        EXPECT_EQ(StickTipText(lex, {12, 3.46}, 2), QString::fromUtf8(c.chargedTip));
    }
}
