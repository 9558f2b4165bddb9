// The services between a client and the host, both in this process (the
// transport then calls the other side's procedure directly): registration,
// entities, files, the translation file through the host, variables,
// starting programs and their exit codes, quitting, and a host that is gone.

#include "HostTestEnvironment.h"
#include "ServerDemon.h"
#include "host/DemonClient.h"
#include "i18n/Lexifer2000.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class HostServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        docs = env.Root() + QStringLiteral("/docs");
        QDir().mkpath(docs);
        THostSettings settings;
        settings.Suffix = QStringLiteral("test");
        settings.Documents = docs;
        settings.WorkArea = env.Root() + QStringLiteral("/work");
        settings.HomeDir = env.Root() + QStringLiteral("/home/");
        settings.Variables.insert(QStringLiteral("Course"), QStringLiteral("Physics"));
        settings.Strings.insert(QStringLiteral("Chapter"), QStringLiteral("Mass spectrometry"));
        server = new TkdbServerDemon(settings, {QStringLiteral("/opt/tutorix/host"), {"host"}, QStringLiteral("Tutorix host")});
        server->OnEvent = [this](const QString& line) { events.append(line); };
    }
    void TearDown() override
    {
        delete client;
        delete server;
    }

    TkdbDemonClient& Client(const QString& exe = QStringLiteral("/sim/prog.exe"))
    {
        client = new TkdbDemonClient(&window, {exe, {exe, QStringLiteral("/serverhandle=test")}, QStringLiteral("prog")});
        client->SetMultiStart(true);
        return *client;
    }
    int EventsStartingWith(const QString& prefix) const
    {
        int n = 0;
        for (const QString& e : events)
            n += e.startsWith(prefix) ? 1 : 0;
        return n;
    }

    THostTestEnvironment env;
    QString docs;
    QWidget window;
    QPointer<TkdbServerDemon> server;
    QPointer<TkdbDemonClient> client;
    QStringList events;
};

} // namespace

TEST_F(HostServices, ClientRegistersWhenLoadedAndUnregistersWhenDestroyed)
{
    TkdbDemonClient& c = Client();
    ASSERT_EQ(c.ServerEntity.Handle, server->OwnEntity.Handle);
    c.Loaded();
    ASSERT_EQ(server->Clients().size(), 1u);
    EXPECT_EQ(server->Clients().front()->Handle, c.OwnEntity.Handle);
    EXPECT_EQ(server->Clients().front()->StoredTitle(), QStringLiteral("prog"));
    EXPECT_EQ(server->Clients().front()->StoredExePath(), QStringLiteral("/sim/prog.exe"));
    delete client;
    EXPECT_TRUE(server->Clients().empty());
    EXPECT_EQ(EventsStartingWith(QStringLiteral("registered ")), 1);
    EXPECT_EQ(EventsStartingWith(QStringLiteral("unregistered ")), 1);
}

TEST_F(HostServices, EntitiesAreFoundByTitleAndHandle)
{
    TkdbDemonClient& c = Client();
    c.Loaded();
    const std::unique_ptr<TEntity> byTitle = c.FindEntityByTitle(QStringLiteral("prog"));
    ASSERT_TRUE(byTitle);
    EXPECT_EQ(byTitle->Handle, c.OwnEntity.Handle);
    const std::unique_ptr<TEntity> byHandle = c.FindEntityByHandle(c.OwnEntity.Handle);
    ASSERT_TRUE(byHandle);
    EXPECT_EQ(byHandle->StoredExePath(), QStringLiteral("/sim/prog.exe"));
    EXPECT_FALSE(c.FindEntityByTitle(QStringLiteral("Prog")));
    EXPECT_FALSE(c.FindEntityByHandle(0x1234));
    // The server entity knows only its handle and asks the host for the rest.
    EXPECT_EQ(c.ServerEntity.Title(), QStringLiteral("Tutorix host"));
    EXPECT_EQ(c.ServerEntity.StoredExePath(), QStringLiteral("/opt/tutorix/host"));
}

TEST_F(HostServices, FilesComeFromTheDocumentFolderOnly)
{
    WriteFile(docs + QStringLiteral("/lesson.txt"), "Ions in a field");
    QDir().mkpath(docs + QStringLiteral("/sub"));
    WriteFile(docs + QStringLiteral("/sub/deep.txt"), "deep");
    WriteFile(env.Root() + QStringLiteral("/secret.txt"), "secret");
    QFile::link(env.Root() + QStringLiteral("/secret.txt"), docs + QStringLiteral("/link.txt"));
    TkdbDemonClient& c = Client();
    struct Case {
        QString name;
        QByteArray content; // empty: not found
    };
    const Case cases[] = {
        {"lesson.txt", "Ions in a field"},
        {"sub/deep.txt", "deep"},
        {"sub\\deep.txt", "deep"},
        {docs + "/lesson.txt", "Ions in a field"},
        {"missing.txt", ""},
        {"../secret.txt", ""},
        {env.Root() + "/secret.txt", ""},
        {"link.txt", ""},
        {"sub", ""},
        {"", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name.toStdString());
        const std::unique_ptr<QIODevice> file = c.GetFile(k.name);
        if (k.content.isEmpty()) {
            EXPECT_FALSE(file);
            continue;
        }
        ASSERT_TRUE(file);
        EXPECT_EQ(file->pos(), 0);
        EXPECT_EQ(file->readAll(), k.content);
    }
}

TEST_F(HostServices, TranslationFileComesFromTheHost)
{
    WriteFile(docs + QStringLiteral("/prog.itl"), "[Greeting]=Guten Tag|$$\r\n");
    auto* label = new QLabel(QStringLiteral("LX_Greeting"), &window);
    TkdbDemonClient& c = Client();
    EXPECT_EQ(c.GetHostFileName(c.OwnEntity.ExePath()), docs + QStringLiteral("/prog.exe"));
    c.Loaded();
    EXPECT_EQ(label->text(), QStringLiteral("Guten Tag"));
    EXPECT_EQ(EventsStartingWith(QStringLiteral("file ") + docs + QStringLiteral("/prog.itl sent")), 1);
}

TEST_F(HostServices, VariablesAndHostStringsComeFromTheHost)
{
    TkdbDemonClient& c = Client();
    struct Case {
        QString name;
        QString value;
    };
    const Case cases[] = {
        {"MeridorWorkArea", env.Root() + "/work/"},
        {"MeridorHomeDir", env.Root() + "/home/"},
        {"Course", "Physics"},
        {"course", ""},
        {"$ExitCode:1", ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name.toStdString());
        EXPECT_EQ(c.GetVariable(k.name), k.value);
    }
    EXPECT_EQ(c.GetHostString(QStringLiteral("Chapter")), QStringLiteral("Mass spectrometry"));
    EXPECT_EQ(c.GetHostString(QStringLiteral("Unknown")), QString());
    EXPECT_TRUE(c.PendingReplies().empty());
}

TEST_F(HostServices, ExecuteReturnsTheProcessOrWaitsForItsExitCode)
{
    TkdbDemonClient& c = Client();
    EXPECT_EQ(c.Execute(QStringLiteral("/bin/sh"), QStringLiteral("-c \"exit 3\""), true, 1), 3);
    EXPECT_EQ(c.Execute(QStringLiteral("/bin/sh"), QStringLiteral("-c \"sleep 0.2; exit 0\""), true, 1), 0);
    const qint32 pid = c.Execute(QStringLiteral("/bin/sh"), QStringLiteral("-c \"exit 5\""), false, 1);
    EXPECT_GT(pid, 0);
    try {
        c.Execute(QStringLiteral("/no/such/program"), QString(), true, 1);
        ADD_FAILURE() << "no exception";
    } catch (const ETutorix& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not execute \"/no/such/program.\""));
    }
}

TEST_F(HostServices, QuitWithServerDownZeroUnregistersAndOneDoesNot)
{
    for (const bool serverDown : {false, true}) {
        SCOPED_TRACE(serverDown);
        events.clear();
        TkdbDemonClient& c = Client();
        c.Loaded();
        bool timedOut = false;
        QTimer::singleShot(0, server, [&] { EXPECT_TRUE(server->SendQuit(c.OwnEntity.Handle, serverDown)); });
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
        EXPECT_EQ(EventsStartingWith(QStringLiteral("unregistered ")), serverDown ? 0 : 1);
        EXPECT_TRUE(server->Clients().empty());
    }
}

TEST_F(HostServices, RequestsToAHostThatIsGoneFailWithAStreamReadError)
{
    TkdbDemonClient& c = Client();
    delete server;
    ASSERT_FALSE(c.ServerEntity.IsAlive());
    auto expectReadError = [](const std::function<void()>& f) {
        try {
            f();
            ADD_FAILURE() << "no exception";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Stream read error"));
        }
    };
    expectReadError([&] { c.GetVariable(QStringLiteral("Course")); });
    expectReadError([&] { c.GetFile(QStringLiteral("lesson.txt")); });
    expectReadError([&] { c.GetHostFileName(QStringLiteral("x")); });
    expectReadError([&] { c.Execute(QStringLiteral("/bin/true"), QString(), false, 0); });
    EXPECT_FALSE(c.FindEntityByTitle(QStringLiteral("prog")));
}

TEST_F(HostServices, MalformedRequestGetsNoAnswer)
{
    TkdbDemonClient& c = Client();
    TTutorixMessageStream request(&c, lmGetVariable);
    request.WriteInt32(100); // a name of 100 bytes, 2 of which follow
    request.Write("ab");
    TTutorixMessageStream reply(&c);
    EXPECT_TRUE(c.SendMessageStream(c.ServerEntity, request, &reply));
    EXPECT_EQ(reply.Size(), 0);
    EXPECT_EQ(server->RejectedBlocks(), 1);
    EXPECT_EQ(EventsStartingWith(QStringLiteral("rejected 4106")), 1);
}
