#include "scale/LabelPlacement.h"
#include "scale/ScaleLabels.h"
#include "scale/ScaleMapping.h"
#include "scale/TickPass.h"
#include "scale/TickSpacing.h"
#include "RecordingPainter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TScaleSettings Range(double low, double high, int minTicks, int decPlaces = -2)
{
    TScaleSettings in;
    in.RangeLow = low;
    in.RangeHigh = high;
    in.MinTicks = minTicks;
    in.DecPlaces = decPlaces;
    return in;
}

std::vector<double> Near(std::vector<double> v)
{
    for (double& x : v)
        x = std::nearbyint(x * 1e9) / 1e9;
    return v;
}

} // namespace

TEST(TickSpacing, LargestOneTwoFiveStepThatFitsMinTicksTimes)
{
    struct Row { int minTicks; double low, high, first, distance; int sub; };
    const Row rows[] = {
        {3, 0, 100, 0, 20, 4},
        {3, 0, 10, 0, 2, 4},
        {5, 0, 1, 0, 0.1, 5},     // quotient exactly 0.2 takes the next smaller step
        {5, 0, 100, 0, 10, 5},    // quotient exactly 20
        {4, 0, 1, 0, 0.2, 4},
        {2, 0, 10, 0, 5, 5},       // exactly 5: the constant log10 5 lies just below, so 5 is kept
        {10, 0, 10, 0, 1, 5},     // quotient exactly 10^0 takes 10^0
        {3, 100, 0, 100, -20, 4}, // reversed: negative distance, first at the high end
        {3, -7, 13, -5, 5, 5},
        {3, 0.5, 0.8, 0.5, 0.1, 5},
    };
    for (const Row& r : rows) {
        const TTickSpacing s = CalcTickSpacing(r.minTicks, r.low, r.high);
        SCOPED_TRACE(testing::Message() << r.minTicks << " " << r.low << ".." << r.high);
        EXPECT_NEAR(s.FirstTick, r.first, 1e-12);
        EXPECT_NEAR(s.Distance, r.distance, 1e-12);
        EXPECT_EQ(s.SubIntervals, r.sub);
    }
    const TTickSpacing same = CalcTickSpacing(3, 7, 7);
    EXPECT_EQ(same.Distance, 0);
    EXPECT_EQ(same.FirstTick, 7);
    EXPECT_EQ(same.SubIntervals, 1);
}

TEST(TickPass, LinearMainTicksAndLabels)
{
    struct Row { double low, high; int minTicks, decPlaces; std::vector<double> ticks; QStringList labels; };
    const Row rows[] = {
        {0, 100, 3, -2, {0, 20, 40, 60, 80, 100}, {"0", "20", "40", "60", "80", "100"}},
        {0, 10, 3, -2, {0, 2, 4, 6, 8, 10}, {"0.0", "2.0", "4.0", "6.0", "8.0", "10.0"}},
        {0, 1, 5, -2, {0, .1, .2, .3, .4, .5, .6, .7, .8, .9, 1},
         {"0.00", "0.10", "0.20", "0.30", "0.40", "0.50", "0.60", "0.70", "0.80", "0.90", "1.00"}},
        {100, 0, 3, -2, {100, 80, 60, 40, 20, 0}, {"100", "80", "60", "40", "20", "0"}},
        {0, 100, 3, 1, {0, 20, 40, 60, 80, 100}, {"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}},
        {0, 3e6, 3, -2, {0, 1e6, 2e6, 3e6}, {"0.0", " 1.0E+06", " 2.0E+06", " 3.0E+06"}},
        {-7, 13, 3, 0, {-5, 0, 5, 10}, {"-5", "0", "5", "10"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.low << ".." << r.high << " MinTicks " << r.minTicks);
        RecordingPainter p;
        TTickRecord rec;
        LinearTickPass(Range(r.low, r.high, r.minTicks, r.decPlaces), rec, p);
        EXPECT_EQ(Near(p.Values('M')), Near(r.ticks));
        EXPECT_EQ(p.Texts('L'), r.labels);
    }
}

TEST(TickPass, LinearShortTicksAndWhatIsRecorded)
{
    // 0..100, step 20 with 4 sub-intervals: short ticks every 5 from 0 to 100.
    TScaleSettings in = Range(0, 100, 3);
    RecordingPainter p;
    TTickRecord rec;
    LinearTickPass(in, rec, p);
    EXPECT_EQ(p.Values('S').size(), 21u);
    EXPECT_EQ(p.Values('S').front(), 0);
    EXPECT_EQ(p.Values('S').back(), 100);
    EXPECT_EQ(rec.Count(), 21); // horizontal with short ticks: the short ticks only
    EXPECT_EQ(rec.Value(2), 5);

    in.ScaleType = sctYL; // vertical: short and main ticks
    TTickRecord vrec;
    RecordingPainter vp;
    LinearTickPass(in, vrec, vp);
    EXPECT_EQ(vrec.Count(), 27);
    EXPECT_EQ(vrec.Value(22), 0);
    EXPECT_EQ(vrec.Value(27), 100);

    in.ScaleType = sctXB;
    in.ShortTicks = false;
    TTickRecord mrec;
    RecordingPainter mp;
    LinearTickPass(in, mrec, mp);
    EXPECT_TRUE(mp.Values('S').empty());
    EXPECT_EQ(mrec.Count(), 6);
    EXPECT_EQ(mrec.Value(6), 100);
    EXPECT_EQ(mrec.Value(7), 0.0); // outside the record
    EXPECT_EQ(mrec.Value(0), 0.0);

    // every drawn tick is followed by its event, the label comes after it
    ASSERT_GE(mp.calls.size(), 3u);
    EXPECT_EQ(mp.calls[0].kind, 'M');
    EXPECT_EQ(mp.calls[1].kind, 'E');
    EXPECT_EQ(mp.calls[2].kind, 'L');
}

TEST(TickPass, RecordStopsAtFiftyButEveryTickIsDrawn)
{
    // Step 100 with 5 sub-intervals over 0..1000: 51 short ticks.
    RecordingPainter p;
    TTickRecord rec;
    LinearTickPass(Range(0, 1000, 10), rec, p);
    EXPECT_EQ(p.Values('S').size(), 51u);
    EXPECT_EQ(rec.Count(), 50);
    EXPECT_EQ(rec.Value(50), 980);
}

TEST(TickPass, LogarithmicDecadesAndMantissas)
{
    TScaleSettings in = Range(1, 1000, 3);
    in.Logarithmic = true;
    RecordingPainter sparse;
    TTickRecord r1;
    EXPECT_TRUE(LogTickPass(in, r1, sparse));
    EXPECT_EQ(Near(sparse.Values('M')), (std::vector<double>{1, 10, 100, 1000}));
    EXPECT_TRUE(sparse.Values('S').empty());
    EXPECT_EQ(sparse.Texts('L'), (QStringList{"1", "10", "100", "1000"}));

    in.MinTicks = 4; // 4 > 3 + 0.5: the mantissas 2..9 too
    RecordingPainter dense;
    TTickRecord r2;
    LogTickPass(in, r2, dense);
    EXPECT_EQ(Near(dense.Values('M')), (std::vector<double>{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}));
    EXPECT_EQ(dense.Values('S').size(), 18u);
    EXPECT_EQ(dense.Values('E').size(), 28u);
    EXPECT_EQ(r2.Count(), 28);

    in.ShortTicks = false; // short ticks are neither drawn nor recorded, but still reported
    RecordingPainter quiet;
    TTickRecord r3;
    LogTickPass(in, r3, quiet);
    EXPECT_TRUE(quiet.Values('S').empty());
    EXPECT_EQ(quiet.Values('E').size(), 28u);
    EXPECT_EQ(r3.Count(), 10);

    TScaleSettings narrow = Range(2, 15, 3); // less than a decade: linear instead
    narrow.Logarithmic = true;
    RecordingPainter none;
    TTickRecord r4;
    EXPECT_FALSE(LogTickPass(narrow, r4, none));
    EXPECT_TRUE(none.calls.empty());
    NumericTickPass(narrow, r4, none);
    EXPECT_EQ(Near(none.Values('M')), (std::vector<double>{2, 4, 6, 8, 10, 12, 14}));
}

TEST(TickPass, LogarithmicLabelTexts)
{
    struct Row { double low, high; int minTicks, decPlaces; QStringList labels; };
    const Row rows[] = {
        {0.01, 100, 3, -3, {"-2", "-1", "0", "1", "2"}},
        {0.01, 100, 10, -3, {"-2", "", "", "-1", "", "", "0", "", "", "1", "", "", "2"}},
        {0.01, 100, 3, -2, {"0.01", "0.1", "1", "10", "100"}}, // trailing zeros removed
        {0.01, 100, 3, 2, {"0.01", "0.10", "1.00", "10.00", "100.00"}},
        {1, 1e7, 3, -2, {" 1.0E+00", " 1.0E+01", " 1.0E+02", " 1.0E+03", " 1.0E+04", " 1.0E+05", " 1.0E+06", " 1.0E+07"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.low << ".." << r.high << " dec " << r.decPlaces);
        TScaleSettings in = Range(r.low, r.high, r.minTicks, r.decPlaces);
        in.Logarithmic = true;
        RecordingPainter p;
        TTickRecord rec;
        LogTickPass(in, rec, p);
        EXPECT_EQ(p.Texts('L'), r.labels);
    }
}

TEST(TickPass, UserTextsAndInscriptsOnLabels)
{
    TScaleSettings in = Range(0, 100, 4); // 25 -> step 20: six labels
    in.LabelType = ftUserText;
    in.UserTickText = "A|B|C";
    in.ScaleInscript = "ignored ";
    RecordingPainter p;
    TTickRecord rec;
    LinearTickPass(in, rec, p);
    EXPECT_EQ(p.Texts('L'), (QStringList{"A", "B", "C", "C", "C", "C"}));

    in.LabelType = ftNum;
    in.ScaleInscript = "&%";
    RecordingPainter q;
    LinearTickPass(in, rec, q);
    EXPECT_EQ(q.Texts('L').first(), "0%");
    EXPECT_EQ(q.Texts('L').last(), "100%");

    in.LabelType = ftNoFigs;
    RecordingPainter r;
    LinearTickPass(in, rec, r);
    EXPECT_TRUE(r.Texts('L').isEmpty());
    EXPECT_EQ(r.Values('M').size(), 6u);
}

TEST(ScaleLabels, UserTickItemAndInscript)
{
    struct Item { const char* text; int index; const char* want; };
    const Item items[] = {
        {"A|B|C", 1, "A"}, {"A|B|C", 3, "C"}, {"A|B|C", 5, "C"},
        {"A|B|", 3, ""}, {"A|B|", 7, ""}, {"", 2, ""}, {"one", 1, "one"},
    };
    for (const Item& i : items)
        EXPECT_EQ(UserTickItem(i.text, i.index), QString(i.want)) << i.text << " " << i.index;

    struct Deco { const char* label; const char* inscript; const char* want; };
    const Deco decos[] = {
        {"5", " kg", " kg5"}, {"5", "& kg", "5 kg"}, {"5", "$&", "$5"},
        {"5", "", "5"}, {"", "$&", ""}, {"5", "a&b&c", "a5b&c"},
    };
    for (const Deco& d : decos)
        EXPECT_EQ(ApplyInscript(d.label, d.inscript), QString(d.want)) << d.inscript;
}

TEST(ScaleLabels, NumberFormatsAndDecimals)
{
    struct Row { int decimals; double v; const char* want; };
    const Row rows[] = {
        {2, 3.14159, "3.14"}, {0, -5, "-5"}, {3, 1234.5, "1234.500"}, {0, 1e6, "1000000"},
        {-1, 1500, " 1.5E+03"}, {-1, -0.00015, "-1.5E-04"}, {-1, 0, " 0.0E+00"},
        {-1, 1e150, "********"}, {-1, 1e-120, "********"},
        {-3, 1500, " 1.5E+0003"}, {-3, 2.5e-150, " 2.5E-0150"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FormatTickNumber(1, r.decimals, r.v), QString(r.want)) << r.decimals << " " << r.v;

    struct Dec { int decPlaces; double high, low; int linear; };
    const Dec decs[] = {
        {-2, 10, 0, 1}, {-2, 1, 0, 2}, {-2, 0.1, 0, 3}, {-2, 0.01, 0, 4}, {-3, 100, 0, 0},
        {-2, 1e6, 0, -1}, {-2, 0.0001, 0, -1}, {-2, 0, 50, 0}, {3, 1e9, 0, 3}, {-1, 10, 0, -1},
    };
    for (const Dec& d : decs)
        EXPECT_EQ(AutoDecimalsLinear(d.decPlaces, d.high, d.low), d.linear) << d.decPlaces << " " << d.high;

    EXPECT_EQ(AutoDecimalsLog(-3, 100, 0.01), -3);
    EXPECT_EQ(AutoDecimalsLog(-2, 100, 0.01), 3);
    EXPECT_EQ(AutoDecimalsLog(-2, 1000, 1), 0);
    EXPECT_EQ(AutoDecimalsLog(-2, 1e7, 1), -1);
    EXPECT_EQ(AutoDecimalsLog(4, 1e7, 1), 4);

    // near-zero tick values are labelled as zero, never with a tiny exponent
    EXPECT_EQ(LinearTickText(1e-21, -0.00007, 0.00003, -1), " 0.0E+00");
    EXPECT_EQ(LinearTickText(5.55e-17, -0.7, 0.3, 2), "0.00");
    EXPECT_EQ(LinearTickText(1e-9, -1e6, 1e6, -1), "0.0");
    EXPECT_EQ(LinearTickText(1e-9, -1e6, 1e6, 0), "0");
    EXPECT_EQ(LinearTickText(123456789012.125, 0, 1e12, 3), "123456789012.1"); // cut to 14
}

TEST(TickPass, EveryPassEndsOnAnyRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double rows[][2] = {
        {nan, 1}, {0, nan}, {nan, nan}, {-inf, inf}, {0, inf}, {inf, 0}, {-1e308, 1e308},
        {1e300, 1e300 * 1.0000001}, {1e17, 1e17 + 64}, {0, 1e-300}, {5e-324, 1e-323}, {3, 3},
        {-1, 1e10}, {0, 1e10}, {-5, -1}, {1e-300, 1e300},
    };
    for (const auto& r : rows)
        for (bool log : {false, true})
            for (int minTicks : {2, 10})
                for (TScaleType type : {sctXB, sctYL}) {
                    TScaleSettings in = Range(r[0], r[1], minTicks);
                    in.Logarithmic = log;
                    in.ScaleType = type;
                    RecordingPainter p;
                    TTickRecord rec;
                    NumericTickPass(in, rec, p);
                    EXPECT_LE(rec.Count(), 50);
                    EXPECT_LT(p.calls.size(), 100000u) << r[0] << ".." << r[1];
                }
}

TEST(ScaleMapping, ValuesToPixels)
{
    TScaleGeometry g; // 400 x 400, margins 20, horizontal
    TScaleMapping m;
    m.Update(0, 100, false, g);
    EXPECT_EQ(m.ValueToPixel(0), 20);
    EXPECT_EQ(m.ValueToPixel(100), 379);
    EXPECT_EQ(m.ValueToPixel(50), 200); // 199.5 rounds to even

    g.ScaleType = sctYL; // vertical: high at the top margin, low at the bottom
    m.Update(0, 100, false, g);
    EXPECT_EQ(m.ValueToPixel(100), 20);
    EXPECT_EQ(m.ValueToPixel(0), 379);

    TScaleGeometry small{41, 10, 0, 0, 0, 0, sctXB}; // span 40 over 0..80: half a pixel per unit
    m.Update(0, 80, false, small);
    EXPECT_EQ(m.ValueToPixel(1), 0);  // 0.5 -> 0
    EXPECT_EQ(m.ValueToPixel(3), 2);  // 1.5 -> 2
    EXPECT_EQ(m.ValueToPixel(5), 2);  // 2.5 -> 2
    EXPECT_EQ(m.ValueToPixel(1e300), 2147483647);
    EXPECT_EQ(m.ValueToPixel(-1e300), -2147483647);

    g.ScaleType = sctXB;
    m.Update(1, 1000, true, g);
    EXPECT_EQ(m.ValueToPixel(1), 20);
    EXPECT_EQ(m.ValueToPixel(1000), 379);
    EXPECT_EQ(m.ValueToPixel(10), 140); // a third of 359 past the margin: 139.67
    EXPECT_EQ(m.ValueToPixel(0), 0);
    EXPECT_EQ(m.ValueToPixel(-3), 0);
    m.Update(-1, 1000, true, g); // not both positive: the mapping stays
    EXPECT_EQ(m.ValueToPixel(1000), 379);
    m.Update(1000, 1, true, g);
    EXPECT_EQ(m.ValueToPixel(0), 400); // reversed: values at or below 1e-100 go to the far end

    TScaleGeometry none{30, 30, 20, 20, 20, 20, sctXB}; // no room: everything in the middle
    m.Update(0, 1, false, none);
    EXPECT_EQ(m.ValueToPixel(0.3), 15);
}

TEST(LabelPlacement, FourScaleTypesAndTheEdges)
{
    struct Row { TScaleType type; int along, across, w, h, zeroH, ctrlW; QPoint want; };
    const Row rows[] = {
        {sctXB, 200, 379, 20, 13, 13, 400, {190, 359}},   // centred, 7 px above the line
        {sctXT, 200, 20, 20, 13, 13, 400, {190, 27}},
        {sctYL, 150, 20, 30, 13, 12, 400, {28, 144}},     // 8 px right, centred on "0"
        {sctYR, 150, 79, 30, 13, 12, 100, {41, 144}},
        {sctXB, 5, 379, 20, 13, 13, 400, {2, 359}},       // never left of x = 2
        {sctXB, 395, 379, 20, 13, 13, 400, {378, 359}},   // right edge: width - 2*half - 2
        {sctXB, 388, 379, 21, 13, 13, 400, {378, 359}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(LabelTopLeft(r.type, r.along, r.across, r.w, r.h, r.zeroH, r.ctrlW), r.want)
            << int(r.type) << " at " << r.along;

    EXPECT_EQ(TickEnd(sctXB, {50, 379}, false), QPoint(50, 375));
    EXPECT_EQ(TickEnd(sctXB, {50, 379}, true), QPoint(50, 372));
    EXPECT_EQ(TickEnd(sctXT, {50, 20}, true), QPoint(50, 27));
    EXPECT_EQ(TickEnd(sctYL, {20, 50}, true), QPoint(26, 50));
    EXPECT_EQ(TickEnd(sctYR, {79, 50}, false), QPoint(75, 50));
}
