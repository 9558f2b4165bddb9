#pragma once
// Hidden message windows between the programs of one user: each window is a
// Unix stream socket endpoint "<handle>.sock" with a lock file
// "<handle>.lock" in the private endpoint folder (RuntimeDirectory.h). The
// owner holds an exclusive flock on the lock file for the window's life, so
// the kernel drops it when the process dies and no dead window is ever
// found; the lock file also records the class and window name that
// FindWindowEx looks for.
//
// SendCopyData works like sending WM_COPYDATA: it returns when the receiver
// has handled the block, and while it waits it handles blocks sent to this
// process's own windows (and nothing else: no timers, input or painting), so
// a receiver that answers with a message of its own gets it in before the
// send returns. When idle, blocks arrive through the Qt event loop. Both
// sides check that the peer runs as the same user (SO_PEERCRED); a peer of
// another user is refused.
//
// Everything runs on the thread of the Qt application object.

#include "host/Tutorix.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <exception>
#include <functional>

using TWindowHandle = quint32;

// The window procedure for copy-data blocks: the data is valid only during
// the call, so a handler that keeps any of it copies it.
using TCopyDataProc = std::function<void(TWindowHandle from, qint32 code, const char* data, std::size_t size)>;

class TMessageWindows {
public:
    // A class name may be registered once per process (names compared
    // without regard to ASCII case); false with errno EEXIST otherwise.
    static bool RegisterClass(const QString& className);
    // false with errno ENOENT for an unknown class, EBUSY while it has windows.
    static bool UnregisterClass(const QString& className);

    // A new window of a registered class; 0 with errno set on failure.
    static TWindowHandle CreateWindow(const QString& className, const QString& windowName, TCopyDataProc proc);
    // Replaces the window procedure (it may be empty: blocks are then ignored).
    static bool SetWindowProc(TWindowHandle window, TCopyDataProc proc);
    // Removes the endpoint; a sender waiting on it is told it was not
    // delivered, a block being handled right now is still answered.
    static bool DestroyWindow(TWindowHandle window);

    // A live window of this class and name (ASCII case ignored) in any
    // process of the user, this one included; 0 when there is none.
    static TWindowHandle FindWindowEx(const QString& className, const QString& windowName);
    static bool IsWindow(TWindowHandle window);

    // Delivers the block to the window and waits until it was handled; false
    // (with errno set) when it was not: no such window, a peer of another
    // user, a block larger than kMaxBlockSize, the receiver gone before it
    // answered, or no answer within timeoutMs.
    static bool SendCopyData(TWindowHandle to, TWindowHandle from, qint32 code, QByteArrayView block,
                             int timeoutMs = kDefaultSendTimeoutMs);

    // Waits until fd is readable (timeoutMs < 0: no limit), handling blocks
    // sent to our windows meanwhile; false on time-out.
    static bool WaitForDescriptor(int fd, int timeoutMs);
    // Handles what has arrived for our windows, waiting at most timeoutMs
    // for the first block.
    static void ProcessSentMessages(int timeoutMs = 0);

    // The endpoint socket of a window, for tools that talk to it directly.
    static QString SocketPath(TWindowHandle window);

    // Where an exception thrown by a window procedure goes; it never passes
    // through the transport (the sender is still answered).
    // Default: rethrown from a queued event for the error report; tests replace it.
    static std::function<void(std::exception_ptr)>& HandlerErrorReport();
};
