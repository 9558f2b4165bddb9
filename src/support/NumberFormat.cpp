#include "support/NumberFormat.h"

#include "support/ConvertError.h"
#include "support/DecimalDigits.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <vector>

namespace {

std::atomic<char16_t> gDecimalSeparator{u'.'};

// Beyond these a request can only be a mistake; they keep a bad argument from
// asking for gigabytes of blanks or zeros.
constexpr int kMaxWidth = 65535;
constexpr int kMaxPrecision = 1100;

int ClampWidth(int width) { return std::clamp(width, 0, kMaxWidth); }

QString PadLeft(QString text, int width)
{
    width = ClampWidth(width);
    if (text.size() < width)
        text.prepend(QString(width - text.size(), QLatin1Char(' ')));
    return text;
}

QString NonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString WithSeparator(const std::string& ascii)
{
    QString text = QString::fromLatin1(ascii.data(), qsizetype(ascii.size()));
    const QChar separator = DecimalSeparator();
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

// The sign is shown only when the rounded value is not zero: -0.001 in two
// decimals reads 0.00, not -0.00.
std::string Signed(const TDecimalDigits& d, std::string magnitude)
{
    if (d.Negative && !d.IsZero())
        magnitude.insert(magnitude.begin(), '-');
    return magnitude;
}

std::string FixedText(double value, int decimals)
{
    TDecimalDigits d = ExactDecimalDigits(value);
    RoundToFractionDigits(d, decimals);
    return Signed(d, FixedMagnitudeText(d, decimals, '.'));
}

std::string ExponentDigits(int exponent)
{
    std::string text = std::to_string(std::abs(exponent));
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), '0');
    text.insert(text.begin(), exponent < 0 ? '-' : '+');
    return text;
}

// d.ddd...E+ddd with `significant` digits; `trimZeros` drops trailing zeros of
// the mantissa (the general format does).
std::string ExponentText(double value, int significant, bool trimZeros)
{
    TDecimalDigits d = ExactDecimalDigits(value);
    RoundToSignificantDigits(d, significant);
    const int exponent = d.IsZero() ? 0 : d.Exponent - 1;
    std::string mantissa = d.IsZero() ? std::string("0") : d.Digits;
    if (!trimZeros && static_cast<int>(mantissa.size()) < significant)
        mantissa.append(static_cast<size_t>(significant) - mantissa.size(), '0');
    std::string text(1, mantissa[0]);
    if (mantissa.size() > 1) {
        text.push_back('.');
        text.append(mantissa, 1);
    }
    return Signed(d, text + 'E' + ExponentDigits(exponent));
}

std::string GeneralText(double value, int significant)
{
    TDecimalDigits d = ExactDecimalDigits(value);
    RoundToSignificantDigits(d, significant);
    if (d.IsZero())
        return "0";
    const int integerDigits = std::max(d.Exponent, 1);
    if (integerDigits > significant || std::fabs(value) < 0.00001)
        return ExponentText(value, significant, true);
    const int decimals = std::max(0, static_cast<int>(d.Digits.size()) - d.Exponent);
    return Signed(d, FixedMagnitudeText(d, decimals, '.'));
}

} // namespace

QChar DecimalSeparator()
{
    return QChar(gDecimalSeparator.load(std::memory_order_relaxed));
}

void SetDecimalSeparator(QChar separator)
{
    gDecimalSeparator.store(separator.unicode(), std::memory_order_relaxed);
}

QString FormatFloat(char conversion, int width, int precision, double value)
{
    if (!std::isfinite(value))
        return PadLeft(NonFiniteText(value), width);
    std::string text;
    switch (conversion) {
    case 'f': case 'F':
        text = FixedText(value, precision < 0 ? 2 : std::min(precision, kMaxPrecision));
        break;
    case 'e': case 'E':
        text = ExponentText(value, precision < 0 ? 15 : std::clamp(precision, 1, kMaxPrecision), false);
        break;
    case 'g': case 'G':
        text = GeneralText(value, precision < 0 ? 15 : std::clamp(precision, 1, kMaxPrecision));
        break;
    default:
        throw EConvertError(QStringLiteral("Format '%%%1' is not a real number format").arg(QLatin1Char(conversion)));
    }
    return PadLeft(WithSeparator(text), width);
}

QString FormatInteger(char conversion, int width, int precision, qint64 value)
{
    const int minDigits = std::clamp(precision, 0, kMaxPrecision);
    QString digits;
    bool negative = false;
    switch (conversion) {
    case 'd': case 'D': {
        negative = value < 0;
        // Through the unsigned magnitude, so the most negative value has one.
        const quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        digits = QString::number(magnitude);
        break;
    }
    case 'x': case 'X':
        digits = QString::number(static_cast<quint64>(value), 16).toUpper();
        break;
    default:
        throw EConvertError(QStringLiteral("Format '%%%1' is not an integer format").arg(QLatin1Char(conversion)));
    }
    if (digits.size() < minDigits)
        digits.prepend(QString(minDigits - digits.size(), QLatin1Char('0')));
    if (negative)
        digits.prepend(QLatin1Char('-'));
    return PadLeft(digits, width);
}

namespace {

class TFormatter {
public:
    TFormatter(const QString& pattern, std::initializer_list<TFormatArg> args)
        : pattern_(pattern), args_(args)
    {
    }

    QString Run()
    {
        QString out;
        qsizetype i = 0;
        while (i < pattern_.size()) {
            const QChar c = pattern_[i++];
            if (c != QLatin1Char('%')) {
                out.append(c);
                continue;
            }
            if (i < pattern_.size() && pattern_[i] == QLatin1Char('%')) {
                out.append(QLatin1Char('%'));
                ++i;
                continue;
            }
            out.append(Conversion(i));
        }
        return out;
    }

private:
    [[noreturn]] void Fail() const
    {
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(pattern_));
    }

    const TFormatArg& NextArg()
    {
        if (next_ >= args_.size())
            Fail();
        return args_[next_++];
    }

    // A number in the pattern, or "*" for the next argument.
    std::optional<int> Number(qsizetype& i)
    {
        if (i < pattern_.size() && pattern_[i] == QLatin1Char('*')) {
            ++i;
            const auto* n = std::get_if<qint64>(&NextArg().Value());
            if (!n)
                Fail();
            return static_cast<int>(std::clamp<qint64>(*n, -kMaxWidth, kMaxWidth));
        }
        if (i >= pattern_.size() || pattern_[i] < QLatin1Char('0') || pattern_[i] > QLatin1Char('9'))
            return std::nullopt;
        qint64 value = 0;
        while (i < pattern_.size() && pattern_[i] >= QLatin1Char('0') && pattern_[i] <= QLatin1Char('9')) {
            value = std::min<qint64>(value * 10 + (pattern_[i].unicode() - '0'), kMaxWidth);
            ++i;
        }
        return static_cast<int>(value);
    }

    QString Conversion(qsizetype& i)
    {
        bool leftJustify = false;
        if (i < pattern_.size() && pattern_[i] == QLatin1Char('-')) {
            leftJustify = true;
            ++i;
        }
        int width = Number(i).value_or(0);
        if (width < 0) { // a negative "*" width justifies left, as in C
            leftJustify = true;
            width = -width;
        }
        int precision = -1; // not given, or a negative "*": the default
        if (i < pattern_.size() && pattern_[i] == QLatin1Char('.')) {
            ++i;
            precision = std::max(Number(i).value_or(0), -1);
        }
        if (i >= pattern_.size())
            Fail();
        const char type = static_cast<char>(pattern_[i++].toLower().toLatin1());
        const auto& value = NextArg().Value();

        QString text;
        switch (type) {
        case 'd': case 'x':
            if (const auto* n = std::get_if<qint64>(&value))
                text = FormatInteger(type, 0, precision, *n);
            else
                Fail();
            break;
        case 'f': case 'e': case 'g':
            if (const auto* r = std::get_if<double>(&value))
                text = FormatFloat(type, 0, precision, *r);
            else if (const auto* n = std::get_if<qint64>(&value))
                text = FormatFloat(type, 0, precision, static_cast<double>(*n));
            else
                Fail();
            break;
        case 's':
            if (const auto* s = std::get_if<QString>(&value))
                text = precision >= 0 ? s->left(precision) : *s;
            else
                Fail();
            break;
        default:
            Fail();
        }
        width = ClampWidth(width);
        if (text.size() < width) {
            const QString fill(width - text.size(), QLatin1Char(' '));
            text = leftJustify ? text + fill : fill + text;
        }
        return text;
    }

    const QString& pattern_;
    std::vector<TFormatArg> args_;
    size_t next_ = 0;
};

} // namespace

QString Format(const QString& pattern, std::initializer_list<TFormatArg> args)
{
    return TFormatter(pattern, args).Run();
}
