#pragma once
// The scenes every chart benchmark draws, our chart and its peers alike: a
// chart the size of the simulation's spectrum chart (641 x 217, data area
// 571 x 157 pixels at (50, 20)) over 0..100 on both axes, with N items of
// one kind or of mixed kinds.

#include "gfx/Color.h"

#include <QPoint>
#include <QString>
#include <vector>

enum class SceneKind { Lines, Circles, Marks, Mixed };
enum class ItemShape { Line, Circle, Mark };

struct SceneItem {
    ItemShape Shape;
    double X1, Y1; // line start, circle centre, mark point (world units)
    double X2, Y2; // line end; for circles the half-axes in world units
    int Radius;    // circles: the radius in pixels the half-axes make
    TColor Color;
};

struct Scene {
    SceneKind Kind;
    std::vector<SceneItem> Items;
};

constexpr int kChartWidth = 641, kChartHeight = 217;
constexpr int kDataLeft = 50, kDataTop = 20, kDataWidth = 571, kDataHeight = 157;
// The marks are 7 x 7 filled squares (mark symbol 9).
constexpr int kMarkSymbol = 9, kMarkSize = 7;

QString SceneName(SceneKind kind);
// The same items for the same kind and count on every run.
Scene MakeScene(SceneKind kind, int n);
// World point to chart pixel, rounded as the chart rounds.
QPoint ScenePixel(double x, double y);
