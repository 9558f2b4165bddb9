#include "support/FormatReal.h"

#include "support/DecimalDigits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr int kMaxDecimals = 1100;
constexpr int kMaxExponentDecimals = 16; // 17 significant digits say all a double holds
constexpr int kMaxWidth = 65535;

void PadLeft(std::string& text, int width)
{
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
}

std::string FixedForm(double value, int decimals)
{
    TDecimalDigits d = ExactDecimalDigits(value);
    RoundToFractionDigits(d, decimals);
    std::string text = FixedMagnitudeText(d, decimals, '.');
    if (d.Negative && !d.IsZero())
        text.insert(text.begin(), '-');
    return text;
}

// Sign place, d.ddd, "E", sign and four exponent digits, padded to `field`;
// then the exponent is cut to two digits, or the text becomes the overflow
// marker when two do not suffice.
std::string ExponentForm(double value, int field)
{
    const int decimals = std::clamp(field - 9, 1, kMaxExponentDecimals);
    TDecimalDigits d = ExactDecimalDigits(value);
    RoundToSignificantDigits(d, decimals + 1);
    const int exponent = d.IsZero() ? 0 : d.Exponent - 1;
    std::string mantissa = d.IsZero() ? std::string("0") : d.Digits;
    mantissa.resize(static_cast<size_t>(decimals) + 1, '0');

    std::string text(1, d.Negative && !d.IsZero() ? '-' : ' ');
    text += mantissa[0];
    text += '.';
    text.append(mantissa, 1);
    text += 'E';
    text += exponent < 0 ? '-' : '+';
    std::string digits = std::to_string(std::abs(exponent));
    digits.insert(0, 4 - digits.size(), '0');
    text += digits;
    PadLeft(text, field);

    const bool fitsInTwo = digits[0] == '0' && digits[1] == '0';
    text.erase(text.size() - 4, 2);
    if (!fitsInTwo)
        text.assign(text.size(), '*');
    return text;
}

void ZeroFill(std::string& text)
{
    const auto firstNonBlank = text.find_first_not_of(' ');
    if (firstNonBlank == std::string::npos)
        return;
    std::fill(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(firstNonBlank), '0');
    if (text[firstNonBlank] == '-') {
        text[firstNonBlank] = '0';
        text[0] = '-';
    }
}

} // namespace

QString FormatReal(std::int32_t width, std::int32_t decimals, double value)
{
    const int fieldWidth = static_cast<int>(std::min<std::int64_t>(std::llabs(std::int64_t(width)), kMaxWidth));
    std::string text;
    if (!std::isfinite(value)) {
        text = std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
        PadLeft(text, fieldWidth);
        return QString::fromLatin1(text.data(), qsizetype(text.size()));
    }
    if (decimals == -2) {
        text = ExponentForm(value, fieldWidth + 2);
    } else {
        text = FixedForm(value, std::clamp(decimals, 0, kMaxDecimals));
        PadLeft(text, fieldWidth);
    }
    if (width < 0)
        ZeroFill(text);
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}
