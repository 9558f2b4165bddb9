#pragma once
// The programs the host started, and the exit codes of those that ended.
// Only a parent learns a process's exit code, so clients that wait for a
// program they had the host start ask the host for it. The programs end with
// the host (see the destructor).

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <utility>

class QProcess;

class TProgramKeeper : public QObject {
public:
    explicit TProgramKeeper(QObject* parent = nullptr);
    ~TProgramKeeper() override;

    // Starts the program in its own folder, its output going where ours goes;
    // the process id, or 0 when it could not be started.
    qint64 Start(const QString& program, const QStringList& arguments);
    // The decimal exit code of an ended program (128 + signal for one that
    // was killed), "running" while it runs, empty for a process we did not
    // start or have forgotten.
    QString ExitCodeText(qint64 processId);

    std::function<void(qint64 processId, int exitCode)> OnExited;

    // Exit codes kept; the oldest are forgotten first.
    static constexpr std::size_t kKeptExitCodes = 1024;
    // How long programs may take to end by themselves when the host ends.
    static constexpr int kGraceMs = 3000;

private:
    void Finished(qint64 processId, QProcess* process);

    std::map<qint64, QProcess*> running_;
    std::map<qint64, int> exitCodes_;
    std::deque<qint64> exitOrder_;
};
