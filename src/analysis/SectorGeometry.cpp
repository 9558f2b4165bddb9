#include "analysis/SectorGeometry.h"

#include <cmath>

double RadiusFactorAt(int voltage, int fieldPosition, double k)
{
    const double b = double(fieldPosition) / kFieldScale;
    return std::sqrt(voltage * k / (b * b)) * kChartUnitsPerMetre;
}

double MassInFocusAt(int voltage, int fieldPosition, double k)
{
    return std::pow(kDetectorRadius / RadiusFactorAt(voltage, fieldPosition, k), 2);
}

TMassRange ReachableMasses(int voltage, double k)
{
    return {MassInFocusAt(voltage, kFieldMinimum, k), MassInFocusAt(voltage, kFieldMaximum, k)};
}
