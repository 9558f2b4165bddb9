// The mean mass of a recorded spectrum: what a substance is made of, judged
// by its name, and the mean of a real field scan over the shipped element
// spectra set beside the standard atomic weights.
#include "app/FieldScan.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "app/SubstanceMass.h"

#include <gtest/gtest.h>

namespace {

// The substance of the shipped library whose name begins with `prefix`.
std::optional<TSubstance> Shipped(const QString& prefix)
{
    static TSpectrumLibrary library;
    if (!library.IsOpen() && !library.Open(QStringLiteral(IONPATH_SHIPPED_LIBRARY)))
        return std::nullopt;
    for (const QString& name : library.SubstanceNames())
        if (name.startsWith(prefix))
            return LoadSubstance(library, name);
    return std::nullopt;
}

} // namespace

TEST(SubstanceMass, CompositionFromTheName)
{
    struct Row {
        const char* name;
        const char* element;  // symbol, or nullptr
        const char* formula;  // Text(), or nullptr
        int patternLines;
    };
    const Row rows[] = {
        {"Neon (natural isotopes)", "Ne", nullptr, 0},
        {"xenon (natural isotopes) (by hand)", "Xe", nullptr, 0},
        {"Benzene", nullptr, nullptr, 0},
        {"Neon gas (natural isotopes)", nullptr, nullptr, 0},
        // CH3Cl: 12C/13C and 35Cl/37Cl give 50 to 53; 54 needs a deuterium
        // besides 13C and 37Cl and stays far below 0.01 % of 50
        {"CH3Cl (isotope pattern)", nullptr, "CH3Cl", 4},
        // one atom of one element is still a formula's pattern: 35 and 37
        {"Cl (isotope pattern)", nullptr, "Cl", 2},
        {"CH3(CH2)2OH (isotope pattern)", nullptr, "C3H8O", -1},
        // a pattern record whose formula cannot be read
        {"Xy2 (isotope pattern)", nullptr, nullptr, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const TSubstanceComposition c = CompositionOf(QString::fromUtf8(r.name));
        if (r.element) {
            ASSERT_NE(c.Element, nullptr);
            EXPECT_EQ(c.Element->Symbol.toStdString(), r.element);
        } else {
            EXPECT_EQ(c.Element, nullptr);
        }
        EXPECT_EQ(bool(c.Formula), r.formula != nullptr);
        EXPECT_EQ(bool(c.Pattern), r.formula != nullptr);
        if (r.formula && c.Formula && c.Pattern) {
            EXPECT_EQ(c.Formula->Text().toStdString(), r.formula);
            if (r.patternLines >= 0) {
                EXPECT_EQ(int(c.Pattern->Lines.size()), r.patternLines);
            }
        }
    }
}

// Formulas, with the isotopes by hand: 35Cl 34.96885273 u, 37Cl
// 36.96590264 u, amount fractions 0.757595 and 0.242405, so
// A_r(Cl) = 34.96885273 * 0.757595 + 36.96590264 * 0.242405 = 35.45295.
// Lines recorded in the ratio 100 : 31.997 (= 0.242405 / 0.757595) give the
// same mean. Cl2 at 70, 72, 74 in the ratio 1 : 2r : r^2 (r = 0.319967) has
// the mean 2 * 35.45295 = 70.9059; at charge 2 the same ions stand at m/z
// 35, 36 and 37.
TEST(SubstanceMass, MeanMassOfAFormulasPattern)
{
    const double r = 0.242405 / 0.757595;
    const std::vector<TSpectralLine> cl2 = {{70, 100}, {72, 200 * r}, {74, 100 * r * r}};
    const std::vector<TSpectralLine> cl2AtCharge2 = {{35, 100}, {36, 200 * r}, {37, 100 * r * r}};
    struct Row {
        const char* name;
        std::vector<TSpectralLine> sticks;
        int charge;
        double mean, standard;
        bool element;
        double firstMass; // 35Cl; 35Cl2 = 2 * 34.96885273 = 69.93770546
    };
    const Row rows[] = {
        {"Cl (isotope pattern)", {{35, 100}, {37, 100 * r}}, 1, 35.45295, 35.45295, true, 34.96885273},
        {"Cl2 (isotope pattern)", cl2, 1, 70.9059, 70.9059, false, 69.93770546},
        {"Cl2 (isotope pattern)", cl2AtCharge2, 2, 70.9059, 70.9059, false, 69.93770546},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " z=" + std::to_string(row.charge));
        const TSubstanceMeanMass m = MeanMassOf(QString::fromUtf8(row.name), row.sticks, row.charge);
        EXPECT_NEAR(m.Mean.Mean, row.mean, 2e-4);
        ASSERT_TRUE(m.StandardWeight);
        EXPECT_NEAR(*m.StandardWeight, row.standard, 2e-4);
        EXPECT_EQ(m.Element, row.element);
        ASSERT_EQ(m.Mean.Rows.size(), row.sticks.size());
        // the exact masses took the place of the nominal ones
        EXPECT_NEAR(m.Mean.Rows.front().Mass, row.firstMass, 1e-6);
    }
    // A recorded mass the pattern has no line for keeps its own value; a
    // substance of unknown composition has no standard weight.
    const TSubstanceMeanMass odd = MeanMassOf(QStringLiteral("Cl2 (isotope pattern)"), {{71, 50}, {70, 50}});
    ASSERT_EQ(odd.Mean.Rows.size(), 2u);
    EXPECT_EQ(odd.Mean.Rows[1].Mass, 71);
    EXPECT_NEAR(odd.Mean.Mean, (69.937705 + 71) / 2, 1e-5);
    const TSubstanceMeanMass benzene = MeanMassOf(QStringLiteral("Benzene"), {{78, 100}, {77, 25}});
    EXPECT_FALSE(benzene.StandardWeight);
    EXPECT_FALSE(benzene.Element);
    EXPECT_NEAR(benzene.Mean.Mean, (78 * 100 + 77 * 25) / 125.0, 1e-9); // 77.8
}

// A whole field scan over the shipped element spectra, as a class records
// it: the mean of the recorded isotopes is the standard atomic weight
// (IUPAC: Ne 20.1797, Ar 39.948, Kr 83.798, Xe 131.293, Hg 200.592) to the
// two decimals the recorded abundances carry. Mercury's lines (196 to 204)
// lie above the 171.5 u that 500 mT can focus at 5000 V, so it is scanned at
// 4000 V (up to 214 u).
TEST(SubstanceMass, AFieldScanOfTheShippedElementsGivesTheirAtomicWeights)
{
    struct Row {
        const char* prefix;
        int voltage;
        int charge;
        size_t isotopes;
        double mean;
    };
    const Row rows[] = {
        {"Neon (", 5000, 1, 3, 20.18},    {"Argon (", 5000, 1, 3, 39.95},   {"Krypton (", 5000, 1, 6, 83.80},
        {"Xenon (", 5000, 1, 9, 131.29},  {"Mercury (", 4000, 1, 7, 200.59},
        // doubly charged xenon at m/z 62 to 68: the same isotopes, the same mean
        {"Xenon (", 5000, 2, 9, 131.29},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.prefix) + " z=" + std::to_string(r.charge));
        const std::optional<TSubstance> s = Shipped(QString::fromLatin1(r.prefix));
        ASSERT_TRUE(s);
        TFieldScan scan(LinesAtCharge(s->Lines, r.charge), r.voltage, kFieldMinimum);
        scan.Run();
        const TSubstanceMeanMass m = MeanMassOf(s->Name, scan.Sticks(), r.charge);
        EXPECT_EQ(m.Mean.Rows.size(), r.isotopes) << "every isotope is recorded once";
        EXPECT_NEAR(m.Mean.Mean, r.mean, 0.005);
        ASSERT_TRUE(m.StandardWeight);
        EXPECT_NEAR(*m.StandardWeight, r.mean, 0.01);
        EXPECT_TRUE(m.Element);
    }
    // At 5000 V no mercury line reaches the detector: nothing to average.
    const std::optional<TSubstance> hg = Shipped(QStringLiteral("Mercury ("));
    ASSERT_TRUE(hg);
    TFieldScan scan(hg->Lines, 5000, kFieldMinimum);
    scan.Run();
    EXPECT_TRUE(scan.Sticks().empty());
    EXPECT_EQ(MeanMassOf(hg->Name, scan.Sticks()).Mean.Rows.size(), 0u);
}
