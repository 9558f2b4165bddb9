#pragma once
// The commands of ionpath-cli over the simulation's own code: the spectrum
// library, the sector-field model, the field scan and the two charts.
//
// Exit status: 0 done; 1 the work failed (a library that cannot be read, an
// unknown or damaged substance, a file that cannot be written); 2 the command
// line is wrong (unknown command or option, a bad or out-of-range number).

#include <QStringList>

class QTextStream;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// arguments as the program receives them, the program's name first. Needs
// a QApplication for the render command.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
