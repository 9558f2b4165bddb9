#include "analysis/ChemicalElements.h"

// isoSpec++.h first: element_tables.h uses its export macro without
// including what defines it.
#include <IsoSpec++/isoSpec++.h>
#include <IsoSpec++/element_tables.h>

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The calculator's table also lists pseudo-elements for the charge of an ion
// (electron, missing electron, proton) under IDs from 1000 on; they have no
// place among the elements.
constexpr int kFirstPseudoElementId = 1000;

// Symbols are one capital letter and at most one small one: 26 * 27 places,
// looked up without hashing (a formula reader looks up every symbol).
int SymbolSlot(QStringView symbol)
{
    if (symbol.size() < 1 || symbol.size() > 2 || symbol[0] < u'A' || symbol[0] > u'Z')
        return -1;
    if (symbol.size() == 1)
        return (symbol[0].unicode() - u'A') * 27;
    if (symbol[1] < u'a' || symbol[1] > u'z')
        return -1;
    return (symbol[0].unicode() - u'A') * 27 + 1 + (symbol[1].unicode() - u'a');
}

struct TElementTable {
    std::vector<TChemicalElement> Elements;
    std::array<int, 26 * 27> BySymbol; // element index, -1 for none
    QHash<QString, int> ByName;        // lower case
};

TElementTable BuildTable()
{
    TElementTable table;
    table.BySymbol.fill(-1);
    for (int i = 0; i < ISOSPEC_NUMBER_OF_ISOTOPIC_ENTRIES;) {
        const int id = IsoSpec::elem_table_ID[i];
        int end = i;
        while (end < ISOSPEC_NUMBER_OF_ISOTOPIC_ENTRIES && IsoSpec::elem_table_ID[end] == id)
            ++end;
        if (id < kFirstPseudoElementId) {
            TChemicalElement e;
            e.Symbol = QString::fromLatin1(IsoSpec::elem_table_symbol[i]);
            e.Name = QString::fromLatin1(IsoSpec::elem_table_element[i]);
            e.AtomicNumber = IsoSpec::elem_table_atomicNo[i];
            double sum = 0;
            for (int j = i; j < end; ++j) {
                e.Isotopes.push_back({int(std::lround(IsoSpec::elem_table_massNo[j])), IsoSpec::elem_table_mass[j],
                                      IsoSpec::elem_table_probability[j]});
                sum += IsoSpec::elem_table_probability[j];
            }
            // The table's fractions are rounded to ten digits and add up to 1
            // only within 1e-10; scaled, they are amount fractions again.
            for (TIsotope& iso : e.Isotopes)
                iso.Abundance /= sum;
            std::sort(e.Isotopes.begin(), e.Isotopes.end(),
                      [](const TIsotope& a, const TIsotope& b) { return a.Mass < b.Mass; });
            for (const TIsotope& iso : e.Isotopes)
                e.StandardAtomicWeight += iso.Mass * iso.Abundance;
            table.Elements.push_back(std::move(e));
        }
        i = end;
    }
    // The table lists U before Th and Pa.
    std::sort(table.Elements.begin(), table.Elements.end(),
              [](const TChemicalElement& a, const TChemicalElement& b) { return a.AtomicNumber < b.AtomicNumber; });
    for (int index = 0; index < int(table.Elements.size()); ++index) {
        if (const int slot = SymbolSlot(table.Elements[index].Symbol); slot >= 0)
            table.BySymbol[size_t(slot)] = index;
        table.ByName.insert(table.Elements[index].Name.toLower(), index);
    }
    // The table spells the names the IUPAC way; learners also write the
    // American (and the older British) forms.
    static const char* const kOtherSpellings[][2] = {
        {"aluminum", "Al"},
        {"cesium", "Cs"},
        {"sulphur", "S"},
    };
    for (const auto& [name, symbol] : kOtherSpellings) {
        const int index = table.BySymbol[size_t(SymbolSlot(QString::fromLatin1(symbol)))];
        if (index >= 0)
            table.ByName.insert(QLatin1String(name), index);
    }
    return table;
}

const TElementTable& Table()
{
    static const TElementTable table = BuildTable();
    return table;
}

} // namespace

const std::vector<TChemicalElement>& ChemicalElements()
{
    return Table().Elements;
}

const TChemicalElement* FindElement(const QString& symbol)
{
    return FindElement(QStringView(symbol));
}

const TChemicalElement* FindElement(QStringView symbol)
{
    const int slot = SymbolSlot(symbol);
    if (slot < 0)
        return nullptr;
    const TElementTable& t = Table();
    const int index = t.BySymbol[size_t(slot)];
    return index < 0 ? nullptr : &t.Elements[size_t(index)];
}

const TChemicalElement* FindElementByName(const QString& name)
{
    const TElementTable& t = Table();
    const auto it = t.ByName.constFind(name.toLower());
    return it == t.ByName.cend() ? nullptr : &t.Elements[*it];
}

std::optional<double> IsotopeMass(const TChemicalElement& element, double nominalMass)
{
    // The heaviest natural isotope has a mass number below 300; the bound
    // also keeps the rounding below inside the range of an int.
    if (!(std::fabs(nominalMass) < 1000))
        return std::nullopt;
    const double massNumber = std::round(nominalMass);
    if (std::fabs(nominalMass - massNumber) > 0.25)
        return std::nullopt;
    for (const TIsotope& iso : element.Isotopes)
        if (iso.MassNumber == int(massNumber))
            return iso.Mass;
    return std::nullopt;
}
