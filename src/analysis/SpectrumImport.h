#pragma once
// Mass spectra from the files other collections publish them in: MassBank
// records, MSP text and JCAMP-DX (peak tables and compressed XYDATA). The
// readers turn every record of a file into the lines the spectrum library
// keeps, or into a refusal that says where and why the record cannot be
// used; one bad record never costs the others.
//
// The lines of an imported spectrum are what the simulation shows of it:
// ascending in mass, abundances in % of the strongest line, lines below
// kImportCut % of it left out (the shipped spectra leave them out too), and
// at most kMaxImportedLines of them, the strongest, as the library keeps no
// more of a substance.
//
// The readers take any bytes: a file is decoded as UTF-8 when it is valid
// UTF-8 and as Windows-1252 otherwise; nothing in a file makes them run
// without end or hold more memory than a few times its size (the points a
// JCAMP-DX table may unfold to are counted and capped).

#include "support/SpectralLine.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

enum class TImportFormat { MassBank, Msp, JcampDx };

constexpr double kImportCut = 0.5;          // % of the strongest line; weaker ones are left out
constexpr int kMaxImportedLines = 500;      // the strongest lines kept of a spectrum
constexpr long kMaxJcampPoints = 1000000;   // the most points a JCAMP-DX table may hold

struct TImportedSpectrum {
    QString Name, Formula, Authors, Licence, Accession; // empty when the record has none
    TImportFormat Format = TImportFormat::Msp;
    int FirstLine = 0;   // 1-based line of the record in its file
    int PairsRead = 0;   // pairs (or points) the record lists, before the cut and the cap
    std::vector<TSpectralLine> Lines; // see above
};

// Why a record was not imported. Line is where the fault is (for a fault
// of the whole record, its first line), 0 for the whole file. Reason names
// the record where the line alone would not: "\"abc\" is not a number",
// "\"Exampol\": no peak list".
struct TImportRefusal {
    int Line = 0;
    QString Reason;
};

struct TImportResult {
    std::vector<TImportedSpectrum> Spectra;  // in file order
    std::vector<TImportRefusal> Refusals;    // in file order
};

// "MassBank", "MSP", "JCAMP-DX".
QString ImportFormatName(TImportFormat format);
// "line 12: \"abc\" is not a number"; the reason alone for Line 0.
QString ImportRefusalText(const TImportRefusal& refusal);

// The format of a file by its content: a line beginning "ACCESSION:" or
// "CH$NAME:" (MassBank), "Name:" in any case (MSP), "##TITLE=" (JCAMP-DX).
// Where a file holds the marks of several, the one its extension names
// (.txt MassBank, .msp MSP, .jdx, .dx or .jcamp JCAMP-DX) wins, else the
// first mark in the file. None when the content holds no mark.
std::optional<TImportFormat> DetectImportFormat(const QByteArray& content, const QString& fileName);

// MassBank records (one or several, each ending in "//"). Only spectra of
// the molecule itself are read (MS_TYPE MS or MS1, or none given); the
// intensities are the PK$PEAK block's second column. A PK$NUM_PEAK that
// differs from the rows of the block refuses the record.
TImportResult ReadMassBank(const QByteArray& content);

// MSP text: records from "Name:" to a blank line or the next "Name:";
// field names in any case; the pairs after "Num Peaks:" separated by any of
// blank, tab , ; : ( ) [ ] { }, annotations in double quotes ignored. A
// pair count that differs from Num Peaks refuses the record (the list was
// cut short or the record is damaged). Spectrum_type other than MS or MS1
// refuses it too.
TImportResult ReadMsp(const QByteArray& content);

// JCAMP-DX blocks from "##TITLE=" to "##END=", nested link blocks
// included (the innermost blocks that hold data are the spectra). A block
// must be a mass spectrum (##DATA TYPE) and hold ##PEAK TABLE=(XY..XY) or
// (XYW..XYW), or ##XYDATA=(X++(Y..Y)) in AFFN, PAC, SQZ, DIF or DUP form;
// with both, the peak table is taken. The points of XYDATA become lines.
// The DIF Y-check, the X values and ##NPOINTS are checked; a mismatch
// refuses the block at its line.
TImportResult ReadJcampDx(const QByteArray& content);

// Detects the format and reads the file; one refusal "not a spectrum file
// this program reads" (or "the file is empty") when there is nothing to read.
TImportResult ReadSpectrumFile(const QByteArray& content, const QString& fileName);
