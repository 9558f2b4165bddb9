#pragma once
// Texts of numeric tick labels: decimals, number format, user texts and the
// scale inscript.

#include <QString>

// The decimals of a linear scale's labels: DecPlaces unless it asks for
// automatic decimals (-2, -3), which follow the size of the range.
int AutoDecimalsLinear(int decPlaces, double high, double low);
// The same for a logarithmic scale; only -2 is automatic there.
int AutoDecimalsLog(int decPlaces, double high, double low);

// decimals >= 0: fixed point; -1: two significant digits with a two-digit
// exponent (" 1.5E+03"; all "*" when the exponent needs more); other negative
// values: the same with the four-digit exponent.
QString FormatTickNumber(int width, int decimals, double value);

// The index-th (1-based) of the texts separated by "|"; beyond the last, the last.
QString UserTickItem(const QString& userTickText, int index);

// The label decorated with the inscript: "&" in the inscript marks where the
// number goes, otherwise the inscript goes in front. An empty label stays empty.
QString ApplyInscript(const QString& label, const QString& inscript);

// The text of a numeric tick of a linear pass before user text or inscript:
// values within 1e-14 of zero (relative to the range) read as zero, and the
// text is cut to 14 characters.
QString LinearTickText(double value, double low, double high, int decimals);

constexpr int kMaxLabelLength = 14;
