#include "widgets/DotMatrixPaint.h"

#include "widgets/DotMatrixLayout.h"

#include <algorithm>
#include <initializer_list>

namespace {

void Fill(Canvas& c, TColor color, int left, int top, int right, int bottom)
{
    c.Brush = TBrush{color, bsSolid};
    c.FillRect(left, top, right, bottom);
}

// The gaps between the dots, in the background colour, aligned with the
// text's dots so that lit and unlit dots form one grid.
void PaintGaps(Canvas& c, const TDotMatrixLook& look, int x, int y)
{
    const int w = c.Width(), h = c.Height();
    const int p = look.Pitch(), gap = look.DotSpacing;
    if (gap <= 0)
        return;
    const int oy = y % p, ox = x % p; // the remainder keeps the dividend's sign
    for (int b = 0; b <= h / p + 1; ++b) {
        const int bottom = oy + b * p;
        Fill(c, look.Background, 0, bottom - gap, w, bottom);
    }
    for (int b = 0; b <= w / p + 1; ++b) {
        const int right = ox + b * p;
        Fill(c, look.Background, right - gap, 0, right, h);
    }
}

void PaintFrame(Canvas& c, const TDotMatrixLook& look)
{
    const int w = c.Width(), h = c.Height();
    auto line = [&c](TColor color, std::initializer_list<QPoint> pts) {
        c.Pen.Color = color;
        const QPoint* p = pts.begin();
        c.MoveTo(p->x(), p->y());
        for (++p; p != pts.end(); ++p)
            c.LineTo(p->x(), p->y());
    };
    c.Pen = TPen{};
    switch (look.Frame) {
    case fsSimple:
        c.Pen.Color = look.Shadow;
        DrawRectOutline(c, 0, 0, w - 1, h - 1);
        break;
    case fsLowered:
        line(look.Dark, {{1, h - 3}, {1, 1}, {w - 2, 1}});
        line(look.Highlight, {{2, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
        c.Pen.Color = look.Shadow;
        DrawRectOutline(c, 0, 0, w - 2, h - 2);
        break;
    case fsRaised:
        line(look.Highlight, {{1, h - 3}, {1, 1}, {w - 2, 1}});
        line(look.Dark, {{0, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
        c.Pen.Color = look.Shadow;
        DrawRectOutline(c, 0, 0, w - 2, h - 2);
        break;
    case fsEmbossed:
    case fsEngraved: {
        const bool embossed = look.Frame == fsEmbossed;
        c.Pen.Color = embossed ? look.Shadow : look.Highlight;
        DrawRectOutline(c, 1, 1, w - 1, h - 1);
        c.Pen.Color = embossed ? look.Highlight : look.Shadow;
        DrawRectOutline(c, 0, 0, w - 2, h - 2);
        break;
    }
    default:
        break;
    }
}

} // namespace

int PaintDotMatrix(Canvas& c, const TDotMatrixLook& look, const TCharRaster& raster,
                   const QByteArray& text, int x0, int y0)
{
    const int w = c.Width(), h = c.Height();
    const int p = look.Pitch();
    const bool framed = look.Frame != fsNone;

    // The few border pixels that no frame line reaches show the background
    // rather than whatever the picture held before.
    if (framed)
        Fill(c, look.Background, 0, 0, w, h);
    const TColor base = look.BlockMode != rdbmOff ? look.DotOff : look.Background;
    if (framed)
        Fill(c, base, 1, 1, w - 1, h - 1);
    else
        Fill(c, base, 0, 0, w, h);
    if (look.BlockMode != rdbmOff)
        PaintGaps(c, look, x0, y0);

    const bool blocks = look.BlockMode == rdbmOn;
    c.Brush = TBrush{look.DotOn, bsSolid};
    long long x = x0;
    if (blocks)
        Fill(c, look.Background, int(x - p), 0, int(x), h);
    for (const char ch : text) {
        const auto code = static_cast<unsigned char>(ch);
        const int first = FirstColumn(raster, code, look.Proportional);
        const int last = LastColumn(raster, code, look.Proportional);
        const long long advance = p + (last - first + 1) * p;
        // Characters outside the picture only move x on.
        if (x < w && x + advance > 0 && y0 < h) {
            c.Brush.Color = look.DotOn;
            for (int r = 0; r < raster.Height; ++r) {
                const std::uint32_t row = raster.Rows[code][r];
                if (!row)
                    continue;
                const int dy = y0 + r * p;
                for (int col = first; col <= last; ++col) {
                    if (!((row >> col) & 1u))
                        continue;
                    const int dx = int(x) + (col - first) * p;
                    if (look.DotSize == 1) {
                        c.SetPixel(dx, dy, look.DotOn);
                    } else {
                        c.FillRect(dx, dy, dx + look.DotSize, dy + look.DotSize);
                    }
                }
            }
        }
        x += advance;
        if (blocks && x - p < w && x > 0)
            Fill(c, look.Background, int(x - p), 0, int(x), h);
    }
    PaintFrame(c, look);
    const long long width = x - x0 + 1;
    return int(std::min<long long>(width, kMaxDotTextWidth + 1));
}
