#pragma once
// TTutorixMessageStream: one message of the host link. An in-memory byte
// stream (growable buffer with a read/write position) plus the code, the
// stamp of its sending and the sender.
//
// Link string: a signed 32-bit little-endian length L and L bytes of text,
// no terminator; L <= 0 is the empty string and nothing follows. Text is
// written as UTF-8 and read as UTF-8 when valid, otherwise as Windows-1252.

#include "host/Entity.h"
#include "host/TimeStamp.h"
#include "support/Errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Reading past the end of a stream.
class EReadError : public Exception {
public:
    EReadError();
};

class TTutorixMessageStream {
public:
    explicit TTutorixMessageStream(TkdbCustomDemon* owner = nullptr, qint32 msgCode = 0);
    TTutorixMessageStream(const TTutorixMessageStream&) = delete;
    TTutorixMessageStream& operator=(const TTutorixMessageStream&) = delete;

    TTimeStamp Stamp;
    // The sender; on receipt Entity.Handle is the window that sent it.
    TEntity Entity;
    TkdbCustomDemon* Owner = nullptr;
    qint32 MsgCode = 0;

    // The memory stream.
    const QByteArray& Data() const { return data_; }
    qsizetype Size() const { return data_.size(); }
    qsizetype Position() const { return position_; }
    // Clamped to 0..Size().
    void SetPosition(qsizetype position);
    qsizetype Remaining() const { return data_.size() - position_; }
    void Clear();
    // Writes at the position, growing the buffer, and advances.
    void Write(QByteArrayView bytes);
    // Reads exactly count bytes or raises EReadError without moving.
    QByteArray Read(qsizetype count);
    QByteArray ReadRest();

    void WriteByte(quint8 value);
    quint8 ReadByte();
    void WriteInt32(qint32 value);
    qint32 ReadInt32();
    void WriteUInt32(quint32 value) { WriteInt32(static_cast<qint32>(value)); }
    quint32 ReadUInt32() { return static_cast<quint32>(ReadInt32()); }

    void WriteString(const QString& text);
    // A length that runs past the stream raises EReadError before anything
    // is allocated for it.
    QString ReadString();

    // The lines, each followed by CR LF.
    void WriteLines(const QStringList& lines);
    // The text from the position to the end, split at CR LF, CR or LF; a
    // final line break does not make an empty last line.
    QStringList ReadLines();

    // Sends this message through the owner (TkdbCustomDemon::SendMessageStream).
    void Send(TEntity& toEntity, TTutorixMessageStream* reply = nullptr);
    // Copies the stamp, the entity's four fields, the code and the whole
    // content; the position goes to the start.
    void AssignFrom(const TTutorixMessageStream& other);

private:
    QByteArray data_;
    qsizetype position_ = 0;
};
