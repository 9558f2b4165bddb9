// The abundance-weighted mean mass of a recorded spectrum, as a class works
// it out from a scan of neon.
#include "analysis/MeanMass.h"

#include "analysis/ChemicalElements.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The shipped library's neon: 20 at 100, 21 at 0.298, 22 at 10.22 (% of
// the base peak).
const std::vector<TSpectralLine> kNeon = {{20.0, 100.0}, {21.0, 0.298}, {22.0, 10.22}};

std::optional<double> NeonIsotope(double recorded)
{
    return IsotopeMass(*FindElement(QStringLiteral("Ne")), recorded);
}

TEST(MeanMass, NeonWithExactMasses)
{
    // With the AME2016 masses 19.9924401762, 20.993846685, 21.991385114:
    // (1999.24401762 + 6.25616631 + 224.75195587) / 110.518 = 20.1799900,
    // beside the standard atomic weight 20.1797(6). Shares: 100 / 110.518 =
    // 90.48300 %, 0.298 / 110.518 = 0.26964 %, 10.22 / 110.518 = 9.24736 %.
    const TMeanMass m = AbundanceWeightedMeanMass(kNeon, NeonIsotope);
    EXPECT_NEAR(m.Mean, 20.1799900, 2e-6); // the table's masses differ from AME2016 by parts of 1e-6 u
    ASSERT_EQ(m.Rows.size(), 3u);
    const double recorded[] = {20, 21, 22}, exact[] = {19.9924401762, 20.993846685, 21.991385114};
    const double abundance[] = {100, 0.298, 10.22}, share[] = {90.48300, 0.26964, 9.24736};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m.Rows[i].RecordedMass, recorded[i]);
        EXPECT_NEAR(m.Rows[i].Mass, exact[i], 2e-6);
        EXPECT_EQ(m.Rows[i].Abundance, abundance[i]);
        EXPECT_NEAR(m.Rows[i].Share, share[i], 1e-5);
    }
}

TEST(MeanMass, NominalMassesWhereNoExactOneIsKnown)
{
    // (2000 + 6.258 + 224.84) / 110.518 = 20.187644. And where the lookup
    // knows only some masses, the others keep the recorded one: 20 -> exact,
    // 21 and 22 recorded: (1999.24401762 + 6.258 + 224.84) / 110.518 = 20.180803.
    EXPECT_NEAR(AbundanceWeightedMeanMass(kNeon).Mean, 20.187644, 1e-6);
    const auto only20 = [](double m) -> std::optional<double> {
        return m == 20 ? std::optional<double>(19.9924401762) : std::nullopt;
    };
    const TMeanMass m = AbundanceWeightedMeanMass(kNeon, only20);
    EXPECT_NEAR(m.Mean, 20.180803, 1e-6);
    EXPECT_EQ(m.Rows[1].Mass, 21.0);
}

TEST(MeanMass, RepeatedLinesCountOnceWithTheirLargestAbundance)
{
    // A scan records each stick many times, at varying heights while it
    // passes the detector; in any order, the result is the single scan's.
    const std::vector<TSpectralLine> scanned = {{22.0, 3.1},  {20.0, 40.0}, {20.0, 100.0}, {21.0, 0.298},
                                                {22.0, 10.22}, {20.0, 100.0}, {22.0, 10.22}, {20.0, 7.0}};
    const TMeanMass once = AbundanceWeightedMeanMass(kNeon, NeonIsotope);
    const TMeanMass m = AbundanceWeightedMeanMass(scanned, NeonIsotope);
    ASSERT_EQ(m.Rows.size(), 3u);
    EXPECT_EQ(m.Rows[0].Abundance, 100);
    EXPECT_EQ(m.Rows[2].Abundance, 10.22);
    EXPECT_NEAR(m.Mean, once.Mean, 1e-12);
}

TEST(MeanMass, LinesWithoutAUsableAbundanceOrMassAreLeftOut)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<TSpectralLine> lines = kNeon;
    lines.insert(lines.end(), {{40.0, 0}, {41.0, -5}, {42.0, nan}, {43.0, inf}, {nan, 50}, {inf, 50}, {20.0, -1e9}});
    const TMeanMass m = AbundanceWeightedMeanMass(lines);
    ASSERT_EQ(m.Rows.size(), 3u);
    EXPECT_NEAR(m.Mean, 20.187644, 1e-6);

    const TMeanMass none = AbundanceWeightedMeanMass({{20.0, 0}, {21.0, nan}});
    EXPECT_TRUE(none.Rows.empty());
    EXPECT_EQ(none.Mean, 0);
    EXPECT_EQ(AbundanceWeightedMeanMass({}).Mean, 0);
}

} // namespace
