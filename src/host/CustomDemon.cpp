#include "host/CustomDemon.h"

#include "host/ErrorText.h"
#include "host/MessageWindows.h"
#include "host/ProcessLock.h"
#include "host/ServerLookup.h"
#include "i18n/Lexifer2000.h"

#include <QCoreApplication>
#include <QtEndian>
#include <cerrno>
#include <cstdlib>

TkdbCustomDemon::TProgram TkdbCustomDemon::CurrentProgram()
{
    TProgram program;
    program.ExePath = QCoreApplication::applicationFilePath();
    program.Arguments = QCoreApplication::arguments();
    program.Title = QCoreApplication::applicationName();
    return program;
}

TkdbCustomDemon::TkdbCustomDemon(QObject* owner, TProgram program)
    : QObject(owner), ServerEntity(this), OwnEntity(this), program_(std::move(program)),
      lexifer_(std::make_unique<TLexifer2000>(QString()))
{
    ServerEntity.Handle = FindServerWindow();
    params_ = ParamsFromCommandLine(program_.Arguments);
}

TkdbCustomDemon::~TkdbCustomDemon()
{
    // The window goes first, so nothing is dispatched into a half-destroyed
    // demon while the rest is taken down.
    if (windowCreated_) {
        TMessageWindows::DestroyWindow(OwnEntity.Handle);
        TMessageWindows::UnregisterClass(windowClass_);
    }
    pendingReplies_.clear();
    if (OwnEntity.MutexHandle != 0) {
        TProcessLock::Release(OwnEntity.MutexHandle);
        OwnEntity.MutexHandle = 0;
    }
    lexifer_.reset();
    if (windowCreated_)
        QCoreApplication::quit();
}

quint32 TkdbCustomDemon::FindServerWindow() const
{
    const QString suffix = ServerSuffix(ReadViewerHandle(), program_.Arguments);
    return TMessageWindows::FindWindowEx(ServerWindowClassName(suffix), ServerWindowName(suffix));
}

void TkdbCustomDemon::CreateOwnWindow()
{
    const QString className = WindowClassName();
    if (!TMessageWindows::RegisterClass(className))
        throw ETutorix(GetLastErrorString());
    const TWindowHandle handle = TMessageWindows::CreateWindow(
        className, WindowName(), [this](TWindowHandle from, qint32 code, const char* data, std::size_t size) {
            ReceiveBlock(from, code, data, size);
        });
    if (handle == 0) {
        TMessageWindows::UnregisterClass(className);
        throw ETutorix(QStringLiteral("Could not create window handle"));
    }
    windowClass_ = className;
    windowCreated_ = true;
    OwnEntity.Handle = handle;
    OwnEntity.SetTitle(program_.Title);
    OwnEntity.SetExePath(program_.ExePath);
}

void TkdbCustomDemon::Loaded()
{
    CheckMultiStart();
}

bool TkdbCustomDemon::AutoCreateItlFile() const
{
    return lexifer_->AutoCreateItlFile();
}

void TkdbCustomDemon::SetAutoCreateItlFile(bool value)
{
    lexifer_->SetAutoCreateItlFile(value);
}

QString TkdbCustomDemon::GetLastErrorString()
{
    return ::GetLastErrorString();
}

bool TkdbCustomDemon::SendMessageStream(TEntity& toEntity, TTutorixMessageStream& msg, TTutorixMessageStream* reply)
{
    msg.Stamp = Clock ? Clock() : CurrentTimeStamp();
    return DeliverStream(toEntity, msg, reply);
}

bool TkdbCustomDemon::DeliverStream(TEntity& toEntity, TTutorixMessageStream& msg, TTutorixMessageStream* reply)
{
    msg.Owner = this;
    if (reply)
        reply->Owner = this;
    if (!TMessageWindows::IsWindow(OwnEntity.Handle))
        return false;
    QByteArray block(qsizetype(kStampSize) + msg.Size(), Qt::Uninitialized);
    qToLittleEndian<qint32>(msg.Stamp.Time, block.data());
    qToLittleEndian<qint32>(msg.Stamp.Date, block.data() + 4);
    std::copy(msg.Data().begin(), msg.Data().end(), block.begin() + kStampSize);
    const bool delivered = toEntity.Handle != 0
        && TMessageWindows::SendCopyData(toEntity.Handle, OwnEntity.Handle, msg.MsgCode, block, sendTimeoutMs_);
    block.clear();
    // Two requests in one millisecond carry the same stamp: the first
    // pending reply with it is taken.
    for (auto it = pendingReplies_.begin(); it != pendingReplies_.end(); ++it) {
        if ((*it)->Stamp != msg.Stamp)
            continue;
        const std::unique_ptr<TTutorixMessageStream> found = std::move(*it);
        pendingReplies_.erase(it);
        if (reply)
            reply->AssignFrom(*found);
        break;
    }
    return delivered;
}

void TkdbCustomDemon::Reject(qint32 code, const QString& reason)
{
    ++rejectedBlocks_;
    if (OnRejectedBlock)
        OnRejectedBlock(*this, code, reason);
}

void TkdbCustomDemon::ReceiveBlock(quint32 fromHandle, qint32 code, const char* data, std::size_t size)
{
    if (size < kStampSize) {
        Reject(code, QStringLiteral("block of %1 bytes is shorter than its stamp").arg(size));
        return;
    }
    if (size > kMaxBlockSize) {
        Reject(code, QStringLiteral("block of %1 bytes is larger than %2 bytes").arg(size).arg(kMaxBlockSize));
        return;
    }
    auto msg = std::make_unique<TTutorixMessageStream>(this, code);
    msg->Stamp.Time = qFromLittleEndian<qint32>(data);
    msg->Stamp.Date = qFromLittleEndian<qint32>(data + 4);
    msg->Write(QByteArrayView(data + kStampSize, qsizetype(size - kStampSize)));
    msg->SetPosition(0);
    msg->Entity.Handle = fromHandle;
    DispatchMessageStream(msg);
}

void TkdbCustomDemon::DispatchMessageStream(std::unique_ptr<TTutorixMessageStream>& msg)
{
    switch (msg->MsgCode) {
    case lmQuit: {
        if (msg->Remaining() < 1) {
            Reject(msg->MsgCode, QStringLiteral("quit message without its ServerDown byte"));
            return;
        }
        serverDown_ = msg->ReadByte() != 0;
        bool allowQuit = true;
        if (OnQuitMsgReceived)
            OnQuitMsgReceived(*this, serverDown_, allowQuit);
        if (allowQuit)
            Quit();
        return;
    }
    case lmReply:
        pendingReplies_.push_back(std::move(msg));
        if (pendingReplies_.size() > kMaxPendingReplies)
            pendingReplies_.erase(pendingReplies_.begin());
        return;
    case lmParams:
        params_ = msg->ReadLines();
        if (OnParamsChange)
            OnParamsChange(*this);
        return;
    default:
        if (OnGotAMessage)
            OnGotAMessage(*this, *msg);
        return;
    }
}

void TkdbCustomDemon::Quit()
{
    if (quitting_)
        return;
    quitting_ = true;
    deleteLater();
}

void TkdbCustomDemon::CheckMultiStart()
{
    if (multiStart_)
        return;
    const quint32 lock = TProcessLock::TryAcquire(OwnEntity.MutexName());
    if (lock != 0) {
        OwnEntity.MutexHandle = lock;
        return;
    }
    // A lock that cannot be made at all (no runtime folder) is not another
    // copy: run, as the window system's program does when its mutex fails.
    if (errno != EWOULDBLOCK)
        return;
    if (const std::unique_ptr<TEntity> first = FindEntityByTitle(program_.Title);
        first && first->Handle != OwnEntity.Handle) {
        TTutorixMessageStream msg(this, lmParams);
        msg.WriteLines(params_);
        SendMessageStream(*first, msg);
    }
    ending_ = true;
    EndAtOnce();
}

void TkdbCustomDemon::EndAtOnce()
{
    if (EndProgram)
        EndProgram();
    else
        std::exit(0);
}
