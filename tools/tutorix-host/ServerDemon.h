#pragma once
// TkdbServerDemon: the host's side of the link. It keeps the registered
// clients, answers their requests (find an entity, start a program, a file
// from the document folder, host file names and strings, variables) with an
// lmReply stamped like the request, and sends quit, parameter and other
// messages to clients.

#include "ProgramKeeper.h"
#include "host/CustomDemon.h"

#include <QMap>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct THostSettings {
    QString Suffix;     // of the window class and name
    QString Documents;  // the folder files are served from
    QString WorkArea;   // "MeridorWorkArea"
    QString HomeDir;    // "MeridorHomeDir"
    QMap<QString, QString> Variables;
    QMap<QString, QString> Strings;
};

class TkdbServerDemon : public TkdbCustomDemon {
    Q_OBJECT
public:
    explicit TkdbServerDemon(THostSettings settings, TProgram program = CurrentProgram(), QObject* parent = nullptr);

    QString WindowClassName() const override;
    QString WindowName() const override;
    std::unique_ptr<TEntity> FindEntityByTitle(const QString& title) override;
    std::unique_ptr<TEntity> FindEntityByHandle(quint32 handle) override;
    // Starts the program with "/serverhandle=<suffix>" after its parameters
    // (split like a shell does, quotes kept together), so it finds this host.
    // The option is the window system's show state and means nothing here.
    qint32 Execute(const QString& fileName, const QString& parameters, bool wait, qint32 option) override;
    std::unique_ptr<QIODevice> GetFile(const QString& name) override;
    QString GetHostFileName(const QString& s) override;
    QString GetHostString(const QString& s) override;
    QString GetVariable(const QString& name) override;

    void DispatchMessageStream(std::unique_ptr<TTutorixMessageStream>& msg) override;

    // Messages to a client; true when it got them.
    bool SendQuit(quint32 client, bool serverDown);
    bool SendParams(quint32 client, const QStringList& lines);
    bool SendMessage(quint32 client, qint32 code, const QByteArray& content);

    // Registered clients whose windows still exist, oldest first.
    const std::vector<std::unique_ptr<TEntity>>& Clients();
    // A registered client by handle (8 hex digits) or by title.
    quint32 ResolveClient(const QString& text);
    const THostSettings& Settings() const { return settings_; }
    TProgramKeeper& Programs() { return programs_; }

    // One line for each thing that happened ("registered 0000beef title").
    std::function<void(const QString& line)> OnEvent;

    // The folder a document name resolves to, or empty when it leaves the
    // document folder or is not a readable file small enough to send.
    QString ResolveDocument(const QString& name) const;

protected:
    // A host is not told to quit by its clients.
    void Quit() override {}

private:
    void Answer(TTutorixMessageStream& request, TTutorixMessageStream& reply);
    void Handle(TTutorixMessageStream& request);
    void Event(const QString& line);
    void Prune();

    THostSettings settings_;
    TProgramKeeper programs_;
    std::vector<std::unique_ptr<TEntity>> clients_;
};

QString HandleText(quint32 handle);
