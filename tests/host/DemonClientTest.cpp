// The client on its own: parameters, stand-alone services, the translation
// file, the receive path of blocks, reply matching, the single-instance rule
// and the end of the program.

#include "HostTestEnvironment.h"
#include "RawSockets.h"
#include "host/DemonClient.h"
#include "host/ErrorText.h"
#include "host/MessageWindows.h"
#include "host/ProcessLock.h"
#include "i18n/Lexifer2000.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TkdbCustomDemon::TProgram Program(const QString& exe, QStringList parameters = {})
{
    parameters.prepend(exe);
    return {exe, parameters, QStringLiteral("prog")};
}

QByteArray Block(TTimeStamp stamp, const QByteArray& content)
{
    QByteArray block(8, '\0');
    qToLittleEndian<qint32>(stamp.Time, block.data());
    qToLittleEndian<qint32>(stamp.Date, block.data() + 4);
    return block + content;
}

void Receive(TkdbCustomDemon& demon, quint32 from, qint32 code, const QByteArray& block)
{
    demon.ReceiveBlock(from, code, block.constData(), std::size_t(block.size()));
}

class DemonClient : public ::testing::Test {
protected:
    THostTestEnvironment env;
    QWidget owner;
};

} // namespace

TEST_F(DemonClient, ParamsHideTheServerHandleAndParamStrZeroIsTheExecutable)
{
    TkdbDemonClient client(&owner, {QStringLiteral("/opt/sim/prog.exe"), {"prog.exe", "data.tra", "/serverhandle=00ab"}, "prog"});
    EXPECT_EQ(client.ParamCount(), 1);
    EXPECT_EQ(client.ParamStr(1), QStringLiteral("data.tra"));
    EXPECT_EQ(client.ParamStr(0), QStringLiteral("/opt/sim/prog.exe"));
    EXPECT_EQ(client.Params().first(), QStringLiteral("prog.exe"));
}

TEST_F(DemonClient, ParamStrOutsideTheParametersRaisesWithTheIndex)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/opt/sim/prog")));
    EXPECT_EQ(client.ParamCount(), 0);
    for (int index : {1, -1, 2}) {
        SCOPED_TRACE(index);
        try {
            client.ParamStr(index);
            ADD_FAILURE() << "no exception";
        } catch (const ETutorix& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Illegal \"ParamStr\" parameter: %1").arg(index));
        }
    }
}

TEST_F(DemonClient, StandAloneVariablesAreTheExecutablesFolder)
{
    struct Case {
        QString exe;
        QString name;
        QString value;
    };
    const Case cases[] = {
        {"/Sim/prog.exe", "MeridorHomeDir", "/Sim/"},
        {"/Sim/prog.exe", "MeridorWorkArea", "/Sim/"},
        {"/Sim/prog.exe", "meridorhomedir", ""},
        {"/Sim/prog.exe", "Course", ""},
        {"C:\\Sim\\prog.exe", "MeridorHomeDir", "C:\\Sim\\"},
        {"prog", "MeridorHomeDir", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.exe + u' ' + c.name).toStdString());
        TkdbDemonClient client(&owner, Program(c.exe));
        client.SetUseMeridorServer(false);
        EXPECT_EQ(client.GetVariable(c.name), c.value);
    }
}

TEST_F(DemonClient, StandAloneTranslationFileBesideTheExecutableTranslatesTheOwner)
{
    struct Case {
        QString exeName;
        QString itlName; // empty: no file
        QString label;
    };
    const Case cases[] = {
        {"prog.exe", "prog.itl", "Hallo"},
        {"ionpath", "ionpath.itl", "Hallo"},
        {"prog.exe", "", "Greeting"},
        {"prog.exe", "other.itl", "Greeting"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exeName.toStdString() + " " + c.itlName.toStdString());
        const QString dir = env.Root() + QStringLiteral("/sim");
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        if (!c.itlName.isEmpty()) {
            QFile file(dir + u'/' + c.itlName);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("[Greeting]=Hallo|$$\r\n[Ionpath]=Ionenbahn|$$\r\n");
        }
        QWidget window;
        auto* label = new QLabel(QStringLiteral("LX_Greeting"), &window);
        TkdbDemonClient client(&window, Program(dir + u'/' + c.exeName));
        client.SetUseMeridorServer(false);
        client.SetMultiStart(true);
        client.Loaded();
        EXPECT_EQ(label->text(), c.label);
        EXPECT_EQ(client.TranslateText(QStringLiteral("Ionpath")),
                  c.label == QStringLiteral("Hallo") ? QStringLiteral("Ionenbahn") : QStringLiteral("Ionpath"));
    }
}

TEST_F(DemonClient, WithoutTheHostConnectRaisesServerNotRunning)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog")));
    ASSERT_TRUE(client.UseMeridorServer());
    ASSERT_EQ(client.ServerEntity.Handle, 0u);
    try {
        client.Loaded();
        ADD_FAILURE() << "no exception";
    } catch (const ETutorix& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Tutorix server application is not running"));
    }
}

TEST_F(DemonClient, SecondClientInOneProcessFailsWithTheSystemsText)
{
    TkdbDemonClient first(&owner, Program(QStringLiteral("/x/prog")));
    try {
        TkdbDemonClient second(&owner, Program(QStringLiteral("/x/prog")));
        ADD_FAILURE() << "no exception";
    } catch (const ETutorix& e) {
        EXPECT_EQ(e.Message(), ErrorString(EEXIST));
    }
    // The first one still works.
    EXPECT_TRUE(first.OwnEntity.IsAlive());
}

TEST_F(DemonClient, ReceivedBlockCarriesStampSenderAndContent)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog")));
    int calls = 0;
    client.OnGotAMessage = [&](TkdbCustomDemon& sender, TTutorixMessageStream& msg) {
        ++calls;
        EXPECT_EQ(&sender, &client);
        EXPECT_EQ(msg.MsgCode, 5000);
        EXPECT_EQ(msg.Entity.Handle, 0xABCDu);
        EXPECT_EQ(msg.Stamp, (TTimeStamp {1000, 730120}));
        EXPECT_EQ(msg.Position(), 0);
        EXPECT_EQ(msg.ReadString(), QStringLiteral("hello"));
    };
    TTutorixMessageStream content;
    content.WriteString(QStringLiteral("hello"));
    Receive(client, 0xABCD, 5000, Block({1000, 730120}, content.Data()));
    EXPECT_EQ(calls, 1);
}

TEST_F(DemonClient, BlocksShorterThanTheStampOrLargerThanTheCapAreNotDispatched)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog")));
    int dispatched = 0;
    QStringList reasons;
    client.OnGotAMessage = [&](TkdbCustomDemon&, TTutorixMessageStream&) { ++dispatched; };
    client.OnRejectedBlock = [&](TkdbCustomDemon&, qint32, const QString& reason) { reasons.append(reason); };
    const char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (std::size_t size : {0, 1, 7})
        client.ReceiveBlock(1, 5000, bytes, size);
    // Claims more than the cap: refused before a byte is read (the buffer
    // is 8 bytes; reading it would be caught by the address sanitizer).
    client.ReceiveBlock(1, 5000, bytes, kMaxBlockSize + 1);
    // An lmQuit without its byte is not a quit.
    client.ReceiveBlock(1, lmQuit, bytes, 8);
    EXPECT_EQ(dispatched, 0);
    EXPECT_EQ(reasons.size(), 5);
    EXPECT_EQ(client.RejectedBlocks(), 5);
    EXPECT_FALSE(client.ServerDown());
    // Exactly the stamp: a message with no content.
    client.ReceiveBlock(1, 5000, bytes, 8);
    EXPECT_EQ(dispatched, 1);
}

TEST_F(DemonClient, ParamsMessageReplacesParamsAndNotifiesOnce)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog"), {"a", "b", "c"}));
    int changes = 0;
    client.OnParamsChange = [&](TkdbCustomDemon&) { ++changes; };
    Receive(client, 2, lmParams, Block({}, "first\r\nsecond line\r\n"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(client.Params(), QStringList({"first", "second line"}));
    EXPECT_EQ(client.ParamCount(), 1);
    EXPECT_EQ(client.ParamStr(1), QStringLiteral("second line"));
    // ParamStr(0) stays the executable, whatever entry 0 became.
    EXPECT_EQ(client.ParamStr(0), QStringLiteral("/x/prog"));
}

TEST_F(DemonClient, ReplyIsMatchedToTheFirstPendingEntryWithTheSameStamp)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog")));
    const TTimeStamp same {5000, 730120};
    Receive(client, 9, lmReply, Block({4000, 730120}, "older"));
    Receive(client, 9, lmReply, Block(same, "first"));
    Receive(client, 9, lmReply, Block(same, "second"));
    ASSERT_EQ(client.PendingReplies().size(), 3u);

    client.Clock = [same] { return same; };
    TEntity nobody(&client);
    for (const char* expected : {"first", "second"}) {
        TTutorixMessageStream request(&client, lmGetVariable);
        TTutorixMessageStream reply(&client);
        EXPECT_FALSE(client.SendMessageStream(nobody, request, &reply)); // no receiver
        EXPECT_EQ(reply.Data(), QByteArray(expected));
        EXPECT_EQ(reply.Stamp, same);
        EXPECT_EQ(reply.Position(), 0);
    }
    ASSERT_EQ(client.PendingReplies().size(), 1u);
    EXPECT_EQ(client.PendingReplies().front()->Data(), QByteArray("older"));
    TTutorixMessageStream request(&client, lmGetVariable);
    TTutorixMessageStream reply(&client);
    client.SendMessageStream(nobody, request, &reply);
    EXPECT_EQ(reply.Size(), 0);
}

TEST_F(DemonClient, PendingRepliesNobodyCollectsAreBounded)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog")));
    for (int i = 0; i < int(TkdbCustomDemon::kMaxPendingReplies) + 10; ++i)
        Receive(client, 9, lmReply, Block({i, 1}, "x"));
    ASSERT_EQ(client.PendingReplies().size(), TkdbCustomDemon::kMaxPendingReplies);
    EXPECT_EQ(client.PendingReplies().front()->Stamp.Time, 10); // the oldest went
}

TEST_F(DemonClient, QuitVetoedKeepsTheProgramAndRecordsServerDown)
{
    QPointer<TkdbDemonClient> client = new TkdbDemonClient(&owner, Program(QStringLiteral("/x/prog")));
    bool asked = false;
    client->OnQuitMsgReceived = [&](TkdbCustomDemon&, bool serverDown, bool& allowQuit) {
        asked = true;
        EXPECT_TRUE(serverDown);
        allowQuit = false;
    };
    Receive(*client, 3, lmQuit, Block({}, QByteArray(1, '\1')));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(asked);
    ASSERT_FALSE(client.isNull());
    EXPECT_TRUE(client->ServerDown());
    delete client;
}

// Destroying the client ends the program: the running event loop returns.
TEST_F(DemonClient, AllowedQuitDestroysTheClientAndEndsTheEventLoop)
{
    QPointer<TkdbDemonClient> client = new TkdbDemonClient(&owner, Program(QStringLiteral("/x/prog")));
    bool timedOut = false;
    QTimer::singleShot(0, client, [&] { Receive(*client, 3, lmQuit, Block({}, QByteArray(1, '\0'))); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(client.isNull());
}

TEST_F(DemonClient, SecondCopyEndsAtOnceUnlessMultiStart)
{
    struct Case {
        QString exe;
        bool multiStart;
        bool ends;
    };
    // The lock is named after the file name only, so a copy in another
    // folder counts as a second copy too.
    const Case cases[] = {
        {"/first/prog.exe", false, true},
        {"/elsewhere/prog.exe", false, true},
        {"/first/prog.exe", true, false},
        {"/first/other.exe", false, false},
    };
    const quint32 held = TProcessLock::TryAcquire(QStringLiteral("TX_prog.exe"));
    ASSERT_NE(held, 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe.toStdString());
        TkdbDemonClient client(&owner, Program(c.exe));
        client.SetUseMeridorServer(false);
        client.SetMultiStart(c.multiStart);
        int ended = 0;
        client.EndProgram = [&] { ++ended; };
        client.Loaded();
        EXPECT_EQ(client.Ending(), c.ends);
        EXPECT_EQ(ended, c.ends ? 1 : 0);
        EXPECT_EQ(client.OwnEntity.MutexHandle != 0, !c.ends && !c.multiStart);
    }
    TProcessLock::Release(held);
    // Released: the next copy is the first.
    TkdbDemonClient client(&owner, Program(QStringLiteral("/first/prog.exe")));
    client.SetUseMeridorServer(false);
    client.EndProgram = [] { ADD_FAILURE() << "ended"; };
    client.Loaded();
    EXPECT_FALSE(client.Ending());
}

// A host that accepted the request and never answers: the request fails
// after the client's send time-out instead of freezing the program.
TEST_F(DemonClient, HostThatNeverAnswersFailsTheRequestAfterTheTimeout)
{
    TkdbDemonClient client(&owner, Program(QStringLiteral("/x/prog")));
    const TWindowHandle silent = 0x51E0751E;
    const int fd = ListenAt(silent);
    ASSERT_GE(fd, 0);
    client.ServerEntity.Handle = silent;
    EXPECT_EQ(client.SendTimeout(), kDefaultSendTimeoutMs);
    client.SetSendTimeout(200);
    EXPECT_THROW(client.GetVariable(QStringLiteral("Course")), EReadError);
    close(fd);
}

TEST(ErrorText, IsTheSystemsTextForErrno)
{
    errno = ENOENT;
    EXPECT_EQ(TkdbCustomDemon::GetLastErrorString(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_EQ(ErrorString(EEXIST), QString::fromLocal8Bit(std::strerror(EEXIST)));
}
