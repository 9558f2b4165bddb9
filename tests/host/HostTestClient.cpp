// A small hosted program for the integration tests: a window with one
// translated label and a host client. It reports what happens on standard
// output, one line each, and takes commands on standard input; answers
// begin with "= " (or "! " with an error message).
//
// Options come from the environment (IONPATH_TEST_CLIENT, comma-separated:
// server, multistart, notranslate), so that the command line is the
// program's parameters and nothing else.

#include "host/DemonClient.h"
#include "i18n/Lexifer2000.h"

#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

namespace {

void Print(const QString& line)
{
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

QString Hex(quint32 h)
{
    return QStringLiteral("%1").arg(h, 8, 16, QLatin1Char('0'));
}

QString RunCommand(TkdbDemonClient& client, const QStringList& words)
{
    const QString& command = words.first();
    const QString arg1 = words.value(1);
    if (command == QStringLiteral("getvar"))
        return QStringLiteral("var ") + client.GetVariable(arg1);
    if (command == QStringLiteral("getfile")) {
        const std::unique_ptr<QIODevice> file = client.GetFile(arg1);
        if (!file)
            return QStringLiteral("nofile");
        const QByteArray bytes = file->readAll();
        return QStringLiteral("file %1 %2").arg(bytes.size()).arg(QString::fromUtf8(bytes).trimmed());
    }
    if (command == QStringLiteral("execute"))
        return QStringLiteral("execute %1").arg(client.Execute(arg1, words.mid(3).join(u' '), words.value(2) == u'1', 1));
    if (command == QStringLiteral("server-title"))
        return QStringLiteral("server-title ") + client.ServerEntity.Title();
    if (command == QStringLiteral("params")) {
        QStringList shown;
        for (int i = 1; i <= client.ParamCount(); ++i)
            shown.append(client.ParamStr(i));
        return QStringLiteral("params %1 %2").arg(client.ParamCount()).arg(shown.join(u'|'));
    }
    if (command == QStringLiteral("twice")) {
        // Two requests in the same millisecond: equal stamps.
        const TTimeStamp stamp = CurrentTimeStamp();
        client.Clock = [stamp] { return stamp; };
        const QString a = client.GetVariable(arg1);
        const QString b = client.GetVariable(words.value(2));
        client.Clock = nullptr;
        return QStringLiteral("twice %1|%2 pending %3").arg(a, b).arg(client.PendingReplies().size());
    }
    return QStringLiteral("unknown command");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList options = qEnvironmentVariable("IONPATH_TEST_CLIENT").split(u',', Qt::SkipEmptyParts);

    QWidget window;
    window.setObjectName(QStringLiteral("frmHosted"));
    window.setWindowTitle(QStringLiteral("LX_Hosted window"));
    auto* label = new QLabel(QStringLiteral("LX_Greeting"), &window);

    QPointer<TkdbDemonClient> client;
    try {
        client = new TkdbDemonClient(&window);
    } catch (const std::exception& e) {
        Print(QStringLiteral("error ") + QString::fromUtf8(e.what()));
        return 3;
    }
    client->SetUseMeridorServer(options.contains(QStringLiteral("server")));
    client->SetMultiStart(options.contains(QStringLiteral("multistart")));
    client->SetAutoTranslate(!options.contains(QStringLiteral("notranslate")));
    client->OnQuitMsgReceived = [](TkdbCustomDemon&, bool serverDown, bool&) {
        Print(QStringLiteral("quit-asked %1").arg(serverDown ? 1 : 0));
    };
    client->OnParamsChange = [](TkdbCustomDemon& sender) {
        Print(QStringLiteral("params-changed %1 %2").arg(sender.Params().size()).arg(sender.Params().join(u'|')));
    };
    client->OnGotAMessage = [](TkdbCustomDemon&, TTutorixMessageStream& msg) {
        Print(QStringLiteral("message %1 %2 %3").arg(msg.MsgCode).arg(Hex(msg.Entity.Handle)).arg(QString::fromUtf8(msg.Data())));
    };
    client->OnRejectedBlock = [](TkdbCustomDemon&, qint32 code, const QString& reason) {
        Print(QStringLiteral("rejected %1 %2").arg(code).arg(reason));
    };

    try {
        client->Loaded();
    } catch (const std::exception& e) {
        Print(QStringLiteral("error ") + QString::fromUtf8(e.what()));
        return 3;
    }
    Print(QStringLiteral("ready %1").arg(Hex(client->OwnEntity.Handle)));
    Print(QStringLiteral("translated %1|%2").arg(window.windowTitle(), label->text()));

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QStringList words = QProcess::splitCommand(QString::fromUtf8(pending.left(end)));
            pending.remove(0, end + 1);
            if (words.isEmpty())
                continue;
            if (words.first() == QStringLiteral("exit")) {
                delete client; // ends the program
                return;
            }
            if (!client)
                continue;
            try {
                Print(QStringLiteral("= ") + RunCommand(*client, words));
            } catch (const std::exception& e) {
                Print(QStringLiteral("! ") + QString::fromUtf8(e.what()));
            }
        }
    });
    const int status = app.exec();
    Print(QStringLiteral("ended"));
    return status;
}
