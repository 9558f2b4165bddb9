// The host link between real processes: the host server tools/tutorix-host
// and the small hosted program host_test_client, each in its own process,
// talking over the endpoint folder of the test.

#include "HostTestEnvironment.h"
#include "host/CustomDemon.h"
#include "host/MessageWindows.h"
#include "host/Tutorix.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kHost = QStringLiteral(TUTORIX_HOST_PATH);
const QString kClient = QStringLiteral(HOST_TEST_CLIENT_PATH);
const QString kPeer = QStringLiteral(HOST_TEST_PEER_PATH);
constexpr int kWaitMs = 20000;

// A program of the test, read line by line.
class TPeer {
public:
    TPeer(const QString& program, const QStringList& arguments, QProcessEnvironment env)
    {
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, arguments);
        started_ = process_.waitForStarted(kWaitMs);
    }
    ~TPeer()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }

    bool Started() const { return started_; }
    qint64 Pid() const { return process_.processId(); }

    // The next line (after the last one waited for) that begins with prefix.
    QString WaitFor(const QString& prefix, int timeoutMs = kWaitMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (true) {
            for (qsizetype i = next_; i < lines_.size(); ++i)
                if (lines_[i].startsWith(prefix)) {
                    next_ = i + 1;
                    return lines_[i];
                }
            if (deadline.hasExpired() || !ReadMore(deadline))
                return {};
        }
    }
    // A command of the hosted program: its "= " or "! " answer.
    QString Ask(const QString& command)
    {
        Say(command);
        while (true) {
            const QString line = WaitFor(QString());
            if (line.isEmpty() || line.startsWith(QStringLiteral("= ")) || line.startsWith(QStringLiteral("! ")))
                return line;
        }
    }
    // Written at once: QProcess only sends its buffer when asked or from the
    // event loop, and the test may wait on another program next.
    void Say(const QString& line)
    {
        process_.write((line + u'\n').toUtf8());
        process_.waitForBytesWritten(kWaitMs);
    }
    // The exit code, or -1 when it did not end in time.
    int Finish(int timeoutMs = kWaitMs)
    {
        if (!process_.waitForFinished(timeoutMs))
            return -1;
        Collect();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -2;
    }
    void Kill()
    {
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(kWaitMs);
    }
    int Count(const QString& prefix)
    {
        Collect();
        int n = 0;
        for (const QString& line : lines_)
            n += line.startsWith(prefix) ? 1 : 0;
        return n;
    }
    QString Output()
    {
        Collect();
        return lines_.join(u'\n');
    }

private:
    bool ReadMore(const QDeadlineTimer& deadline)
    {
        if (process_.state() == QProcess::NotRunning) {
            const qsizetype before = lines_.size();
            Collect();
            return lines_.size() > before;
        }
        process_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        Collect();
        return true;
    }
    void Collect()
    {
        buffer_ += process_.readAllStandardOutput();
        qsizetype end;
        while ((end = buffer_.indexOf('\n')) >= 0) {
            lines_.append(QString::fromUtf8(buffer_.left(end)));
            buffer_.remove(0, end + 1);
        }
    }

    QProcess process_;
    bool started_ = false;
    QByteArray buffer_;
    QStringList lines_;
    qsizetype next_ = 0;
};

QString Word(const QString& line, int index)
{
    return line.section(u' ', index, index);
}

class HostIntegration : public ::testing::Test {
protected:
    void SetUp() override
    {
        docs = env.Root() + QStringLiteral("/docs");
        QDir().mkpath(docs);
    }

    std::unique_ptr<TPeer> StartHost(QStringList extra = {}, bool publish = false)
    {
        QStringList arguments = {QStringLiteral("--documents"), docs, QStringLiteral("--suffix"), suffix};
        if (!publish)
            arguments.append(QStringLiteral("--no-publish"));
        auto host = std::make_unique<TPeer>(kHost, arguments + extra, env.ChildEnvironment());
        const QString ready = host->WaitFor(QStringLiteral("ready "));
        EXPECT_FALSE(ready.isEmpty()) << host->Output().toStdString();
        hostHandle = Word(ready, 2);
        return host;
    }
    std::unique_ptr<TPeer> StartClient(const QString& options, QStringList parameters = {},
                                       const QString& program = kClient)
    {
        QProcessEnvironment e = env.ChildEnvironment();
        e.insert(QStringLiteral("IONPATH_TEST_CLIENT"), options);
        return std::make_unique<TPeer>(program, parameters, e);
    }
    std::unique_ptr<TPeer> StartHostedClient(const QString& options = QStringLiteral("server"), QStringList parameters = {})
    {
        parameters.append(QStringLiteral("/serverhandle=") + suffix);
        auto client = StartClient(options, parameters);
        const QString ready = client->WaitFor(QStringLiteral("ready "));
        EXPECT_FALSE(ready.isEmpty()) << client->Output().toStdString();
        clientHandle = Word(ready, 1);
        return client;
    }

    THostTestEnvironment env;
    QString docs;
    QString suffix = QStringLiteral("%1").arg(getpid(), 8, 16, QLatin1Char('0'));
    QString hostHandle;
    QString clientHandle;
};

} // namespace

TEST_F(HostIntegration, ClientFindsThePublishedHostRegistersAndUnregisters)
{
    auto host = StartHost({}, true);
    // No /serverhandle=: the client reads the suffix from the registry.
    auto client = StartClient(QStringLiteral("server"));
    const QString ready = client->WaitFor(QStringLiteral("ready "));
    ASSERT_FALSE(ready.isEmpty()) << client->Output().toStdString();
    const QString handle = Word(ready, 1);
    EXPECT_EQ(host->WaitFor(QStringLiteral("registered ")), QStringLiteral("registered %1 host_test_client").arg(handle));
    EXPECT_EQ(client->Ask(QStringLiteral("server-title")), QStringLiteral("= server-title tutorix-host"));
    client->Say(QStringLiteral("exit"));
    EXPECT_EQ(client->Finish(), 0);
    EXPECT_EQ(host->WaitFor(QStringLiteral("unregistered ")), QStringLiteral("unregistered %1 host_test_client").arg(handle));
    // The window went with the process.
    bool ok = false;
    EXPECT_FALSE(TMessageWindows::IsWindow(handle.toUInt(&ok, 16)));
}

TEST_F(HostIntegration, FilesVariablesAndTheTranslationComeFromTheHost)
{
    QFile lesson(docs + QStringLiteral("/lesson.txt"));
    ASSERT_TRUE(lesson.open(QIODevice::WriteOnly));
    lesson.write("Ions in a magnetic field\n");
    lesson.close();
    QFile itl(docs + QStringLiteral("/host_test_client.itl"));
    ASSERT_TRUE(itl.open(QIODevice::WriteOnly));
    itl.write("[Greeting]=Guten Tag|$$\r\n[Hosted window]=Gastfenster|$$\r\n");
    itl.close();

    auto host = StartHost({QStringLiteral("--variable"), QStringLiteral("Course=Physics")});
    auto client = StartHostedClient();
    EXPECT_EQ(client->WaitFor(QStringLiteral("translated ")), QStringLiteral("translated Gastfenster|Guten Tag"));
    EXPECT_EQ(client->Ask(QStringLiteral("getfile lesson.txt")), QStringLiteral("= file 25 Ions in a magnetic field"));
    EXPECT_EQ(client->Ask(QStringLiteral("getfile missing.txt")), QStringLiteral("= nofile"));
    EXPECT_EQ(client->Ask(QStringLiteral("getvar Course")), QStringLiteral("= var Physics"));
    EXPECT_EQ(client->Ask(QStringLiteral("getvar MeridorHomeDir")), QStringLiteral("= var ") + docs + u'/');
    EXPECT_EQ(client->Ask(QStringLiteral("getvar Nothing")), QStringLiteral("= var "));
}

TEST_F(HostIntegration, ParamsFromTheHostReplaceTheParametersOnce)
{
    auto host = StartHost();
    auto client = StartHostedClient(QStringLiteral("server"), {QStringLiteral("old")});
    ASSERT_EQ(client->Ask(QStringLiteral("params")), QStringLiteral("= params 1 old"));
    host->Say(QStringLiteral("params %1 prog \"two words\"").arg(clientHandle));
    EXPECT_EQ(host->WaitFor(QStringLiteral("params ")), QStringLiteral("params %1 delivered").arg(clientHandle));
    EXPECT_EQ(client->WaitFor(QStringLiteral("params-changed ")), QStringLiteral("params-changed 2 prog|two words"));
    EXPECT_EQ(client->Ask(QStringLiteral("params")), QStringLiteral("= params 1 two words"));
    EXPECT_EQ(client->Count(QStringLiteral("params-changed ")), 1);
}

TEST_F(HostIntegration, QuitWithServerDownZeroUnregistersAndWithOneDoesNot)
{
    for (const int serverDown : {0, 1}) {
        SCOPED_TRACE(serverDown);
        auto host = StartHost();
        auto client = StartHostedClient();
        ASSERT_FALSE(host->WaitFor(QStringLiteral("registered ")).isEmpty());
        host->Say(QStringLiteral("quit %1 %2").arg(clientHandle).arg(serverDown));
        EXPECT_EQ(host->WaitFor(QStringLiteral("quit ")), QStringLiteral("quit %1 delivered").arg(clientHandle));
        EXPECT_EQ(client->WaitFor(QStringLiteral("quit-asked ")), QStringLiteral("quit-asked %1").arg(serverDown));
        EXPECT_EQ(client->Finish(), 0);
        // Any unregister came before the client's process ended; one more
        // command round trip makes sure the host has printed it.
        host->Say(QStringLiteral("clients"));
        EXPECT_EQ(host->WaitFor(QStringLiteral("ok ")), QStringLiteral("ok 0 clients"));
        EXPECT_EQ(host->Count(QStringLiteral("unregistered ")), serverDown ? 0 : 1);
    }
}

TEST_F(HostIntegration, MessageOutsideTheTableReachesTheHandlerWithTheSender)
{
    auto host = StartHost();
    auto client = StartHostedClient();
    host->Say(QStringLiteral("send %1 5000 hello there").arg(clientHandle));
    EXPECT_EQ(host->WaitFor(QStringLiteral("send ")), QStringLiteral("send %1 5000 delivered").arg(clientHandle));
    EXPECT_EQ(client->WaitFor(QStringLiteral("message ")), QStringLiteral("message 5000 %1 hello there").arg(hostHandle));
}

TEST_F(HostIntegration, TwoRequestsInOneMillisecondEachGetTheirReply)
{
    auto host = StartHost({QStringLiteral("--variable"), QStringLiteral("Course=Physics")});
    auto client = StartHostedClient();
    EXPECT_EQ(client->Ask(QStringLiteral("twice Course MeridorWorkArea")),
              QStringLiteral("= twice Physics|%1/ pending 0").arg(docs));
}

TEST_F(HostIntegration, BlockShorterThanItsStampIsNotDispatched)
{
    auto client = StartClient(QString());
    const QString ready = client->WaitFor(QStringLiteral("ready "));
    ASSERT_FALSE(ready.isEmpty()) << client->Output().toStdString();
    bool ok = false;
    const TWindowHandle target = Word(ready, 1).toUInt(&ok, 16);
    const QString cls = QStringLiteral("TestSenderClass");
    ASSERT_TRUE(TMessageWindows::RegisterClass(cls));
    const TWindowHandle own = TMessageWindows::CreateWindow(cls, QString(), nullptr);
    ASSERT_NE(own, 0u);
    EXPECT_TRUE(TMessageWindows::SendCopyData(target, own, 5000, QByteArray("short")));
    QByteArray good(8, '\0');
    good += "ok";
    EXPECT_TRUE(TMessageWindows::SendCopyData(target, own, 5000, good));
    EXPECT_EQ(client->WaitFor(QStringLiteral("rejected ")).left(14), QStringLiteral("rejected 5000 "));
    const QString message = client->WaitFor(QStringLiteral("message "));
    EXPECT_EQ(message, QStringLiteral("message 5000 %1 ok").arg(own, 8, 16, QLatin1Char('0')));
    EXPECT_EQ(client->Count(QStringLiteral("message ")), 1);
    TMessageWindows::DestroyWindow(own);
    TMessageWindows::UnregisterClass(cls);
}

TEST_F(HostIntegration, SecondCopyHandsItsParametersToTheFirstAndEnds)
{
    auto host = StartHost();
    auto first = StartHostedClient(QStringLiteral("server"), {QStringLiteral("one")});
    const QString firstHandle = clientHandle;
    ASSERT_FALSE(host->WaitFor(QStringLiteral("registered ")).isEmpty());
    auto second = StartClient(QStringLiteral("server"), {QStringLiteral("alpha"), QStringLiteral("beta"),
                                                          QStringLiteral("/serverhandle=") + suffix});
    EXPECT_EQ(second->Finish(), 0);
    EXPECT_EQ(second->Count(QStringLiteral("ready ")), 0) << second->Output().toStdString();
    EXPECT_EQ(first->WaitFor(QStringLiteral("params-changed ")),
              QStringLiteral("params-changed 3 %1|alpha|beta").arg(kClient));
    // The second copy registered, then took itself off again.
    host->Say(QStringLiteral("clients"));
    EXPECT_EQ(host->WaitFor(QStringLiteral("client ")).section(u' ', 1, 1), firstHandle);
    EXPECT_EQ(host->WaitFor(QStringLiteral("ok ")), QStringLiteral("ok 1 clients"));
    EXPECT_EQ(host->Count(QStringLiteral("unregistered ")), 1);
}

TEST_F(HostIntegration, CopyFromAnotherFolderEndsUnlessMultiStart)
{
    const QString copyDir = env.Root() + QStringLiteral("/other");
    QDir().mkpath(copyDir);
    const QString copy = copyDir + QStringLiteral("/host_test_client");
    if (link(kClient.toLocal8Bit().constData(), copy.toLocal8Bit().constData()) != 0) {
        ASSERT_TRUE(QFile::copy(kClient, copy));
    }
    QFile::setPermissions(copy, QFile::permissions(kClient));

    auto first = StartClient(QString());
    ASSERT_FALSE(first->WaitFor(QStringLiteral("ready ")).isEmpty()) << first->Output().toStdString();
    auto second = StartClient(QString(), {}, copy);
    EXPECT_EQ(second->Finish(), 0);
    EXPECT_EQ(second->Count(QStringLiteral("ready ")), 0);

    auto third = StartClient(QStringLiteral("multistart"), {}, copy);
    EXPECT_FALSE(third->WaitFor(QStringLiteral("ready ")).isEmpty()) << third->Output().toStdString();
}

TEST_F(HostIntegration, KilledCopyLeavesNeitherLockNorWindowBehind)
{
    auto first = StartClient(QString());
    const QString ready = first->WaitFor(QStringLiteral("ready "));
    ASSERT_FALSE(ready.isEmpty()) << first->Output().toStdString();
    bool ok = false;
    const TWindowHandle handle = Word(ready, 1).toUInt(&ok, 16);
    ASSERT_TRUE(TMessageWindows::IsWindow(handle));
    ASSERT_EQ(TMessageWindows::FindWindowEx(kClientWindowClass, QString()), handle);
    first->Kill();
    EXPECT_FALSE(TMessageWindows::IsWindow(handle));
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClientWindowClass, QString()), 0u);
    EXPECT_EQ(QDir(env.EndpointDir()).entryList(QDir::Files | QDir::System), QStringList());

    auto next = StartClient(QString());
    EXPECT_FALSE(next->WaitFor(QStringLiteral("ready ")).isEmpty()) << next->Output().toStdString();
}

TEST_F(HostIntegration, ExecuteWaitsForTheExitCodeTheHostKeeps)
{
    auto host = StartHost();
    auto client = StartHostedClient();
    EXPECT_EQ(client->Ask(QStringLiteral("execute /bin/sh 1 -c \"\"\"exit 3\"\"\"")), QStringLiteral("= execute 3"));
    const QString started = client->Ask(QStringLiteral("execute /bin/sh 0 -c \"\"\"exit 0\"\"\""));
    EXPECT_GT(Word(started, 2).toInt(), 0) << started.toStdString();
    EXPECT_EQ(client->Ask(QStringLiteral("execute /no/such/program 1")),
              QStringLiteral("! Could not execute \"/no/such/program.\""));
}

TEST_F(HostIntegration, HostStartsAClientThatFindsItThroughServerHandle)
{
    QProcessEnvironment e = env.ChildEnvironment();
    e.insert(QStringLiteral("IONPATH_TEST_CLIENT"), QStringLiteral("server"));
    TPeer host(kHost, {QStringLiteral("--documents"), docs, QStringLiteral("--no-publish"), kClient, QStringLiteral("lesson")}, e);
    ASSERT_FALSE(host.WaitFor(QStringLiteral("ready ")).isEmpty()) << host.Output().toStdString();
    EXPECT_TRUE(host.WaitFor(QStringLiteral("registered ")).endsWith(QStringLiteral(" host_test_client")))
        << host.Output().toStdString();
    host.Say(QStringLiteral("shutdown"));
    // The client (its output goes where the host's goes) is told the host
    // goes down, and ends without unregistering.
    EXPECT_EQ(host.WaitFor(QStringLiteral("quit-asked ")), QStringLiteral("quit-asked 1"));
    EXPECT_EQ(host.WaitFor(QStringLiteral("ended")), QStringLiteral("ended"));
    EXPECT_EQ(host.Finish(), 0);
    EXPECT_EQ(host.Count(QStringLiteral("unregistered ")), 0);
}

// A program of another user can reach our endpoint only when the folder's
// permissions fail; the credentials check must still refuse it, and we must
// refuse an endpoint that another user put into our folder.
TEST_F(HostIntegration, PeerOfAnotherUserIsRefusedBothWays)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run a peer under another user id";
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        GTEST_SKIP() << "setpriv is not installed";
    const QStringList asNobody = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups"), kPeer};
    {
        // The build may live where the other user cannot run programs.
        QProcess probe;
        probe.start(setpriv, asNobody);
        probe.waitForFinished(kWaitMs);
        if (probe.exitCode() != 2)
            GTEST_SKIP() << "the other user cannot run " << kPeer.toStdString();
    }

    const QString cls = QStringLiteral("TestReceiverClass");
    ASSERT_TRUE(TMessageWindows::RegisterClass(cls));
    int dispatched = 0;
    const TWindowHandle own = TMessageWindows::CreateWindow(
        cls, QString(), [&](TWindowHandle, qint32, const char*, std::size_t) { ++dispatched; });
    ASSERT_NE(own, 0u);
    const QString socketPath = TMessageWindows::SocketPath(own);
    // Take the folder barrier away, as a careless umask or a file system
    // without permissions would.
    for (const QString& dir : {env.Root(), env.RuntimeDir(), env.RuntimeDir() + QStringLiteral("/ionpath"), env.EndpointDir()})
        chmod(dir.toLocal8Bit().constData(), 0777);
    chmod(socketPath.toLocal8Bit().constData(), 0777);

    auto runPeer = [&](const QString& program, const QStringList& arguments) {
        QProcess peer;
        peer.start(program, arguments);
        EXPECT_TRUE(peer.waitForStarted(kWaitMs));
        const QDeadlineTimer deadline(kWaitMs);
        while (peer.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            TMessageWindows::ProcessSentMessages(10);
            peer.waitForFinished(10);
        }
        return QString::fromUtf8(peer.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    };
    const QStringList sendArgs = {QStringLiteral("send"), socketPath, QStringLiteral("42"), QStringLiteral("5000"),
                                  QStringLiteral("intruder")};
    EXPECT_EQ(runPeer(setpriv, asNobody + sendArgs), QStringList({"connected", "closed"}));
    EXPECT_EQ(dispatched, 0);
    // The same peer as our own user is served: the refusal was the check.
    EXPECT_EQ(runPeer(kPeer, sendArgs), QStringList({"connected", "done"}));
    EXPECT_EQ(dispatched, 1);

    // A listener of another user under a window name in our folder.
    const TWindowHandle squatter = 0x5A5A5A5A;
    chmod(env.EndpointDir().toLocal8Bit().constData(), 0777);
    QProcess listener;
    listener.start(setpriv, asNobody + QStringList {QStringLiteral("listen"), env.EndpointDir() + QStringLiteral("/5a5a5a5a.sock"),
                                                    QStringLiteral("3000")});
    ASSERT_TRUE(listener.waitForReadyRead(kWaitMs));
    ASSERT_EQ(listener.readLine().trimmed(), QByteArray("listening"));
    errno = 0;
    EXPECT_FALSE(TMessageWindows::SendCopyData(squatter, own, 5000, QByteArray("secret"), 2000));
    EXPECT_EQ(errno, EACCES);
    listener.kill();
    listener.waitForFinished(kWaitMs);
    TMessageWindows::DestroyWindow(own);
    TMessageWindows::UnregisterClass(cls);
}
