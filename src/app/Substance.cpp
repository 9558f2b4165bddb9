#include "app/Substance.h"

#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

std::optional<TSubstance> LoadSubstance(TSpectrumLibrary& library, const QString& name)
{
    TMatrix matrix;
    matrix.SetNrOfColumns(2);
    const TSpectrumLoad load = library.LoadSpectrum(name, matrix);
    if (!load.Found)
        return std::nullopt;
    TSubstance s;
    s.Name = name;
    s.MassAxisEnd = load.MassAxisEnd();
    s.LastMass = load.LastMass;
    const int n = library.LineCount();
    s.Lines.reserve(size_t(std::max(n, 0)));
    for (int row = 1; row <= n && row <= matrix.NrOfRows(); ++row)
        s.Lines.push_back({matrix.Cell(1, row), matrix.Cell(2, row)});
    return s;
}
