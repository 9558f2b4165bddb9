#include "QStringPrinter.h"
#include "support/DayNumbers.h"
#include "support/NumberFormat.h"
#include "widgets/NumLabFormat.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

constexpr char kOverflow[] = "*********";

struct Case {
    TDisplay type;
    int precision;
    double value;
    const char* expected; // UTF-8
    bool comma = false;
    bool plus = false;
};

void Check(const Case& c, const TNumLabFormat& base = {})
{
    TNumLabFormat f = base;
    f.DisplayType = c.type;
    f.Precision = c.precision;
    f.Comma = c.comma;
    f.ForcePlusSign = c.plus;
    EXPECT_EQ(FormatNumLabValue(c.value, f), QString::fromUtf8(c.expected))
        << "type " << int(c.type) << " P " << c.precision << " value " << c.value;
}

} // namespace

TEST(NumLabFormat, FixedFloatAndExponentWithDecimalAndPlusSigns)
{
    const Case cases[] = {
        {dtFixP, 0, 5000.0, "5000"},
        {dtFixP, 0, 99.6, "100"},
        {dtFixP, 2, 3.14159, "3,14", true},
        {dtFixP, 2, 3.14159, "+3,14", true, true},
        {dtFixP, 2, -3.14159, "-3,14", true, true},
        {dtFixP, 2, 0.0, "0.00", false, true}, // zero is not positive
        {dtFloat, 3, 123456.0, "1.23E+005"},
        {dtFloat, 4, 0.000125, "0.000125"},
        {dtFloat, 3, 1.5, "+1,5", true, true},
        {dtExp, 3, 1234.5, "1.23E+003"},
        {dtExp, 3, 1234.5, "+1,23E+003", true, true},
        {dtDeg, 1, 12.5, "12.5°"},
        {dtDeg, 12, 1.0, "1.00000000°"}, // at most 8 decimals
        {dtDeg, 1, 12.5, "+12,5°", true, true},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(NumLabFormat, WithoutCommaAnApplicationCommaBecomesAPoint)
{
    const QChar old = DecimalSeparator();
    SetDecimalSeparator(QLatin1Char(','));
    Check({dtFixP, 2, 3.14159, "3.14"});
    Check({dtFixP, 2, 3.14159, "3,14", true});
    SetDecimalSeparator(old);
}

TEST(NumLabFormat, IntegerTypesRoundTiesToEvenAndKeepTheirLowDigits)
{
    const Case cases[] = {
        {dtHex, 4, 255, "00FF"},
        {dtHex, 4, 65537, "0001"},
        {dtHex, 4, -1, "FFFF"},
        {dtHex, 4, 5e9, kOverflow},
        {dtHex, 0, 255, ""},
        {dtHex, 4, 254.5, "00FE"},
        {dtHex, 4, 255.5, "0100"},
        {dtHex, 12, 4294967295.0, "FFFFFFFF"},
        {dtHex, 8, -2147483648.0, "80000000"},
        {dtHex, 4, 255, "00FF", true, true}, // no signs on hexadecimal
        {dtBin, 4, 6, "0110"},
        {dtBin, 4, 22, "0110"},
        {dtBin, 0, 6, ""},
        {dtBin, 4, 2.5, "0010"},
        {dtBin, 15, -1, "111111111111111"},
        {dtBin, 4, 4294967296.0, kOverflow},
        {dtOct, 3, 8, "010"},
        {dtOct, 15, 4294967295.0, "37777777777"},
        {dtOct, 0, 8, ""},
        {dtZeroInt, 5, 42, "00042"},
        {dtZeroInt, 5, -42, "-00042"},
        {dtZeroInt, 5, 42, "+00042", false, true},
        {dtZeroInt, 5, 3e9, kOverflow},
        {dtZeroInt, 5, 3e9, kOverflow, false, true}, // the indicator stays as it is
        {dtZeroInt, 1, 2147483647.0, "2147483647"},
        {dtInt, 0, 2.5, "2"},
        {dtInt, 0, 3.5, "4"},
        {dtInt, 0, -2.5, "-2"},
        {dtInt, 9, 7, "7"}, // no minimum digit count
        {dtInt, 0, 1e300, kOverflow},
        {dtInt, 0, std::numeric_limits<double>::quiet_NaN(), kOverflow},
        {dtHex, 4, std::numeric_limits<double>::quiet_NaN(), kOverflow},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(NumLabFormat, DegreesMinutesAndSeconds)
{
    const Case cases[] = {
        {dtDegMin, 1, 12.5, "12° 30.0'"},
        {dtDegMin, 1, 12.1, "12°  6.0'"},
        {dtDegMin, 0, 12.5, "12°  30'"}, // a field of 0 + 3 characters
        {dtDegMin, 1, -12.5, "-12° 30.0'"},
        {dtDegMin, 1, 12.5, "12° 30,0'", true},
        {dtDegMin, 1, 12.5, "+12° 30.0'", false, true},
        // The sign of a value between -1 and 0 is kept.
        {dtDegMin, 1, -0.5, "-0° 30.0'"},
        {dtDegMin, 1, -0.0000001, "0°  0.0'"},
        // Minutes that round to 60 carry into the degrees.
        {dtDegMin, 1, 12.99999, "13°  0.0'"},
        {dtDegMinSec, 1, 12.5125, "12° 30' 45.0\""},
        {dtDegMinSec, 2, 1.0 + 1.0 / 60 + 1.5 / 3600, "1°  1'  1.50\""},
        {dtDegMinSec, 0, 10.999999, "11°  0'   0\""},
        {dtDegMinSec, 1, -12.5125, "-12° 30' 45.0\""},
        {dtDegMin, 1, std::numeric_limits<double>::infinity(), kOverflow},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(NumLabFormat, StateAndDateTime)
{
    TNumLabFormat f;
    f.StateText = QStringLiteral("v1.2, off");
    Check({dtState, 2, 5.0, "v1.2, off", true, true}, f);

    f.DTFormat = QStringLiteral("dd.mm.yyyy hh:nn");
    const double day = EncodeDayNumber(2024, 3, 5, 13, 45);
    Check({dtDateTime, 2, day, "05.03.2024 13:45", true, true}, f);
    Check({dtDateTime, 2, 1e12, kOverflow}, f);
    Check({dtDateTime, 2, std::numeric_limits<double>::quiet_NaN(), kOverflow}, f);
}

TEST(NumLabFormat, RoundHalfEven)
{
    const double cases[][2] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, -0}, {-1.5, -2}, {2.4999999999999996, 2},
                               {4503599627370497.0, 4503599627370497.0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c[0]), c[1]) << c[0];
}
