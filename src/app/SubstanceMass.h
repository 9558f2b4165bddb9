#pragma once
// What a substance's recorded spectrum says about its mass: the
// abundance-weighted mean mass of the recorded lines and, where the program
// knows what the substance is made of, the standard value to set beside it.
//
// The composition comes from the substance's name: an element of the shipped
// library by its English name before any parenthesis ("Neon (natural
// isotopes)"), or a formula whose isotope pattern was added as a substance
// ("CH3Cl (isotope pattern)"). For an element the isotopes' exact masses
// replace the recorded nominal masses and the standard atomic weight is the
// reference; for a formula the pattern's exact masses and its standard
// molecular weight (for a one-element formula such as "Cl" that is the
// standard atomic weight).

#include "analysis/ChemicalElements.h"
#include "analysis/IsotopePattern.h"
#include "analysis/MeanMass.h"

#include <QString>
#include <optional>
#include <vector>

// The suffix that marks a formula's isotope pattern in the selector.
inline constexpr const char* kIsotopePatternSuffix = " (isotope pattern)";

struct TSubstanceComposition {
    const TChemicalElement* Element = nullptr; // the substance is this element
    std::optional<TChemicalFormula> Formula;   // the substance is this formula's pattern
    std::optional<TIsotopePattern> Pattern;    // ... and this is the pattern
};

TSubstanceComposition CompositionOf(const QString& substanceName);

struct TSubstanceMeanMass {
    TMeanMass Mean;                       // over the masses, not m/z
    std::optional<double> StandardWeight; // standard atomic or molecular weight
    bool Element = false;                 // StandardWeight is an atomic weight
};

// sticks: the recorded lines at m/z for ions of `charge`; their masses are
// m/z times the charge.
TSubstanceMeanMass MeanMassOf(const QString& substanceName, const std::vector<TSpectralLine>& sticks, int charge = 1);
