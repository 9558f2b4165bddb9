#include "support/FloatParse.h"

#include "support/ConvertError.h"
#include "support/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

// Checks the syntax and rewrites the number as plain ASCII for from_chars,
// which then does the correctly rounded conversion.
template <typename Text, typename Char>
bool Parse(const Text& text, Char separator, double& value)
{
    const qsizetype n = text.size();
    auto at = [&](qsizetype i) -> char16_t { return static_cast<char16_t>(text[i]); };
    auto isDigit = [&](qsizetype i) { return i < n && at(i) >= u'0' && at(i) <= u'9'; };

    qsizetype i = 0;
    while (i < n && at(i) == u' ')
        ++i;
    std::string ascii;
    bool negative = false;
    if (i < n && (at(i) == u'+' || at(i) == u'-')) {
        negative = at(i) == u'-';
        ++i;
    }
    if (negative)
        ascii.push_back('-');

    int mantissaDigits = 0;
    int leadPosition = 0;     // decimal position of the first non-zero digit
    bool seenNonZero = false;
    int integerDigits = 0;
    while (isDigit(i)) {
        const char c = static_cast<char>(at(i++));
        ascii.push_back(c);
        ++mantissaDigits;
        ++integerDigits;
        if (c != '0' && !seenNonZero) {
            seenNonZero = true;
            leadPosition = 0;
        }
        if (seenNonZero)
            ++leadPosition;
    }
    if (i < n && at(i) == static_cast<char16_t>(separator)) {
        ++i;
        ascii.push_back('.');
        int zerosAfterPoint = 0;
        while (isDigit(i)) {
            const char c = static_cast<char>(at(i++));
            ascii.push_back(c);
            ++mantissaDigits;
            if (!seenNonZero) {
                if (c == '0') {
                    ++zerosAfterPoint;
                } else {
                    seenNonZero = true;
                    leadPosition = -zerosAfterPoint;
                }
            }
        }
    }
    if (mantissaDigits == 0)
        return false;

    long long exponent = 0;
    if (i < n && (at(i) == u'E' || at(i) == u'e')) {
        ++i;
        ascii.push_back('e');
        if (i < n && (at(i) == u'+' || at(i) == u'-'))
            ascii.push_back(static_cast<char>(at(i++)));
        if (!isDigit(i))
            return false;
        const bool negativeExponent = ascii.back() == '-';
        while (isDigit(i)) {
            const char c = static_cast<char>(at(i++));
            ascii.push_back(c);
            if (exponent < 100000)
                exponent = exponent * 10 + (c - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && at(i) == u' ')
        ++i;
    if (i != n)
        return false;

    if (!seenNonZero) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    double parsed = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large is an error; too small is as near to zero as a double gets.
        if (leadPosition + exponent > 0)
            return false;
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

} // namespace

bool TryStrToFloat(QStringView text, QChar separator, double& value)
{
    struct Chars {
        QStringView View;
        qsizetype size() const { return View.size(); }
        char16_t operator[](qsizetype i) const { return View[i].unicode(); }
    };
    return Parse(Chars{text}, separator.unicode(), value);
}

bool TryStrToFloat(QByteArrayView text, char separator, double& value)
{
    // As unsigned bytes, so that 8-bit characters never pass for digits.
    struct Bytes {
        QByteArrayView View;
        qsizetype size() const { return View.size(); }
        unsigned char operator[](qsizetype i) const { return static_cast<unsigned char>(View[i]); }
    };
    return Parse(Bytes{text}, static_cast<unsigned char>(separator), value);
}

QString InvalidFloatMessage(const QString& text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

double StrToFloat(const QString& text, QChar separator)
{
    double value = 0.0;
    if (!TryStrToFloat(QStringView(text), separator, value))
        throw EConvertError(InvalidFloatMessage(text));
    return value;
}

double StrToFloat(const QString& text)
{
    return StrToFloat(text, DecimalSeparator());
}
