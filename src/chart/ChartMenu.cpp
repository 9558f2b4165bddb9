#include "chart/ChartMenu.h"

#include "chart/ChartExport.h"
#include "chart/RChart.h"
#include "support/Errors.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStringList>

namespace {

// The folder the last file went to, for all charts: the user saves a
// worksheet's pictures side by side.
QString& LastFolder()
{
    static QString folder;
    return folder;
}

QString StartFolder()
{
    if (!LastFolder().isEmpty())
        return LastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// The extension of the first pattern of a filter such as "PNG picture (*.png)".
QString ExtensionOfFilter(const QString& filter)
{
    const int star = filter.indexOf(QLatin1String("*."));
    if (star < 0)
        return {};
    int end = star + 2;
    while (end < filter.size() && filter.at(end).isLetterOrNumber())
        ++end;
    return filter.mid(star + 2, end - star - 2);
}

} // namespace

TChartMenu::TChartMenu(TRChart& chart, TChartMenuOptions options)
    : QObject(&chart), chart_(chart), options_(std::move(options))
{
    setObjectName(QStringLiteral("ChartMenu"));
    menu_ = new QMenu(&chart);
    menu_->setObjectName(chart.objectName() + QStringLiteral("Menu"));
    auto add = [&](const QString& text, QKeySequence::StandardKey key, void (TChartMenu::*slot)()) {
        auto* a = new QAction(Text(text), &chart);
        if (key != QKeySequence::UnknownKey)
            a->setShortcuts(key);
        // Each chart answers only while it has the focus, so two charts in
        // one window do not compete for the same keys.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        chart.addAction(a);
        menu_->addAction(a);
        return a;
    };
    copy_ = add(QStringLiteral("Copy Picture"), QKeySequence::Copy, &TChartMenu::Copy);
    save_ = add(QStringLiteral("Save Picture As..."), QKeySequence::Save, &TChartMenu::Save);
    print_ = add(QStringLiteral("Print..."), QKeySequence::Print, &TChartMenu::Print);
    if (options_.WriteCsv) {
        menu_->addSeparator();
        csv_ = add(options_.CsvActionText, QKeySequence::UnknownKey, &TChartMenu::ExportCsv);
    }

    AskFileName = [](QWidget* parent, const QString& title, const QString& suggested, const QString& filters,
                     QString* chosenFilter) {
        return QFileDialog::getSaveFileName(parent, title, suggested, filters, chosenFilter);
    };
    AskPrinter = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    ReportError = [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, parent ? parent->window()->windowTitle() : QString(), message);
    };
    chart.installEventFilter(this);
}

QString TChartMenu::Text(const QString& english) const
{
    return options_.Translate ? options_.Translate(english) : english;
}

bool TChartMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &chart_ || event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    auto* e = static_cast<QContextMenuEvent*>(event);
    // The chart's own drags own the mouse; the right button ends a zoom
    // window there, and a menu would take the release away from it.
    if (chart_.ZoomWindowDragging() || (QGuiApplication::mouseButtons() & Qt::LeftButton))
        return true;
    const QPoint at = e->reason() == QContextMenuEvent::Mouse ? e->globalPos()
                                                                : chart_.mapToGlobal(chart_.rect().center());
    menu_->popup(at);
    return true;
}

template <typename Action>
void TChartMenu::Reporting(Action action)
{
    // The actions run from Qt's own code (menus, shortcuts): nothing may be
    // thrown back into it.
    try {
        action();
    } catch (const Exception& e) {
        if (ReportError)
            ReportError(&chart_, e.Message());
    } catch (const std::exception& e) {
        if (ReportError)
            ReportError(&chart_, QString::fromLocal8Bit(e.what()));
    }
}

QAction* TChartMenu::AddCheckable(const QString& english, bool checked, std::function<void(bool on)> switched)
{
    if (!hasCheckables_) {
        menu_->addSeparator();
        hasCheckables_ = true;
    }
    auto* a = new QAction(Text(english), &chart_);
    a->setCheckable(true);
    a->setChecked(checked);
    connect(a, &QAction::toggled, this, [this, a, switched = std::move(switched)](bool on) {
        bool done = false;
        Reporting([&] {
            if (switched)
                switched(on);
            done = true;
        });
        if (!done) {
            const QSignalBlocker quiet(a);
            a->setChecked(!on);
        }
    });
    menu_->addAction(a);
    return a;
}

QString TChartMenu::AskPath(const QString& title, const QString& baseName, const QString& filters)
{
    const QStringList filterList = filters.split(QStringLiteral(";;"));
    QString chosen = filterList.value(0);
    const QString suggested = QDir(StartFolder()).filePath(baseName + QLatin1Char('.') + ExtensionOfFilter(chosen));
    QString path = AskFileName ? AskFileName(&chart_, title, suggested, filters, &chosen) : QString();
    if (path.isEmpty())
        return {};
    // A name typed without an extension gets the one of the chosen kind.
    if (QFileInfo(path).suffix().isEmpty()) {
        const QString ext = ExtensionOfFilter(chosen.isEmpty() ? filterList.value(0) : chosen);
        if (!ext.isEmpty())
            path += QLatin1Char('.') + ext;
    }
    LastFolder() = QFileInfo(path).absolutePath();
    return path;
}

void TChartMenu::Copy()
{
    Reporting([this] { CopyChartPicture(chart_); });
}

void TChartMenu::Save()
{
    Reporting([this] {
        const QString filters = Text(QStringLiteral("PNG picture")) + QStringLiteral(" (*.png);;")
                                + Text(QStringLiteral("SVG drawing")) + QStringLiteral(" (*.svg);;")
                                + Text(QStringLiteral("PDF document")) + QStringLiteral(" (*.pdf)");
        const QString path = AskPath(Text(QStringLiteral("Save Picture")), options_.FileBaseName, filters);
        if (!path.isEmpty())
            SaveChartPicture(chart_, path);
    });
}

void TChartMenu::Print()
{
    Reporting([this] {
        QPrinter printer(QPrinter::HighResolution);
        if (AskPrinter && AskPrinter(printer, &chart_))
            PrintChart(chart_, printer);
    });
}

void TChartMenu::ExportCsv()
{
    if (!options_.WriteCsv)
        return;
    Reporting([this] {
        const QString filters = Text(QStringLiteral("CSV file")) + QStringLiteral(" (*.csv)");
        const QString path = AskPath(Text(options_.CsvActionText).remove(QStringLiteral("...")),
                                     options_.CsvBaseName, filters);
        if (!path.isEmpty())
            options_.WriteCsv(path);
    });
}

TChartMenu* InstallChartMenu(TRChart& chart, TChartMenuOptions options)
{
    return new TChartMenu(chart, std::move(options));
}
