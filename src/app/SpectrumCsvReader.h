#pragma once
// A mass spectrum from a CSV file: the program's own (SpectrumCsv.h) or
// any table of two columns, mass (or m/z) and abundance, as spreadsheets
// and other programs write them.
//
// - UTF-8 (a byte-order mark is skipped) or, where the bytes are not valid
//   UTF-8, Windows-1252; lines end in LF, CR LF or CR.
// - Blank lines and lines whose first non-blank character is '#' are
//   skipped.
// - The first other line decides the separator: ';' when it holds one, else
//   ','. With ';' a ',' inside a number is its decimal point ("38,5;100"),
//   as spreadsheets write numbers where the comma is the decimal point.
// - That line is a header when neither of its fields is a number
//   ("mass,abundance", "m/z,abundance"); no header is needed.
// - Every row then holds two numbers (blanks and double quotes around a
//   field are dropped, and so are empty fields at the end of a row): a mass
//   above 0 and an abundance of 0 or more, in any unit. Rows of abundance 0
//   are no lines.

#include "support/SpectralLine.h"

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

// Why a file is no spectrum: Line is the 1-based line of the fault, 0 for
// the whole file.
struct TSpectrumCsvFault {
    int Line = 0;
    QString Reason; // "\"abc\" is not a number", "no spectrum lines"
};

// The rows in file order, or the first fault.
std::variant<std::vector<TSpectralLine>, TSpectrumCsvFault> ReadSpectrumCsv(const QByteArray& content);
