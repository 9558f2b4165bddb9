#pragma once
// Frames around a component's client area, the relief colours of the two
// colour schemes, and the linear blend of two colours.

#include "gfx/Canvas.h"
#include "gfx/Color.h"

#include <cstdint>

enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TColorScheme : std::uint8_t { csBWG, csSystem };

// Whether a stored number names a frame style or colour scheme (a window
// description may hold any number; the components keep their setting then).
inline bool IsFrameStyle(int v) { return v >= fsNone && v <= fsEngraved; }
inline bool IsColorScheme(int v) { return v == csBWG || v == csSystem; }

// The fixed frame colours that do not follow the colour scheme.
constexpr TColor kFrameDark = 0x000000;
constexpr TColor kFrameFace = 0xC0C0C0;

struct TReliefColors {
    TColor Shadow;
    TColor Highlight;
};

// csBWG: grey and white; csSystem: the desktop's button shadow and highlight.
TReliefColors ReliefColors(TColorScheme scheme);

// Draws the frame of the style around the inclusive pixel rectangle
// left..right x top..bottom. Only the pen colour changes (to the last colour
// used); styles other than the six known ones draw nothing.
void DrawFrame(Canvas& canvas, int style, int left, int top, int right, int bottom,
               TColor highlight, TColor face, TColor shadow, TColor dark, TColor line);

// With the current pen: a closed outline through (x1, y1), (x1, y2), (x2, y2), (x2, y1).
void DrawRectOutline(Canvas& canvas, int x1, int y1, int x2, int y2);

// The colour the fraction (clamped to 0..1) of the way from c0 to c1, channel by
// channel, truncated; the top byte of both colours is ignored.
TColor MixColors(TColor c0, TColor c1, double fraction);
