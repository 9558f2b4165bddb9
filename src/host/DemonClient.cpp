#include "host/DemonClient.h"

#include "host/MessageWindows.h"
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"

#include <QBuffer>
#include <QLocale>
#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

ETutorix CouldNotExecute(const QString& fileName)
{
    return ETutorix(QStringLiteral("Could not execute \"%1.\"").arg(fileName));
}

// The process as a descriptor that becomes readable when it ends; -1 when
// the system cannot give one (then the host is asked until it knows).
int OpenProcessForWaiting(qint32 processId)
{
#ifdef SYS_pidfd_open
    return int(syscall(SYS_pidfd_open, pid_t(processId), 0));
#else
    Q_UNUSED(processId);
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

QString TranslationFileNameFor(const QString& executablePath)
{
    const qsizetype cut = std::max(executablePath.lastIndexOf(u'/'), executablePath.lastIndexOf(u'\\'));
    return executablePath.left(cut + 1) + ItlFileName(executablePath.mid(cut + 1));
}

TkdbDemonClient::TkdbDemonClient(QWidget* owner, TProgram program)
    : TkdbCustomDemon(owner, std::move(program)), ownerWindow_(owner)
{
    CreateOwnWindow();
}

TkdbDemonClient::~TkdbDemonClient()
{
    if (!ServerDown() && !unregistered_)
        SendUnregister();
}

void TkdbDemonClient::Loaded()
{
    Connect();
    TkdbCustomDemon::Loaded();
}

void TkdbDemonClient::Connect()
{
    if (UseMeridorServer()) {
        if (ServerEntity.Handle == 0)
            throw ETutorix(QStringLiteral("Tutorix server application is not running"));
        SendRegister();
    }
    LoadTranslations();
}

void TkdbDemonClient::LoadTranslations()
{
    if (UseMeridorServer()) {
        const QString name = TranslationFileNameFor(GetHostFileName(OwnEntity.ExePath()));
        if (const std::unique_ptr<QIODevice> stream = GetFile(name))
            Lexifer().LoadFromStream(*stream);
    } else {
        LoadTranslationFile(Lexifer(), FindTranslationFile(OwnEntity.ExePath(), QLocale().uiLanguages()));
    }
    if (AutoTranslate() && ownerWindow_)
        Lexifer().TranslateForm(ownerWindow_);
}

void TkdbDemonClient::SendRegister()
{
    TTutorixMessageStream msg(this, lmRegister);
    OwnEntity.WriteToStream(msg);
    SendMessageStream(ServerEntity, msg);
    unregistered_ = false;
}

void TkdbDemonClient::SendUnregister()
{
    TTutorixMessageStream msg(this, lmUnregister);
    OwnEntity.WriteToStream(msg);
    SendMessageStream(ServerEntity, msg);
    unregistered_ = true;
}

void TkdbDemonClient::EndAtOnce()
{
    // The host must not keep a copy that is gone.
    if (UseMeridorServer() && !ServerDown())
        SendUnregister();
    TkdbCustomDemon::EndAtOnce();
}

int TkdbDemonClient::ParamCount() const
{
    return std::max<int>(0, int(Params().size()) - 1);
}

QString TkdbDemonClient::ParamStr(int index) const
{
    if (index == 0)
        return Program().ExePath;
    if (index < 1 || index > ParamCount())
        throw ETutorix(QStringLiteral("Illegal \"ParamStr\" parameter: %1").arg(index));
    return Params().at(index);
}

QString TkdbDemonClient::TranslateText(const QString& text)
{
    return Lexifer().Translate(text);
}

QString TkdbDemonClient::WindowClassName() const
{
    return kClientWindowClass;
}

QString TkdbDemonClient::WindowName() const
{
    return {};
}

void TkdbDemonClient::Request(TTutorixMessageStream& request, TTutorixMessageStream& reply)
{
    SendMessageStream(ServerEntity, request, &reply);
    reply.SetPosition(0);
}

std::unique_ptr<TEntity> TkdbDemonClient::AskForEntity(TTutorixMessageStream& request)
{
    TTutorixMessageStream reply(this);
    Request(request, reply);
    if (reply.Size() == 0)
        return nullptr; // no such entity, or no host that answered
    auto entity = std::make_unique<TEntity>(this);
    entity->ReadFromStream(reply);
    return entity;
}

std::unique_ptr<TEntity> TkdbDemonClient::FindEntityByTitle(const QString& title)
{
    TTutorixMessageStream request(this, lmFindEntity);
    request.WriteByte(feByTitle);
    request.WriteString(title);
    return AskForEntity(request);
}

std::unique_ptr<TEntity> TkdbDemonClient::FindEntityByHandle(quint32 handle)
{
    TTutorixMessageStream request(this, lmFindEntity);
    request.WriteByte(feByHandle);
    request.WriteUInt32(handle);
    return AskForEntity(request);
}

QString TkdbDemonClient::RequestString(qint32 code, const QString& s)
{
    TTutorixMessageStream request(this, code);
    request.WriteString(s);
    TTutorixMessageStream reply(this);
    Request(request, reply);
    return reply.ReadString();
}

QString TkdbDemonClient::GetHostFileName(const QString& s)
{
    return RequestString(lmHostFileName, s);
}

QString TkdbDemonClient::GetHostString(const QString& s)
{
    return RequestString(lmHostString, s);
}

QString TkdbDemonClient::GetVariable(const QString& name)
{
    if (UseMeridorServer())
        return RequestString(lmGetVariable, name);
    if (name != QStringLiteral("MeridorWorkArea") && name != QStringLiteral("MeridorHomeDir"))
        return {};
    const QString exe = ParamStr(0);
    QString dir = exe.left(std::max(exe.lastIndexOf(u'/'), exe.lastIndexOf(u'\\')) + 1);
    if (!dir.endsWith(u'/') && !dir.endsWith(u'\\'))
        dir += u'/';
    return dir;
}

std::unique_ptr<QIODevice> TkdbDemonClient::GetFile(const QString& name)
{
    TTutorixMessageStream request(this, lmGetFile);
    request.WriteString(name);
    TTutorixMessageStream reply(this);
    Request(request, reply);
    if (reply.ReadByte() == 0)
        return nullptr;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(reply.ReadRest());
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

qint32 TkdbDemonClient::Execute(const QString& fileName, const QString& parameters, bool wait, qint32 option)
{
    TTutorixMessageStream request(this, lmExecute);
    request.WriteString(fileName);
    request.WriteString(parameters);
    request.WriteByte(wait ? 1 : 0);
    request.WriteInt32(option);
    TTutorixMessageStream reply(this);
    Request(request, reply);
    const qint32 processId = reply.ReadInt32();
    if (processId == 0)
        throw CouldNotExecute(fileName);
    if (!wait)
        return processId;
    return WaitForExitCode(processId, fileName);
}

qint32 TkdbDemonClient::WaitForExitCode(qint32 processId, const QString& fileName)
{
    // This process did not start the program, so only the host, its parent,
    // learns the exit code; we wait for the end and then ask for it.
    const QString variable = kExitCodeVariable + QString::number(processId);
    bool waited = false;
    while (true) {
        const QString answer = RequestString(lmGetVariable, variable);
        if (answer.isEmpty())
            throw CouldNotExecute(fileName);
        if (answer != kExitCodeRunning) {
            bool ok = false;
            const qint32 code = answer.toInt(&ok);
            if (!ok)
                throw CouldNotExecute(fileName);
            return code;
        }
        if (!waited) {
            waited = true;
            const int fd = OpenProcessForWaiting(processId);
            if (fd >= 0) {
                TMessageWindows::WaitForDescriptor(fd, -1);
                close(fd);
                continue;
            }
        }
        // Ended but not yet collected by the host, or no process descriptor:
        // ask again shortly, handling our messages meanwhile.
        TMessageWindows::ProcessSentMessages(10);
    }
}
