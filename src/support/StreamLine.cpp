#include "support/StreamLine.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define IONPATH_LINE_SCANNER_SSE2 1
#endif

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

namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr qsizetype kBlock = 64;

struct TBlockMasks {
    std::uint64_t CarriageReturns = 0;
    std::uint64_t LineFeeds = 0;
    std::uint64_t ProbeHits = 0;
};

// Byte by byte, for the blocks at the end of the data.
TBlockMasks ScanBlockBytes(QByteArrayView data, qsizetype base, bool probe, char first, qsizetype distance, char last)
{
    TBlockMasks m;
    const qsizetype end = std::min(base + kBlock, data.size());
    const char foldedFirst = static_cast<char>(first | 0x20);
    const char foldedLast = static_cast<char>(last | 0x20);
    for (qsizetype p = base; p < end; ++p) {
        const std::uint64_t bit = std::uint64_t(1) << (p - base);
        const char c = data[p];
        if (c == kCarriageReturn)
            m.CarriageReturns |= bit;
        else if (c == kLineFeed)
            m.LineFeeds |= bit;
        if (probe && (c | 0x20) == foldedFirst && p + distance < data.size() && (data[p + distance] | 0x20) == foldedLast)
            m.ProbeHits |= bit;
    }
    return m;
}

#ifdef IONPATH_LINE_SCANNER_SSE2
// 16 bytes at a time; needs the 64 bytes at p and, with a probe, the 64 at
// p + distance.
TBlockMasks ScanBlockWide(const char* p, bool probe, char first, qsizetype distance, char last)
{
    TBlockMasks m;
    const __m128i cr = _mm_set1_epi8(kCarriageReturn);
    const __m128i lf = _mm_set1_epi8(kLineFeed);
    const __m128i fold = _mm_set1_epi8(0x20);
    const __m128i foldedFirst = _mm_set1_epi8(static_cast<char>(first | 0x20));
    const __m128i foldedLast = _mm_set1_epi8(static_cast<char>(last | 0x20));
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const int shift = 16 * k;
        m.CarriageReturns |= std::uint64_t(std::uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)))) << shift;
        m.LineFeeds |= std::uint64_t(std::uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)))) << shift;
        if (probe) {
            const __m128i later = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + distance + 16 * k));
            const __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(bytes, fold), foldedFirst),
                                               _mm_cmpeq_epi8(_mm_or_si128(later, fold), foldedLast));
            m.ProbeHits |= std::uint64_t(std::uint16_t(_mm_movemask_epi8(hits))) << shift;
        }
    }
    return m;
}
#endif

// Whether a block holds nothing NextOfInterest stops at: no lone LF, no
// probe hit, and no line longer than `longerThan` ending in it (only the
// first line that ends in a block can be longer than the block). If so,
// `lineStart` moves past the lines that end in it.
inline bool PassBlock(QByteArrayView data, qsizetype base, TBlockMasks m, qsizetype& lineStart, qsizetype longerThan,
                      qsizetype& passed)
{
    const qsizetype taken = lineStart - base; // at most the LF of a CR LF across the blocks
    const std::uint64_t open = taken <= 0 ? ~std::uint64_t(0) : ~std::uint64_t(0) << taken;
    const std::uint64_t afterCarriageReturn = (m.CarriageReturns << 1) | std::uint64_t(base > 0 && data[base - 1] == kCarriageReturn);
    if (((m.ProbeHits | (m.LineFeeds & ~afterCarriageReturn)) & open) != 0)
        return false;
    if (m.CarriageReturns == 0)
        return true;
    const qsizetype firstEnd = base + std::countr_zero(m.CarriageReturns);
    const qsizetype lastEnd = base + (kBlock - 1 - std::countl_zero(m.CarriageReturns));
    if (firstEnd - lineStart > longerThan || lastEnd + 1 >= data.size())
        return false;
    lineStart = lastEnd + (data[lastEnd + 1] == kLineFeed ? 2 : 1);
    passed += std::popcount(m.CarriageReturns); // one line ends at every CR
    return true;
}

// Passes over the blocks from `base` on that PassBlock lets through
// and returns the first one it did not, or the first that is too near the
// end for a whole block to be read.
#ifdef IONPATH_LINE_SCANNER_SSE2
qsizetype PassBlocksSse2(QByteArrayView data, qsizetype base, qsizetype& lineStart, qsizetype longerThan,
                         qsizetype& passed, bool probe, char first, qsizetype distance, char last)
{
    const qsizetype reach = kBlock + (probe ? distance : 0);
    for (; base + reach <= data.size(); base += kBlock)
        if (!PassBlock(data, base, ScanBlockWide(data.data() + base, probe, first, distance, last), lineStart, longerThan,
                       passed))
            break;
    return base;
}
#endif

qsizetype PassBlocks(QByteArrayView data, qsizetype base, qsizetype& lineStart, qsizetype longerThan,
                     qsizetype& passed, bool probe, char first, qsizetype distance, char last)
{
#ifdef IONPATH_LINE_SCANNER_SSE2
    return PassBlocksSse2(data, base, lineStart, longerThan, passed, probe, first, distance, last);
#else
    (void)data, (void)lineStart, (void)longerThan, (void)passed, (void)probe, (void)first, (void)distance, (void)last;
    return base; // byte by byte, through Next
#endif
}

} // namespace

TLineScanner::TLineScanner(QByteArrayView data) : data_(data) {}

void TLineScanner::SetProbe(char first, qsizetype distance, char last)
{
    probe_ = distance >= 0;
    probeFirst_ = first;
    probeDistance_ = distance;
    probeLast_ = last;
}

void TLineScanner::LoadBlock(qsizetype base)
{
    base_ = base;
    const qsizetype size = data_.size();
    TBlockMasks m;
#ifdef IONPATH_LINE_SCANNER_SSE2
    if (base + kBlock + (probe_ ? probeDistance_ : 0) <= size)
        m = ScanBlockWide(data_.data() + base, probe_, probeFirst_, probeDistance_, probeLast_);
    else
#endif
        m = ScanBlockBytes(data_, base, probe_, probeFirst_, probeDistance_, probeLast_);
    carriageReturns_ = m.CarriageReturns;
    // A LF right after a CR ends the line with it; every other LF is dropped
    // from the line it lies in.
    const std::uint64_t afterCarriageReturn =
        (m.CarriageReturns << 1) | std::uint64_t(base > 0 && data_[base - 1] == kCarriageReturn);
    loneLineFeeds_ = m.LineFeeds & ~afterCarriageReturn;
    probeHits_ = m.ProbeHits;
    ClearBelow(lineStart_);
}

void TLineScanner::ClearBelow(qsizetype position)
{
    const qsizetype taken = position - base_;
    if (taken <= 0)
        return;
    const std::uint64_t keep = taken >= kBlock ? 0 : ~std::uint64_t(0) << taken;
    carriageReturns_ &= keep;
    loneLineFeeds_ &= keep;
    probeHits_ &= keep;
}

TLineSpan TLineScanner::Next()
{
    const qsizetype size = data_.size();
    if (ended_)
        return TLineSpan{size, size, false, false, true};
    for (;;) {
        if (carriageReturns_ != 0) {
            const int at = std::countr_zero(carriageReturns_);
            const std::uint64_t before = (std::uint64_t(1) << at) - 1;
            TLineSpan line{lineStart_, base_ + at, openLoneLineFeeds_ || (loneLineFeeds_ & before) != 0,
                           openProbed_ || (probeHits_ & before) != 0, false};
            openLoneLineFeeds_ = openProbed_ = false;
            qsizetype next = line.End + 1;
            if (next >= size) {
                // A CR as the very last byte reports the end with its line.
                line.EndOfStream = true;
                ended_ = true;
                return line;
            }
            // After a final CR LF one more, empty, line follows.
            if (data_[next] == kLineFeed)
                ++next;
            lineStart_ = next;
            ClearBelow(next);
            return line;
        }
        openLoneLineFeeds_ = openLoneLineFeeds_ || loneLineFeeds_ != 0;
        openProbed_ = openProbed_ || probeHits_ != 0;
        loneLineFeeds_ = probeHits_ = 0;
        if (base_ + kBlock >= size) {
            ended_ = true;
            return TLineSpan{lineStart_, size, openLoneLineFeeds_, openProbed_, true};
        }
        LoadBlock(base_ + kBlock);
    }
}

TLineSpan TLineScanner::NextOfInterest(qsizetype longerThan)
{
    const qsizetype size = data_.size();
    qsizetype passed = 0;
    for (;;) {
        if (!ended_ && !openLoneLineFeeds_ && !openProbed_ && (loneLineFeeds_ | probeHits_) == 0) {
            // Nothing in this block is of interest but maybe the length of
            // the first line that ends in it: every other line that ends here
            // is shorter than a block.
            if (carriageReturns_ != 0 && longerThan >= kBlock - 1) {
                const qsizetype firstEnd = base_ + std::countr_zero(carriageReturns_);
                const qsizetype lastEnd = base_ + (kBlock - 1 - std::countl_zero(carriageReturns_));
                // The line that ends the data is reported as Next reports it.
                if (firstEnd - lineStart_ <= longerThan && lastEnd + 1 < size) {
                    qsizetype next = lastEnd + 1;
                    if (data_[next] == kLineFeed)
                        ++next;
                    lineStart_ = next;
                    passed += std::popcount(carriageReturns_);
                    carriageReturns_ = 0;
                }
            }
            if (carriageReturns_ == 0 && base_ + kBlock < size) {
                LoadBlock(longerThan >= kBlock - 1 ? PassBlocks(data_, base_ + kBlock, lineStart_, longerThan, passed, probe_,
                                                                probeFirst_, probeDistance_, probeLast_)
                                                   : base_ + kBlock);
                continue;
            }
        }
        TLineSpan line = Next();
        if (line.EndOfStream || line.LoneLineFeeds || line.Probed || line.RawSize() > longerThan) {
            line.LinesPassed = passed;
            return line;
        }
        ++passed;
    }
}

QByteArrayView TLineScanner::Text(const TLineSpan& line, QByteArray& buffer) const
{
    const QByteArrayView raw = data_.sliced(line.Begin, line.End - line.Begin);
    if (!line.LoneLineFeeds)
        return raw;
    buffer.resize(0);
    for (qsizetype from = 0; from < raw.size();) {
        qsizetype to = raw.indexOf(kLineFeed, from);
        if (to < 0)
            to = raw.size();
        buffer.append(raw.data() + from, to - from);
        from = to + 1;
    }
    return buffer;
}
