#include "support/TextEncoding.h"
#include "widgets/BuiltInDotFont.h"
#include "widgets/CharRaster.h"
#include "widgets/DotMatrixLayout.h"

#include <QFontDatabase>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

int Code(const QString& ch)
{
    return static_cast<unsigned char>(EncodeText(ch, TTextEncoding::Windows1252).at(0));
}

std::array<std::uint8_t, 12> Rows(const TDotFontEntry& e)
{
    std::array<std::uint8_t, 12> r{};
    std::copy(e.begin() + 2, e.end(), r.begin());
    return r;
}

bool HasDots(const TDotFontEntry& e)
{
    for (int r = 0; r < kBuiltInRows; ++r)
        if (e[2 + r])
            return true;
    return false;
}

// Codes that Windows-1252 leaves undefined, the delete control and the
// no-break space: nothing to draw.
bool Blank(int code)
{
    return code == 0x20 || code == 0x7F || code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90
           || code == 0x9D || code == 0xA0;
}

} // namespace

TEST(DotFont, TheGlyphsOfTheDisplayedCharactersAreExactlyTheStoredOnes)
{
    struct Row { char ch; int left, right; std::array<std::uint8_t, 12> rows; };
    const Row table[] = {
        {' ', 0, 6, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {'0', 1, 5, {0x00, 0x1C, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x1C, 0x00, 0x00}},
        {'1', 1, 5, {0x00, 0x08, 0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x3E, 0x00, 0x00}},
        {'2', 1, 5, {0x00, 0x1C, 0x22, 0x20, 0x20, 0x10, 0x08, 0x04, 0x02, 0x3E, 0x00, 0x00}},
        {'3', 1, 5, {0x00, 0x1C, 0x22, 0x20, 0x20, 0x18, 0x20, 0x20, 0x22, 0x1C, 0x00, 0x00}},
        {'4', 1, 5, {0x00, 0x10, 0x18, 0x18, 0x14, 0x14, 0x12, 0x3E, 0x10, 0x38, 0x00, 0x00}},
        {'5', 1, 5, {0x00, 0x3E, 0x02, 0x02, 0x02, 0x1E, 0x20, 0x20, 0x22, 0x1C, 0x00, 0x00}},
        {'6', 1, 5, {0x00, 0x18, 0x04, 0x02, 0x02, 0x1E, 0x22, 0x22, 0x22, 0x1C, 0x00, 0x00}},
        {'7', 1, 5, {0x00, 0x3E, 0x22, 0x20, 0x10, 0x10, 0x08, 0x08, 0x04, 0x04, 0x00, 0x00}},
        {'8', 1, 5, {0x00, 0x1C, 0x22, 0x22, 0x22, 0x1C, 0x22, 0x22, 0x22, 0x1C, 0x00, 0x00}},
        {'9', 1, 5, {0x00, 0x1C, 0x22, 0x22, 0x22, 0x3C, 0x20, 0x20, 0x10, 0x0C, 0x00, 0x00}},
        {'.', 3, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0}},
        {',', 2, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x04, 0}},
        {'-', 1, 5, {0, 0, 0, 0, 0, 0, 0x3E, 0, 0, 0, 0, 0}},
        {'+', 0, 6, {0, 0, 0, 0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08, 0, 0}},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.ch);
        const TDotFontEntry& e = BuiltInDotFontEntry(r.ch);
        EXPECT_EQ(e[0], r.left);
        EXPECT_EQ(e[1], r.right);
        EXPECT_EQ(Rows(e), r.rows);
    }
}

TEST(DotFont, EveryPrintableCodeHasItsOwnGlyphWithinTheCell)
{
    // Pairs that are the same sign twice in the code page.
    const std::set<std::pair<int, int>> sameSign = {
        {Code(QStringLiteral(",")), 0x82},  // comma and single low quotation mark
        {Code(QStringLiteral("-")), 0xAD},  // hyphen and soft hyphen
    };
    std::map<std::array<std::uint8_t, 12>, int> seen;
    for (int code = kBuiltInFirstCode; code < 256; ++code) {
        SCOPED_TRACE(code);
        const TDotFontEntry& e = BuiltInDotFontEntry(code);
        EXPECT_LE(e[0], e[1]);
        EXPECT_LE(e[1], 6);
        if (Blank(code)) {
            EXPECT_FALSE(HasDots(e));
            EXPECT_EQ(e[0], 0);
            EXPECT_EQ(e[1], 6) << "as wide as the blank";
            continue;
        }
        ASSERT_TRUE(HasDots(e)) << "printable code without a glyph";
        std::uint8_t used = 0;
        for (int r = 0; r < kBuiltInRows; ++r)
            used |= e[2 + r];
        EXPECT_EQ(used & 0x80, 0) << "dot outside the 7 columns";
        EXPECT_EQ(used & (1 << e[0]), 1 << e[0]) << "left bound is not the first used column";
        EXPECT_EQ(used >> e[1], 1) << "right bound is not the last used column";
        const auto [it, fresh] = seen.emplace(Rows(e), code);
        if (!fresh) {
            EXPECT_TRUE(sameSign.count({it->second, code})) << "same dots as code " << it->second;
        }
    }
}

TEST(DotFont, GermanLettersCarryTheirMarksAboveTheBaseLetter)
{
    struct Row { QString accented, plain; };
    const Row rows[] = {
        {QStringLiteral("Ä"), QStringLiteral("A")}, {QStringLiteral("Ö"), QStringLiteral("O")},
        {QStringLiteral("Ü"), QStringLiteral("U")}, {QStringLiteral("ä"), QStringLiteral("a")},
        {QStringLiteral("ö"), QStringLiteral("o")}, {QStringLiteral("ü"), QStringLiteral("u")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.accented.toStdString());
        const TDotFontEntry& umlaut = BuiltInDotFontEntry(Code(r.accented));
        const TDotFontEntry& plain = BuiltInDotFontEntry(Code(r.plain));
        // The two dots of the umlaut: a row with exactly two separated dots
        // above the letter's top row, then an empty row.
        int top = 0;
        while (!umlaut[2 + top])
            ++top;
        const std::uint8_t dots = umlaut[2 + top];
        EXPECT_EQ(__builtin_popcount(dots), 2);
        EXPECT_EQ(dots & (dots >> 1), 0) << "the two dots touch";
        EXPECT_EQ(umlaut[2 + top + 1], 0);
        // The letter underneath ends on the same base line as the plain one.
        auto lastRow = [](const TDotFontEntry& e) {
            int r = kBuiltInRows - 1;
            while (!e[2 + r])
                --r;
            return r;
        };
        EXPECT_EQ(lastRow(umlaut), lastRow(plain));
        EXPECT_EQ(umlaut[2 + lastRow(umlaut)], plain[2 + lastRow(plain)]);
    }
    // ß is a letter of its own, not a B.
    const TDotFontEntry& sz = BuiltInDotFontEntry(Code(QStringLiteral("ß")));
    EXPECT_NE(Rows(sz), Rows(BuiltInDotFontEntry('B')));
    EXPECT_NE(sz[2 + 9], 0) << "ß stands on the base line";
}

TEST(CharRaster, BuiltInFontIsChosenByNameInAnyCase)
{
    for (const char* name : {"default", "DEFAULT", "Default"}) {
        TFont f;
        f.Name = QString::fromLatin1(name);
        const TCharRaster r = CharRasterFor(f);
        EXPECT_EQ(r.Height, 12);
        EXPECT_EQ(r.Widest, 7);
        EXPECT_EQ(r.Rows['0'][1], 0x1Cu);
    }
    const TCharRaster& r = BuiltInCharRaster();
    for (int code = 0; code < 32; ++code) {
        EXPECT_EQ(r.Rows[code][0] | r.Rows[code][5], 0u);
        EXPECT_LT(r.Right[code], r.Left[code]) << "control codes take no columns";
    }
}

TEST(CharRaster, AnotherFontIsSampledFromItsDrawing)
{
    TFont f;
    f.Name = QStringLiteral("Liberation Mono");
    f.SetPixelHeight(16);
    const TCharRaster r = SampleCharRaster(f);
    ASSERT_GT(r.Height, 8);
    ASSERT_LE(r.Height, 32);
    ASSERT_GT(r.Widest, 3);
    // "I" and "l" differ, "W" is wider than "i".
    EXPECT_NE(r.Rows['I'], r.Rows['l']);
    EXPECT_GT(r.Right['W'] - r.Left['W'], r.Right['i'] - r.Left['i']);
    // The blank, and every code the font draws no dots for (here the no-break
    // space), gets the blank's width, so it moves the text on and not back.
    for (int code : {0x20, 0xA0}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(r.Left[code], 0);
        EXPECT_EQ(r.Right[code], r.Widest / 2);
    }
    const int p = 2;
    EXPECT_GT(DotTextWidth(r, QByteArray("A\xA0" "B"), true, p), DotTextWidth(r, QByteArray("AB"), true, p));
}
