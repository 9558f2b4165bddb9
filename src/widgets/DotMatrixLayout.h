#pragma once
// Geometry of the dot-matrix label, as plain functions: character advance,
// text width, the centred start position and the height that fits one line.

#include "gfx/Frames.h"
#include "widgets/CharRaster.h"

#include <QByteArray>

// Pixels of the frame on each side: 0, 1 or 2 by style.
int DotFrameWidth(TFrameStyle style);

// The first and last column drawn of a character: its own bounds when
// proportional, else the cell of the widest glyph.
int FirstColumn(const TCharRaster& raster, unsigned char code, bool proportional);
int LastColumn(const TCharRaster& raster, unsigned char code, bool proportional);

// How far x moves after a character: its columns plus one pitch of gap.
int CharAdvance(const TCharRaster& raster, unsigned char code, bool proportional, int pitch);

// The width that centring uses: the sum of the advances (at most
// kMaxDotTextWidth).
constexpr int kMaxDotTextWidth = 1 << 28;
int DotTextWidth(const TCharRaster& raster, const QByteArray& text, bool proportional, int pitch);

// PosX that centres a text of textWidth in a control of controlWidth.
int CenteredPosX(int controlWidth, int textWidth, int frameWidth);

// The control height that holds exactly one line.
int FittedHeight(int frameWidth, int pitch, int glyphHeight);
