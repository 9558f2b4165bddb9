#include "support/ConvertError.h"
#include "support/NumberFormat.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

struct FloatCase {
    char conversion;
    int precision;
    double value;
    const char* expected;
};

class DecimalSeparatorGuard {
public:
    explicit DecimalSeparatorGuard(QChar c) : old_(DecimalSeparator()) { SetDecimalSeparator(c); }
    ~DecimalSeparatorGuard() { SetDecimalSeparator(old_); }

private:
    QChar old_;
};

} // namespace

TEST(NumberFormat, RealConversionsFollowTheProgramsRules)
{
    DecimalSeparatorGuard dot('.');
    const FloatCase cases[] = {
        {'f', 2, 3.14159, "3.14"},
        {'f', 0, 99.6, "100"},
        {'f', 0, 5000.0, "5000"},
        {'f', 2, 0.125, "0.13"},      // an exact half rounds away from zero
        {'f', 2, -0.125, "-0.13"},
        {'f', 0, 2.5, "3"},
        {'f', 2, 2.675, "2.67"},      // the double lies below the half
        {'f', 2, -0.001, "0.00"},     // no minus sign on a zero
        {'f', 1, 1e20, "100000000000000000000.0"},
        {'f', 3, 5e-324, "0.000"},
        {'e', 3, 1234.5, "1.23E+003"},
        {'e', 1, 1234.5, "1E+003"},
        {'e', 4, -0.000123456, "-1.235E-004"},
        {'e', 2, 9.96, "1.0E+001"},   // rounding carries into the exponent
        {'e', 3, 0.0, "0.00E+000"},
        {'e', 3, 1e300, "1.00E+300"},
        {'e', 17, 0.1, "1.0000000000000001E-001"},
        {'g', 15, 1234.5, "1234.5"},
        {'g', 3, 123456.0, "1.23E+005"},
        {'g', 3, 999.5, "1E+003"},    // rounds to four digits left of the point
        {'g', 3, 100.0, "100"},
        {'g', 2, 100.0, "1E+002"},
        {'g', 4, 0.000125, "0.000125"},
        {'g', 4, 0.000001, "1E-006"},
        {'g', 15, 0.1, "0.1"},
        {'g', 17, 0.1, "0.10000000000000001"},
        {'g', 5, -1.5, "-1.5"},
        {'g', 15, 0.0, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.conversion, 1, c.precision, c.value), QString::fromLatin1(c.expected))
            << c.conversion << " precision " << c.precision << " value " << c.value;
}

TEST(NumberFormat, RealsUseTheApplicationsDecimalSeparator)
{
    DecimalSeparatorGuard comma(',');
    EXPECT_EQ(FormatFloat('f', 1, 2, 3.14159), QStringLiteral("3,14"));
    EXPECT_EQ(FormatFloat('e', 1, 3, 1234.5), QStringLiteral("1,23E+003"));
    EXPECT_EQ(FormatFloat('g', 1, 5, 1.25), QStringLiteral("1,25"));
}

TEST(NumberFormat, IntegerConversionsFillWithZerosAfterTheSign)
{
    EXPECT_EQ(FormatInteger('d', 1, 5, 42), QStringLiteral("00042"));
    EXPECT_EQ(FormatInteger('d', 1, 5, -42), QStringLiteral("-00042"));
    EXPECT_EQ(FormatInteger('d', 1, 0, std::numeric_limits<qint64>::min()), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(FormatInteger('x', 1, 4, 255), QStringLiteral("00FF"));
    EXPECT_EQ(FormatInteger('x', 1, 4, -1), QStringLiteral("FFFFFFFFFFFFFFFF"));
    EXPECT_EQ(FormatInteger('x', 1, 0, 0), QStringLiteral("0"));
}

TEST(NumberFormat, WidthPadsOnTheLeftAndNeverCuts)
{
    EXPECT_EQ(FormatFloat('f', 8, 2, 3.14159), QStringLiteral("    3.14"));
    EXPECT_EQ(FormatFloat('f', 2, 2, 314.159), QStringLiteral("314.16"));
    EXPECT_EQ(FormatInteger('d', 6, 3, -7), QStringLiteral("  -007"));
    EXPECT_EQ(FormatFloat('f', 5, 2, std::nan("")), QStringLiteral("  NAN"));
    EXPECT_EQ(FormatFloat('e', 1, 3, -HUGE_VAL), QStringLiteral("-INF"));
}

TEST(NumberFormat, FormatFillsEveryConversionOfAPattern)
{
    DecimalSeparatorGuard dot('.');
    EXPECT_EQ(Format(QStringLiteral("%s: %*.*f V"), {"U", 1, 0, 5000.0}), QStringLiteral("U: 5000 V"));
    EXPECT_EQ(Format(QStringLiteral("[%-6d|%6.1f|%.3E]"), {42, 2.25, 1234.5}), QStringLiteral("[42    |   2.3|1.23E+003]"));
    EXPECT_EQ(Format(QStringLiteral("%*d|"), {-4, 7}), QStringLiteral("7   |"));
    EXPECT_EQ(Format(QStringLiteral("100%% %.2s"), {"abc"}), QStringLiteral("100% ab"));
    EXPECT_EQ(Format(QStringLiteral("%.2f"), {3}), QStringLiteral("3.00")); // an integer where a real goes
    EXPECT_EQ(Format(QStringLiteral("%x"), {255}), QStringLiteral("FF"));
}

TEST(NumberFormat, BadPatternsRaiseTheConversionError)
{
    auto expectError = [](const char* pattern, std::initializer_list<TFormatArg> args) {
        try {
            Format(QString::fromLatin1(pattern), args);
            ADD_FAILURE() << "no error for " << pattern;
        } catch (const EConvertError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromLatin1(pattern))) << e.what();
        }
    };
    expectError("%d", {1.5});     // a real where an integer goes
    expectError("%f", {});        // missing argument
    expectError("%s", {3});
    expectError("%q", {1});       // unknown conversion
    expectError("50%", {});       // the pattern ends inside a conversion
    expectError("%*d", {"x", 1}); // "*" needs an integer
}
