#include "app/SectorField.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(SectorField, ReferenceValues)
{
    const double k = SectorFieldConstant();
    EXPECT_NEAR(k, 2.0731e-8, 1e-12);
    struct Row { int U, Bp; double F, focus; };
    const Row rows[] = {
        {5000, 1, 30543.2, 6.86e-6},
        {5000, 1000, 30.543, 6.860},
        {5000, 2000, 15.272, 27.44},
        {3000, 5000, 4.7317, 285.85},
        {8000, 5000, 7.7269, 107.19},
    };
    for (const Row& r : rows) {
        const TIonPaths p = ComputeIonPathModel(r.U, r.Bp, k, {});
        EXPECT_NEAR(p.F, r.F, r.F * 5e-5) << r.U << " " << r.Bp;
        EXPECT_NEAR(p.MassInFocus, r.focus, r.focus * 2e-4) << r.U << " " << r.Bp;
        EXPECT_EQ(p.Best, -1);
        EXPECT_FALSE(p.InFocus);
    }
}

namespace {

// A line whose path has radius r at 5000 V and field position 1000.
TSpectralLine LineOfRadius(double r, double abundance = 50)
{
    const double F = ComputeIonPathModel(5000, 1000, SectorFieldConstant(), {}).F;
    return {std::pow(r / F, 2), abundance};
}

TIonPaths Model(const std::vector<TSpectralLine>& lines)
{
    return ComputeIonPathModel(5000, 1000, SectorFieldConstant(), lines);
}

} // namespace

TEST(SectorField, StraightPathsAboveTheLimit)
{
    const TIonPaths p = Model({LineOfRadius(5000), LineOfRadius(5000.01), LineOfRadius(30)});
    EXPECT_FALSE(p.Paths[0].Straight);
    EXPECT_TRUE(p.Paths[1].Straight);
    EXPECT_FALSE(p.Paths[2].Straight);
    EXPECT_NEAR(p.Paths[2].Radius, 30, 1e-4);
}

TEST(SectorField, FocusWithinOneUnitOfTheDetectorRadius)
{
    struct Row { double r; bool inFocus; };
    const Row rows[] = {{79.2, true}, {80.9, true}, {80, true}, {79.0, false}, {81.0, false}, {200, false}};
    for (const Row& row : rows) {
        const TIonPaths p = Model({LineOfRadius(row.r)});
        EXPECT_EQ(p.InFocus, row.inFocus) << row.r;
        EXPECT_EQ(p.Best, 0);
    }
    // equally near: the earlier (fainter) line wins; a strictly nearer later one wins
    EXPECT_EQ(Model({LineOfRadius(79.5, 1), LineOfRadius(80.5, 90)}).Best, 0);
    EXPECT_EQ(Model({LineOfRadius(79.4, 1), LineOfRadius(80.5, 90)}).Best, 1);
    const TIonPaths none = Model({});
    EXPECT_EQ(none.Best, -1);
    EXPECT_NEAR(none.MassInFocus, 6.860, 1e-3);
}
