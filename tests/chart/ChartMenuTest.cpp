#include "chart/ChartExport.h"
#include "chart/ChartMenu.h"
#include "chart/RChart.h"
#include "support/Errors.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A chart with its menu, the dialogs answered by the test.
struct MenuChart {
    TRChart c;
    TChartMenu* menu = nullptr;
    QString answer;       // the file name the dialog gives
    QString answerFilter; // the filter chosen with it
    QString suggested;
    QStringList errors;
    QStringList csvWrites;

    explicit MenuChart(TChartMenuOptions options = {})
    {
        c.setObjectName(QStringLiteral("MenuChart"));
        c.SetControlBounds(0, 0, 310, 200);
        c.SetLayerRange(1, 0, 100, 0, 100);
        c.SetDataColor(clRed);
        c.AddLine(10, 10, 90, 90);
        c.show();
        c.RenderChart();
        menu = InstallChartMenu(c, std::move(options));
        menu->AskFileName = [this](QWidget*, const QString&, const QString& s, const QString&, QString* chosen) {
            suggested = s;
            if (!answerFilter.isEmpty())
                *chosen = answerFilter;
            return answer;
        };
        menu->ReportError = [this](QWidget*, const QString& m) { errors << m; };
    }
    void ContextMenuAt(QPoint p)
    {
        QContextMenuEvent e(QContextMenuEvent::Mouse, p, c.mapToGlobal(p));
        QApplication::sendEvent(&c, &e);
    }
};

QImage Rgb(const QImage& i)
{
    return i.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ChartMenu, ActionsTextsAndKeys)
{
    TChartMenuOptions translated;
    translated.Translate = [](const QString& t) { return QStringLiteral("T:") + t; };
    translated.WriteCsv = [](const QString&) {};
    translated.CsvActionText = QStringLiteral("Export Spectrum as CSV...");
    MenuChart plain, withCsv(translated);
    struct Case {
        QAction* action;
        QString text;
        QKeySequence key;
    };
    const Case cases[] = {
        {plain.menu->CopyAction(), QStringLiteral("Copy Picture"), QKeySequence(Qt::CTRL | Qt::Key_C)},
        {plain.menu->SaveAction(), QStringLiteral("Save Picture As..."), QKeySequence(Qt::CTRL | Qt::Key_S)},
        {plain.menu->PrintAction(), QStringLiteral("Print..."), QKeySequence(Qt::CTRL | Qt::Key_P)},
        {withCsv.menu->CopyAction(), QStringLiteral("T:Copy Picture"), QKeySequence(Qt::CTRL | Qt::Key_C)},
        {withCsv.menu->CsvAction(), QStringLiteral("T:Export Spectrum as CSV..."), QKeySequence()},
    };
    for (const Case& k : cases) {
        ASSERT_NE(k.action, nullptr) << k.text.toStdString();
        EXPECT_EQ(k.action->text(), k.text);
        EXPECT_EQ(k.action->shortcut(), k.key) << k.text.toStdString();
        EXPECT_EQ(k.action->shortcutContext(), Qt::WidgetShortcut);
        EXPECT_TRUE(k.action->associatedObjects().contains(plain.menu->Menu())
                    || k.action->associatedObjects().contains(withCsv.menu->Menu()));
    }
    EXPECT_EQ(plain.menu->CsvAction(), nullptr);
}

TEST(ChartMenu, RightClickOpensTheMenuButNotDuringTheChartsOwnDrags)
{
    MenuChart m;
    m.ContextMenuAt({100, 100});
    EXPECT_TRUE(m.menu->Menu()->isVisible());
    m.menu->Menu()->close();

    // A zoom window being drawn: the right button is the chart's, and ends it.
    m.c.SetMouseAction(maZoomWind);
    QTest::mousePress(&m.c, Qt::LeftButton, {}, {100, 60});
    QTest::mouseMove(&m.c, {150, 100});
    ASSERT_TRUE(m.c.ZoomWindowDragging());
    QTest::mousePress(&m.c, Qt::RightButton, {}, {150, 100});
    m.ContextMenuAt({150, 100});
    EXPECT_FALSE(m.menu->Menu()->isVisible());
    QTest::mouseRelease(&m.c, Qt::RightButton, {}, {150, 100});
    EXPECT_FALSE(m.c.ZoomWindowDragging());
    QTest::mouseRelease(&m.c, Qt::LeftButton, {}, {150, 100});
    // and the ranges were left as they were
    EXPECT_EQ(m.c.Scale1X()->RangeLow(), 0);
    EXPECT_EQ(m.c.Scale1X()->RangeHigh(), 100);
}

TEST(ChartMenu, SaveAsksForANameAndAddsTheChosenKindsExtension)
{
    TChartMenuOptions o;
    o.FileBaseName = QStringLiteral("deflection");
    MenuChart m(o);
    QTemporaryDir dir;
    struct Case {
        QString answer;
        QString filter;
        QString written; // empty: nothing written
        bool error;
    };
    const Case cases[] = {
        {dir.filePath(QStringLiteral("one")), QStringLiteral("SVG drawing (*.svg)"), dir.filePath(QStringLiteral("one.svg")), false},
        {dir.filePath(QStringLiteral("two.pdf")), QStringLiteral("PNG picture (*.png)"), dir.filePath(QStringLiteral("two.pdf")), false},
        {dir.filePath(QStringLiteral("three.png")), QString(), dir.filePath(QStringLiteral("three.png")), false},
        {QString(), QString(), QString(), false}, // cancelled
        {dir.filePath(QStringLiteral("four.gif")), QString(), QString(), true},
    };
    for (const Case& k : cases) {
        m.answer = k.answer;
        m.answerFilter = k.filter;
        m.errors.clear();
        m.menu->SaveAction()->trigger();
        if (!k.written.isEmpty()) {
            EXPECT_TRUE(QFileInfo(k.written).size() > 0) << k.written.toStdString();
        }
        EXPECT_EQ(!m.errors.isEmpty(), k.error) << k.answer.toStdString();
    }
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("three.png"))).size() > 0, true);
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("three.png"))).size(), QSize(310, 200));
    // the next dialog starts in the folder used last, with the chart's own name
    m.answer.clear();
    m.menu->Save();
    EXPECT_EQ(m.suggested, dir.filePath(QStringLiteral("deflection.png")));
}

TEST(ChartMenu, PrintAndCsvGoThroughTheirDialogsAndReportFailures)
{
    QStringList written;
    bool failWrite = false;
    TChartMenuOptions o;
    o.WriteCsv = [&](const QString& path) {
        if (failWrite)
            throw Exception(QStringLiteral("disk full"));
        written << path;
    };
    MenuChart m(o);
    QTemporaryDir dir;

    const QString pdf = dir.filePath(QStringLiteral("print.pdf"));
    bool accept = false;
    m.menu->AskPrinter = [&](QPrinter& p, QWidget*) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return accept;
    };
    m.menu->PrintAction()->trigger();
    EXPECT_FALSE(QFileInfo::exists(pdf)); // the dialog was cancelled
    accept = true;
    m.menu->PrintAction()->trigger();
    EXPECT_GT(QFileInfo(pdf).size(), 0);

    m.answer = dir.filePath(QStringLiteral("spectrum"));
    m.menu->CsvAction()->trigger();
    EXPECT_EQ(written, QStringList{dir.filePath(QStringLiteral("spectrum.csv"))});
    failWrite = true;
    m.menu->CsvAction()->trigger();
    EXPECT_EQ(m.errors, QStringList{QStringLiteral("disk full")});
}

TEST(ChartMenu, CtrlCCopiesTheFocusedChartOfTwoInOneWindow)
{
    // Two charts in one window, as in the program: each answers only while
    // it has the focus, so the keys are never ambiguous.
    QWidget window;
    window.resize(400, 500);
    TRChart a(&window), b(&window);
    a.SetControlBounds(0, 0, 300, 200);
    b.SetControlBounds(0, 250, 300, 200);
    b.SetChartColor(clYellow);
    InstallChartMenu(a);
    InstallChartMenu(b);
    window.show();
    QApplication::setActiveWindow(&window);
    for (TRChart* focused : {&b, &a}) {
        focused->setFocus();
        ASSERT_TRUE(focused->hasFocus());
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(focused, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(Rgb(QGuiApplication::clipboard()->image()), Rgb(focused->RenderPicture()));
    }
}

TEST(ChartMenu, ACheckableEntryShowsItsStateAndGoesBackWhenTheSwitchFails)
{
    TChartMenuOptions o;
    o.Translate = [](const QString& t) { return QStringLiteral("T:") + t; };
    MenuChart m(o);
    QList<bool> switched;
    bool fail = false;
    QAction* entry = m.menu->AddCheckable(QStringLiteral("Logarithmic"), true, [&](bool on) {
        if (fail)
            throw Exception(QStringLiteral("cannot"));
        switched << on;
    });
    EXPECT_EQ(entry->text(), QStringLiteral("T:Logarithmic"));
    EXPECT_TRUE(entry->isChecked());
    const QList<QAction*> shown = m.menu->Menu()->actions();
    ASSERT_GE(shown.size(), 2);
    EXPECT_EQ(shown.last(), entry);
    EXPECT_TRUE(shown[shown.size() - 2]->isSeparator());

    const struct {
        bool fail;
        bool checked;          // after choosing the entry
        QList<bool> switched;  // the states handed over so far
        QStringList errors;
    } steps[] = {
        {false, false, {false}, {}},
        {false, true, {false, true}, {}},
        {true, true, {false, true}, {QStringLiteral("cannot")}},
        {false, false, {false, true, false}, {QStringLiteral("cannot")}},
    };
    for (const auto& s : steps) {
        fail = s.fail;
        entry->trigger();
        EXPECT_EQ(entry->isChecked(), s.checked);
        EXPECT_EQ(switched, s.switched);
        EXPECT_EQ(m.errors, s.errors);
    }
}
