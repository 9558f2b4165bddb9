#include "support/ConvertError.h"
#include "support/FloatParse.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(FloatParse, AcceptsTheProgramsFloatSyntax)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1", 1.0}, {"  -2.5  ", -2.5}, {"+.5", 0.5}, {"1.", 1.0}, {"2E3", 2000.0},
        {"2e-3", 0.002}, {"00012", 12.0}, {"0.1", 0.1}, {"1e-400", 0.0}, {"-0", 0.0},
        {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const auto& c : cases) {
        double v = -1.0;
        EXPECT_TRUE(TryStrToFloat(QStringView(QString::fromLatin1(c.text)), QChar('.'), v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_TRUE(TryStrToFloat(QByteArrayView(c.text), '.', v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(FloatParse, RejectsEverythingElse)
{
    const char* cases[] = {
        "", "   ", "abc", "1,5", "1.5.2", "1e", "e5", ".", "-", "+-1", "inf", "nan",
        "0x10", "\t1", "1\t", "1 2", "1e400", "1e99999999999999999999", "12a", "\xB9",
    };
    for (const char* c : cases) {
        double v = 0.0;
        EXPECT_FALSE(TryStrToFloat(QByteArrayView(c), '.', v)) << c;
        EXPECT_FALSE(TryStrToFloat(QStringView(QString::fromLatin1(c)), QChar('.'), v)) << c;
    }
}

TEST(FloatParse, TheErrorQuotesTheText)
{
    try {
        StrToFloat(QStringLiteral("abc"), QChar('.'));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'abc' is not a valid floating point value"));
    }
    EXPECT_EQ(StrToFloat(QStringLiteral("1,5"), QChar(',')), 1.5);
    EXPECT_THROW(StrToFloat(QStringLiteral("1.5"), QChar(',')), EConvertError);
}
