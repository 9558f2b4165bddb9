// The transport inside one process: window classes, finding windows, the
// endpoint folder, frames arriving on a socket in pieces or together, caps,
// time-outs, and handlers that throw or destroy their own window.

#include "HostTestEnvironment.h"
#include "RawSockets.h"
#include "host/MessageWindows.h"
#include "host/RuntimeDirectory.h"
#include "host/WireFrame.h"
#include "support/ScopedHook.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QString kClass = QStringLiteral("TestWindowClass");

struct TReceived {
    TWindowHandle from;
    qint32 code;
    QByteArray data;
};

QByteArray Frame(qint32 code, const QByteArray& payload, quint32 sequence = 1, TWindowHandle from = 0x42)
{
    TFrameHeader h;
    h.Type = TFrameType::Call;
    h.Sequence = sequence;
    h.From = from;
    h.Code = code;
    h.Length = quint32(payload.size());
    return EncodeFrameHeader(h) + payload;
}

void Pump(int rounds = 5)
{
    for (int i = 0; i < rounds; ++i)
        TMessageWindows::ProcessSentMessages(20);
}

class MessageWindows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TMessageWindows::RegisterClass(kClass)); }
    void TearDown() override
    {
        for (TWindowHandle h : windows)
            TMessageWindows::DestroyWindow(h);
        TMessageWindows::UnregisterClass(kClass);
    }
    TWindowHandle Create(const QString& name, TCopyDataProc proc = nullptr)
    {
        const TWindowHandle h = TMessageWindows::CreateWindow(kClass, name, std::move(proc));
        windows.push_back(h);
        return h;
    }
    TCopyDataProc Recorder()
    {
        return [this](TWindowHandle from, qint32 code, const char* data, std::size_t size) {
            received.push_back({from, code, QByteArray(data, qsizetype(size))});
        };
    }

    THostTestEnvironment env;
    std::vector<TWindowHandle> windows;
    std::vector<TReceived> received;
};

} // namespace

TEST_F(MessageWindows, ClassesAreRegisteredOncePerProcessIgnoringCase)
{
    EXPECT_FALSE(TMessageWindows::RegisterClass(kClass.toUpper()));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(TMessageWindows::CreateWindow(QStringLiteral("NoSuchClass"), QString(), nullptr), 0u);
    EXPECT_EQ(errno, ENOENT);
    const TWindowHandle h = Create(QStringLiteral("w"));
    ASSERT_NE(h, 0u);
    EXPECT_FALSE(TMessageWindows::UnregisterClass(kClass));
    EXPECT_EQ(errno, EBUSY);
}

TEST_F(MessageWindows, WindowsAreFoundByClassAndNameUntilDestroyed)
{
    const TWindowHandle a = Create(QStringLiteral("Alpha"));
    const TWindowHandle b = Create(QString());
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClass, QStringLiteral("alpha")), a);
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClass, QString()), b);
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClass, QStringLiteral("Beta")), 0u);
    EXPECT_EQ(TMessageWindows::FindWindowEx(QStringLiteral("Other"), QStringLiteral("Alpha")), 0u);
    EXPECT_TRUE(TMessageWindows::IsWindow(a));
    const QString socketPath = TMessageWindows::SocketPath(a);
    EXPECT_TRUE(QFileInfo::exists(socketPath));

    ASSERT_TRUE(TMessageWindows::DestroyWindow(a));
    EXPECT_FALSE(TMessageWindows::IsWindow(a));
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClass, QStringLiteral("Alpha")), 0u);
    EXPECT_FALSE(QFileInfo::exists(socketPath));
    EXPECT_FALSE(TMessageWindows::IsWindow(0));
}

TEST_F(MessageWindows, EndpointFolderIsPrivate)
{
    const TWindowHandle h = Create(QStringLiteral("w"));
    ASSERT_NE(h, 0u);
    struct stat st {};
    ASSERT_EQ(lstat(env.EndpointDir().toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, geteuid());
    ASSERT_EQ(stat(TMessageWindows::SocketPath(h).toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);

    // Widened by someone: narrowed again on the next use.
    chmod(env.EndpointDir().toLocal8Bit().constData(), 0755);
    EXPECT_FALSE(EndpointDirectory().isEmpty());
    ASSERT_EQ(lstat(env.EndpointDir().toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(MessageWindows, EndpointFolderThatIsALinkIsRefused)
{
    const QString elsewhere = env.Root() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    ASSERT_TRUE(QFile::link(elsewhere, env.RuntimeDir() + QStringLiteral("/ionpath")));
    EXPECT_TRUE(EndpointDirectory().isEmpty());
    EXPECT_EQ(errno, ELOOP);
    EXPECT_EQ(Create(QStringLiteral("w")), 0u);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

TEST_F(MessageWindows, FilesLeftByADeadOwnerAreNotAWindowAndAreRemoved)
{
    QDir().mkpath(env.EndpointDir());
    const QString lock = env.EndpointDir() + QStringLiteral("/0badf00d.lock");
    const QString sock = env.EndpointDir() + QStringLiteral("/0badf00d.sock");
    {
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ionpath-endpoint 1\nTestWindowClass\nGhost\n1\n");
        QFile(sock).open(QIODevice::WriteOnly);
    }
    EXPECT_EQ(TMessageWindows::FindWindowEx(kClass, QStringLiteral("Ghost")), 0u);
    EXPECT_FALSE(QFileInfo::exists(lock));
    EXPECT_FALSE(QFileInfo::exists(sock));
}

TEST_F(MessageWindows, SendToOwnWindowCallsItsProcedureDirectly)
{
    const TWindowHandle h = Create(QStringLiteral("w"), Recorder());
    ASSERT_TRUE(TMessageWindows::SendCopyData(h, 0x77, 4100, QByteArray("payload")));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].from, 0x77u);
    EXPECT_EQ(received[0].code, 4100);
    EXPECT_EQ(received[0].data, QByteArray("payload"));
}

TEST_F(MessageWindows, SendsThatCannotBeDeliveredSayWhy)
{
    const TWindowHandle own = Create(QStringLiteral("w"), Recorder());
    EXPECT_FALSE(TMessageWindows::SendCopyData(0, own, 1, QByteArray("x")));
    EXPECT_FALSE(TMessageWindows::SendCopyData(0x0DEADBEE, own, 1, QByteArray("x")));
    const QByteArray huge(qsizetype(kMaxBlockSize) + 1, 'x');
    EXPECT_FALSE(TMessageWindows::SendCopyData(own, own, 1, huge));
    EXPECT_EQ(errno, EMSGSIZE);
    EXPECT_TRUE(received.empty());
}

// A receiver that accepted the connection and never answers.
TEST_F(MessageWindows, SilentReceiverTimesOut)
{
    const TWindowHandle own = Create(QStringLiteral("w"));
    ASSERT_NE(own, 0u);
    const TWindowHandle silent = 0x0C0FFEE0;
    const int fd = ListenAt(silent);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(TMessageWindows::SendCopyData(silent, own, 5000, QByteArray("hello?"), 200));
    EXPECT_EQ(errno, ETIMEDOUT);
    close(fd);
}

TEST_F(MessageWindows, FramesAreDispatchedWholeWhateverTheyArriveIn)
{
    struct Case {
        const char* what;
        std::vector<QByteArray> chunks;
        int dispatched;
        bool closed;
        qint32 firstCode = 5000;
    };
    const QByteArray one = Frame(5000, "first");
    const QByteArray two = Frame(5001, "second", 2);
    QByteArray badMagic = one;
    badMagic[0] = 'X';
    TFrameHeader oversized;
    oversized.Length = quint32(kMaxBlockSize + 1);
    const Case cases[] = {
        {"one frame", {one}, 1, false},
        {"two frames in one write", {one + two}, 2, false},
        {"one frame in pieces", {one.left(3), one.mid(3, 22), one.mid(25)}, 1, false},
        {"header split from payload", {one.left(24), one.mid(24) + two}, 2, false},
        {"empty payload", {Frame(5002, {})}, 1, false, 5002},
        {"not our header", {badMagic}, 0, true},
        {"payload above the cap", {EncodeFrameHeader(oversized) + "abc"}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        received.clear();
        const TWindowHandle h = Create(QStringLiteral("frames"), Recorder());
        TRawPeer peer(TMessageWindows::SocketPath(h));
        ASSERT_TRUE(peer.Connected());
        for (const QByteArray& chunk : c.chunks) {
            EXPECT_TRUE(peer.Send(chunk));
            Pump(2);
        }
        Pump();
        bool closed = false;
        EXPECT_EQ(int(received.size()), c.dispatched);
        EXPECT_EQ(peer.ReadDone(closed), c.dispatched);
        EXPECT_EQ(closed, c.closed);
        if (c.dispatched > 0) {
            EXPECT_EQ(received[0].from, 0x42u);
            EXPECT_EQ(received[0].code, c.firstCode);
        }
        TMessageWindows::DestroyWindow(h);
    }
}

TEST_F(MessageWindows, HandlerThatThrowsIsReportedAndTheSenderStillAnswered)
{
    std::vector<std::string> reported;
    TScopedHook report(TMessageWindows::HandlerErrorReport(), [&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.push_back(x.what());
        }
    });
    const TWindowHandle h = Create(QStringLiteral("w"), [](TWindowHandle, qint32, const char*, std::size_t) {
        throw Exception(QStringLiteral("handler failed"));
    });
    TRawPeer peer(TMessageWindows::SocketPath(h));
    ASSERT_TRUE(peer.Send(Frame(5000, "x")));
    Pump();
    bool closed = false;
    EXPECT_EQ(peer.ReadDone(closed), 1);
    EXPECT_FALSE(closed);
    EXPECT_EQ(reported, std::vector<std::string>({"handler failed"}));
}

TEST_F(MessageWindows, HandlerThatDestroysItsWindowIsAnsweredThenDisconnected)
{
    TWindowHandle h = 0;
    int calls = 0;
    h = Create(QStringLiteral("w"), [&](TWindowHandle, qint32, const char*, std::size_t) {
        ++calls;
        TMessageWindows::DestroyWindow(h);
    });
    TRawPeer peer(TMessageWindows::SocketPath(h));
    ASSERT_TRUE(peer.Send(Frame(5000, "x") + Frame(5000, "y", 2)));
    Pump();
    bool closed = false;
    EXPECT_EQ(peer.ReadDone(closed), 1);
    EXPECT_TRUE(closed);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(TMessageWindows::IsWindow(h));
}
