#include "support/DecimalDigits.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// Number of binary digits after the point in the exact value of |v|; the
// exact decimal expansion has exactly that many decimals.
int FractionBits(double v)
{
    int e = 0;
    const double f = std::frexp(v, &e); // v = f * 2^e, f in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(f, 53));
    const int lowestBit = e - 53 + std::countr_zero(mantissa);
    return lowestBit < 0 ? -lowestBit : 0;
}

void StripZeros(TDecimalDigits& d)
{
    const auto first = d.Digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    d.Digits.erase(0, first);
    d.Exponent -= static_cast<int>(first);
    d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
}

// Keeps the first `keep` digits (keep may be <= 0) and rounds on the next one.
void RoundAtDigit(TDecimalDigits& d, int keep)
{
    if (keep >= static_cast<int>(d.Digits.size()))
        return;
    if (keep < 0) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[static_cast<size_t>(i)] == '9') {
            d.Digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.Digits[static_cast<size_t>(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    StripZeros(d);
}

} // namespace

TDecimalDigits ExactDecimalDigits(double value)
{
    TDecimalDigits d;
    d.Negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || !std::isfinite(magnitude))
        return d;

    // 309 integer digits + point + 1074 decimals at most.
    char buffer[1500];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::fixed, FractionBits(magnitude));
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const auto point = text.find('.');
    const auto integerDigits = point == std::string_view::npos ? text.size() : point;
    d.Digits.reserve(text.size());
    for (char c : text)
        if (c != '.')
            d.Digits.push_back(c);
    d.Exponent = static_cast<int>(integerDigits);
    StripZeros(d);
    return d;
}

void RoundToFractionDigits(TDecimalDigits& d, int fractionDigits)
{
    if (!d.IsZero())
        RoundAtDigit(d, d.Exponent + fractionDigits);
}

void RoundToSignificantDigits(TDecimalDigits& d, int significantDigits)
{
    if (!d.IsZero())
        RoundAtDigit(d, significantDigits);
}

std::string FixedMagnitudeText(const TDecimalDigits& d, int fractionDigits, char separator)
{
    std::string text;
    const int count = static_cast<int>(d.Digits.size());
    auto digitAt = [&](int i) { return i >= 0 && i < count ? d.Digits[static_cast<size_t>(i)] : '0'; };
    if (d.IsZero() || d.Exponent <= 0) {
        text.push_back('0');
    } else {
        for (int i = 0; i < d.Exponent; ++i)
            text.push_back(digitAt(i));
    }
    if (fractionDigits > 0) {
        text.push_back(separator);
        for (int k = 0; k < fractionDigits; ++k)
            text.push_back(d.IsZero() ? '0' : digitAt(d.Exponent + k));
    }
    return text;
}
