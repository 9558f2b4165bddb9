// The library search (src/analysis/LibrarySearch) over a library far larger
// than the shipped one, as a user's own library may grow:
//
//   LibrarySearch/10000         one search: an unknown of 30 lines against
//                               10,000 spectra; target 50 ms on one core
//   LibrarySearchPrepare/10000  making the search: the weighted peak
//                               vectors of the 10,000 spectra
//
// The spectra are generated with a fixed seed, shaped like electron-
// ionisation spectra: 10 to 60 lines at distinct whole masses from 10 to 300
// (one in twenty at a half mass, as doubly charged ions stand), a base peak
// of 100 and the others mostly weak (100 u^3, u uniform in 0..1, at least
// 0.5).
#include "analysis/LibrarySearch.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <random>
#include <set>

namespace {

constexpr int kSpectra = 10000;

std::vector<TSpectralLine> Generated(std::mt19937& random, int lines)
{
    std::uniform_int_distribution<int> mass(10, 300);
    std::uniform_real_distribution<double> u(0, 1);
    std::set<double> masses;
    while (int(masses.size()) < lines)
        masses.insert(mass(random) + (u(random) < 0.05 ? 0.5 : 0.0));
    std::vector<TSpectralLine> spectrum;
    for (const double m : masses)
        spectrum.push_back({m, std::max(0.5, 100 * std::pow(u(random), 3))});
    spectrum[std::uniform_int_distribution<size_t>(0, spectrum.size() - 1)(random)].Abundance = 100;
    return spectrum;
}

const std::vector<TLibrarySpectrum>& Library()
{
    static const std::vector<TLibrarySpectrum> library = [] {
        std::mt19937 random(1994);
        std::uniform_int_distribution<int> lines(10, 60);
        std::vector<TLibrarySpectrum> l;
        for (int i = 0; i < kSpectra; ++i)
            l.push_back({QStringLiteral("Generated %1").arg(i), Generated(random, lines(random))});
        return l;
    }();
    return library;
}

void Search(benchmark::State& state)
{
    const TLibrarySearch search(Library());
    std::mt19937 random(859);
    const std::vector<TSpectralLine> unknown = Generated(random, 30);
    double best = 0;
    for (auto _ : state) {
        const std::vector<TSearchCandidate> found = search.Search(unknown);
        best = found.empty() ? 0 : found.front().Score;
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["spectra"] = kSpectra;
    state.counters["best_score"] = best;
}
BENCHMARK(Search)->Name("LibrarySearch/10000")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void Prepare(benchmark::State& state)
{
    // Copying the spectra in and freeing the last search are not timed.
    std::optional<TLibrarySearch> search;
    for (auto _ : state) {
        state.PauseTiming();
        search.reset();
        std::vector<TLibrarySpectrum> copy = Library();
        state.ResumeTiming();
        search.emplace(std::move(copy));
        benchmark::DoNotOptimize(&*search);
    }
    state.counters["spectra"] = kSpectra;
}
BENCHMARK(Prepare)->Name("LibrarySearchPrepare/10000")->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
