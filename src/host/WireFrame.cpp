#include "host/WireFrame.h"

#include "host/Tutorix.h"

#include <QtEndian>

THeaderStatus DecodeFrameHeader(const char* data, std::size_t size, TFrameHeader& header)
{
    if (size < kFrameHeaderSize)
        return THeaderStatus::Incomplete;
    const auto* p = reinterpret_cast<const uchar*>(data);
    if (qFromLittleEndian<quint32>(p) != kFrameMagic || qFromLittleEndian<quint16>(p + 4) != kFrameVersion)
        return THeaderStatus::Invalid;
    const quint16 type = qFromLittleEndian<quint16>(p + 6);
    if (type != quint16(TFrameType::Call) && type != quint16(TFrameType::Done))
        return THeaderStatus::Invalid;
    TFrameHeader h;
    h.Type = TFrameType(type);
    h.Sequence = qFromLittleEndian<quint32>(p + 8);
    h.From = qFromLittleEndian<quint32>(p + 12);
    h.Code = qFromLittleEndian<qint32>(p + 16);
    h.Length = qFromLittleEndian<quint32>(p + 20);
    if (h.Length > kMaxBlockSize || (h.Type == TFrameType::Done && h.Length != 0))
        return THeaderStatus::Invalid;
    header = h;
    return THeaderStatus::Valid;
}

QByteArray EncodeFrameHeader(const TFrameHeader& header)
{
    QByteArray bytes(kFrameHeaderSize, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    qToLittleEndian<quint32>(kFrameMagic, p);
    qToLittleEndian<quint16>(kFrameVersion, p + 4);
    qToLittleEndian<quint16>(quint16(header.Type), p + 6);
    qToLittleEndian<quint32>(header.Sequence, p + 8);
    qToLittleEndian<quint32>(header.From, p + 12);
    qToLittleEndian<qint32>(header.Code, p + 16);
    qToLittleEndian<quint32>(header.Length, p + 20);
    return bytes;
}
