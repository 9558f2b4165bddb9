// Date and time labels of scales: the settings object and the ftTime and
// ftDateTime tick passes as seen through a painter that records its calls.
// (Day numbers and the pattern language are tested with support.)
#include "scale/DateTimeLabels.h"
#include "support/DayNumbers.h"
#include "support/Errors.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

// Readable failure messages for texts and lists of texts.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct TPainterCall {
    char Kind; // T tick, E tick-drawn event, L label, D date line, M message
    double Value;
    bool Main;
    QString Text;
    QStringList Lines;
};

class TRecordingPainter final : public TTickPainter {
public:
    std::vector<TPainterCall> Calls;

    void DrawTick(double value, bool mainTick) override { Calls.push_back({'T', value, mainTick, {}, {}}); }
    void TickDrawn(double value) override { Calls.push_back({'E', value, false, {}, {}}); }
    void PlaceLabel(double value, const QString& text) override { Calls.push_back({'L', value, false, text, {}}); }
    void PlaceDateLine(double value, const QString& text) override
    {
        Calls.push_back({'D', value, false, text, {}});
    }
    void PlaceMessage(double value, const QString& oneLine, const QStringList& lines) override
    {
        Calls.push_back({'M', value, false, oneLine, lines});
    }

    QStringList Texts(char kind) const
    {
        QStringList out;
        for (const auto& c : Calls)
            if (c.Kind == kind)
                out << c.Text;
        return out;
    }
    std::vector<double> Ticks(bool mainTicks) const
    {
        std::vector<double> out;
        for (const auto& c : Calls)
            if (c.Kind == 'T' && c.Main == mainTicks)
                out.push_back(c.Value);
        return out;
    }
    int Count(char kind) const
    {
        int n = 0;
        for (const auto& c : Calls)
            n += c.Kind == kind;
        return n;
    }
    // The kinds of the calls, a blank before every tick: "TLE TE ...".
    std::string Sequence() const
    {
        std::string s;
        for (const auto& c : Calls) {
            if (c.Kind == 'T' && !s.empty())
                s += ' ';
            s += c.Kind;
        }
        return s;
    }
};

TScaleSettings Input(double low, double high, int minTicks, bool shortTicks = false, TScaleType type = sctXB)
{
    TScaleSettings in;
    in.RangeLow = low;
    in.RangeHigh = high;
    in.MinTicks = minTicks;
    in.ShortTicks = shortTicks;
    in.ScaleType = type;
    return in;
}

double Day(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0)
{
    return EncodeDayNumber(y, m, d, h, n, s, ms);
}

std::string Repeat(const std::string& part, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += (i ? " " : "") + part;
    return s;
}

// Month names come from the default locale; the tests fix it and put the
// previous one back.
class DateTimeLabels : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(saved_); }

    QLocale saved_;
};

} // namespace

TEST_F(DateTimeLabels, SettersNotifyByTheirRule)
{
    struct Case {
        const char* name;
        std::function<void(TDTLabel&)> set;
        int notifications;
    };
    const Case cases[] = {
        {"same date separator", [](TDTLabel& l) { l.SetDateSeparator(u'-'); }, 0},
        {"new date separator", [](TDTLabel& l) { l.SetDateSeparator(u'/'); }, 1},
        {"same time separator", [](TDTLabel& l) { l.SetTimeSeparator(u':'); }, 0},
        {"new time separator", [](TDTLabel& l) { l.SetTimeSeparator(u'.'); }, 1},
        {"same year length", [](TDTLabel& l) { l.SetYearLength(ylYYYY); }, 0},
        {"new year length", [](TDTLabel& l) { l.SetYearLength(ylYY); }, 1},
        {"same month name", [](TDTLabel& l) { l.SetMonthName(true); }, 0},
        {"new month name", [](TDTLabel& l) { l.SetMonthName(false); }, 1},
        {"same date for time", [](TDTLabel& l) { l.SetDateForTime(dtOnePerDay); }, 0},
        {"new date for time", [](TDTLabel& l) { l.SetDateForTime(dtAllTicks); }, 1},
        {"same time format", [](TDTLabel& l) { l.SetTimeFormat(tfHHMMSS); }, 1},
        {"same date order", [](TDTLabel& l) { l.SetDateOrder(doDDMMYY); }, 1},
        {"stored date separator text", [](TDTLabel& l) { l.setProperty("DateSeparator", QStringLiteral("/")); }, 1},
        {"empty separator text", [](TDTLabel& l) { l.setProperty("TimeSeparator", QString()); }, 0},
        {"stored year length out of range", [](TDTLabel& l) { l.setProperty("YearLength", 7); }, 0},
    };
    for (const auto& c : cases) {
        TDTLabel label;
        int n = 0;
        label.OnChange = [&] { ++n; };
        c.set(label);
        EXPECT_EQ(n, c.notifications) << c.name;
    }
}

TEST_F(DateTimeLabels, AssignCopiesAllSettingsAndNotifiesOnce)
{
    TDTLabel source;
    source.SetTimeFormat(tfAMPM);
    source.SetDateSeparator(u'/');
    source.SetTimeSeparator(u'.');
    source.SetYearLength(ylNone);
    source.SetMonthName(false);
    source.SetDateOrder(doYYMMDD);
    source.SetDateForTime(dtAllTicks);
    TDTLabel target;
    int n = 0;
    target.OnChange = [&] { ++n; };
    target.Assign(source);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(target.TimeFormat(), tfAMPM);
    EXPECT_EQ(target.DateSeparator(), u'/');
    EXPECT_EQ(target.TimeSeparator(), u'.');
    EXPECT_EQ(target.YearLength(), ylNone);
    EXPECT_FALSE(target.MonthName());
    EXPECT_EQ(target.DateOrder(), doYYMMDD);
    EXPECT_EQ(target.DateForTime(), dtAllTicks);
}

TEST_F(DateTimeLabels, TimePassLabelsClockTimes)
{
    struct Case {
        const char* name;
        double low, high;
        int minTicks;
        QStringList labels;
    };
    const Case cases[] = {
        {"one hour in 20 minutes", 0, 3600, 3,
         {" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"}},
        {"one second in milliseconds", 0, 1, 5,
         {" 00:00:00.000", " 00:00:00.200", " 00:00:00.400", " 00:00:00.600", " 00:00:00.800",
          " 00:00:01.000"}},
        {"one day in 6 hours", 0, 86400, 4,
         {" 00:00:00", " 06:00:00", " 12:00:00", " 18:00:00", " 24:00:00"}},
        {"reversed keeps both ends", 3600, 0, 3,
         {" 01:00:00", " 00:40:00", " 00:20:00", " 00:00:00"}},
        {"negative up to zero", -1, 0, 5,
         {"-00:00:01.000", "-00:00:00.800", "-00:00:00.600", "-00:00:00.400", "-00:00:00.200",
          " 00:00:00.000"}},
        {"start off the step", 100, 1000, 3, {" 00:05:00", " 00:10:00", " 00:15:00"}},
    };
    for (const auto& c : cases) {
        TRecordingPainter p;
        TTickRecord r;
        ASSERT_TRUE(TimeTickPass(Input(c.low, c.high, c.minTicks), r, p)) << c.name;
        EXPECT_EQ(p.Texts('L'), c.labels) << c.name;
        EXPECT_EQ(p.Sequence(), Repeat("TLE", int(c.labels.size()))) << c.name;
        EXPECT_EQ(r.Count(), int(c.labels.size())) << c.name;
    }
}

TEST_F(DateTimeLabels, TimePassShortTicksComeFirstAndAreRecorded)
{
    TRecordingPainter p;
    TTickRecord r;
    ASSERT_TRUE(TimeTickPass(Input(0, 3600, 3, true), r, p));
    // 200-second short steps, then the four main ticks with their labels.
    EXPECT_EQ(p.Sequence(), Repeat("TE", 19) + " " + Repeat("TLE", 4));
    ASSERT_EQ(r.Count(), 19);
    EXPECT_DOUBLE_EQ(r.Value(2), 200);
    EXPECT_DOUBLE_EQ(r.Value(19), 3600);
}

TEST_F(DateTimeLabels, TimePassKeepsFiftyValues)
{
    TRecordingPainter p;
    TTickRecord r;
    ASSERT_TRUE(TimeTickPass(Input(0, 3600, 10, true), r, p)); // 300 s steps, 60 s short steps
    EXPECT_EQ(p.Count('T'), 61 + 13);
    EXPECT_EQ(r.Count(), 50);
    EXPECT_DOUBLE_EQ(r.Value(50), 2940);
    EXPECT_DOUBLE_EQ(r.Value(51), 0.0);
}

TEST_F(DateTimeLabels, TimePassDeclinesWhatNumbersLabelBetter)
{
    struct Case {
        const char* name;
        double low, high;
        int minTicks;
    };
    const Case cases[] = {
        {"a day per interval", 0, 259200, 3},
        {"more than a day per interval", 0, 1e7, 3},
        {"below a millisecond", 0, 0.002, 3},
        {"equal bounds", 5, 5, 3},
        {"undefined bound", std::nan(""), 10, 3},
        {"infinite bound", 0, INFINITY, 3},
    };
    for (const auto& c : cases) {
        TRecordingPainter p;
        TTickRecord r;
        EXPECT_FALSE(TimeTickPass(Input(c.low, c.high, c.minTicks, true), r, p)) << c.name;
        EXPECT_TRUE(p.Calls.empty()) << c.name;
        EXPECT_EQ(r.Count(), 0) << c.name;
    }
}

TEST_F(DateTimeLabels, SixHourStepsWithDateLines)
{
    const double low = Day(2024, 3, 5);
    struct Case {
        TDateForTime dates;
        QStringList dateLines;
        std::string sequence;
    };
    const Case cases[] = {
        {dtOnePerDay, {"05-Mar-2024", "06-Mar-2024"}, "TLDE TLE TLE TLE TLDE"},
        {dtOnePerChart, {"05-Mar-2024"}, "TLDE TLE TLE TLE TLE"},
        {dtAllTicks,
         {"05-Mar-2024", "05-Mar-2024", "05-Mar-2024", "05-Mar-2024", "06-Mar-2024"},
         "TLDE TLDE TLDE TLDE TLDE"},
        {dtNone, {}, "TLE TLE TLE TLE TLE"},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        format.SetDateForTime(c.dates);
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(low, low + 1, 4), format, r, p);
        EXPECT_EQ(p.Texts('L'), QStringList({"00:00", "06:00", "12:00", "18:00", "00:00"}));
        EXPECT_EQ(p.Texts('D'), c.dateLines);
        EXPECT_EQ(p.Sequence(), c.sequence);
        EXPECT_EQ(r.Count(), 5);
    }
}

TEST_F(DateTimeLabels, ShortTicksBetweenHours)
{
    const double low = Day(2024, 3, 5);
    TDTLabel format;
    TRecordingPainter p;
    TTickRecord r;
    DateTimeTickPass(Input(low, low + 1, 4, true), format, r, p);
    ASSERT_EQ(p.Ticks(true).size(), 5u);
    ASSERT_EQ(p.Ticks(false).size(), 8u); // every 2 h between the 6-hour ticks
    EXPECT_NEAR(p.Ticks(false)[0], low + 2.0 / 24, 1e-9);
    EXPECT_EQ(p.Texts('L').size(), 5);
    EXPECT_EQ(r.Count(), 13);
}

TEST_F(DateTimeLabels, ClockStylesOfTheUnits)
{
    const double day = Day(2024, 3, 5);
    struct Case {
        const char* name;
        double low, high;
        TTimeFormat style;
        QChar separator;
        TScaleType type;
        QStringList firstLabels;
    };
    const Case cases[] = {
        {"minutes, am/pm after noon", day + 13.0 / 24, day + 13.0 / 24 + 20.0 / 1440, tfAMPM, u':', sctXB,
         {"1:00pm", "1:05pm", "1:10pm"}},
        {"minutes, am/pm after midnight", day + 20.0 / 1440, day + 40.0 / 1440, tfAMPM, u':', sctXB,
         {"12:20am", "12:25am", "12:30am"}},
        {"hours, am/pm", day, day + 1, tfAMPM, u':', sctXB, {"12am", "6am", "12pm", "6pm"}},
        {"hours, h style", day, day + 1, tfHHhMM, u':', sctXB, {"0h", "6h", "12h"}},
        {"minutes, h style", day + 13.0 / 24, day + 13.0 / 24 + 20.0 / 1440, tfHHhMM, u':', sctXB,
         {"13h00", "13h05"}},
        {"minutes, own separator", day + 13.0 / 24, day + 13.0 / 24 + 20.0 / 1440, tfHHMMSS, u'.', sctXB,
         {"13.00", "13.05"}},
        {"seconds", day + 0.5, day + 0.5 + 20.0 / 86400, tfHHMMSS, u':', sctXB,
         {"12:00:00", "12:00:05", "12:00:10"}},
        {"seconds, am/pm", day + 0.5, day + 0.5 + 20.0 / 86400, tfAMPM, u':', sctXB,
         {"12:00.00pm", "12:00.05pm"}},
        {"hundredths, vertical", day + 0.5, day + 0.5 + 2.0 / 86400, tfHHMMSS, u':', sctYL,
         {"12:00:00.000", "12:00:00.500", "12:00:01.000", "12:00:01.500", "12:00:02.000"}},
        {"hundredths, h style", day + 0.5, day + 0.5 + 2.0 / 86400, tfHHhMM, u':', sctYR,
         {"12h00:00.000", "12h00:00.500"}},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        format.SetTimeFormat(c.style);
        format.SetTimeSeparator(c.separator);
        format.SetDateForTime(dtNone);
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(c.low, c.high, 4, false, c.type), format, r, p);
        const QStringList labels = p.Texts('L');
        ASSERT_GE(labels.size(), c.firstLabels.size()) << c.name;
        EXPECT_EQ(labels.mid(0, c.firstLabels.size()), c.firstLabels) << c.name;
    }
}

TEST_F(DateTimeLabels, MessagesInsteadOfTicks)
{
    const double noon = Day(2024, 3, 5, 12);
    struct Case {
        const char* name;
        double low, high;
        TScaleType type;
        const char* message;
        int lines;
    };
    const Case cases[] = {
        {"reversed", noon + 1, noon, sctXB, "invalid DateTime scale", 3},
        {"reversed vertical", noon + 1, noon, sctYL, "invalid DateTime scale", 3},
        {"before year 1", -693594, 0, sctXB, "invalid DateTime scale", 3},
        {"beyond the bound", 0, 3000001, sctXB, "invalid DateTime scale", 3},
        {"undefined", std::nan(""), 1, sctXB, "invalid DateTime scale", 3},
        {"infinite", 0, INFINITY, sctYR, "invalid DateTime scale", 3},
        {"2 s horizontal", noon, noon + 2.0 / 86400, sctXB, "DateTime range is below 1 second", 4},
        {"2 s on top", noon, noon + 2.0 / 86400, sctXT, "DateTime range is below 1 second", 4},
        {"equal bounds", noon, noon, sctXB, "DateTime range is below 1 second", 4},
        {"20 ms vertical", noon, noon + 0.02 / 86400, sctYL, "DateTime range is below 1 second", 4},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(c.low, c.high, 4, true, c.type), format, r, p);
        ASSERT_EQ(p.Calls.size(), 1u) << c.name;
        EXPECT_EQ(p.Calls[0].Kind, 'M') << c.name;
        EXPECT_EQ(p.Calls[0].Text, QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(p.Calls[0].Lines.join(u' '), QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(p.Calls[0].Lines.size(), c.lines) << c.name;
        if (std::isfinite(c.low + c.high)) {
            EXPECT_DOUBLE_EQ(p.Calls[0].Value, (c.low + c.high) / 2) << c.name;
        }
        EXPECT_EQ(r.Count(), 0) << c.name;
    }
}

TEST_F(DateTimeLabels, DayLabelsKeepTheirSeparators)
{
    const double low = Day(2024, 3, 1);
    struct Case {
        TYearLength year;
        TDateOrder order;
        bool monthName;
        QStringList labels;
    };
    const Case cases[] = {
        {ylNone, doDDMMYY, true, {"01-Mar-", "04-Mar-", "07-Mar-", "10-Mar-", "13-Mar-"}},
        {ylNone, doMMDDYY, true, {"Mar-01-", "Mar-04-", "Mar-07-", "Mar-10-", "Mar-13-"}},
        {ylNone, doYYMMDD, false, {"-03-01", "-03-04", "-03-07", "-03-10", "-03-13"}},
        {ylYYYY, doDDMMYY, true, {"01-Mar-2024", "04-Mar-2024", "07-Mar-2024", "10-Mar-2024", "13-Mar-2024"}},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        format.SetYearLength(c.year);
        format.SetDateOrder(c.order);
        format.SetMonthName(c.monthName);
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(low, low + 12, 4, true), format, r, p);
        EXPECT_EQ(p.Texts('L'), c.labels);
        EXPECT_EQ(p.Ticks(false).size(), 8u); // the days between
        EXPECT_EQ(r.Count(), 13);
        EXPECT_EQ(p.Count('D'), 0);
    }
}

TEST_F(DateTimeLabels, WeekStepsAcrossTheEpoch)
{
    // Weeks counted from 1 January 1899 land on days -6, 1 and 8; negative
    // and positive day numbers must agree on which days are on the step.
    TDTLabel format;
    format.SetMonthName(false);
    TRecordingPainter p;
    TTickRecord r;
    DateTimeTickPass(Input(-10, 10, 2, true), format, r, p);
    EXPECT_EQ(p.Ticks(true), (std::vector<double>{-6, 1, 8}));
    EXPECT_EQ(p.Texts('L'), QStringList({"24-12-1899", "31-12-1899", "07-01-1900"}));
    EXPECT_EQ(p.Ticks(false).size(), 18u);
}

TEST_F(DateTimeLabels, HoursBeforeTheEpoch)
{
    TDTLabel format;
    TRecordingPainter p;
    TTickRecord r;
    DateTimeTickPass(Input(-1, 0, 4), format, r, p);
    EXPECT_EQ(p.Texts('L'), QStringList({"00:00", "06:00", "12:00", "18:00", "00:00"}));
    EXPECT_EQ(p.Texts('D'), QStringList({"29-Dec-1899", "30-Dec-1899"}));
}

TEST_F(DateTimeLabels, RangeStartingOnAnUnevenDayNumberKeepsItsFirstTick)
{
    // 08:00 is stored as a day number a hair past the hour.
    const double low = 45356 + 1.0 / 3.0;
    for (bool shortTicks : {false, true}) {
        TDTLabel format;
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(low, low + 1.0 / 3.0, 4, shortTicks), format, r, p);
        ASSERT_FALSE(p.Texts('L').isEmpty());
        EXPECT_EQ(p.Texts('L').first(), QStringLiteral("08:00")) << shortTicks;
        EXPECT_EQ(p.Texts('L').last(), QStringLiteral("16:00")) << shortTicks;
    }
}

TEST_F(DateTimeLabels, MonthSteps)
{
    struct Case {
        const char* name;
        double low, high;
        bool shortTicks;
        TDateOrder order;
        bool monthName;
        QStringList labels;
        int shortCount;
    };
    const Case cases[] = {
        {"two months with short ticks", Day(2024, 1, 15), Day(2024, 12, 31), true, doDDMMYY, true,
         {"Mar-2024", "May-2024", "Jul-2024", "Sep-2024", "Nov-2024"}, 6},
        {"two months without short ticks", Day(2024, 1, 15), Day(2024, 12, 31), false, doDDMMYY, true,
         {"Mar-2024", "May-2024", "Jul-2024", "Sep-2024", "Nov-2024"}, 0},
        {"starting on a step month, short ticks", Day(2024, 1, 1), Day(2024, 12, 1), true, doYYMMDD, true,
         {"2024-Jan", "2024-Mar", "2024-May", "2024-Jul", "2024-Sep", "2024-Nov"}, 6},
        {"starting on a step month", Day(2024, 1, 1), Day(2024, 12, 1), false, doYYMMDD, true,
         {"2024-Jan", "2024-Mar", "2024-May", "2024-Jul", "2024-Sep", "2024-Nov"}, 0},
        {"monthly, across a year", Day(2023, 10, 10), Day(2024, 3, 20), false, doMMDDYY, false,
         {"11-2023", "12-2023", "01-2024", "02-2024", "03-2024"}, 0},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        format.SetDateOrder(c.order);
        format.SetMonthName(c.monthName);
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(c.low, c.high, 4, c.shortTicks), format, r, p);
        EXPECT_EQ(p.Texts('L'), c.labels) << c.name;
        EXPECT_EQ(int(p.Ticks(false).size()), c.shortCount) << c.name;
        EXPECT_EQ(r.Count(), int(c.labels.size()) + c.shortCount) << c.name;
    }
}

TEST_F(DateTimeLabels, YearSteps)
{
    struct Case {
        const char* name;
        double low, high;
        int minTicks;
        bool shortTicks;
        TYearLength year;
        QStringList labels;
        int shortCount;
    };
    const Case cases[] = {
        {"decades with 5-year short ticks", Day(2000, 1, 1), Day(2050, 1, 1), 5, true, ylYYYY,
         {"2000", "2010", "2020", "2030", "2040", "2050"}, 5},
        {"two digits", Day(2000, 1, 1), Day(2050, 1, 1), 5, false, ylYY, {"00", "10", "20", "30", "40", "50"}, 0},
        {"no year text", Day(2000, 1, 1), Day(2050, 1, 1), 5, false, ylNone, {"", "", "", "", "", ""}, 0},
        {"a start after 1 January moves on", Day(2000, 1, 2), Day(2050, 1, 1), 4, false, ylYYYY,
         {"2010", "2020", "2030", "2040", "2050"}, 0},
        {"early years without leading zeros", Day(1, 1, 1), Day(100, 1, 1), 2, false, ylYYYY,
         {"20", "40", "60", "80", "100"}, 0},
        {"the last labelled years", Day(9000, 1, 1), 3000000, 2, false, ylYYYY, {"9000", "9500"}, 0},
        {"short ticks up to 9900", Day(9000, 1, 1), 3000000, 2, true, ylYYYY, {"9000", "9500"}, 8},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        format.SetYearLength(c.year);
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(c.low, c.high, c.minTicks, c.shortTicks), format, r, p);
        EXPECT_EQ(p.Texts('L'), c.labels) << c.name;
        EXPECT_EQ(int(p.Ticks(false).size()), c.shortCount) << c.name;
        EXPECT_EQ(p.Count('E'), p.Count('T')) << c.name;
    }
}

TEST_F(DateTimeLabels, PassesEndWithTheYear9999)
{
    struct Case {
        const char* name;
        double low, high;
        double lastTick;
    };
    const Case cases[] = {
        {"hours", 2958465.5, 2958466.5, 2958465 + 22.0 / 24},
        {"days", 2958460, 2958480, 2958465},
        {"months", 2958300, 2959000, Day(9999, 12, 1)},
        {"years", Day(9000, 1, 1), 3000000, Day(9900, 1, 1)},
        {"nothing left to label", 2990000, 3000000, NAN},
    };
    for (const auto& c : cases) {
        TDTLabel format;
        TRecordingPainter p;
        TTickRecord r;
        DateTimeTickPass(Input(c.low, c.high, 4, true), format, r, p);
        std::vector<double> all;
        for (const auto& call : p.Calls)
            if (call.Kind == 'T')
                all.push_back(call.Value);
        if (std::isnan(c.lastTick)) {
            EXPECT_TRUE(all.empty()) << c.name;
            continue;
        }
        ASSERT_FALSE(all.empty()) << c.name;
        EXPECT_NEAR(all.back(), c.lastTick, 1e-6) << c.name;
        for (const QString& label : p.Texts('L'))
            EXPECT_FALSE(label.isEmpty()) << c.name;
    }
}

TEST_F(DateTimeLabels, DateTimePassKeepsFiftyValues)
{
    TDTLabel format;
    TRecordingPainter p;
    TTickRecord r;
    DateTimeTickPass(Input(45356, 45364, 8, true), format, r, p); // 12-hour steps, 3-hour short steps
    EXPECT_EQ(p.Count('T'), 65);
    EXPECT_EQ(r.Count(), 50);
    EXPECT_NEAR(r.Value(50), 45356 + 49 * 3.0 / 24, 1e-9);
}

TEST_F(DateTimeLabels, NastyInputsEndAndStayBounded)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double ranges[][2] = {
        {nan, 1},          {0, nan},           {inf, 0},           {-inf, inf},          {0, 0},
        {1e300, -1e300},   {-1e308, 1e308},    {1e-300, 2e-300},   {tiny, 2 * tiny},     {1e20, 1e20 + 16384},
        {4e21, 4e21 + 524288}, {-693593, 3000000}, {-693593, -693593 + 1e-6}, {2958465, 3000000},
        {3000000 - 1e-3, 3000000}, {-1e-9, 1e-9}, {45356, 45356 + 1e-4}, {86400, 0}, {-86399, 0},
        {0, 863999},
    };
    for (const auto& range : ranges)
        for (int minTicks : {-5, 0, 2, 3, 10, 1000})
            for (bool shortTicks : {false, true})
                for (TScaleType type : {sctXB, sctYL}) {
                    const TScaleSettings in = Input(range[0], range[1], minTicks, shortTicks, type);
                    TDTLabel format;
                    format.SetDateForTime(dtAllTicks);
                    TRecordingPainter dt;
                    TTickRecord dtRecord;
                    DateTimeTickPass(in, format, dtRecord, dt);
                    TRecordingPainter time;
                    TTickRecord timeRecord;
                    TimeTickPass(in, timeRecord, time);
                    for (const auto* p : {&dt, &time}) {
                        EXPECT_LT(p->Calls.size(), 5000u) << range[0] << ".." << range[1] << " " << minTicks;
                        EXPECT_LE(p->Count('M'), 1);
                        for (const auto& call : p->Calls)
                            EXPECT_LE(call.Text.size(), 40) << range[0] << ".." << range[1];
                    }
                    EXPECT_LE(dtRecord.Count(), 50);
                    EXPECT_LE(timeRecord.Count(), 50);
                    // Every tick lies in the range, give or take rounding.
                    const double lo = std::min(range[0], range[1]), hi = std::max(range[0], range[1]);
                    const double slack = 1e-6 * (hi - lo) + 1e-8 * std::max(std::fabs(lo), std::fabs(hi)) + 1e-8;
                    for (const auto* p : {&dt, &time})
                        for (const auto& call : p->Calls)
                            if (call.Kind == 'T') {
                                EXPECT_TRUE(call.Value >= lo - slack && call.Value <= hi + slack)
                                    << call.Value << " in " << range[0] << ".." << range[1];
                            }
                }
}
