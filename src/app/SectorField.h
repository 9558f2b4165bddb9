#pragma once
// The physics of the sector-field mass spectrometer: the circular path of
// every spectral line's ions for an acceleration voltage and a magnetic field,
// and the line whose path ends in the detector.

#include "analysis/SectorGeometry.h"
#include "support/SpectralLine.h"

#include <optional>
#include <vector>

// Twice the atomic mass unit divided by the elementary charge, in kg/C.
double SectorFieldConstant();

// The geometry of the deflection view and the field's scale are
// analysis/SectorGeometry.h's. Above this radius a path is drawn straight.
constexpr double kStraightPathLimit = 5000;

struct TIonPath {
    float Radius = 0;      // as the model holds it: a 32-bit float
    bool Straight = false; // radius above the straight-path limit
};

struct TIonPaths {
    double F = 0;             // radius factor: r = sqrt(M) * F
    std::vector<TIonPath> Paths; // one per line, in the lines' order
    int Best = -1;            // 0-based line nearest to the detector radius, -1 if none
    double BestDistance = 1e10;
    bool InFocus = false;     // the best line is within the focus tolerance
    double MassInFocus = 0;   // (80 / F)^2
};

// voltage: 3000..8000 V; fieldPosition: 1..5000 (B = fieldPosition / 10000 T).
TIonPaths ComputeIonPathModel(int voltage, int fieldPosition, double k,
                              const std::vector<TSpectralLine>& lines);

// The lines as the field sees them for ions of charge z (1, 2 or 3): every
// mass divided by z, since the radius depends on m/z alone,
// r = sqrt(2 m U / (z e)) / B. With z = 1 the lines are returned as they are.
std::vector<TSpectralLine> LinesAtCharge(std::vector<TSpectralLine> lines, int charge);

// The distinct m/z of the lines (at m/z already) that no field from 0.1 to
// 500 mT brings to the detector at this voltage, ascending.
std::vector<double> MassesOutOfReach(const std::vector<TSpectralLine>& lines, int voltage, double k);

// The highest whole voltage at which ions of m/z `mass` can still be focused
// (the largest m/z in focus, ReachableMasses(U, k).High, falls as 1/U), at most
// kVoltageMaximum; none when even kVoltageMinimum is too high (the voltage
// slider's range).
std::optional<int> HighestVoltageReaching(double mass, double k);
