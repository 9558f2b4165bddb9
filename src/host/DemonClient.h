#pragma once
// TkdbDemonClient: the host link of a simulation program (cliDemon on the
// main window). It finds the host at construction, registers with it when
// the window has been built (UseMeridorServer), loads the translation file
// and translates the window, keeps the program's parameters (which the host
// or a second copy may replace), and asks the host for variables, files,
// host names and strings and for starting programs. Without the host it
// works from the local disk.
//
// Make it with new, as a child of the window it translates: a quit message
// deletes it (see TkdbCustomDemon::Quit), and destroying it ends the
// program. The window calls Loaded() once its controls exist; when that
// finds another copy running, this copy ends there and then (EndProgram).

#include "host/CustomDemon.h"

#include <QWidget>

class TkdbDemonClient : public TkdbCustomDemon {
    Q_OBJECT
public:
    explicit TkdbDemonClient(QWidget* owner, TProgram program = CurrentProgram());
    // Sends the unregister message unless the host said it is going down.
    ~TkdbDemonClient() override;

    // Connect, then the single-instance rule.
    void Loaded() override;
    // With UseMeridorServer: registers, or raises ETutorix "Tutorix server
    // application is not running" when there is no host. Then
    // LoadTranslations, with or without the host.
    void Connect();
    // The translation file: from the host (its name for the executable with
    // ".itl") or, stand-alone, the one beside the executable (or the user's
    // language's, "<name>.ll.itl"); then the owner window is translated when
    // AutoTranslate is set, also when no file was found.
    void LoadTranslations();
    void SendRegister();
    void SendUnregister();

    // Params minus the program entry; never below 0.
    int ParamCount() const;
    // 0: the running executable's full path; 1..ParamCount: the parameter;
    // otherwise ETutorix "Illegal \"ParamStr\" parameter: <index>".
    QString ParamStr(int index) const;
    QString TranslateText(const QString& text);

    QString WindowClassName() const override;
    QString WindowName() const override;
    std::unique_ptr<TEntity> FindEntityByTitle(const QString& title) override;
    std::unique_ptr<TEntity> FindEntityByHandle(quint32 handle) override;
    // Asks the host to start a program. With wait, returns the program's
    // exit code, which the host keeps for the programs it started; while
    // waiting, messages sent to this program are still handled. Raises
    // ETutorix "Could not execute \"<file>.\"" when the host could not start
    // it or does not know the process.
    qint32 Execute(const QString& fileName, const QString& parameters, bool wait, qint32 option) override;
    std::unique_ptr<QIODevice> GetFile(const QString& name) override;
    QString GetHostFileName(const QString& s) override;
    QString GetHostString(const QString& s) override;
    // With the host: its value. Stand-alone: the executable's folder with a
    // trailing separator for "MeridorWorkArea" and "MeridorHomeDir" (exact
    // names), empty for every other name.
    QString GetVariable(const QString& name) override;

    QWidget* OwnerWindow() const { return ownerWindow_; }

protected:
    void EndAtOnce() override;

private:
    // One request to the host; the reply is positioned at its start.
    void Request(TTutorixMessageStream& request, TTutorixMessageStream& reply);
    // Sends an lmFindEntity request; the entity of the reply, if any.
    std::unique_ptr<TEntity> AskForEntity(TTutorixMessageStream& request);
    QString RequestString(qint32 code, const QString& s);
    qint32 WaitForExitCode(qint32 processId, const QString& fileName);

    QWidget* ownerWindow_;
    bool unregistered_ = false;
};

// The file name of a translation file for an executable path: its last
// three characters replaced by "itl", or ".itl" appended when the file name
// has no extension ("/opt/sim/ionpath" gives "/opt/sim/ionpath.itl").
QString TranslationFileNameFor(const QString& executablePath);
