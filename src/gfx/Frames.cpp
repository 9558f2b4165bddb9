#include "gfx/Frames.h"

TReliefColors ReliefColors(TColorScheme scheme)
{
    if (scheme == csSystem)
        return {clBtnShadow, clBtnHighlight};
    return {0x808080, 0xFFFFFF};
}

void DrawRectOutline(Canvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x1, y2);
    canvas.LineTo(x2, y2);
    canvas.LineTo(x2, y1);
    canvas.LineTo(x1, y1);
}

void DrawFrame(Canvas& canvas, int style, int left, int top, int right, int bottom,
               TColor highlight, TColor face, TColor shadow, TColor dark, TColor line)
{
    TColor a, b, c, d;
    switch (style) {
    case fsSimple:
        canvas.Pen.Color = line;
        DrawRectOutline(canvas, left, top, right, bottom);
        return;
    case fsLowered: a = shadow; b = highlight; c = dark; d = face; break;
    case fsRaised: a = highlight; b = dark; c = face; d = shadow; break;
    case fsEmbossed: a = highlight; b = shadow; c = shadow; d = highlight; break;
    case fsEngraved: a = shadow; b = highlight; c = highlight; d = shadow; break;
    default: return; // fsNone and unknown values
    }
    // Two one-pixel rings; each line leaves out its end pixel, so the outer
    // ring's bottom-left corner ends in colour b.
    canvas.Pen.Color = a;
    canvas.MoveTo(left, bottom);
    canvas.LineTo(left, top);
    canvas.LineTo(right + 1, top);
    canvas.MoveTo(right, top + 1);
    canvas.Pen.Color = b;
    canvas.LineTo(right, bottom);
    canvas.LineTo(left - 1, bottom);

    canvas.Pen.Color = c;
    canvas.MoveTo(left + 1, bottom - 1);
    canvas.LineTo(left + 1, top + 1);
    canvas.LineTo(right, top + 1);
    canvas.MoveTo(right - 1, top + 2);
    canvas.Pen.Color = d;
    canvas.LineTo(right - 1, bottom - 1);
    canvas.LineTo(left, bottom - 1);
}

TColor MixColors(TColor c0, TColor c1, double fraction)
{
    if (fraction > 1)
        fraction = 1;
    if (fraction < 0)
        fraction = 0;
    auto channel = [&](int shift) {
        const int a = int((c0 >> shift) & 0xFF);
        const int b = int((c1 >> shift) & 0xFF);
        return TColor(int(a + (b - a) * fraction) & 0xFF);
    };
    return (channel(0) | (channel(8) << 8) | (channel(16) << 16)) & 0xFFFFFFu;
}
