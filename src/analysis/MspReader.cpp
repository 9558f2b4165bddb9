// MSP text: "Name:" begins a record, fields follow as "Field: value", then
// "Num Peaks:" and the pairs, up to a blank line or the next "Name:".
#include "analysis/ImportText.h"
#include "analysis/SpectrumImport.h"

#include <cmath>

namespace {

// The field name of a line, lower-cased without blanks and "_" ("Num
// Peaks" -> "numpeaks"); empty when the line is no "Field: value".
QString FieldKey(QStringView line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return QString();
    QString key;
    for (const QChar c : line.first(colon)) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('_'))
            continue;
        key += c.toLower();
    }
    return key;
}

QStringView FieldValue(QStringView line)
{
    return line.sliced(line.indexOf(QLatin1Char(':')) + 1).trimmed();
}

bool IsPeakSeparator(QChar c)
{
    switch (c.unicode()) {
    case ' ': case '\t': case ',': case ';': case ':':
    case '(': case ')': case '[': case ']': case '{': case '}':
        return true;
    default:
        return false;
    }
}

struct TMspRecord {
    TImportedSpectrum Spectrum;
    QString SpectrumType;
    QString DbNumber, NistNumber;
    std::optional<double> NumPeaks;
    int NumPeaksLine = 0;
    std::vector<TSpectralLine> Pairs;
    std::optional<double> Mass; // read, its intensity not yet
    int LastPeakLine = 0;
    std::optional<TImportRefusal> Fault;
};

// The pairs of one peak line; false at a token that is no number.
void ReadPeakLine(QStringView line, int number, TMspRecord& r)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n && !r.Fault) {
        if (line[i] == QLatin1Char('"')) {
            // An annotation of the peak: up to the closing quote.
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            i = close < 0 ? n : close + 1;
            continue;
        }
        if (IsPeakSeparator(line[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < n && !IsPeakSeparator(line[i]) && line[i] != QLatin1Char('"'))
            ++i;
        const QStringView token = line.sliced(start, i - start);
        double v = 0;
        if (!ParseImportNumber(token, v)) {
            r.Fault = TImportRefusal{number, QStringLiteral("%1 is not a number").arg(QuotedText(token))};
            return;
        }
        r.LastPeakLine = number;
        if (r.Mass) {
            r.Pairs.push_back({*r.Mass, v});
            r.Mass.reset();
        } else {
            r.Mass = v;
        }
    }
}

void Finish(TMspRecord& r, TImportResult& result)
{
    TImportedSpectrum& s = r.Spectrum;
    auto refuse = [&](int line, const QString& reason) { result.Refusals.push_back({line, reason}); };
    if (r.Fault)
        return result.Refusals.push_back(*r.Fault);
    const QString label = RecordLabel(s.Name);
    if (s.Name.isEmpty())
        return refuse(s.FirstLine, QStringLiteral("a record without a name"));
    const QString type = r.SpectrumType.toUpper();
    if (!type.isEmpty() && type != QLatin1String("MS") && type != QLatin1String("MS1"))
        return refuse(s.FirstLine, QStringLiteral("%1: not a mass spectrum of the molecule (Spectrum_type %2)")
                                       .arg(label, r.SpectrumType));
    if (!r.NumPeaks)
        return refuse(s.FirstLine, QStringLiteral("%1: no peak list (no \"Num Peaks:\")").arg(label));
    if (r.Mass)
        return refuse(r.LastPeakLine, QStringLiteral("%1: the last mass has no intensity").arg(label));
    if (r.Pairs.empty())
        return refuse(s.FirstLine, QStringLiteral("%1: no peak list").arg(label));
    if (*r.NumPeaks != double(r.Pairs.size()))
        return refuse(r.NumPeaksLine, QStringLiteral("%1: Num Peaks says %2, the list holds %3 pairs")
                                          .arg(label, NumberText(*r.NumPeaks))
                                          .arg(r.Pairs.size()));
    s.Accession = !r.DbNumber.isEmpty() ? r.DbNumber : r.NistNumber;
    if (const std::optional<QString> why = FinishImportedLines(s, std::move(r.Pairs)))
        return refuse(s.FirstLine, QStringLiteral("%1: %2").arg(label, *why));
    result.Spectra.push_back(std::move(s));
}

// "NIST#:" may follow "CAS#:" on its line, after ";".
QString NistNumberIn(QStringView line)
{
    const qsizetype at = line.indexOf(QLatin1String("nist#:"), 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    QStringView rest = line.sliced(at + 6);
    const qsizetype semicolon = rest.indexOf(QLatin1Char(';'));
    if (semicolon >= 0)
        rest = rest.first(semicolon);
    return CleanImportField(rest);
}

} // namespace

TImportResult ReadMsp(const QByteArray& content)
{
    const QString text = DecodeImportText(content);
    const std::vector<QStringView> lines = ImportLines(text);
    TImportResult result;
    std::optional<TMspRecord> record;
    for (size_t k = 0; k < lines.size(); ++k) {
        const QStringView line = lines[k].trimmed();
        const int number = int(k + 1);
        if (line.isEmpty()) {
            if (record)
                Finish(*record, result);
            record.reset();
            continue;
        }
        const QString key = FieldKey(line);
        if (key == QLatin1String("name")) {
            if (record)
                Finish(*record, result);
            record.emplace();
            record->Spectrum.Format = TImportFormat::Msp;
            record->Spectrum.FirstLine = number;
            record->Spectrum.Name = CleanImportField(FieldValue(line));
            continue;
        }
        if (!record || record->Fault)
            continue; // text between records, or the rest of a refused one
        TMspRecord& r = *record;
        if (r.NumPeaks) {
            ReadPeakLine(line, number, r);
            continue;
        }
        if (key == QLatin1String("numpeaks")) {
            double v = 0;
            if (!ParseImportNumber(FieldValue(line), v) || v < 0 || v != std::floor(v))
                r.Fault = TImportRefusal{number, QStringLiteral("%1 is not a number of peaks").arg(QuotedText(FieldValue(line)))};
            r.NumPeaks = v;
            r.NumPeaksLine = number;
        } else if (key == QLatin1String("formula")) {
            r.Spectrum.Formula = CleanImportField(FieldValue(line));
        } else if (key == QLatin1String("authors") || key == QLatin1String("author")) {
            r.Spectrum.Authors = CleanImportField(FieldValue(line));
        } else if (key == QLatin1String("license") || key == QLatin1String("licence")) {
            r.Spectrum.Licence = CleanImportField(FieldValue(line));
        } else if (key == QLatin1String("db#")) {
            r.DbNumber = CleanImportField(FieldValue(line));
        } else if (key == QLatin1String("spectrumtype")) {
            r.SpectrumType = CleanImportField(FieldValue(line));
        }
        if (r.NistNumber.isEmpty())
            r.NistNumber = NistNumberIn(line);
    }
    if (record)
        Finish(*record, result);
    if (result.Spectra.empty() && result.Refusals.empty())
        result.Refusals.push_back({0, QStringLiteral("no MSP record in the file")});
    return result;
}
