#include "widgets/NumLabFormat.h"

#include "support/DateTimeFormat.h"
#include "support/DayNumbers.h"
#include "support/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kMin32 = -2147483648.0;
constexpr double kMaxSigned32 = 2147483647.0;
constexpr double kMaxUnsigned32 = 4294967295.0;
// The rounded value must fit a 64-bit integer; 2^63 itself does not.
constexpr double kLimit64 = 9223372036854775808.0;

const QChar kDegree(0x00B0);

bool In32Bits(double v) { return v >= kMin32 && v <= kMaxUnsigned32; }

std::optional<qint64> Rounded64(double v)
{
    const double r = RoundHalfEven(v);
    if (!(r > -kLimit64 && r < kLimit64)) // also false for NaN
        return std::nullopt;
    return qint64(r);
}

// The lowest `digits` digits of the low 32 bits in base 2^bitsPerDigit,
// leading zeros kept.
QString LowDigits(qint64 rounded, int digits, int bitsPerDigit)
{
    const quint32 low = quint32(quint64(rounded) & 0xFFFFFFFFu);
    QString text(digits, QLatin1Char('0'));
    for (int i = 0; i < digits; ++i) {
        const int shift = i * bitsPerDigit;
        const quint32 digit = shift < 32 ? (low >> shift) & ((1u << bitsPerDigit) - 1) : 0;
        text[digits - 1 - i] = QLatin1Char(char('0' + digit));
    }
    return text;
}

bool StartsWithSixty(const QString& field)
{
    return field.trimmed().startsWith(QLatin1String("60"));
}

bool HasNonZeroDigit(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
}

// Degrees with minutes, or with minutes and seconds. The whole degrees come
// from the absolute value and get the sign back in front, so that -0.5 reads
// -0° 30.0' and not 0° 30.0'. A fraction that rounds up to 60 carries into
// the next unit (12.99999 with one decimal is 13° 0.0', not 12° 60.0').
QString DegreesText(double value, int decimals, bool withSeconds)
{
    const double a = std::fabs(value);
    double whole = std::floor(a);
    const double minutes = (a - whole) * 60;
    QString tail;
    if (!withSeconds) {
        QString m = FormatFloat('f', decimals + 3, decimals, minutes);
        if (StartsWithSixty(m)) {
            whole += 1;
            m = FormatFloat('f', decimals + 3, decimals, 0.0);
        }
        tail = m + QLatin1Char('\'');
    } else {
        int wholeMinutes = int(std::floor(minutes));
        QString s = FormatFloat('f', decimals + 3, decimals, (minutes - wholeMinutes) * 60);
        if (StartsWithSixty(s)) {
            s = FormatFloat('f', decimals + 3, decimals, 0.0);
            if (++wholeMinutes == 60) {
                wholeMinutes = 0;
                whole += 1;
            }
        }
        tail = FormatInteger('d', 2, 0, wholeMinutes) + QStringLiteral("' ") + s + QLatin1Char('"');
    }
    const QString degrees = FormatFloat('f', 1, 0, whole);
    const bool negative = value < 0 && (HasNonZeroDigit(degrees) || HasNonZeroDigit(tail));
    return (negative ? QStringLiteral("-") : QString()) + degrees + kDegree + QLatin1Char(' ') + tail;
}

std::optional<QString> TypeText(double v, const TNumLabFormat& f)
{
    const int p = std::clamp(f.Precision, 0, 15);
    switch (f.DisplayType) {
    case dtFloat: return FormatFloat('g', 1, p, v);
    case dtFixP: return FormatFloat('f', 1, p, v);
    case dtExp: return FormatFloat('e', 1, p, v);
    case dtHex: {
        if (!In32Bits(v))
            return std::nullopt;
        const int digits = std::min(p, 8);
        return FormatInteger('x', 1, digits, *Rounded64(v)).right(digits);
    }
    case dtZeroInt:
        if (!(v >= kMin32 && v <= kMaxSigned32))
            return std::nullopt;
        return FormatInteger('d', 1, p, *Rounded64(v));
    case dtInt: {
        const std::optional<qint64> n = Rounded64(v);
        if (!n)
            return std::nullopt;
        return FormatInteger('d', 1, 0, *n);
    }
    case dtDateTime: {
        TDateTimeParts parts;
        if (!DecodeDayNumber(v, parts))
            return std::nullopt;
        return FormatDateTimePattern(f.DTFormat, v);
    }
    case dtState: return f.StateText;
    case dtBin:
        if (!In32Bits(v))
            return std::nullopt;
        return LowDigits(*Rounded64(v), std::min(p, 32), 1);
    case dtOct:
        if (!In32Bits(v))
            return std::nullopt;
        return LowDigits(*Rounded64(v), std::min(p, 11), 3);
    case dtDeg: return FormatFloat('f', 1, std::min(p, 8), v) + kDegree;
    case dtDegMin:
    case dtDegMinSec:
        if (!std::isfinite(v))
            return std::nullopt;
        return DegreesText(v, std::min(p, 8), f.DisplayType == dtDegMinSec);
    }
    return std::nullopt;
}

bool TakesSignRules(TDisplay t)
{
    return t != dtHex && t != dtDateTime && t != dtState && t != dtBin;
}

} // namespace

double RoundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    const double down = std::floor(v);
    const double rest = v - down; // exact for every double
    if (rest > 0.5)
        return down + 1;
    if (rest < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

QString FormatNumLabValue(double value, const TNumLabFormat& format)
{
    const std::optional<QString> typed = TypeText(value, format);
    if (!typed)
        return format.OverflowIndicator;
    QString text = *typed;
    if (TakesSignRules(format.DisplayType)) {
        if (format.Comma)
            text.replace(QLatin1Char('.'), QLatin1Char(','));
        else
            text.replace(QLatin1Char(','), QLatin1Char('.'));
        if (format.ForcePlusSign && value > 0)
            text.prepend(QLatin1Char('+'));
    }
    return text;
}
