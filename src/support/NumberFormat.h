#pragma once
// The program's "%" number formats and the application's decimal separator.
//
//   FormatFloat('f', 1, 2, 3.14159)   -> "3.14"
//   FormatFloat('e', 1, 3, 1234.5)    -> "1.23E+003"
//   FormatFloat('g', 1, 4, 0.000125)  -> "0.000125"
//   FormatInteger('d', 1, 5, -42)     -> "-00042"
//   FormatInteger('x', 1, 4, 255)     -> "00FF"
//   Format("%s: %*.*f", {"U", 1, 0, 5000.0}) -> "U: 5000"
//
// The rules differ from the C library on purpose:
//   f  exactly `precision` digits after the separator (default 2);
//   e  -d.ddd...E+ddd with `precision` significant digits in all (default 15);
//      the exponent always has a sign and at least three digits;
//   g  `precision` significant digits (default 15), trailing zeros and a
//      trailing separator removed; fixed point while the digits left of the
//      separator are at most `precision` and |value| >= 0.00001, else the e form;
//   d  at least `precision` digits, zero-filled after any minus sign;
//   x  upper-case hexadecimal of the 64-bit two's complement, at least
//      `precision` digits, zero-filled.
// Rounding is half away from zero on the exact value (0.125 -> "0.13").
// `width` is a minimum: the text is blank-filled on the left (on the right
// with the "-" flag of Format) and never cut. A negative precision means
// "not given". Infinite and undefined values read "INF", "-INF" and "NAN".
// f, e and g use DecimalSeparator().

#include <QChar>
#include <QString>
#include <QtGlobal>
#include <initializer_list>
#include <variant>

// Process-wide; "." until changed. The main window sets "." at start so that
// numbers read and look the same whatever the user's locale.
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);

QString FormatFloat(char conversion, int width, int precision, double value);
QString FormatInteger(char conversion, int width, int precision, qint64 value);

// One argument of Format: an integer, a real or a text.
class TFormatArg {
public:
    TFormatArg(int v) : value_(qint64(v)) {}
    TFormatArg(qint64 v) : value_(v) {}
    TFormatArg(double v) : value_(v) {}
    TFormatArg(const QString& v) : value_(v) {}
    TFormatArg(const char* v) : value_(QString::fromUtf8(v)) {}

    const std::variant<qint64, double, QString>& Value() const { return value_; }

private:
    std::variant<qint64, double, QString> value_;
};

// Fills "%" conversions in `pattern`: %[-][width|*][.precision|*]type with the
// types d, x, f, e, g, s (upper or lower case) and "%%" for a percent sign. A
// "*" takes the next argument as the number. Integers are accepted where a
// real is expected, not the other way round. A malformed pattern, a missing
// argument or an argument of the wrong kind raises EConvertError.
QString Format(const QString& pattern, std::initializer_list<TFormatArg> args);
