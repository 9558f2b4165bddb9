// MassBank records: "TAG: value" lines, blocks of lines indented under
// their tag, "//" at the end of each record.
#include "analysis/ImportText.h"
#include "analysis/SpectrumImport.h"

#include <cmath>

namespace {

bool IsBlank(QStringView line)
{
    return line.trimmed().isEmpty();
}

bool IsIndented(QStringView line)
{
    return !line.isEmpty() && (line.front() == QLatin1Char(' ') || line.front() == QLatin1Char('\t'));
}

// The blank-separated words of a line.
std::vector<QStringView> Words(QStringView line)
{
    std::vector<QStringView> words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && line[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < n && !line[i].isSpace())
            ++i;
        if (i > start)
            words.push_back(line.sliced(start, i - start));
    }
    return words;
}

// Reads lines [begin, end) as one record.
void ReadRecord(const std::vector<QStringView>& lines, size_t begin, size_t end, TImportResult& result)
{
    TImportedSpectrum s;
    s.Format = TImportFormat::MassBank;
    s.FirstLine = int(begin + 1);
    QString msType;
    std::optional<double> numPeak;
    int numPeakLine = 0;
    bool peakBlock = false;
    std::vector<TSpectralLine> pairs;
    QString tag; // the tag whose block the indented lines continue

    auto refuse = [&](int line, const QString& reason) { result.Refusals.push_back({line, reason}); };

    for (size_t k = begin; k < end; ++k) {
        const QStringView line = lines[k];
        const int number = int(k + 1);
        if (IsIndented(line) && !IsBlank(line)) {
            if (tag != QLatin1String("PK$PEAK"))
                continue;
            // "m/z int. rel.int.": the second column is the intensity.
            const std::vector<QStringView> words = Words(line);
            double values[2] = {0, 0};
            for (size_t w = 0; w < std::min<size_t>(words.size(), 3); ++w) {
                double v = 0;
                if (!ParseImportNumber(words[w], v))
                    return refuse(number, QStringLiteral("%1 is not a number").arg(QuotedText(words[w])));
                if (w < 2)
                    values[w] = v;
            }
            if (words.size() < 2)
                return refuse(number, QStringLiteral("%1: a peak needs its m/z and its intensity")
                                          .arg(QuotedText(line.trimmed())));
            pairs.push_back({values[0], values[1]});
            continue;
        }
        tag.clear();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        tag = line.first(colon).trimmed().toString();
        const QStringView value = line.sliced(colon + 1).trimmed();
        if (tag == QLatin1String("CH$NAME")) {
            if (s.Name.isEmpty())
                s.Name = CleanImportField(value);
        } else if (tag == QLatin1String("CH$FORMULA")) {
            s.Formula = CleanImportField(value);
        } else if (tag == QLatin1String("AUTHORS")) {
            s.Authors = CleanImportField(value);
        } else if (tag == QLatin1String("LICENSE")) {
            s.Licence = CleanImportField(value);
        } else if (tag == QLatin1String("ACCESSION")) {
            s.Accession = CleanImportField(value);
        } else if (tag == QLatin1String("AC$MASS_SPECTROMETRY")) {
            const std::vector<QStringView> words = Words(value);
            if (words.size() >= 2 && words[0] == QLatin1String("MS_TYPE"))
                msType = CleanImportField(value.sliced(words[1].data() - value.data()));
        } else if (tag == QLatin1String("PK$NUM_PEAK")) {
            double v = 0;
            if (!ParseImportNumber(value, v) || v < 0 || v != std::floor(v))
                return refuse(number, QStringLiteral("%1 is not a number of peaks").arg(QuotedText(value)));
            numPeak = v;
            numPeakLine = number;
        } else if (tag == QLatin1String("PK$PEAK")) {
            peakBlock = true;
        }
    }

    const QString label = RecordLabel(s.Name);
    if (s.Name.isEmpty())
        return refuse(s.FirstLine, QStringLiteral("a record without a name (CH$NAME)"));
    if (!msType.isEmpty() && msType != QLatin1String("MS") && msType != QLatin1String("MS1"))
        return refuse(s.FirstLine, QStringLiteral("%1: not a mass spectrum of the molecule (MS_TYPE %2)").arg(label, msType));
    if (!peakBlock || pairs.empty())
        return refuse(s.FirstLine, QStringLiteral("%1: no peak list").arg(label));
    if (numPeak && *numPeak != double(pairs.size()))
        return refuse(numPeakLine, QStringLiteral("%1: PK$NUM_PEAK says %2, the peak list holds %3")
                                       .arg(label, NumberText(*numPeak))
                                       .arg(pairs.size()));
    if (const std::optional<QString> why = FinishImportedLines(s, std::move(pairs)))
        return refuse(s.FirstLine, QStringLiteral("%1: %2").arg(label, *why));
    result.Spectra.push_back(std::move(s));
}

} // namespace

TImportResult ReadMassBank(const QByteArray& content)
{
    const QString text = DecodeImportText(content);
    const std::vector<QStringView> lines = ImportLines(text);
    TImportResult result;
    size_t i = 0;
    while (i < lines.size()) {
        if (IsBlank(lines[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < lines.size() && lines[end].trimmed() != QLatin1String("//"))
            ++end;
        if (end > i)
            ReadRecord(lines, i, end, result);
        i = end + 1;
    }
    if (result.Spectra.empty() && result.Refusals.empty())
        result.Refusals.push_back({0, QStringLiteral("no MassBank record in the file")});
    return result;
}
