#include "CliArguments.h"

#include "app/FieldScan.h"
#include "support/FloatParse.h"

#include <cmath>

namespace {

// The number and the unit after it; the unit is compared without case.
bool SplitUnit(const QString& text, QString& number, QString& unit)
{
    const QString t = text.trimmed();
    int end = int(t.size());
    while (end > 0 && t.at(end - 1).isLetter())
        --end;
    number = t.left(end).trimmed();
    unit = t.mid(end).toLower();
    return !number.isEmpty();
}

// A number in [low, high] of the unit `unit` (which may follow it), or why
// the text is not one; `what` names the quantity, `example` shows one.
std::variant<double, TArgumentError> ParseInRange(const QString& text, const char* what, const char* unit,
                                                  const char* example, double low, double high)
{
    QString number, written;
    double v = 0;
    if (!SplitUnit(text, number, written) || (!written.isEmpty() && written != QString::fromLatin1(unit).toLower())
        || !TryStrToFloat(number, QLatin1Char('.'), v) || !std::isfinite(v))
        return TArgumentError{QStringLiteral("\"%1\" is not a valid %2; give %3, for example %4")
                                  .arg(text, QLatin1String(what), QLatin1String(unit), QLatin1String(example))};
    if (v < low || v > high)
        return TArgumentError{QStringLiteral("the %1 %2 %3 is outside %4 to %5 %3")
                                  .arg(QLatin1String(what), number, QLatin1String(unit))
                                  .arg(low)
                                  .arg(high)};
    return v;
}

} // namespace

std::variant<int, TArgumentError> ParseVoltage(const QString& text)
{
    QString number, unit;
    double v = 0;
    if (!SplitUnit(text, number, unit) || (!unit.isEmpty() && unit != QLatin1String("v"))
        || !TryStrToFloat(number, QLatin1Char('.'), v))
        return TArgumentError{QStringLiteral("\"%1\" is not a voltage; give volts, for example 5000").arg(text)};
    if (v != std::floor(v))
        return TArgumentError{QStringLiteral("the voltage %1 V is not a whole number of volts").arg(number)};
    if (v < kVoltageMinimum || v > kVoltageMaximum)
        return TArgumentError{QStringLiteral("the voltage %1 V is outside %2 to %3 V")
                                  .arg(number).arg(kVoltageMinimum).arg(kVoltageMaximum)};
    return int(v);
}

std::variant<int, TArgumentError> ParseField(const QString& text)
{
    QString number, unit;
    double v = 0;
    if (!SplitUnit(text, number, unit) || (!unit.isEmpty() && unit != QLatin1String("mt") && unit != QLatin1String("t"))
        || !TryStrToFloat(number, QLatin1Char('.'), v))
        return TArgumentError{
            QStringLiteral("\"%1\" is not a magnetic field; give millitesla, for example 250 or 250mT").arg(text)};
    const double millitesla = unit == QLatin1String("t") ? v * 1000 : v;
    const double tenths = millitesla * 10;
    const double position = std::round(tenths);
    // The slider moves in tenths of a millitesla; a field between two of its
    // positions cannot be set in the window either.
    if (std::fabs(tenths - position) > 1e-6 * std::max(1.0, std::fabs(tenths)))
        return TArgumentError{QStringLiteral("the field %1 is not a multiple of 0.1 mT").arg(text.trimmed())};
    if (position < kFieldMinimum || position > kFieldMaximum)
        return TArgumentError{QStringLiteral("the field %1 is outside 0.1 to 500 mT").arg(text.trimmed())};
    return int(position);
}

std::variant<int, TArgumentError> ParseCharge(const QString& text)
{
    // Electron ionisation makes mostly singly charged ions, some doubly and
    // a few triply charged ones; the tool offers just these.
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    if (t == QLatin1String("1") || t == QLatin1String("2") || t == QLatin1String("3"))
        return t.toInt();
    return TArgumentError{QStringLiteral("the charge \"%1\" is not 1, 2 or 3").arg(text)};
}

QString FieldText(int position)
{
    return QStringLiteral("%1.%2 mT").arg(position / 10).arg(position % 10);
}

std::variant<TDetectorKind, TArgumentError> ParseDetector(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("classic"))
        return TDetectorKind::Classic;
    if (t == QLatin1String("slit"))
        return TDetectorKind::Slit;
    if (t == QLatin1String("plate"))
        return TDetectorKind::Plate;
    return TArgumentError{QStringLiteral("the detector \"%1\" is not classic, slit or plate").arg(text)};
}

std::variant<double, TArgumentError> ParseSourceSlit(const QString& text)
{
    return ParseInRange(text, "source slit width", "mm", "0.5", kSourceSlitLowest, kSourceSlitHighest);
}

std::variant<double, TArgumentError> ParseDetectorSlit(const QString& text)
{
    return ParseInRange(text, "detector slit width", "mm", "0.5", kDetectorSlitLowest, kDetectorSlitHighest);
}

std::variant<double, TArgumentError> ParseEnergySpread(const QString& text)
{
    return ParseInRange(text, "energy spread", "V", "20", 0, kEnergySpreadHighest);
}

std::variant<double, TArgumentError> ParseAngularSpread(const QString& text)
{
    return ParseInRange(text, "angular spread", "mrad", "2", 0, kAngularSpreadHighest);
}
