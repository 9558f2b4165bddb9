#pragma once
// The instrument's geometry and the field's scale, as the deflection view
// draws them (chart units, 300 per metre): the source at (kSourceX, 0), the
// ions leaving it in +y and turning on circles through it, the detector
// where the circle of radius kDetectorRadius meets the wall x = kWallX. The
// classic model (app/SectorField.h) and the instrument with real slits
// (analysis/SectorInstrument.h) share these figures and this arithmetic, so
// that the two agree to the last bit wherever they should.

constexpr double kSourceX = 20;
constexpr double kWallX = 100;
constexpr double kDetectorRadius = 80;
constexpr double kFocusTolerance = 1; // the classic detector's: |r - 80| < 1
constexpr double kChartUnitsPerMetre = 300;
constexpr int kFieldScale = 10000; // field positions (slider steps) per tesla
constexpr int kFieldMinimum = 1;    // the field slider's range: 0.1 to 500 mT
constexpr int kFieldMaximum = 5000;
constexpr int kVoltageMinimum = 3000; // the voltage slider's range, V
constexpr int kVoltageMaximum = 8000;

// The radius factor F of r = sqrt(m/z) * F, in chart units, at a voltage (V)
// and field position (B = position / kFieldScale T): F = sqrt(U k / B^2) * 300,
// k = 2 u / e (the caller's constant).
double RadiusFactorAt(int voltage, int fieldPosition, double k);
// The m/z in focus on the detector, (kDetectorRadius / F)^2.
double MassInFocusAt(int voltage, int fieldPosition, double k);

struct TMassRange {
    double Low = 0, High = 0;
};
// What the field can bring to the detector at a voltage: the m/z in focus at
// the field's minimum (0.1 mT) and maximum (500 mT).
TMassRange ReachableMasses(int voltage, double k);
