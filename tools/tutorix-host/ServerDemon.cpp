#include "ServerDemon.h"

#include "host/MessageWindows.h"
#include "host/ServerLookup.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

QString HandleText(quint32 handle)
{
    return QStringLiteral("%1").arg(handle, 8, 16, QLatin1Char('0'));
}

namespace {

QString WithSeparator(const QString& dir)
{
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

QString FileNamePart(const QString& path)
{
    return path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
}

} // namespace

TkdbServerDemon::TkdbServerDemon(THostSettings settings, TProgram program, QObject* parent)
    : TkdbCustomDemon(parent, std::move(program)), settings_(std::move(settings)), programs_(this)
{
    SetUseMeridorServer(false);
    CreateOwnWindow();
    programs_.OnExited = [this](qint64 pid, int code) { Event(QStringLiteral("exited %1 %2").arg(pid).arg(code)); };
    OnRejectedBlock = [this](TkdbCustomDemon&, qint32 code, const QString& reason) {
        Event(QStringLiteral("rejected %1 %2").arg(code).arg(reason));
    };
}

QString TkdbServerDemon::WindowClassName() const
{
    return ServerWindowClassName(settings_.Suffix);
}

QString TkdbServerDemon::WindowName() const
{
    return ServerWindowName(settings_.Suffix);
}

void TkdbServerDemon::Event(const QString& line)
{
    if (OnEvent)
        OnEvent(line);
}

void TkdbServerDemon::Prune()
{
    std::erase_if(clients_, [this](const std::unique_ptr<TEntity>& client) {
        if (client->IsAlive())
            return false;
        Event(QStringLiteral("vanished %1 %2").arg(HandleText(client->Handle), client->StoredTitle()));
        return true;
    });
}

const std::vector<std::unique_ptr<TEntity>>& TkdbServerDemon::Clients()
{
    Prune();
    return clients_;
}

quint32 TkdbServerDemon::ResolveClient(const QString& text)
{
    for (const auto& client : Clients())
        if (client->StoredTitle() == text)
            return client->Handle;
    bool ok = false;
    const quint32 handle = text.toUInt(&ok, 16);
    return ok ? handle : 0;
}

std::unique_ptr<TEntity> TkdbServerDemon::FindEntityByTitle(const QString& title)
{
    for (const auto& client : Clients())
        if (client->StoredTitle() == title) {
            auto found = std::make_unique<TEntity>(this);
            found->CopyFrom(*client);
            return found;
        }
    return nullptr;
}

std::unique_ptr<TEntity> TkdbServerDemon::FindEntityByHandle(quint32 handle)
{
    auto found = std::make_unique<TEntity>(this);
    if (handle != 0 && handle == OwnEntity.Handle) {
        found->CopyFrom(OwnEntity);
        return found;
    }
    for (const auto& client : Clients())
        if (client->Handle == handle) {
            found->CopyFrom(*client);
            return found;
        }
    return nullptr;
}

qint32 TkdbServerDemon::Execute(const QString& fileName, const QString& parameters, bool wait, qint32 option)
{
    Q_UNUSED(wait); // the client waits; we keep the exit code for it
    Q_UNUSED(option);
    QStringList arguments = QProcess::splitCommand(parameters);
    arguments.append(kServerHandleParam + settings_.Suffix);
    const qint64 pid = programs_.Start(fileName, arguments);
    Event(pid ? QStringLiteral("started %1 %2").arg(pid).arg(fileName)
              : QStringLiteral("failed to start %1").arg(fileName));
    return qint32(pid);
}

QString TkdbServerDemon::ResolveDocument(const QString& name) const
{
    const QString docs = QFileInfo(settings_.Documents).canonicalFilePath();
    if (docs.isEmpty() || name.isEmpty())
        return {};
    QString path = name;
    path.replace(u'\\', u'/');
    if (QDir::isRelativePath(path))
        path = docs + u'/' + path;
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    if (canonical.isEmpty() || !canonical.startsWith(WithSeparator(docs)) || !file.isFile() || !file.isReadable())
        return {};
    // One byte of the reply is the found flag.
    if (quint64(file.size()) > kMaxBlockSize - kStampSize - 1)
        return {};
    return canonical;
}

std::unique_ptr<QIODevice> TkdbServerDemon::GetFile(const QString& name)
{
    const QString path = ResolveDocument(name);
    if (path.isEmpty())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

QString TkdbServerDemon::GetHostFileName(const QString& s)
{
    return WithSeparator(settings_.Documents) + FileNamePart(s);
}

QString TkdbServerDemon::GetHostString(const QString& s)
{
    return settings_.Strings.value(s);
}

QString TkdbServerDemon::GetVariable(const QString& name)
{
    if (name == QStringLiteral("MeridorWorkArea"))
        return WithSeparator(settings_.WorkArea);
    if (name == QStringLiteral("MeridorHomeDir"))
        return WithSeparator(settings_.HomeDir);
    if (name.startsWith(kExitCodeVariable)) {
        bool ok = false;
        const qint64 pid = name.mid(kExitCodeVariable.size()).toLongLong(&ok);
        return ok ? programs_.ExitCodeText(pid) : QString();
    }
    return settings_.Variables.value(name);
}

void TkdbServerDemon::Answer(TTutorixMessageStream& request, TTutorixMessageStream& reply)
{
    reply.MsgCode = lmReply;
    reply.Stamp = request.Stamp;
    TEntity to(this);
    to.Handle = request.Entity.Handle;
    DeliverStream(to, reply, nullptr);
}

void TkdbServerDemon::DispatchMessageStream(std::unique_ptr<TTutorixMessageStream>& msg)
{
    switch (msg->MsgCode) {
    case lmRegister:
    case lmUnregister:
    case lmFindEntity:
    case lmExecute:
    case lmGetFile:
    case lmHostFileName:
    case lmHostString:
    case lmGetVariable:
        try {
            Handle(*msg);
        } catch (const EReadError&) {
            // A request that runs past its block gets no answer; the client
            // sees an empty reply.
            Reject(msg->MsgCode, QStringLiteral("malformed request from %1").arg(HandleText(msg->Entity.Handle)));
        }
        return;
    case lmParams:
        return; // parameters are for clients
    default:
        TkdbCustomDemon::DispatchMessageStream(msg);
    }
}

void TkdbServerDemon::Handle(TTutorixMessageStream& request)
{
    TTutorixMessageStream reply(this, lmReply);
    switch (request.MsgCode) {
    case lmRegister: {
        auto entity = std::make_unique<TEntity>(this);
        entity->ReadFromStream(request);
        const quint32 handle = entity->Handle;
        std::erase_if(clients_, [handle](const std::unique_ptr<TEntity>& c) { return c->Handle == handle; });
        Event(QStringLiteral("registered %1 %2").arg(HandleText(handle), entity->StoredTitle()));
        clients_.push_back(std::move(entity));
        return;
    }
    case lmUnregister: {
        TEntity entity(this);
        entity.ReadFromStream(request);
        const quint32 handle = entity.Handle;
        std::erase_if(clients_, [handle](const std::unique_ptr<TEntity>& c) { return c->Handle == handle; });
        Event(QStringLiteral("unregistered %1 %2").arg(HandleText(handle), entity.StoredTitle()));
        return;
    }
    case lmFindEntity: {
        const quint8 selector = request.ReadByte();
        std::unique_ptr<TEntity> found;
        if (selector == feByHandle)
            found = FindEntityByHandle(request.ReadUInt32());
        else if (selector == feByTitle)
            found = FindEntityByTitle(request.ReadString());
        else
            throw EReadError();
        if (found)
            found->WriteToStream(reply);
        break;
    }
    case lmExecute: {
        const QString file = request.ReadString();
        const QString parameters = request.ReadString();
        const bool wait = request.ReadByte() != 0;
        const qint32 option = request.ReadInt32();
        reply.WriteInt32(Execute(file, parameters, wait, option));
        break;
    }
    case lmGetFile: {
        const QString name = request.ReadString();
        const std::unique_ptr<QIODevice> file = GetFile(name);
        const QByteArray bytes = file ? file->readAll() : QByteArray();
        const bool found = file && bytes.size() == file->size();
        reply.WriteByte(found ? 1 : 0);
        if (found)
            reply.Write(bytes);
        Event(QStringLiteral("file %1 %2").arg(name, found ? QStringLiteral("sent") : QStringLiteral("not found")));
        break;
    }
    case lmHostFileName:
        reply.WriteString(GetHostFileName(request.ReadString()));
        break;
    case lmHostString:
        reply.WriteString(GetHostString(request.ReadString()));
        break;
    case lmGetVariable:
        reply.WriteString(GetVariable(request.ReadString()));
        break;
    default:
        return;
    }
    Answer(request, reply);
}

bool TkdbServerDemon::SendQuit(quint32 client, bool serverDown)
{
    TTutorixMessageStream msg(this, lmQuit);
    msg.WriteByte(serverDown ? 1 : 0);
    TEntity to(this);
    to.Handle = client;
    const bool delivered = SendMessageStream(to, msg);
    // A client told that the host goes down does not unregister.
    if (delivered && serverDown)
        std::erase_if(clients_, [client](const std::unique_ptr<TEntity>& c) { return c->Handle == client; });
    return delivered;
}

bool TkdbServerDemon::SendParams(quint32 client, const QStringList& lines)
{
    TTutorixMessageStream msg(this, lmParams);
    msg.WriteLines(lines);
    TEntity to(this);
    to.Handle = client;
    return SendMessageStream(to, msg);
}

bool TkdbServerDemon::SendMessage(quint32 client, qint32 code, const QByteArray& content)
{
    TTutorixMessageStream msg(this, code);
    msg.Write(content);
    TEntity to(this);
    to.Handle = client;
    return SendMessageStream(to, msg);
}
