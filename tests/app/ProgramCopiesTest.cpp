// The program as a user starts it twice: the second copy gives its
// parameters to the first and ends without a window; a first copy that was
// killed leaves nothing that keeps the next start from running.
#include "../host/HostTestEnvironment.h"
#include "host/ProcessLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <string>

namespace {

const QString kLock = QStringLiteral("TX_") + QFileInfo(QStringLiteral(IONPATH_PROGRAM)).fileName();

// Whether some process holds the program's single-instance lock.
bool LockHeldElsewhere()
{
    const quint32 handle = TProcessLock::TryAcquire(kLock);
    if (handle != 0)
        TProcessLock::Release(handle);
    return handle == 0;
}

bool WaitFor(const std::function<bool()>& condition, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

class TProgramRun {
public:
    TProgramRun()
    {
        QFile::copy(QStringLiteral(IONPATH_SHIPPED_LIBRARY), env_.Root() + QStringLiteral("/ms_spec_sample.tra"));
    }
    // Starts a copy in the working folder; firstPictureExit makes a copy
    // that does start close its About box and end after its first picture.
    void Start(QProcess& p, const QStringList& arguments, bool firstPictureExit)
    {
        QProcessEnvironment env = env_.ChildEnvironment();
        if (firstPictureExit)
            env.insert(QStringLiteral("IONPATH_FIRST_PICTURE_EXIT"), QStringLiteral("1"));
        else
            env.remove(QStringLiteral("IONPATH_FIRST_PICTURE_EXIT"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(env_.Root());
        p.start(QStringLiteral(IONPATH_PROGRAM), arguments);
        ASSERT_TRUE(p.waitForStarted(10000));
    }

private:
    // The copies and this test share a runtime folder of their own, which
    // is also their working folder.
    THostTestEnvironment env_;
};

} // namespace

TEST(ProgramCopies, TheSecondEndsAtOnceAndAKilledFirstDoesNotBlockTheNext)
{
    TProgramRun run;
    ASSERT_FALSE(LockHeldElsewhere());
    QProcess first;
    run.Start(first, {}, false);
    // The first copy waits in its About box, holding the lock.
    ASSERT_TRUE(WaitFor(LockHeldElsewhere, 30000))
        << "the first copy never took its lock; it is "
        << (first.state() == QProcess::NotRunning
                ? "not running (exit code " + std::to_string(first.exitCode()) + ")"
                : std::string("still running"))
        << ", its error output: " << first.readAllStandardError().toStdString();

    QProcess second;
    run.Start(second, {QStringLiteral("other.tra")}, true);
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // It never got as far as a picture.
    EXPECT_FALSE(second.readAllStandardOutput().contains("first picture")) << "the second copy started a simulation";
    EXPECT_EQ(first.state(), QProcess::Running) << "the first copy ended with the second";

    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_FALSE(LockHeldElsewhere());

    QProcess next;
    run.Start(next, {}, true);
    ASSERT_TRUE(next.waitForFinished(60000));
    EXPECT_EQ(next.exitCode(), 0);
    EXPECT_TRUE(next.readAllStandardOutput().contains("first picture after")) << "the next start did not run";
}
