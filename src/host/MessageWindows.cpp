#include "host/MessageWindows.h"

#include "host/RuntimeDirectory.h"
#include "host/WireFrame.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEvent>
#include <QPointer>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QUrl>

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <map>
#include <memory>
#include <set>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

// Deeper nesting of sends inside handlers of sent blocks is refused: it is
// a loop between programs, not a conversation.
constexpr int kMaxNesting = 32;
constexpr std::size_t kMaxConnectionsPerWindow = 64;
constexpr qsizetype kReadChunk = 64 * 1024;
// The time a handled block's answer may take to go out when its window was
// destroyed by the handler and the connection is closed after it.
constexpr int kOrphanFlushMs = 1000;
const QByteArray kRecordTag = QByteArrayLiteral("ionpath-endpoint 1");

QString HandleText(TWindowHandle h)
{
    return QStringLiteral("%1").arg(h, 8, 16, QLatin1Char('0'));
}

// The window system ignores ASCII case in class and window names.
QString ClassKey(const QString& name)
{
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return key;
}

bool SameName(const QString& a, const QString& b)
{
    return ClassKey(a) == ClassKey(b);
}

bool PeerIsSameUser(int fd)
{
    ucred cred {};
    socklen_t len = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    if (cred.uid != geteuid()) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool FillAddress(const QString& path, sockaddr_un& addr)
{
    const QByteArray native = path.toLocal8Bit();
    if (native.isEmpty() || std::size_t(native.size()) >= sizeof addr.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    addr = {};
    addr.sun_family = AF_UNIX;
    std::copy(native.begin(), native.end(), addr.sun_path);
    return true;
}

bool SameInode(int fd, const QByteArray& path)
{
    struct stat a {}, b {};
    return fstat(fd, &a) == 0 && stat(path.constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The class and window name recorded in a lock file.
struct TEndpointRecord {
    QString ClassName;
    QString WindowName;
};

QByteArray EncodeRecord(const QString& className, const QString& windowName)
{
    return kRecordTag + '\n' + QUrl::toPercentEncoding(className) + '\n' + QUrl::toPercentEncoding(windowName) + '\n'
        + QByteArray::number(getpid()) + '\n';
}

bool DecodeRecord(const QByteArray& bytes, TEndpointRecord& record)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 3 || lines[0] != kRecordTag)
        return false;
    record.ClassName = QUrl::fromPercentEncoding(lines[1]);
    record.WindowName = QUrl::fromPercentEncoding(lines[2]);
    return true;
}

enum class TChannelKind { Listener, Incoming, Outgoing, External };

struct TEndpoint;

// One descriptor in the epoll set.
struct TChannel {
    TChannelKind Kind = TChannelKind::Incoming;
    int Fd = -1;
    quint64 Id = 0;
    std::weak_ptr<TEndpoint> Endpoint; // listener, incoming
    TWindowHandle Target = 0;          // outgoing
    QByteArray In;                     // at most one frame
    QByteArray Out;
    qsizetype OutOffset = 0;
    bool WantWrite = false;
    std::set<quint32> Done;            // outgoing: answered sequences
    int Dispatching = 0;
    bool Orphaned = false;             // close once the current block is answered
    bool Closed = false;
    bool Ready = false;                // external: became readable
};

struct TEndpoint {
    TWindowHandle Handle = 0;
    QString ClassName;
    QString WindowName;
    TCopyDataProc Proc;
    int LockFd = -1;
    QByteArray LockPath;
    QByteArray SocketPath;
    std::shared_ptr<TChannel> Listener;
    std::vector<std::weak_ptr<TChannel>> Incoming;
};

// Carries exceptions of window procedures to the event loop.
class TErrorCarrier : public QObject {
public:
    using QObject::QObject;
    void Queue(std::exception_ptr error)
    {
        errors_.push_back(std::move(error));
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User || errors_.empty())
            return QObject::event(e);
        std::exception_ptr error = errors_.front();
        errors_.pop_front();
        std::rethrow_exception(error);
    }

private:
    std::deque<std::exception_ptr> errors_;
};

class THub {
public:
    static THub& Instance()
    {
        static THub hub;
        return hub;
    }

    ~THub()
    {
        for (auto& [id, channel] : channels_)
            if (channel->Fd >= 0 && channel->Kind != TChannelKind::External)
                close(channel->Fd);
        for (auto& [h, ep] : endpoints_) {
            unlink(ep->SocketPath.constData());
            unlink(ep->LockPath.constData());
            close(ep->LockFd);
        }
        if (epollFd_ >= 0)
            close(epollFd_);
    }

    bool RegisterClass(const QString& className)
    {
        const QString key = ClassKey(className);
        if (classes_.count(key)) {
            errno = EEXIST;
            return false;
        }
        classes_.insert(key);
        return true;
    }

    bool UnregisterClass(const QString& className)
    {
        const QString key = ClassKey(className);
        if (!classes_.count(key)) {
            errno = ENOENT;
            return false;
        }
        for (const auto& [h, ep] : endpoints_)
            if (ClassKey(ep->ClassName) == key) {
                errno = EBUSY;
                return false;
            }
        classes_.erase(key);
        return true;
    }

    TWindowHandle CreateWindow(const QString& className, const QString& windowName, TCopyDataProc proc)
    {
        if (!classes_.count(ClassKey(className))) {
            errno = ENOENT;
            return 0;
        }
        if (epollFd_ < 0) {
            errno = EMFILE;
            return 0;
        }
        const QString dir = EndpointDirectory();
        if (dir.isEmpty())
            return 0;
        for (int attempt = 0; attempt < 64; ++attempt) {
            const TWindowHandle h = QRandomGenerator::system()->bounded(1u, 0x7FFFFFFFu);
            if (endpoints_.count(h))
                continue;
            const QByteArray lockPath = (dir + u'/' + HandleText(h) + QStringLiteral(".lock")).toLocal8Bit();
            const QByteArray socketPath = (dir + u'/' + HandleText(h) + QStringLiteral(".sock")).toLocal8Bit();
            const int lockFd = open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (lockFd < 0)
                return 0;
            // The lock decides who owns the handle; a file that is still
            // there after its owner died is taken over. A cleaner may have
            // removed the file between open and lock: then try again.
            if (flock(lockFd, LOCK_EX | LOCK_NB) != 0 || !SameInode(lockFd, lockPath)) {
                close(lockFd);
                continue;
            }
            const int listenFd = Listen(socketPath);
            if (listenFd < 0) {
                const int err = errno;
                unlink(lockPath.constData());
                close(lockFd);
                errno = err;
                return 0;
            }
            // Findable only once it listens.
            const QByteArray record = EncodeRecord(className, windowName);
            if (ftruncate(lockFd, 0) != 0 || pwrite(lockFd, record.constData(), record.size(), 0) != record.size()) {
                const int err = errno;
                close(listenFd);
                unlink(socketPath.constData());
                unlink(lockPath.constData());
                close(lockFd);
                errno = err ? err : EIO;
                return 0;
            }
            auto ep = std::make_shared<TEndpoint>();
            ep->Handle = h;
            ep->ClassName = className;
            ep->WindowName = windowName;
            ep->Proc = std::move(proc);
            ep->LockFd = lockFd;
            ep->LockPath = lockPath;
            ep->SocketPath = socketPath;
            ep->Listener = AddChannel(TChannelKind::Listener, listenFd);
            ep->Listener->Endpoint = ep;
            endpoints_[h] = ep;
            return h;
        }
        errno = EAGAIN;
        return 0;
    }

    bool SetWindowProc(TWindowHandle h, TCopyDataProc proc)
    {
        const auto it = endpoints_.find(h);
        if (it == endpoints_.end()) {
            errno = EINVAL;
            return false;
        }
        it->second->Proc = std::move(proc);
        return true;
    }

    bool DestroyWindow(TWindowHandle h)
    {
        const auto it = endpoints_.find(h);
        if (it == endpoints_.end()) {
            errno = EINVAL;
            return false;
        }
        std::shared_ptr<TEndpoint> ep = it->second;
        endpoints_.erase(it);
        CloseChannel(ep->Listener);
        for (const auto& weak : ep->Incoming)
            if (auto c = weak.lock()) {
                if (c->Dispatching > 0)
                    c->Orphaned = true;
                else
                    CloseChannel(c);
            }
        // We still hold the lock, so nobody else can own this name yet.
        unlink(ep->SocketPath.constData());
        unlink(ep->LockPath.constData());
        close(ep->LockFd);
        ep->LockFd = -1;
        ep->Proc = nullptr;
        return true;
    }

    TWindowHandle FindWindowEx(const QString& className, const QString& windowName)
    {
        for (const auto& [h, ep] : endpoints_)
            if (SameName(ep->ClassName, className) && SameName(ep->WindowName, windowName))
                return h;
        const QString dir = EndpointDirectory();
        if (dir.isEmpty())
            return 0;
        const QStringList locks = QDir(dir).entryList({QStringLiteral("*.lock")}, QDir::Files | QDir::System);
        for (const QString& name : locks) {
            bool ok = false;
            const TWindowHandle h = name.left(name.size() - 5).toUInt(&ok, 16);
            if (!ok || h == 0 || name.size() != 13 || endpoints_.count(h))
                continue;
            TEndpointRecord record;
            if (!ReadRecord(dir + u'/' + name, record))
                continue;
            if (SameName(record.ClassName, className) && SameName(record.WindowName, windowName) && IsForeignAlive(h))
                return h;
        }
        return 0;
    }

    bool IsWindow(TWindowHandle h)
    {
        if (h == 0)
            return false;
        if (endpoints_.count(h))
            return true;
        return IsForeignAlive(h);
    }

    bool SendCopyData(TWindowHandle to, TWindowHandle from, qint32 code, QByteArrayView block, int timeoutMs)
    {
        if (std::size_t(block.size()) > kMaxBlockSize) {
            errno = EMSGSIZE;
            return false;
        }
        if (to == 0) {
            errno = ENOENT;
            return false;
        }
        if (depth_ >= kMaxNesting) {
            errno = ELOOP;
            return false;
        }
        TDepth depth(depth_);
        // A window of our own process gets the block directly, as the window
        // system calls the procedure of a window of the sending thread.
        if (const auto it = endpoints_.find(to); it != endpoints_.end()) {
            TCopyDataProc proc = it->second->Proc;
            CallProc(proc, from, code, block);
            return true;
        }
        const QDeadlineTimer deadline = Deadline(timeoutMs);
        std::shared_ptr<TChannel> c = Connect(to, deadline);
        if (!c)
            return false;
        const quint32 sequence = nextSequence_++;
        TFrameHeader header;
        header.Type = TFrameType::Call;
        header.Sequence = sequence;
        header.From = from;
        header.Code = code;
        header.Length = quint32(block.size());
        Queue(c, EncodeFrameHeader(header));
        Queue(c, block);
        while (true) {
            if (c->Done.erase(sequence))
                return true;
            if (c->Closed) {
                errno = ECONNRESET;
                return false;
            }
            if (deadline.hasExpired()) {
                // A late answer would only confuse the next send.
                CloseChannel(c);
                errno = ETIMEDOUT;
                return false;
            }
            Pump(RemainingMs(deadline));
        }
    }

    bool WaitForDescriptor(int fd, int timeoutMs)
    {
        const QDeadlineTimer deadline = Deadline(timeoutMs);
        std::shared_ptr<TChannel> c = AddChannel(TChannelKind::External, fd);
        if (!c)
            return false;
        while (!c->Ready && !deadline.hasExpired())
            Pump(RemainingMs(deadline));
        const bool ready = c->Ready;
        CloseChannel(c);
        return ready;
    }

    void Pump(int timeoutMs)
    {
        if (epollFd_ < 0)
            return;
        epoll_event events[32];
        const int n = epoll_wait(epollFd_, events, 32, timeoutMs);
        if (n <= 0)
            return;
        // Handlers may close channels and open new ones: look each up again.
        for (int i = 0; i < n; ++i) {
            const auto it = channels_.find(events[i].data.u64);
            if (it == channels_.end())
                continue;
            std::shared_ptr<TChannel> c = it->second;
            Service(c, events[i].events);
        }
    }

    void DefaultReport(std::exception_ptr error)
    {
        if (QCoreApplication::instance()) {
            if (!carrier_)
                carrier_ = new TErrorCarrier(QCoreApplication::instance());
            carrier_->Queue(std::move(error));
            return;
        }
        try {
            std::rethrow_exception(error);
        } catch (const Exception& e) {
            fprintf(stderr, "%s\n", e.what());
        } catch (const std::exception& e) {
            fprintf(stderr, "%s\n", e.what());
        } catch (...) {
            fprintf(stderr, "unknown exception in a message handler\n");
        }
    }

private:
    THub()
        : epollFd_(epoll_create1(EPOLL_CLOEXEC))
    {
    }

    struct TDepth {
        explicit TDepth(int& d) : depth(d) { ++depth; }
        ~TDepth() { --depth; }
        int& depth;
    };

    static QDeadlineTimer Deadline(int timeoutMs)
    {
        return timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(qint64(timeoutMs));
    }

    static int RemainingMs(const QDeadlineTimer& deadline)
    {
        if (deadline.isForever())
            return -1;
        return int(std::clamp<qint64>(deadline.remainingTime(), 0, 1000 * 1000));
    }

    static int Listen(const QByteArray& socketPath)
    {
        sockaddr_un addr;
        if (!FillAddress(QString::fromLocal8Bit(socketPath), addr))
            return -1;
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return -1;
        unlink(socketPath.constData()); // a dead owner's; we hold the lock
        if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || chmod(socketPath.constData(), 0600) != 0
            || listen(fd, 16) != 0) {
            const int err = errno;
            close(fd);
            unlink(socketPath.constData());
            errno = err;
            return -1;
        }
        return fd;
    }

    static bool ReadRecord(const QString& path, TEndpointRecord& record)
    {
        const int fd = open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            return false;
        struct stat st {};
        char buffer[4096];
        ssize_t n = -1;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid())
            n = pread(fd, buffer, sizeof buffer, 0);
        close(fd);
        return n > 0 && DecodeRecord(QByteArray(buffer, n), record);
    }

    // A window of another process lives while its lock is held. A lock we
    // can take belongs to a dead owner: its files go.
    bool IsForeignAlive(TWindowHandle h)
    {
        const QString dir = EndpointDirectory();
        if (dir.isEmpty())
            return false;
        const QByteArray lockPath = (dir + u'/' + HandleText(h) + QStringLiteral(".lock")).toLocal8Bit();
        const int fd = open(lockPath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            return false;
        struct stat st {};
        if (fstat(fd, &st) != 0 || st.st_uid != geteuid() || !S_ISREG(st.st_mode)) {
            close(fd);
            return false;
        }
        if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
            close(fd);
            return errno == EWOULDBLOCK;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && SameInode(fd, lockPath)) {
            const QByteArray socketPath = (dir + u'/' + HandleText(h) + QStringLiteral(".sock")).toLocal8Bit();
            unlink(socketPath.constData());
            unlink(lockPath.constData());
        }
        close(fd);
        return false;
    }

    std::shared_ptr<TChannel> AddChannel(TChannelKind kind, int fd)
    {
        auto c = std::make_shared<TChannel>();
        c->Kind = kind;
        c->Fd = fd;
        c->Id = nextId_++;
        epoll_event ev {};
        ev.events = EPOLLIN;
        ev.data.u64 = c->Id;
        if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &ev) != 0) {
            if (kind != TChannelKind::External)
                close(fd);
            return nullptr;
        }
        channels_[c->Id] = c;
        EnsureNotifier();
        return c;
    }

    // Blocks that arrive while no send waits reach us through the event loop.
    void EnsureNotifier()
    {
        if (notifier_ || !QCoreApplication::instance())
            return;
        notifier_ = new QSocketNotifier(epollFd_, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier_, &QSocketNotifier::activated, [this] { Pump(0); });
    }

    void CloseChannel(const std::shared_ptr<TChannel>& c)
    {
        if (!c || c->Closed)
            return;
        c->Closed = true;
        epoll_ctl(epollFd_, EPOLL_CTL_DEL, c->Fd, nullptr);
        if (c->Kind != TChannelKind::External)
            close(c->Fd);
        c->Fd = -1;
        channels_.erase(c->Id);
        if (c->Kind == TChannelKind::Outgoing) {
            const auto it = outgoing_.find(c->Target);
            if (it != outgoing_.end() && it->second == c)
                outgoing_.erase(it);
        }
        c->In.clear();
        c->Out.clear();
    }

    void SetWriteInterest(const std::shared_ptr<TChannel>& c, bool want)
    {
        if (c->Closed || c->WantWrite == want)
            return;
        c->WantWrite = want;
        epoll_event ev {};
        ev.events = want ? quint32(EPOLLIN | EPOLLOUT) : quint32(EPOLLIN);
        ev.data.u64 = c->Id;
        epoll_ctl(epollFd_, EPOLL_CTL_MOD, c->Fd, &ev);
    }

    void Queue(const std::shared_ptr<TChannel>& c, QByteArrayView bytes)
    {
        if (c->Closed)
            return;
        c->Out.append(bytes.data(), bytes.size());
        Flush(c);
    }

    void Flush(const std::shared_ptr<TChannel>& c)
    {
        while (!c->Closed && c->OutOffset < c->Out.size()) {
            const ssize_t n = send(c->Fd, c->Out.constData() + c->OutOffset, std::size_t(c->Out.size() - c->OutOffset),
                                   MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                c->OutOffset += n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                SetWriteInterest(c, true);
                return;
            }
            CloseChannel(c);
            return;
        }
        if (c->Closed)
            return;
        c->Out.clear();
        c->OutOffset = 0;
        SetWriteInterest(c, false);
    }

    std::shared_ptr<TChannel> Connect(TWindowHandle to, const QDeadlineTimer& deadline)
    {
        if (const auto it = outgoing_.find(to); it != outgoing_.end()) {
            std::shared_ptr<TChannel> c = it->second;
            Service(c, EPOLLIN); // collects late answers, notices a closed peer
            if (!c->Closed)
                return c;
        }
        const QString dir = EndpointDirectory();
        if (dir.isEmpty())
            return nullptr;
        sockaddr_un addr;
        if (!FillAddress(dir + u'/' + HandleText(to) + QStringLiteral(".sock"), addr))
            return nullptr;
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return nullptr;
        while (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            // A full backlog: the receiver is busy; keep serving our own
            // windows while we wait for it.
            if ((errno == EAGAIN || errno == EINTR) && !deadline.hasExpired()) {
                Pump(std::min(10, RemainingMs(deadline) < 0 ? 10 : RemainingMs(deadline)));
                continue;
            }
            const int err = errno;
            close(fd);
            errno = err == EAGAIN ? ETIMEDOUT : err;
            return nullptr;
        }
        // A socket in our folder that another user managed to put there is
        // not our peer.
        if (!PeerIsSameUser(fd)) {
            const int err = errno;
            close(fd);
            errno = err;
            return nullptr;
        }
        std::shared_ptr<TChannel> c = AddChannel(TChannelKind::Outgoing, fd);
        if (!c)
            return nullptr;
        c->Target = to;
        outgoing_[to] = c;
        return c;
    }

    void Accept(const std::shared_ptr<TChannel>& listener)
    {
        while (!listener->Closed) {
            const int fd = accept4(listener->Fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            std::shared_ptr<TEndpoint> ep = listener->Endpoint.lock();
            if (!ep || !PeerIsSameUser(fd)) {
                close(fd);
                continue;
            }
            std::erase_if(ep->Incoming, [](const std::weak_ptr<TChannel>& w) { return w.expired() || w.lock()->Closed; });
            if (ep->Incoming.size() >= kMaxConnectionsPerWindow) {
                close(fd);
                continue;
            }
            std::shared_ptr<TChannel> c = AddChannel(TChannelKind::Incoming, fd);
            if (!c)
                continue;
            c->Endpoint = ep;
            ep->Incoming.push_back(c);
        }
    }

    enum class TFill { Frame, Later, Closed };

    // Reads until the buffer holds one whole frame, never past it.
    TFill FillFrame(const std::shared_ptr<TChannel>& c, TFrameHeader& header)
    {
        while (!c->Closed) {
            qsizetype need = qsizetype(kFrameHeaderSize);
            if (c->In.size() >= need) {
                if (DecodeFrameHeader(c->In.constData(), std::size_t(c->In.size()), header) != THeaderStatus::Valid)
                    return TFill::Closed;
                need += qsizetype(header.Length);
                if (c->In.size() >= need)
                    return TFill::Frame;
            }
            const qsizetype want = std::min(need - c->In.size(), kReadChunk);
            const qsizetype had = c->In.size();
            c->In.resize(had + want);
            const ssize_t n = recv(c->Fd, c->In.data() + had, std::size_t(want), MSG_DONTWAIT);
            c->In.resize(had + std::max<ssize_t>(n, 0));
            if (n > 0)
                continue;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return TFill::Later;
            return TFill::Closed;
        }
        return TFill::Closed;
    }

    void Service(const std::shared_ptr<TChannel>& c, quint32 events)
    {
        if (c->Closed)
            return;
        switch (c->Kind) {
        case TChannelKind::External:
            c->Ready = true;
            return;
        case TChannelKind::Listener:
            Accept(c);
            return;
        case TChannelKind::Incoming:
        case TChannelKind::Outgoing:
            break;
        }
        if (events & EPOLLOUT)
            Flush(c);
        while (!c->Closed) {
            TFrameHeader header;
            const TFill fill = FillFrame(c, header);
            if (fill == TFill::Later)
                return;
            if (fill == TFill::Closed) {
                CloseChannel(c);
                return;
            }
            const QByteArray payload = c->In.mid(qsizetype(kFrameHeaderSize));
            c->In.clear();
            HandleFrame(c, header, payload);
        }
    }

    void HandleFrame(const std::shared_ptr<TChannel>& c, const TFrameHeader& header, const QByteArray& payload)
    {
        if (c->Kind == TChannelKind::Outgoing) {
            if (header.Type != TFrameType::Done) {
                CloseChannel(c);
                return;
            }
            c->Done.insert(header.Sequence);
            return;
        }
        if (header.Type != TFrameType::Call) {
            CloseChannel(c);
            return;
        }
        TCopyDataProc proc;
        if (std::shared_ptr<TEndpoint> ep = c->Endpoint.lock(); ep && endpoints_.count(ep->Handle))
            proc = ep->Proc;
        ++c->Dispatching;
        {
            TDepth depth(depth_);
            CallProc(proc, header.From, header.Code, payload);
        }
        --c->Dispatching;
        TFrameHeader done;
        done.Type = TFrameType::Done;
        done.Sequence = header.Sequence;
        done.From = header.From;
        Queue(c, EncodeFrameHeader(done));
        if (c->Orphaned && c->Dispatching == 0) {
            const QDeadlineTimer deadline(kOrphanFlushMs);
            while (!c->Closed && !c->Out.isEmpty() && !deadline.hasExpired())
                Pump(RemainingMs(deadline));
            CloseChannel(c);
        }
    }

    void CallProc(const TCopyDataProc& proc, TWindowHandle from, qint32 code, QByteArrayView block)
    {
        if (!proc)
            return;
        try {
            proc(from, code, block.data(), std::size_t(block.size()));
        } catch (...) {
            // A copy: the report may replace the hook while it runs.
            const auto report = TMessageWindows::HandlerErrorReport();
            if (report)
                report(std::current_exception());
            else
                DefaultReport(std::current_exception());
        }
    }

    std::set<QString> classes_;
    std::map<TWindowHandle, std::shared_ptr<TEndpoint>> endpoints_;
    std::map<quint64, std::shared_ptr<TChannel>> channels_;
    std::map<TWindowHandle, std::shared_ptr<TChannel>> outgoing_;
    int epollFd_ = -1;
    QPointer<QSocketNotifier> notifier_;
    QPointer<TErrorCarrier> carrier_;
    quint64 nextId_ = 1;
    quint32 nextSequence_ = 1;
    int depth_ = 0;
};

} // namespace

std::function<void(std::exception_ptr)>& TMessageWindows::HandlerErrorReport()
{
    static std::function<void(std::exception_ptr)> report = [](std::exception_ptr error) {
        THub::Instance().DefaultReport(std::move(error));
    };
    return report;
}

bool TMessageWindows::RegisterClass(const QString& className)
{
    return THub::Instance().RegisterClass(className);
}

bool TMessageWindows::UnregisterClass(const QString& className)
{
    return THub::Instance().UnregisterClass(className);
}

TWindowHandle TMessageWindows::CreateWindow(const QString& className, const QString& windowName, TCopyDataProc proc)
{
    return THub::Instance().CreateWindow(className, windowName, std::move(proc));
}

bool TMessageWindows::SetWindowProc(TWindowHandle window, TCopyDataProc proc)
{
    return THub::Instance().SetWindowProc(window, std::move(proc));
}

bool TMessageWindows::DestroyWindow(TWindowHandle window)
{
    return THub::Instance().DestroyWindow(window);
}

TWindowHandle TMessageWindows::FindWindowEx(const QString& className, const QString& windowName)
{
    return THub::Instance().FindWindowEx(className, windowName);
}

bool TMessageWindows::IsWindow(TWindowHandle window)
{
    return THub::Instance().IsWindow(window);
}

bool TMessageWindows::SendCopyData(TWindowHandle to, TWindowHandle from, qint32 code, QByteArrayView block, int timeoutMs)
{
    return THub::Instance().SendCopyData(to, from, code, block, timeoutMs);
}

bool TMessageWindows::WaitForDescriptor(int fd, int timeoutMs)
{
    return THub::Instance().WaitForDescriptor(fd, timeoutMs);
}

void TMessageWindows::ProcessSentMessages(int timeoutMs)
{
    THub::Instance().Pump(timeoutMs);
}

QString TMessageWindows::SocketPath(TWindowHandle window)
{
    const QString dir = EndpointDirectory();
    return dir.isEmpty() ? QString() : dir + u'/' + HandleText(window) + QStringLiteral(".sock");
}
