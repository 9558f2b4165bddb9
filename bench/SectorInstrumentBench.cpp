// The instrument with real slits and beams (src/analysis/SectorInstrument)
// for the shipped substance with the most lines, at 3000 V, where the
// energy spread weighs most:
//
//   SlitScanPass/<settings>        one sample of a slit scan (the window's
//                                  work per field position), taken at every
//                                  position 1..5000 in turn: the mean
//   SlitScanPass/<settings>_worst  the position where the most lines reach
//                                  the slit at once
//   SlitScan/<settings>            the whole scan, 5000 positions
//   PlateBlackening/<settings>     the plate over the whole wall at 300 mT
//                                  (m/z in focus 103: the plate then holds
//                                  m/z 26 to 169), read as ionpath-cli reads
//                                  it: steps of half the window, at most 0.1
//                                  chart units
//
// Settings: typical (source and detector slit 0.5 mm, 10 V, 1 mrad), widest
// (2 mm, 5 mm, 100 V, 10 mrad: the most lines at the slit at once, the
// widest beams), finest (2 mm, 0.05 mm, 100 V, 10 mrad: the most readings of
// the plate, each through the most rays).
#include "analysis/SectorInstrument.h"
#include "app/SectorField.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kVoltage = 3000;
constexpr int kPlateField = 3000;

std::vector<TSpectralLine> MostLines(QString& name)
{
    TSpectrumLibrary library;
    if (!library.Open(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data/ms_spec_sample.tra"))))
        return {};
    std::vector<TSpectralLine> best;
    for (const QString& n : library.SubstanceNames())
        if (const auto s = LoadSubstance(library, n); s && s->Lines.size() > best.size()) {
            best = s->Lines;
            name = n;
        }
    return best;
}

const std::vector<TSpectralLine>& Lines()
{
    static QString name;
    static const std::vector<TSpectralLine> lines = MostLines(name);
    return lines;
}

TInstrumentSettings Settings(double source, double slit, double energy, double angle)
{
    TInstrumentSettings s;
    s.SourceSlit = source;
    s.DetectorSlit = slit;
    s.EnergySpread = energy;
    s.AngularSpread = angle;
    return s;
}

const TInstrumentSettings kTypical = Settings(0.5, 0.5, 10, 1);
const TInstrumentSettings kWidest = Settings(2, 5, 100, 10);
const TInstrumentSettings kFinest = Settings(2, 0.05, 100, 10);

bool HaveLines(benchmark::State& state)
{
    if (Lines().empty())
        state.SkipWithError("the shipped library cannot be read");
    return !Lines().empty();
}

void ScanPass(benchmark::State& state, TInstrumentSettings settings)
{
    if (!HaveLines(state))
        return;
    const TSectorInstrument instrument(settings, kVoltage, SectorFieldConstant());
    int position = 0;
    for (auto _ : state) {
        position = position % 5000 + 1;
        benchmark::DoNotOptimize(instrument.Sample(Lines(), position));
    }
    state.counters["lines"] = double(Lines().size());
}

// The position where the most lines pass the slit in part or whole.
void WorstScanPass(benchmark::State& state, TInstrumentSettings settings)
{
    if (!HaveLines(state))
        return;
    const TSectorInstrument instrument(settings, kVoltage, SectorFieldConstant());
    int worst = 1, most = -1;
    for (int p = 1; p <= 5000; ++p) {
        int n = 0;
        for (const TSpectralLine& l : Lines())
            n += instrument.LineShare(l.Mass, p) > 0;
        if (n > most)
            most = n, worst = p;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(instrument.Sample(Lines(), worst));
    state.counters["lines"] = double(Lines().size());
    state.counters["lines_at_slit"] = most;
}

void Scan(benchmark::State& state, TInstrumentSettings settings)
{
    if (!HaveLines(state))
        return;
    const TSectorInstrument instrument(settings, kVoltage, SectorFieldConstant());
    for (auto _ : state)
        benchmark::DoNotOptimize(instrument.Scan(Lines()).data());
    state.counters["lines"] = double(Lines().size());
}

void Plate(benchmark::State& state, TInstrumentSettings settings)
{
    if (!HaveLines(state))
        return;
    const TSectorInstrument instrument(settings, kVoltage, SectorFieldConstant());
    const double step = std::min(0.1, settings.DetectorSlit * kChartUnitsPerMm / 2);
    const int readings = int(std::ceil((kPlateHighY - kPlateLowY) / step)) + 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(instrument.Plate(Lines(), kPlateField, readings).data());
    state.counters["lines"] = double(Lines().size());
    state.counters["readings"] = readings;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::pair<const char*, TInstrumentSettings> settings[] = {
        {"typical", kTypical}, {"widest", kWidest}, {"finest", kFinest}};
    for (const auto& [name, s] : settings) {
        const std::string n = name;
        benchmark::RegisterBenchmark(("SlitScanPass/" + n).c_str(), ScanPass, s)
            ->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("SlitScanPass/" + n + "_worst").c_str(), WorstScanPass, s)
            ->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("SlitScan/" + n).c_str(), Scan, s)
            ->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("PlateBlackening/" + n).c_str(), Plate, s)
            ->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
