#pragma once
// Molecular formulas as a learner types them: element symbols, each followed
// by an optional count, and groups in parentheses with a count of their own,
// nested to any depth: "H2O", "CH3(CH2)2OH", "Ca(OH)2", "(CH3)3COH".
// Blanks anywhere are ignored, also inside a symbol or a count ("C l 1 2"
// reads as Cl12). Symbols are case-sensitive ("Co" is cobalt,
// "CO" carbon monoxide). A formula holds at most kMaxFormulaAtoms atoms.
//
// A formula that cannot be read raises EFormulaError, which says where
// (the 1-based position of the character, counted in characters of the text
// as typed, blanks included) and what was expected there.

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

constexpr long kMaxFormulaAtoms = 10000;

struct TElementCount {
    QString Symbol; // as in the element table: "C", "Cl"
    long Count = 0;
};

struct TChemicalFormula {
    // One entry per element, in the order of its first appearance in the
    // text, repeats and groups merged: "CH3(CH2)2OH" -> C 3, H 8, O 1.
    std::vector<TElementCount> Elements;

    long AtomCount() const;
    // The formula written plainly, every element once with its count, in the
    // order above: "C3H8O". The isotope calculator takes it (every count
    // written, also 1) when `withOnes` is set: "C3H8O1".
    QString Text(bool withOnes = false) const;
};

enum class TFormulaFault {
    Empty,               // nothing but blanks
    UnexpectedCharacter, // Token: the character; expected a symbol, a count or a parenthesis
    UnknownElement,      // Token: the symbol as typed
    UnclosedParenthesis, // Position: the opening parenthesis
    UnopenedParenthesis, // Position: the closing parenthesis
    EmptyGroup,          // Position: the opening parenthesis of "()"
    ZeroCount,           // Position: the first digit of a count of 0
    TooManyAtoms,        // Position: where the total passes kMaxFormulaAtoms
};
// The tokens of the other faults: the digits of the count for ZeroCount and
// for TooManyAtoms (where there is no count, the element symbol whose atom
// passes the limit), "(" for UnclosedParenthesis, ")" for
// UnopenedParenthesis, "()" for EmptyGroup, empty for Empty.

class EFormulaError : public std::runtime_error {
public:
    EFormulaError(TFormulaFault fault, int position, QString token);
    TFormulaFault Fault() const { return fault_; }
    int Position() const { return position_; } // 1-based; 0 for Empty
    const QString& Token() const { return token_; }
    // The English sentence, e.g. Unknown element "Xy" at position 3.
    QString Message() const;
    // The sentence with its blanks, for a translation table: "<%1%>" stands
    // for the token, "<%2%>" for the position, "<%3%>" for kMaxFormulaAtoms,
    // in this order in MessageArguments().
    static QString MessageTemplate(TFormulaFault fault);
    QStringList MessageArguments() const;

private:
    TFormulaFault fault_;
    int position_;
    QString token_;
};

// Throws EFormulaError.
TChemicalFormula ParseChemicalFormula(const QString& text);
