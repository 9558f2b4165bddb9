#pragma once
// The host's console: one command per line on standard input, one or more
// answer lines back. It is how a teacher tries a program inside a host and
// how the tests drive the host.
//
//   clients                         the registered clients
//   params <client> [line ...]      replace a client's parameters
//   send <client> <code> [text]     a message with any code, text as content
//   quit <client>|all [0|1]         tell clients to quit; 1: the host goes down
//   start <program> [argument ...]  start a program with /serverhandle=
//   find <title>                    the entity the host answers for a title
//   shutdown                        every client is told, then the host ends
//   help
//
// <client> is a handle (hexadecimal) or a title; words may be quoted.

#include <QString>
#include <QStringList>
#include <functional>

class TkdbServerDemon;

class THostConsole {
public:
    explicit THostConsole(TkdbServerDemon& server);

    // The answer lines of one command.
    QStringList Run(const QString& line);

    // Called by "shutdown" after the clients were told.
    std::function<void()> OnShutdown;

    static QString HelpText();

private:
    QStringList Quit(const QStringList& words);
    QStringList ShutdownAll();

    TkdbServerDemon& server_;
};
