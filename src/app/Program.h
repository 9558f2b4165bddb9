#pragma once
// The program's start: the main window, the About box made right after it,
// then the message loop. The window translates itself as it is made, shows
// the About box as its start-up notice and starts the simulation when the
// box has been closed.

class TApplication;

// The command line's own options (app/StartOptions.h): unless --classic or
// /classic is given the window offers the Laboratory, and unless that or
// --no-user-library is given it lists the user's own substances.
//
// Runs the program under app until its main window closes (status 0) or the
// program ends itself (the missing library: status 1).
//
// With the environment variable IONPATH_FIRST_PICTURE_EXIT set (to anything
// but 0), the About box closes as soon as it is shown and the program ends
// with status 0 right after its first deflection picture, printing
// "first picture after <N> ms" (counted from the start of this call) on
// standard output: for start-up measurements and installation checks.
int RunIonpath(TApplication& app);
