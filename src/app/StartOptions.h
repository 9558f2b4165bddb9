#pragma once
// The program's own start parameters, beside those of the host link:
//
//   --classic, /classic   the classic instrument alone: no Laboratory and no
//                         user library, so that a textbook that embeds the
//                         instrument gets exactly the classic window
//   --no-user-library     the shipped substances only
//
// Letter case does not matter for the host's form ("/Classic"), as host
// programs write their parameters in any case.

#include <QStringList>

struct TStartOptions {
    bool Classic = false;
    bool UserLibrary = true;
};

// arguments: the command line, the program first.
TStartOptions StartOptionsFrom(const QStringList& arguments);
// Whether the argument is one of the options above (and so no library name).
bool IsStartOption(const QString& argument);
