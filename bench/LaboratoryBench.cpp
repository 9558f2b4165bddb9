// The Isotopes page as a learner types: each keystroke parses the formula,
// computes its isotope pattern and fills the table and the stick chart.
// The target is one frame (16 ms) per keystroke for formulas of up to 1,000
// atoms; the formulas measured are the last keystroke of typing them, which
// is the costliest.
#include "app/InstrumentLink.h"
#include "app/lab/IsotopesPage.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {

// An instrument with nothing recorded: the page's pattern half alone is measured.
class TQuietInstrument final : public TInstrumentLink {
public:
    QString SubstanceName() const override { return QStringLiteral("Methane"); }
    std::vector<TSpectralLine> SubstanceLines() const override { return {{16, 100}, {15, 85}}; }
    int Voltage() const override { return 5000; }
    int FieldPosition() const override { return 1; }
    std::vector<TSpectralLine> RecordedLines() const override { return {}; }
    const std::vector<TTraceSample>& RecordedTrace() const override { return trace_; }
    const TInstrumentSettings& Detector() const override { return detector_; }
    void SetDetector(const TInstrumentSettings&) override {}
    bool Scanning() const override { return false; }
    bool InExercise() const override { return false; }
    QString RevealedName() const override { return SubstanceName(); }
    int Charge() const override { return 1; }
    void SetCharge(int) override {}
    std::vector<TLibrarySpectrum> LibrarySpectra() override { return {}; }
    bool HasUserLibrary() const override { return true; }
    bool AddUserSubstance(const QByteArray&, const QString&, QString*) override { return true; }
    QStringList UserSubstanceNames() const override { return {}; }
    TImportReport ImportSpectra(const QStringList&) override { return {}; }
    bool RemoveUserSubstance(const QString&, QString*) override { return false; }

private:
    std::vector<TTraceSample> trace_;
    TInstrumentSettings detector_;
};

void BM_TypeFormula(benchmark::State& state, const char* formula)
{
    TQuietInstrument instrument;
    TIsotopesPage page(instrument, [](const QString& key, const QStringList&) { return key; });
    page.resize(900, 600);
    page.show();
    const QString full = QString::fromLatin1(formula);
    const QString before = full.left(full.size() - 1);
    for (auto _ : state) {
        state.PauseTiming();
        page.FormulaEdit()->setText(before);
        state.ResumeTiming();
        page.FormulaEdit()->setText(full); // the last keystroke
        benchmark::DoNotOptimize(page.PatternTable()->rowCount());
    }
    state.counters["lines"] = double(page.PatternTable()->rowCount());
}

} // namespace

BENCHMARK_CAPTURE(BM_TypeFormula, benzene, "C6H6")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypeFormula, C100H202, "C100H202")->Unit(benchmark::kMillisecond);
// 1,000 atoms of the elements of organic chemistry.
BENCHMARK_CAPTURE(BM_TypeFormula, organic1000, "C333H600N33O33S1")->Unit(benchmark::kMillisecond);
// 1,000 atoms with chlorine and bromine, whose two isotopes each widen the
// pattern most: the longest table.
BENCHMARK_CAPTURE(BM_TypeFormula, halogens1000, "C300H500Cl100Br100")->Unit(benchmark::kMillisecond);
// 1,000 atoms of the elements with the most isotopes (ten for tin, nine for
// xenon): the widest pattern a formula of that size can have, computed by
// convolution rather than by listing isotopologues.
BENCHMARK_CAPTURE(BM_TypeFormula, tinXenon1000, "Sn500Xe500")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
