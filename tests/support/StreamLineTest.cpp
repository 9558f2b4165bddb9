#include "support/StreamLine.h"

#include <gtest/gtest.h>
#include <array>
#include <random>
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

namespace {

// Random bytes shaped like a library file: lines of any length (across the
// scanner's 64-byte blocks), CR, CR LF and lone LF, and the letters the
// probes look for, in both cases.
QByteArray RandomLines(std::mt19937& random, int size)
{
    static const char kBytes[] = {'a', 'b', 'e', 'E', '/', 'n', 'N', ' ', '\r', '\n'};
    std::uniform_int_distribution<int> kind(0, 99);
    std::uniform_int_distribution<int> pick(0, int(sizeof kBytes) - 1);
    QByteArray bytes;
    // Either mostly plain text (long runs the scanner passes over in bulk)
    // or dense with line ends.
    const int lineEndPercent = std::uniform_int_distribution<int>(1, 30)(random);
    while (bytes.size() < size) {
        const int k = kind(random);
        if (k < lineEndPercent)
            bytes += (k % 3 == 0) ? "\r\n" : (k % 3 == 1 ? "\r" : "\n");
        else if (k < lineEndPercent + 10)
            bytes += kBytes[pick(random)];
        else
            bytes += 'x';
    }
    return bytes;
}

bool IsProbeHit(const QByteArray& data, qsizetype p, char first, qsizetype distance, char last)
{
    return (data[p] | 0x20) == (first | 0x20) && p + distance < data.size() && (data[p + distance] | 0x20) == (last | 0x20);
}

bool Interesting(const TLineSpan& line, qsizetype longerThan)
{
    return line.EndOfStream || line.LoneLineFeeds || line.Probed || line.RawSize() > longerThan;
}

} // namespace

// The scanner must give the very lines ReadStreamLine gives, and passing
// over lines in bulk must stop at exactly the lines a reader looks at:
// one line missed there is a substance missing from the list or a spectrum
// that does not load.
TEST(LineScanner, GivesTheLinesOfReadStreamLineAndPassesOverOnlyWhatIsOfNoInterest)
{
    std::mt19937 random(20261208);
    struct Probe {
        char first;
        qsizetype distance;
        char last;
    };
    const Probe probes[] = {{'/', 4, 'e'}, {'n', 0, 'n'}, {'a', 70, 'b'}, {0, -1, 0}};
    for (int round = 0; round < 3000; ++round) {
        const int size = std::uniform_int_distribution<int>(0, round < 2000 ? 300 : 3000)(random);
        const QByteArray data = RandomLines(random, size);
        const Probe probe = probes[round % 4];
        const qsizetype longerThan = std::array<qsizetype, 3>{0, 63, 255}[round % 3];
        SCOPED_TRACE(::testing::Message() << "round " << round << ", " << data.size() << " bytes");

        const std::vector<QByteArray> expected = AllLines(data);
        TLineScanner plain(data);
        TLineScanner mixed(data);
        if (probe.distance >= 0) {
            plain.SetProbe(probe.first, probe.distance, probe.last);
            mixed.SetProbe(probe.first, probe.distance, probe.last);
        }
        QByteArray buffer;
        std::vector<TLineSpan> spans;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const TLineSpan line = plain.Next();
            ASSERT_EQ(plain.Text(line, buffer).toByteArray(), expected[i]) << "line " << i;
            ASSERT_EQ(line.EndOfStream, i + 1 == expected.size()) << "line " << i;
            bool hit = false;
            for (qsizetype p = line.Begin; p < line.End && probe.distance >= 0; ++p)
                hit = hit || IsProbeHit(data, p, probe.first, probe.distance, probe.last);
            ASSERT_EQ(line.Probed, hit) << "line " << i;
            ASSERT_EQ(line.LoneLineFeeds, data.sliced(line.Begin, line.RawSize()).contains('\n')) << "line " << i;
            spans.push_back(line);
        }

        // The second scanner, now by single lines and now in bulk, must
        // arrive at the same lines.
        std::bernoulli_distribution bulk(0.5);
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const bool passOver = bulk(random);
            const TLineSpan other = passOver ? mixed.NextOfInterest(longerThan) : mixed.Next();
            const std::size_t from = i;
            while (passOver && !Interesting(spans[i], longerThan))
                ++i;
            const TLineSpan& line = spans[i];
            // The line hook runs once for every line passed over.
            ASSERT_EQ(other.LinesPassed, qsizetype(i - from)) << "line " << i;
            ASSERT_EQ(other.Begin, line.Begin) << "line " << i;
            ASSERT_EQ(other.End, line.End) << "line " << i;
            ASSERT_EQ(other.LoneLineFeeds, line.LoneLineFeeds) << "line " << i;
            ASSERT_EQ(other.Probed, line.Probed) << "line " << i;
            ASSERT_EQ(other.EndOfStream, line.EndOfStream) << "line " << i;
        }
        const TLineSpan past = plain.Next();
        EXPECT_TRUE(past.EndOfStream);
        EXPECT_EQ(past.RawSize(), 0);
    }
}
