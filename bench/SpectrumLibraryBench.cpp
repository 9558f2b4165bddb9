// Loading a substance from a large spectrum library. The loader compares every
// line of the file from its start, so the last record is the slowest to load:
// the figure is the time per megabyte of library scanned.
#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

#include <benchmark/benchmark.h>

namespace {

// 20,000 records of 24 lines (12 pairs) each, with CR LF line ends and a
// credit on every name line, like the library we ship.
QByteArray GeneratedLibrary(int records)
{
    QByteArray text;
    text.reserve(qsizetype(records) * 400);
    for (int r = 1; r <= records; ++r) {
        text += "/NAME\r\n";
        text += "Substance " + QByteArray::number(r) + " (by courtesy of the benchmark, record " + QByteArray::number(r) + ")\r\n";
        text += "Formula C" + QByteArray::number(r % 40 + 1) + "H" + QByteArray::number(r % 80 + 2) + "\r\n";
        text += "Source: generated\r\n";
        text += "Peaks: 12\r\n";
        for (int line = 0; line < 4; ++line) {
            for (int k = 0; k < 3; ++k) {
                const int mass = 12 + line * 30 + k * 7 + r % 5;
                text += QByteArray::number(double(mass), 'f', 1).rightJustified(7);
                text += QByteArray::number(double((mass * 37 + r) % 1000) / 10.0, 'f', 2).rightJustified(7);
            }
            text += "\r\n";
        }
        text += "/PHYSP\r\n\r\n";
    }
    return text;
}

void BM_LoadLastSubstance(benchmark::State& state)
{
    const int records = static_cast<int>(state.range(0));
    const QByteArray content = GeneratedLibrary(records);
    TSpectrumLibrary library;
    library.SetContent(content);
    const QString last = QStringLiteral("Substance %1").arg(records);
    TMatrix matrix;
    matrix.SetNrOfColumns(2);
    for (auto _ : state) {
        const TSpectrumLoad load = library.LoadSpectrum(last, matrix);
        if (load.lineCount != 12)
            state.SkipWithError("the last substance did not load");
        benchmark::DoNotOptimize(load);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * content.size());
    state.counters["MB"] = double(content.size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_LoadLastSubstance)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_SubstanceNames(benchmark::State& state)
{
    TSpectrumLibrary library;
    const QByteArray content = GeneratedLibrary(static_cast<int>(state.range(0)));
    library.SetContent(content);
    for (auto _ : state) {
        const QStringList names = library.SubstanceNames();
        benchmark::DoNotOptimize(names);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * content.size());
}
BENCHMARK(BM_SubstanceNames)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
