#pragma once
// The framing of the local message transport on a Unix stream socket. A
// stream keeps no message boundaries, so every frame starts with a fixed
// header that says what follows:
//
//   offset size  field
//     0     4    magic "IPLK" (0x4B4C5049, little-endian)
//     4     2    version (1)
//     6     2    type: 1 = copy-data call, 2 = done (the call was handled)
//     8     4    sequence number, chosen by the sender of the call
//    12     4    the sending window's handle (the call's wParam)
//    16     4    the copy-data code (dwData)
//    20     4    payload length (cbData); 0 for done
//    24     n    payload
//
// A header that is not ours or announces more than kMaxBlockSize bytes is
// refused before anything is allocated for the payload.

#include <QByteArray>
#include <QtGlobal>
#include <cstddef>

enum class TFrameType : quint16 { Call = 1, Done = 2 };

struct TFrameHeader {
    TFrameType Type = TFrameType::Call;
    quint32 Sequence = 0;
    quint32 From = 0;
    qint32 Code = 0;
    quint32 Length = 0;
};

constexpr std::size_t kFrameHeaderSize = 24;
constexpr quint32 kFrameMagic = 0x4B4C5049;
constexpr quint16 kFrameVersion = 1;

enum class THeaderStatus { Incomplete, Valid, Invalid };

// Looks at the first bytes of a connection's buffer.
THeaderStatus DecodeFrameHeader(const char* data, std::size_t size, TFrameHeader& header);
QByteArray EncodeFrameHeader(const TFrameHeader& header);
