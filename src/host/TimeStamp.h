#pragma once
// The framework's time stamp: milliseconds since midnight and the day number
// counted from 1 January of year 1 (which is day 1). Messages carry the stamp
// of their sending so that a reply can be matched to its request.

#include <QDateTime>
#include <QtGlobal>

struct TTimeStamp {
    qint32 Time = 0; // milliseconds since midnight
    qint32 Date = 0; // days since 1 January 0001, plus 1

    friend bool operator==(const TTimeStamp&, const TTimeStamp&) = default;
};

TTimeStamp DateTimeToTimeStamp(const QDateTime& moment);
QDateTime TimeStampToDateTime(const TTimeStamp& stamp);
// The stamp of this moment, in local time.
TTimeStamp CurrentTimeStamp();
