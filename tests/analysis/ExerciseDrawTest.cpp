// The samples of a class exercise must be the same on every machine: the
// generator is checked against the published reference outputs, the draw
// against what an exercise needs.
#include "analysis/ExerciseDraw.h"

#include <gtest/gtest.h>

#include <set>

TEST(ExerciseDraw, GeneratorGivesTheReferenceSequence)
{
    // SplitMix64 from state 0: the reference outputs of the published
    // algorithm (as used to seed the xoshiro generators).
    std::uint64_t state = 0;
    EXPECT_EQ(SplitMix64Next(state), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(SplitMix64Next(state), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(SplitMix64Next(state), 0x06C45D188009454FULL);
}

TEST(ExerciseDraw, SeedsAsTeachersWriteThem)
{
    struct Case {
        const char* Text;
        std::uint64_t Seed;
    };
    const Case cases[] = {
        {"42", 42},
        {" 42 ", 42},
        {"18446744073709551615", 0xFFFFFFFFFFFFFFFFULL},
        // Not a number: FNV-1a (64 bit) of the UTF-8 bytes; the published
        // test vectors give the empty text the offset basis and "a" this.
        {"a", 0xAF63DC4C8601EC8CULL},
        {"", 0xCBF29CE484222325ULL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExerciseSeed(QString::fromUtf8(c.Text)), c.Seed) << c.Text;
    EXPECT_NE(ExerciseSeed(QStringLiteral("+42")), 42u); // a sign makes it text
    EXPECT_NE(ExerciseSeed(QStringLiteral("class 7b")), ExerciseSeed(QStringLiteral("class 7c")));
}

TEST(ExerciseDraw, DistinctSamplesFromTheLibrary)
{
    for (std::uint64_t seed : {0ULL, 1ULL, 42ULL, 0xFFFFFFFFFFFFFFFFULL}) {
        const std::vector<int> samples = DrawExerciseSamples(seed, 52, 5);
        ASSERT_EQ(samples.size(), 5u);
        EXPECT_EQ(std::set<int>(samples.begin(), samples.end()).size(), 5u);
        for (int s : samples)
            EXPECT_TRUE(s >= 0 && s < 52) << s;
        EXPECT_EQ(DrawExerciseSamples(seed, 52, 5), samples); // the same seed, the same samples
    }
    EXPECT_NE(DrawExerciseSamples(1, 52, 5), DrawExerciseSamples(2, 52, 5));
    EXPECT_EQ(DrawExerciseSamples(7, 3, 5).size(), 3u); // a small library gives what it has
    EXPECT_TRUE(DrawExerciseSamples(7, 0, 5).empty());

    // Every substance is drawn about equally often over many seeds: 10,000
    // draws of 5 from 52 give each about 962; a biased index would stand out.
    std::vector<int> counts(52, 0);
    for (std::uint64_t seed = 0; seed < 10000; ++seed)
        for (int s : DrawExerciseSamples(seed, 52, 5))
            ++counts[size_t(s)];
    for (int c : counts)
        EXPECT_NEAR(c, 10000 * 5 / 52.0, 150);
}
