#include "app/SpectrumChartMenu.h"

#include "app/SpectrometerCharts.h"
#include "chart/ChartMenu.h"

TChartMenu* InstallSpectrumChartMenu(TRChart& spectrum, std::function<TSpectrumCsvHeader()> header,
                                     std::function<QString(const QString&)> translate)
{
    TChartMenuOptions options;
    options.FileBaseName = QStringLiteral("spectrum");
    options.Translate = std::move(translate);
    options.CsvActionText = QStringLiteral("Export Spectrum as CSV...");
    options.CsvBaseName = QStringLiteral("spectrum");
    options.WriteCsv = [&spectrum, header = std::move(header)](const QString& path) {
        WriteSpectrumCsv(path, header(), RecordedSticks(spectrum));
    };
    return InstallChartMenu(spectrum, std::move(options));
}
