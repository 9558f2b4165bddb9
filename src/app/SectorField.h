#pragma once
// The physics of the sector-field mass spectrometer: the circular path of
// every spectral line's ions for an acceleration voltage and a magnetic field,
// and the line whose path ends in the detector.

#include <vector>

struct TSpectralLine {
    double Mass = 0;
    double Abundance = 0; // percent of the strongest line
};

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
