#pragma once
// The physics of the sector-field mass spectrometer: the circular path of
// every spectral line's ions for an acceleration voltage and a magnetic field,
// and the line whose path ends in the detector.

#include "support/SpectralLine.h"

#include <optional>
#include <vector>

// Twice the atomic mass unit divided by the elementary charge, in kg/C.
double SectorFieldConstant();

// Geometry of the deflection view, in chart units (300 per metre).
constexpr double kSourceX = 20;
constexpr double kDetectorRadius = 80;
constexpr double kFocusTolerance = 1;
constexpr double kStraightPathLimit = 5000;
constexpr int kFieldScale = 10000; // slider steps per tesla

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

// The largest m/z that can be focused on the detector at this voltage: the
// mass in focus at the field's maximum (500 mT). A line above it never
// reaches the detector at this voltage, whatever the field.
double LargestMassInFocus(int voltage, double k);

// The highest whole voltage at which ions of m/z `mass` can still be focused
// (the largest m/z in focus falls as 1/U at the field's maximum), at most
// 8000 V; none when even 3000 V is too high (the voltage slider's range).
std::optional<int> HighestVoltageReaching(double mass, double k);
