#include "support/StreamLine.h"

#include <algorithm>

void TMemoryStream::SetPosition(qsizetype position)
{
    position_ = std::clamp<qsizetype>(position, 0, data_.size());
}

QByteArray ReadStreamLine(TMemoryStream& stream, bool& endOfStream, const TByteSet& separators)
{
    constexpr std::uint8_t kLineFeed = 10;
    QByteArray line;
    endOfStream = false;
    const QByteArray& data = stream.Data();
    qsizetype pos = stream.Position();
    const qsizetype size = data.size();
    for (;;) {
        // Take the run of ordinary bytes in one piece; lines are long and
        // separators rare.
        const qsizetype runStart = pos;
        while (pos < size && !separators.Contains(static_cast<std::uint8_t>(data[pos])))
            ++pos;
        line.append(data.constData() + runStart, pos - runStart);
        if (pos >= size) {
            endOfStream = true;
            break;
        }
        const auto separator = static_cast<std::uint8_t>(data[pos++]);
        if (separator == kLineFeed)
            continue; // a lone line feed is dropped
        // The separator ends the line; a line feed right after it belongs to it.
        if (pos >= size)
            endOfStream = true;
        else if (static_cast<std::uint8_t>(data[pos]) == kLineFeed)
            ++pos;
        break;
    }
    stream.SetPosition(pos);
    return line;
}
