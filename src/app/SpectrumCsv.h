#pragma once
// The recorded mass spectrum as a CSV file, for spreadsheets and worksheets.
// UTF-8, lines ending in LF, '#' comment lines first, then a header row and
// one row per distinct stick by ascending mass:
//
//   # Ionpath mass spectrum
//   # substance: Benzene
//   # voltage: 5000 V
//   # field: 0.1 to 500.0 mT            (when known: the field range scanned)
//   # date: 2024-05-06T14:03:12+02:00
//   mass,abundance
//   50,15.8
//   78,100
//
// Masses are mass numbers, abundances percent of the strongest line, both as
// the library gives them, with "." as the decimal point whatever the locale
// and as few digits as give the same value back. The date line is left out
// when no date is given.
//
// The comment lines are for people and for readers that skip '#' lines; a
// value in them (the substance's name) keeps its commas and quotes, but line
// breaks and other control characters become blanks, so that a name can
// neither end its comment line nor put rows of its own into the table.

#include "app/SectorField.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

struct TSpectrumCsvHeader {
    QString Substance;
    int Voltage = 0; // V
    QString Field;   // the field range scanned, if known
    QDateTime Date;
};

QByteArray SpectrumCsv(const TSpectrumCsvHeader& header, const std::vector<TSpectralLine>& sticks);

// A mass or an abundance as the table writes it: "." as the decimal point,
// as few digits as give the same value back.
QString CsvNumber(double v);

// Writes the file; an existing one is replaced only by a complete new one.
// Throws Exception naming the file and the reason.
void WriteSpectrumCsv(const QString& path, const TSpectrumCsvHeader& header,
                      const std::vector<TSpectralLine>& sticks);
