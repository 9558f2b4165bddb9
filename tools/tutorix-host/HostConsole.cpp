#include "HostConsole.h"

#include "ServerDemon.h"

#include <QProcess>

THostConsole::THostConsole(TkdbServerDemon& server)
    : server_(server)
{
}

QString THostConsole::HelpText()
{
    return QStringLiteral(
        "commands: clients | params <client> [line ...] | send <client> <code> [text] | "
        "quit <client>|all [0|1] | start <program> [argument ...] | find <title> | shutdown | help");
}

QStringList THostConsole::Run(const QString& line)
{
    const QStringList words = QProcess::splitCommand(line);
    if (words.isEmpty())
        return {};
    const QString& command = words.first();
    auto delivered = [](bool ok) { return ok ? QStringLiteral("delivered") : QStringLiteral("not delivered"); };

    if (command == QStringLiteral("help"))
        return {HelpText()};
    if (command == QStringLiteral("clients")) {
        QStringList lines;
        for (const auto& client : server_.Clients())
            lines.append(QStringLiteral("client %1 %2 %3")
                             .arg(HandleText(client->Handle), client->StoredTitle(), client->StoredExePath()));
        lines.append(QStringLiteral("ok %1 clients").arg(server_.Clients().size()));
        return lines;
    }
    if (command == QStringLiteral("params") && words.size() >= 2) {
        const quint32 client = server_.ResolveClient(words[1]);
        return {QStringLiteral("params %1 %2").arg(HandleText(client), delivered(server_.SendParams(client, words.mid(2))))};
    }
    if (command == QStringLiteral("send") && words.size() >= 3) {
        bool ok = false;
        const qint32 code = words[2].toInt(&ok, 0);
        if (!ok)
            return {QStringLiteral("error not a message code: %1").arg(words[2])};
        const quint32 client = server_.ResolveClient(words[1]);
        const QByteArray text = words.mid(3).join(u' ').toUtf8();
        return {QStringLiteral("send %1 %2 %3").arg(HandleText(client)).arg(code).arg(delivered(server_.SendMessage(client, code, text)))};
    }
    if (command == QStringLiteral("quit") && words.size() >= 2)
        return Quit(words);
    if (command == QStringLiteral("start") && words.size() >= 2) {
        QStringList quoted;
        for (const QString& argument : words.mid(2))
            quoted.append(u'"' + QString(argument).replace(u'"', QStringLiteral("\"\"\"")) + u'"');
        const qint32 pid = server_.Execute(words[1], quoted.join(u' '), false, 0);
        return {pid ? QStringLiteral("ok started %1").arg(pid) : QStringLiteral("error could not start %1").arg(words[1])};
    }
    if (command == QStringLiteral("find") && words.size() >= 2) {
        const std::unique_ptr<TEntity> found = server_.FindEntityByTitle(words.mid(1).join(u' '));
        return {found ? QStringLiteral("found %1").arg(HandleText(found->Handle)) : QStringLiteral("found nothing")};
    }
    if (command == QStringLiteral("shutdown"))
        return ShutdownAll();
    return {QStringLiteral("error unknown command: %1 (try help)").arg(line.trimmed())};
}

QStringList THostConsole::Quit(const QStringList& words)
{
    const bool serverDown = words.size() >= 3 && words[2] == QStringLiteral("1");
    std::vector<quint32> targets;
    if (words[1] == QStringLiteral("all")) {
        for (const auto& client : server_.Clients())
            targets.push_back(client->Handle);
    } else {
        targets.push_back(server_.ResolveClient(words[1]));
    }
    QStringList lines;
    for (const quint32 client : targets)
        lines.append(QStringLiteral("quit %1 %2").arg(HandleText(client),
                                                      server_.SendQuit(client, serverDown) ? QStringLiteral("delivered")
                                                                                           : QStringLiteral("not delivered")));
    lines.append(QStringLiteral("ok"));
    return lines;
}

QStringList THostConsole::ShutdownAll()
{
    QStringList lines = Quit({QStringLiteral("quit"), QStringLiteral("all"), QStringLiteral("1")});
    if (OnShutdown)
        OnShutdown();
    return lines;
}
