#pragma once
// TEntity: a participant of the host link, a client program or the host.
// Its wire form, the entity record, is the handle, the mutex handle and two
// link strings (executable path, title), little-endian.

#include <QString>
#include <QtGlobal>

class TkdbCustomDemon;
class TTutorixMessageStream;

class TEntity {
public:
    explicit TEntity(TkdbCustomDemon* owner = nullptr);

    TkdbCustomDemon* Owner = nullptr;
    // The participant's message window.
    quint32 Handle = 0;
    // For the own entity the handle of the single-instance lock; for others
    // what they reported, meaningful only inside their process.
    quint32 MutexHandle = 0;

    // The accessors ask the host for the entity once (Refresh) when the
    // stored text is empty.
    QString ExePath();
    QString Title();
    void SetExePath(const QString& path) { exePath_ = path; }
    void SetTitle(const QString& title) { title_ = title; }
    const QString& StoredExePath() const { return exePath_; }
    const QString& StoredTitle() const { return title_; }

    // Asks the owner who Handle is and copies the answer, if there is one.
    void Refresh();
    void CopyFrom(const TEntity& other);
    // "TX_" followed by the file name of the executable, without folders.
    QString MutexName();
    // Writes or reads the entity record at the stream's position. Reading a
    // record that runs past the stream raises EReadError and changes nothing.
    void WriteToStream(TTutorixMessageStream& stream) const;
    void ReadFromStream(TTutorixMessageStream& stream);
    // True while Handle is an existing message window.
    bool IsAlive() const;

private:
    QString exePath_;
    QString title_;
};
