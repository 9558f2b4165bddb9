#pragma once
// Text to real in the program's float syntax:
//   [blanks] [+|-] digits [separator digits] [(E|e) [+|-] digits] [blanks]
// with at least one digit before the exponent; "1.", ".5" and "2E3" are
// numbers, "", "   ", "1,5" (with "." as separator), "0x10" and "inf" are not.
// Only the blank (code 32) is skipped around the number; tabs and other
// control characters make the text invalid. A value beyond the range of a
// double is invalid; one too small for it reads as zero.

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

// Raises EConvertError "'text' is not a valid floating point value".
// Without a separator the application's DecimalSeparator() is used.
double StrToFloat(const QString& text);
double StrToFloat(const QString& text, QChar separator);

bool TryStrToFloat(QStringView text, QChar separator, double& value);
// The same over 8-bit text, for readers of data files.
bool TryStrToFloat(QByteArrayView text, char separator, double& value);

// The message of the conversion error for `text`.
QString InvalidFloatMessage(const QString& text);
