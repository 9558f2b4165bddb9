#include "app/UserSpectrumLibrary.h"

#include "app/Substance.h"
#include "support/Errors.h"
#include "support/StreamLine.h"
#include "support/TextRoutines.h"
#include "support/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <set>

namespace {

constexpr qsizetype kColumn = 7;
constexpr int kPairsPerLine = 5;
constexpr int kNotesLines = 3;
constexpr int kSignificantDigits = 3;
// The reader cuts "(by courtesy" and this many characters after it off the
// name line before it compares the name; a longer credit would stay partly
// in the compared text and the record could not be found by its name.
constexpr qsizetype kCreditCut = 255;

const char* const kLineEnd = "\r\n";

// What a new user library begins with; the reader passes over everything
// before the first "/NAME".
const char* const kNewFileHeader =
    "Ionpath user spectrum library: the substances added in Ionpath, listed after the shipped ones.\r\n"
    "Records as in the shipped library: \"/NAME\", the name line with its credit, three lines of notes,\r\n"
    "pairs of 7-character columns (mass, abundance in % of the base peak), \"/PHYSP\".\r\n"
    "\r\n";

QString Fixed(double v, int decimals)
{
    return QLocale::c().toString(v, 'f', decimals);
}

// The digits of a number as written, from the first one that is not zero:
// "0.0123" has 3, "100.00" 5, "0.0000" none.
int SignificantDigits(const QString& text)
{
    int count = 0;
    bool leading = true;
    for (const QChar c : text) {
        if (!c.isDigit())
            continue;
        if (leading && c == QLatin1Char('0'))
            continue;
        leading = false;
        ++count;
    }
    return count;
}

// The mass column: one decimal, right-aligned.
QString MassText(double mass)
{
    if (!std::isfinite(mass) || mass < 0)
        throw Exception(QStringLiteral("The mass %1 cannot be stored in the spectrum library: a mass is a number from 0 up.")
                            .arg(mass));
    const QString text = Fixed(mass, 1);
    if (text.size() > kColumn)
        throw Exception(QStringLiteral("The mass %1 does not fit the library's %2-character column (at most 99999.9).")
                            .arg(text)
                            .arg(kColumn));
    return text.rightJustified(kColumn);
}

// The abundance column: as many decimals as fit. Six characters keep a blank
// before the number, as in the shipped library, so that a person reading
// the file sees the columns apart; the seventh is taken only when a small
// value would otherwise keep fewer than three significant digits.
QString AbundanceText(double abundance)
{
    if (!std::isfinite(abundance) || abundance < 0)
        throw Exception(QStringLiteral("The abundance %1 cannot be stored in the spectrum library: an abundance is a "
                                       "percentage from 0 up.")
                            .arg(abundance));
    for (const qsizetype width : {kColumn - 1, kColumn}) {
        for (int decimals = int(width) - 2; decimals >= 0; --decimals) {
            const QString text = Fixed(abundance, decimals);
            if (text.size() > width)
                continue;
            if (abundance == 0 || SignificantDigits(text) >= kSignificantDigits)
                return text.rightJustified(kColumn);
            break; // fewer decimals keep still fewer digits
        }
    }
    throw Exception(QStringLiteral("The abundance %1 does not fit the library's %2-character column with %3 "
                                   "significant digits.")
                        .arg(QLocale::c().toString(abundance, 'g', QLocale::FloatingPointShortest))
                        .arg(kColumn)
                        .arg(kSignificantDigits));
}

bool HasLineBreak(const QString& text)
{
    for (const QChar c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    return false;
}

// The file's bytes; an absent file is empty.
bool ReadFileBytes(const QString& path, QByteArray& bytes, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        bytes.clear();
        return true;
    }
    if (!info.isFile()) {
        error = QStringLiteral("\"%1\" is not a file.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (info.size() > TSpectrumLibrary::kMaxFileSize) {
        error = QStringLiteral("The file \"%1\" is too large for a spectrum library.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Gone between the look and the open: as absent.
        if (!QFileInfo::exists(path)) {
            bytes.clear();
            return true;
        }
        error = QStringLiteral("The file \"%1\" cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("The file \"%1\" cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

// Reads the file into `library` and the names of its readable records into
// `names`; `readable` tells a file that cannot be read from damaged records.
bool LoadFile(const QString& path, TSpectrumLibrary& library, QStringList& names, bool& readable, QString* error)
{
    QByteArray bytes;
    QString why;
    readable = ReadFileBytes(path, bytes, why);
    if (!readable) {
        // Nothing of a file that cannot be read is offered, not even what an
        // earlier read found: it may be gone from the disk.
        library.SetContent(QByteArray());
        names.clear();
        if (error)
            *error = why;
        return false;
    }
    library.SetContent(bytes);

    QStringList found;
    QStringList damaged;
    std::set<QString> seen;
    for (const QString& name : library.SubstanceNames()) {
        if (StripBlanks(name).isEmpty()) {
            damaged << QStringLiteral("a record without a name before \"(by courtesy of …)\"");
            continue;
        }
        // A second record of the same name is never loaded: the loader
        // takes the first.
        if (!seen.insert(LibraryNameKey(name)).second)
            continue;
        try {
            if (LoadSubstance(library, name))
                found << name;
            else
                damaged << QStringLiteral("\"%1\" (its name line has no \"(by courtesy of …)\")").arg(name);
        } catch (const Exception& e) {
            damaged << QStringLiteral("\"%1\" (%2)").arg(name, e.Message());
        }
    }
    names = found;
    if (damaged.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("The spectrum library \"%1\" has damaged records, which are left out: %2.")
                     .arg(QDir::toNativeSeparators(path), damaged.join(QStringLiteral("; ")));
    return false;
}

// A line that begins a record: "/NAME" in any case.
bool IsNameMarker(QByteArrayView line)
{
    return line.size() >= 5 && LowerCaseAZ(line.first(5).toByteArray()) == "/name";
}

// The selector's name in a name line, by the reader's rule: the text before
// the first "(by", less the one character right before it, without outer
// blanks; empty without "(by".
QString NameInLine(const QString& line)
{
    const qsizetype by = line.indexOf(QLatin1String("(by"));
    return by < 1 ? QString() : StripBlanks(line.first(by - 1));
}

} // namespace

QString LibraryNameKey(const QString& name)
{
    return LowerCaseAZ(StripBlanks(name));
}

QString DefaultUserLibraryPath()
{
    // The XDG base directory rule: a relative XDG_DATA_HOME is to be ignored.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/ionpath/user_spectra.tra"));
}

QByteArray FormatLibraryRecord(const TLibraryRecord& record)
{
    const QString name = StripBlanks(record.Name);
    if (name.isEmpty())
        throw Exception(QStringLiteral("A substance of the spectrum library needs a name."));
    if (HasLineBreak(record.Name) || HasLineBreak(record.Credit))
        throw Exception(QStringLiteral("The name and the credit of \"%1\" must be one line each.").arg(name));
    // The selector's name ends before the first "(by".
    if (record.Name.contains(QLatin1String("(by")))
        throw Exception(QStringLiteral("The name \"%1\" cannot hold \"(by\": the library's names end there.").arg(name));
    if (record.Notes.size() > kNotesLines)
        throw Exception(QStringLiteral("The record of \"%1\" has %2 notes lines; it holds %3.")
                            .arg(name)
                            .arg(record.Notes.size())
                            .arg(kNotesLines));
    for (const QString& note : record.Notes) {
        if (HasLineBreak(note))
            throw Exception(QStringLiteral("A note of \"%1\" must be one line.").arg(name));
        // The list of names takes every line that begins with "/NAME".
        if (note.left(5).compare(QLatin1String("/name"), Qt::CaseInsensitive) == 0)
            throw Exception(QStringLiteral("A note of \"%1\" cannot begin with \"/NAME\".").arg(name));
    }
    if (record.Lines.size() > size_t(TSpectrumLibrary::kMaxLines))
        throw Exception(QStringLiteral("\"%1\" has %2 lines; the spectrum library keeps at most %3 of a substance.")
                            .arg(name)
                            .arg(record.Lines.size())
                            .arg(TSpectrumLibrary::kMaxLines));
    const QByteArray credit = QStringLiteral("(by courtesy of %1)").arg(record.Credit).toUtf8();
    if (credit.size() > kCreditCut)
        throw Exception(QStringLiteral("The credit of \"%1\" is too long: %2 bytes, at most %3 with \"(by courtesy of )\".")
                            .arg(name)
                            .arg(credit.size())
                            .arg(kCreditCut));

    QByteArray out = "/NAME";
    out += kLineEnd;
    out += record.Name.toUtf8() + ' ' + credit + kLineEnd;
    for (int i = 0; i < kNotesLines; ++i)
        out += (i < record.Notes.size() ? record.Notes.at(i).toUtf8() : QByteArray()) + kLineEnd;
    QString row;
    for (size_t i = 0; i < record.Lines.size(); ++i) {
        row += MassText(record.Lines[i].Mass) + AbundanceText(record.Lines[i].Abundance);
        if ((i + 1) % kPairsPerLine == 0 || i + 1 == record.Lines.size()) {
            out += row.toLatin1() + kLineEnd;
            row.clear();
        }
    }
    out += "/PHYSP";
    out += kLineEnd;
    out += kLineEnd;
    return out;
}

TUserSpectrumLibrary::TUserSpectrumLibrary(QString path) : path_(std::move(path)) {}

bool TUserSpectrumLibrary::Load(QString* error)
{
    bool readable = false;
    return LoadFile(path_, library_, names_, readable, error);
}

bool TUserSpectrumLibrary::Rewrite(const QString& nothingDone, const TReadBackFault& notReadBack,
                                   const std::function<std::optional<QString>(QByteArray&)>& change, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString nativePath = QDir::toNativeSeparators(path_);
    // What is on the disk now, not what the last Load saw: another copy of
    // the program may have changed the file since.
    QByteArray content;
    QString why;
    if (!ReadFileBytes(path_, content, why))
        return fail(nothingDone.arg(nativePath, why));
    if (const std::optional<QString> refused = change(content))
        return fail(*refused);
    if (!WriteWholeFile(path_, content, &why))
        return fail(nothingDone.arg(nativePath, why));

    QString report;
    bool readable = false;
    if (!LoadFile(path_, library_, names_, readable, &report) && !readable)
        return fail(notReadBack(nativePath, report));
    if (error)
        *error = report; // damaged records, if any, that were there before
    return true;
}

bool TUserSpectrumLibrary::Append(const QByteArray& records, QString* error)
{
    const QString nativePath = QDir::toNativeSeparators(path_);
    return Rewrite(
        QStringLiteral("Nothing was added to \"%1\": %2"),
        [](const QString& path, const QString& report) {
            return QStringLiteral("The records were added to \"%1\", but the file cannot be read back: %2").arg(path, report);
        },
        [&](QByteArray& content) -> std::optional<QString> {
            if (content.isEmpty())
                content = kNewFileHeader;
            else if (!content.endsWith('\n') && !content.endsWith('\r'))
                content += kLineEnd; // the last line ends before the new records begin
            content += records;
            if (content.size() > TSpectrumLibrary::kMaxFileSize)
                return QStringLiteral("Nothing was added to \"%1\": the file would be too large for a spectrum library.")
                    .arg(nativePath);
            const QString folder = QFileInfo(path_).absolutePath();
            if (!QDir().mkpath(folder))
                return QStringLiteral("Nothing was added to \"%1\": the folder \"%2\" cannot be created.")
                    .arg(nativePath, QDir::toNativeSeparators(folder));
            return std::nullopt;
        },
        error);
}

bool TUserSpectrumLibrary::Remove(const QString& name, QString* error)
{
    const QString nativePath = QDir::toNativeSeparators(path_);
    return Rewrite(
        QStringLiteral("Nothing was removed from \"%1\": %2"),
        [&name](const QString& path, const QString& report) {
            return QStringLiteral("\"%1\" was removed from \"%2\", but the file cannot be read back: %3")
                .arg(name, path, report);
        },
        [&](QByteArray& content) -> std::optional<QString> {
            // The records by the lines the reader sees, as it lists them: a
            // "/NAME" line, then the name line.
            const QString key = LibraryNameKey(name);
            const TTextEncoding encoding = DetectTextEncoding(content);
            TLineScanner lines(content);
            QByteArray buffer;
            qsizetype begin = -1;
            qsizetype end = content.size();
            for (bool endOfStream = false; !endOfStream;) {
                const TLineSpan line = lines.Next();
                endOfStream = line.EndOfStream;
                if (!IsNameMarker(lines.Text(line, buffer)))
                    continue;
                if (begin >= 0) {
                    end = line.Begin;
                    break;
                }
                const TLineSpan nameLine = lines.Next();
                endOfStream = nameLine.EndOfStream;
                if (!key.isEmpty()
                    && LibraryNameKey(NameInLine(DecodeText(lines.Text(nameLine, buffer), encoding))) == key)
                    begin = line.Begin;
            }
            if (begin < 0)
                return QStringLiteral("\"%1\" is not in \"%2\".").arg(name, nativePath);
            content.remove(begin, end - begin);
            return std::nullopt;
        },
        error);
}
