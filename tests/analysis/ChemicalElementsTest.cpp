// The element table: finding elements, their isotopes and standard atomic
// weights, checked against published data (CIAAW standard atomic weights
// 2021, Prohaska et al., Pure Appl. Chem. 94 (2022) 573; isotopic
// compositions, Meija et al., Pure Appl. Chem. 88 (2016) 293; atomic masses
// AME2016, Wang et al., Chinese Phys. C 41 (2017) 030003).
#include "analysis/ChemicalElements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QString Q(const char* text)
{
    return QString::fromLatin1(text);
}

struct TElementCase {
    const char* Symbol;
    const char* Name;
    int AtomicNumber;
    std::vector<int> MassNumbers; // the stable (and primordial) isotopes
};

TEST(ChemicalElements, ElementsWithTheirIsotopes)
{
    const TElementCase cases[] = {
        {"H", "hydrogen", 1, {1, 2}},
        {"Be", "beryllium", 4, {9}},
        {"O", "oxygen", 8, {16, 17, 18}},
        {"Cl", "chlorine", 17, {35, 37}},
        {"K", "potassium", 19, {39, 40, 41}},
        {"Sn", "tin", 50, {112, 114, 115, 116, 117, 118, 119, 120, 122, 124}},
        {"Hg", "mercury", 80, {196, 198, 199, 200, 201, 202, 204}},
        {"U", "uranium", 92, {234, 235, 238}},
    };
    for (const TElementCase& c : cases) {
        SCOPED_TRACE(c.Symbol);
        const TChemicalElement* e = FindElement(Q(c.Symbol));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Symbol, Q(c.Symbol));
        EXPECT_EQ(e->Name, Q(c.Name));
        EXPECT_EQ(e->AtomicNumber, c.AtomicNumber);
        std::vector<int> massNumbers;
        for (const TIsotope& iso : e->Isotopes)
            massNumbers.push_back(iso.MassNumber);
        EXPECT_EQ(massNumbers, c.MassNumbers);
    }
}

TEST(ChemicalElements, SymbolsAreCaseSensitiveAndPseudoElementsAreNone)
{
    // The table's entries for an electron (E), a missing electron (Me) and a
    // proton (Pn) describe charges, not elements.
    for (const char* symbol : {"CL", "cl", "c", "", "Xy", "E", "Me", "Pn"})
        EXPECT_EQ(FindElement(Q(symbol)), nullptr) << symbol;
}

TEST(ChemicalElements, ByNameInAnyCaseAndSpelling)
{
    const std::pair<const char*, const char*> found[] = {
        {"Neon", "Ne"},     {"XENON", "Xe"},   {"mercury", "Hg"},  {"Aluminium", "Al"},
        {"aluminum", "Al"}, {"Caesium", "Cs"}, {"cesium", "Cs"},   {"sulfur", "S"},
        {"Sulphur", "S"},   {"tungsten", "W"}, {"Uranium", "U"},
    };
    for (const auto& [name, symbol] : found) {
        const TChemicalElement* e = FindElementByName(Q(name));
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->Symbol, Q(symbol)) << name;
    }
    for (const char* name : {"electron", "missing electron", "protonation", "Ne", "", "neon gas"})
        EXPECT_EQ(FindElementByName(Q(name)), nullptr) << name;
}

// A_r = sum of m_i * x_i over the table's isotopes, against the published
// standard atomic weights. Where CIAAW gives an interval (elements whose
// composition varies in nature) the value must lie in it; otherwise within
// the stated uncertainty.
TEST(ChemicalElements, StandardAtomicWeightsMatchThePublishedOnes)
{
    struct TWeight {
        const char* Symbol;
        double Low, High;
    };
    const TWeight weights[] = {
        {"H", 1.00784, 1.00811},   // interval
        {"C", 12.0096, 12.0116},   // interval
        {"N", 14.00643, 14.00728}, // interval
        {"O", 15.99903, 15.99977}, // interval
        {"S", 32.059, 32.076},     // interval
        {"Cl", 35.446, 35.457},    // interval
        {"Br", 79.901, 79.907},    // interval
        {"Ne", 20.1797 - 0.0006, 20.1797 + 0.0006},
        {"Ar", 39.948 - 0.001, 39.948 + 0.001}, // atmospheric argon, as the table's abundances
        {"Kr", 83.798 - 0.002, 83.798 + 0.002},
        {"Xe", 131.293 - 0.006, 131.293 + 0.006},
        {"Sn", 118.710 - 0.007, 118.710 + 0.007},
        // CIAAW gives 200.592(3), but the representative isotopic composition
        // (x = 0.0015, 0.0997, 0.1687, 0.2310, 0.1318, 0.2986, 0.0687 for
        // 196..204Hg, masses from AME2016) weighs 195.965833 * 0.0015 + ... +
        // 203.973494 * 0.0687 = 200.5992: the composition and the standard
        // weight were evaluated from different measurements. The table holds
        // that composition, so the weight follows it to the abundances'
        // last digit (7 isotopes * 4 u * 0.00005 = 0.0014).
        {"Hg", 200.5992 - 0.0015, 200.5992 + 0.0015},
    };
    for (const TWeight& w : weights) {
        const TChemicalElement* e = FindElement(Q(w.Symbol));
        ASSERT_NE(e, nullptr) << w.Symbol;
        EXPECT_GE(e->StandardAtomicWeight, w.Low) << w.Symbol;
        EXPECT_LE(e->StandardAtomicWeight, w.High) << w.Symbol;
    }
}

TEST(ChemicalElements, EveryElementIsAConsistentEntry)
{
    const std::vector<TChemicalElement>& all = ChemicalElements();
    ASSERT_FALSE(all.empty());
    int previousZ = 0;
    for (const TChemicalElement& e : all) {
        SCOPED_TRACE(e.Symbol.toStdString());
        EXPECT_GT(e.AtomicNumber, previousZ); // ascending, each once
        previousZ = e.AtomicNumber;
        EXPECT_EQ(FindElement(e.Symbol), &e);
        EXPECT_EQ(FindElementByName(e.Name), &e);
        ASSERT_FALSE(e.Isotopes.empty());
        double sum = 0;
        for (size_t i = 0; i < e.Isotopes.size(); ++i) {
            const TIsotope& iso = e.Isotopes[i];
            sum += iso.Abundance;
            EXPECT_GT(iso.Abundance, 0);
            // No stable nuclide's mass lies as much as 0.1 u from its mass number.
            EXPECT_LT(std::fabs(iso.Mass - iso.MassNumber), 0.1) << iso.MassNumber;
            if (i > 0) {
                EXPECT_GT(iso.MassNumber, e.Isotopes[i - 1].MassNumber);
            }
        }
        EXPECT_NEAR(sum, 1.0, 1e-12);
        EXPECT_GE(e.StandardAtomicWeight, e.Isotopes.front().Mass);
        EXPECT_LE(e.StandardAtomicWeight, e.Isotopes.back().Mass);
    }
    // Hydrogen to lead has 80 elements with stable isotopes (no Tc, no Pm);
    // with Bi, Th and U, whose isotopes outlive the Earth, and Pa, which the
    // decay of uranium keeps in nature, there are 84.
    EXPECT_EQ(all.size(), 84u);
}

TEST(ChemicalElements, IsotopeMassOfARecordedNominalMass)
{
    const TChemicalElement& cl = *FindElement(Q("Cl"));
    const TChemicalElement& ne = *FindElement(Q("Ne"));
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct TCase {
        const TChemicalElement* Element;
        double Nominal;
        std::optional<double> Mass; // AME2016
    };
    const TCase cases[] = {
        {&cl, 35.0, 34.968852682},
        {&cl, 36.8, 36.965902602}, // within 0.25 of 37
        {&cl, 35.3, std::nullopt}, // too far from 35
        {&cl, 36.0, std::nullopt}, // no 36Cl in nature
        {&ne, 21.0, 20.993846685},
        {&ne, -20.0, std::nullopt},
        {&ne, nan, std::nullopt},
        {&ne, inf, std::nullopt},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Nominal);
        const std::optional<double> m = IsotopeMass(*c.Element, c.Nominal);
        ASSERT_EQ(m.has_value(), c.Mass.has_value());
        if (m) {
            EXPECT_NEAR(*m, *c.Mass, 2e-6); // the table's masses differ from AME2016 by parts of 1e-6 u
        }
    }
}

} // namespace
