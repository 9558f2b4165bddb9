#pragma once
// TkdbCustomDemon: the common base of the two sides of the host link, the
// client in a simulation program and the host's server side. It owns a
// hidden message window, sends messages synchronously (the answer is in
// PendingReplies when the send returns), receives blocks and dispatches them:
// lmQuit, lmReply and lmParams are handled here, everything else goes to
// OnGotAMessage.
//
// A derived class calls CreateOwnWindow() at the end of its constructor
// (the window's class and name come from virtual functions, which a base
// constructor cannot call yet).

#include "host/Entity.h"
#include "host/MessageStream.h"
#include "host/Tutorix.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class TLexifer2000;

class TkdbCustomDemon : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool AutoTranslate READ AutoTranslate WRITE SetAutoTranslate)
    Q_PROPERTY(bool AutoCreateItlFile READ AutoCreateItlFile WRITE SetAutoCreateItlFile)
    Q_PROPERTY(bool MultiStart READ MultiStart WRITE SetMultiStart)
    Q_PROPERTY(bool UseMeridorServer READ UseMeridorServer WRITE SetUseMeridorServer)

public:
    using TGotAMessageEvent = std::function<void(TkdbCustomDemon& sender, TTutorixMessageStream& msg)>;
    using TOnQuitMsgReceived = std::function<void(TkdbCustomDemon& sender, bool serverDown, bool& allowQuit)>;
    using TNotifyEvent = std::function<void(TkdbCustomDemon& sender)>;
    using TRejectedBlockEvent = std::function<void(TkdbCustomDemon& sender, qint32 code, const QString& reason)>;

    // What a demon knows of its program. CurrentProgram() takes it from the
    // application object: the executable's full path, the command line and
    // the application name as the title.
    struct TProgram {
        QString ExePath;
        QStringList Arguments;
        QString Title;
    };
    static TProgram CurrentProgram();

    // Destroys the window, releases the single-instance lock, frees the
    // translation engine (which may write its file) and asks the application
    // to quit: destroying a demon ends the program.
    ~TkdbCustomDemon() override;

    // End of loading, called by the window that holds the demon once its
    // controls exist: here the single-instance rule (the client connects
    // before it).
    virtual void Loaded();

    // Stamps msg with the current time and sends it; the answer, when one
    // came back with the same stamp, is assigned to reply. Returns whether
    // the receiver got the message.
    bool SendMessageStream(TEntity& toEntity, TTutorixMessageStream& msg, TTutorixMessageStream* reply = nullptr);

    // The receive path of a block: its first 8 bytes are the stamp (Time,
    // Date), the rest the content. A block shorter than the stamp or larger
    // than kMaxBlockSize is refused before anything is read from it, counted
    // and reported to OnRejectedBlock; it is not dispatched.
    void ReceiveBlock(quint32 fromHandle, qint32 code, const char* data, std::size_t size);
    // Handles one received message; may take it over (msg is then empty).
    virtual void DispatchMessageStream(std::unique_ptr<TTutorixMessageStream>& msg);

    virtual QString WindowClassName() const = 0;
    virtual QString WindowName() const = 0;
    // The caller owns the result; nullptr when there is no such entity.
    virtual std::unique_ptr<TEntity> FindEntityByTitle(const QString& title) = 0;
    virtual std::unique_ptr<TEntity> FindEntityByHandle(quint32 handle) = 0;
    virtual qint32 Execute(const QString& fileName, const QString& parameters, bool wait, qint32 option) = 0;
    // A read-only device at its start, owned by the caller; nullptr when the
    // file was not found.
    virtual std::unique_ptr<QIODevice> GetFile(const QString& name) = 0;
    virtual QString GetHostFileName(const QString& s) = 0;
    virtual QString GetHostString(const QString& s) = 0;
    virtual QString GetVariable(const QString& name) = 0;

    // The single-instance rule: without MultiStart, a second copy of the same
    // executable file name hands its parameters to the first and ends at
    // once (EndAtOnce), before its main window is shown.
    void CheckMultiStart();
    // True once CheckMultiStart decided that this copy ends.
    bool Ending() const { return ending_; }

    static QString GetLastErrorString();

    TEntity ServerEntity;
    TEntity OwnEntity;
    TGotAMessageEvent OnGotAMessage;
    TOnQuitMsgReceived OnQuitMsgReceived;
    TNotifyEvent OnParamsChange;
    TRejectedBlockEvent OnRejectedBlock;
    // How this copy ends when CheckMultiStart says so. Empty (the default):
    // std::exit(0) right away, since the main window is still being built
    // and no event loop runs yet. Tests and hosts of several demons set it
    // and look at Ending().
    std::function<void()> EndProgram;
    // The stamp source; empty means the current local time.
    std::function<TTimeStamp()> Clock;

    const std::vector<std::unique_ptr<TTutorixMessageStream>>& PendingReplies() const { return pendingReplies_; }
    const QStringList& Params() const { return params_; }
    bool ServerDown() const { return serverDown_; }
    TLexifer2000& Lexifer() { return *lexifer_; }
    const TProgram& Program() const { return program_; }
    qsizetype RejectedBlocks() const { return rejectedBlocks_; }

    bool AutoTranslate() const { return autoTranslate_; }
    void SetAutoTranslate(bool value) { autoTranslate_ = value; }
    bool AutoCreateItlFile() const;
    void SetAutoCreateItlFile(bool value);
    bool MultiStart() const { return multiStart_; }
    void SetMultiStart(bool value) { multiStart_ = value; }
    bool UseMeridorServer() const { return useMeridorServer_; }
    void SetUseMeridorServer(bool value) { useMeridorServer_ = value; }

    // How long a send waits for a receiver that does not answer.
    int SendTimeout() const { return sendTimeoutMs_; }
    void SetSendTimeout(int milliseconds) { sendTimeoutMs_ = milliseconds; }

    // Replies kept for requests that no longer wait; the oldest go first.
    static constexpr std::size_t kMaxPendingReplies = 256;

protected:
    TkdbCustomDemon(QObject* owner, TProgram program);

    // Registers the window class and creates the own window; raises ETutorix
    // with the system's text when the class exists already (a second demon
    // of the same class in one process), "Could not create window handle"
    // when the window cannot be made.
    void CreateOwnWindow();
    // Sends msg with the stamp it has (a reply carries its request's).
    bool DeliverStream(TEntity& toEntity, TTutorixMessageStream& msg, TTutorixMessageStream* reply);
    // The host's window, looked up once at construction.
    quint32 FindServerWindow() const;
    // An allowed quit message: the demon is deleted once control is back in
    // the event loop (never inside the handler that received it), and its
    // destruction ends the program.
    virtual void Quit();
    // Ends this copy for CheckMultiStart.
    virtual void EndAtOnce();
    void Reject(qint32 code, const QString& reason);
    void SetParams(const QStringList& params) { params_ = params; }
    void SetServerDown(bool value) { serverDown_ = value; }

private:
    TProgram program_;
    std::unique_ptr<TLexifer2000> lexifer_;
    std::vector<std::unique_ptr<TTutorixMessageStream>> pendingReplies_;
    QStringList params_;
    QString windowClass_;
    bool windowCreated_ = false;
    bool serverDown_ = false;
    bool autoTranslate_ = true;
    bool multiStart_ = false;
    bool useMeridorServer_ = true;
    bool ending_ = false;
    bool quitting_ = false;
    int sendTimeoutMs_ = kDefaultSendTimeoutMs;
    qsizetype rejectedBlocks_ = 0;
};
