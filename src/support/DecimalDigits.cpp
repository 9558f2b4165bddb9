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
    const auto first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    d.digits.erase(0, first);
    d.exponent -= static_cast<int>(first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

// Keeps the first `keep` digits (keep may be <= 0) and rounds on the next one.
void RoundAtDigit(TDecimalDigits& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    StripZeros(d);
}

} // namespace

TDecimalDigits ExactDecimalDigits(double value)
{
    TDecimalDigits d;
    d.negative = std::signbit(value);
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
    d.digits.reserve(text.size());
    for (char c : text)
        if (c != '.')
            d.digits.push_back(c);
    d.exponent = static_cast<int>(integerDigits);
    StripZeros(d);
    return d;
}

void RoundToFractionDigits(TDecimalDigits& d, int fractionDigits)
{
    if (!d.IsZero())
        RoundAtDigit(d, d.exponent + fractionDigits);
}

void RoundToSignificantDigits(TDecimalDigits& d, int significantDigits)
{
    if (!d.IsZero())
        RoundAtDigit(d, significantDigits);
}

std::string FixedMagnitudeText(const TDecimalDigits& d, int fractionDigits, char separator)
{
    std::string text;
    const int count = static_cast<int>(d.digits.size());
    auto digitAt = [&](int i) { return i >= 0 && i < count ? d.digits[static_cast<size_t>(i)] : '0'; };
    if (d.IsZero() || d.exponent <= 0) {
        text.push_back('0');
    } else {
        for (int i = 0; i < d.exponent; ++i)
            text.push_back(digitAt(i));
    }
    if (fractionDigits > 0) {
        text.push_back(separator);
        for (int k = 0; k < fractionDigits; ++k)
            text.push_back(d.IsZero() ? '0' : digitAt(d.exponent + k));
    }
    return text;
}
