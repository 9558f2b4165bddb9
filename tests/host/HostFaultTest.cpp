// The host link when the other side misbehaves or is not ours: a host that
// dies in the middle of a request, connections that never send, another
// user trying our endpoints or our names, and a second copy started while
// the first is busy in a scan.

#include "HostTestEnvironment.h"
#include "RawSockets.h"
#include "ServerDemon.h"
#include "host/DemonClient.h"
#include "host/MessageWindows.h"
#include "host/ProcessLock.h"
#include "host/RuntimeDirectory.h"
#include "host/WireFrame.h"

#include "../faults/AsOtherUser.h"
#include "../widgets/QStringPrinter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kClass = QStringLiteral("FaultTestWindowClass");

QByteArray Frame(qint32 code, const QByteArray& payload, quint32 announced)
{
    TFrameHeader h;
    h.Sequence = 1;
    h.From = 0x42;
    h.Code = code;
    h.Length = announced;
    return EncodeFrameHeader(h) + payload;
}

void Pump(int rounds = 5)
{
    for (int i = 0; i < rounds; ++i)
        TMessageWindows::ProcessSentMessages(20);
}

class HostFault : public ::testing::Test {
protected:
    THostTestEnvironment env;
    QWidget owner;
};

} // namespace

TEST_F(HostFault, AHostKilledInTheMiddleOfARequestFailsItAndTheProgramGoesOn)
{
    TkdbDemonClient client(&owner, {QStringLiteral("/x/prog"), {QStringLiteral("prog")}, QStringLiteral("prog")});
    const TWindowHandle host = 0x0DEAD057;
    const int listening = ListenAt(host);
    ASSERT_GE(listening, 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // The host takes the request off the connection and is killed
        // before it can answer.
        const int c = accept(listening, nullptr, nullptr);
        char header[kFrameHeaderSize];
        if (c >= 0 && recv(c, header, sizeof header, MSG_WAITALL) == ssize_t(sizeof header))
            kill(getpid(), SIGKILL);
        _exit(1);
    }
    close(listening);
    client.ServerEntity.Handle = host;
    // Waiting for an answer would take this long; the host's end must be
    // noticed long before.
    client.SetSendTimeout(120000);
    QElapsedTimer clock;
    clock.start();
    try {
        client.GetVariable(QStringLiteral("Course"));
        ADD_FAILURE() << "the request did not fail";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Stream read error"));
    }
    EXPECT_LT(clock.elapsed(), 60000);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the host did not get the request";

    // The program goes on: the next request fails at once, the rest works.
    clock.restart();
    EXPECT_THROW(client.GetVariable(QStringLiteral("Course")), EReadError);
    EXPECT_LT(clock.elapsed(), 60000);
    EXPECT_EQ(client.ParamStr(0), QStringLiteral("/x/prog"));
    EXPECT_TRUE(TMessageWindows::IsWindow(client.OwnEntity.Handle));
}

TEST_F(HostFault, ConnectionsThatNeverSendDoNotHoldUpTheProgram)
{
    ASSERT_TRUE(TMessageWindows::RegisterClass(kClass));
    int received = 0;
    const TWindowHandle own = TMessageWindows::CreateWindow(kClass, QStringLiteral("w"),
                                                            [&](TWindowHandle, qint32, const char*, std::size_t) { ++received; });
    const TWindowHandle other = TMessageWindows::CreateWindow(kClass, QStringLiteral("v"), nullptr);
    ASSERT_NE(own, 0u);
    {
        // Connected and silent, a header cut short, a payload announced and
        // only begun: none of them may keep the window from serving others.
        // (A window takes 64 connections at a time; these stay below that.)
        std::vector<std::unique_ptr<TRawPeer>> idle;
        for (int i = 0; i < 32; ++i) {
            idle.push_back(std::make_unique<TRawPeer>(TMessageWindows::SocketPath(own)));
            ASSERT_TRUE(idle.back()->Connected());
            TMessageWindows::ProcessSentMessages(0); // the window takes the connection
        }
        ASSERT_TRUE(idle[0]->Send(Frame(5000, {}, 0).left(10)));
        ASSERT_TRUE(idle[1]->Send(Frame(5000, "abc", 1000)));
        Pump();

        TRawPeer good(TMessageWindows::SocketPath(own));
        ASSERT_TRUE(good.Send(Frame(5000, "hello", 5)));
        Pump();
        EXPECT_EQ(received, 1);
        EXPECT_TRUE(good.Answered());
        // And the program's own sends still get through.
        EXPECT_TRUE(TMessageWindows::SendCopyData(own, other, 5001, QByteArray("x"), 5000));
        EXPECT_EQ(received, 2);
    }
    Pump();
    TMessageWindows::DestroyWindow(own);
    TMessageWindows::DestroyWindow(other);
    TMessageWindows::UnregisterClass(kClass);
}

TEST_F(HostFault, AnotherUserCanNeitherReachOurWindowsNorTakeTheirNames)
{
    if (!ChecksRunAsOtherUser())
        GTEST_SKIP() << "acting as another user needs root";
    ASSERT_TRUE(TMessageWindows::RegisterClass(kClass));
    const TWindowHandle own = TMessageWindows::CreateWindow(kClass, QStringLiteral("Ionpath"), nullptr);
    ASSERT_NE(own, 0u);
    const QString socketPath = TMessageWindows::SocketPath(own);
    const QString dir = env.EndpointDir();
    // The other user works on the files directly, as any program could; a
    // copy of this process's own window table must not answer for it.
    const TChildResult r = RunAsOtherUser([&] {
        TRawPeer peer(socketPath);
        const bool listed = !QDir(dir).entryList(QDir::Files | QDir::System).isEmpty();
        // A lock file naming our class and window would be our window's name.
        QFile fake(dir + QStringLiteral("/0badcafe.lock"));
        const bool planted = fake.open(QIODevice::WriteOnly);
        return QStringLiteral("connect %1 listed %2 planted %3").arg(peer.Connected() ? 0 : peer.Error()).arg(listed).arg(planted);
    });
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.text, QStringLiteral("connect %1 listed 0 planted 0").arg(EACCES));
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClass, QStringLiteral("Ionpath")), own);
    const QString prefix = QStringLiteral("%1").arg(own, 8, 16, QLatin1Char('0'));
    for (const QString& e : QDir(dir).entryList(QDir::Files | QDir::System))
        EXPECT_TRUE(e.startsWith(prefix)) << e.toStdString();
    TMessageWindows::DestroyWindow(own);
    TMessageWindows::UnregisterClass(kClass);
}

TEST_F(HostFault, AFolderPlantedByAnotherUserIsNotUsedForEndpoints)
{
    if (!ChecksRunAsOtherUser())
        GTEST_SKIP() << "planting a folder of another user needs root";
    // A shared runtime folder (as /tmp is for the fallback) where someone
    // else made "ionpath" first, open to all.
    const QString shared = env.Root() + QStringLiteral("/shared");
    QDir().mkpath(shared + QStringLiteral("/ionpath"));
    chmod(shared.toLocal8Bit().constData(), 01777);
    chmod((shared + QStringLiteral("/ionpath")).toLocal8Bit().constData(), 0777);
    ASSERT_EQ(chown((shared + QStringLiteral("/ionpath")).toLocal8Bit().constData(), kNobody, kNobody), 0);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", shared.toLocal8Bit());

    EXPECT_TRUE(EndpointDirectory().isEmpty());
    EXPECT_EQ(errno, EPERM);
    ASSERT_TRUE(TMessageWindows::RegisterClass(kClass));
    EXPECT_EQ(TMessageWindows::CreateWindow(kClass, QStringLiteral("Ionpath"), nullptr), 0u);
    EXPECT_EQ(TProcessLock::TryAcquire(QStringLiteral("TX_prog")), 0u);
    TMessageWindows::UnregisterClass(kClass);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    // Nothing of ours went into it, and it was left as it was.
    EXPECT_TRUE(QDir(shared + QStringLiteral("/ionpath")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).isEmpty());
    struct stat st {};
    ASSERT_EQ(stat((shared + QStringLiteral("/ionpath")).toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
}

TEST_F(HostFault, ASecondCopyStartedDuringAScanEndsAndTheFirstGetsItsParameters)
{
    const QString clientExe = QStringLiteral(HOST_TEST_CLIENT_PATH);
    const QString title = QFileInfo(clientExe).fileName(); // the application name the copy gets
    THostSettings settings;
    settings.Suffix = QStringLiteral("scan");
    settings.Documents = env.Root();
    TkdbServerDemon host(settings, {QStringLiteral("/opt/tutorix/host"), {QStringLiteral("host")}, QStringLiteral("host")});
    // The first copy: the same executable file name, so the same lock.
    auto* first = new TkdbDemonClient(&owner, {clientExe, {clientExe, QStringLiteral("/serverhandle=scan")}, title});
    first->SetUseMeridorServer(true);
    first->SetAutoTranslate(false);
    int paramsChanges = 0;
    bool changedWhileScanning = false;
    bool scanning = false;
    first->OnParamsChange = [&](TkdbCustomDemon&) {
        ++paramsChanges;
        changedWhileScanning = scanning;
    };
    first->Loaded();
    ASSERT_FALSE(first->Ending());

    // A scan as the main window runs it: a pass of work, then the pending
    // messages, 500 times; here it goes on until the second copy is through.
    QProcess second;
    QProcessEnvironment childEnv = env.ChildEnvironment();
    childEnv.insert(QStringLiteral("IONPATH_TEST_CLIENT"), QStringLiteral("server"));
    second.setProcessEnvironment(childEnv);
    second.setProcessChannelMode(QProcess::MergedChannels);
    scanning = true;
    int pass = 0;
    QElapsedTimer clock;
    clock.start();
    while ((pass < 500 || second.state() != QProcess::NotRunning) && clock.elapsed() < 60000) {
        ++pass;
        QElapsedTimer work;
        work.start();
        while (work.nsecsElapsed() < 2000000) {
        }
        if (pass == 5)
            second.start(clientExe, {QStringLiteral("alpha"), QStringLiteral("/serverhandle=scan")});
        QCoreApplication::processEvents();
    }
    scanning = false;
    ASSERT_EQ(second.state(), QProcess::NotRunning) << "the second copy did not end";
    const QString output = QString::fromUtf8(second.readAll());
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("ready "))) << output.toStdString(); // it never showed its window
    EXPECT_EQ(paramsChanges, 1);
    EXPECT_TRUE(changedWhileScanning);
    EXPECT_EQ(first->Params(), (QStringList{clientExe, QStringLiteral("alpha")}));
    // The first copy is still the one running: its window and its lock.
    EXPECT_TRUE(TMessageWindows::IsWindow(first->OwnEntity.Handle));
    EXPECT_EQ(TProcessLock::TryAcquire(first->OwnEntity.MutexName()), 0u);
    delete first;
}
