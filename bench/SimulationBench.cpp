// The simulation's hot paths: one ComputeIonPaths (every ion path drawn, the
// deflection chart repainted, the stick and the read-out updated) for a
// substance of 10, 100 and 500 lines, and a whole field scan of 500 passes
// with the shipped substance that has the most lines. The scan runs under
// whatever platform QT_QPA_PLATFORM names (offscreen unless set; bench/run
// runs it again under Xvfb with xcb); the benchmark name carries it.
#include "app/MainWindow.h"
#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
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

// One record of `lines` lines, masses 10 .. 260, abundances 0.5 .. 99.5, so
// that the paths are circles of many radii.
QByteArray OneRecordLibrary(int lines)
{
    QByteArray rec = "/NAME\r\nMany lines (by courtesy of the benchmark)\r\nx\r\nx\r\nx\r\n";
    for (int i = 0; i < lines; ++i) {
        rec += QByteArray::number(10 + i * 250.0 / lines, 'f', 1).rightJustified(7);
        rec += QByteArray::number((i * 37) % 100 + 0.5, 'f', 1).rightJustified(7);
        if (i % 5 == 4)
            rec += "\r\n";
    }
    rec += "\r\n/PHYSP\r\n";
    return rec;
}

void ComputeIonPaths(benchmark::State& state)
{
    const int lines = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lib.tra"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(OneRecordLibrary(lines)) < 0) {
        state.SkipWithError("cannot write the library");
        return;
    }
    f.close();
    TfrmExample w;
    w.SetLibraryPath(path);
    w.show();
    w.FormActivate();
    if (w.LineCount() != lines) {
        state.SkipWithError("the substance did not load");
        return;
    }
    // Two field positions in turn, so that every call draws a new picture.
    int bp = 1000;
    for (auto _ : state) {
        w.ComputeIonPaths(5000, bp);
        bp = bp == 1000 ? 1001 : 1000;
    }
    state.counters["lines"] = w.LineCount();
}
BENCHMARK(ComputeIonPaths)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(3)->ReportAggregatesOnly(true);

// Chooses the shipped substance with the most lines in the window.
void ChooseMostLines(TfrmExample& w)
{
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
}

// A slit of the usual size and a beam with some spread, at 3000 V, where
// every shipped line reaches the detector.
TInstrumentSettings TypicalInstrument(TDetectorKind kind)
{
    TInstrumentSettings s;
    s.Detector = kind;
    s.SourceSlit = 0.5;
    s.DetectorSlit = 0.5;
    s.EnergySpread = 10;
    s.AngularSpread = 1;
    return s;
}

// The window with the shipped substance that has the most lines, and with a
// slit or a plate that instrument at 3000 V.
void SetUpWindow(TfrmExample& w, TDetectorKind kind)
{
    w.SetLibraryPath(ShippedLibrary());
    w.show();
    w.FormActivate();
    ChooseMostLines(w);
    if (kind != TDetectorKind::Classic) {
        w.Energy->setValue(3000);
        w.SetDetector(TypicalInstrument(kind));
    }
}

// The window's picture with real beams: every line's rays in the deflection
// view and, with the plate, the blackening against m/z; two field positions
// in turn, so that every call draws anew.
void InstrumentPicture(benchmark::State& state, TDetectorKind kind)
{
    TfrmExample w;
    SetUpWindow(w, kind);
    int bp = 3000;
    for (auto _ : state) {
        w.ComputeIonPaths(3000, bp);
        bp = bp == 3000 ? 3001 : 3000;
    }
    state.counters["lines"] = w.LineCount();
}
BENCHMARK_CAPTURE(InstrumentPicture, slit, TDetectorKind::Slit)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(InstrumentPicture, plate, TDetectorKind::Plate)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(3)->ReportAggregatesOnly(true);

// The window's whole scan: 500 passes with the classic detector, 5000 (one
// field position each) with a slit.
void FieldScan(benchmark::State& state, TDetectorKind kind)
{
    TfrmExample w;
    SetUpWindow(w, kind);
    int passes = 0;
    w.OnScanPass = [&passes](int) { ++passes; };
    QElapsedTimer wall; // the X server works in its own process: wall time counts
    wall.start();
    for (auto _ : state) {
        w.TBMagnetic->setValue(1);
        w.ScStartBtnClick();
    }
    const double ms = wall.nsecsElapsed() / 1e6;
    state.counters["lines"] = w.LineCount();
    state.counters["passes"] = double(passes) / double(state.iterations());
    // A pass is one slider step: the field change and the scan's own
    // computation, each with its paints, and the pending messages.
    state.counters["ms_per_pass"] = passes > 0 ? ms / passes : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string scan = "FieldScan/" + QGuiApplication::platformName().toStdString();
    benchmark::RegisterBenchmark(scan.c_str(), FieldScan, TDetectorKind::Classic)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    const std::string slitScan = "WindowSlitScan/" + QGuiApplication::platformName().toStdString();
    benchmark::RegisterBenchmark(slitScan.c_str(), FieldScan, TDetectorKind::Slit)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
