// Importing a collection: a generated MSP file of 1,000 records of 50 peaks
// each (unsorted pairs, two to a line, as collections write them) read and
// made into library records, the way `ionpath-cli import` does before it
// writes the library.
//   ImportMspRecords/1000  ReadMsp, ImportedRecord and FormatLibraryRecord
//                          of every record (target: under 1 s)
//   ReadMsp/1000           the reading alone
#include "analysis/SpectrumImport.h"
#include "app/SpectrumFileImport.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 1000;
constexpr int kPeaks = 50;

const QByteArray& Collection()
{
    static const QByteArray text = [] {
        QByteArray t;
        for (int r = 0; r < kRecords; ++r) {
            t += "Name: Substance " + QByteArray::number(r) + "\n";
            t += "Formula: C" + QByteArray::number(r % 30 + 1) + "H" + QByteArray::number(r % 60 + 2) + "O\n";
            t += "DB#: BENCH-" + QByteArray::number(r) + "\nComments: generated\n";
            t += "Num Peaks: " + QByteArray::number(kPeaks) + "\n";
            for (int k = 0; k < kPeaks; ++k) {
                const int mass = 12 + (k * 37 + r) % 400; // distinct for 50 peaks, in no order
                const int intensity = 1 + (mass * 131 + r * 17) % 999;
                t += QByteArray::number(mass) + ' ' + QByteArray::number(intensity) + (k % 2 ? "\n" : "; ");
            }
            t += "\n";
        }
        return t;
    }();
    return text;
}

void ImportMspRecords(benchmark::State& state)
{
    const QByteArray& text = Collection();
    size_t lines = 0;
    for (auto _ : state) {
        const TImportResult result = ReadMsp(text);
        QByteArray records;
        for (const TImportedSpectrum& s : result.Spectra)
            records += FormatLibraryRecord(ImportedRecord(s));
        lines = 0;
        for (const TImportedSpectrum& s : result.Spectra)
            lines += s.Lines.size();
        benchmark::DoNotOptimize(records.data());
        if (result.Spectra.size() != size_t(kRecords))
            state.SkipWithError("not every record was read");
    }
    state.counters["records"] = kRecords;
    state.counters["lines"] = double(lines);
    state.counters["kB"] = double(text.size()) / 1024;
}

void ReadMspOnly(benchmark::State& state)
{
    const QByteArray& text = Collection();
    for (auto _ : state) {
        const TImportResult result = ReadMsp(text);
        benchmark::DoNotOptimize(result.Spectra.data());
    }
}

} // namespace

BENCHMARK(ImportMspRecords)->Name("ImportMspRecords/1000")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(ReadMspOnly)->Name("ReadMsp/1000")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
