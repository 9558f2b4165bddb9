// A raw peer of the message transport for the tests that must get past our
// own checks: it talks to a socket path directly, without the credential
// check of the library, as a foreign program would.
//
//   host_test_peer send <socket> <from-hex> <code> <payload>
//       connects, sends one copy-data frame, reports "connected", then
//       "done" (the receiver answered), "closed" or "timeout"
//   host_test_peer listen <socket> <milliseconds>
//       listens there (answering nothing) and reports "listening"

#include "host/WireFrame.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

bool Address(const char* path, sockaddr_un& addr)
{
    if (std::strlen(path) >= sizeof addr.sun_path)
        return false;
    addr = {};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path);
    return true;
}

int Send(const char* path, quint32 from, qint32 code, const std::string& payload)
{
    sockaddr_un addr;
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || !Address(path, addr) || connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        std::printf("refused %s\n", std::strerror(errno));
        return 0;
    }
    std::printf("connected\n");
    std::fflush(stdout);
    TFrameHeader header;
    header.Type = TFrameType::Call;
    header.Sequence = 1;
    header.From = from;
    header.Code = code;
    header.Length = quint32(payload.size());
    const QByteArray frame = EncodeFrameHeader(header) + QByteArray(payload.data(), qsizetype(payload.size()));
    if (send(fd, frame.constData(), std::size_t(frame.size()), MSG_NOSIGNAL) != frame.size()) {
        std::printf("closed\n");
        return 0;
    }
    pollfd p {fd, POLLIN, 0};
    if (poll(&p, 1, 3000) <= 0) {
        std::printf("timeout\n");
        return 0;
    }
    char answer[kFrameHeaderSize];
    const ssize_t n = recv(fd, answer, sizeof answer, MSG_WAITALL);
    TFrameHeader done;
    const bool ok = n == ssize_t(sizeof answer)
        && DecodeFrameHeader(answer, sizeof answer, done) == THeaderStatus::Valid && done.Type == TFrameType::Done;
    std::printf(ok ? "done\n" : "closed\n");
    close(fd);
    return 0;
}

int Listen(const char* path, int milliseconds)
{
    sockaddr_un addr;
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    unlink(path);
    if (fd < 0 || !Address(path, addr) || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || listen(fd, 4) != 0) {
        std::printf("failed %s\n", std::strerror(errno));
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    unlink(path);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::strcmp(argv[1], "send") == 0)
        return Send(argv[2], quint32(std::strtoul(argv[3], nullptr, 16)), qint32(std::atoi(argv[4])), argv[5]);
    if (argc == 4 && std::strcmp(argv[1], "listen") == 0)
        return Listen(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: host_test_peer send <socket> <from> <code> <payload> | listen <socket> <ms>\n");
    return 2;
}
