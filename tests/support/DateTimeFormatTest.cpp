// Dates and clock times as text: day numbers, the pattern language, clock
// times and the date lines of calendar scales.
#include "support/DateTimeFormat.h"
#include "support/DayNumbers.h"
#include "support/Errors.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

// Readable failure messages for texts.
static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

double Day(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0)
{
    return EncodeDayNumber(y, m, d, h, n, s, ms);
}

// Month names come from the default locale; the tests fix it and put the
// previous one back.
class DateTimeFormat : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(saved_); }

    QLocale saved_;
};

} // namespace

TEST_F(DateTimeFormat, DayNumbersCountFromTheEndOf1899)
{
    struct Case {
        int y, m, d, h, n;
        double dayNumber;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0},        {1900, 1, 1, 0, 0, 2},           {2024, 3, 5, 0, 0, 45356},
        {2024, 3, 5, 6, 0, 45356.25},   {1, 1, 1, 0, 0, -693593},        {9999, 12, 31, 0, 0, 2958465},
        {1899, 12, 29, 6, 0, -0.75},    {1899, 12, 28, 18, 0, -1.25},    {2000, 2, 29, 12, 0, 36585.5},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Day(c.y, c.m, c.d, c.h, c.n), c.dayNumber) << c.y << "-" << c.m << "-" << c.d;
        TDateTimeParts p;
        ASSERT_TRUE(DecodeDayNumber(c.dayNumber, p));
        EXPECT_EQ(p.Date.Year, c.y);
        EXPECT_EQ(p.Date.Month, c.m);
        EXPECT_EQ(p.Date.Day, c.d);
        EXPECT_EQ(p.Hour, c.h);
    }
    // A time that rounds to midnight belongs to the next day.
    TDateTimeParts p;
    ASSERT_TRUE(DecodeDayNumber(45356.9999999999, p));
    EXPECT_EQ(p.Date.Day, 6);
    EXPECT_EQ(p.Hour, 0);
    EXPECT_EQ(p.Millisecond, 0);

    for (double bad : {std::nan(""), double(INFINITY), -double(INFINITY), 2958466.0, -693594.0, 1e300})
        EXPECT_FALSE(DecodeDayNumber(bad, p)) << bad;
    EXPECT_THROW(Day(1900, 2, 29), Exception);
    EXPECT_THROW(Day(2024, 13, 1), Exception);
    EXPECT_THROW(Day(10000, 1, 1), Exception);
    EXPECT_THROW(Day(2024, 1, 1, 24), Exception);
}

TEST_F(DateTimeFormat, PatternLanguage)
{
    const double t = Day(2024, 3, 5, 13, 5, 7, 45);
    struct Case {
        const char* pattern;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"yyyy-mm-dd hh:nn:ss", t, "2024-03-05 13:05:07"},
        {"dd.mm.yy", t, "05.03.24"},
        {"dd mmm yyyy", t, "05 Mar 2024"},
        {"ss.zz", t, "07.45"},
        {"ss.zzz", t, "07.045"},
        {"ss.zz", Day(2024, 3, 5, 0, 0, 1, 500), "01.500"},
        {"h:nnam/pm", t, "1:05pm"},
        {"h:nnam/pm", Day(2024, 3, 5, 0, 30), "12:30am"},
        {"hh:nnam/pm", Day(2024, 3, 5, 12, 0), "12:00pm"},
        {"h:nnam/pm", Day(2024, 3, 5, 11, 59), "11:59am"},
        {"ham/pm", Day(2024, 3, 5, 6), "6am"},
        {"hh:nn", t, "13:05"},
        {"h\"h\"nn", Day(2024, 3, 5, 7, 5), "7h05"},
        {"\"dd\"dd", t, "dd05"},
        {"'yy'yy", t, "yy24"},
        {"\"am/pm\" hh", t, "am/pm 13"},
        {"dd\"-", t, "05-"},
        {"DD.MM.YYYY HH AM/PM", t, "05.03.2024 01 PM"},
        {"q-x/", t, "q-x/"},
        {"yyyy yy", Day(5, 6, 7), "0005 05"},
        // Values a hair from zero are the epoch, not the day before.
        {"dd-mm-yyyy hh:nn:ss.zzz", -1e-9, "30-12-1899 00:00:00.000"},
        {"dd-mm-yyyy hh:nn:ss.zzz", -1e-7, "29-12-1899 23:59:59.991"},
        // Before 1899 the day is floor(x) and the time x - floor(x).
        {"dd-mm-yyyy hh:nn", -0.75, "29-12-1899 06:00"},
        {"dd-mm-yyyy hh:nn", -1.25, "28-12-1899 18:00"},
        {"dd-mm-yyyy hh:nn", -693593, "01-01-0001 00:00"},
        // 08:00 is a third of a day and not quite representable.
        {"hh:nn:ss", 45356 + 1.0 / 3.0, "08:00:00"},
        {"dd-mm-yyyy", std::nan(""), ""},
        {"dd-mm-yyyy", 3000000, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTimePattern(QString::fromUtf8(c.pattern), c.value), QString::fromUtf8(c.expected))
            << c.pattern << " at " << c.value;
}

TEST_F(DateTimeFormat, MonthNamesComeFromTheLocale)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    const QString name = FormatDateTimePattern(QStringLiteral("mmm"), Day(2024, 3, 5));
    EXPECT_EQ(name, german.monthName(3, QLocale::ShortFormat));
    EXPECT_NE(name, QStringLiteral("Mar"));
}

TEST_F(DateTimeFormat, ClockTimes)
{
    struct Case {
        bool ms;
        double seconds;
        const char* expected;
    };
    const Case cases[] = {
        {false, 0, " 00:00:00"},
        {false, 1200, " 00:20:00"},
        {true, 0.2, " 00:00:00.200"},
        {true, 0.005, " 00:00:00.005"},
        {false, -3725, "-01:02:05"},
        {false, 2.7, " 00:00:02"},
        {false, 360000, " 100:00:00"},
        // Tick arithmetic leaves values a hair off whole seconds and zero.
        {true, 0.1 * 30, " 00:00:03.000"},
        {true, 2.9999999999999996, " 00:00:03.000"},
        {false, 1002.9999999999999, " 00:16:43"},
        {true, 0.9996, " 00:00:01.000"},
        {true, -2e-17, " 00:00:00.000"},
        {true, -0.2, "-00:00:00.200"},
        {false, std::nan(""), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatClockTime(c.ms, c.seconds), QString::fromUtf8(c.expected)) << c.seconds;
    EXPECT_TRUE(FormatClockTime(false, 1e20).startsWith(QStringLiteral(" 2777777777777777")));
}

TEST_F(DateTimeFormat, DateLines)
{
    const double d = Day(2024, 3, 5, 18);
    struct Case {
        bool monthName;
        TYearLength year;
        TDateOrder order;
        char16_t separator;
        const char* expected;
    };
    const Case cases[] = {
        {true, ylYYYY, doDDMMYY, u'-', "05-Mar-2024"},
        {false, ylYY, doMMDDYY, u'/', "03/05/24"},
        {false, ylYYYY, doYYMMDD, u'.', "2024.03.05"},
        {true, ylNone, doYYMMDD, u'.', "Mar.05"},
        {true, ylNone, doMMDDYY, u'-', "Mar-05"},
        {false, ylNone, doDDMMYY, u'-', "05-03"},
        {false, ylYY, doDDMMYY, u'"', "05\"03\"24"},
        {false, ylYY, doDDMMYY, u'm', "05m03m24"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateLabel(c.monthName, c.year, c.order, QChar(c.separator), d), QString::fromUtf8(c.expected))
            << c.expected;
}
