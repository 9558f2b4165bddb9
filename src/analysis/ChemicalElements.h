#pragma once
// The chemical elements with their stable (and long-lived natural) isotopes:
// mass number, exact mass in u and natural abundance. The data are the
// isotope calculator's element table (IsoSpec++, which cites the IUPAC/CIAAW
// isotopic compositions); the standard atomic weight of an element is the
// abundance-weighted mean of its isotopes' masses, A_r = sum of m_i * x_i.

#include <QString>

#include <optional>
#include <vector>

struct TIsotope {
    int MassNumber = 0;
    double Mass = 0;      // u
    double Abundance = 0; // amount fraction, 0..1; an element's sum to 1
};

struct TChemicalElement {
    QString Symbol;         // "Cl"
    QString Name;           // English, lower case as in the table: "chlorine"
    int AtomicNumber = 0;
    std::vector<TIsotope> Isotopes; // by ascending mass
    double StandardAtomicWeight = 0;
};

// None for a symbol that names no element (symbols are case-sensitive). The
// table's pseudo-entries (electron, proton) are not elements.
const TChemicalElement* FindElement(const QString& symbol);
const TChemicalElement* FindElement(QStringView symbol);
// By English name, any case: "Neon", "xenon". The table's names are the
// IUPAC spellings ("aluminium", "caesium", "sulfur"); "aluminum", "cesium"
// and "sulphur" find the same elements. None for another name.
const TChemicalElement* FindElementByName(const QString& name);
// Every element of the table, by ascending atomic number.
const std::vector<TChemicalElement>& ChemicalElements();

// The exact mass of the element's isotope whose mass number is `nominalMass`
// rounded to the nearest integer, when the mass lies within 0.25 u of that
// integer and the element has such an isotope.
std::optional<double> IsotopeMass(const TChemicalElement& element, double nominalMass);
