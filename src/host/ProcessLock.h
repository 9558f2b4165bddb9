#pragma once
// The named lock of the single-instance rule: an exclusive flock on
// "<name>.lock" in the per-user runtime folder. The kernel releases it when
// its process ends in any way, so a crashed copy never blocks the next one,
// and no process ids are involved (they repeat inside sandboxes). The file
// is never removed: a removed and re-created file would let two processes
// each hold a lock on a different file.

#include <QString>
#include <QtGlobal>

class TProcessLock {
public:
    // The handle of the lock, now held by this process; 0 when another
    // holder has it (errno EWOULDBLOCK, also for a holder in this process)
    // or when it cannot be made (errno tells why).
    static quint32 TryAcquire(const QString& name);
    static void Release(quint32 handle);
    // The lock file of a name ("/" in it becomes "_").
    static QString LockPath(const QString& name);
};
