#include "analysis/ImportText.h"

#include "support/FloatParse.h"
#include "support/TextEncoding.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

QString DecodeImportText(const QByteArray& content)
{
    QString text = DecodeText(content, DetectTextEncoding(content));
    // A byte-order mark is no part of the first line.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

std::vector<QStringView> ImportLines(const QString& text)
{
    std::vector<QStringView> lines;
    const QStringView all(text);
    qsizetype start = 0;
    const qsizetype n = all.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = all[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines.push_back(all.sliced(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && all[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(all.sliced(start));
    return lines;
}

bool ParseImportNumber(QStringView token, double& value)
{
    // The program's reader skips blanks around a number; a token has none.
    if (token.isEmpty() || token.front() == QLatin1Char(' ') || token.back() == QLatin1Char(' '))
        return false;
    return TryStrToFloat(token, QLatin1Char('.'), value);
}

QString QuotedText(QStringView text)
{
    constexpr qsizetype kShown = 40;
    QString shown = text.size() > kShown ? text.first(kShown).toString() + QChar(0x2026) : text.toString();
    for (QChar& c : shown)
        if (c.unicode() < 32 || c.unicode() == 127)
            c = QLatin1Char(' ');
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

QString RecordLabel(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("a record without a name") : QuotedText(name);
}

QString NumberText(double value)
{
    // Whole numbers as written in the files, not as "1e+09".
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString CleanImportField(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (c.unicode() <= 32 || c.unicode() == 127 || c.isSpace()) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out += QLatin1Char(' ');
        blank = false;
        out += c;
    }
    return out;
}

std::optional<QString> FinishImportedLines(TImportedSpectrum& spectrum, std::vector<TSpectralLine> pairs)
{
    spectrum.Lines.clear();
    spectrum.PairsRead = int(std::min<size_t>(pairs.size(), size_t(std::numeric_limits<int>::max())));
    for (const TSpectralLine& p : pairs) {
        if (!std::isfinite(p.Mass) || !std::isfinite(p.Abundance))
            return QStringLiteral("a value beyond the range of numbers");
        if (p.Mass < 0)
            return QStringLiteral("the mass %1 is below 0").arg(NumberText(p.Mass));
    }
    std::erase_if(pairs, [](const TSpectralLine& p) { return !(p.Abundance > 0); });
    if (pairs.empty())
        return QStringLiteral("no peak has an intensity above 0");

    // By mass, the strongest of a mass first, which is the one kept.
    std::sort(pairs.begin(), pairs.end(), [](const TSpectralLine& a, const TSpectralLine& b) {
        return a.Mass < b.Mass || (a.Mass == b.Mass && a.Abundance > b.Abundance);
    });
    pairs.erase(std::unique(pairs.begin(), pairs.end(),
                            [](const TSpectralLine& a, const TSpectralLine& b) { return a.Mass == b.Mass; }),
                pairs.end());

    double base = 0;
    for (const TSpectralLine& p : pairs)
        base = std::max(base, p.Abundance);
    // Divided first: the base line becomes exactly 100 and no product can
    // overflow, whatever the unit of the intensities.
    std::vector<TSpectralLine> lines;
    for (const TSpectralLine& p : pairs) {
        const double percent = p.Abundance / base * 100;
        if (percent >= kImportCut)
            lines.push_back({p.Mass, percent});
    }
    if (lines.size() > size_t(kMaxImportedLines)) {
        // The strongest, the lower mass first among equals, then back in
        // the order of mass.
        std::stable_sort(lines.begin(), lines.end(),
                         [](const TSpectralLine& a, const TSpectralLine& b) { return a.Abundance > b.Abundance; });
        lines.resize(size_t(kMaxImportedLines));
        std::sort(lines.begin(), lines.end(), [](const TSpectralLine& a, const TSpectralLine& b) { return a.Mass < b.Mass; });
    }
    spectrum.Lines = std::move(lines);
    return std::nullopt;
}
