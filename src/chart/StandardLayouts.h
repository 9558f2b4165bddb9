#pragma once
// The seven standard chart layouts: margins, chart caption placement and the
// axes of layers 1..4.

#include "chart/ChartTypes.h"
#include "scale/ScaleTypes.h"
#include "gfx/Alignment.h"

#include <array>

struct TLayoutAxis {
    bool Visible = false;
    bool FarSide = false; // top for x axes, right for y axes
    int CaptionPosX = 10, CaptionPosY = 100;
    TAlignment CaptionAlignment = taCenter;
    TScaleUnitAnchor CaptionAnchor = uaSclCenter;
    int ScalePos = 0;
};

struct TLayoutSettings {
    int MarginLeft, MarginRight, MarginTop, MarginBottom;
    int CaptionPosX, CaptionPosY;
    TAlignment CaptionAlignment;
    TCaptionAnchorHoriz CaptionAnchorHoriz;
    TCaptionAnchorVert CaptionAnchorVert;
    std::array<TLayoutAxis, 4> X; // layers 1..4
    std::array<TLayoutAxis, 4> Y;
};

TLayoutSettings StandardLayoutSettings(TrcLayout layout);
