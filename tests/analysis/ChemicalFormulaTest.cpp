// Reading molecular formulas: what a learner may type, and where and why a
// formula that cannot be read is refused.
#include "analysis/ChemicalFormula.h"

#include <gtest/gtest.h>

namespace {

QString Q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

using TCounts = std::vector<std::pair<QString, long>>;

TCounts CountsOf(const TChemicalFormula& f)
{
    TCounts counts;
    for (const TElementCount& e : f.Elements)
        counts.emplace_back(e.Symbol, e.Count);
    return counts;
}

struct TGoodCase {
    QString Text;
    TCounts Counts; // in the order of first appearance
    QString Plain;  // Text()
};

TEST(ChemicalFormula, ReadsWhatLearnersType)
{
    const TGoodCase cases[] = {
        {Q(u"H2O"), {{Q(u"H"), 2}, {Q(u"O"), 1}}, Q(u"H2O")},
        {Q(u"CH3(CH2)2OH"), {{Q(u"C"), 3}, {Q(u"H"), 8}, {Q(u"O"), 1}}, Q(u"C3H8O")},
        {Q(u"Ca(OH)2"), {{Q(u"Ca"), 1}, {Q(u"O"), 2}, {Q(u"H"), 2}}, Q(u"CaO2H2")},
        {Q(u"(CH3)3COH"), {{Q(u"C"), 4}, {Q(u"H"), 10}, {Q(u"O"), 1}}, Q(u"C4H10O")},
        // Symbols are case-sensitive: cobalt, and carbon monoxide.
        {Q(u"Co"), {{Q(u"Co"), 1}}, Q(u"Co")},
        {Q(u"CO"), {{Q(u"C"), 1}, {Q(u"O"), 1}}, Q(u"CO")},
        // Repeats merge in the place of the first appearance.
        {Q(u"HOH"), {{Q(u"H"), 2}, {Q(u"O"), 1}}, Q(u"H2O")},
        {Q(u"OH2"), {{Q(u"O"), 1}, {Q(u"H"), 2}}, Q(u"OH2")},
        // Nested groups multiply out: K4[Fe(CN)6] and tris(dimethylamino)phosphine.
        {Q(u"K4(Fe(CN)6)"), {{Q(u"K"), 4}, {Q(u"Fe"), 1}, {Q(u"C"), 6}, {Q(u"N"), 6}}, Q(u"K4FeC6N6")},
        {Q(u"((CH3)2N)3P"), {{Q(u"C"), 6}, {Q(u"H"), 18}, {Q(u"N"), 3}, {Q(u"P"), 1}}, Q(u"C6H18N3P")},
        // Blanks anywhere, also inside a symbol or a count; tabs and no-break spaces too.
        {Q(u" C 12 H 22 O 11 "), {{Q(u"C"), 12}, {Q(u"H"), 22}, {Q(u"O"), 11}}, Q(u"C12H22O11")},
        {Q(u"C l 2"), {{Q(u"Cl"), 2}}, Q(u"Cl2")},
        {Q(u"\tCa (OH) 2\u00a0"), {{Q(u"Ca"), 1}, {Q(u"O"), 2}, {Q(u"H"), 2}}, Q(u"CaO2H2")},
        {Q(u"H02"), {{Q(u"H"), 2}}, Q(u"H2")},
        // Exactly the most atoms a formula may hold, in three ways.
        {Q(u"C10000"), {{Q(u"C"), 10000}}, Q(u"C10000")},
        {Q(u"(C5000)2"), {{Q(u"C"), 10000}}, Q(u"C10000")},
        {Q(u"C9999H"), {{Q(u"C"), 9999}, {Q(u"H"), 1}}, Q(u"C9999H")},
    };
    for (const TGoodCase& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        const TChemicalFormula f = ParseChemicalFormula(c.Text);
        EXPECT_EQ(CountsOf(f), c.Counts);
        EXPECT_EQ(f.Text(), c.Plain);
        long atoms = 0;
        for (const auto& [symbol, count] : c.Counts)
            atoms += count;
        EXPECT_EQ(f.AtomCount(), atoms);
    }
}

TEST(ChemicalFormula, TextForTheCalculatorWritesEveryCount)
{
    EXPECT_EQ(ParseChemicalFormula(Q(u"CH3(CH2)2OH")).Text(true), Q(u"C3H8O1"));
    EXPECT_EQ(ParseChemicalFormula(Q(u"Cl2")).Text(true), Q(u"Cl2"));
    EXPECT_EQ(ParseChemicalFormula(Q(u"Ne")).Text(true), Q(u"Ne1"));
}

struct TBadCase {
    QString Text;
    TFormulaFault Fault;
    int Position;
    QString Token;
    QString Message;
};

TEST(ChemicalFormula, RefusesWithPlaceAndReason)
{
    const QString anyExpected = Q(u"expected an element symbol, a count or a parenthesis");
    const TBadCase cases[] = {
        {Q(u""), TFormulaFault::Empty, 0, Q(u""), Q(u"The formula is empty")},
        {Q(u" \t "), TFormulaFault::Empty, 0, Q(u""), Q(u"The formula is empty")},
        {Q(u"H2O%"), TFormulaFault::UnexpectedCharacter, 4, Q(u"%"), Q(u"Unexpected character \"%\" at position 4: ") + anyExpected},
        {Q(u"CH3-CH3"), TFormulaFault::UnexpectedCharacter, 4, Q(u"-"), Q(u"Unexpected character \"-\" at position 4: ") + anyExpected},
        {Q(u"H\u2082O"), TFormulaFault::UnexpectedCharacter, 2, Q(u"\u2082"), Q(u"Unexpected character \"\u2082\" at position 2: ") + anyExpected},
        // A character beyond the 16-bit range takes two positions; the token is all of it.
        {Q(u"H\U0001F600"), TFormulaFault::UnexpectedCharacter, 2, Q(u"\U0001F600"), Q(u"Unexpected character \"\U0001F600\" at position 2: ") + anyExpected},
        {Q(u"h2o"), TFormulaFault::UnexpectedCharacter, 1, Q(u"h"), Q(u"Unexpected character \"h\" at position 1: ") + anyExpected},
        {Q(u"2H2O"), TFormulaFault::UnexpectedCharacter, 1, Q(u"2"), Q(u"Unexpected character \"2\" at position 1: ") + anyExpected},
        {Q(u"Ca(2OH)"), TFormulaFault::UnexpectedCharacter, 4, Q(u"2"), Q(u"Unexpected character \"2\" at position 4: ") + anyExpected},
        {Q(u"NaXyCl"), TFormulaFault::UnknownElement, 3, Q(u"Xy"), Q(u"Unknown element \"Xy\" at position 3")},
        {Q(u" Q"), TFormulaFault::UnknownElement, 2, Q(u"Q"), Q(u"Unknown element \"Q\" at position 2")},
        // The table's pseudo-element for an electron is no element.
        {Q(u"E"), TFormulaFault::UnknownElement, 1, Q(u"E"), Q(u"Unknown element \"E\" at position 1")},
        {Q(u"Ca(OH"), TFormulaFault::UnclosedParenthesis, 3, Q(u"("), Q(u"Unclosed parenthesis at position 3")},
        {Q(u"((H)"), TFormulaFault::UnclosedParenthesis, 1, Q(u"("), Q(u"Unclosed parenthesis at position 1")},
        {Q(u"(H(O"), TFormulaFault::UnclosedParenthesis, 3, Q(u"("), Q(u"Unclosed parenthesis at position 3")},
        {Q(u"H2O)"), TFormulaFault::UnopenedParenthesis, 4, Q(u")"), Q(u"Closing parenthesis at position 4 without an opening one")},
        {Q(u"(H))2"), TFormulaFault::UnopenedParenthesis, 4, Q(u")"), Q(u"Closing parenthesis at position 4 without an opening one")},
        {Q(u"H2()O"), TFormulaFault::EmptyGroup, 3, Q(u"()"), Q(u"Empty parentheses at position 3")},
        {Q(u"( )2"), TFormulaFault::EmptyGroup, 1, Q(u"()"), Q(u"Empty parentheses at position 1")},
        {Q(u"H0"), TFormulaFault::ZeroCount, 2, Q(u"0"), Q(u"Count 0 at position 2")},
        {Q(u"Ca(OH)00"), TFormulaFault::ZeroCount, 7, Q(u"00"), Q(u"Count 0 at position 7")},
        {Q(u"C10001"), TFormulaFault::TooManyAtoms, 2, Q(u"10001"), Q(u"More than 10000 atoms at position 2")},
        // Far beyond any integer type: still the same refusal, no overflow.
        {Q(u"C99999999999999999999"), TFormulaFault::TooManyAtoms, 2, Q(u"99999999999999999999"), Q(u"More than 10000 atoms at position 2")},
        {Q(u"(C99999999999999999999)99999999999999999999"), TFormulaFault::TooManyAtoms, 3, Q(u"99999999999999999999"), Q(u"More than 10000 atoms at position 3")},
        {Q(u"H2O C9998"), TFormulaFault::TooManyAtoms, 6, Q(u"9998"), Q(u"More than 10000 atoms at position 6")},
        {Q(u"C10000H"), TFormulaFault::TooManyAtoms, 7, Q(u"H"), Q(u"More than 10000 atoms at position 7")},
        {Q(u"(C5000)3"), TFormulaFault::TooManyAtoms, 8, Q(u"3"), Q(u"More than 10000 atoms at position 8")},
        // The atoms before a group count inside it, before it closes.
        {Q(u"C5000(H5001)"), TFormulaFault::TooManyAtoms, 8, Q(u"5001"), Q(u"More than 10000 atoms at position 8")},
        // The H already counts when the inner group doubles: 1 + 2 * 5000.
        {Q(u"(H(C5000)2)2"), TFormulaFault::TooManyAtoms, 10, Q(u"2"), Q(u"More than 10000 atoms at position 10")},
    };
    for (const TBadCase& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        try {
            ParseChemicalFormula(c.Text);
            ADD_FAILURE() << "read without complaint";
        } catch (const EFormulaError& e) {
            EXPECT_EQ(e.Fault(), c.Fault);
            EXPECT_EQ(e.Position(), c.Position);
            EXPECT_EQ(e.Token(), c.Token);
            EXPECT_EQ(e.Message(), c.Message);
            EXPECT_EQ(std::string(e.what()), c.Message.toStdString());
        }
    }
}

} // namespace
