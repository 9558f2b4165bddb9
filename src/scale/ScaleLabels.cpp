#include "scale/ScaleLabels.h"

#include <QStringList>
#include <cmath>
#include <cstdio>

int AutoDecimalsLinear(int decPlaces, double high, double low)
{
    if (decPlaces != -2 && decPlaces != -3)
        return decPlaces;
    const double r = std::fabs(high - low);
    if (!(r < 1000000) || r <= 0.0001)
        return -1;
    if (r >= 100)
        return 0;
    return 2 - int(std::nearbyint(std::log(r) / 2.5));
}

int AutoDecimalsLog(int decPlaces, double high, double low)
{
    if (decPlaces != -2)
        return decPlaces;
    const double max = std::fmax(high, low), min = std::fmin(high, low);
    if (!(max - min < 1000000) || max - min <= 0.0001)
        return -1;
    if (min >= 1)
        return 0;
    // A bound of 0 has no decade (a logarithmic scale whose range was set to
    // reach 0 after it was switched on); scientific labels suit any value.
    if (min == 0)
        return -1;
    return 1 - int(std::nearbyint(std::log10(std::fabs(min))));
}

namespace {

// A sign place, d.d, "E", the exponent's sign and four digits, right-aligned
// in the field.
QString ScientificText(int width, double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1E", std::fabs(value));
    // buf is d.dE+xx or d.dE+xxx; rewrite the exponent with four digits.
    QString text = QString::fromLatin1(buf);
    const int ePos = text.indexOf(QLatin1Char('E'));
    const QString mantissa = text.left(ePos);
    const QChar sign = text[ePos + 1];
    const QString digits = text.mid(ePos + 2).rightJustified(4, QLatin1Char('0'));
    QString s = (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + mantissa + QLatin1Char('E') + sign + digits;
    return s.rightJustified(width + 2, QLatin1Char(' '));
}

} // namespace

QString FormatTickNumber(int width, int decimals, double value)
{
    if (decimals >= 0) {
        if (!std::isfinite(value))
            return QString::number(value);
        return QString::number(value, 'f', decimals);
    }
    QString s = ScientificText(width, value);
    if (decimals != -1 || !std::isfinite(value))
        return s;
    // Two-digit exponent: drop the first two of the four exponent digits; if
    // they are not "00" the number does not fit and reads as stars.
    const int ePos = s.indexOf(QLatin1Char('E'));
    const QString lead = s.mid(ePos + 2, 2);
    s.remove(ePos + 2, 2);
    if (lead != QLatin1String("00"))
        s.fill(QLatin1Char('*'));
    return s;
}

QString UserTickItem(const QString& userTickText, int index)
{
    const QStringList items = userTickText.split(QLatin1Char('|'));
    if (index < 1)
        index = 1;
    return items[std::min<qsizetype>(index, items.size()) - 1];
}

QString ApplyInscript(const QString& label, const QString& inscript)
{
    if (label.isEmpty())
        return label;
    const int amp = inscript.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return inscript + label;
    return inscript.left(amp) + label + inscript.mid(amp + 1);
}

QString LinearTickText(double value, double low, double high, int decimals)
{
    QString text;
    if (std::fabs(value / (high - low)) < 1e-14) {
        if (std::fabs(high - low) <= 100000)
            text = FormatTickNumber(1, decimals, 0.0);
        else
            text = decimals != 0 ? QStringLiteral("0.0") : QStringLiteral("0");
    } else {
        text = FormatTickNumber(1, decimals, value);
    }
    return text.left(kMaxLabelLength);
}
