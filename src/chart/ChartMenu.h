#pragma once
// The chart's context menu: copy the picture, save it as PNG, SVG or PDF,
// print it, and, where the chart's owner offers it, export the chart's data
// as CSV. It opens on a right click and on the menu key; its actions answer
// Ctrl+C, Ctrl+S and Ctrl+P (and the platform's own keys for them) while the
// chart has the focus.
//
// The menu is an addition: the chart's own mouse handling stays as it is. A
// right click while the left button is held (a pan, a drag, a zoom window
// being drawn) belongs to the chart, which ends a zoom window with it, so no
// menu opens then.

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPrinter;
class QWidget;
class TRChart;

struct TChartMenuOptions {
    // The name the save dialog offers, without folder and extension.
    QString FileBaseName = QStringLiteral("chart");
    // Every text of the menu and its dialogs is given in English and passed
    // through this first, when set (the owner's translation table).
    std::function<QString(const QString& text)> Translate;
    // When WriteCsv is set the menu offers a data export under CsvActionText;
    // WriteCsv writes the file and throws Exception when it cannot.
    std::function<void(const QString& path)> WriteCsv;
    QString CsvActionText = QStringLiteral("Export Data as CSV...");
    QString CsvBaseName = QStringLiteral("data");
};

class TChartMenu : public QObject {
    Q_OBJECT
public:
    // Installs itself on the chart and lives as long as it (a child of it).
    TChartMenu(TRChart& chart, TChartMenuOptions options);

    QMenu* Menu() const { return menu_; }
    QAction* CopyAction() const { return copy_; }
    QAction* SaveAction() const { return save_; }
    QAction* PrintAction() const { return print_; }
    QAction* CsvAction() const { return csv_; } // none without WriteCsv

    // Adds an entry that shows a state with a check mark, below the others
    // (a separator before the first such entry), its text given in English
    // like the others. Choosing it flips the state and hands switched the
    // new one; when switched throws, the failure is reported and the entry
    // shows the state it had. Reached by the keyboard in the open menu; no
    // shortcut of its own.
    QAction* AddCheckable(const QString& english, bool checked, std::function<void(bool on)> switched);

    // What the actions do, with their dialogs. Failures are reported through
    // ReportError; a cancelled dialog does nothing.
    void Copy();
    void Save();
    void Print();
    void ExportCsv();

    // The dialogs, replaceable for tests. AskFileName answers the chosen
    // path (empty: cancelled) and the filter chosen with it.
    std::function<QString(QWidget* parent, const QString& title, const QString& suggested,
                          const QString& filters, QString* chosenFilter)>
        AskFileName;
    std::function<bool(QPrinter& printer, QWidget* parent)> AskPrinter;
    std::function<void(QWidget* parent, const QString& message)> ReportError;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Text(const QString& english) const;
    QString AskPath(const QString& title, const QString& baseName, const QString& filters);
    template <typename Action>
    void Reporting(Action action);

    TRChart& chart_;
    TChartMenuOptions options_;
    QMenu* menu_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* save_ = nullptr;
    QAction* print_ = nullptr;
    QAction* csv_ = nullptr;
    bool hasCheckables_ = false;
};

// The menu for a chart; the chart owns it.
TChartMenu* InstallChartMenu(TRChart& chart, TChartMenuOptions options = {});
