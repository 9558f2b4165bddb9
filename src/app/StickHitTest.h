#pragma once
// Which stick of the recorded spectrum the mouse points at, worked out in
// pixels without a window. The small sticks beside a strong line are one to
// five pixels tall and one pixel wide, too small to aim at, so a stick
// answers a few columns either side of it and a few rows above its top.
//
//     // carbon monoxide's 28 and 29, six columns apart, on the axis at row 190
//     std::vector<TStickSpot> spots = {{{28, 100}, 180, 190, 20}, {{29, 1.15}, 186, 190, 188}};
//     StickAt(spots, 187, 185);   // mass 29: one column off, three rows above its top
//     StickAt(spots, 183, 150);   // mass 28: 29 is as near, but its top is far below
//     StickAt(spots, 186, 170);   // none

#include "app/SectorField.h"

#include <optional>
#include <vector>

// How far from a stick the pointer still points at it: columns either side
// of it, and rows above its top.
constexpr int kStickReachSideways = 3;
constexpr int kStickReachAbove = 4;

// One stick as the chart shows it: the line it stands for, and its pixels in
// the chart control (rows grow downwards): its column X, the row of the axis
// it stands on (Base) and the row of its top (Top, at most Base).
struct TStickSpot {
    TSpectralLine Stick;
    int X = 0;
    int Base = 0;
    int Top = 0;
};

// The stick the pointer at (x, y) points at: one whose column is at most
// kStickReachSideways away and whose rows, from kStickReachAbove above its
// top down to its base, hold y. Of several, the one with the nearest column;
// of equally near ones the first. None when no stick is that near.
std::optional<TStickSpot> StickAt(const std::vector<TStickSpot>& spots, int x, int y);
