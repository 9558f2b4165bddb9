// A formula's isotope pattern as a substance: its library record, and the
// substance the model gets, which must be the one the user library gives
// back once the record is added there.
#include "app/IsotopePatternSubstance.h"
#include "app/SpectrumLibrary.h"
#include "app/SubstanceMass.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(IsotopePatternSubstance, TheRecordOfAFormula)
{
    struct Row {
        const char* typed;
        const char* name;
        const char* firstNote; // its beginning
        const char* lastNote;
        std::vector<double> masses;
    };
    const Row rows[] = {
        // 35Cl2, 35Cl37Cl, 37Cl2
        {"Cl2", "Cl2 (isotope pattern)", "Cl2, computed isotope pattern of the molecular ion (singly charged), no fragments",
         "3 lines, m/z 70 to 74; columns: mass, abundance in % of the base peak", {70, 72, 74}},
        // blanks go; the formula as typed stays, its plain form follows
        {" CH3 Cl ", "CH3Cl (isotope pattern)", "CH3Cl, computed",
         "4 lines, m/z 50 to 53; columns: mass, abundance in % of the base peak", {50, 51, 52, 53}},
        {"CH3(CH2)2OH", "CH3(CH2)2OH (isotope pattern)", "CH3(CH2)2OH (C3H8O), computed", nullptr, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        const QString typed = QString::fromLatin1(r.typed);
        const TChemicalFormula formula = ParseChemicalFormula(typed);
        const TIsotopePattern pattern = ComputeIsotopePattern(formula);
        const TLibraryRecord record = IsotopePatternRecord(typed, formula, pattern);
        EXPECT_EQ(record.Name.toStdString(), r.name);
        EXPECT_EQ(record.Name, IsotopePatternName(typed));
        EXPECT_TRUE(record.Credit.contains(QStringLiteral("isotope calculator")));
        ASSERT_EQ(record.Notes.size(), 3);
        EXPECT_TRUE(record.Notes[0].startsWith(QString::fromLatin1(r.firstNote))) << record.Notes[0].toStdString();
        EXPECT_EQ(record.Notes[1], QStringLiteral("Every isotopologue down to 0.01 % of the strongest, merged to nominal masses"));
        if (r.lastNote) {
            EXPECT_EQ(record.Notes[2].toStdString(), r.lastNote);
        }
        ASSERT_EQ(record.Lines.size(), pattern.Lines.size());
        for (size_t i = 0; i < record.Lines.size(); ++i) {
            EXPECT_EQ(record.Lines[i].Mass, pattern.Lines[i].NominalMass);
            EXPECT_EQ(record.Lines[i].Abundance, pattern.Lines[i].Abundance);
            if (i < r.masses.size()) {
                EXPECT_EQ(record.Lines[i].Mass, r.masses[i]);
            }
        }
        // The record goes into the library as it is.
        EXPECT_NO_THROW(FormatLibraryRecord(record));
    }
}

// A pattern of 600 lines, mass i with abundance i / 6 (so the strongest
// is 100): the library keeps 500 of a substance, the strongest, masses 101
// to 600, in the order of mass, and the notes say so.
TEST(IsotopePatternSubstance, APatternOfMoreLinesThanTheLibraryKeepsItsStrongest)
{
    TIsotopePattern pattern;
    for (int mass = 600; mass >= 1; mass -= 2) // even masses first, to see the order restored
        pattern.Lines.push_back({mass, double(mass), mass / 6.0});
    for (int mass = 599; mass >= 1; mass -= 2)
        pattern.Lines.push_back({mass, double(mass), mass / 6.0});
    const TLibraryRecord record = IsotopePatternRecord(QStringLiteral("X"), ParseChemicalFormula(QStringLiteral("C")), pattern);
    ASSERT_EQ(record.Lines.size(), size_t(TSpectrumLibrary::kMaxLines));
    for (size_t i = 0; i < record.Lines.size(); ++i)
        ASSERT_EQ(record.Lines[i].Mass, 101 + double(i));
    EXPECT_EQ(record.Notes[2].toStdString(),
              "The strongest 500 of 600 lines, m/z 101 to 600; columns: mass, abundance in % of the base peak");
    EXPECT_NO_THROW(FormatLibraryRecord(record));
}

// Cl2 by hand (r = x(37Cl) / x(35Cl) = 0.242405 / 0.757595 = 0.319967):
// 70 at 100 %, 72 at 2r = 63.993 %, 74 at r^2 = 10.238 %, written as
// "100.00", "63.993", "10.238". The loader leaves them by ascending
// abundance and ends the axis at the last mass read plus 10: 84.
TEST(IsotopePatternSubstance, TheSubstanceOfAFormula)
{
    const TSubstance s = SubstanceFromFormula(QStringLiteral("Cl 2"));
    EXPECT_EQ(s.Name, QStringLiteral("Cl2 (isotope pattern)"));
    ASSERT_EQ(s.Lines.size(), 3u);
    const double expected[][2] = {{74, 10.238}, {72, 63.993}, {70, 100}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(s.Lines[i].Mass, expected[i][0]);
        EXPECT_EQ(s.Lines[i].Abundance, expected[i][1]);
    }
    EXPECT_EQ(s.MassAxisEnd, 84.0);
    // The composition is known from the name.
    EXPECT_TRUE(CompositionOf(s.Name).Pattern);
}

// The substance the model gets from a formula is the one the user library
// gives back once the record is in it.
TEST(IsotopePatternSubstance, TheSameSubstanceAsFromTheUserLibrary)
{
    QTemporaryDir dir;
    TUserSpectrumLibrary user(dir.filePath(QStringLiteral("user_spectra.tra")));
    for (const char* typed : {"CH3Cl", "C6H5Br", "SnCl4", "HgCl2"}) {
        SCOPED_TRACE(typed);
        const QString text = QString::fromLatin1(typed);
        const TChemicalFormula formula = ParseChemicalFormula(text);
        const TLibraryRecord record = IsotopePatternRecord(text, formula, ComputeIsotopePattern(formula));
        QString error;
        ASSERT_TRUE(user.Append(FormatLibraryRecord(record), &error)) << error.toStdString();
        const std::optional<TSubstance> stored = LoadSubstance(user.Library(), record.Name);
        ASSERT_TRUE(stored);
        const TSubstance made = SubstanceFromFormula(text);
        EXPECT_EQ(made.Name, stored->Name);
        EXPECT_EQ(made.MassAxisEnd, stored->MassAxisEnd);
        ASSERT_EQ(made.Lines.size(), stored->Lines.size());
        for (size_t i = 0; i < made.Lines.size(); ++i) {
            EXPECT_EQ(made.Lines[i].Mass, stored->Lines[i].Mass);
            EXPECT_EQ(made.Lines[i].Abundance, stored->Lines[i].Abundance);
        }
    }
    EXPECT_EQ(user.SubstanceNames().size(), 4);
}

TEST(IsotopePatternSubstance, ABadFormulaIsRefused)
{
    struct Row {
        const char* text;
        TFormulaFault fault;
    };
    const Row rows[] = {
        {"", TFormulaFault::Empty},
        {"Xy2", TFormulaFault::UnknownElement},
        {"C(H2", TFormulaFault::UnclosedParenthesis},
        {"H0", TFormulaFault::ZeroCount},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        try {
            SubstanceFromFormula(QString::fromLatin1(r.text));
            ADD_FAILURE() << "no exception";
        } catch (const EFormulaError& e) {
            EXPECT_EQ(e.Fault(), r.fault);
        }
    }
}
