// Merging isotopologues by nominal mass over any list of them: probabilities
// of every size and kind (zero, negative, subnormal, huge, infinite, NaN),
// exact masses likewise, nominal masses crowded together or far apart, and
// any threshold.
//
// Rules checked: the lines come by ascending, distinct nominal masses, each
// of them a nominal mass of some usable entry (a positive finite
// probability and a finite exact mass); without usable entries there are no
// lines, otherwise the strongest is exactly 100 and stands where the usable
// probabilities sum highest; no line is weaker than the threshold (clamped to
// 0..1) allows or zero; each line's exact mass lies within the exact masses
// of the usable entries it merges.
#include "FuzzApplication.h"

#include "analysis/IsotopePattern.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct TRange {
    double Lightest = 0, Heaviest = 0;
    long double Probability = 0; // relative to the largest usable entry
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const double threshold = in.ConsumeBool() ? kPatternThreshold : ConsumeInterestingDouble(in);
    const int base = in.ConsumeIntegral<int>();
    std::vector<TIsotopologue> entries;
    while (in.remaining_bytes() > 0 && entries.size() < 4096) {
        TIsotopologue e;
        // Mostly a handful of neighbouring nominal masses, so that entries merge.
        e.NominalMass = in.ConsumeBool() ? int(unsigned(base) + in.ConsumeIntegralInRange<unsigned>(0, 7))
                                         : in.ConsumeIntegral<int>();
        e.ExactMass = in.ConsumeBool() ? e.NominalMass + in.ConsumeFloatingPointInRange<double>(-0.5, 0.5)
                                       : ConsumeInterestingDouble(in);
        e.Probability = in.ConsumeBool() ? in.ConsumeProbability<double>() : ConsumeInterestingDouble(in);
        entries.push_back(e);
    }

    const std::vector<TPatternLine> lines = MergeByNominalMass(entries, threshold);

    double largest = 0;
    for (const TIsotopologue& e : entries)
        if (std::isfinite(e.Probability) && e.Probability > 0 && std::isfinite(e.ExactMass))
            largest = std::max(largest, e.Probability);
    std::map<int, TRange> usable;
    for (const TIsotopologue& e : entries) {
        if (!(std::isfinite(e.Probability) && e.Probability > 0 && std::isfinite(e.ExactMass)))
            continue;
        auto [it, added] = usable.try_emplace(e.NominalMass, TRange{e.ExactMass, e.ExactMass, 0});
        it->second.Lightest = std::min(it->second.Lightest, e.ExactMass);
        it->second.Heaviest = std::max(it->second.Heaviest, e.ExactMass);
        it->second.Probability += static_cast<long double>(e.Probability) / largest;
    }
    const QString what = QStringLiteral("%1 entries, %2 usable, threshold %3")
                             .arg(entries.size())
                             .arg(usable.size())
                             .arg(threshold, 0, 'g', 17);

    if (usable.empty()) {
        FUZZ_CHECK(lines.empty(), what);
        return 0;
    }
    FUZZ_CHECK(!lines.empty(), what);
    const double cut = std::isnan(threshold) ? 0.0 : std::clamp(threshold, 0.0, 1.0);
    double strongest = 0;
    int strongestMass = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const TPatternLine& l = lines[i];
        if (i > 0)
            FUZZ_CHECK(l.NominalMass > lines[i - 1].NominalMass, what);
        const auto it = usable.find(l.NominalMass);
        FUZZ_CHECK(it != usable.end(), what);
        FUZZ_CHECK(l.ExactMass >= it->second.Lightest && l.ExactMass <= it->second.Heaviest,
                   what + QStringLiteral(": %1 outside %2..%3").arg(l.ExactMass, 0, 'g', 17).arg(it->second.Lightest, 0, 'g', 17).arg(it->second.Heaviest, 0, 'g', 17));
        FUZZ_CHECK(l.Abundance > 0 && l.Abundance <= 100, what);
        FUZZ_CHECK(l.Abundance >= 100 * cut, what);
        if (l.Abundance > strongest) {
            strongest = l.Abundance;
            strongestMass = l.NominalMass;
        }
    }
    FUZZ_CHECK(strongest == 100, what);
    // The highest sum, up to the rounding of extended-precision sums.
    long double highest = 0;
    for (const auto& [mass, range] : usable)
        highest = std::max(highest, range.Probability);
    FUZZ_CHECK(usable.at(strongestMass).Probability >= highest * (1 - 1e-15L), what);
    return 0;
}
