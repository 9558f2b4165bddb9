#include "support/StreamLine.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

const TByteSet kLineEnds{13, 10};

// Every line up to and including the one that reports the end.
std::vector<QByteArray> AllLines(const QByteArray& bytes, const TByteSet& separators = kLineEnds)
{
    TMemoryStream stream(bytes);
    std::vector<QByteArray> lines;
    bool end = false;
    while (!end)
        lines.push_back(ReadStreamLine(stream, end, separators));
    return lines;
}

} // namespace

TEST(ReadStreamLine, CarriageReturnEndsALineAndTakesAFollowingLineFeed)
{
    TMemoryStream stream(QByteArray("ab\r\ncd\ref"));
    bool end = true;
    EXPECT_EQ(ReadStreamLine(stream, end, kLineEnds), "ab");
    EXPECT_FALSE(end);
    EXPECT_EQ(ReadStreamLine(stream, end, kLineEnds), "cd");
    EXPECT_FALSE(end);
    EXPECT_EQ(stream.Data().at(stream.Position()), 'e'); // the byte after the CR stays
    EXPECT_EQ(ReadStreamLine(stream, end, kLineEnds), "ef");
    EXPECT_TRUE(end);
}

TEST(ReadStreamLine, LinesAndTheEndOfTheStream)
{
    using Lines = std::vector<QByteArray>;
    const std::pair<QByteArray, Lines> cases[] = {
        {"a\nb\r\n", {"ab", ""}},          // a lone LF is dropped; one more call after the last CR LF
        {"ab\r", {"ab"}},                  // a CR at the very end reports the end with the line
        {"", {""}},
        {"\r\r", {"", ""}},
        {"\r\n\r\n", {"", "", ""}},
        {"x\n\n\ry", {"x", "y"}},
        {QByteArray("n\0ul\r", 5), {QByteArray("n\0ul", 4)}},
    };
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(AllLines(bytes), lines) << bytes.toHex().constData();
}

TEST(ReadStreamLine, OtherSeparatorSets)
{
    using Lines = std::vector<QByteArray>;
    EXPECT_EQ(AllLines("a\nb\rc", TByteSet{13}), (Lines{"a\nb", "c"})); // LF is plain text here
    EXPECT_EQ(AllLines("x;y;\n", TByteSet{';', 10}), (Lines{"x", "y", ""}));
    EXPECT_EQ(AllLines("a\r\nb", TByteSet{}), (Lines{"a\r\nb"}));
}
