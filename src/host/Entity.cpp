#include "host/Entity.h"

#include "host/CustomDemon.h"
#include "host/MessageStream.h"
#include "host/MessageWindows.h"

TEntity::TEntity(TkdbCustomDemon* owner)
    : Owner(owner)
{
}

QString TEntity::ExePath()
{
    if (exePath_.isEmpty())
        Refresh();
    return exePath_;
}

QString TEntity::Title()
{
    if (title_.isEmpty())
        Refresh();
    return title_;
}

void TEntity::Refresh()
{
    if (!Owner)
        return;
    // The answer is a fresh entity owned here; a client asks the host for it.
    const std::unique_ptr<TEntity> found = Owner->FindEntityByHandle(Handle);
    if (found)
        CopyFrom(*found);
}

void TEntity::CopyFrom(const TEntity& other)
{
    Handle = other.Handle;
    MutexHandle = other.MutexHandle;
    exePath_ = other.exePath_;
    title_ = other.title_;
}

QString TEntity::MutexName()
{
    const QString path = ExePath();
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return QStringLiteral("TX_") + path.mid(cut + 1);
}

void TEntity::WriteToStream(TTutorixMessageStream& stream) const
{
    stream.WriteUInt32(Handle);
    stream.WriteUInt32(MutexHandle);
    stream.WriteString(exePath_);
    stream.WriteString(title_);
}

void TEntity::ReadFromStream(TTutorixMessageStream& stream)
{
    const qsizetype start = stream.Position();
    try {
        const quint32 handle = stream.ReadUInt32();
        const quint32 mutexHandle = stream.ReadUInt32();
        QString exePath = stream.ReadString();
        QString title = stream.ReadString();
        Handle = handle;
        MutexHandle = mutexHandle;
        exePath_ = std::move(exePath);
        title_ = std::move(title);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

bool TEntity::IsAlive() const
{
    return TMessageWindows::IsWindow(Handle);
}
