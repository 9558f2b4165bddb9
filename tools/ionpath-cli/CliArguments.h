#pragma once
// The numbers the command-line tool takes, in the units the main window
// shows: the voltage in volts (3000 to 8000, whole volts, as the voltage
// slider), the field in millitesla (0.1 to 500 mT in steps of 0.1 mT, as the
// field slider's positions 1 to 5000). A unit may follow the number: "V"
// for the voltage, "mT" or "T" for the field ("250", "250mT", "0.25 T").

#include "analysis/SectorInstrument.h"

#include <QString>
#include <variant>

struct TArgumentError {
    QString Message;
};

// The voltage in V, or why the text is not one.
std::variant<int, TArgumentError> ParseVoltage(const QString& text);
// The field slider position (tenths of a millitesla), or why the text is not one.
std::variant<int, TArgumentError> ParseField(const QString& text);
// The ions' charge number: 1, 2 or 3 (as "2" or "+2"), or why the text is not one.
std::variant<int, TArgumentError> ParseCharge(const QString& text);
// A field slider position as the tool writes it: "100.0 mT".
QString FieldText(int position);

// The detector of a scan: "classic", "slit" or "plate".
std::variant<TDetectorKind, TArgumentError> ParseDetector(const QString& text);
// The instrument's widths and spreads in their ranges (SectorInstrument.h),
// a unit allowed after the number: the slits in mm ("0.5", "0.5mm"), the
// energy spread in V, the angular spread in mrad.
std::variant<double, TArgumentError> ParseSourceSlit(const QString& text);
std::variant<double, TArgumentError> ParseDetectorSlit(const QString& text);
std::variant<double, TArgumentError> ParseEnergySpread(const QString& text);
std::variant<double, TArgumentError> ParseAngularSpread(const QString& text);
