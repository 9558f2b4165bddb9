#pragma once
// Reading text lines from an in-memory byte stream.
//
// The program's data files end their lines with a carriage return, optionally
// followed by a line feed. ReadStreamLine keeps exactly that rule: with the
// separators {13, 10} a CR ends a line, a LF after it is consumed with it, and
// a lone LF neither ends the line nor enters it (it is dropped).

#include <QByteArray>
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
