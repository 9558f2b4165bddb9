#pragma once
// Time and calendar labels of a scale.
//
// An ftTime scale reads its values as durations in seconds and labels them as
// clock times; an ftDateTime scale reads them as day numbers (days since
// 30 December 1899, the fraction being the time of day) and steps through
// hundredths, seconds, minutes, hours, days, months or years.

#include "scale/ScaleSettings.h"
#include "scale/ScaleTypes.h"
#include "support/DateTimeFormat.h"

#include <QObject>
#include <QString>
#include <functional>

enum TTimeFormat : std::uint8_t { tfHHMMSS, tfHHhMM, tfAMPM };
enum TDateForTime : std::uint8_t { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };

// The date and time label settings of a scale.
class TDTLabel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int TimeFormat READ TimeFormat WRITE SetTimeFormatInt)
    Q_PROPERTY(QString DateSeparator READ DateSeparatorText WRITE SetDateSeparatorText)
    Q_PROPERTY(QString TimeSeparator READ TimeSeparatorText WRITE SetTimeSeparatorText)
    Q_PROPERTY(int YearLength READ YearLength WRITE SetYearLengthInt)
    Q_PROPERTY(bool MonthName READ MonthName WRITE SetMonthName)
    Q_PROPERTY(int DateOrder READ DateOrder WRITE SetDateOrderInt)
    Q_PROPERTY(int DateForTime READ DateForTime WRITE SetDateForTimeInt)

public:
    explicit TDTLabel(QObject* parent = nullptr);

    TTimeFormat TimeFormat() const { return timeFormat_; }
    QChar DateSeparator() const { return dateSeparator_; }
    QChar TimeSeparator() const { return timeSeparator_; }
    TYearLength YearLength() const { return yearLength_; }
    bool MonthName() const { return monthName_; }
    TDateOrder DateOrder() const { return dateOrder_; }
    TDateForTime DateForTime() const { return dateForTime_; }

    // DateOrder and TimeFormat notify on every assignment, the others only on
    // a change.
    void SetTimeFormat(TTimeFormat v);
    void SetDateSeparator(QChar v);
    void SetTimeSeparator(QChar v);
    void SetYearLength(TYearLength v);
    void SetMonthName(bool v);
    void SetDateOrder(TDateOrder v);
    void SetDateForTime(TDateForTime v);

    // Copies all seven settings, then notifies once.
    void Assign(const TDTLabel& other);

    std::function<void()> OnChange;

private:
    void Changed();
    QString DateSeparatorText() const { return QString(dateSeparator_); }
    QString TimeSeparatorText() const { return QString(timeSeparator_); }
    void SetDateSeparatorText(const QString& s) { if (!s.isEmpty()) SetDateSeparator(s[0]); }
    void SetTimeSeparatorText(const QString& s) { if (!s.isEmpty()) SetTimeSeparator(s[0]); }
    // Stored numbers outside an enumeration leave the setting as it is.
    void SetTimeFormatInt(int v) { if (v >= tfHHMMSS && v <= tfAMPM) SetTimeFormat(TTimeFormat(v)); }
    void SetYearLengthInt(int v) { if (v >= ylNone && v <= ylYYYY) SetYearLength(TYearLength(v)); }
    void SetDateOrderInt(int v) { if (v >= doMMDDYY && v <= doYYMMDD) SetDateOrder(TDateOrder(v)); }
    void SetDateForTimeInt(int v) { if (v >= dtNone && v <= dtAllTicks) SetDateForTime(TDateForTime(v)); }

    TTimeFormat timeFormat_ = tfHHMMSS;
    QChar dateSeparator_ = QLatin1Char('-');
    QChar timeSeparator_ = QLatin1Char(':');
    TYearLength yearLength_ = ylYYYY;
    bool monthName_ = true;
    TDateOrder dateOrder_ = doDDMMYY;
    TDateForTime dateForTime_ = dtOnePerDay;
};

// The ftTime pass. Returns false when it declines (the step would be below a
// millisecond or a day and more) and the numeric pass must draw instead.
bool TimeTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter);

// The ftDateTime pass, with its messages for invalid and too small ranges.
void DateTimeTickPass(const TScaleSettings& in, const TDTLabel& format, TTickRecord& record,
                      TTickPainter& painter);
