#include "analysis/MeanMass.h"

#include <algorithm>
#include <cmath>

TMeanMass AbundanceWeightedMeanMass(const std::vector<TSpectralLine>& lines,
                                    const std::function<std::optional<double>(double)>& exactMass)
{
    // A line without a place on the mass axis has no part in the mean either.
    std::vector<TSpectralLine> valid;
    for (const TSpectralLine& l : lines)
        if (std::isfinite(l.Abundance) && l.Abundance > 0 && std::isfinite(l.Mass))
            valid.push_back(l);
    std::sort(valid.begin(), valid.end(), [](const TSpectralLine& a, const TSpectralLine& b) {
        return a.Mass < b.Mass || (a.Mass == b.Mass && a.Abundance > b.Abundance);
    });

    TMeanMass result;
    // Extended precision: the sums of any finite abundances stay finite.
    long double sum = 0, moment = 0;
    for (const TSpectralLine& l : valid) {
        if (!result.Rows.empty() && result.Rows.back().RecordedMass == l.Mass)
            continue; // recorded again; the first is the strongest
        TMeanMassRow row;
        row.RecordedMass = l.Mass;
        row.Mass = l.Mass;
        if (exactMass)
            if (const std::optional<double> m = exactMass(l.Mass); m && std::isfinite(*m))
                row.Mass = *m;
        row.Abundance = l.Abundance;
        sum += l.Abundance;
        moment += static_cast<long double>(row.Mass) * l.Abundance;
        result.Rows.push_back(row);
    }
    if (result.Rows.empty())
        return result;
    for (TMeanMassRow& row : result.Rows)
        row.Share = double(100 * (row.Abundance / sum));
    result.Mean = double(moment / sum);
    return result;
}
