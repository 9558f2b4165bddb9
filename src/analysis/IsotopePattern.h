#pragma once
// The isotope pattern of a molecular formula: which molecular masses occur in
// nature and how often, as a low-resolution instrument records them.
//
// Model and assumptions:
// - Isotopes combine independently with their natural abundances (the
//   multinomial distribution over each element's isotopes); the isotope
//   calculator IsoSpec++ enumerates the isotopologues (Lacki et al., Anal.
//   Chem. 89 (2017) 3272).
// - Every isotopologue down to kPatternThreshold of the most probable one is
//   taken; the rest of the distribution is left out.
// - Where there are too many such isotopologues to list them in a moment
//   (many atoms of elements with many isotopes, or a few atoms each of
//   several: Sn40 and SnXeHgMoSmNdTeCd have some five million, Sn100 some
//   hundred million), the distribution over nominal masses is computed
//   directly instead (NominalMassDistribution). It gives the same lines,
//   without the small loss of the left-out isotopologues.
// - Isotopologues are merged by nominal mass, the sum of their atoms' mass
//   numbers (not the rounded exact mass, which for large molecules differs by
//   the mass defect). A merged line keeps the probability-weighted mean of
//   its isotopologues' exact masses.
// - Abundances are in percent of the strongest merged line, as the spectrum
//   library holds them; merged lines below kPatternThreshold of it are
//   dropped.
// - Singly charged molecular ions, no fragments, no electron mass.

#include "analysis/ChemicalFormula.h"

#include <span>
#include <vector>

constexpr double kPatternThreshold = 1e-4; // 0.01 %

// One isotopologue (or several of the same nominal mass).
struct TIsotopologue {
    int NominalMass = 0;
    double ExactMass = 0;   // u
    double Probability = 0; // any positive scale
};

struct TPatternLine {
    int NominalMass = 0;
    double ExactMass = 0; // u, the probability-weighted mean of the merged ones
    double Abundance = 0; // percent of the strongest line
};

struct TIsotopePattern {
    std::vector<TPatternLine> Lines; // by ascending nominal mass
    double AverageMass = 0;          // the standard molecular weight: sum of count * A_r
    double MonoisotopicMass = 0;     // every atom its most abundant isotope
};

// Merges isotopologues by nominal mass and scales them to percent of the
// strongest merged line; lines below `threshold` of it are dropped. Entries
// with a probability that is not a positive finite number are ignored, and
// so are entries whose exact mass is not finite. A threshold above 1 counts
// as 1 (the strongest line stays), a negative or NaN one as 0.
std::vector<TPatternLine> MergeByNominalMass(std::span<const TIsotopologue> isotopologues,
                                             double threshold = kPatternThreshold);

// The distribution over nominal masses without listing isotopologues: each
// element's single-atom distribution over its mass numbers raised to the
// element's count by repeated convolution (multiplying out the polynomial
// (p1 x^A1 + p2 x^A2 + ...)^n), then the elements' distributions convolved.
// Every bin carries its probability and the sum of probability times exact
// mass, so that the mean exact mass survives. Bins below 1e-13 of the
// largest are dropped at the ends after every step. One entry per nominal
// mass, probabilities scaled to 1 for the largest. Throws like
// ComputeIsotopePattern.
std::vector<TIsotopologue> NominalMassDistribution(const TChemicalFormula& formula);

// The pattern of a parsed formula (every element known to the table). An
// empty formula has an empty pattern. Throws std::invalid_argument for a
// formula no parse gives: an unknown symbol, a count below 1, more than
// kMaxFormulaAtoms atoms.
TIsotopePattern ComputeIsotopePattern(const TChemicalFormula& formula);
