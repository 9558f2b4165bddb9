#include "analysis/IsotopePattern.h"

#include "analysis/ChemicalElements.h"

#include <IsoSpec++/isoSpec++.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Where there may be more isotopologues than this (IsotopologueBound), the
// pattern is computed by nominal mass directly. With the calculator's set-up
// an isotopologue costs some 0.4 us, so the longest listing (Mo16, 55,000)
// takes about 20 ms, twice the direct computation of the widest formula
// (bench/IsotopePatternBench.cpp): a pattern keeps up with the typing.
constexpr double kEnumerationBudget = 1e5;

// The direct computation drops bins below this fraction of the largest at
// the ends of every intermediate distribution; what that leaves out is many
// orders of magnitude below kPatternThreshold.
constexpr double kConvolutionCut = 1e-13;

struct TAtoms {
    const TChemicalElement* Element = nullptr;
    long Count = 0;
};

std::vector<TAtoms> Resolve(const TChemicalFormula& formula)
{
    std::vector<TAtoms> atoms;
    long total = 0;
    for (const TElementCount& e : formula.Elements) {
        const TChemicalElement* element = FindElement(e.Symbol);
        if (!element)
            throw std::invalid_argument("isotope pattern: unknown element " + e.Symbol.toStdString());
        if (e.Count < 1 || e.Count > kMaxFormulaAtoms)
            throw std::invalid_argument("isotope pattern: count out of range for " + e.Symbol.toStdString());
        total += e.Count;
        if (total > kMaxFormulaAtoms)
            throw std::invalid_argument("isotope pattern: more than the allowed number of atoms");
        atoms.push_back({element, e.Count});
    }
    return atoms;
}

// At least as many isotopologues as lie within kPatternThreshold of the most
// probable one. Near its mode the multinomial distribution of an element's
// n atoms over its isotopes is a Gaussian, and the configurations above the
// threshold fill the ellipsoid  x' C^-1 x <= r^2,  r^2 = 2 ln(1/threshold);
// its shadow on the count of isotope i is |x_i| <= r sigma_i with
// sigma_i^2 = n p_i (1 - p_i), so the configurations lie in a box of
// 2 r sigma_i + 2 counts along every isotope but the most abundant (whose
// count the others fix); the 2 takes in the lattice's end points and the
// skew of small counts (no isotope of n atoms takes more than n + 1 counts
// either). The volume of the ellipsoid itself would be the closer figure
// for many atoms, but it falls short by orders of magnitude for few atoms of
// many elements: for Sn5Xe5Hg5 it says a thousand, and listing takes seconds.
// Over some thirty formulas tried, from H2O to proteins and to one atom each
// of eight many-isotope elements, the box held 1.02 to 650 times the
// isotopologues listed; too large a box merely sends a formula the direct
// way. Nor can there be more than all configurations, prod C(n + k - 1, k - 1).
double IsotopologueBound(const std::vector<TAtoms>& atoms)
{
    const double r = std::sqrt(2 * std::log(1 / kPatternThreshold));
    double logBox = 0, logAll = 0;
    for (const TAtoms& a : atoms) {
        const auto& isotopes = a.Element->Isotopes;
        const auto mostAbundant = std::max_element(isotopes.begin(), isotopes.end(), [](const TIsotope& x, const TIsotope& y) {
            return x.Abundance < y.Abundance;
        });
        const double n = double(a.Count);
        for (auto iso = isotopes.begin(); iso != isotopes.end(); ++iso)
            if (iso != mostAbundant)
                logBox += std::log(std::min(n + 1, 2 * r * std::sqrt(n * iso->Abundance * (1 - iso->Abundance)) + 2));
        const double k = double(isotopes.size());
        logAll += std::lgamma(n + k) - std::lgamma(k) - std::lgamma(n + 1);
    }
    return std::exp(std::min(logBox, logAll));
}

// Probabilities and probability-weighted exact masses by nominal mass, for
// the nominal masses Lowest, Lowest + 1, ...
struct TMassBins {
    long Lowest = 0;
    std::vector<double> Probability;
    std::vector<double> MassMoment; // sum of probability * exact mass

    std::vector<TIsotopologue> Isotopologues() const
    {
        std::vector<TIsotopologue> out;
        for (size_t i = 0; i < Probability.size(); ++i)
            if (Probability[i] > 0)
                out.push_back({int(Lowest + long(i)), MassMoment[i] / Probability[i], Probability[i]});
        return out;
    }
};

// The calculator's threshold generator (Łącki et al. 2017) lists every
// isotopologue down to kPatternThreshold of the most probable one; they are
// summed by nominal mass as they come.
TMassBins Enumerate(const TChemicalFormula& formula, const std::vector<TAtoms>& atoms)
{
    // The configuration signature gives the isotope counts element by
    // element in the order of the formula text, and within an element in the
    // order of the calculator's table, which lists isotopes by ascending
    // mass as ChemicalElements does.
    std::vector<int> massNumbers;
    TMassBins bins;
    long highest = 0;
    for (const TAtoms& a : atoms) {
        for (const TIsotope& iso : a.Element->Isotopes)
            massNumbers.push_back(iso.MassNumber);
        bins.Lowest += a.Count * a.Element->Isotopes.front().MassNumber;
        highest += a.Count * a.Element->Isotopes.back().MassNumber;
    }
    bins.Probability.assign(size_t(highest - bins.Lowest + 1), 0.0);
    bins.MassMoment.assign(bins.Probability.size(), 0.0);

    // The calculator takes every count written out ("C3H8O1"). Iso is handed
    // over as a temporary: the generator takes it over by moving.
    IsoSpec::IsoThresholdGenerator generator(IsoSpec::Iso(formula.Text(true).toStdString()), kPatternThreshold,
                                             /*absolute=*/false);
    if (generator.getAllDim() != int(massNumbers.size()))
        throw std::logic_error("isotope pattern: the calculator's isotopes differ from the element table's");
    std::vector<int> counts(massNumbers.size());
    while (generator.advanceToNextConfiguration()) {
        generator.get_conf_signature(counts.data());
        long nominal = 0;
        for (size_t j = 0; j < counts.size(); ++j)
            nominal += long(counts[j]) * massNumbers[j];
        const size_t bin = size_t(nominal - bins.Lowest);
        const double p = generator.prob();
        bins.Probability[bin] += p;
        bins.MassMoment[bin] += p * generator.mass();
    }
    return bins;
}

// Scales the largest bin to 1 (no underflow however many atoms) and drops
// the negligible bins at both ends.
void ScaleAndTrim(TMassBins& d)
{
    const double largest = *std::max_element(d.Probability.begin(), d.Probability.end());
    for (size_t i = 0; i < d.Probability.size(); ++i) {
        d.Probability[i] /= largest;
        d.MassMoment[i] /= largest;
    }
    size_t first = 0, end = d.Probability.size();
    while (d.Probability[first] < kConvolutionCut)
        ++first;
    while (d.Probability[end - 1] < kConvolutionCut)
        --end;
    d.Probability = std::vector<double>(d.Probability.begin() + long(first), d.Probability.begin() + long(end));
    d.MassMoment = std::vector<double>(d.MassMoment.begin() + long(first), d.MassMoment.begin() + long(end));
    d.Lowest += long(first);
}

// The distribution of the sum of two independent parts: probabilities
// multiply, and the mass moment of a combination is p_a * p_b * (m_a + m_b).
TMassBins Convolve(const TMassBins& a, const TMassBins& b)
{
    TMassBins out;
    out.Lowest = a.Lowest + b.Lowest;
    out.Probability.assign(a.Probability.size() + b.Probability.size() - 1, 0.0);
    out.MassMoment.assign(out.Probability.size(), 0.0);
    for (size_t i = 0; i < a.Probability.size(); ++i) {
        const double pa = a.Probability[i], sa = a.MassMoment[i];
        if (pa == 0)
            continue; // the gaps between an element's isotopes (no 113Sn)
        double* p = out.Probability.data() + i;
        double* s = out.MassMoment.data() + i;
        for (size_t j = 0; j < b.Probability.size(); ++j) {
            p[j] += pa * b.Probability[j];
            s[j] += sa * b.Probability[j] + pa * b.MassMoment[j];
        }
    }
    ScaleAndTrim(out);
    return out;
}

// One element's n atoms: the single atom's distribution to the n-th power,
// by squaring.
TMassBins ElementBins(const TAtoms& a)
{
    TMassBins atom;
    const auto& isotopes = a.Element->Isotopes;
    atom.Lowest = isotopes.front().MassNumber;
    atom.Probability.assign(size_t(isotopes.back().MassNumber - atom.Lowest + 1), 0.0);
    atom.MassMoment.assign(atom.Probability.size(), 0.0);
    for (const TIsotope& iso : isotopes) {
        atom.Probability[size_t(iso.MassNumber - atom.Lowest)] += iso.Abundance;
        atom.MassMoment[size_t(iso.MassNumber - atom.Lowest)] += iso.Abundance * iso.Mass;
    }
    TMassBins result;
    bool empty = true;
    for (long n = a.Count; n > 0; n >>= 1) {
        if (n & 1) {
            result = empty ? atom : Convolve(result, atom);
            empty = false;
        }
        if (n > 1)
            atom = Convolve(atom, atom);
    }
    return result;
}

} // namespace

std::vector<TPatternLine> MergeByNominalMass(std::span<const TIsotopologue> isotopologues, double threshold)
{
    std::vector<TIsotopologue> valid;
    double largest = 0;
    for (const TIsotopologue& i : isotopologues)
        if (std::isfinite(i.Probability) && i.Probability > 0 && std::isfinite(i.ExactMass)) {
            valid.push_back(i);
            largest = std::max(largest, i.Probability);
        }
    if (valid.empty())
        return {};
    std::sort(valid.begin(), valid.end(),
              [](const TIsotopologue& a, const TIsotopologue& b) { return a.NominalMass < b.NominalMass; });

    // Sums in extended precision relative to the largest entry: no sum of
    // doubles overflows there, and no single probability underflows.
    struct TSum {
        int NominalMass;
        long double Probability = 0, MassMoment = 0;
        double Lightest, Heaviest; // the merged exact masses' range
    };
    std::vector<TSum> sums;
    for (const TIsotopologue& i : valid) {
        if (sums.empty() || sums.back().NominalMass != i.NominalMass)
            sums.push_back({i.NominalMass, 0, 0, i.ExactMass, i.ExactMass});
        TSum& s = sums.back();
        const long double w = static_cast<long double>(i.Probability) / largest;
        s.Probability += w;
        s.MassMoment += w * i.ExactMass;
        s.Lightest = std::min(s.Lightest, i.ExactMass);
        s.Heaviest = std::max(s.Heaviest, i.ExactMass);
    }
    long double strongest = 0;
    for (const TSum& s : sums)
        strongest = std::max(strongest, s.Probability);

    // Not above 1, so that the strongest line always stays.
    const double cut = threshold >= 0 ? std::min(threshold, 1.0) : 0.0;
    std::vector<TPatternLine> lines;
    for (const TSum& s : sums) {
        const double ratio = double(s.Probability / strongest);
        if (ratio > 0 && ratio >= cut) {
            // Rounding could carry the mean a last digit beyond the
            // masses it averages.
            const double mass = std::clamp(double(s.MassMoment / s.Probability), s.Lightest, s.Heaviest);
            lines.push_back({s.NominalMass, mass, 100 * ratio});
        }
    }
    return lines;
}

std::vector<TIsotopologue> NominalMassDistribution(const TChemicalFormula& formula)
{
    const std::vector<TAtoms> atoms = Resolve(formula);
    if (atoms.empty())
        return {};
    TMassBins all = ElementBins(atoms.front());
    for (size_t i = 1; i < atoms.size(); ++i)
        all = Convolve(all, ElementBins(atoms[i]));
    return all.Isotopologues();
}

TIsotopePattern ComputeIsotopePattern(const TChemicalFormula& formula)
{
    const std::vector<TAtoms> atoms = Resolve(formula);
    TIsotopePattern pattern;
    if (atoms.empty())
        return pattern;
    for (const TAtoms& a : atoms) {
        pattern.AverageMass += double(a.Count) * a.Element->StandardAtomicWeight;
        const auto mostAbundant = std::max_element(a.Element->Isotopes.begin(), a.Element->Isotopes.end(),
                                                   [](const TIsotope& x, const TIsotope& y) { return x.Abundance < y.Abundance; });
        pattern.MonoisotopicMass += double(a.Count) * mostAbundant->Mass;
    }
    const std::vector<TIsotopologue> byNominalMass = IsotopologueBound(atoms) <= kEnumerationBudget
                                                         ? Enumerate(formula, atoms).Isotopologues()
                                                         : NominalMassDistribution(formula);
    pattern.Lines = MergeByNominalMass(byNominalMass);
    return pattern;
}
