#include "ProgramKeeper.h"

#include "host/Tutorix.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

TProgramKeeper::TProgramKeeper(QObject* parent)
    : QObject(parent)
{
}

TProgramKeeper::~TProgramKeeper()
{
    // The programs end with their host. Clients were told that the host goes
    // down and end by themselves; whatever still runs after a grace period is
    // asked to end, and what ignores that is killed with its QProcess.
    const QDeadlineTimer grace(kGraceMs);
    for (auto& [pid, process] : running_) {
        process->disconnect(this);
        if (!process->waitForFinished(int(std::max<qint64>(1, grace.remainingTime())))) {
            process->terminate();
            process->waitForFinished(1000);
        }
    }
}

qint64 TProgramKeeper::Start(const QString& program, const QStringList& arguments)
{
    auto* process = new QProcess(this);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    const QFileInfo file(program);
    if (file.isAbsolute() || program.contains(u'/'))
        process->setWorkingDirectory(file.absolutePath());
    process->start();
    if (!process->waitForStarted(10000)) {
        delete process;
        return 0;
    }
    // Our standard input carries the host's commands, not the program's.
    process->closeWriteChannel();
    const qint64 pid = process->processId();
    running_[pid] = process;
    connect(process, &QProcess::finished, this, [this, pid, process] { Finished(pid, process); });
    return pid;
}

void TProgramKeeper::Finished(qint64 processId, QProcess* process)
{
    const auto it = running_.find(processId);
    if (it == running_.end() || it->second != process)
        return;
    running_.erase(it);
    const int code = process->exitStatus() == QProcess::CrashExit ? 128 + process->exitCode() : process->exitCode();
    exitCodes_[processId] = code;
    exitOrder_.push_back(processId);
    while (exitOrder_.size() > kKeptExitCodes) {
        exitCodes_.erase(exitOrder_.front());
        exitOrder_.pop_front();
    }
    process->deleteLater();
    if (OnExited)
        OnExited(processId, code);
}

QString TProgramKeeper::ExitCodeText(qint64 processId)
{
    if (const auto it = running_.find(processId); it != running_.end()) {
        // The client saw the program end; collect it now rather than when
        // the event loop gets to it.
        QProcess* process = it->second;
        if (!process->waitForFinished(0) && process->state() != QProcess::NotRunning)
            return kExitCodeRunning;
        if (running_.count(processId))
            Finished(processId, process);
    }
    if (const auto it = exitCodes_.find(processId); it != exitCodes_.end())
        return QString::number(it->second);
    return {};
}
