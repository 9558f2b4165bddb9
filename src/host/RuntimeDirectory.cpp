#include "host/RuntimeDirectory.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString BaseDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) {
        // No session runtime directory (su, cron, some remote shells): a
        // folder of our own in /tmp, checked like the others.
        const QString fallback = QStringLiteral("/tmp/ionpath-%1").arg(geteuid());
        return EnsurePrivateDirectory(fallback) ? fallback : QString();
    }
    const QString flatpakId = qEnvironmentVariable("FLATPAK_ID");
    if (!flatpakId.isEmpty() && !flatpakId.contains(u'/'))
        return runtime + QStringLiteral("/app/") + flatpakId;
    return runtime;
}

} // namespace

bool EnsurePrivateDirectory(const QString& path)
{
    const QByteArray native = path.toLocal8Bit();
    if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (lstat(native.constData(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        errno = ELOOP;
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    if (st.st_uid != geteuid()) {
        errno = EPERM;
        return false;
    }
    if ((st.st_mode & 077) != 0 && chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

QString HostRuntimeDirectory()
{
    const QString base = BaseDirectory();
    if (base.isEmpty())
        return {};
    const QString dir = base + QStringLiteral("/ionpath");
    return EnsurePrivateDirectory(dir) ? dir : QString();
}

QString EndpointDirectory()
{
    const QString base = HostRuntimeDirectory();
    if (base.isEmpty())
        return {};
    const QString dir = base + QStringLiteral("/ipc");
    return EnsurePrivateDirectory(dir) ? dir : QString();
}
