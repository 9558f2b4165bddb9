#include "app/SpectrometerChartMenus.h"

#include "app/SpectrometerCharts.h"
#include "chart/ChartMenu.h"

#include <QAction>

TChartMenu* InstallDeflectionChartMenu(TRChart& deflection, TMenuTranslation translate)
{
    TChartMenuOptions options;
    options.FileBaseName = QStringLiteral("deflection");
    options.Translate = std::move(translate);
    return InstallChartMenu(deflection, std::move(options));
}

TChartMenu* InstallSpectrumChartMenu(TRChart& spectrum, std::function<TSpectrumCsvHeader()> header,
                                     TMenuTranslation translate)
{
    TChartMenuOptions options;
    options.FileBaseName = QStringLiteral("spectrum");
    options.Translate = std::move(translate);
    options.CsvActionText = QStringLiteral("Export Spectrum as CSV...");
    options.CsvBaseName = QStringLiteral("spectrum");
    // What the chart holds when the user asks, so that a cleared spectrum
    // exports as empty and a spectrum recorded by hand exports as well.
    options.WriteCsv = [&spectrum, header = std::move(header)](const QString& path) {
        WriteSpectrumCsv(path, header(), RecordedSticks(spectrum));
    };
    TChartMenu* menu = InstallChartMenu(spectrum, std::move(options));
    QAction* log = menu->AddCheckable(QStringLiteral("Logarithmic abundance"), LogarithmicAbundance(spectrum),
                                      [&spectrum](bool on) { SetLogarithmicAbundance(spectrum, on); });
    log->setObjectName(QStringLiteral("LogarithmicAbundance"));
    return menu;
}
