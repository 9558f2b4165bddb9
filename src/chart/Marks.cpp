#include "chart/Marks.h"

#include "support/TextEncoding.h"

#include <array>
#include <cstdint>

namespace {

// 7 x 7 pixel glyphs, one byte per row from the top; bit 6 is the leftmost
// pixel. They give the smallest symbols a crisp, symmetric look on the screen
// that lines cannot (a one-pixel line leaves out its end pixel).
struct Glyph {
    int Symbol;
    std::array<std::uint8_t, 7> Rows;
};

constexpr std::array<Glyph, 8> kGlyphs = {{
    {1, {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00}},  // plus, 3 across
    {2, {0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00}},  // plus, 5 across
    {3, {0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08}},  // plus, 7 across
    {4, {0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00}},  // diagonal cross, 3 across
    {5, {0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00}},  // diagonal cross, 5 across
    {6, {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41}},  // diagonal cross, 7 across
    {18, {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55}}, // checkerboard
    {25, {0x63, 0x77, 0x3E, 0x1C, 0x3E, 0x77, 0x63}}, // bold diagonal cross
}};

void StampGlyph(Canvas& c, int symbol, int x, int y)
{
    const std::uint8_t* rows = ScreenMarkGlyph(symbol);
    if (!rows)
        return;
    for (int r = 1; r <= 7; ++r)
        for (int b = 0; b < 7; ++b)
            if (rows[r - 1] & (1u << b))
                c.SetPixel(x + 3 - b, y - 4 + r, c.Pen.Color);
}

void Line(Canvas& c, int x0, int y0, int x1, int y1)
{
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
}

void Lines(Canvas& c, std::initializer_list<QPoint> pts)
{
    c.Polyline(std::vector<QPoint>(pts));
}

// Filled shapes take the pen colour inside and out.
void FillWithPen(Canvas& c)
{
    c.Brush.Color = c.Pen.Color;
    c.Brush.Style = bsSolid;
}

// An open shape is drawn with a clear brush, which is left solid afterwards.
template <typename Draw>
void Open(Canvas& c, Draw draw)
{
    c.Brush.Style = bsClear;
    draw();
    c.Brush.Style = bsSolid;
}

// The triangles 33..47 come in pairs: the outline, then the same filled.
struct Triangle {
    int OpenSymbol;
    std::array<QPoint, 3> Corners; // offsets from the centre
};

constexpr std::array<Triangle, 6> kTriangles = {{
    {33, {QPoint(-4, -3), QPoint(0, 4), QPoint(4, -3)}},  // pointing down
    {35, {QPoint(-4, 3), QPoint(0, -4), QPoint(4, 3)}},   // pointing up
    {40, {QPoint(3, -2), QPoint(-2, 0), QPoint(3, 2)}},   // pointing left
    {42, {QPoint(4, -3), QPoint(-3, 0), QPoint(4, 3)}},   // pointing left
    {44, {QPoint(-3, -2), QPoint(2, 0), QPoint(-3, 2)}},  // pointing right
    {46, {QPoint(-4, -3), QPoint(3, 0), QPoint(-4, 3)}},  // pointing right
}};

std::vector<QPoint> Moved(std::initializer_list<QPoint> offsets, int x, int y)
{
    std::vector<QPoint> pts;
    for (const QPoint& o : offsets)
        pts.emplace_back(x + o.x(), y + o.y());
    return pts;
}

void DrawTriangle(Canvas& c, const Triangle& t, bool filled, int x, int y)
{
    const auto pts = Moved({t.Corners[0], t.Corners[1], t.Corners[2]}, x, y);
    if (filled) {
        FillWithPen(c);
        c.Polygon(pts);
    } else {
        Open(c, [&] { c.Polygon(pts); });
    }
}

// One dot of the printer's checkerboard. A wide printer pen makes a round dot
// of a zero-length line; a one-pixel pen would draw nothing that way, since a
// line leaves out its end pixel, so it sets the pixel instead.
void PrinterDot(Canvas& c, int x, int y)
{
    if (c.Pen.Width > 1)
        Line(c, x, y, x, y);
    else
        c.SetPixel(x, y, c.Pen.Color);
}

void DrawShape(Canvas& c, int m, int x, int y)
{
    const bool printer = c.IsPrinter();
    switch (m) {
    case 0:
        c.SetPixel(x, y, c.Pen.Color);
        return;
    case 1: case 2: case 3: {
        if (!printer)
            return StampGlyph(c, m, x, y);
        const int a = m + 1;
        Line(c, x - a, y, x + a, y);
        Line(c, x, y - a, x, y + a);
        return;
    }
    case 4: case 5: case 6: {
        if (!printer)
            return StampGlyph(c, m, x, y);
        const int a = m - 2;
        Line(c, x - a, y - a, x + a, y + a);
        Line(c, x - a, y + a, x + a, y - a);
        return;
    }
    case 7: case 8: case 9: {
        const int a = m - 6;
        FillWithPen(c);
        c.Rectangle(x - a, y - a, x + a + 1, y + a + 1);
        return;
    }
    case 10: case 11: case 12: {
        const int a = m - 9;
        Lines(c, {{x - a, y - a}, {x - a, y + a}, {x + a, y + a}, {x + a, y - a}, {x - a, y - a}});
        return;
    }
    case 13: case 14: case 15: {
        const int a = m - 12;
        FillWithPen(c);
        c.Polygon({{x - a, y}, {x, y + a}, {x + a, y}, {x, y - a}});
        return;
    }
    case 16: case 17: {
        const int a = m - 14;
        Open(c, [&] { c.Ellipse(x - a, y - a, x + a + 1, y + a + 1); });
        return;
    }
    case 18:
        if (!printer)
            return StampGlyph(c, m, x, y);
        for (int i = 1; i <= 7; ++i)
            for (int j = 1; j <= 7; ++j)
                if (i % 2 == j % 2)
                    PrinterDot(c, x + i - 4, y + j - 4);
        return;
    case 19:
        Lines(c, {{x - 3, y}, {x, y + 3}, {x + 3, y}, {x, y - 3}, {x - 3, y}});
        return;
    case 20: case 21: {
        const int a = m - 17;
        Line(c, x, y, x - a, y + a);
        Line(c, x, y, x + a, y + a);
        return;
    }
    case 22: case 23: {
        const int a = m - 19;
        Line(c, x, y, x - a, y - a);
        Line(c, x, y, x + a, y - a);
        return;
    }
    case 24:
        FillWithPen(c);
        c.Ellipse(x - 3, y - 3, x + 4, y + 4);
        return;
    case 25:
        if (!printer)
            return StampGlyph(c, m, x, y);
        Line(c, x - 3, y - 3, x + 3, y + 3);
        Line(c, x - 3, y - 2, x + 2, y + 3);
        Line(c, x - 2, y - 3, x + 3, y + 2);
        Line(c, x - 3, y + 3, x + 3, y - 3);
        Line(c, x - 3, y + 2, x + 2, y - 3);
        Line(c, x - 2, y + 3, x + 3, y - 2);
        return;
    case 26:
        FillWithPen(c);
        c.Ellipse(x - 2, y - 2, x + 3, y + 3);
        return;
    case 27:
        Open(c, [&] { c.Ellipse(x - 2, y - 2, x + 2, y + 2); });
        return;
    case 28:
        FillWithPen(c);
        c.Ellipse(x - 2, y - 2, x + 2, y + 2);
        return;
    case 29: case 30: case 31: case 32: {
        const int a = m <= 30 ? m - 27 : m - 29;
        const std::vector<QPoint> pts{{x - a, y}, {x, y + a}, {x + a, y}};
        if (m <= 30) {
            FillWithPen(c);
            c.Polygon(pts);
        } else {
            Open(c, [&] { c.Polygon(pts); });
        }
        return;
    }
    case 37:
        Line(c, x - 3, y, x + 4, y);
        Line(c, x, y, x, y - 8);
        return;
    case 38:
        Line(c, x - 3, y - 2, x + 4, y - 2);
        Line(c, x - 3, y + 2, x + 4, y + 2);
        Line(c, x, y - 2, x, y + 2);
        return;
    case 39:
        Open(c, [&] { c.Ellipse(x - 3, y - 3, x + 4, y + 4); });
        Line(c, x - 3, y, x + 4, y);
        Line(c, x, y - 3, x, y + 4);
        return;
    default:
        for (const Triangle& t : kTriangles) {
            if (m == t.OpenSymbol || m == t.OpenSymbol + 1)
                return DrawTriangle(c, t, m != t.OpenSymbol, x, y);
        }
        return;
    }
}

// A character mark: the letter stands for the point itself, so it takes the
// pen colour like every other mark and has no background box that would hide
// the data around it.
void DrawCharacter(Canvas& c, std::uint8_t code, int x, int y)
{
    const char byte = static_cast<char>(code);
    const QString text = DecodeText(QByteArrayView(&byte, 1), TTextEncoding::Windows1252);
    const int w = c.TextWidth(text);
    const int h = c.TextHeight(text);
    const TColor fontColor = c.Font.Color;
    const TBrushStyle brushStyle = c.Brush.Style;
    c.Font.Color = c.Pen.Color;
    c.Brush.Style = bsClear;
    c.TextOut(x - w / 2, y - h / 2, text);
    c.Font.Color = fontColor;
    c.Brush.Style = brushStyle;
}

} // namespace

const std::uint8_t* ScreenMarkGlyph(int markType)
{
    for (const Glyph& g : kGlyphs)
        if (g.Symbol == markType)
            return g.Rows.data();
    return nullptr;
}

void DrawMark(Canvas& canvas, int markType, int x, int y)
{
    const auto m = static_cast<std::uint8_t>(markType);
    const QPoint penPos = canvas.PenPos();
    if (m >= 48) {
        DrawCharacter(canvas, m, x, y);
    } else {
        const TColor brushColor = canvas.Brush.Color;
        DrawShape(canvas, m, x, y);
        canvas.Brush.Color = brushColor;
    }
    canvas.MoveTo(penPos.x(), penPos.y());
}
