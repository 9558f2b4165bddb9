// The tool's tests run under the program's application object, so that the
// main window its pictures are compared with behaves as in the program. The
// window's host client gets a runtime folder and registry store of this
// test's own, so it never meets a host or another test's window.
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
