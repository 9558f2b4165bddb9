#include "analysis/SpectrumImport.h"

#include "analysis/ImportText.h"

#include <QFileInfo>
#include <algorithm>

namespace {

bool StartsWithCaseless(QByteArrayView line, QByteArrayView lowerPrefix)
{
    if (line.size() < lowerPrefix.size())
        return false;
    for (qsizetype i = 0; i < lowerPrefix.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != lowerPrefix[i])
            return false;
    }
    return true;
}

// "##TITLE=" with the label written any way JCAMP-DX allows: any case,
// blanks, "-", "_" and "/" anywhere in it.
bool IsJcampTitle(QByteArrayView line)
{
    if (!line.startsWith("##"))
        return false;
    QByteArray label;
    for (qsizetype i = 2; i < line.size() && line[i] != '=' && label.size() <= 5; ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '-' || c == '_' || c == '/')
            continue;
        label += (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
    }
    return label == "TITLE";
}

std::optional<TImportFormat> FormatMarkedBy(QByteArrayView line)
{
    if (IsJcampTitle(line))
        return TImportFormat::JcampDx;
    if (line.startsWith("ACCESSION:") || line.startsWith("CH$NAME:"))
        return TImportFormat::MassBank;
    if (StartsWithCaseless(line, "name:"))
        return TImportFormat::Msp;
    return std::nullopt;
}

std::optional<TImportFormat> FormatOfExtension(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("txt"))
        return TImportFormat::MassBank;
    if (suffix == QLatin1String("msp"))
        return TImportFormat::Msp;
    if (suffix == QLatin1String("jdx") || suffix == QLatin1String("dx") || suffix == QLatin1String("jcamp"))
        return TImportFormat::JcampDx;
    return std::nullopt;
}

} // namespace

QString ImportFormatName(TImportFormat format)
{
    switch (format) {
    case TImportFormat::MassBank: return QStringLiteral("MassBank");
    case TImportFormat::Msp: return QStringLiteral("MSP");
    case TImportFormat::JcampDx: return QStringLiteral("JCAMP-DX");
    }
    return QString();
}

QString ImportRefusalText(const TImportRefusal& refusal)
{
    if (refusal.Line <= 0)
        return refusal.Reason;
    return QStringLiteral("line %1: %2").arg(refusal.Line).arg(refusal.Reason);
}

std::optional<TImportFormat> DetectImportFormat(const QByteArray& content, const QString& fileName)
{
    const std::optional<TImportFormat> hinted = FormatOfExtension(fileName);
    std::optional<TImportFormat> first;
    QByteArrayView rest(content);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        QByteArrayView line = rest.first(end);
        rest = rest.sliced(std::min(end + 1, rest.size()));
        qsizetype lead = 0;
        while (lead < line.size() && (line[lead] == ' ' || line[lead] == '\t'))
            ++lead;
        const std::optional<TImportFormat> format = FormatMarkedBy(line.sliced(lead));
        if (!format)
            continue;
        if (!first)
            first = format;
        if (format == hinted)
            return hinted;
    }
    return first;
}

TImportResult ReadSpectrumFile(const QByteArray& content, const QString& fileName)
{
    if (content.trimmed().isEmpty())
        return {{}, {{0, QStringLiteral("the file is empty")}}};
    const std::optional<TImportFormat> format = DetectImportFormat(content, fileName);
    if (!format)
        return {{},
                {{0, QStringLiteral("not a spectrum file this program reads (a MassBank record, MSP text or JCAMP-DX)")}}};
    switch (*format) {
    case TImportFormat::MassBank: return ReadMassBank(content);
    case TImportFormat::Msp: return ReadMsp(content);
    case TImportFormat::JcampDx: return ReadJcampDx(content);
    }
    return {};
}
