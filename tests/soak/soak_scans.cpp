// Soak: field scans one after the other with the shipped substance that has
// the most lines, on the offscreen platform, as a user who leaves a scan
// running over and over would have them.
//
// Passes when every scan records the same spectrum (the same sticks in the
// same order) and the resident memory after the last scan is within 5 % of
// that after the tenth. Prints the figures either way.
//
//   soak_scans [--scans N] [--library FILE]
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/SpectrumLibrary.h"
#include "chart/RChart.h"
#include "support/Matrix.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Resident memory in kB, from the kernel's account of this process.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

struct TStick {
    double X1, Y1, X2, Y2;
    TColor Color;
    bool operator==(const TStick&) const = default;
};

std::vector<TStick> Spectrum(const TRChart& chart)
{
    std::vector<TStick> sticks;
    for (int i = 0; i < chart.ItemCount(); ++i) {
        const TChartItem& it = chart.Item(i);
        sticks.push_back({it.X1, it.Y1, it.X2, it.Y2, it.Color});
    }
    return sticks;
}

// The index in the list of the substance with the most lines.
int RichestSubstance(const QString& path, int& lines)
{
    TSpectrumLibrary library;
    if (!library.Open(path))
        return -1;
    const QStringList names = library.SubstanceNames();
    int best = -1;
    lines = 0;
    for (int i = 0; i < names.size(); ++i) {
        TMatrix m;
        m.SetNrOfColumns(2);
        const TSpectrumLoad load = library.LoadSpectrum(names[i], m);
        if (load.LineCount > lines) {
            lines = load.LineCount;
            best = i;
        }
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int scans = 1000;
    QString library = QStringLiteral(IONPATH_SHIPPED_LIBRARY);
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--scans") && i + 1 < argc)
            scans = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--library") && i + 1 < argc)
            library = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: soak_scans [--scans N] [--library FILE]\n");
            return 2;
        }
    }
    if (scans < 10) {
        std::fprintf(stderr, "soak_scans: at least 10 scans\n");
        return 2;
    }
    TApplication app(argc, argv);

    int lines = 0;
    const int substance = RichestSubstance(library, lines);
    if (substance < 0) {
        std::fprintf(stderr, "soak_scans: no substance in %s\n", qPrintable(library));
        return 2;
    }
    TfrmExample w(nullptr, TWindowTexts::Keys);
    w.SetLibraryPath(library);
    w.show();
    w.FormActivate();
    w.spectrumbox->setCurrentIndex(substance);
    w.spectrumboxChange();
    std::printf("substance \"%s\", %d lines, %d scans\n", qPrintable(w.spectrumbox->currentText()), w.LineCount(),
                scans);

    std::vector<TStick> first;
    int differing = 0;
    long rssAfter10 = 0;
    QElapsedTimer clock;
    clock.start();
    for (int scan = 1; scan <= scans; ++scan) {
        w.ScStartBtnClick();
        const std::vector<TStick> spectrum = Spectrum(*w.RChart2);
        if (scan == 1)
            first = spectrum;
        else if (spectrum != first)
            ++differing;
        if (scan == 10)
            rssAfter10 = ResidentKb();
        if (scan % 100 == 0 || scan == 10)
            std::printf("scan %4d: %zu sticks, resident %ld kB, %.2f s per scan\n", scan, spectrum.size(),
                        ResidentKb(), clock.elapsed() / 1000.0 / scan);
        std::fflush(stdout);
    }
    const long rssAtEnd = ResidentKb();
    const double growth = 100.0 * (double(rssAtEnd) - double(rssAfter10)) / double(rssAfter10);
    const bool memoryOk = rssAtEnd <= rssAfter10 * 1.05;
    const bool sameOk = differing == 0 && !first.empty();
    std::printf("resident memory after 10 scans %ld kB, after %d scans %ld kB (%+.1f %%, limit +5 %%): %s\n",
                rssAfter10, scans, rssAtEnd, growth, memoryOk ? "ok" : "TOO MUCH");
    std::printf("spectrum of %zu sticks, %d of %d scans different from the first: %s\n", first.size(), differing,
                scans, sameOk ? "ok" : "FAILED");
    return memoryOk && sameOk ? 0 : 1;
}
