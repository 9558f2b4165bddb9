#pragma once
// The commands of ionpath-cli over the simulation's own code: the spectrum
// library and the user's own, the sector-field model, the field scan, the
// two charts, the isotope patterns of formulas and the mean mass.
//
// Exit status: 0 done, also after a warning (a user library that cannot be
// read or holds damaged records, lines that cannot reach the detector); 1
// the work failed (a library that cannot be read, an unknown or damaged
// substance, a formula that cannot be read, a file that cannot be written):
// the input data were wrong, not the command line; 2 the command line is
// wrong (unknown command or option, a bad or out-of-range number or charge).

#include <QStringList>

class QTextStream;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// arguments as the program receives them, the program's name first. Needs
// a QApplication for the render command.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
