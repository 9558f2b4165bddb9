#include "support/FormatReal.h"
#include "support/NumberFormat.h"
#include "support/NumberRoutines.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

TEST(FormatReal, FixedAndExponentFormsInTheirFields)
{
    const struct {
        int width;
        int decimals;
        double value;
        const char* expected;
    } cases[] = {
        {1, 1, 220.84, "220.8"},
        {1, 1, 6.96, "7.0"},
        {6, 1, -2.5, "  -2.5"},
        {-6, 1, -2.5, "-002.5"},      // zero fill, the sign in front
        {-6, 1, 2.5, "0002.5"},
        {-3, 1, -2.5, "-2.5"},        // no room to fill
        {1, 0, 0.5, "1"},
        {1, 1, -0.04, "0.0"},
        {1, -1, 2.6, "3"},            // other negative decimals: none
        {1, -2, 1500.0, " 1.5E+03"},
        {10, -2, 1500.0, " 1.500E+03"},
        {-10, -2, -1500.0, "-1.500E+03"},
        {1, -2, -0.00025, "-2.5E-04"},
        {1, -2, 0.0, " 0.0E+00"},
        {1, -2, 9.96, " 1.0E+01"},
        {1, -2, 1.5e150, "********"}, // three exponent digits: the overflow marker
        {10, -2, -1.5e-150, "**********"},
    };
    // The point is part of the field format, whatever the application's separator.
    const QChar separator = DecimalSeparator();
    SetDecimalSeparator(QChar(','));
    for (const auto& c : cases)
        EXPECT_EQ(FormatReal(c.width, c.decimals, c.value), QString::fromLatin1(c.expected))
            << c.width << " " << c.decimals << " " << c.value;
    SetDecimalSeparator(separator);
}

TEST(FloorToInt, LargestIntegerNotAbove)
{
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {
        {2.5, 2}, {-2.5, -3}, {3.0, 3}, {-3.0, -3}, {-0.0, 0}, {-0.4, -1}, {1.999999, 1},
        {1e12, std::numeric_limits<std::int32_t>::max()},
        {-1e12, std::numeric_limits<std::int32_t>::min()},
        {std::nan(""), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloorToInt(c.value), c.expected) << c.value;
}
