#include "app/SpectrumFileImport.h"

#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "support/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {

// "(by courtesy of " and ")" with the credit: what FormatLibraryRecord allows.
constexpr qsizetype kCreditBytes = 255;
const QString kCreditFrame = QStringLiteral("(by courtesy of )");
const QString kEtAl = QStringLiteral(" et al.");
// An import file larger than this is refused before it is read: the largest
// collections a class would use are a few megabytes.
constexpr qint64 kMaxImportFileSize = qint64(64) * 1024 * 1024;

qsizetype Utf8Size(const QString& text)
{
    return text.toUtf8().size();
}

// The longest start of `text` that takes at most `bytes` bytes in UTF-8
// together with the "…" that marks the cut; the text itself when it fits.
QString CutToBytes(const QString& text, qsizetype bytes)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= bytes)
        return text;
    const QString ellipsis(QChar(0x2026));
    qsizetype cut = std::max<qsizetype>(0, bytes - Utf8Size(ellipsis));
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character
    return QString::fromUtf8(utf8.first(cut)) + ellipsis;
}

QString MassText(double mass)
{
    return QLocale::c().toString(mass, 'g', QLocale::FloatingPointShortest);
}

struct TCredit {
    QString Text;
    bool AuthorsCut = false;
};

TCredit CreditOf(const TImportedSpectrum& s)
{
    const QString format = ImportFormatName(s.Format);
    QString source = s.Accession.isEmpty() ? format + QStringLiteral(" record")
                                           : QStringLiteral("%1 record %2").arg(format, s.Accession);
    QString licence = s.Licence.isEmpty() ? QStringLiteral("licence not stated") : QStringLiteral("licence ") + s.Licence;
    const QString authors = s.Authors.isEmpty() ? QStringLiteral("authors not named") : s.Authors;
    auto room = [&] { return kCreditBytes - Utf8Size(kCreditFrame) - Utf8Size(QStringLiteral("; %1; %2").arg(source, licence)); };
    auto compose = [&](const QString& a) { return QStringLiteral("%1; %2; %3").arg(a, source, licence); };
    if (Utf8Size(authors) <= room())
        return {compose(authors), false};
    // A record number or licence too long to leave room for a name (the
    // notes keep them whole).
    if (room() < 80) {
        source = CutToBytes(source, 60);
        licence = CutToBytes(licence, 60);
        if (Utf8Size(authors) <= room())
            return {compose(authors), false};
    }
    // As many whole names from the front as fit, then "et al.".
    const QStringList names = authors.split(QStringLiteral(", "));
    for (qsizetype n = names.size() - 1; n >= 1; --n) {
        const QString front = names.mid(0, n).join(QStringLiteral(", ")) + kEtAl;
        if (Utf8Size(front) <= room())
            return {compose(front), true};
    }
    return {compose(CutToBytes(names.front(), room() - Utf8Size(kEtAl)) + kEtAl), true};
}

// The library's names end at "(by": "Toluene (by GC)" becomes "Toluene [by GC]".
QString LibraryName(QString name)
{
    for (qsizetype at = name.indexOf(QLatin1String("(by")); at >= 0; at = name.indexOf(QLatin1String("(by"), at + 1)) {
        name[at] = QLatin1Char('[');
        const qsizetype close = name.indexOf(QLatin1Char(')'), at);
        if (close >= 0)
            name[close] = QLatin1Char(']');
    }
    return name;
}

void SortLines(std::vector<TSpectralLine>& lines)
{
    std::sort(lines.begin(), lines.end(), [](const TSpectralLine& a, const TSpectralLine& b) {
        return a.Mass < b.Mass || (a.Mass == b.Mass && a.Abundance < b.Abundance);
    });
}

bool SameLines(const std::vector<TSpectralLine>& a, const std::vector<TSpectralLine>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TSpectralLine& x, const TSpectralLine& y) {
        return x.Mass == y.Mass && x.Abundance == y.Abundance;
    });
}

// The lines of a substance as the library gives them back, sorted; none
// for a record that cannot be read.
std::vector<TSpectralLine> LoadedLines(TSpectrumLibrary& library, const QString& name)
{
    std::vector<TSpectralLine> lines;
    try {
        if (std::optional<TSubstance> s = LoadSubstance(library, name))
            lines = std::move(s->Lines);
    } catch (const Exception&) {
        lines.clear();
    }
    SortLines(lines);
    return lines;
}

// The names the library and this import hold, by the loader's key, with
// their lines (those of the library loaded when first compared).
class TTakenNames {
public:
    explicit TTakenNames(TUserSpectrumLibrary& library) : library_(library)
    {
        // Every record of the file, readable or not: a damaged one still
        // holds its name for the loader.
        for (const QString& name : library.Library().SubstanceNames())
            if (!LibraryNameKey(name).isEmpty())
                known_.emplace(LibraryNameKey(name), TEntry{name, std::nullopt});
    }

    enum class TLook { Free, SameLines, OtherLines };

    TLook Look(const QString& name, const std::vector<TSpectralLine>& lines)
    {
        const auto it = known_.find(LibraryNameKey(name));
        if (it == known_.end())
            return TLook::Free;
        if (!it->second.Lines)
            it->second.Lines = LoadedLines(library_.Library(), it->second.Name);
        return SameLines(*it->second.Lines, lines) ? TLook::SameLines : TLook::OtherLines;
    }

    void Add(const QString& name, std::vector<TSpectralLine> lines)
    {
        known_[LibraryNameKey(name)] = TEntry{name, std::move(lines)};
    }

private:
    struct TEntry {
        QString Name;
        std::optional<std::vector<TSpectralLine>> Lines;
    };
    TUserSpectrumLibrary& library_;
    std::map<QString, TEntry> known_;
};

bool ReadImportFile(const QString& path, QByteArray& bytes, QString& why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        why = QStringLiteral("the file does not exist");
        return false;
    }
    if (!info.isFile()) {
        why = QStringLiteral("not a file");
        return false;
    }
    const QString tooLarge = QStringLiteral("too large to import (more than %1 MB)").arg(kMaxImportFileSize / (1024 * 1024));
    if (info.size() > kMaxImportFileSize) {
        why = tooLarge;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return false;
    }
    bytes = file.read(kMaxImportFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        why = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return false;
    }
    if (bytes.size() > kMaxImportFileSize) { // grew since we looked
        why = tooLarge;
        return false;
    }
    return true;
}

struct TFileOutcome {
    QString File;    // as given
    QString Failure; // why nothing in it could be read
    int Imported = 0, AlreadyThere = 0, Refused = 0;
    std::vector<TImportRefusal> Remarks; // refusals and new names, by line
};

QString SummaryLine(const TFileOutcome& f)
{
    if (!f.Failure.isEmpty())
        return QStringLiteral("%1: %2").arg(f.File, f.Failure);
    QString line = QStringLiteral("%1: %2 imported").arg(f.File).arg(f.Imported);
    if (f.AlreadyThere)
        line += QStringLiteral(", %1 already in the library").arg(f.AlreadyThere);
    if (f.Refused)
        line += QStringLiteral(", %1 refused").arg(f.Refused);
    for (const TImportRefusal& r : f.Remarks)
        line += QStringLiteral("; ") + ImportRefusalText(r);
    return line;
}

} // namespace

TLibraryRecord ImportedRecord(const TImportedSpectrum& spectrum)
{
    TLibraryRecord r;
    r.Name = LibraryName(spectrum.Name);
    const TCredit credit = CreditOf(spectrum);
    r.Credit = credit.Text;

    // The library writes masses to 0.1.
    for (const TSpectralLine& l : spectrum.Lines) {
        const double mass = std::round(l.Mass * 10) / 10;
        if (!r.Lines.empty() && r.Lines.back().Mass == mass)
            r.Lines.back().Abundance = std::max(r.Lines.back().Abundance, l.Abundance);
        else
            r.Lines.push_back({mass, l.Abundance});
    }

    const QString format = ImportFormatName(spectrum.Format);
    QString what = QStringLiteral("%1, mass spectrum imported from %2")
                       .arg(spectrum.Formula.isEmpty() ? QStringLiteral("Formula not given") : spectrum.Formula, format);
    if (what.startsWith(QLatin1Char('/')))
        what.prepend(QStringLiteral("Formula ")); // a note never begins like "/NAME"
    r.Notes << what;
    QString source = QStringLiteral("Record: %1 %2; licence: %3")
                         .arg(format, spectrum.Accession.isEmpty() ? QStringLiteral("(no accession)") : spectrum.Accession,
                              spectrum.Licence.isEmpty() ? QStringLiteral("not stated") : spectrum.Licence);
    if (credit.AuthorsCut)
        source += QStringLiteral("; authors: ") + spectrum.Authors;
    r.Notes << source;
    if (r.Lines.empty()) {
        r.Notes << QStringLiteral("No lines; columns: mass, abundance in % of the base peak");
    } else {
        QString count = QStringLiteral("%1 lines").arg(r.Lines.size());
        if (r.Lines.size() < size_t(spectrum.PairsRead))
            count += QStringLiteral(" (of %1 listed)").arg(spectrum.PairsRead);
        r.Notes << QStringLiteral("%1, m/z %2 to %3; columns: mass, abundance in % of the base peak")
                       .arg(count, MassText(r.Lines.front().Mass), MassText(r.Lines.back().Mass));
    }
    return r;
}

TImportReport ImportSpectrumFiles(TUserSpectrumLibrary& library, const QStringList& paths)
{
    TImportReport report;
    // What is in the file now; damaged records there are Append's to report.
    library.Load();
    TTakenNames taken(library);
    std::vector<TFileOutcome> files;
    QByteArray records;

    for (const QString& path : paths) {
        TFileOutcome& f = files.emplace_back();
        f.File = QDir::toNativeSeparators(path);
        QByteArray content;
        if (!ReadImportFile(path, content, f.Failure))
            continue;
        const TImportResult result = ReadSpectrumFile(content, path);
        if (result.Spectra.empty()
            && std::all_of(result.Refusals.begin(), result.Refusals.end(), [](const TImportRefusal& r) { return r.Line == 0; })) {
            QStringList why;
            for (const TImportRefusal& r : result.Refusals)
                why << r.Reason;
            f.Failure = why.join(QStringLiteral("; "));
            continue;
        }
        f.Remarks = result.Refusals;
        f.Refused = int(result.Refusals.size());
        for (const TImportedSpectrum& s : result.Spectra) {
            TLibraryRecord record = ImportedRecord(s);
            QByteArray bytes;
            std::vector<TSpectralLine> lines;
            try {
                bytes = FormatLibraryRecord(record);
            } catch (const Exception& e) {
                f.Remarks.push_back({s.FirstLine, QStringLiteral("\"%1\": %2").arg(s.Name, e.Message())});
                ++f.Refused;
                continue;
            }
            TSpectrumLibrary alone;
            alone.SetContent(bytes);
            lines = LoadedLines(alone, record.Name);

            // The name, or the first free one after it; a name that holds
            // the same lines already is this very spectrum.
            const QString wanted = record.Name;
            std::optional<TTakenNames::TLook> look;
            for (int n = 1;; ++n) {
                if (n == 2 && !s.Accession.isEmpty())
                    record.Name = QStringLiteral("%1 [%2]").arg(wanted, s.Accession);
                else if (n > 1)
                    record.Name = QStringLiteral("%1 [%2]").arg(wanted).arg(s.Accession.isEmpty() ? n : n - 1);
                look = taken.Look(record.Name, lines);
                if (look != TTakenNames::TLook::OtherLines)
                    break;
            }
            if (look == TTakenNames::TLook::SameLines) {
                ++f.AlreadyThere;
                continue;
            }
            if (record.Name != wanted) {
                bytes = FormatLibraryRecord(record);
                f.Remarks.push_back({s.FirstLine, QStringLiteral("\"%1\" is in the library with other lines, imported as \"%2\"")
                                                      .arg(wanted, record.Name)});
            }
            taken.Add(record.Name, lines);
            records += bytes;
            ++f.Imported;
        }
        std::stable_sort(f.Remarks.begin(), f.Remarks.end(),
                         [](const TImportRefusal& a, const TImportRefusal& b) { return a.Line < b.Line; });
    }

    for (const TFileOutcome& f : files)
        if (!f.Failure.isEmpty())
            ++report.FailedFiles;
    QString error;
    if (!records.isEmpty() && !library.Append(records, &error)) {
        report.Written = false;
        for (TFileOutcome& f : files)
            if (f.Failure.isEmpty()) {
                f.Failure = QStringLiteral("nothing imported, the spectrum library could not be written: %1").arg(error);
                f.Imported = 0;
            }
    }
    for (const TFileOutcome& f : files) {
        report.Lines << SummaryLine(f);
        report.Imported += f.Imported;
        report.AlreadyThere += f.AlreadyThere;
        report.Refused += f.Refused;
    }
    return report;
}
