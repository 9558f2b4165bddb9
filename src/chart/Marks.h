#pragma once
// The symbols that mark single data points in a chart.

#include "gfx/Canvas.h"

#include <cstdint>

// Draws mark symbol markType centred on the pixel (x, y), in the canvas's pen
// colour.
//
// Only the low 8 bits of markType count (the display list stores a byte).
// 0..47 are small fixed shapes, a handful of pixels across: crosses, squares,
// diamonds, circles, triangles and a few others. On a printer canvas the
// shapes that are single-pixel patterns on the screen are drawn with lines.
// 48..255 draw the character with that Windows-1252 code, centred, in the
// canvas's font, in the pen colour and without a background box.
//
// The canvas comes back as it was except that the brush style is solid after
// any symbol that draws a closed shape, and the pixels of course; the pen
// position is kept, so a mark does not disturb relative drawing.
void DrawMark(Canvas& canvas, int markType, int x, int y);

// The 7 x 7 screen pattern of a mark drawn as single pixels (one byte per row
// from the top, bit 6 the leftmost pixel, centred on the point), or null for
// the marks drawn otherwise.
const std::uint8_t* ScreenMarkGlyph(int markType);
