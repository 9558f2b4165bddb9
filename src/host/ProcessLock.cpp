#include "host/ProcessLock.h"

#include "host/RuntimeDirectory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString TProcessLock::LockPath(const QString& name)
{
    const QString dir = HostRuntimeDirectory();
    if (dir.isEmpty())
        return {};
    QString file = name;
    file.replace(u'/', u'_');
    return dir + u'/' + file + QStringLiteral(".lock");
}

quint32 TProcessLock::TryAcquire(const QString& name)
{
    const QString path = LockPath(name);
    if (path.isEmpty())
        return 0;
    // Close-on-exec, or a program we start would keep our lock alive.
    const int fd = open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        errno = err;
        return 0;
    }
    // For people looking at the folder; nothing reads it.
    const QByteArray pid = QByteArray::number(getpid()) + '\n';
    if (ftruncate(fd, 0) == 0 && pwrite(fd, pid.constData(), pid.size(), 0) < 0) {
        // The lock is what counts, not the note.
    }
    return quint32(fd);
}

void TProcessLock::Release(quint32 handle)
{
    if (handle != 0)
        close(int(handle));
}
