#include "scale/DateTimeLabels.h"

#include "support/DayNumbers.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>

// ---------------------------------------------------------------------------
// Settings

TDTLabel::TDTLabel(QObject* parent) : QObject(parent) {}

void TDTLabel::Changed()
{
    if (OnChange)
        OnChange();
}

// The clock style and the date order notify on every assignment, also of the
// present value, so that assigning either always redraws the owning scale.
void TDTLabel::SetTimeFormat(TTimeFormat v)
{
    timeFormat_ = v;
    Changed();
}

void TDTLabel::SetDateOrder(TDateOrder v)
{
    dateOrder_ = v;
    Changed();
}

void TDTLabel::SetDateSeparator(QChar v)
{
    if (dateSeparator_ == v)
        return;
    dateSeparator_ = v;
    Changed();
}

void TDTLabel::SetTimeSeparator(QChar v)
{
    if (timeSeparator_ == v)
        return;
    timeSeparator_ = v;
    Changed();
}

void TDTLabel::SetYearLength(TYearLength v)
{
    if (yearLength_ == v)
        return;
    yearLength_ = v;
    Changed();
}

void TDTLabel::SetMonthName(bool v)
{
    if (monthName_ == v)
        return;
    monthName_ = v;
    Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v)
{
    if (dateForTime_ == v)
        return;
    dateForTime_ = v;
    Changed();
}

void TDTLabel::Assign(const TDTLabel& other)
{
    timeFormat_ = other.timeFormat_;
    dateSeparator_ = other.dateSeparator_;
    timeSeparator_ = other.timeSeparator_;
    yearLength_ = other.yearLength_;
    monthName_ = other.monthName_;
    dateOrder_ = other.dateOrder_;
    dateForTime_ = other.dateForTime_;
    Changed();
}


// ---------------------------------------------------------------------------
// Tick passes

namespace {

// The passes read MinTicks as the scale's setter leaves it; a value that did
// not pass the setter must not divide by zero or let a pass run away.
int TickIntervals(int minTicks)
{
    return std::clamp(minTicks, 2, 10);
}

// No pass runs longer than this, whatever rounding does to its step.
constexpr int kMaxSteps = 100000;

// ftTime ---------------------------------------------------------------------

struct TTimeStep {
    double Seconds;
    int SubIntervals;
};

constexpr std::array<TTimeStep, 28> kTimeSteps = {{
    {0.001, 5}, {0.002, 4}, {0.005, 5}, {0.01, 5},  {0.02, 4},   {0.05, 5},   {0.1, 5},
    {0.2, 4},   {0.5, 5},   {1, 5},     {2, 4},     {5, 5},      {10, 5},     {20, 4},
    {30, 6},    {60, 6},    {120, 6},   {180, 6},   {300, 5},    {600, 5},    {1200, 6},
    {1800, 6},  {3600, 6},  {7200, 4},  {14400, 4}, {21600, 6},  {43200, 6},  {86400, 6},
}};

// A limit moved outward by a billionth of its value, so that a tick on the
// end of the range survives rounding. `outward` is +1 to move up, -1 down.
double WidenedLimit(double v, int outward)
{
    constexpr double k = 0.999999999;
    if (outward > 0)
        return v > 0 ? v / k : v * k;
    return v >= 0 ? v * k : v / k;
}

// ftDateTime -----------------------------------------------------------------

// The end tests of the date-time passes, in days (under a millisecond).
constexpr double kDayTolerance = 1e-8;
// The first instant that has no label: 1 January 10000. Every date-time pass
// ends before it, also on ranges that the scale accepts up to day 3000000.
constexpr double kEndOfCalendar = kLastDayNumber + 1;

enum class TDateTimeUnit { TooSmall, Hundredths, Seconds, Minutes, Hours, Days, Months, Years };

TDateTimeUnit ChooseUnit(double q, bool vertical)
{
    if (vertical) {
        if (q <= 1.1574074074074074e-07)
            return TDateTimeUnit::TooSmall;
        if (q <= 1.1574074074074073e-05)
            return TDateTimeUnit::Hundredths;
        if (q <= 1.0 / 1440.0)
            return TDateTimeUnit::Seconds;
    } else {
        if (q <= 1.1574e-05)
            return TDateTimeUnit::TooSmall;
        if (q <= 0.00069444)
            return TDateTimeUnit::Seconds;
    }
    if (q <= 0.041667)
        return TDateTimeUnit::Minutes;
    if (q <= 1)
        return TDateTimeUnit::Hours;
    if (q <= 30)
        return TDateTimeUnit::Days;
    if (q > 366)
        return TDateTimeUnit::Years;
    return TDateTimeUnit::Months;
}

struct TClockUnit {
    double PerDay;
    std::array<int, 6> Steps;
    std::array<int, 6> ShortSteps;
};

constexpr TClockUnit kHours{24, {1, 2, 3, 6, 8, 12}, {1, 1, 1, 2, 2, 3}};
constexpr TClockUnit kMinutes{1440, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
constexpr TClockUnit kSeconds{86400, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
constexpr TClockUnit kHundredths{8640000, {1, 2, 5, 10, 20, 50}, {1, 1, 1, 5, 10, 10}};

// The time label of a tick in the given unit and clock style. Hundredths are
// written as three-digit milliseconds: with at least two digits, 50 ms would
// read ".50" and look like half a second.
QString ClockPattern(TDateTimeUnit unit, TTimeFormat style, QChar separator)
{
    const QString x = PatternLiteral(separator);
    const QString h = QStringLiteral("\"h\"");
    switch (style) {
    case tfHHhMM:
        switch (unit) {
        case TDateTimeUnit::Hours: return QStringLiteral("h") + h;
        case TDateTimeUnit::Minutes: return QStringLiteral("h") + h + QStringLiteral("nn");
        case TDateTimeUnit::Seconds: return QStringLiteral("h") + h + QStringLiteral("nn") + x + QStringLiteral("ss");
        default: return QStringLiteral("h") + h + QStringLiteral("nn") + x + QStringLiteral("ss.zzz");
        }
    case tfAMPM:
        switch (unit) {
        case TDateTimeUnit::Hours: return QStringLiteral("ham/pm");
        case TDateTimeUnit::Minutes: return QStringLiteral("h") + x + QStringLiteral("nnam/pm");
        case TDateTimeUnit::Seconds: return QStringLiteral("h") + x + QStringLiteral("nn\".\"ssam/pm");
        default: return QStringLiteral("h") + x + QStringLiteral("nn\".\"ss.zzzam/pm");
        }
    default:
        switch (unit) {
        case TDateTimeUnit::Hours:
        case TDateTimeUnit::Minutes: return QStringLiteral("hh") + x + QStringLiteral("nn");
        case TDateTimeUnit::Seconds: return QStringLiteral("hh") + x + QStringLiteral("nn") + x + QStringLiteral("ss");
        default: return QStringLiteral("hh") + x + QStringLiteral("nn") + x + QStringLiteral("ss.zzz");
        }
    }
}

qint64 PositiveMod(qint64 a, qint64 b)
{
    const qint64 r = a % b;
    return r < 0 ? r + b : r;
}

class TDateTimePass {
public:
    TDateTimePass(const TScaleSettings& in, const TDTLabel& format, TTickRecord& record, TTickPainter& painter)
        : in_(in), format_(format), record_(record), painter_(painter), low_(in.RangeLow), high_(in.RangeHigh)
    {
    }

    void Run()
    {
        const bool valid = low_ <= high_ && low_ >= kFirstDayNumber && high_ <= 3000000;
        const double mid = (low_ + high_) / 2;
        if (!valid) {
            painter_.PlaceMessage(mid, QStringLiteral("invalid DateTime scale"),
                                  {QStringLiteral("invalid"), QStringLiteral("DateTime"), QStringLiteral("scale")});
            return;
        }
        const double q = (high_ - low_) / TickIntervals(in_.MinTicks);
        const TDateTimeUnit unit = ChooseUnit(q, IsVertical(in_.ScaleType));
        switch (unit) {
        case TDateTimeUnit::TooSmall:
            painter_.PlaceMessage(mid, QStringLiteral("DateTime range is below 1 second"),
                                  {QStringLiteral("DateTime"), QStringLiteral("range is"), QStringLiteral("below 1"),
                                   QStringLiteral("second")});
            return;
        case TDateTimeUnit::Hundredths: return ClockPass(kHundredths, unit, q);
        case TDateTimeUnit::Seconds: return ClockPass(kSeconds, unit, q);
        case TDateTimeUnit::Minutes: return ClockPass(kMinutes, unit, q);
        case TDateTimeUnit::Hours: return ClockPass(kHours, unit, q);
        case TDateTimeUnit::Days: return DayPass(q);
        case TDateTimeUnit::Months: return MonthPass();
        case TDateTimeUnit::Years: return YearPass();
        }
    }

private:
    // One tick: recorded, drawn, labelled when it is a main tick, announced.
    void Tick(double v, bool mainTick, const QString& label, const QString* dateLine = nullptr)
    {
        record_.Add(v);
        painter_.DrawTick(v, mainTick);
        if (mainTick) {
            painter_.PlaceLabel(v, label);
            if (dateLine)
                painter_.PlaceDateLine(v, *dateLine);
        }
        painter_.TickDrawn(v);
    }

    bool BeforeRange(double v) const { return v < low_ - kDayTolerance; }
    bool PastRange(double v) const { return !(v - high_ < kDayTolerance) || v >= kEndOfCalendar; }

    void ClockPass(const TClockUnit& unit, TDateTimeUnit which, double q)
    {
        const double u = unit.PerDay;
        // A thousandth of a unit of room: a range of 2 s that starts at noon
        // of some day measures 49.999996 hundredths per interval in day
        // numbers and must still get the 50-hundredths step that it gets at
        // midnight of day 0.
        int index = 0;
        for (int i = 0; i < int(unit.Steps.size()); ++i)
            if (unit.Steps[i] <= u * q + 1e-3)
                index = i;
        const qint64 step = unit.Steps[index];
        const qint64 shortStep = unit.ShortSteps[index];

        // The first instant at or after RangeLow on a multiple of the step,
        // counted in units from its midnight. A RangeLow that lies a hair past
        // a whole unit (08:00 as 1/3 of a day) counts as on it.
        const double midnight = std::floor(low_);
        const double units = (low_ - midnight) * u;
        const qint64 c = std::max<qint64>(0, qint64(std::ceil(units - kDayTolerance * u)));
        const qint64 onStep = c % step == 0 ? c : c + step - c % step;
        double first = midnight + double(onStep) / u;

        const double mainDays = double(step) / u;
        const double shortDays = double(shortStep) / u;
        if (in_.ShortTicks) {
            int back = 0;
            while (back < step / shortStep && first - back * shortDays > low_)
                ++back;
            first -= back * shortDays;
        }
        const double advance = in_.ShortTicks ? shortDays : mainDays;

        const QString pattern = ClockPattern(which, format_.TimeFormat(), format_.TimeSeparator());
        bool firstMain = true;
        int lastDateLineDay = 0;
        for (int k = 0; k < kMaxSteps; ++k) {
            // From the first value each time: adding the step up would let a
            // hundredths scale drift by whole milliseconds.
            const double v = first + k * advance;
            if (PastRange(v))
                break;
            if (BeforeRange(v))
                continue;
            const double inSteps = v / mainDays;
            const bool mainTick = !in_.ShortTicks || std::fabs(inSteps - std::nearbyint(inSteps)) <= 0.1;
            if (!mainTick) {
                Tick(v, false, {});
                continue;
            }
            TDateTimeParts parts;
            DecodeDayNumber(v, parts);
            bool withDate = false;
            switch (format_.DateForTime()) {
            case dtOnePerChart: withDate = firstMain; break;
            case dtOnePerDay: withDate = firstMain || parts.Date.Day != lastDateLineDay; break;
            case dtAllTicks: withDate = true; break;
            default: break;
            }
            firstMain = false;
            const QString label = FormatDateTimePattern(pattern, v);
            if (withDate) {
                lastDateLineDay = parts.Date.Day;
                const QString date = FormatDateLabel(format_.MonthName(), format_.YearLength(), format_.DateOrder(),
                                                     format_.DateSeparator(), v);
                Tick(v, true, label, &date);
            } else {
                Tick(v, true, label);
            }
        }
    }

    void DayPass(double q)
    {
        if (low_ > kLastDayNumber)
            return;
        static constexpr std::array<qint64, 6> kSteps = {1, 2, 3, 7, 14, 28};
        qint64 step = 1;
        for (qint64 s : kSteps)
            if (double(s) <= q)
                step = s;
        const qint64 lowDay = qint64(std::floor(low_));
        const qint64 jan1 = DayOfDate(DateOfDay(lowDay).Year, 1, 1);
        const qint64 first = jan1 + qint64(std::trunc(low_ - double(jan1))) / step * step;
        const qint64 phase = PositiveMod(first, step);
        const qint64 advance = in_.ShortTicks ? (step <= 7 ? 1 : 7) : step;
        const QString pattern = DatePattern(format_.MonthName(), format_.YearLength(), format_.DateOrder(),
                                            format_.DateSeparator(), true);
        for (int k = 0; k < kMaxSteps; ++k) {
            const qint64 day = first + k * advance;
            const double v = double(day);
            if (PastRange(v))
                break;
            if (BeforeRange(v))
                continue;
            const bool mainTick = !in_.ShortTicks || PositiveMod(day, step) == phase;
            Tick(v, mainTick, mainTick ? FormatDateTimePattern(pattern, v) : QString());
        }
    }

    void MonthPass()
    {
        if (low_ > kLastDayNumber)
            return;
        const double monthsPerTick = (high_ - low_) / 30.4375 / TickIntervals(in_.MinTicks);
        static constexpr std::array<int, 5> kSteps = {1, 2, 3, 4, 6};
        int step = 1;
        for (int s : kSteps)
            if (s <= monthsPerTick)
                step = s;
        const TCalendarDate start = DateOfDay(qint64(std::floor(low_)));
        int year = start.Year;
        int month = start.Month;
        auto nextMonth = [&](int n) {
            month += n;
            while (month > 12) {
                month -= 12;
                ++year;
            }
        };
        // Without short ticks the pass starts on the first month of the step
        // that is not before RangeLow (a range that starts on such a 1st keeps
        // its first label).
        if (step > 1 && !in_.ShortTicks)
            while (year <= 9999 && (month % step != 1 || BeforeRange(double(DayOfDate(year, month, 1)))))
                nextMonth(1);

        const QString d = PatternLiteral(format_.DateSeparator());
        const QString m = MonthToken(format_.MonthName());
        const QString y = YearToken(format_.YearLength());
        const QString pattern = format_.DateOrder() == doYYMMDD ? y + d + m : m + d + y;
        for (int k = 0; k < kMaxSteps && year <= 9999; ++k) {
            const double v = double(DayOfDate(year, month, 1));
            if (PastRange(v))
                break;
            if (!BeforeRange(v)) {
                const bool mainTick = !in_.ShortTicks || step == 1 || month % step == 1;
                Tick(v, mainTick, mainTick ? FormatDateTimePattern(pattern, v) : QString());
            }
            nextMonth(in_.ShortTicks ? 1 : step);
        }
    }

    void YearPass()
    {
        if (low_ > kLastDayNumber)
            return;
        const double a = std::max(1.0, (high_ - low_) / 365.25 / TickIntervals(in_.MinTicks));
        // Decade and mantissa by division, so that a quotient of exactly 2 or
        // 20 years has the mantissa 2 and not 1.9999999999999996.
        double decade = std::pow(10.0, std::floor(std::log10(a)));
        double mantissa = a / decade;
        if (mantissa >= 10) {
            decade *= 10;
            mantissa /= 10;
        } else if (mantissa < 1) {
            decade /= 10;
            mantissa *= 10;
        }
        const int f = mantissa < 2 ? 1 : mantissa < 5 ? 2 : 5;
        const qint64 mainStep = std::clamp<qint64>(qint64(std::trunc(decade)) * f, 1, 10000);
        const qint64 step = !in_.ShortTicks || mainStep <= 1 ? mainStep
                                                             : std::llround(double(mainStep) / (f == 5 ? 5 : 2));

        const int lowYear = DateOfDay(qint64(std::floor(low_))).Year;
        qint64 year = (lowYear + step - 1) / step * step;
        if (year == lowYear && low_ > double(DayOfDate(lowYear, 1, 1)) + kDayTolerance)
            year += step;

        QString pattern;
        if (format_.YearLength() == ylYY)
            pattern = QStringLiteral("yy");
        else if (format_.YearLength() == ylYYYY)
            pattern = QStringLiteral("yyyy");
        for (int k = 0; k < kMaxSteps && year <= 9999; ++k, year += step) {
            const double v = double(DayOfDate(int(year), 1, 1));
            if (PastRange(v))
                break;
            const bool mainTick = !in_.ShortTicks || year % mainStep == 0;
            QString label;
            if (mainTick && !pattern.isEmpty()) {
                label = FormatDateTimePattern(pattern, v);
                if (format_.YearLength() == ylYYYY)
                    while (label.size() > 1 && label.startsWith(u'0'))
                        label.remove(0, 1);
            }
            Tick(v, mainTick, label);
        }
    }

    const TScaleSettings& in_;
    const TDTLabel& format_;
    TTickRecord& record_;
    TTickPainter& painter_;
    const double low_;
    const double high_;
};

} // namespace

bool TimeTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter)
{
    const double low = in.RangeLow;
    const double high = in.RangeHigh;
    const double q = std::fabs(high - low) / TickIntervals(in.MinTicks);
    int index = 0;
    for (int i = int(kTimeSteps.size()); i >= 1; --i)
        if (kTimeSteps[i - 1].Seconds <= q) {
            index = i;
            break;
        }
    // Below a millisecond, or a day and more, and for ranges that are not
    // numbers at all: the numeric pass labels these.
    if (index == 0 || index == int(kTimeSteps.size()))
        return false;

    const TTimeStep& s = kTimeSteps[index - 1];
    const int dir = high > low ? 1 : -1;
    const double mainStep = dir * s.Seconds;
    const double shortStep = mainStep / s.SubIntervals;
    // From about a billion short steps away from 0 on, the limits' slack (a
    // billionth of the value) and the first value's rounding reach further
    // than a short step: the ticks would run far outside the range, up to the
    // step bound, with a label each. The numeric pass labels such values.
    if (std::fmax(std::fabs(low), std::fabs(high)) * 1e-9 > std::fabs(shortStep))
        return false;
    const double first = std::floor(low / mainStep / 0.999999999) * mainStep;
    // Counted from the first value, not from RangeLow: on a reversed range the
    // first value lies a whole step beyond RangeLow, and five spare short
    // steps would then not reach RangeHigh.
    const int count = int(std::min<double>(std::trunc((high - first) / shortStep) + 5, kMaxSteps));

    // The limits give the end ticks a little room: a billionth of the value,
    // and on a limit of 0 a millionth of a short step, so that a tick at 0
    // that rounding left at -2e-17 still counts. A reversed range widens its
    // limits the other way round.
    const double slack = 1e-6 * std::fabs(shortStep);
    const double lower = dir * WidenedLimit(low, -dir) - slack;
    const double upper = dir * WidenedLimit(high, dir) + slack;
    auto inside = [&](double x) { return dir * x >= lower && dir * x <= upper; };

    if (in.ShortTicks)
        for (int k = 0; k <= count; ++k) {
            const double x = first + k * shortStep;
            if (!inside(x))
                continue;
            record.Add(x);
            painter.DrawTick(x, false);
            painter.TickDrawn(x);
        }

    const bool withMilliseconds = index <= 9;
    for (int k = 0; k <= count; ++k) {
        const double x = first + k * shortStep;
        const double inSteps = x / mainStep;
        if (!(std::fabs(inSteps - std::nearbyint(inSteps)) < 0.01) || !inside(x))
            continue;
        if (!in.ShortTicks)
            record.Add(x);
        painter.DrawTick(x, true);
        painter.PlaceLabel(x, FormatClockTime(withMilliseconds, x));
        painter.TickDrawn(x);
    }
    return true;
}

void DateTimeTickPass(const TScaleSettings& in, const TDTLabel& format, TTickRecord& record, TTickPainter& painter)
{
    TDateTimePass(in, format, record, painter).Run();
}
