// The simulation's hot paths: one ComputeIonPaths call (all paths drawn and
// the deflection chart repainted) with a 500-line spectrum, and a whole field
// scan of 500 passes with the shipped substance that has the most lines.
#include "app/MainWindow.h"
#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSlider>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString ShippedLibrary()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data/ms_spec_sample.tra"));
}

void ComputeIonPaths500(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lib.tra"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray rec = "/NAME\r\nMany lines (by courtesy of the benchmark)\r\nx\r\nx\r\nx\r\n";
    for (int i = 0; i < 500; ++i) {
        rec += QByteArray::number(10 + i * 0.5, 'f', 1).rightJustified(7);
        rec += QByteArray::number((i * 37) % 100 + 0.5, 'f', 1).rightJustified(7);
        if (i % 5 == 4)
            rec += "\r\n";
    }
    rec += "/PHYSP\r\n";
    f.write(rec);
    f.close();
    TfrmExample w;
    w.SetLibraryPath(path);
    w.show();
    w.FormActivate();
    int bp = 1000;
    for (auto _ : state) {
        w.ComputeIonPaths(5000, bp);
        bp = bp == 1000 ? 1001 : 1000;
    }
    state.counters["lines"] = w.LineCount();
}

void FieldScan(benchmark::State& state)
{
    TfrmExample w;
    w.SetLibraryPath(ShippedLibrary());
    w.show();
    w.FormActivate();
    // the substance with the most lines
    TSpectrumLibrary lib;
    lib.Open(ShippedLibrary());
    int best = 0, bestLines = 0;
    const QStringList names = lib.SubstanceNames();
    for (int i = 0; i < names.size(); ++i) {
        TMatrix m;
        m.SetNrOfColumns(2);
        lib.LoadSpectrum(names[i], m);
        if (lib.LineCount() > bestLines) {
            bestLines = lib.LineCount();
            best = i;
        }
    }
    w.spectrumbox->setCurrentIndex(best);
    w.spectrumboxChange();
    for (auto _ : state) {
        w.TBMagnetic->setValue(1);
        w.ScStartBtnClick();
    }
    state.counters["lines"] = w.LineCount();
    state.counters["passes_per_second"] = benchmark::Counter(500.0 * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK(ComputeIonPaths500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FieldScan)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
