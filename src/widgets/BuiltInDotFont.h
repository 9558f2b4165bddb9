#pragma once
// The dot-matrix label's own 7 x 12 font for the character codes 32 to 255
// (Windows-1252), in the stored form: one entry of 14 bytes per code, code 32
// first: the left bound, the right bound (first and last used column), then the
// 12 rows from top to bottom, bit j of a row byte being column j (column 0 is
// the leftmost).
//
// Digits and capitals stand on rows 1 to 9 with row 9 as the base line, small
// letters have their x-height on rows 4 to 9, descenders use rows 10 and 11;
// accented capitals are drawn 7 rows high (rows 3 to 9) so that their accent
// fits above them. A code without dots (the blank, the no-break space and the
// codes Windows-1252 leaves undefined) is as wide as the blank: bounds 0 and 6.

#include <array>
#include <cstdint>

constexpr int kBuiltInFirstCode = 32;
constexpr int kBuiltInCodeCount = 224;
constexpr int kBuiltInRows = 12;
constexpr int kBuiltInColumns = 7;

using TDotFontEntry = std::array<std::uint8_t, 2 + kBuiltInRows>;

// The entry of a code from 32 to 255.
const TDotFontEntry& BuiltInDotFontEntry(int code);
