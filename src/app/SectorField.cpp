#include "app/SectorField.h"

#include <algorithm>
#include <cmath>

double SectorFieldConstant()
{
    return (1e-27 * 3.32108) / (1e-19 * 1.602);
}

TIonPaths ComputeIonPathModel(int voltage, int fieldPosition, double k,
                              const std::vector<TSpectralLine>& lines)
{
    TIonPaths r;
    r.F = RadiusFactorAt(voltage, fieldPosition, k);
    r.Paths.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        TIonPath p;
        p.Radius = float(std::sqrt(lines[i].Mass) * r.F);
        p.Straight = p.Radius > kStraightPathLimit;
        r.Paths.push_back(p);
        const double d = std::fabs(kDetectorRadius - p.Radius);
        // Strictly nearer: of two lines equally near, the earlier (fainter) one.
        if (d < r.BestDistance) {
            r.BestDistance = d;
            r.Best = int(i);
        }
    }
    r.InFocus = r.Best != -1 && r.BestDistance < kFocusTolerance;
    r.MassInFocus = std::pow(kDetectorRadius / r.F, 2);
    return r;
}

std::vector<TSpectralLine> LinesAtCharge(std::vector<TSpectralLine> lines, int charge)
{
    if (charge > 1)
        for (TSpectralLine& l : lines)
            l.Mass /= charge;
    return lines;
}

std::vector<double> MassesOutOfReach(const std::vector<TSpectralLine>& lines, int voltage, double k)
{
    const TMassRange range = ReachableMasses(voltage, k);
    std::vector<double> out;
    for (const TSpectralLine& l : lines)
        if (l.Mass > range.High || l.Mass < range.Low)
            out.push_back(l.Mass);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::optional<int> HighestVoltageReaching(double mass, double k)
{
    if (!(mass > 0))
        return kVoltageMaximum;
    // m_max(U) * U is the same for every U.
    const double u = ReachableMasses(kVoltageMaximum, k).High * kVoltageMaximum / mass;
    int v = int(std::min<double>(std::floor(u), kVoltageMaximum));
    // The model's rounding decides at the edge: step down until it agrees.
    while (v >= kVoltageMinimum && ReachableMasses(v, k).High < mass)
        --v;
    if (v < kVoltageMinimum)
        return std::nullopt;
    return v;
}
