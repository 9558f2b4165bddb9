#pragma once
// The program's own start parameters, beside those of the host link:
//
//   --classic, /classic   the classic instrument alone: no Laboratory and no
//                         user library, so that a textbook that embeds the
//                         instrument gets exactly the classic window
//   --no-user-library     the shipped substances only
//   --exercise SEED, --exercise=SEED, /exercise=SEED
//                         a class exercise: the selector offers "Sample A" to
//                         "Sample E", five shipped substances drawn by the
//                         seed (app/Exercise.h); the user's library is left out
//
// Letter case does not matter for the host's form ("/Classic"), as host
// programs write their parameters in any case.

#include <QStringList>
#include <optional>

struct TStartOptions {
    bool Classic = false;
    bool UserLibrary = true;
    std::optional<QString> ExerciseSeed;
};

// arguments: the command line, the program first.
TStartOptions StartOptionsFrom(const QStringList& arguments);
// Whether the argument is one of the options above or an option's value
// (and so no library name).
bool IsStartOption(const QStringList& arguments, int index);
