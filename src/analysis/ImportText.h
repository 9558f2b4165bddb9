#pragma once
// What the three spectrum readers share: the file's text cut into numbered
// lines, numbers in the program's syntax, the wording of refusals, and the
// step from the pairs a record lists to the lines the library keeps.

#include "analysis/SpectrumImport.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// The content as text: UTF-8 when every byte sequence is valid UTF-8,
// Windows-1252 otherwise (which gives every byte a character).
QString DecodeImportText(const QByteArray& content);

// The lines of `text`, line k at index k - 1: LF, CR LF and a lone CR each
// end a line. Views into `text`.
std::vector<QStringView> ImportLines(const QString& text);

// A number: [+|-] digits [. digits] [E [+|-] digits], finite, nothing else.
bool ParseImportNumber(QStringView token, double& value);

// A text for a refusal, in double quotes, cut to 40 characters.
QString QuotedText(QStringView text);
// The record as a refusal names it: its name quoted, or "a record without a name".
QString RecordLabel(const QString& name);
// A value as a refusal writes it: "105", "0.25".
QString NumberText(double value);

// A field's text on one line: control characters become blanks, runs of
// blanks one, none at either end.
QString CleanImportField(QStringView text);

// Sets the spectrum's Lines and PairsRead from the pairs (mass, intensity
// in any unit) its record lists. Pairs of one mass count once, with the
// largest intensity. Intensities of 0 and below are no lines. None when
// all is well, else the reason to refuse the record (a mass below 0, a
// value beyond the range of numbers, nothing above 0).
std::optional<QString> FinishImportedLines(TImportedSpectrum& spectrum, std::vector<TSpectralLine> pairs);
