#pragma once
// A real as text in a field of fixed width, as the deflection view and the
// scale labels write their numbers.
//
//   FormatReal(1, 1, 220.84)  -> "220.8"
//   FormatReal(6, 1, -2.5)    -> "  -2.5"
//   FormatReal(-6, 1, -2.5)   -> "-002.5"   (negative width: zero fill)
//   FormatReal(10, -2, 1500)  -> "  1.5E+03"
//
// Decimals >= 0: fixed point with that many decimals, rounded half away from
// zero, always "." as the decimal point, right-aligned in at least |Width|
// characters (never cut). Other negative decimals count as 0.
// Decimals = -2: exponent form in a field of |Width| + 2 characters: a sign
// place (blank or "-"), one digit, ".", at least one more digit (as many as
// the field holds, up to 16), "E", the exponent's sign and two digits. An
// exponent that needs three digits makes the whole text "*" of the same
// length: the overflow marker.
// Width < 0: the field is filled with "0" instead of blanks, and a minus sign
// moves in front of the zeros.

#include <QString>
#include <cstdint>

QString FormatReal(std::int32_t width, std::int32_t decimals, double value);
