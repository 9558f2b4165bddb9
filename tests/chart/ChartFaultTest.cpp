// Chart items with offsets as large as an int (relative moves, 3-D depths,
// arrow heads): found by fuzzing the chart, kept here so they stay mended.
// The sums used to overflow; they are now kept inside the drawing range like
// every other position, so the picture shows what the item asks for.
#include "chart/RChart.h"

#include <gtest/gtest.h>

namespace {

struct Chart {
    TRChart c;
    Chart()
    {
        c.SetControlBounds(0, 0, 300, 200);
        c.SetLayerRange(1, 0, 100, 0, 100);
        c.show();
    }
    TColor Data(int x, int y) const { return c.DataBitmap().GetPixel(x, y); }
    QPoint Pixel(double x, double y) const
    {
        int px, py;
        c.WorldToPixel(1, x, y, px, py);
        return {px - c.MarginLeft(), py - c.MarginTop()};
    }
};

} // namespace

TEST(ChartFault, ARelativeDrawAsLongAsAnIntRunsToTheEdgeItPointsAt)
{
    const struct {
        double dx, dy;
        int stepX, stepY;
    } cases[] = {
        {2147483647.0, 0, 1, 0},
        {-2147483648.0, 0, -1, 0},
        {0, 2147483647.0, 0, 1},
        {0, -1e300, 0, -1},
    };
    for (const auto& k : cases) {
        Chart ch;
        ch.c.SetDataColor(clRed);
        ch.c.AddMoveTo(50, 50);
        ch.c.AddDrawRel(k.dx, k.dy);
        ch.c.RenderChart();
        const QPoint centre = ch.Pixel(50, 50);
        for (int i = 1; i < 20; ++i) {
            EXPECT_EQ(ch.Data(centre.x() + i * k.stepX, centre.y() + i * k.stepY), clRed) << k.dx << " " << k.dy << " " << i;
            EXPECT_NE(ch.Data(centre.x() - i * k.stepX, centre.y() - i * k.stepY), clRed) << k.dx << " " << k.dy << " " << i;
        }
    }
}

TEST(ChartFault, HugeDepthsAndArrowHeadsDrawWithoutOverflow)
{
    Chart ch;
    ch.c.SetDataColor(clBlack);
    ch.c.SetFillColor(clLime);
    ch.c.AddBar3D(40, 20, 60, 60, 45, 2147483647);
    ch.c.AddBar3D(40, 20, 60, 60, 135, -2147483647);
    ch.c.AddArrow(10, 90, 30, 90, 2147483647);
    ch.c.RenderChart();
    // The front face of the bar is there, filled.
    const QPoint inside = ch.Pixel(50, 40);
    EXPECT_EQ(ch.Data(inside.x(), inside.y()), clLime);
}
