#pragma once
// Fault tests about file permissions and other users need a process that
// permissions apply to. Root reads and writes everything, so when the tests
// run as root the check runs in a child process that has become the user
// "nobody" first; otherwise the child keeps the test's own user (a mode of
// 000 or a read-only folder stops the owner too).
//
// The check returns a text (what it saw); the child hands it back through a
// pipe and ends without running any exit handlers of the test program.

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <functional>
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

constexpr uid_t kNobody = 65534;

struct TChildResult {
    bool ran = false;   // the child started and ended normally
    QString text;       // what the check returned
};

inline TChildResult RunAsOtherUser(const std::function<QString()>& check, uid_t user = kNobody)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return {};
    }
    if (pid == 0) {
        close(fds[0]);
        int status = 0;
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0))
            status = 3;
        if (status == 0) {
            const QByteArray text = check().toUtf8();
            qsizetype done = 0;
            while (done < text.size()) {
                const ssize_t n = write(fds[1], text.constData() + done, size_t(text.size() - done));
                if (n <= 0)
                    break;
                done += n;
            }
        }
        close(fds[1]);
        _exit(status);
    }
    close(fds[1]);
    QByteArray text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    TChildResult result;
    result.ran = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.text = QString::fromUtf8(text);
    return result;
}

// Whether the check runs under another user than the test (root only).
inline bool ChecksRunAsOtherUser()
{
    return geteuid() == 0;
}
