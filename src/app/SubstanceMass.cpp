#include "app/SubstanceMass.h"

#include "analysis/ChemicalFormula.h"

#include <cmath>

namespace {

// How far a recorded mass may lie from a whole number and still be taken
// for that nominal mass (the library's masses are whole numbers; m/z times
// the charge brings them back exactly).
constexpr double kNominalTolerance = 0.25;

} // namespace

TSubstanceComposition CompositionOf(const QString& substanceName)
{
    TSubstanceComposition c;
    const QString suffix = QString::fromLatin1(kIsotopePatternSuffix);
    if (substanceName.endsWith(suffix)) {
        // A record named like a pattern whose formula cannot be read (typed
        // into the library by hand) simply has no known composition.
        try {
            TChemicalFormula formula = ParseChemicalFormula(substanceName.chopped(suffix.size()));
            c.Pattern = ComputeIsotopePattern(formula);
            c.Formula = std::move(formula);
        } catch (const EFormulaError&) {
        }
        return c;
    }
    const qsizetype paren = substanceName.indexOf(QStringLiteral(" ("));
    c.Element = FindElementByName((paren >= 0 ? substanceName.left(paren) : substanceName).trimmed());
    return c;
}

TSubstanceMeanMass MeanMassOf(const QString& substanceName, const std::vector<TSpectralLine>& sticks, int charge)
{
    const TSubstanceComposition c = CompositionOf(substanceName);
    std::vector<TSpectralLine> masses = sticks;
    for (TSpectralLine& l : masses)
        l.Mass *= charge;

    std::function<std::optional<double>(double)> exactMass;
    TSubstanceMeanMass r;
    if (c.Element) {
        const TChemicalElement& element = *c.Element;
        exactMass = [&element](double mass) { return IsotopeMass(element, mass); };
        r.StandardWeight = element.StandardAtomicWeight;
        r.Element = true;
    } else if (c.Pattern) {
        const TIsotopePattern& pattern = *c.Pattern;
        exactMass = [&pattern](double mass) -> std::optional<double> {
            const double nominal = std::round(mass);
            if (std::fabs(mass - nominal) > kNominalTolerance)
                return std::nullopt;
            for (const TPatternLine& l : pattern.Lines)
                if (l.NominalMass == nominal)
                    return l.ExactMass;
            return std::nullopt;
        };
        r.StandardWeight = pattern.AverageMass;
        // One atom of one element: the molecular weight is its atomic weight.
        r.Element = c.Formula && c.Formula->Elements.size() == 1 && c.Formula->Elements.front().Count == 1;
    }
    r.Mean = AbundanceWeightedMeanMass(masses, exactMass);
    return r;
}
