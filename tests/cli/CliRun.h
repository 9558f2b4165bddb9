#pragma once
// Runs ionpath-cli in the test's own process, as `ionpath-cli ARGUMENTS...`,
// and keeps what it printed and its exit status.

#include "CliCommands.h"

#include <QStringList>
#include <QTextStream>

struct Result {
    int status = -1;
    QString out, err;
};

inline Result Cli(QStringList arguments)
{
    Result r;
    QTextStream out(&r.out), err(&r.err);
    arguments.prepend(QStringLiteral("ionpath-cli"));
    r.status = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return r;
}
