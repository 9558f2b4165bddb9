// tutorix-host: a host for simulation programs, for trying a program inside
// a host and for the tests of the host link. It serves files from a document
// folder, answers variables, host file names and strings, starts programs
// (keeping their exit codes for clients that wait), and takes commands on
// standard input (type "help").

#include "HostConsole.h"
#include "ServerDemon.h"
#include "ViewerHandle.h"
#include "host/MessageWindows.h"
#include "host/ServerLookup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &c, 1);
}

void Print(const QString& line)
{
    std::fputs((line + u'\n').toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

// An exception that reaches the event loop is printed; the host goes on.
class THostApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QCoreApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tutorix-host: %s\n", e.what());
        }
        return false;
    }
};

QMap<QString, QString> Pairs(const QStringList& items, bool& ok, QString& bad)
{
    QMap<QString, QString> map;
    for (const QString& item : items) {
        const qsizetype eq = item.indexOf(u'=');
        if (eq <= 0) {
            ok = false;
            bad = item;
            continue;
        }
        map.insert(item.left(eq), item.mid(eq + 1));
    }
    return map;
}

} // namespace

int main(int argc, char** argv)
{
    THostApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tutorix-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A host for simulation programs: serves files, variables and "
                                                    "programs, and takes commands on standard input."));
    parser.addHelpOption();
    const QCommandLineOption suffixOption(QStringLiteral("suffix"), QStringLiteral("The host's suffix (default: the process id in 8 hex digits)."), QStringLiteral("text"));
    const QCommandLineOption docsOption(QStringLiteral("documents"), QStringLiteral("The folder files are served from (default: the current folder)."), QStringLiteral("folder"));
    const QCommandLineOption workOption(QStringLiteral("work-area"), QStringLiteral("MeridorWorkArea (default: the document folder)."), QStringLiteral("folder"));
    const QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("MeridorHomeDir (default: the document folder)."), QStringLiteral("folder"));
    const QCommandLineOption variableOption(QStringLiteral("variable"), QStringLiteral("A variable for GetVariable (repeatable)."), QStringLiteral("name=value"));
    const QCommandLineOption stringOption(QStringLiteral("string"), QStringLiteral("A host string for GetHostString (repeatable)."), QStringLiteral("key=value"));
    const QCommandLineOption noPublishOption(QStringLiteral("no-publish"), QStringLiteral("Do not publish the suffix as ViewerHandle in the registry."));
    parser.addOptions({suffixOption, docsOption, workOption, homeOption, variableOption, stringOption, noPublishOption});
    parser.addPositionalArgument(QStringLiteral("program"), QStringLiteral("A program to start as a client, with its arguments."), QStringLiteral("[program [argument ...]]"));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    THostSettings settings;
    settings.Suffix = parser.isSet(suffixOption) ? parser.value(suffixOption)
                                                 : QStringLiteral("%1").arg(QCoreApplication::applicationPid(), 8, 16, QLatin1Char('0'));
    settings.Documents = QFileInfo(parser.isSet(docsOption) ? parser.value(docsOption) : QDir::currentPath()).absoluteFilePath();
    settings.WorkArea = parser.isSet(workOption) ? QFileInfo(parser.value(workOption)).absoluteFilePath() : settings.Documents;
    settings.HomeDir = parser.isSet(homeOption) ? QFileInfo(parser.value(homeOption)).absoluteFilePath() : settings.Documents;
    bool ok = true;
    QString bad;
    settings.Variables = Pairs(parser.values(variableOption), ok, bad);
    settings.Strings = Pairs(parser.values(stringOption), ok, bad);
    if (!ok) {
        std::fprintf(stderr, "tutorix-host: expected name=value, got \"%s\"\n", bad.toLocal8Bit().constData());
        return 2;
    }
    if (!QFileInfo(settings.Documents).isDir()) {
        std::fprintf(stderr, "tutorix-host: no document folder %s\n", settings.Documents.toLocal8Bit().constData());
        return 2;
    }
    if (TMessageWindows::FindWindowEx(ServerWindowClassName(settings.Suffix), ServerWindowName(settings.Suffix))) {
        std::fprintf(stderr, "tutorix-host: a host with the suffix %s runs already\n", settings.Suffix.toLocal8Bit().constData());
        return 1;
    }

    // The demon is deleted at shutdown; deleting it ends the event loop.
    TkdbServerDemon* server = nullptr;
    try {
        server = new TkdbServerDemon(settings);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tutorix-host: %s\n", e.what());
        return 1;
    }
    server->OnEvent = Print;
    server->OnGotAMessage = [](TkdbCustomDemon&, TTutorixMessageStream& msg) {
        Print(QStringLiteral("message %1 from %2: %3 bytes").arg(msg.MsgCode).arg(HandleText(msg.Entity.Handle)).arg(msg.Size()));
    };
    std::unique_ptr<TViewerHandlePublication> publication;
    if (!parser.isSet(noPublishOption)) {
        publication = std::make_unique<TViewerHandlePublication>(settings.Suffix);
        if (!publication->Published())
            std::fprintf(stderr, "tutorix-host: could not publish the suffix in %s\n", publication->StorePath().toLocal8Bit().constData());
    }

    bool shuttingDown = false;
    auto shutdown = [&] {
        if (shuttingDown)
            return;
        shuttingDown = true;
        for (const auto& client : std::vector<quint32>([&] {
                 std::vector<quint32> handles;
                 for (const auto& c : server->Clients())
                     handles.push_back(c->Handle);
                 return handles;
             }()))
            server->SendQuit(client, true);
        server->deleteLater();
    };

    THostConsole console(*server);
    console.OnShutdown = shutdown;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            // The end of the commands is not the end of the host.
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(pending.left(end));
            pending.remove(0, end + 1);
            if (shuttingDown)
                break;
            for (const QString& answer : console.Run(line))
                Print(answer);
        }
    });

    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
    }
    QSocketNotifier signalNotifier(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&] {
        char c;
        [[maybe_unused]] const ssize_t n = read(gSignalPipe[0], &c, 1);
        shutdown();
    });

    Print(QStringLiteral("ready %1 %2").arg(settings.Suffix, HandleText(server->OwnEntity.Handle)));
    const QStringList program = parser.positionalArguments();
    if (!program.isEmpty()) {
        QStringList quoted;
        for (const QString& word : program)
            quoted.append(u'"' + QString(word).replace(u'"', QStringLiteral("\"\"\"")) + u'"');
        for (const QString& answer : console.Run(QStringLiteral("start ") + quoted.join(u' ')))
            Print(answer);
    }
    const int status = app.exec();
    Print(QStringLiteral("ended"));
    return status;
}
