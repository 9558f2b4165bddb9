// Isotope patterns and formula reading (src/analysis), as the program does
// them when a learner enters a formula:
//
//   IsotopePattern/C100H202    a large organic molecule: 17 isotopologues listed
//   IsotopePattern/C5000H5000  the most atoms a formula may hold, as an organic
//                              molecule: some 300 isotopologues listed
//   IsotopePattern/Mo16        the longest listing: of all formulas that are
//                              listed (bound below the budget), the one with
//                              the most isotopologues, 55,000 (seven isotopes
//                              of even abundance)
//   IsotopePattern/Sm10000     the worst case of all: 10,000 atoms of the
//                              element whose mass numbers spread the most
//                              (samarium, 144..154, variance 7.55 per atom
//                              against 4.7 for Sn and Xe, 2.5 for Hg), so the
//                              widest distribution, some 4,000 nominal masses
//                              convolved in the direct computation; any mix of
//                              elements spreads less (the variances add up)
//   ParseChemicalFormula/1000  a text of 1,000 atoms in 200 groups
#include "analysis/ChemicalFormula.h"
#include "analysis/IsotopePattern.h"

#include <benchmark/benchmark.h>

namespace {

void IsotopePattern(benchmark::State& state, const char* text)
{
    const TChemicalFormula formula = ParseChemicalFormula(QString::fromLatin1(text));
    size_t lines = 0;
    for (auto _ : state) {
        const TIsotopePattern p = ComputeIsotopePattern(formula);
        lines = p.Lines.size();
        benchmark::DoNotOptimize(p.Lines.data());
    }
    state.counters["atoms"] = double(formula.AtomCount());
    state.counters["lines"] = double(lines);
}
BENCHMARK_CAPTURE(IsotopePattern, C100H202, "C100H202")->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(IsotopePattern, C5000H5000, "C5000H5000")->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(IsotopePattern, Mo16, "Mo16")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(IsotopePattern, Sm10000, "Sm10000")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// 200 times "(CH2OH)": nested nowhere, but with every kind of symbol, count
// and group the reader meets in a long formula; 1,000 atoms in 1,400
// characters.
void ParseFormula(benchmark::State& state)
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("(CH2OH)");
    long atoms = 0;
    for (auto _ : state) {
        const TChemicalFormula f = ParseChemicalFormula(text);
        atoms = f.AtomCount();
        benchmark::DoNotOptimize(f.Elements.data());
    }
    state.counters["atoms"] = double(atoms);
    state.counters["characters"] = double(text.size());
}
BENCHMARK(ParseFormula)->Name("ParseChemicalFormula/1000")->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
