#pragma once
// The text of a numeric label: its value formatted by one of 13 display
// types with the program's "%" number rules, then the decimal-sign and
// plus-sign rules. A plain function, so that every format can be checked
// without a window.

#include <QString>
#include <cstdint>

enum TDisplay : std::uint8_t {
    dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtState, dtBin, dtOct,
    dtDeg, dtDegMin, dtDegMinSec
};
constexpr int kDisplayTypeCount = dtDegMinSec + 1;

struct TNumLabFormat {
    TDisplay DisplayType = dtFixP;
    int Precision = 2;          // 0..15: decimals or digits, by type
    bool Comma = false;         // decimal comma instead of point
    bool ForcePlusSign = false; // "+" before positive values
    QString OverflowIndicator = QStringLiteral("*********");
    QString StateText = QStringLiteral("undefined");
    QString DTFormat = QStringLiteral("mmm-dd, yyyy");
};

// The value's text. A value the type cannot show (outside 32 bits for the
// integer types, not finite, a date outside the calendar) gives the overflow
// indicator, shown as it is, without decimal or plus sign.
QString FormatNumLabValue(double value, const TNumLabFormat& format);

// Rounding to the nearest integer with ties to even, as the integer types
// round.
double RoundHalfEven(double value);
