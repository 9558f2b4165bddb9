#pragma once
// Painting of the numeric label into its off-screen picture: the background,
// the texts left and right of the box, the framed box and the number in it.

#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "gfx/Frames.h"

#include <QString>

struct TNumLabLook {
    int LeftSpace = 35;
    int LabelWidth = 80;
    TAlignment Alignment = taCenter;
    TAlignment LeftTextAlignment = taRightJustify;
    TAlignment RightTextAlignment = taLeftJustify;
    TFrameStyle Frame = fsLowered;
    TColor LabBakG = clBtnFace;
    TColor LabText = clBlack;
    TColor OutBakG = clBtnFace;
    TColor OutText = clBlack;
    TColor Dark = kFrameDark;
    TColor Shadow = 0x808080;
    TColor Highlight = 0xFFFFFF;
    TFont Font;
};

struct TNumLabContent {
    QString LeftText;
    QString RightText;
    bool ShowNumber = true;  // false: the box stays empty
    QString Number;
    bool MayOverflow = true; // a number too wide for the box becomes the indicator
    QString OverflowIndicator;
};

// The characters whose height places every text of the label.
QString NumLabSampleText();

// Paints the whole canvas.
void PaintNumLab(Canvas& canvas, const TNumLabLook& look, const TNumLabContent& content);
