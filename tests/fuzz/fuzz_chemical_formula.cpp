// Molecular formulas over any text, and the isotope patterns of those that
// read.
//
// Rules checked: a refusal names a place inside the text (none only for a
// blank text) and a token found there; a formula that reads holds 1 to
// kMaxFormulaAtoms atoms, each element once, known to the table, with a
// count of at least 1; its plain text (with and without the ones) reads back
// as the same formula. Its pattern has ascending nominal masses within the
// lightest and heaviest molecule, a strongest line of exactly 100, no line
// below the threshold, exact masses within the molecule's range, lines
// within a percent of the direct computation's, and the average mass between
// the lightest and heaviest molecule.
#include "FuzzApplication.h"

#include "analysis/ChemicalElements.h"
#include "analysis/ChemicalFormula.h"
#include "analysis/IsotopePattern.h"

#include <algorithm>
#include <cmath>

namespace {

void CheckRefusal(const QString& text, const EFormulaError& e)
{
    const QString what = e.Message() + QStringLiteral(" in ") + text;
    FUZZ_CHECK(!e.Message().isEmpty(), what);
    if (e.Fault() == TFormulaFault::Empty) {
        FUZZ_CHECK(e.Position() == 0 && e.Token().isEmpty(), what);
        FUZZ_CHECK(std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }), what);
        return;
    }
    FUZZ_CHECK(e.Position() >= 1 && e.Position() <= text.size(), what);
    FUZZ_CHECK(!e.Token().isEmpty(), what);
    FUZZ_CHECK(e.Message().contains(QString::number(e.Position())), what);
    const QChar first = text[e.Position() - 1];
    switch (e.Fault()) {
    case TFormulaFault::UnexpectedCharacter:
        FUZZ_CHECK(text.mid(e.Position() - 1).startsWith(e.Token()), what);
        break;
    case TFormulaFault::UnknownElement:
        FUZZ_CHECK(FindElement(e.Token()) == nullptr && first == e.Token()[0], what);
        break;
    case TFormulaFault::UnclosedParenthesis:
    case TFormulaFault::EmptyGroup:
        FUZZ_CHECK(first == u'(', what);
        break;
    case TFormulaFault::UnopenedParenthesis:
        FUZZ_CHECK(first == u')', what);
        break;
    case TFormulaFault::ZeroCount:
        FUZZ_CHECK(first == u'0' && e.Token().count(u'0') == e.Token().size(), what);
        break;
    case TFormulaFault::TooManyAtoms:
        FUZZ_CHECK(first == e.Token()[0], what);
        break;
    case TFormulaFault::Empty:
        break;
    }
}

void CheckPattern(const TChemicalFormula& f)
{
    const QString what = f.Text();
    long lightest = 0, heaviest = 0;
    double lightestMass = 0, heaviestMass = 0;
    for (const TElementCount& e : f.Elements) {
        const TChemicalElement& element = *FindElement(e.Symbol);
        lightest += e.Count * element.Isotopes.front().MassNumber;
        heaviest += e.Count * element.Isotopes.back().MassNumber;
        lightestMass += double(e.Count) * element.Isotopes.front().Mass;
        heaviestMass += double(e.Count) * element.Isotopes.back().Mass;
    }
    const double slack = 1e-9 * heaviestMass;
    const TIsotopePattern p = ComputeIsotopePattern(f);
    FUZZ_CHECK(!p.Lines.empty(), what);
    double strongest = 0;
    for (size_t i = 0; i < p.Lines.size(); ++i) {
        const TPatternLine& l = p.Lines[i];
        if (i > 0)
            FUZZ_CHECK(l.NominalMass > p.Lines[i - 1].NominalMass, what);
        FUZZ_CHECK(l.NominalMass >= lightest && l.NominalMass <= heaviest, what);
        FUZZ_CHECK(l.ExactMass >= lightestMass - slack && l.ExactMass <= heaviestMass + slack, what);
        FUZZ_CHECK(l.Abundance >= 100 * kPatternThreshold && l.Abundance <= 100, what);
        strongest = std::max(strongest, l.Abundance);
    }
    FUZZ_CHECK(strongest == 100, what);
    // The listing and the direct computation give the same lines, but for the
    // isotopologues the listing leaves out (a few tenths of a percent at most;
    // a line at the threshold may be on one side of it and not the other).
    const std::vector<TPatternLine> direct = MergeByNominalMass(NominalMassDistribution(f));
    for (const TPatternLine& l : p.Lines) {
        const auto d = std::find_if(direct.begin(), direct.end(), [&](const TPatternLine& x) { return x.NominalMass == l.NominalMass; });
        const double other = d != direct.end() ? d->Abundance : 0;
        FUZZ_CHECK(std::fabs(other - l.Abundance) < 1,
                   what + QStringLiteral(" at %1: %2 against %3").arg(l.NominalMass).arg(l.Abundance).arg(other));
    }
    FUZZ_CHECK(p.AverageMass >= lightestMass - slack && p.AverageMass <= heaviestMass + slack, what);
    FUZZ_CHECK(p.MonoisotopicMass >= lightestMass - slack && p.MonoisotopicMass <= heaviestMass + slack, what);
}

void CheckFormula(const QString& text, const TChemicalFormula& f)
{
    FUZZ_CHECK(!f.Elements.empty(), text);
    FUZZ_CHECK(f.AtomCount() >= 1 && f.AtomCount() <= kMaxFormulaAtoms, text);
    for (size_t i = 0; i < f.Elements.size(); ++i) {
        FUZZ_CHECK(FindElement(f.Elements[i].Symbol) != nullptr, text);
        FUZZ_CHECK(f.Elements[i].Count >= 1, text);
        for (size_t j = 0; j < i; ++j)
            FUZZ_CHECK(f.Elements[j].Symbol != f.Elements[i].Symbol, text);
    }
    for (bool withOnes : {false, true}) {
        const TChemicalFormula again = ParseChemicalFormula(f.Text(withOnes));
        FUZZ_CHECK(again.Elements.size() == f.Elements.size(), text);
        for (size_t i = 0; i < f.Elements.size(); ++i)
            FUZZ_CHECK(again.Elements[i].Symbol == f.Elements[i].Symbol && again.Elements[i].Count == f.Elements[i].Count,
                       text + QStringLiteral(" as ") + f.Text(withOnes));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    TChemicalFormula f;
    try {
        f = ParseChemicalFormula(text);
    } catch (const EFormulaError& e) {
        CheckRefusal(text, e);
        return 0;
    }
    CheckFormula(text, f);
    CheckPattern(f);
    return 0;
}
