#include "app/SectorField.h"

#include <cmath>

double SectorFieldConstant()
{
    return (1e-27 * 3.32108) / (1e-19 * 1.602);
}

TIonPaths ComputeIonPathModel(int voltage, int fieldPosition, double k,
                              const std::vector<TSpectralLine>& lines)
{
    TIonPaths r;
    const double b = double(fieldPosition) / kFieldScale;
    r.F = std::sqrt(voltage * k / (b * b)) * 300;
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
