#pragma once
// TScaleSettings: what an axis shows, as one plain value. A stand-alone TScale
// holds one; a chart keeps one per axis in its TScaleProps and hands it to the
// axis it draws with in one assignment; the tick passes read it. A new axis
// setting is a field here, a property of TScale and TScaleProps, and nothing
// more. (The date and time label settings are the TDTLabel object each of them
// owns; the frame, background and margins of a stand-alone scale are its own.)

#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "scale/ScaleTypes.h"

#include <QString>

struct TScaleSettings {
    double RangeLow = 0;
    double RangeHigh = 100;
    bool Logarithmic = false;
    int MinTicks = 3;   // 2..10 as the setters leave it
    int DecPlaces = -2; // -3..12 as the setters leave it
    bool ShortTicks = true;
    TFigType LabelType = ftNum;
    QString UserTickText;
    QString ScaleInscript;
    TScaleType ScaleType = sctXB;

    QString Caption;
    int CaptionPosX = 4;
    int CaptionPosY = 4;
    TAlignment CaptionAlignment = taCenter;
    TScaleUnitAnchor CaptionAnchor = uaSclTopLft;
    TColor ColorScale = clBlack;
    TFont Font; // of the labels and the caption
    bool Visible = true;

    bool operator==(const TScaleSettings&) const = default;
};
