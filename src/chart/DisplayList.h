#pragma once
// The chart's display list: an ordered array of drawing items, each holding
// its geometry in world units of one layer, its kind and a copy of the drawing
// attributes current when it was added.

#include "gfx/Canvas.h"
#include "gfx/Frames.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

enum TItemKind : std::uint8_t {
    ikMark = 1,
    ikLine = 2,
    ikDrawTo = 3,
    ikRectangle = 4,
    ikFramedBox = 5,
    ikBar3D = 6,
    ikText = 7,
    ikMoveTo = 8,
    ikEllipse = 9,
    ikMoveRel = 12,
    ikDrawRel = 13,
    ikArrow = 14,
};

constexpr int kItemTextLength = 17;
constexpr int kKindCounters = 15;

struct TChartItem {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    TColor Color = 0;
    TColor FillColor = 0;
    TColor FrameDarkColor = 0;
    TColor FrameLightColor = 0;
    TPenStyle PenStyle = psSolid;
    std::int32_t Tag = 0;
    std::int32_t LineWidth = 1;
    std::uint8_t ItemClass = 0;
    std::uint8_t Kind = 0;
    std::int32_t Layer = 1;
    bool Transparent = false;
    TFrameStyle FrameStyle = fsNone;
    // A short text of at most 17 characters (kind ikText).
    std::uint8_t TextLength = 0;
    char16_t Text[kItemTextLength] = {};
    std::int32_t Size = 0;
    std::int32_t Depth = 0;
    std::uint8_t MarkType = 0;

    QString TextString() const { return QString(reinterpret_cast<const QChar*>(Text), TextLength); }
    void SetText(const QString& s);
};

// The list storage; charts that share data hold the same store.
struct TItemStore {
    std::vector<TChartItem> Items; // size() is the capacity
    int ItemCount = 0;
    int NewItemsFrom = 0;
    std::array<int, kKindCounters> KindCount{};

    int Capacity() const { return int(Items.size()); }
    // Appends one item of the kind, growing the array by allocSize when full,
    // and counts it; returns it for the caller to fill in.
    TChartItem& Append(int allocSize, TItemKind kind);
    void Clear();
};
