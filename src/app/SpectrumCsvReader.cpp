#include "app/SpectrumCsvReader.h"

#include "support/TextEncoding.h"

#include <QLocale>
#include <cmath>

namespace {

// A field without the blanks and the double quotes around it.
QStringView Unquoted(QStringView field)
{
    field = field.trimmed();
    if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
        field = field.mid(1, field.size() - 2).trimmed();
    return field;
}

bool ToNumber(QStringView field, QChar separator, double& value)
{
    QString text = field.toString();
    if (separator == u';')
        text.replace(u',', u'.');
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value);
}

QString Quoted(QStringView field)
{
    constexpr qsizetype kShown = 40;
    const QString text = field.size() > kShown ? field.left(kShown).toString() + QStringLiteral("...") : field.toString();
    return u'"' + text + u'"';
}

} // namespace

std::variant<std::vector<TSpectralLine>, TSpectrumCsvFault> ReadSpectrumCsv(const QByteArray& content)
{
    QByteArrayView bytes(content);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QString text = DecodeText(bytes, DetectTextEncoding(bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');

    std::vector<TSpectralLine> lines;
    QChar separator;
    int number = 0;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        ++number;
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const bool first = separator.isNull();
        if (first)
            separator = trimmed.contains(u';') ? QChar(u';') : QChar(u',');
        QList<QStringView> fields = trimmed.split(separator);
        while (fields.size() > 2 && Unquoted(fields.back()).isEmpty())
            fields.removeLast();
        if (fields.size() != 2)
            return TSpectrumCsvFault{number, QStringLiteral("%1 where two, mass%2abundance, are expected")
                                                 .arg(fields.size() == 1 ? QStringLiteral("one field")
                                                                         : QStringLiteral("%1 fields").arg(fields.size()))
                                                 .arg(separator)};
        double mass = 0, abundance = 0;
        const bool massRead = ToNumber(Unquoted(fields[0]), separator, mass);
        const bool abundanceRead = ToNumber(Unquoted(fields[1]), separator, abundance);
        if (first && !massRead && !abundanceRead)
            continue; // the header
        if (!massRead)
            return TSpectrumCsvFault{number, QStringLiteral("the mass %1 is not a number").arg(Quoted(Unquoted(fields[0])))};
        if (!abundanceRead)
            return TSpectrumCsvFault{number,
                                     QStringLiteral("the abundance %1 is not a number").arg(Quoted(Unquoted(fields[1])))};
        if (mass <= 0)
            return TSpectrumCsvFault{number, QStringLiteral("the mass %1 is not above 0").arg(Unquoted(fields[0]))};
        if (abundance < 0)
            return TSpectrumCsvFault{number, QStringLiteral("the abundance %1 is below 0").arg(Unquoted(fields[1]))};
        if (abundance > 0)
            lines.push_back({mass, abundance});
    }
    if (lines.empty())
        return TSpectrumCsvFault{0, QStringLiteral("no spectrum lines (rows of mass and abundance above 0)")};
    return lines;
}
