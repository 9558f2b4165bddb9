#pragma once
// One made-up spectrum, "Probanol", written by hand in the three formats
// the importer reads, for the reader, glue and command-line tests.
//
// Its intensities at m/z 12 to 47 (0 where not listed):
//   14 30, 15 120, 16 5, 27 90, 28 60, 29 230, 30 40, 31 1000, 32 10,
//   43 4, 45 510, 46 220, 47 3
// In % of m/z 31: 16 is 0.5 (kept: the cut keeps 0.5 itself), 43 is 0.4
// and 47 0.3 (left out).

#include "support/SpectralLine.h"

#include <QByteArray>
#include <vector>

namespace import_samples {

inline const std::vector<TSpectralLine> kProbanolLines = {
    {14, 3}, {15, 12}, {16, 0.5}, {27, 9}, {28, 6}, {29, 23}, {30, 4}, {31, 100}, {32, 1}, {45, 51}, {46, 22}};

// The intensity column at ten times the intensities above; the rel.int.
// column rounded to 999 as MassBank writes it, so that a reader taking it
// would get other abundances (16: 5/999 instead of 0.5 %).
inline const QByteArray kMassBank =
    "ACCESSION: XY012345\n"
    "RECORD_TITLE: Probanol; EI-B; MS\n"
    "DATE: 2024.03.01\n"
    "AUTHORS: Doe J, Roe R, Teaching Lab\n"
    "LICENSE: CC BY-SA\n"
    "CH$NAME: Probanol\n"
    "CH$NAME: 1-Probanol\n"
    "CH$COMPOUND_CLASS: N/A\n"
    "CH$FORMULA: C2H6O\n"
    "CH$EXACT_MASS: 46.04186\n"
    "AC$INSTRUMENT_TYPE: EI-B\n"
    "AC$MASS_SPECTROMETRY: MS_TYPE MS\n"
    "AC$MASS_SPECTROMETRY: IONIZATION_ENERGY 70 eV\n"
    "PK$ANNOTATION: m/z formula\n"
    "  31 CH3O+\n"
    "  45 C2H5O+\n"
    "PK$NUM_PEAK: 13\n"
    "PK$PEAK: m/z int. rel.int.\n"
    "  14 300 30\n"
    "  15 1200 120\n"
    "  16 50 5\n"
    "  27 900 90\n"
    "  28 600 60\n"
    "  29 2300 230\n"
    "  30 400 40\n"
    "  31 10000 999\n"
    "  32 100 10\n"
    "  43 40 4\n"
    "  45 5100 509\n"
    "  46 2200 220\n"
    "  47 30 3\n"
    "//\n";

// Unsorted pairs with every separator MSP allows, an annotation in quotes
// and two pairs of intensity 0.
inline const QByteArray kMsp =
    "Name: Probanol\n"
    "Formula: C2H6O\n"
    "MW: 46\n"
    "DB#: XY012345\n"
    "Comments: written by hand\n"
    "Num Peaks: 15\n"
    "31 1000; 45 510; 46 220; 29 230\n"
    "27 90\t28 60\t30 40\n"
    "(14, 30) (15, 120) [16 5]\n"
    "{32 10} 43:4 \"weak\" 47 3\n"
    "12 0\n"
    "13 0\n";

// The points m/z 12 to 47 in DIF form with SQZ starts, DUP runs of
// unchanged differences, the Y-check at the start of every line after one
// that ends in DIF form, and a checkpoint line at the end:
//   12@%L0R0j15n%sR0        0 0 30 120 5 0 (0 x 9) [90]
//   27I0l0J70j90R60r90j0%s  90 60 230 40 1000 10 0 (0 x 9) [0]
//   42@MmN10k90k17          0 4 0 510 220 [3]
//   47C                     3, the checkpoint
inline const QByteArray kJcamp =
    "##TITLE=Probanol\n"
    "##JCAMP-DX=4.24 $$ written by hand\n"
    "##DATA TYPE=MASS SPECTRUM\n"
    "##DATA CLASS=XYDATA\n"
    "##ORIGIN=Teaching Lab\n"
    "##OWNER=Doe J\n"
    "##MOLFORM=C2 H6 O\n"
    "##XUNITS=M/Z\n"
    "##YUNITS=RELATIVE ABUNDANCE\n"
    "##XFACTOR=1\n"
    "##YFACTOR=1\n"
    "##FIRSTX=12\n"
    "##LASTX=47\n"
    "##NPOINTS=36\n"
    "##XYDATA=(X++(Y..Y))\n"
    "12@%L0R0j15n%sR0\n"
    "27I0l0J70j90R60r90j0%s\n"
    "42@MmN10k90k17\n"
    "47C $$ checkpoint\n"
    "##END=\n";

} // namespace import_samples
