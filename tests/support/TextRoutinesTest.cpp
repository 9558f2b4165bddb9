#include "support/TextRoutines.h"

#include <gtest/gtest.h>

TEST(TextRoutines, StripBlanksRemovesOnlyOuterBlanks)
{
    const std::pair<const char*, const char*> cases[] = {
        {"  Benzene  ", "Benzene"}, {"   ", ""}, {"", ""}, {"\tBenzene ", "\tBenzene"}, {" a b ", "a b"},
    };
    for (auto [in, out] : cases) {
        EXPECT_EQ(StripBlanks(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
        EXPECT_EQ(StripBlanks(QByteArray(in)), QByteArray(out)) << in;
    }
}

TEST(TextRoutines, LowerCaseFoldsOnlyAToZ)
{
    EXPECT_EQ(LowerCaseAZ(QStringLiteral("ÄBC xyZ")), QStringLiteral("Äbc xyz"));
    EXPECT_EQ(LowerCaseAZ(QByteArray("\xC4" "BC[@]")), QByteArray("\xC4" "bc[@]"));
}

TEST(TextRoutines, FindOccurrenceCountsWithoutOverlap)
{
    const struct {
        const char* find;
        const char* text;
        int start;
        bool ignoreCase;
        int n;
        int expected;
    } cases[] = {
        {"ab", "xabyab", 1, false, 1, 2},
        {"ab", "xabyab", 1, false, 2, 5},
        {"ab", "xabyab", 1, false, 3, 0},
        {"ab", "xabyab", 3, false, 1, 5},
        {"ab", "xabyab", 0, false, 1, 2},
        {"ab", "xabyab", 99, false, 1, 0},
        {"aa", "aaaa", 1, false, 2, 3},
        {"AB", "xab", 1, true, 1, 2},
        {"AB", "xab", 1, false, 1, 0},
        {"", "abc", 1, false, 1, 0},
        {"a", "abc", 1, false, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindOccurrence(QString::fromLatin1(c.find), QString::fromLatin1(c.text), c.start, c.ignoreCase, c.n),
                  c.expected)
            << c.find << " in " << c.text << " from " << c.start << " #" << c.n;
}

TEST(TextRoutines, ReplaceAllGoesOnAfterTheInsertedText)
{
    const struct {
        const char* text;
        const char* find;
        const char* replacement;
        bool ignoreCase;
        const char* expected;
    } cases[] = {
        {"aXbXc", "X", "XX", false, "aXXbXXc"},
        {"aXbxc", "x", "-", true, "a-b-c"},
        {"aXbxc", "x", "-", false, "aXb-c"},
        {"aaaa", "aa", "b", false, "bb"},
        {"abc", "", "z", false, "abc"},
        {"<%1%> <%1%>", "<%1%>", "", false, " "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplaceAll(QString::fromLatin1(c.text), QString::fromLatin1(c.find), QString::fromLatin1(c.replacement),
                             c.ignoreCase),
                  QString::fromLatin1(c.expected))
            << c.text;
    EXPECT_EQ(ReplaceAll(QStringLiteral("Äb äb"), QStringLiteral("äb"), QStringLiteral("x"), true), QStringLiteral("Äb x"));
}
