#include "app/SpectrumLibrary.h"

#include "support/ConvertError.h"
#include "support/FloatParse.h"
#include "support/Matrix.h"
#include "support/StreamLine.h"
#include "support/TextRoutines.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace {

const TByteSet kLineEnds{13, 10};
constexpr qsizetype kColumnWidth = 7;
constexpr qsizetype kCreditCut = 255;

bool IsNameMarker(const QByteArray& line)
{
    return line.size() >= 5 && LowerCaseAZ(line.left(5)) == "/name";
}

bool IsRecordEnd(const QByteArray& line)
{
    return line.startsWith("/PHYSP");
}

// The line as the loader compares it: "(by courtesy" and the 254 characters
// after it removed, outer blanks stripped, A to Z lower-cased.
bool MatchesName(const QByteArray& line, const QByteArray& lowerName)
{
    QByteArrayView text(line);
    QByteArray joined;
    const qsizetype credit = line.indexOf("(by courtesy");
    if (credit >= 0) {
        if (credit + kCreditCut >= line.size()) {
            text = text.first(credit);
        } else {
            joined = line.left(credit) + line.mid(credit + kCreditCut);
            text = joined;
        }
    }
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    if (end - begin != lowerName.size())
        return false;
    for (qsizetype i = 0; i < lowerName.size(); ++i) {
        char c = text[begin + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != lowerName[i])
            return false;
    }
    return true;
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
    if (!lastMass)
        return std::nullopt;
    return std::trunc(*lastMass) + 10.0;
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
    QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString()));
    if (bytes.size() > kMaxFileSize) // grew while we looked
        return fail(QStringLiteral("The file \"%1\" is too large.").arg(path));
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
    // Its own copy of the bytes (shared, not copied) and its own position, so
    // that whatever the line hook does cannot disturb this pass.
    TMemoryStream stream(content_);
    const TTextEncoding encoding = encoding_;
    bool endOfStream = false;
    while (!endOfStream) {
        const QByteArray line = ReadStreamLine(stream, endOfStream, kLineEnds);
        if (OnLineRead)
            OnLineRead();
        if (!IsNameMarker(line))
            continue;
        const QString nameLine = DecodeText(ReadStreamLine(stream, endOfStream, kLineEnds), encoding);
        if (OnLineRead)
            OnLineRead();
        const qsizetype by = nameLine.indexOf(QLatin1String("(by"));
        // The character right before "(by" is the blank that separates name
        // and credit; it is dropped whatever it is.
        names << (by >= 1 ? StripBlanks(nameLine.left(by - 1)) : QString());
    }
    return names;
}

TSpectrumLoad TSpectrumLibrary::LoadSpectrum(const QString& name, TMatrix& matrix)
{
    const unsigned generation = ++loadGeneration_;
    TSpectrumLoad load;
    TMemoryStream stream(content_);
    const TTextEncoding encoding = encoding_;
    const QByteArray lowerName = LowerCaseAZ(EncodeText(name, encoding));
    bool endOfStream = false;

    lineCount_ = 0;
    matrix.SetNrOfRows(kMaxLines);

    // Reads the next line and runs the hook; false when a newer load took over.
    QByteArray line;
    auto next = [&] {
        line = ReadStreamLine(stream, endOfStream, kLineEnds);
        if (OnLineRead)
            OnLineRead();
        return generation == loadGeneration_;
    };
    auto superseded = [&] {
        TSpectrumLoad s;
        s.superseded = true;
        return s;
    };

    while (!endOfStream && !load.found) {
        if (!next())
            return superseded();
        // An empty name (a name line without credit) would match the first
        // empty line anywhere and read whatever follows as data.
        if (lowerName.isEmpty() || !MatchesName(line, lowerName))
            continue;
        load.found = true;
        // The three lines after the name line are free text.
        for (int skip = 0; skip < 4; ++skip)
            if (!next())
                return superseded();
        double mass = 0.0;
        bool full = false;
        // The last line of the file counts even without a line end after it.
        while (!IsRecordEnd(line) && !full) {
            for (qsizetype p = 0; p < line.size(); p += kColumnWidth) {
                const QByteArrayView column = QByteArrayView(line).sliced(p, std::min(kColumnWidth, line.size() - p));
                const bool isMass = (p / kColumnWidth) % 2 == 0;
                const QByteArrayView text = isMass ? column : TrimControls(column);
                double value = 0.0;
                if (!TryStrToFloat(text, '.', value))
                    throw EConvertError(InvalidFloatMessage(DecodeText(text, encoding)));
                if (isMass) {
                    mass = value;
                    load.lastMass = value;
                    continue;
                }
                ++lineCount_;
                load.lineCount = lineCount_;
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
