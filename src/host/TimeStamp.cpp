#include "host/TimeStamp.h"

namespace {
// QDate counts Julian days; day 1 of the stamp is 1 January 0001 (proleptic
// Gregorian), the first day the framework's calendar knows.
const qint64 kDayOne = QDate(1, 1, 1).toJulianDay();
} // namespace

TTimeStamp DateTimeToTimeStamp(const QDateTime& moment)
{
    TTimeStamp stamp;
    stamp.Date = static_cast<qint32>(moment.date().toJulianDay() - kDayOne + 1);
    stamp.Time = moment.time().msecsSinceStartOfDay();
    return stamp;
}

QDateTime TimeStampToDateTime(const TTimeStamp& stamp)
{
    return QDateTime(QDate::fromJulianDay(kDayOne + stamp.Date - 1), QTime::fromMSecsSinceStartOfDay(stamp.Time));
}

TTimeStamp CurrentTimeStamp()
{
    return DateTimeToTimeStamp(QDateTime::currentDateTime());
}
