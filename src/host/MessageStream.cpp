#include "host/MessageStream.h"

#include "host/CustomDemon.h"
#include "support/TextEncoding.h"

#include <QtEndian>
#include <algorithm>

EReadError::EReadError()
    : Exception(QStringLiteral("Stream read error"))
{
}

TTutorixMessageStream::TTutorixMessageStream(TkdbCustomDemon* owner, qint32 msgCode)
    : Entity(owner), Owner(owner), MsgCode(msgCode)
{
}

void TTutorixMessageStream::SetPosition(qsizetype position)
{
    position_ = std::clamp<qsizetype>(position, 0, data_.size());
}

void TTutorixMessageStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TTutorixMessageStream::Write(QByteArrayView bytes)
{
    const qsizetype end = position_ + bytes.size();
    if (end > data_.size())
        data_.resize(end);
    std::copy(bytes.begin(), bytes.end(), data_.begin() + position_);
    position_ = end;
}

QByteArray TTutorixMessageStream::Read(qsizetype count)
{
    if (count < 0 || count > Remaining())
        throw EReadError();
    QByteArray bytes = data_.mid(position_, count);
    position_ += count;
    return bytes;
}

QByteArray TTutorixMessageStream::ReadRest()
{
    return Read(Remaining());
}

void TTutorixMessageStream::WriteByte(quint8 value)
{
    const char c = static_cast<char>(value);
    Write(QByteArrayView(&c, 1));
}

quint8 TTutorixMessageStream::ReadByte()
{
    return static_cast<quint8>(Read(1).at(0));
}

void TTutorixMessageStream::WriteInt32(qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    Write(QByteArrayView(bytes, 4));
}

qint32 TTutorixMessageStream::ReadInt32()
{
    return qFromLittleEndian<qint32>(Read(4).constData());
}

void TTutorixMessageStream::WriteString(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    WriteInt32(static_cast<qint32>(bytes.size()));
    Write(bytes);
}

QString TTutorixMessageStream::ReadString()
{
    const qsizetype start = position_;
    const qint32 length = ReadInt32();
    if (length <= 0)
        return {};
    if (length > Remaining()) {
        position_ = start;
        throw EReadError();
    }
    const QByteArray bytes = Read(length);
    return DecodeText(bytes, DetectTextEncoding(bytes));
}

void TTutorixMessageStream::WriteLines(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    Write(text);
}

QStringList TTutorixMessageStream::ReadLines()
{
    const QByteArray bytes = ReadRest();
    const QString text = DecodeText(bytes, DetectTextEncoding(bytes));
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

void TTutorixMessageStream::Send(TEntity& toEntity, TTutorixMessageStream* reply)
{
    if (Owner)
        Owner->SendMessageStream(toEntity, *this, reply);
}

void TTutorixMessageStream::AssignFrom(const TTutorixMessageStream& other)
{
    Stamp = other.Stamp;
    Entity.CopyFrom(other.Entity);
    MsgCode = other.MsgCode;
    data_ = other.data_;
    position_ = 0;
}
