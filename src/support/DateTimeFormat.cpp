#include "support/DateTimeFormat.h"

#include "support/DayNumbers.h"

#include <QLocale>
#include <cmath>

namespace {

bool TokenAt(const QString& pattern, qsizetype i, QLatin1String token)
{
    return QStringView(pattern).mid(i, token.size()).compare(token, Qt::CaseInsensitive) == 0;
}

bool IsQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// The index after the quoted text that starts at i; an unclosed quote runs to
// the end of the pattern.
qsizetype EndOfQuoted(const QString& pattern, qsizetype i)
{
    const qsizetype close = pattern.indexOf(pattern[i], i + 1);
    return close < 0 ? pattern.size() : close + 1;
}

bool HasAmPm(const QString& pattern)
{
    for (qsizetype i = 0; i < pattern.size();) {
        if (IsQuote(pattern[i]))
            i = EndOfQuoted(pattern, i);
        else if (TokenAt(pattern, i, QLatin1String("am/pm")))
            return true;
        else
            ++i;
    }
    return false;
}

QString Digits(qint64 v, int minDigits)
{
    return QStringLiteral("%1").arg(v, minDigits, 10, QLatin1Char('0'));
}


} // namespace

// A character that must appear literally in a pattern. The double quote
// itself cannot be put between double quotes, so it goes between single ones.
QString PatternLiteral(QChar c)
{
    return c == u'"' ? QStringLiteral("'\"'") : QStringLiteral("\"") + c + QStringLiteral("\"");
}

QString YearToken(TYearLength length)
{
    switch (length) {
    case ylYY:
        return QStringLiteral("yy");
    case ylYYYY:
        return QStringLiteral("yyyy");
    default:
        return {};
    }
}

QString MonthToken(bool monthName)
{
    return monthName ? QStringLiteral("mmm") : QStringLiteral("mm");
}

// Day, month and year in the configured order. Day labels keep both
// separators also without a year, so that the separator then ends or starts
// the label; the date line under time labels drops the year's separator.
QString DatePattern(bool monthName, TYearLength yearLength, TDateOrder order, QChar separator,
                    bool keepSeparators)
{
    const QString d = PatternLiteral(separator);
    const QString m = MonthToken(monthName);
    const QString y = YearToken(yearLength);
    const QString dd = QStringLiteral("dd");
    if (y.isEmpty() && !keepSeparators)
        return order == doDDMMYY ? dd + d + m : m + d + dd;
    switch (order) {
    case doMMDDYY:
        return m + d + dd + d + y;
    case doYYMMDD:
        return y + d + m + d + dd;
    default:
        return dd + d + m + d + y;
    }
}


QString FormatDateTimePattern(const QString& pattern, double dayNumber)
{
    // Rounding in the tick arithmetic leaves values like -1e-12 at the epoch,
    // which would otherwise read as the day before.
    if (std::fabs(dayNumber) < 1e-8)
        dayNumber = 0;
    TDateTimeParts t;
    if (!DecodeDayNumber(dayNumber, t))
        return {};
    const bool twelveHour = HasAmPm(pattern);
    const int clockHour = twelveHour ? (t.Hour % 12 == 0 ? 12 : t.Hour % 12) : t.Hour;

    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (IsQuote(c)) {
            const qsizetype close = pattern.indexOf(c, i + 1);
            const qsizetype textEnd = close < 0 ? pattern.size() : close;
            out += QStringView(pattern).mid(i + 1, textEnd - i - 1);
            i = textEnd + 1;
        } else if (TokenAt(pattern, i, QLatin1String("yyyy"))) {
            out += Digits(t.Date.Year, 4);
            i += 4;
        } else if (TokenAt(pattern, i, QLatin1String("yy"))) {
            out += Digits(t.Date.Year % 100, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("mmm"))) {
            out += QLocale().monthName(t.Date.Month, QLocale::ShortFormat);
            i += 3;
        } else if (TokenAt(pattern, i, QLatin1String("mm"))) {
            out += Digits(t.Date.Month, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("dd"))) {
            out += Digits(t.Date.Day, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("hh"))) {
            out += Digits(clockHour, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("h"))) {
            out += QString::number(clockHour);
            i += 1;
        } else if (TokenAt(pattern, i, QLatin1String("nn"))) {
            out += Digits(t.Minute, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("ss"))) {
            out += Digits(t.Second, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("zzz"))) {
            out += Digits(t.Millisecond, 3);
            i += 3;
        } else if (TokenAt(pattern, i, QLatin1String("zz"))) {
            out += Digits(t.Millisecond, 2);
            i += 2;
        } else if (TokenAt(pattern, i, QLatin1String("am/pm"))) {
            const bool upper = c.isUpper();
            out += t.Hour < 12 ? (upper ? QStringLiteral("AM") : QStringLiteral("am"))
                               : (upper ? QStringLiteral("PM") : QStringLiteral("pm"));
            i += 5;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString FormatClockTime(bool withMilliseconds, double seconds)
{
    if (!std::isfinite(seconds))
        return {};
    const double c = std::fabs(seconds);
    qint64 hours, minutes, secs, ms;
    // Whole milliseconds first, so that a tick value a hair below a full
    // second (0.1 added up thirty times) reads as that second and never as
    // ".1000". Beyond 2^53 ms the value has no fraction left to round.
    if (c < 9.0e15) {
        const qint64 total = std::llround(c * 1000.0);
        hours = total / 3600000;
        minutes = total / 60000 % 60;
        secs = total / 1000 % 60;
        ms = total % 1000;
    } else {
        hours = -1;
        minutes = qint64(std::fmod(std::floor(c / 60.0), 60.0));
        secs = qint64(std::fmod(c, 60.0));
        ms = 0;
    }
    const QString hourText = hours >= 0 ? Digits(hours, 2) : QString::number(std::floor(c / 3600.0), 'f', 0);
    const bool isZero = hours == 0 && minutes == 0 && secs == 0 && ms == 0;
    QString text = seconds < 0 && !isZero ? QStringLiteral("-") : QStringLiteral(" ");
    text += hourText + u':' + Digits(minutes, 2) + u':' + Digits(secs, 2);
    if (withMilliseconds)
        text += u'.' + Digits(ms, 3);
    return text;
}

QString FormatDateLabel(bool monthName, TYearLength yearLength, TDateOrder order, QChar separator,
                        double dayNumber)
{
    return FormatDateTimePattern(DatePattern(monthName, yearLength, order, separator, false), dayNumber);
}
