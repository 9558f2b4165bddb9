// Scales in states their setters allow but that make no sense for the
// labels: found by fuzzing the tick passes, kept here so they stay mended.
#include "scale/Scale.h"
#include "scale/DateTimeLabels.h"
#include "scale/ScaleLabels.h"

#include <gtest/gtest.h>
#include <limits>

TEST(ScaleFault, LogarithmicDecimalsOfARangeThatReachesZero)
{
    // A logarithmic scale whose low end was set to 0 after it was switched
    // on: 0 has no decade, so the labels fall back to scientific notation
    // instead of a decimal count from log10(0).
    EXPECT_EQ(AutoDecimalsLog(-2, 10, 0), -1);
    EXPECT_EQ(AutoDecimalsLog(-2, 10, -0.0), -1);
    EXPECT_EQ(AutoDecimalsLog(-2, 10, 0.5), 1); // a positive bound keeps its rule

    TScale s;
    s.SetRangeLow(1);
    s.SetRangeHigh(1000);
    s.SetLogarithmic(true);
    s.SetRangeLow(0);
    s.PaintNow(); // must not compute anything from log10(0)
    EXPECT_LE(s.NumTicks(), 50);
}

TEST(ScaleFault, TimeLabelsGiveWayWhereTheValuesOutgrowTheStep)
{
    struct NullPainter : TTickPainter {
        int labels = 0;
        void DrawTick(double, bool) override {}
        void TickDrawn(double) override {}
        void PlaceLabel(double, const QString&) override { ++labels; }
        void PlaceDateLine(double, const QString&) override {}
        void PlaceMessage(double, const QString&, const QStringList&) override {}
    };
    const struct {
        double low, high;
        bool timeLabels;
    } cases[] = {
        {0, 3600, true},
        {1e5, 1e5 + 0.01, true},  // a day in milliseconds: still clock times
        {1e15 + 1, 1e15, false},  // a second, 30 million years out: numbers
        {1e12, 1e12 + 0.001, false},
    };
    for (const auto& c : cases) {
        TScaleSettings in;
        in.RangeLow = c.low;
        in.RangeHigh = c.high;
        in.MinTicks = 2;
        in.LabelType = ftTime;
        TTickRecord record;
        NullPainter painter;
        EXPECT_EQ(TimeTickPass(in, record, painter), c.timeLabels) << c.low;
        // Before, the far ones labelled up to 100,000 ticks beyond the range.
        EXPECT_LE(painter.labels, 20) << c.low;
    }
}

TEST(ScaleFault, AMessageAtAPixelFarOffDrawsWithoutOverflow)
{
    // An ftDateTime scale whose both ends are the largest real (the setters'
    // "+ 1" cannot part them there) is invalid; its message goes to the mid
    // value, infinite, which the mapping sends beyond the 32-bit range.
    // Drawn positions are kept within +-30000.
    TScale s;
    s.resize(87, 38);
    s.SetMarginLeft(0);
    s.SetMarginRight(32);
    s.SetMarginTop(0);
    s.SetMarginBottom(0);
    s.SetLabelType(ftDateTime);
    s.SetRangeLow(std::numeric_limits<double>::max());
    s.SetRangeHigh(100);
    s.SetRangeHigh(std::numeric_limits<double>::max());
    s.PaintNow();
    EXPECT_EQ(s.NumTicks(), 0);
}
