// Isotope patterns against values worked out by hand from the published
// isotopic compositions (Meija et al., Pure Appl. Chem. 88 (2016) 293:
// 1H 0.999885, 2H 0.000115; 12C 0.9893, 13C 0.0107; 16O 0.99757,
// 17O 0.00038, 18O 0.00205; 35Cl 0.7576, 37Cl 0.2424; 79Br 0.5069,
// 81Br 0.4931) and atomic masses (AME2016: 1H 1.00782503223,
// 2H 2.01410177812, 13C 13.00335483507, 16O 15.99491461957,
// 17O 16.99913175650, 18O 17.99915961286, 35Cl 34.968852682,
// 37Cl 36.965902602, 79Br 78.9183376, 81Br 80.9162897, 120Sn 119.902202).
//
// Ratios that recur: q_C = 0.0107 / 0.9893 = 0.0108157 (13C per 12C) and
// q_H = 0.000115 / 0.999885 = 0.000115013 (2H per 1H). The 13C fraction of
// natural carbon varies: the Vienna PDB reference has 0.011078 (q_C =
// 0.0112021), so carbon-rich lines are checked between the two.
#include "analysis/IsotopePattern.h"

#include "analysis/ChemicalElements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QString Q(const char* text)
{
    return QString::fromLatin1(text);
}

TIsotopePattern PatternOf(const char* formula)
{
    return ComputeIsotopePattern(ParseChemicalFormula(Q(formula)));
}

const TPatternLine* LineAt(const std::vector<TPatternLine>& lines, int nominalMass)
{
    for (const TPatternLine& l : lines)
        if (l.NominalMass == nominalMass)
            return &l;
    return nullptr;
}

std::vector<int> NominalMasses(const std::vector<TPatternLine>& lines)
{
    std::vector<int> masses;
    for (const TPatternLine& l : lines)
        masses.push_back(l.NominalMass);
    return masses;
}

struct TLineCase {
    const char* Formula;
    int NominalMass;
    double Abundance, Tolerance; // percent of the strongest line
    double ExactMass;            // u; 0: not checked
};

TEST(IsotopePattern, SmallMoleculesFromTheAbundances)
{
    // Cl2: the two atoms independent, P(70) : P(72) : P(74) = x35^2 : 2 x35 x37 : x37^2
    // = 1 : 2r : r^2 with r = 0.2424 / 0.7576 = 0.319958, so 100 : 63.9916 : 10.2373.
    // The fractions' last digit (+-0.00005) moves r by 0.00005 * (1/0.7576 +
    // 1/0.2424) = 2.7e-4 of itself: +-0.017 and +-0.006.
    // Masses 2 * 34.968852682 = 69.937705364, 35 + 37: 71.934755284, 73.931805204.
    //
    // H2O: M+1 (19) = H2 17O or HDO: x17/x16 + 2 q_H = 0.00038/0.99757 + 0.000230026
    // = 0.000609 → 0.0611 %; M+2 (20) = H2 18O: 0.00205/0.99757 → 0.2055 %
    // (D2O and HD17O lie below 1e-4 of H2O and are left out). Tolerance 0.001 %
    // for the fractions' last digits. Masses: 2 * 1.00782503223 + 15.99491461957
    // = 18.01056468; 20: 2 * 1.00782503 + 17.99915961 = 20.01480968; 19 is the
    // mean of H2 17O (19.01478182, weight 0.000380926) and HDO (19.01684143,
    // weight 0.000230026): 19.01555727.
    //
    // CH3Br: 96 / 94 = x81 / x79 = 0.4931 / 0.5069 = 0.972776 (+-2e-4 relative
    // from the last digits). The other ways to 96, 13C 2H and 2H2 with 79Br,
    // add (3 q_C q_H + 3 q_H^2) * x79/x81 = 3.9e-6 relative: nothing. So 97.278
    // +-0.03. Masses 12 + 3 * 1.00782503223 + 78.9183376 = 93.9418127 and
    // + 80.9162897: 95.9397648. M+1 (95) = q_C + 3 q_H = 1.1161 % (1.1547 % for
    // the PDB carbon).
    //
    // C6H6: M+1 (79) is one 13C among six or one 2H among six: 6 q_C + 6 q_H
    // = 0.0648944 + 0.0006901 = 6.558 %; with the PDB carbon 6 * 0.0112021 +
    // 0.0006901 = 6.790 %.
    const TLineCase cases[] = {
        {"Cl2", 70, 100, 0, 69.937705364},
        {"Cl2", 72, 63.9916, 0.02, 71.934755284},
        {"Cl2", 74, 10.2373, 0.007, 73.931805204},
        {"H2O", 18, 100, 0, 18.01056468},
        {"H2O", 19, 0.0611, 0.001, 19.01555727},
        {"H2O", 20, 0.2055, 0.001, 20.01480968},
        {"CH3Br", 94, 100, 0, 93.9418127},
        {"CH3Br", 95, (1.1161 + 1.1547) / 2, (1.1547 - 1.1161) / 2 + 0.002, 0},
        {"CH3Br", 96, 97.278, 0.03, 95.9397648},
        {"C6H6", 78, 100, 0, 78.0469502},
        {"C6H6", 79, (6.558 + 6.790) / 2, (6.790 - 6.558) / 2 + 0.005, 0},
    };
    for (const TLineCase& c : cases) {
        SCOPED_TRACE(std::string(c.Formula) + " at " + std::to_string(c.NominalMass));
        const TIsotopePattern p = PatternOf(c.Formula);
        const TPatternLine* line = LineAt(p.Lines, c.NominalMass);
        ASSERT_NE(line, nullptr);
        EXPECT_NEAR(line->Abundance, c.Abundance, c.Tolerance);
        if (c.ExactMass != 0) {
            EXPECT_NEAR(line->ExactMass, c.ExactMass, 1e-5);
        }
    }
    // Nothing else reaches 0.01 %: Cl2 has no odd masses; the next lines of
    // the others (H2O 21, CH3Br 98, C6H6 81) lie near 1e-5 and below.
    EXPECT_EQ(NominalMasses(PatternOf("Cl2").Lines), (std::vector<int>{70, 72, 74}));
    EXPECT_EQ(NominalMasses(PatternOf("H2O").Lines), (std::vector<int>{18, 19, 20}));
    EXPECT_EQ(NominalMasses(PatternOf("CH3Br").Lines), (std::vector<int>{94, 95, 96, 97}));
    EXPECT_EQ(NominalMasses(PatternOf("C6H6").Lines), (std::vector<int>{78, 79, 80}));
}

TEST(IsotopePattern, ThousandCarbonAtomsFollowTheBinomial)
{
    // C1000: the number k of 13C atoms is binomial(1000, p), p = 0.0107. The
    // mode of a binomial is floor((n + 1) p) = floor(10.71) = 10, so the
    // strongest line is M+10, though the mean is 10.7 (it stays M+10 for any
    // p below 0.01099; the PDB carbon, 0.011078, would make it M+11). M+11
    // follows at 100 R(10) = 100 * 990/11 * q_C = 97.34 %.
    // Consecutive lines stand in the ratio R(k) = P(k+1)/P(k) = (n-k)/(k+1) q,
    // so R(k) / R(k-1) = k (n-k) / ((k+1) (n-k+1)) whatever the abundance.
    // Line k lies at 12000 + k * (13.00335483507 - 12).
    const TIsotopePattern p = PatternOf("C1000");
    const int n = 1000;
    std::vector<double> a(60, 0.0);
    for (const TPatternLine& l : p.Lines) {
        const int k = l.NominalMass - 12000;
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 60);
        a[size_t(k)] = l.Abundance;
        EXPECT_NEAR(l.ExactMass, 12000 + k * 1.00335483507, 1e-6) << k;
    }
    const auto strongest = std::max_element(p.Lines.begin(), p.Lines.end(),
                                            [](const TPatternLine& x, const TPatternLine& y) { return x.Abundance < y.Abundance; });
    EXPECT_EQ(strongest->NominalMass, 12010);
    EXPECT_EQ(strongest->Abundance, 100);
    EXPECT_GT(a[11], 97.34 - 0.1);
    EXPECT_LT(a[11], 100);
    // The binomial's shape over all lines from M+1 to M+24 (down to 0.15 %).
    for (int k = 2; k <= 23; ++k) {
        const double measured = (a[k + 1] / a[k]) / (a[k] / a[k - 1]);
        const double binomial = double(k) * (n - k) / (double(k + 1) * (n - k + 1));
        EXPECT_NEAR(measured, binomial, 1e-9 * binomial) << k;
    }
    // And q itself, from R(10) = 990/11 q, within the published range
    // (0.0107 ± 0.0008) / (1 - 0.0107).
    const double q = a[11] / a[10] * 11.0 / 990.0;
    EXPECT_GT(q, 0.0099 / 0.9901);
    EXPECT_LT(q, 0.0115 / 0.9885);
    // M+0 stands at P(0) / P(10) = 0.9893^1000 / (C(1000,10) 0.0107^10
    // 0.9893^990) = 1 / (C(1000,10) q_C^10) = 1.7e-4, just above the
    // threshold; the lines beyond M+28 are far below it.
    EXPECT_EQ(p.Lines.front().NominalMass, 12000);
    EXPECT_LT(p.Lines.back().NominalMass, 12000 + 30);
}

TEST(IsotopePattern, NominalMassIsTheSumOfMassNumbers)
{
    // C100H202: 202 hydrogen atoms carry a mass defect of 202 * 0.00782503
    // = 1.5807 u, so the lightest molecule, nominally 1200 + 202 = 1402, has
    // the exact mass 1200 + 202 * 1.00782503223 = 1403.5806565 and would round
    // to 1404. M+1 / M = 100 q_C + 202 q_H = 1.08157 + 0.02323 = 1.1048
    // (PDB carbon: 1.1434), so M+1 is the strongest line and M stands at
    // 100 / 1.1048 = 90.51 % (87.46 %).
    const TIsotopePattern p = PatternOf("C100H202");
    ASSERT_FALSE(p.Lines.empty());
    EXPECT_EQ(p.Lines[0].NominalMass, 1402);
    EXPECT_NEAR(p.Lines[0].ExactMass, 1403.5806565, 1e-5);
    EXPECT_EQ(p.Lines[1].NominalMass, 1403);
    EXPECT_EQ(p.Lines[1].Abundance, 100);
    EXPECT_GE(p.Lines[0].Abundance, 87.46 - 0.05);
    EXPECT_LE(p.Lines[0].Abundance, 90.51 + 0.05);
    EXPECT_NEAR(p.MonoisotopicMass, 1403.5806565, 1e-5);
}

TEST(IsotopePattern, AverageAndMonoisotopicMass)
{
    // Average: sum of count * A_r over the CIAAW intervals (H [1.00784,
    // 1.00811], C [12.0096, 12.0116], O [15.99903, 15.99977], Cl [35.446,
    // 35.457]). Monoisotopic: every atom its most abundant isotope, which for
    // tin is 120Sn (x = 0.3258), neither the lightest nor the heaviest.
    struct TCase {
        const char* Formula;
        double AverageLow, AverageHigh;
        double Monoisotopic;
    };
    const TCase cases[] = {
        // 2 * 1.00784 + 15.99903 .. 2 * 1.00811 + 15.99977; 2 * 1.00782503223 + 15.99491461957
        {"H2O", 18.01471, 18.01599, 18.0105647},
        // 6 * (12.0096 + 1.00784) .. 6 * (12.0116 + 1.00811); 72 + 6 * 1.00782503223
        {"C6H6", 78.10464, 78.11826, 78.0469502},
        // 2 * 35.446 .. 2 * 35.457; 2 * 34.968852682
        {"Cl2", 70.892, 70.914, 69.9377054},
        // 118.710 ± 0.007 + 4 * Cl; 119.902202 + 4 * 34.968852682
        {"SnCl4", 118.703 + 4 * 35.446, 118.717 + 4 * 35.457, 259.777613},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Formula);
        const TIsotopePattern p = PatternOf(c.Formula);
        EXPECT_GE(p.AverageMass, c.AverageLow);
        EXPECT_LE(p.AverageMass, c.AverageHigh);
        EXPECT_NEAR(p.MonoisotopicMass, c.Monoisotopic, 2e-6);
    }
}

// The mean and spread of a pattern's nominal masses, and its mean exact mass.
struct TMoments {
    double MeanExact = 0, MeanNominal = 0, SigmaNominal = 0;
};

TMoments MomentsOf(const std::vector<TPatternLine>& lines)
{
    double sum = 0, exact = 0, nominal = 0, square = 0;
    for (const TPatternLine& l : lines) {
        sum += l.Abundance;
        exact += l.Abundance * l.ExactMass;
        nominal += l.Abundance * l.NominalMass;
    }
    TMoments m{exact / sum, nominal / sum, 0};
    for (const TPatternLine& l : lines)
        square += l.Abundance * (l.NominalMass - m.MeanNominal) * (l.NominalMass - m.MeanNominal);
    m.SigmaNominal = std::sqrt(square / sum);
    return m;
}

TEST(IsotopePattern, ManyAtomsOfElementsWithManyIsotopes)
{
    // Sn1000 has far too many isotopologues to list (trillions above the
    // threshold); its pattern comes from the direct computation.
    // Tin's composition (112..124: 0.0097, 0.0066, 0.0034, 0.1454, 0.0768,
    // 0.2422, 0.0859, 0.3258, 0.0463, 0.0579) has the mean mass number
    // sum A x = 118.8077 and variance sum (A - 118.8077)^2 x = 4.7057, so the
    // nominal masses of 1000 atoms have mean 118807.7 and spread
    // sqrt(1000 * 4.7057) = 68.60; the mean exact mass is 1000 * A_r(Sn) =
    // 118710 ± 7 (CIAAW 118.710(7)). The lines below 0.01 % left out trim the
    // spread by well under 1 %.
    const TIsotopePattern sn = PatternOf("Sn1000");
    const TMoments m = MomentsOf(sn.Lines);
    EXPECT_NEAR(m.MeanExact, 118710, 7);
    EXPECT_NEAR(m.MeanNominal, 118807.7, 0.5);
    EXPECT_NEAR(m.SigmaNominal, 68.60, 0.7);
    for (size_t i = 1; i < sn.Lines.size(); ++i)
        EXPECT_EQ(sn.Lines[i].NominalMass, sn.Lines[i - 1].NominalMass + 1);

    // The most atoms a formula may hold, of the element whose mass numbers
    // spread the most (samarium, 144..154): 10000 * A_r(Sm) = 1503600 ± 200
    // (CIAAW 150.36(2)).
    const TIsotopePattern sm = PatternOf("Sm10000");
    EXPECT_NEAR(MomentsOf(sm.Lines).MeanExact, 1503600, 200);
}

TEST(IsotopePattern, ListingAndDirectComputationAgree)
{
    // Two independent ways to the same lines: the calculator's isotopologues
    // summed by nominal mass, and the convolution of the elements' isotope
    // distributions. The listing leaves out the isotopologues below 0.01 % of
    // the most probable one, which can take up to a few tenths of a percent
    // from a line of a formula with many isotopes (Sn2Xe2Hg2).
    struct TCase {
        const char* Formula;
        double Tolerance; // percent of the strongest line
    };
    const TCase cases[] = {
        {"Cl2", 1e-9}, {"C1000", 1e-6}, {"CH3Br", 0.001}, {"C100H202", 0.01}, {"SnCl4", 0.01},
        {"HgCl2", 0.01}, {"C5000H5000", 0.01}, {"Sn2Xe2Hg2", 0.15},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Formula);
        const TChemicalFormula f = ParseChemicalFormula(Q(c.Formula));
        const std::vector<TPatternLine> listed = ComputeIsotopePattern(f).Lines;
        const std::vector<TPatternLine> direct = MergeByNominalMass(NominalMassDistribution(f));
        for (const TPatternLine& d : direct) {
            const TPatternLine* l = LineAt(listed, d.NominalMass);
            if (!l) {
                EXPECT_LT(d.Abundance, 0.05) << d.NominalMass; // only lines at the edge may be missing
                continue;
            }
            EXPECT_NEAR(l->Abundance, d.Abundance, c.Tolerance) << d.NominalMass;
            EXPECT_NEAR(l->ExactMass, d.ExactMass, 2e-3) << d.NominalMass;
        }
        EXPECT_LE(listed.size(), direct.size());
    }
}

TEST(IsotopePattern, FormulasNoParseGivesAreRefused)
{
    EXPECT_TRUE(ComputeIsotopePattern(TChemicalFormula{}).Lines.empty());
    const TChemicalFormula bad[] = {
        {{{Q("Xy"), 1}}},
        {{{Q("E"), 1}}},
        {{{Q("C"), 0}}},
        {{{Q("C"), -3}}},
        {{{Q("C"), 6000}, {Q("H"), 6000}}},
    };
    for (const TChemicalFormula& f : bad) {
        EXPECT_THROW(ComputeIsotopePattern(f), std::invalid_argument) << f.Text(true).toStdString();
        EXPECT_THROW(NominalMassDistribution(f), std::invalid_argument) << f.Text(true).toStdString();
    }
}

// MergeByNominalMass on its own.

TEST(MergeByNominalMass, MergesScalesAndSorts)
{
    // Given out of order. 19 merges two entries: probability 0.0004 + 0.0002
    // = 0.0006, mass (19.0148 * 4 + 19.0168 * 2) / 6 = 19.0154667. The
    // strongest merged line is 18 (0.997): 19 stands at 0.0006 / 0.997 =
    // 0.0601805 %, 20 at 0.002 / 0.997 = 0.200602 %.
    const TIsotopologue in[] = {
        {20, 20.0148, 0.002},
        {19, 19.0148, 0.0004},
        {18, 18.0106, 0.997},
        {19, 19.0168, 0.0002},
    };
    const std::vector<TPatternLine> lines = MergeByNominalMass(in);
    ASSERT_EQ(NominalMasses(lines), (std::vector<int>{18, 19, 20}));
    EXPECT_EQ(lines[0].Abundance, 100);
    EXPECT_EQ(lines[0].ExactMass, 18.0106);
    EXPECT_NEAR(lines[1].Abundance, 0.0601805, 1e-7);
    EXPECT_NEAR(lines[1].ExactMass, 19.0154667, 1e-7);
    EXPECT_NEAR(lines[2].Abundance, 0.200602, 1e-6);

    // The strongest merged line, not the strongest entry, is 100: three at 10
    // outweigh one larger at 11, 0.9 against 0.5, so 11 stands at 55.5556 %.
    const TIsotopologue crowd[] = {{10, 10.0, 0.3}, {11, 11.0, 0.5}, {10, 10.1, 0.3}, {10, 10.2, 0.3}};
    const std::vector<TPatternLine> merged = MergeByNominalMass(crowd);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].Abundance, 100);
    EXPECT_NEAR(merged[0].ExactMass, 10.1, 1e-12);
    EXPECT_NEAR(merged[1].Abundance, 100 * 0.5 / 0.9, 1e-9);
}

TEST(MergeByNominalMass, IgnoresWhatIsNoProbabilityOrNoMass)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(MergeByNominalMass({}).empty());
    const TIsotopologue none[] = {{1, 1.0, 0}, {2, 2.0, -1}, {3, 3.0, nan}, {4, 4.0, inf}, {5, nan, 1}, {6, inf, 1}};
    EXPECT_TRUE(MergeByNominalMass(none).empty());
    // The same among good entries change nothing: 7 at 100, 8 at 50.
    const TIsotopologue mixed[] = {{7, 7.0, 2}, {8, 8.0, 1}, {7, 7.5, 0}, {7, 7.5, -inf}, {8, 9.0, nan}, {8, nan, 5}, {7, 7.5, inf}};
    const std::vector<TPatternLine> lines = MergeByNominalMass(mixed);
    ASSERT_EQ(NominalMasses(lines), (std::vector<int>{7, 8}));
    EXPECT_EQ(lines[0].ExactMass, 7.0);
    EXPECT_EQ(lines[1].ExactMass, 8.0);
    EXPECT_EQ(lines[1].Abundance, 50);
}

TEST(MergeByNominalMass, AnyScaleOfProbabilities)
{
    // Sums near the largest double and ratios of subnormal ones: 100 and 50
    // either way (no overflow to infinity, no loss to zero).
    const double big = std::numeric_limits<double>::max();
    const TIsotopologue huge[] = {{1, 1.0, big}, {1, 1.0, big}, {2, 2.0, big}};
    const double tiny = std::numeric_limits<double>::denorm_min() * 1000;
    const TIsotopologue small[] = {{1, 1.0, tiny}, {1, 1.0, tiny}, {2, 2.0, tiny}};
    for (const auto& in : {std::span<const TIsotopologue>(huge), std::span<const TIsotopologue>(small)}) {
        const std::vector<TPatternLine> lines = MergeByNominalMass(in);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].Abundance, 100);
        EXPECT_EQ(lines[0].ExactMass, 1.0);
        EXPECT_DOUBLE_EQ(lines[1].Abundance, 50);
    }
}

TEST(MergeByNominalMass, Threshold)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    // Relative probabilities 1, 1e-4 (exactly at the default threshold: kept)
    // and 0.99e-4 (below: dropped).
    const TIsotopologue in[] = {{100, 100.0, 1}, {101, 101.0, 1e-4}, {102, 102.0, 0.99e-4}};
    struct TCase {
        double Threshold;
        std::vector<int> Kept;
    };
    const TCase cases[] = {
        {kPatternThreshold, {100, 101}},
        {0.5e-4, {100, 101, 102}},
        {0, {100, 101, 102}},
        {-1, {100, 101, 102}},
        {nan, {100, 101, 102}},
        {1, {100}},
        {5, {100}}, // the strongest line always stays
    };
    for (const TCase& c : cases)
        EXPECT_EQ(NominalMasses(MergeByNominalMass(in, c.Threshold)), c.Kept) << c.Threshold;
    EXPECT_EQ(NominalMasses(MergeByNominalMass(in)), (std::vector<int>{100, 101}));
}

} // namespace
