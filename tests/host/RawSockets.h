#pragma once
// Sockets at our endpoints the way another program would use them, without
// the link's own code: a peer that sends what a test says (or nothing), and a
// listener that accepts and never answers.

#include "host/MessageWindows.h"
#include "host/WireFrame.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

inline sockaddr_un SocketAddress(const QString& path)
{
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    const QByteArray p = path.toLocal8Bit();
    std::copy(p.begin(), p.end(), addr.sun_path);
    return addr;
}

// A listening socket at a window's endpoint that never accepts a message:
// a host that is not ours, or one that has hung. -1 when it cannot be made.
inline int ListenAt(TWindowHandle handle)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un addr = SocketAddress(TMessageWindows::SocketPath(handle));
    if (bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A connection to an endpoint that sends what the test says, or nothing.
class TRawPeer {
public:
    explicit TRawPeer(const QString& path)
    {
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un addr = SocketAddress(path);
        connected_ = connect(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
        error_ = connected_ ? 0 : errno;
    }
    ~TRawPeer() { close(fd_); }
    TRawPeer(const TRawPeer&) = delete;
    TRawPeer& operator=(const TRawPeer&) = delete;

    bool Connected() const { return connected_; }
    int Error() const { return error_; }
    bool Send(const QByteArray& bytes)
    {
        return send(fd_, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    // Whether the receiver has answered a call with its done frame.
    bool Answered()
    {
        char header[kFrameHeaderSize];
        pollfd p {fd_, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0 || recv(fd_, header, sizeof header, MSG_WAITALL) != ssize_t(sizeof header))
            return false;
        TFrameHeader h;
        return DecodeFrameHeader(header, sizeof header, h) == THeaderStatus::Valid && h.Type == TFrameType::Done;
    }
    // The done frames answered so far; closed when the other side hung up.
    int ReadDone(bool& closed)
    {
        int done = 0;
        closed = false;
        while (true) {
            pollfd p {fd_, POLLIN, 0};
            if (poll(&p, 1, 0) <= 0)
                return done;
            char header[kFrameHeaderSize];
            const ssize_t n = recv(fd_, header, sizeof header, MSG_WAITALL);
            if (n == 0) {
                closed = true;
                return done;
            }
            TFrameHeader h;
            if (n == ssize_t(sizeof header) && DecodeFrameHeader(header, sizeof header, h) == THeaderStatus::Valid
                && h.Type == TFrameType::Done)
                ++done;
        }
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    int error_ = 0;
};
