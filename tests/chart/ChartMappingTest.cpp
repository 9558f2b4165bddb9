#include "chart/ChartMapping.h"
#include "chart/GridValues.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(ChartMapping, RangeEndsLandOnTheDataAreaEdges)
{
    const TChartGeometry g{400, 300, 50, 20, 20, 40, 5}; // data area x 50..375, y 20..255
    const TAxisMapping x = MapHorizontal(g, 0, 10, false);
    const TAxisMapping y = MapVertical(g, -1, 1, false);
    EXPECT_EQ(AxisToPixel(x, 0), 50);
    EXPECT_EQ(AxisToPixel(x, 10), 375);
    EXPECT_EQ(AxisToPixel(y, -1), 255);
    EXPECT_EQ(AxisToPixel(y, 1), 20);
    EXPECT_DOUBLE_EQ(AxisToWorld(x, 375), 10);
    EXPECT_DOUBLE_EQ(AxisToWorld(y, 20), 1);

    const TAxisMapping lx = MapHorizontal(g, 1, 1000, true);
    EXPECT_EQ(AxisToPixel(lx, 1), 50);
    EXPECT_EQ(AxisToPixel(lx, 1000), 375);
    EXPECT_NEAR(AxisToWorld(lx, AxisToPixel(lx, 10)), 10, 0.1);
    EXPECT_EQ(AxisToPixel(lx, 0), 0); // non-positive values go to the low end
    EXPECT_EQ(AxisToPixel(MapHorizontal(g, 1000, 1, true), -5), 400);
    const TAxisMapping ly = MapVertical(g, 1, 100, true);
    EXPECT_EQ(AxisToPixel(ly, 0), 300);
    EXPECT_EQ(AxisToPixel(MapVertical(g, 100, 1, true), 0), 0);

    // ties to even: 2 pixels per unit over 0..0.5 around a half
    const TChartGeometry h{12, 12, 1, 0, 0, 0, 0}; // Wd 11
    const TAxisMapping t = MapHorizontal(h, 0, 22, false); // half a pixel per unit
    EXPECT_EQ(AxisToPixel(t, 1), 2);  // 1.5 -> 2
    EXPECT_EQ(AxisToPixel(t, 3), 2);  // 2.5 -> 2
    EXPECT_EQ(AxisToPixel(t, 5), 4);  // 3.5 -> 4

    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(AxisToPixel(x, inf), 2147483647);
    EXPECT_EQ(AxisToPixel(x, -inf), -2147483647);
    EXPECT_EQ(AxisToPixel(x, std::nan("")), 0);
    EXPECT_EQ(ClampForDrawing(AxisToPixel(x, 1e300)), 30000);
    EXPECT_EQ(ClampForDrawing(-123456), -30000);

    const TChartGeometry none{100, 50, 60, 60, 30, 30, 0}; // no data area at all
    EXPECT_EQ(AxisToPixel(MapHorizontal(none, 0, 1, false), 0.7), 50);
    EXPECT_EQ(AxisToPixel(MapVertical(none, 0, 1, false), 0.7), 25);
}

TEST(GridValues, SpacingsAndDecadePatterns)
{
    struct Row { double low, high; bool log; double step; std::vector<double> want; };
    const Row rows[] = {
        {1, 1000, true, -2, {2, 5, 10, 20, 50, 100, 200, 500}},
        {1, 1000, true, -1, {1, 10, 100}},
        {0, 1, false, 0.25, {0, 0.25, 0.5, 0.75}},
        {-1, 1, false, -0.5, {-1, -0.5, 0, 0.5}}, // a linear axis takes |step|
        {0.3, 1, false, 0.25, {0.5, 0.75}},
        {0, 1, false, 0, {0}},                    // no ticks: from the low end, then the high end ends it
    };
    for (const Row& r : rows) {
        std::vector<double> got = GridValues(r.low, r.high, r.log, r.step, {});
        for (double& v : got)
            v = std::nearbyint(v * 1e9) / 1e9;
        EXPECT_EQ(got, r.want) << r.low << ".." << r.high << " step " << r.step;
    }
    std::vector<double> fine = GridValues(1, 1000, true, -3, {});
    ASSERT_EQ(fine.size(), 27u);
    EXPECT_NEAR(fine[8], 9, 1e-9);
    EXPECT_NEAR(fine[9], 10, 1e-9);
    EXPECT_NEAR(fine[26], 900, 1e-6);

    EXPECT_EQ(GridValues(0, 1, false, 0, {0.2, 0.4, 0.6}), (std::vector<double>{0.2, 0.4, 0.6}));
    EXPECT_EQ(GridValues(0, 1, false, 1e-9, {}).size(), 1000u); // stops at the limit
    EXPECT_TRUE(GridValues(1, 0, false, 0.1, {}).empty());
    EXPECT_TRUE(GridValues(0, std::numeric_limits<double>::infinity(), true, -2, {}).empty());
    EXPECT_LE(GridValues(0, 1e300, false, 1e-300, {}).size(), 1000u);
}
