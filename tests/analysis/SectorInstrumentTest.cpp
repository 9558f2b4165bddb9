// The instrument with real slits and beams against the circle geometry
// worked by hand: the first-order shifts at the slit, the share through it,
// peak widths from whole scans, xenon's neighbours, the reach of the field
// and the plate.
#include "analysis/SectorInstrument.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// 2 u / e as the classic model has it.
const double kK = 3.32108e-27 / 1.602e-19;

TInstrumentSettings Settings(double sourceMm, double slitMm, double energyV, double angleMrad = 0)
{
    TInstrumentSettings s;
    s.SourceSlit = sourceMm;
    s.DetectorSlit = slitMm;
    s.EnergySpread = energyV;
    s.AngularSpread = angleMrad;
    return s;
}

// The FWHM in m/z of one line of mass 130 scanned at 3000 V.
double Fwhm(const TInstrumentSettings& s)
{
    const std::vector<TSpectralLine> line = {{130, 100}};
    const auto w = StrongestPeakWidth(TSectorInstrument(s, 3000, kK).Scan(line));
    return w ? w->Fwhm : -1;
}

} // namespace

// At r = 80 the circle centred at (100, 0) meets the wall at y = 80.
// y(r) = sqrt(160 (r - 40)) has dy/dr = 80 / y = 1 there, so:
// - mass or energy +0.1 %: r = 80 sqrt(1.001) = 80.03999, dy = 0.03998
//   (first order 40 * 0.001 = 0.04);
// - field +0.1 %: r = 80 / 1.001, dy = -0.07996 (first order -80 * 0.001);
// - start angle t: centre (20 + 80 cos t, -80 sin t), y = -80 sin t +
//   sqrt(6400 - 6400 (1 - cos t)^2) = -80 t to within 1e-7 at t = 1 mrad;
// - source offset d = -+0.3 (1 mm): centre (100 + d, 0), y = sqrt(6400 - d^2),
//   dy = -0.09 / 160 = -0.0005625 both ways: no first-order term.
TEST(SectorInstrument, FirstOrderShiftsAtTheSlit)
{
    struct Row {
        const char* cause;
        double radius, offset, angle;
        double dy, tolerance;
    };
    const Row rows[] = {
        {"mass or energy +0.1 %", 80 * std::sqrt(1.001), 0, 0, 0.04, 3e-5},
        {"field +0.1 %", 80 / 1.001, 0, 0, -0.08, 5e-5},
        {"angle +1 mrad", 80, 0, 1e-3, -0.08, 1e-6},
        {"angle -1 mrad", 80, 0, -1e-3, 0.08, 1e-6},
        {"offset +1 mm", 80, 0.3, 0, -0.0005625, 1e-8},
        {"offset -1 mm", 80, -0.3, 0, -0.0005625, 1e-8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cause);
        const TBeamRay ray = TraceRay(r.radius, r.offset, r.angle);
        ASSERT_TRUE(ray.WallY);
        EXPECT_NEAR(*ray.WallY - 80, r.dy, r.tolerance);
    }
    // A circle of radius below 40 turns back before the wall.
    EXPECT_FALSE(TraceRay(39.9, 0, 0).WallY);
}

TEST(SectorInstrument, ShareThroughTheSlit)
{
    // Slit half-widths in chart units: 5 mm -> 0.75, 0.5 mm -> 0.075.
    // Images at 3000 V: 100 V -> 40 * 100 / 3000 = 1.3333 wide; 5 mrad ->
    // 160 * 0.005 = 0.8. A uniform image wider than the slit passes
    // slit / image: 0.15 / 1.3333 = 0.1125, 0.15 / 0.8 = 0.1875; both
    // together make a trapezoid flat within +-0.267 at 1 / 1.3333, so 0.1125.
    // A 2-unit slit (6.6667 mm) and a zero-width beam: y(79.003) = 78.9967
    // (out), y(79.01) = 79.0038 (in), y(81.003) = 80.9968 (in), y(81.01) =
    // 81.0037 (out), where the classic rule |r - 80| < 1 takes 79.003, not
    // 81.003: the window is shifted by 0.006.
    TInstrumentSettings classic;
    classic.Detector = TDetectorKind::Classic;
    struct Row {
        const char* what;
        TInstrumentSettings settings;
        double radius, share;
    };
    const Row rows[] = {
        {"narrow beam, wide slit, centred", Settings(0.05, 5, 10), 80, 1},
        {"narrow beam, wide slit, 3 units off", Settings(0.05, 5, 10), 83, 0},
        {"energy spread", Settings(0.05, 0.5, 100), 80, 0.1125},
        {"angular spread", Settings(0.05, 0.5, 0, 5), 80, 0.1875},
        {"both spreads and a wide source", Settings(2, 0.5, 100, 5), 80, 0.1125},
        {"2-unit slit, r 79.003", Settings(0, 2 / 0.3, 0), 79.003, 0},
        {"2-unit slit, r 79.01", Settings(0, 2 / 0.3, 0), 79.01, 1},
        {"2-unit slit, r 81.003", Settings(0, 2 / 0.3, 0), 81.003, 1},
        {"2-unit slit, r 81.01", Settings(0, 2 / 0.3, 0), 81.01, 0},
        {"classic, r 79.003", classic, 79.003, 1},
        {"classic, r 81.003", classic, 81.003, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_NEAR(TSectorInstrument(r.settings, 3000, kK).Share(r.radius), r.share, 2e-4);
    }
}

// The closed forms and the ray grid against the beam traced ray by ray, 40
// start positions x 40 energies x 40 angles, off the centre too.
TEST(SectorInstrument, ShareAgreesWithRaysTracedOneByOne)
{
    const TInstrumentSettings rows[] = {Settings(2, 1, 100, 5), Settings(2, 0.2, 20, 8), Settings(2, 5, 100, 10)};
    for (const TInstrumentSettings& s : rows) {
        const TSectorInstrument instrument(s, 3000, kK);
        const double d = s.SourceSlit * 0.3, e = s.EnergySpread / 6000, a = s.AngularSpread / 1000;
        for (const double radius : {79.2, 79.9, 80.3, 80.7}) {
            SCOPED_TRACE(testing::Message() << s.DetectorSlit << " mm, " << s.EnergySpread << " V, r " << radius);
            constexpr int n = 40;
            int in = 0;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    for (int l = 0; l < n; ++l) {
                        const auto y = TraceRay(radius * std::sqrt(1 - e + (j + 0.5) * 2 * e / n), -d / 2 + (i + 0.5) * d / n,
                                                -a + (l + 0.5) * 2 * a / n).WallY;
                        in += y && *y >= instrument.SlitLow() && *y < instrument.SlitHigh();
                    }
            EXPECT_NEAR(instrument.Share(radius), double(in) / (n * n * n), 2e-3);
        }
    }
}

// A field scan slides the image (width w) across the slit (s2): a trapezoid
// of half-height width max(w, s2) in y, and since dy = 40 dm/m at r = 80,
// FWHM = 130 max(w, s2) / 40 in m/z. Slits in chart units are 0.3 per mm;
// energy images 40 dU / 3000, angle images 160 a.
// - s2 of 1..5 mm with 15 V (w = 0.2 < 0.3): FWHM = 130 * 0.3 s2 / 40 = 0.975 s2;
// - 40..100 V with s2 = 0.5 mm (0.15 < w = 0.53): FWHM = 130 dU / 3000;
// - 2..10 mrad with s2 = 0.5 mm (w = 0.32 .. 1.6): FWHM = 130 * 0.16 a / 40 = 0.52 a.
// The small spread in the first makes the edges ramps a few samples wide, so
// that linear interpolation between samples finds them.
TEST(SectorInstrument, PeakWidthGrowsWithTheSlitAndTheSpreadsAsTheGeometrySays)
{
    struct Series {
        const char* what;
        std::vector<double> values;
        TInstrumentSettings (*settings)(double);
        double slope; // FWHM per unit of the value
    };
    const Series series[] = {
        {"detector slit, mm", {1, 2, 3, 4, 5}, [](double v) { return Settings(0.05, v, 15); }, 0.975},
        {"energy spread, V", {40, 60, 80, 100}, [](double v) { return Settings(0.05, 0.5, v); }, 130.0 / 3000},
        {"angular spread, mrad", {2, 4, 6, 8, 10}, [](double v) { return Settings(0.05, 0.5, 0, v); }, 0.52},
    };
    for (const Series& s : series) {
        SCOPED_TRACE(s.what);
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (const double v : s.values) {
            const double w = Fwhm(s.settings(v));
            EXPECT_NEAR(w, s.slope * v, 0.01 * s.slope * v) << v;
            sx += v, sy += w, sxx += v * v, sxy += v * w;
        }
        const double n = double(s.values.size());
        EXPECT_NEAR((n * sxy - sx * sy) / (n * sxx - sx * sx), s.slope, 0.02 * s.slope);
    }
    // The source slit is second order: 2 mm widens the 0.65 peak (w = 0.2)
    // by nothing measurable; were it first order like an angle, 0.6 units
    // would make it 130 * 0.6 / 40 = 1.95.
    const double narrow = Fwhm(Settings(0.05, 0.5, 15)), wide = Fwhm(Settings(2, 0.5, 15));
    EXPECT_NEAR(narrow, 0.65, 0.005);
    EXPECT_NEAR(wide, narrow, 1e-3 * narrow);
}

// Xenon at 3000 V: neighbours 1 u apart stand 40 / 130 = 0.31 units apart
// on the wall. 0.1 mm slits (0.03 units) and no spread leave a clean gap;
// 2 mm slits and 100 V make every line 1.33 + 0.6 units wide at the base.
TEST(SectorInstrument, XenonSeparatesWithNarrowSlitsAndMergesWithWideOnes)
{
    const std::vector<TSpectralLine> xenon = {{124, 0.354}, {126, 0.331}, {128, 7.1},   {129, 98.11}, {130, 15.13},
                                              {131, 78.91}, {132, 100},   {134, 38.78}, {136, 32.92}};
    for (const auto& [settings, separate] : {std::pair{Settings(0.1, 0.1, 0), true}, std::pair{Settings(2, 2, 100), false}}) {
        const std::vector<TTraceSample> trace = TSectorInstrument(settings, 3000, kK).Scan(xenon);
        // The trace's highest current within 0.2 u of a mass, and the lowest
        // between two masses.
        const auto extreme = [&](double from, double to, bool highest) {
            double v = highest ? 0 : 1e9;
            for (const TTraceSample& s : trace)
                if (s.MassInFocus >= from && s.MassInFocus <= to)
                    v = highest ? std::max(v, s.Current) : std::min(v, s.Current);
            return v;
        };
        for (const double m : {129, 130, 131}) {
            SCOPED_TRACE(testing::Message() << settings.DetectorSlit << " mm, " << m << " and " << m + 1);
            const double lower = std::min(extreme(m - 0.2, m + 0.2, true), extreme(m + 0.8, m + 1.2, true));
            EXPECT_EQ(extreme(m, m + 1, false) < lower / 2, separate);
        }
    }
}

TEST(SectorInstrument, StrongestPeakWidthInterpolatesTheHalfHeight)
{
    // Peak 10 at 100.5; half 5 is crossed between (100.2, 3) and (100.3, 7)
    // at 100.25 and between (100.6, 8) and (100.7, 4) at 100.675: FWHM 0.425
    // about 100.4625, R = 236.4.
    const double currents[] = {0, 1, 3, 7, 9, 10, 8, 4, 1, 0, 0};
    std::vector<TTraceSample> trace;
    for (int i = 0; i < 11; ++i)
        trace.push_back({1000 + i, 100 + i * 0.1, currents[i]});
    const auto w = StrongestPeakWidth(trace);
    ASSERT_TRUE(w);
    EXPECT_NEAR(w->Fwhm, 0.425, 1e-9);
    EXPECT_NEAR(w->Mass, 100.4625, 1e-9);
    EXPECT_NEAR(w->ResolvingPower, 100.4625 / 0.425, 1e-6);
    // A peak that runs off the trace, and no peak.
    EXPECT_FALSE(StrongestPeakWidth({trace.begin() + 4, trace.end()}));
    EXPECT_FALSE(StrongestPeakWidth({{1, 1, 0}, {2, 2, 0}}));
}

// m/z = e B^2 r^2 / (2 U u) with e = 1.602e-19 C, u = 1.66054e-27 kg (the
// model's 2u = 3.32108e-27), r = 80 / 300 m: at 0.5 T and 3000 V
// 1.602e-19 * 0.25 * 0.0711111 / (6000 * 1.66054e-27) = 285.8508, at 8000 V
// 107.1940; at 0.1 mT B^2 is (1e-4 / 0.5)^2 = 4e-8 of that: 1.143403e-5
// and 4.287762e-6.
TEST(SectorInstrument, ReachableRange)
{
    for (const auto& [volts, low, high] : {std::tuple{3000, 1.143403e-5, 285.8508}, std::tuple{8000, 4.287762e-6, 107.1940}}) {
        const TMassRange range = ReachableMasses(volts, kK);
        EXPECT_NEAR(range.Low, low, low * 1e-6) << volts;
        EXPECT_NEAR(range.High, high, high * 1e-6) << volts;
    }
}

// At 3000 V and 0.5 T, F = sqrt(3000 * 2.0730836e-8 / 0.25) * 300 = 4.731734:
// mass 100 has r = 47.31734, y = sqrt(160 * 7.31734) = 34.2166; mass 200 has
// r = 66.91682, y = 65.6254. Away from y = 80 the source slit widens a line
// by s1 (80 - r) / y: with 1 mm (0.3), 30 V and 2 mrad the beam of mass 100
// covers 40 r dU / (U y) + 2 a r + 0.3 (80 - r) / y
// = 0.5531 + 0.1893 + 0.2866 = 1.0290 units.
TEST(SectorInstrument, PlateRecordsTheLinesWhereTheirCirclesMeetTheWall)
{
    const TSectorInstrument plate(Settings(1, 0.5, 30, 2), 3000, kK);
    const std::vector<TSpectralLine> lines = {{100, 50}, {200, 100}};
    const std::vector<TPlateLine> hits = plate.PlateLines(lines, 5000);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_NEAR(*hits[0].Height, 34.2166, 1e-4);
    EXPECT_NEAR(*hits[1].Height, 65.6254, 1e-4);
    EXPECT_NEAR(hits[0].High - hits[0].Low, 1.0290, 0.01);
    EXPECT_NEAR(MassAtHeight(34.2166, 3000, 5000, kK), 100, 1e-3);

    // At a line's centre the window (0.15) takes window / energy image of
    // it, the energy image being the widest, flat at its middle: mass 100
    // 0.15 / 0.553 of 50 %, D = 1 - exp(-13.56 / 50) = 0.238; mass 200
    // (40 * 66.92 * 30 / (3000 * 65.63) = 0.408 against 0.268 + 0.060)
    // 0.15 / 0.408 of 100 %, D = 1 - exp(-36.8 / 50) = 0.521.
    EXPECT_NEAR(plate.PlateBlackening(lines, 5000, 34.2166), 0.238, 0.01);
    EXPECT_NEAR(plate.PlateBlackening(lines, 5000, 65.6254), 0.521, 0.01);

    // Every reading is the plate read at its height through the 0.5 mm
    // window: with 1000 readings (0.098 apart) and with 1308 (0.075 apart,
    // half the window: the readings share their windows' edges). Between the
    // lines the plate stays clear.
    for (const int n : {1000, 1308})
        for (const TPlateReading& r : plate.Plate(lines, 5000, n)) {
            ASSERT_NEAR(r.Blackening, plate.PlateBlackening(lines, 5000, r.Height), 1e-3) << n << " at " << r.Height;
            if (r.Height > 36 && r.Height < 64) {
                ASSERT_EQ(r.Blackening, 0) << r.Height;
            }
        }
}

// The first-order promise, by hand: m/dm = 40 / max(w, s2) in chart units
// (0.3 per mm), w = 40 dU/U + 160 a.
TEST(SectorInstrument, FirstOrderResolvingPower)
{
    struct Case {
        TInstrumentSettings Settings;
        int Voltage;
        double Power; // 0: none
    };
    const Case cases[] = {
        {{.DetectorSlit = 0.1, .Detector = TDetectorKind::Slit}, 5000, 40 / 0.03},             // the slit alone
        {{.DetectorSlit = 0.05, .EnergySpread = 100, .Detector = TDetectorKind::Slit}, 5000, 50}, // w = 40 * 0.02 = 0.8
        {{.DetectorSlit = 0.05, .AngularSpread = 10, .Detector = TDetectorKind::Plate}, 3000, 25}, // w = 160 * 0.01 = 1.6
        {{.DetectorSlit = 0.1, .Detector = TDetectorKind::Classic}, 5000, 0},
    };
    for (const Case& c : cases) {
        const std::optional<double> power = FirstOrderResolvingPower(c.Settings, c.Voltage);
        if (c.Power == 0) {
            EXPECT_FALSE(power);
        } else {
            ASSERT_TRUE(power);
            EXPECT_NEAR(*power, c.Power, 1e-9 * c.Power);
        }
    }
}
