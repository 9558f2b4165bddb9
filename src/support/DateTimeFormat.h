#pragma once
// Dates and clock times as text: the date-time pattern language of the
// framework, the clock-time labels of durations and the date lines of
// calendar scales. Shared by the scale's labels and the numeric read-out.

#include <QString>
#include <cstdint>

enum TYearLength : std::uint8_t { ylNone, ylYY, ylYYYY };
enum TDateOrder : std::uint8_t { doMMDDYY, doDDMMYY, doYYMMDD };

// Formats a day number (support/DayNumbers.h) with the date-time pattern
// language: yyyy, yy, mm, mmm (the locale's short month name), dd, hh, h, nn,
// ss, zz (milliseconds, at least two digits), zzz (three digits), am/pm (which
// also switches hh and h to the 12-hour clock), text in double or single
// quotes; letters in either case; anything else is copied. Values within 1e-8
// of zero are the epoch. Empty for values without a date in the years 1..9999.
QString FormatDateTimePattern(const QString& pattern, double dayNumber);

// The ftTime label of a value in seconds: a sign place, then hh:nn:ss and,
// when asked, .zzz; the value is taken to the nearest millisecond first.
// Empty for values that are not finite.
QString FormatClockTime(bool withMilliseconds, double seconds);

// The date line shown under time labels.
QString FormatDateLabel(bool monthName, TYearLength yearLength, TDateOrder order, QChar separator,
                        double dayNumber);

// The pieces of patterns: a character that must appear literally (the double
// quote itself goes between single quotes), the year token of a length
// ("yy", "yyyy", none) and the month token (its short name or its number).
QString PatternLiteral(QChar c);
QString YearToken(TYearLength length);
QString MonthToken(bool monthName);

// The pattern of a date in the given order: day, month and year joined by
// the separator. Day labels keep both separators also without a year
// (keepSeparators); the date line under time labels drops the year's.
QString DatePattern(bool monthName, TYearLength yearLength, TDateOrder order, QChar separator,
                    bool keepSeparators);
