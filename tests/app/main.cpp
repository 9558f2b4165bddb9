// The application tests and those of ionpath-cli run under the program's own
// application object, so that its event dispatch and error report are the
// ones under test (and the tool's pictures are compared with a window that
// behaves as in the program).
//
// Every main window has a host client that holds the single-instance lock
// of this executable; test processes run side by side, so each gets its own
// runtime folder (endpoints and locks) and registry store, and a host
// running on the machine is never found.
#include "../host/HostTestEnvironment.h"
#include "app/ErrorReport.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

bool testsThrough = false;

// A window whose client took this process for a second copy of the program
// ends it with status 0 in the middle of a test; that must not pass.
void FailAnEarlyEnd()
{
    if (!testsThrough) {
        std::fputs("the test program ended before its tests were through\n", stderr);
        _exit(3);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    THostTestEnvironment own;
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    std::atexit(FailAnEarlyEnd);
    const int status = RUN_ALL_TESTS();
    testsThrough = true;
    return status;
}
