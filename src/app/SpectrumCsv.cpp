#include "app/SpectrumCsv.h"

#include "app/FieldScan.h"
#include "support/Errors.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>

namespace {

QString Number(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

// A comment line stays one line, whatever the name holds.
QString OneLine(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

QByteArray SpectrumCsv(const TSpectrumCsvHeader& header, const std::vector<TSpectralLine>& sticks)
{
    QString out;
    out += QStringLiteral("# Ionpath mass spectrum\n");
    out += QStringLiteral("# substance: %1\n").arg(OneLine(header.Substance));
    out += QStringLiteral("# voltage: %1 V\n").arg(header.Voltage);
    if (!header.Field.isEmpty())
        out += QStringLiteral("# field: %1\n").arg(OneLine(header.Field));
    out += QStringLiteral("# date: %1\n").arg(header.Date.toOffsetFromUtc(header.Date.offsetFromUtc()).toString(Qt::ISODate));
    out += QStringLiteral("mass,abundance\n");
    for (const TSpectralLine& s : DistinctSticks(sticks))
        out += Number(s.Mass) + QLatin1Char(',') + Number(s.Abundance) + QLatin1Char('\n');
    return out.toUtf8();
}

void WriteSpectrumCsv(const QString& path, const TSpectrumCsvHeader& header, const std::vector<TSpectralLine>& sticks)
{
    const QByteArray text = SpectrumCsv(header, sticks);
    QSaveFile file(path);
    auto fail = [&](const QString& reason) {
        throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}
