#pragma once
// Painting of the dot-matrix label into its off-screen picture: unlit dots,
// the gaps between them, the lit dots of the text and the frame.

#include "gfx/Canvas.h"
#include "gfx/Frames.h"
#include "widgets/CharRaster.h"

#include <QByteArray>
#include <cstdint>

// How unlit dots are shown: not at all, everywhere with a background column
// between characters, or everywhere as one even grid.
enum TRDBlockMode : std::uint8_t { rdbmOff, rdbmOn, rdbmRaster };

struct TDotMatrixLook {
    int DotSize = 3;
    int DotSpacing = 1;
    bool Proportional = true;
    TRDBlockMode BlockMode = rdbmOn;
    TColor DotOn = 0x00FF00;
    TColor DotOff = 0x404040;
    TColor Background = clBlack;
    TFrameStyle Frame = fsLowered;
    TColor Dark = kFrameDark;
    TColor Shadow = 0x808080;
    TColor Highlight = 0xFFFFFF;

    int Pitch() const { return DotSize + DotSpacing; }
};

// Paints the whole canvas with the text's first dot at (x, y). Returns the
// text's pixel width as drawn (the sum of the advances plus one).
int PaintDotMatrix(Canvas& canvas, const TDotMatrixLook& look, const TCharRaster& raster,
                   const QByteArray& text, int x, int y);
