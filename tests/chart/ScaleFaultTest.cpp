// Scales in states their setters allow but that make no sense for the
// labels: found by fuzzing the tick passes, kept here so they stay mended.
#include "chart/Scale.h"
#include "chart/ScaleLabels.h"

#include <gtest/gtest.h>

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
