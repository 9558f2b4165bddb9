#pragma once
// The seven standard chart layouts: margins, chart caption placement and the
// axes of layers 1..4.

#include "chart/ChartTypes.h"
#include "gfx/Alignment.h"
#include "scale/ScaleTypes.h"

#include <array>

struct TLayoutAxis {
    bool Visible = false;
    bool FarSide = false; // top for x axes, right for y axes
    int CaptionPosX = 10, CaptionPosY = 100;
    TAlignment CaptionAlignment = taCenter;
    TScaleUnitAnchor CaptionAnchor = uaSclCenter;
    int ScalePos = 0;
};

// The layers whose axes a layout places; the others' axes are only hidden.
constexpr int kLayoutLayers = 4;

struct TLayoutSettings {
    int MarginLeft, MarginRight, MarginTop, MarginBottom;
    int CaptionPosX, CaptionPosY;
    TAlignment CaptionAlignment;
    TCaptionAnchorHoriz CaptionAnchorHoriz;
    TCaptionAnchorVert CaptionAnchorVert;
    std::array<TLayoutAxis, kLayoutLayers> X; // layers 1..4
    std::array<TLayoutAxis, kLayoutLayers> Y;
};

TLayoutSettings StandardLayoutSettings(TrcLayout layout);
