#include "app/IsotopePatternSubstance.h"

#include "app/SpectrumLibrary.h"
#include "app/SubstanceMass.h"
#include "support/Errors.h"

#include <QLocale>
#include <algorithm>

namespace {

const char* const kCalculatorCredit =
    "Ionpath's isotope calculator (IsoSpec++ element table, IUPAC/CIAAW isotopic compositions)";

} // namespace

QString IsotopePatternName(const QString& typed)
{
    QString name;
    for (const QChar c : typed)
        if (!c.isSpace())
            name += c;
    return name + QString::fromLatin1(kIsotopePatternSuffix);
}

TLibraryRecord IsotopePatternRecord(const QString& typed, const TChemicalFormula& formula,
                                    const TIsotopePattern& pattern)
{
    std::vector<TPatternLine> kept = pattern.Lines;
    const size_t all = kept.size();
    if (all > size_t(TSpectrumLibrary::kMaxLines)) {
        // The strongest lines, then back in the order of mass.
        std::stable_sort(kept.begin(), kept.end(),
                         [](const TPatternLine& a, const TPatternLine& b) { return a.Abundance > b.Abundance; });
        kept.resize(size_t(TSpectrumLibrary::kMaxLines));
        std::stable_sort(kept.begin(), kept.end(),
                         [](const TPatternLine& a, const TPatternLine& b) { return a.NominalMass < b.NominalMass; });
    }

    TLibraryRecord r;
    r.Name = IsotopePatternName(typed);
    r.Credit = QString::fromLatin1(kCalculatorCredit);
    const QString typedFormula = r.Name.chopped(qsizetype(qstrlen(kIsotopePatternSuffix)));
    const QString plain = formula.Text();
    r.Notes << QStringLiteral("%1, computed isotope pattern of the molecular ion (singly charged), no fragments")
                   .arg(plain == typedFormula ? plain : QStringLiteral("%1 (%2)").arg(typedFormula, plain));
    r.Notes << QStringLiteral("Every isotopologue down to %1 % of the strongest, merged to nominal masses")
                   .arg(QLocale::c().toString(kPatternThreshold * 100, 'g', QLocale::FloatingPointShortest));
    QString count = QStringLiteral("%1 lines").arg(kept.size());
    if (kept.size() < all)
        count = QStringLiteral("The strongest %1 of %2 lines").arg(kept.size()).arg(all);
    if (kept.empty())
        r.Notes << QStringLiteral("No lines; columns: mass, abundance in % of the base peak");
    else
        r.Notes << QStringLiteral("%1, m/z %2 to %3; columns: mass, abundance in % of the base peak")
                       .arg(count)
                       .arg(kept.front().NominalMass)
                       .arg(kept.back().NominalMass);
    r.Lines.reserve(kept.size());
    for (const TPatternLine& l : kept)
        r.Lines.push_back({double(l.NominalMass), l.Abundance});
    return r;
}

TSubstance SubstanceFromFormula(const QString& formulaText)
{
    const TChemicalFormula formula = ParseChemicalFormula(formulaText);
    const TLibraryRecord record = IsotopePatternRecord(formulaText, formula, ComputeIsotopePattern(formula));
    // Through the library's own reader, so that the substance is the one the
    // user library will give back for the record.
    TSpectrumLibrary library;
    library.SetContent(FormatLibraryRecord(record));
    std::optional<TSubstance> s = LoadSubstance(library, record.Name);
    if (!s)
        throw Exception(QStringLiteral("The isotope pattern of \"%1\" cannot be read back as a substance.").arg(formulaText));
    return *s;
}
