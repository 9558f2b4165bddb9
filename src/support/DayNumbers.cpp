#include "support/DayNumbers.h"

#include "support/Errors.h"

#include <cmath>

namespace {

// Day 0 of the day numbers, 30 December 1899, counted from 1 March of year 0;
// the civil calendar arithmetic below starts its years in March so that the
// leap day comes last.
constexpr qint64 kEpochFromMarch0 = 693899;
constexpr qint64 kMsPerDay = 86400000;

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

TCalendarDate DateOfDay(qint64 day)
{
    const qint64 z = day + kEpochFromMarch0;
    const qint64 era = FloorDiv(z, 146097);
    const qint64 doe = z - era * 146097;                                  // [0, 146096]
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // [0, 399]
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);           // [0, 365]
    const qint64 mp = (5 * doy + 2) / 153;                                // March = 0
    TCalendarDate d;
    d.Day = int(doy - (153 * mp + 2) / 5 + 1);
    d.Month = int(mp < 10 ? mp + 3 : mp - 9);
    d.Year = int(yoe + era * 400 + (d.Month <= 2 ? 1 : 0));
    return d;
}

qint64 DayOfDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw Exception(QStringLiteral("%1-%2-%3 is not a valid date").arg(year).arg(month).arg(day));
    const qint64 y = month <= 2 ? year - 1 : year;
    const qint64 era = FloorDiv(y, 400);
    const qint64 yoe = y - era * 400;
    const qint64 mp = month > 2 ? month - 3 : month + 9;
    const qint64 doy = (153 * mp + 2) / 5 + day - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - kEpochFromMarch0;
}

double EncodeDayNumber(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    const qint64 d = DayOfDate(year, month, day);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw Exception(QStringLiteral("%1:%2:%3.%4 is not a valid time of day")
                            .arg(hour)
                            .arg(minute)
                            .arg(second)
                            .arg(millisecond));
    const qint64 ms = ((qint64(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    return double(d) + double(ms) / double(kMsPerDay);
}

bool DecodeDayNumber(double x, TDateTimeParts& parts)
{
    // A coarse test first so that the conversions below stay defined; the
    // exact one follows the rounding, which may carry into the next day.
    if (!std::isfinite(x) || x < kFirstDayNumber - 1 || x >= kLastDayNumber + 1)
        return false;
    const double whole = std::floor(x);
    qint64 day = qint64(whole);
    qint64 ms = std::llround((x - whole) * double(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        ++day;
    }
    if (day < qint64(kFirstDayNumber) || day > qint64(kLastDayNumber))
        return false;
    parts.Date = DateOfDay(day);
    parts.Millisecond = int(ms % 1000);
    parts.Second = int(ms / 1000 % 60);
    parts.Minute = int(ms / 60000 % 60);
    parts.Hour = int(ms / 3600000);
    return true;
}
