#pragma once
// A formula's computed isotope pattern as a substance of the simulation: the
// record it is kept as in the user's spectrum library, and the substance the
// model works with, which is the very one the library gives back for that
// record (the same rounded abundances, the same order of lines).

#include "analysis/ChemicalFormula.h"
#include "analysis/IsotopePattern.h"
#include "app/Substance.h"
#include "app/UserSpectrumLibrary.h"

#include <QString>

// The name the pattern of the formula typed as `typed` goes by: the text
// without blanks and the isotope-pattern suffix, "CH3Cl (isotope pattern)".
QString IsotopePatternName(const QString& typed);

// The library record of the pattern: the name above, the calculator as the
// credit, notes on how the pattern was made, one line per nominal mass.
// A pattern of more lines than the library keeps of a substance keeps its
// strongest ones, and the notes say so.
TLibraryRecord IsotopePatternRecord(const QString& typed, const TChemicalFormula& formula,
                                    const TIsotopePattern& pattern);

// The pattern of the typed formula as a substance, as it loads from the
// library once its record is there. Throws EFormulaError for a formula that
// cannot be read, Exception for a pattern the library cannot hold (a
// mass beyond its column).
TSubstance SubstanceFromFormula(const QString& formulaText);
