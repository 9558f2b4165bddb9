#pragma once
// The sector-field instrument with real slits and beams: the share of a
// line's ions that passes the detector slit, the current of a field scan and
// the resolving power read from it, and the photographic plate on the wall.
//
// Geometry (chart units, 300 per metre, as the deflection view): the ions
// leave the source at (20, 0) moving +y and turn clockwise on circles of
// radius r = sqrt(m/z) * F, F = sqrt(U k / B^2) * 300 (k = 2 u / e, passed in
// as the classic model takes it). The wall x = 100 holds the detector: a
// slit of width s2 centred on y = 80, where the classic detector sits, or a
// plate along it. A circle through the source meets the wall at
// y(r) = sqrt(160 (r - 40)) for r >= 40 and never below r = 40; at r = 80 the
// path meets the wall square-on and dy/dr = 1.
//
// A ray starting at (20 + d, 0) at the angle t from +y toward +x, of radius
// R, has its centre at (20 + d + R cos t, -R sin t) and first crosses the wall
// at y = -R sin t + sqrt(R^2 - (80 - d - R cos t)^2) (the upper crossing: the
// ion moves right until the circle's rightmost point). Conversely the radius
// that lands it at height y is R(y) = (y^2 + c^2) / (2 (c cos t - y sin t)),
// c = 80 - d, and the angle that does for a given R is
// t(y) = acos(sqrt(y^2 + c^2) / 2R) - atan2(y, c).
//
// Assumptions of the model:
// - Uniform magnetic field everywhere between source and wall, no fringe
//   field, no space charge, no collisions; the ions fly in the plane.
// - The source slit of width s1 lies along x: start positions d uniform in
//   [-s1/2, s1/2]. The energy spread dU is the full width of a UNIFORM
//   distribution of the acceleration voltage, U' in [U - dU/2, U + dU/2], so
//   a ray's radius is r sqrt(U'/U). The angular spread is uniform in
//   [-a, a] (a the half-angle). The three are independent.
// - The detector slit passes every ion whose first crossing of x = 100 lies
//   within [80 - s2/2, 80 + s2/2]; the slit has no depth. Ions that never
//   reach the wall are lost.
// - The current is sum(abundance * share): in the units of the lines'
//   abundances (percent of the strongest line), so a whole line passing
//   gives its abundance, as the classic detector's stick.
//
// How the share is computed: one spread is integrated in closed form with
// R(y) or t(y) above, which is exact: the energy (image 40 r dU / (U y) on
// the wall), or the angle (image 2 a r) when its image is more than twice
// the energy's and the window's. The start positions and the other spread
// are a fixed grid of rays at the midpoints of equal cells. A grid's comb
// of images is smoothed by the exact spread and the slit together, of width
// W = max(exact image, s2); the grid is made fine enough that its images lie
// at most W/32 apart (2 to 64 rays for the spread, 3 to 64 start
// positions), so each edge of a peak is placed to within W/64, about 1.5 %
// of the peak's width. Zero spreads and a zero source slit take one ray
// each.
//
// What broadens a peak, to first order at the slit (r = 80, y = 80):
//   mass         dy = 40 dm/m   (r/2 * dm/m, dy/dr = 1)
//   energy       dy = 40 dU/U   (same as the mass: r goes as sqrt(U m))
//   field        dy = -80 dB/B  (r goes as 1/B)
//   start angle  dy = -80 t     (dy/dt = -R): first order, so angular spread
//                               widens the image by 160 a; no direction focusing
//   source d     dy = -d^2/(2r) (dy/dd = (80 - r)/y = 0 at r = 80): second
//                               order only; a 2 mm source slit (d up to 0.3)
//                               shifts no ray by more than 0.3^2/160 = 0.00056
//                               units, 2 um, at the slit
// A field scan moves the image across the slit: the current against the mass
// in focus is the image (width w) convolved with the slit (s2), a trapezoid
// of half-height width max(w, s2) in y, i.e. FWHM = m max(w, s2) / 40 in m/z
// and m/dm = 40 / max(w, s2) (w = 40 dU/U + 160 a at most). Away from y = 80 (the plate) the source slit
// does widen a line, by s1 |80 - r| / y.
//
// The classic detector takes the line nearest r = 80 when |r - 80| < 1 (a
// 32-bit radius), the other lines never. A zero-width beam passes a slit 2
// chart units (6.67 mm) wide when r is in [R(79), R(81)] = [79.006, 81.006]:
// dy/dr = 1, so it is the classic window to 0.3 % of its width, but it sums
// every line in it. TDetectorKind::Classic reproduces the classic model
// exactly (with its nearest-line rule).
//
// The plate records every line at once at y(r), on a scale that is not
// linear in m/z. It is read as a densitometer would, through a window of the
// detector slit's width s2 moved along the wall: the dose at a height is the
// current that would pass a slit there (sum of abundance * share). The
// blackening D = 1 - exp(-dose/50) saturates (a whole line of 100 % gives
// 0.86, of 10 % 0.18); this is a modelling choice, not a law of any
// emulsion. The plate spans y = 2 to 100: lower, the
// paths graze the wall.

#include "analysis/SectorGeometry.h"
#include "support/SpectralLine.h"

#include <optional>
#include <vector>

enum class TDetectorKind { Classic, Slit, Plate };

struct TInstrumentSettings {
    double SourceSlit = 0.5;    // s1, mm (0.05 to 2)
    double DetectorSlit = 0.5;  // s2, mm (0.05 to 5); the plate's reading window
    double EnergySpread = 0;    // dU, V (0 to 100), full width of a uniform spread
    double AngularSpread = 0;   // a, mrad (0 to 10), half-angle of a uniform spread
    TDetectorKind Detector = TDetectorKind::Slit;
};

// The ranges the settings take, as the controls offer them.
constexpr double kSourceSlitLowest = 0.05, kSourceSlitHighest = 2;     // mm
constexpr double kDetectorSlitLowest = 0.05, kDetectorSlitHighest = 5; // mm
constexpr double kEnergySpreadHighest = 100;                           // V
constexpr double kAngularSpreadHighest = 10;                           // mrad

constexpr double kChartUnitsPerMm = 0.3;
constexpr double kSlitCentreY = 80;   // on the wall x = 100
constexpr double kPlateLowY = 2, kPlateHighY = 100;
constexpr double kPlateDoseScale = 50; // D = 1 - exp(-dose / kPlateDoseScale)

// One ray of a beam, as the deflection view draws it (chart units).
struct TBeamRay {
    double Offset = 0;      // d: start at (20 + d, 0)
    double Angle = 0;       // t, rad, from +y toward +x
    double EnergyRatio = 1; // U'/U
    double CentreX = 0, CentreY = 0, Radius = 0;
    std::optional<double> WallY; // first crossing of x = 100; none: never reaches it
};

struct TTraceSample {
    int FieldPosition = 0;  // 1..5000, B = position / 10000 T
    double MassInFocus = 0; // m/z on the slit centre, the classic model's
    double Current = 0;     // sum of abundance * share
};

struct TPeakWidth {
    double Mass = 0;           // midway between the half-height points
    double Fwhm = 0;           // in m/z
    double ResolvingPower = 0; // Mass / Fwhm
};

struct TPlateLine {
    double Mass = 0, Abundance = 0, Radius = 0;
    std::optional<double> Height; // y(r) of the central ray; none below r = 40
    bool Reaches = false;         // some ray of the beam reaches the wall
    double Low = 0, High = 0;     // where the beam's rays meet it, when Reaches
};

struct TPlateReading {
    double Height = 0, Mass = 0, Blackening = 0;
};

// The resolving power m/dm at half height that the first-order geometry
// above gives a slit or a plate: 40 / max(w, s2), w = 40 dU/U + 160 a the
// image of the spreads (chart units), s2 the slit or the plate's reading
// window. None for the classic detector or when both widths are 0.
std::optional<double> FirstOrderResolvingPower(const TInstrumentSettings& settings, int voltage);
// y(r) = sqrt(160 (r - 40)); none for r < 40.
std::optional<double> WallHeight(double radius);
// The m/z whose central ray meets the wall at `height`: r = height^2 / 160 + 40,
// m/z = (r / F)^2.
double MassAtHeight(double height, int voltage, int fieldPosition, double k);
// One ray of radius R.
TBeamRay TraceRay(double radius, double offset, double angle);
// The strongest peak of a trace (ascending field) and its width at half
// height, the crossings interpolated linearly between samples; none without
// a peak or when the trace ends above half height. The field steps by
// 0.1 mT, dm/m = 2 dB/B: a peak narrower than two steps (at 3000 V and
// m/z 130 about 0.15, R above some 850) reads as about one step wide.
std::optional<TPeakWidth> StrongestPeakWidth(const std::vector<TTraceSample>& trace);

class TSectorInstrument {
public:
    // voltage in V, k as for the classic model. Settings outside their
    // ranges are the caller's to refuse; negative ones count as 0.
    TSectorInstrument(const TInstrumentSettings& settings, int voltage, double k);

    const TInstrumentSettings& Settings() const { return settings_; }
    // The slit's aperture on the wall, chart units.
    double SlitLow() const { return kSlitCentreY - halfSlit_; }
    double SlitHigh() const { return kSlitCentreY + halfSlit_; }

    // The share (0..1) of a beam of central radius r (chart units) that the
    // detector takes: through the slit, or 1/0 by the classic rule. For the
    // plate, the share its reading window takes at the slit's place.
    double Share(double radius) const;
    double LineShare(double mass, int fieldPosition) const;
    // The detector current at a field position: sum(abundance * share) with
    // the slit, the nearest line in focus with the classic detector.
    double Current(const std::vector<TSpectralLine>& lines, int fieldPosition) const;
    TTraceSample Sample(const std::vector<TSpectralLine>& lines, int fieldPosition) const;
    // The field stepped one position at a time from `from` to 5000.
    std::vector<TTraceSample> Scan(const std::vector<TSpectralLine>& lines, int from = 1) const;

    // The edges and the middle of a line's beam for drawing: the start
    // positions -s1/2, 0, s1/2, the energies U -+ dU/2 and U, the angles -a,
    // 0, a (each once when its width is 0), the central ray first.
    std::vector<TBeamRay> Rays(double mass, int fieldPosition) const;

    // Where each line's beam meets the wall at this field.
    std::vector<TPlateLine> PlateLines(const std::vector<TSpectralLine>& lines, int fieldPosition) const;
    // The blackening at a height, read through the window s2.
    double PlateBlackening(const std::vector<TSpectralLine>& lines, int fieldPosition, double height) const;
    // `readings` (>= 2) heights evenly from kPlateLowY to kPlateHighY. The
    // window is never narrower than the step, so no line falls between two
    // (and within 0.1 % of a whole number of steps it is made one).
    std::vector<TPlateReading> Plate(const std::vector<TSpectralLine>& lines, int fieldPosition, int readings) const;

private:
    enum class TExact { None, Energy, Angle };
    struct TRaySet {
        TExact Exact = TExact::None;
        std::vector<double> Offsets; // d of the start positions
        std::vector<double> Others;  // sampled angles (Exact None or Energy) or radius ratios sqrt(U'/U)
        std::vector<double> Cos, Sin, TanHalf; // of the sampled angles
    };
    TRaySet RaysFor(double radius, double window) const;
    double WindowShare(const TRaySet& rays, double radius, double low, double high) const;
    // shares[j]: the share of the beam landing between base and edges[j] (>= base).
    void SharesAbove(const TRaySet& rays, double radius, double base, const double* edges, double* shares,
                     size_t count) const;
    TPlateLine PlateLine(const TSpectralLine& line, double f) const;

    TInstrumentSettings settings_;
    int voltage_;
    double k_;
    double halfSlit_;      // s2 / 2, chart units
    double sourceSlit_;    // s1, chart units
    double energyHalf_;    // dU / 2U
    double angle_;         // a, rad
    TRaySet slitRays_;     // the rays for the slit, laid out at r = 80
    double reachLow_ = 0, reachHigh_ = 0; // central radii whose beam can touch the slit
};
