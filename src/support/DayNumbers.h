#pragma once
// Day numbers: the calendar values of date-time scales.
//
// A day number counts days since 30 December 1899 (day 0); its fraction is the
// time of day. On an axis the values run linearly, also before 1899: the date
// of x is floor(x) and its time of day x - floor(x), so -0.75 is
// 29 December 1899, 06:00. (Stored dates of the framework keep the time of day
// of dates before 1899 with the day's sign; an axis cannot, since its values
// must grow steadily from left to right.) The calendar is the Gregorian one,
// extended backwards, for the years 1 to 9999.

#include <QtGlobal>

// 1 January 0001 and 31 December 9999, the first and last day that has a label.
constexpr double kFirstDayNumber = -693593;
constexpr double kLastDayNumber = 2958465;

struct TCalendarDate {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
};

struct TDateTimeParts {
    TCalendarDate Date;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// The date of a whole day number (within about ±10^11 days).
TCalendarDate DateOfDay(qint64 day);

// The day number of a date. Months and days outside their range raise
// Exception, as do years outside 1..9999.
qint64 DayOfDate(int year, int month, int day);

// The day number of a date and time of day; raises Exception for an invalid
// date or a time outside 00:00:00.000..23:59:59.999.
double EncodeDayNumber(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                       int millisecond = 0);

// Splits x into date and time of day, the time taken to the nearest
// millisecond (a time that rounds to 24:00 is 00:00 of the next day). False
// when x is not finite or its date falls outside the years 1..9999.
bool DecodeDayNumber(double x, TDateTimeParts& parts);
