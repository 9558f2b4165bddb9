#include "app/SpectrumCsv.h"

#include "app/FieldScan.h"
#include "support/Errors.h"
#include "support/WholeFile.h"

#include <QDir>
#include <QLocale>

namespace {

// A comment line stays one line, whatever the name holds: line breaks (also
// those some readers split at, NEL and the Unicode line and paragraph
// separators) and other control characters become blanks. Commas and quotes
// stay as they are: the comment lines are no CSV records.
QString OneLine(QString text)
{
    for (QChar& c : text) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Other_Control || cat == QChar::Separator_Line || cat == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

QString CsvNumber(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

QByteArray SpectrumCsv(const TSpectrumCsvHeader& header, const std::vector<TSpectralLine>& sticks)
{
    QString out;
    out += QStringLiteral("# Ionpath mass spectrum\n");
    out += QStringLiteral("# substance: %1\n").arg(OneLine(header.Substance));
    out += QStringLiteral("# voltage: %1 V\n").arg(header.Voltage);
    if (!header.Field.isEmpty())
        out += QStringLiteral("# field: %1\n").arg(OneLine(header.Field));
    // With the offset from UTC, so that the time is the same one anywhere.
    if (header.Date.isValid())
        out += QStringLiteral("# date: %1\n").arg(header.Date.toOffsetFromUtc(header.Date.offsetFromUtc()).toString(Qt::ISODate));
    out += QStringLiteral("mass,abundance\n");
    for (const TSpectralLine& s : DistinctSticks(sticks))
        out += CsvNumber(s.Mass) + QLatin1Char(',') + CsvNumber(s.Abundance) + QLatin1Char('\n');
    return out.toUtf8();
}

void WriteSpectrumCsv(const QString& path, const TSpectrumCsvHeader& header, const std::vector<TSpectralLine>& sticks)
{
    QString error;
    if (!WriteWholeFile(path, SpectrumCsv(header, sticks), &error))
        throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), error));
}
