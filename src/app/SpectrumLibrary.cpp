#include "app/SpectrumLibrary.h"

#include "support/ConvertError.h"
#include "support/FloatParse.h"
#include "support/Matrix.h"
#include "support/StreamLine.h"
#include "support/TextRoutines.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype kColumnWidth = 7;
constexpr qsizetype kCreditCut = 255;

bool IsNameMarker(QByteArrayView line)
{
    if (line.size() < 5)
        return false;
    for (qsizetype i = 0; i < 5; ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != "/name"[i])
            return false;
    }
    return true;
}

bool IsRecordEnd(QByteArrayView line)
{
    return line.startsWith("/PHYSP");
}

// Whether a line can be the name line of `lowerName` at all. Every name
// line holds the name as one piece, its first letter marked by the probe,
// unless lone LFs were dropped from it or the credit cut joins two distant
// parts of it, which only lines longer than the cut can have.
bool MayHoldName(const TLineSpan& line)
{
    return line.Probed || line.LoneLineFeeds || line.RawSize() > kCreditCut;
}

// The line as the loader compares it: "(by courtesy" and the 254 characters
// after it removed, outer blanks stripped, A to Z lower-cased.
bool MatchesName(QByteArrayView line, const QByteArray& lowerName)
{
    QByteArrayView text = line;
    QByteArray joined;
    const qsizetype credit = line.indexOf("(by courtesy");
    if (credit >= 0) {
        if (credit + kCreditCut >= line.size()) {
            text = text.first(credit);
        } else {
            joined = line.first(credit).toByteArray();
            joined.append(line.sliced(credit + kCreditCut));
            text = joined;
        }
    }
    text = StripBlanks(text);
    if (text.size() != lowerName.size())
        return false;
    for (qsizetype i = 0; i < lowerName.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != lowerName[i])
            return false;
    }
    return true;
}

// The selector's name in a name line: the text before the first "(by", less
// the one character right before it (the blank that separates name and
// credit, dropped whatever it is), without outer blanks. Cut on the bytes, so
// that only the one name is decoded; in UTF-8 the dropped character may take
// several bytes.
QString NameFromLine(QByteArrayView line, TTextEncoding encoding)
{
    const qsizetype by = line.indexOf("(by");
    if (by < 1)
        return QString();
    qsizetype end = by - 1;
    if (encoding == TTextEncoding::Utf8)
        while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
            --end;
    qsizetype begin = 0;
    while (begin < end && line[begin] == ' ')
        ++begin;
    while (end > begin && line[end - 1] == ' ')
        --end;
    return DecodeText(line.sliced(begin, end - begin), encoding);
}

// Control characters and blanks around an abundance column are padding.
QByteArrayView TrimControls(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

std::optional<double> TSpectrumLoad::MassAxisEnd() const
{
    return MassAxisEndAfter(LastMass);
}

std::optional<double> MassAxisEndAfter(std::optional<double> lastMass, int charge)
{
    if (!lastMass)
        return std::nullopt;
    return std::trunc(*lastMass / std::max(charge, 1)) + 10.0;
}

bool TSpectrumLibrary::Open(const QString& path, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("The file \"%1\" does not exist.").arg(path));
    // Devices and pipes may never end; a library is a plain file.
    if (!info.isFile())
        return fail(QStringLiteral("\"%1\" is not a file.").arg(path));
    if (info.size() > kMaxFileSize)
        return fail(QStringLiteral("The file \"%1\" is too large (%2 MB; a spectrum library has at most %3 MB).")
                        .arg(path)
                        .arg(info.size() / (1024 * 1024))
                        .arg(kMaxFileSize / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
    // Room for the size we were told and one byte more, which shows whether
    // the file grew since; asking the device for the largest size allowed
    // instead would reserve that much memory for every read.
    QByteArray bytes(std::min(info.size(), kMaxFileSize) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > kMaxFileSize) // grew while we looked
                return fail(QStringLiteral("The file \"%1\" is too large.").arg(path));
            bytes.resize(std::min<qsizetype>(2 * filled, kMaxFileSize + 1));
        }
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            return fail(QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
        if (got == 0)
            break;
        filled += got;
    }
    bytes.resize(filled);
    SetContent(std::move(bytes));
    return true;
}

void TSpectrumLibrary::SetContent(QByteArray content)
{
    content_ = std::move(content);
    encoding_ = DetectTextEncoding(content_);
    open_ = true;
}

QStringList TSpectrumLibrary::SubstanceNames()
{
    QStringList names;
    // Its own reference to the bytes, so that whatever the line hook does
    // (even reading another file) cannot disturb this pass.
    const QByteArray content = content_;
    const TTextEncoding encoding = encoding_;
    TLineScanner lines(content);
    // Marks "/" with "e" four bytes on: where "/NAME" in any case can begin.
    lines.SetProbe('/', 4, 'e');
    QByteArray buffer;
    bool endOfStream = false;
    while (!endOfStream) {
        // Lines that cannot hold a marker are passed over in bulk; the hook
        // still runs once for every line.
        const TLineSpan line = lines.NextOfInterest(content.size());
        endOfStream = line.EndOfStream;
        for (qsizetype k = 0; k <= line.LinesPassed && OnLineRead; ++k)
            OnLineRead();
        if (!(line.Probed || line.LoneLineFeeds) || !IsNameMarker(lines.Text(line, buffer)))
            continue;
        const TLineSpan nameLine = lines.Next();
        endOfStream = nameLine.EndOfStream;
        const QString name = NameFromLine(lines.Text(nameLine, buffer), encoding);
        if (OnLineRead)
            OnLineRead();
        names << name;
    }
    return names;
}

TSpectrumLoad TSpectrumLibrary::LoadSpectrum(const QString& name, TMatrix& matrix)
{
    const unsigned generation = ++loadGeneration_;
    TSpectrumLoad load;
    // Its own reference to the bytes: a load started from the hook, or a new
    // file read there, leaves this pass reading what it began with.
    const QByteArray content = content_;
    const TTextEncoding encoding = encoding_;
    const QByteArray lowerName = LowerCaseAZ(EncodeText(name, encoding));
    TLineScanner lines(content);
    if (!lowerName.isEmpty())
        lines.SetProbe(lowerName.front(), lowerName.size() - 1, lowerName.back());
    QByteArray buffer;
    bool endOfStream = false;

    lineCount_ = 0;
    matrix.SetNrOfRows(kMaxLines);

    // Runs the hook once for each of `count` lines read; false when a newer
    // load took over.
    auto hook = [&](qsizetype count) {
        for (qsizetype k = 0; k < count && OnLineRead; ++k) {
            OnLineRead();
            if (generation != loadGeneration_)
                return false;
        }
        return true;
    };
    // Reads the next line and runs the hook.
    TLineSpan span;
    QByteArrayView line;
    auto next = [&] {
        span = lines.Next();
        line = lines.Text(span, buffer);
        endOfStream = span.EndOfStream;
        return hook(1);
    };
    auto superseded = [&] {
        TSpectrumLoad s;
        s.Superseded = true;
        return s;
    };

    while (!endOfStream && !load.Found) {
        // Only lines that may hold the name are looked at.
        span = lines.NextOfInterest(kCreditCut);
        endOfStream = span.EndOfStream;
        if (!hook(span.LinesPassed + 1))
            return superseded();
        // An empty name (a name line without credit) would match the first
        // empty line anywhere and read whatever follows as data.
        if (lowerName.isEmpty() || !MayHoldName(span) || !MatchesName(lines.Text(span, buffer), lowerName))
            continue;
        load.Found = true;
        // The three lines after the name line are free text.
        for (int skip = 0; skip < 4; ++skip)
            if (!next())
                return superseded();
        double mass = 0.0;
        bool full = false;
        // The last line of the file counts even without a line end after it.
        while (!IsRecordEnd(line) && !full) {
            for (qsizetype p = 0; p < line.size(); p += kColumnWidth) {
                const QByteArrayView column = line.sliced(p, std::min(kColumnWidth, line.size() - p));
                const bool isMass = (p / kColumnWidth) % 2 == 0;
                const QByteArrayView text = isMass ? column : TrimControls(column);
                double value = 0.0;
                if (!TryStrToFloat(text, '.', value))
                    throw EConvertError(InvalidFloatMessage(DecodeText(text, encoding)));
                if (isMass) {
                    mass = value;
                    load.LastMass = value;
                    continue;
                }
                ++lineCount_;
                load.LineCount = lineCount_;
                matrix.SetCell(1, lineCount_, mass);
                matrix.SetCell(2, lineCount_, value);
                if (lineCount_ == kMaxLines) {
                    full = true;
                    break;
                }
            }
            if (full || endOfStream)
                break;
            if (!next())
                return superseded();
        }
        matrix.SetNrOfRows(lineCount_);
        matrix.SortByColumn(2, true, 1, 1, 2, matrix.NrOfRows());
    }
    // Not found: the rows stay as they were, unsorted.
    return load;
}
