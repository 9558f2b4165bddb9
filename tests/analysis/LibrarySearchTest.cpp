// The composite match factor worked by hand, the mass matching of lines, and
// the order in which a search hands its candidates back.
#include "analysis/LibrarySearch.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using TLines = std::vector<TSpectralLine>;

TLines Scaled(TLines lines, double k)
{
    for (TSpectralLine& l : lines)
        l.Abundance *= k;
    return lines;
}

// Seven of the shipped library's toluene lines, its doubly charged 45.5 among them.
const TLines kToluene = {{39, 8.37}, {45.5, 1.00}, {51, 4.98}, {63, 5.32}, {65, 11.69}, {91, 100}, {92, 87.05}};

} // namespace

TEST(LibrarySearch, ItselfScoresFullAndNothingSharedScoresNothing)
{
    // Also in another order, with every line recorded twice as a scan does,
    // and the strongest lines also on their way into focus: a mass counts
    // with its largest abundance.
    TLines twice = kToluene;
    twice.insert(twice.begin(), kToluene.rbegin(), kToluene.rend());
    twice.insert(twice.begin() + 3, {{91, 40}, {92, 10}});
    EXPECT_DOUBLE_EQ(MatchScore(kToluene, kToluene), 999);
    EXPECT_DOUBLE_EQ(MatchScore(twice, kToluene), 999);
    EXPECT_DOUBLE_EQ(MatchScore({{20, 100}}, {{20, 3}}), 999); // one line: F_D alone
    EXPECT_EQ(MatchScore(kToluene, {{40, 100}, {44, 20}}), 0);
    EXPECT_EQ(MatchScore({}, kToluene), 0);
    EXPECT_EQ(MatchScore(kToluene, {}), 0);
}

// W = sqrt(I) (m/10)^3 here: the common factor 10^3 of the masses 10, 20,
// 30, 40, 50 cancels in F_D, so the arithmetic stays in whole numbers.
TEST(LibrarySearch, CompositeByHand)
{
    struct Row {
        const char* what;
        TLines unknown, reference;
        double expected;
    };
    const Row rows[] = {
        // W_U: 10 -> 1*10 = 10, 20 -> 8*5 = 40, 40 -> 64*1 = 64; sum W_U^2 = 5796.
        // W_L: 10 -> 1*5 = 5, 20 -> 8*10 = 80, 30 -> 27*2 = 54, 50 -> 125*1 = 125;
        //      sum W_L^2 = 25 + 6400 + 2916 + 15625 = 24966.
        // Shared 10 and 20: dot = 50 + 3200 = 3250, F_D = 3250^2 / (5796 * 24966).
        // F_R, one pair: r = (25/100) * (25/100) = 1/16, min(r, 1/r) = 0.0625,
        // over N_LU - 1 = 1 pair. N_U = 3, N_LU = 2.
        {"two shared of three and four",
         {{10, 100}, {20, 25}, {40, 1}},
         {{10, 25}, {20, 100}, {30, 4}, {50, 1}},
         999 * (3 * (3250.0 * 3250 / (5796.0 * 24966)) + 2 * 0.0625) / 5},
        // W_U: 10, 8*5 = 40, 27*2 = 54; W_L: 10, 8*10 = 80, 27*4 = 108.
        // dot = 100 + 3200 + 5832 = 9132, sum W_U^2 = 4616, sum W_L^2 = 18164.
        // F_R: (25/100)(100/100) = 0.25 and (4/25)(100/16) = 1, mean 0.625.
        // S = (3 F_D + 3 * 0.625) / 6.
        {"all three shared",
         {{10, 100}, {20, 25}, {30, 4}},
         {{10, 100}, {20, 100}, {30, 16}},
         999 * (3 * (9132.0 * 9132 / (4616.0 * 18164)) + 3 * 0.625) / 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_NEAR(MatchScore(r.unknown, r.reference), r.expected, 1e-9);
        // The abundances' scale is no part of it, on either side.
        for (const double k : {1e-3, 0.37, 7.0, 1e4}) {
            EXPECT_NEAR(MatchScore(Scaled(r.unknown, k), r.reference), r.expected, 1e-9) << k;
            EXPECT_NEAR(MatchScore(r.unknown, Scaled(r.reference, k)), r.expected, 1e-9) << k;
        }
    }
}

// Lines round to whole masses, but a line at x.5 (a doubly charged ion of
// odd mass) is a mass of its own. One line against one line: the same mass
// scores 999, another 0.
TEST(LibrarySearch, HalfIntegerLinesAreMassesOfTheirOwn)
{
    struct Row {
        double a, b;
        bool same;
    };
    const Row rows[] = {
        {38.5, 38.5, true},  {38.42, 38.58, true}, {38.5, 38, false},   {38.5, 39, false},
        {38.35, 38, true},   {38.65, 39, true},    {37.65, 38.35, true}, {296.34, 296, true}, // a mass defect
    };
    for (const Row& r : rows)
        EXPECT_EQ(MatchScore({{r.a, 100}}, {{r.b, 100}}), r.same ? 999 : 0) << r.a << " against " << r.b;
}

TEST(LibrarySearch, UnusableLinesAreLeftOut)
{
    TLines noisy = kToluene;
    noisy.insert(noisy.end(), {{70, 0}, {71, -5}, {72, NAN}, {73, INFINITY}, {NAN, 50}, {-91, 50}, {0.2, 50}, {2e6, 50}});
    EXPECT_DOUBLE_EQ(MatchScore(noisy, kToluene), 999);
}

TEST(LibrarySearch, CandidatesBestFirstThenInLibraryOrder)
{
    const TLines other = {{39, 40}, {65, 100}, {91, 20}};
    const TLibrarySearch search({{QStringLiteral("other"), other},
                                 {QStringLiteral("unrelated"), {{18, 100}, {17, 21}}},
                                 {QStringLiteral("toluene"), kToluene},
                                 {QStringLiteral("toluene again"), kToluene}});
    ASSERT_EQ(search.Library().size(), 4u);
    EXPECT_EQ(search.Library()[2].Name, QStringLiteral("toluene"));

    const std::vector<TSearchCandidate> found = search.Search(Scaled(kToluene, 3));
    // The one without a shared mass is no candidate.
    ASSERT_EQ(found.size(), 3u);
    const int order[] = {2, 3, 0};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(found[i].Index, order[i]);
        EXPECT_DOUBLE_EQ(found[i].Score, MatchScore(kToluene, search.Library()[size_t(order[i])].Lines));
    }
    EXPECT_DOUBLE_EQ(found[0].Score, 999);
    EXPECT_LT(found[2].Score, found[1].Score);

    EXPECT_EQ(search.Search(kToluene, 1).size(), 1u);
    EXPECT_EQ(search.Search(kToluene, 0).size(), 0u);
    EXPECT_EQ(search.Search({{200, 100}}).size(), 0u);
}
