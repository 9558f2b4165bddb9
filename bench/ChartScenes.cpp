#include "ChartScenes.h"

#include <cmath>
#include <random>

namespace {

// The 16 standard layer colours: the mixed scene changes colour at every item.
constexpr TColor kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                                 0xC0C0C0, 0x0000FF, 0x00C000, 0x00C0C0, 0xFF0000, 0xFF00FF, 0xC0C000, 0x404040};

} // namespace

QString SceneName(SceneKind kind)
{
    switch (kind) {
    case SceneKind::Lines: return QStringLiteral("lines");
    case SceneKind::Circles: return QStringLiteral("circles");
    case SceneKind::Marks: return QStringLiteral("marks");
    case SceneKind::Mixed: return QStringLiteral("mixed");
    }
    return {};
}

Scene MakeScene(SceneKind kind, int n)
{
    Scene s{kind, {}};
    s.Items.reserve(size_t(n));
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> pos(0, 100), step(-10, 10);
    std::uniform_int_distribution<int> radius(2, 12);
    for (int i = 0; i < n; ++i) {
        ItemShape shape = kind == SceneKind::Lines     ? ItemShape::Line
                          : kind == SceneKind::Circles ? ItemShape::Circle
                          : kind == SceneKind::Marks   ? ItemShape::Mark
                                                       : ItemShape(i % 3);
        const TColor color = kind == SceneKind::Mixed ? kPalette[i % 16]
                             : shape == ItemShape::Line   ? 0x800000
                             : shape == ItemShape::Circle ? 0x0000C0
                                                          : 0x008000;
        SceneItem it{shape, pos(rng), pos(rng), 0, 0, 0, color};
        if (shape == ItemShape::Line) {
            // Short segments in every direction, like sticks and path pieces.
            it.X2 = it.X1 + step(rng);
            it.Y2 = it.Y1 + step(rng);
        } else if (shape == ItemShape::Circle) {
            // Round on the screen: the same radius in pixels on both axes.
            it.Radius = radius(rng);
            it.X2 = it.Radius * 100.0 / kDataWidth;
            it.Y2 = it.Radius * 100.0 / kDataHeight;
        }
        s.Items.push_back(it);
    }
    return s;
}

QPoint ScenePixel(double x, double y)
{
    return {int(std::lrint(kDataLeft + x * kDataWidth / 100.0)),
            int(std::lrint(kDataTop + kDataHeight - y * kDataHeight / 100.0))};
}
