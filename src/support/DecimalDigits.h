#pragma once
// Exact decimal digits of a double, rounded half away from zero.
//
// Every number the program shows goes through this: the fixed-point, exponent
// and general formats and FormatReal. A double's binary value always has a
// finite decimal expansion, so we take that expansion exactly and round it as
// a person would on paper: a 5 in the first dropped place rounds away from
// zero (0.125 -> 0.13, 2.5 -> 3). The C library rounds exact halves to even
// instead, which is why it is not used directly.

#include <string>

struct TDecimalDigits {
    bool Negative = false;
    // Significant digits without leading or trailing zeros; empty means zero.
    std::string Digits;
    // Value = 0.d1 d2 d3 ... x 10^Exponent (so 123.4 has Digits "1234", Exponent 3).
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
};

// The exact expansion of a finite value.
TDecimalDigits ExactDecimalDigits(double value);

// Rounds to the given number of digits after the decimal point (>= 0).
void RoundToFractionDigits(TDecimalDigits& d, int fractionDigits);

// Rounds to the given number of significant digits (>= 1).
void RoundToSignificantDigits(TDecimalDigits& d, int significantDigits);

// The magnitude in fixed point: integer digits (at least "0"), then, when
// fractionDigits > 0, the separator and exactly fractionDigits digits.
// The digits must already be rounded to fractionDigits places.
std::string FixedMagnitudeText(const TDecimalDigits& d, int fractionDigits, char separator);
