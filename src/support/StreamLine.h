#pragma once
// Reading text lines from an in-memory byte stream.
//
// The program's data files end their lines with a carriage return, optionally
// followed by a line feed. ReadStreamLine keeps exactly that rule: with the
// separators {13, 10} a CR ends a line, a LF after it is consumed with it, and
// a lone LF neither ends the line nor enters it (it is dropped).
//
// TLineScanner gives the same lines as ReadStreamLine with {13, 10}, as
// ranges of the bytes instead of copies, and can pass over lines a reader has
// no use for without looking at them one by one: a library of many megabytes
// is searched at close to the speed of reading it.

#include <QByteArray>
#include <QByteArrayView>
#include <bitset>
#include <cstdint>
#include <initializer_list>

// The whole content of a file with a read position; reads never fail, they
// just stop at the end.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray data) : data_(std::move(data)) {}

    const QByteArray& Data() const { return data_; }
    qsizetype Size() const { return data_.size(); }
    qsizetype Position() const { return position_; }
    // Clamped to 0..Size().
    void SetPosition(qsizetype position);

    // The next byte, or false at the end.
    bool ReadByte(std::uint8_t& byte)
    {
        if (position_ >= data_.size())
            return false;
        byte = static_cast<std::uint8_t>(data_[position_++]);
        return true;
    }

private:
    QByteArray data_;
    qsizetype position_ = 0;
};

// A set of byte values.
class TByteSet {
public:
    TByteSet() = default;
    TByteSet(std::initializer_list<std::uint8_t> bytes)
    {
        for (auto b : bytes)
            bits_.set(b);
    }
    bool Contains(std::uint8_t b) const { return bits_.test(b); }

private:
    std::bitset<256> bits_;
};

// Reads one line from the stream's position. Bytes not in `separators` form
// the line. LF (10), when a separator, is skipped. Any other separator ends
// the line; a LF right after it is consumed too, anything else stays for the
// next call. endOfStream is set when the stream ran out during the call: a
// last line without terminator comes with endOfStream = true, and after a
// final terminator one more call returns an empty line with endOfStream = true.
QByteArray ReadStreamLine(TMemoryStream& stream, bool& endOfStream, const TByteSet& separators);

// One line as a range of the scanned bytes.
struct TLineSpan {
    qsizetype Begin = 0;
    qsizetype End = 0;           // the CR that ended the line, or the end of the data
    bool LoneLineFeeds = false;  // LFs lie in [Begin, End); the line is the range without them
    bool Probed = false;         // a probe hit (see SetProbe) lies in [Begin, End)
    bool EndOfStream = false;    // as ReadStreamLine reports it
    qsizetype LinesPassed = 0;   // lines NextOfInterest passed over to reach this one

    qsizetype RawSize() const { return End - Begin; }
};

class TLineScanner {
public:
    // The bytes must stay alive and unchanged while the scanner is used.
    explicit TLineScanner(QByteArrayView data);

    // Marks every position p where (data[p] | 0x20) == (first | 0x20) and
    // (data[p + distance] | 0x20) == (last | 0x20). A word compared with the
    // letters A to Z folded can only lie where its first and last letters are
    // marked, so the mark is a cheap filter for it. Set before the first read.
    void SetProbe(char first, qsizetype distance, char last);

    // The next line, in the order and with the end flag of ReadStreamLine
    // with the separators {13, 10}. Past the end: an empty line at the end.
    TLineSpan Next();

    // The next line that has a probe hit, lone LFs or more than `longerThan`
    // bytes, or else the last line; the lines between are passed over and
    // counted in LinesPassed.
    TLineSpan NextOfInterest(qsizetype longerThan);

    // The line's bytes: a view of the data, or of `buffer` when lone LFs had
    // to be dropped. Valid until the buffer is used again.
    QByteArrayView Text(const TLineSpan& line, QByteArray& buffer) const;

private:
    void LoadBlock(qsizetype base);
    void ClearBelow(qsizetype position);

    QByteArrayView data_;
    qsizetype lineStart_ = 0;
    bool ended_ = false;
    // The block of 64 bytes at base_: one bit per byte, for bytes not yet
    // taken by a line.
    qsizetype base_ = -64;
    std::uint64_t carriageReturns_ = 0;
    std::uint64_t loneLineFeeds_ = 0;
    std::uint64_t probeHits_ = 0;
    // What earlier blocks held of the line that is still open.
    bool openLoneLineFeeds_ = false;
    bool openProbed_ = false;
    bool probe_ = false;
    char probeFirst_ = 0;
    char probeLast_ = 0;
    qsizetype probeDistance_ = 0;
};
