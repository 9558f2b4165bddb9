#include "chart/ItemRaster.h"

#include "chart/Marks.h"
#include "gfx/Raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Boxes given right to left or bottom to top cover the same pixels.
void OrderCorners(int& left, int& top, int& right, int& bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
}

// Marks 7 to 9: filled squares of side 3, 5 and 7 on the screen.
bool IsSquareMark(int m) { return m >= 7 && m <= 9; }

} // namespace

TItemRaster::TItemRaster(Canvas& canvas) : canvas_(canvas)
{
    QImage& image = canvas.Image();
    if (image.isNull())
        return;
    bits_ = image.bits(); // detaches once, not once per pixel
    stride_ = image.bytesPerLine();
    ratio_ = canvas.DevicePixelRatio();
    width_ = canvas.Width();
    height_ = canvas.Height();
}

void TItemRaster::Dot(int x, int y, QRgb rgb)
{
    if (ratio_ == 1) {
        DeviceRow(y, 0)[x] = rgb;
        return;
    }
    for (int dy = 0; dy < ratio_; ++dy) {
        QRgb* row = DeviceRow(y, dy) + x * ratio_;
        std::fill(row, row + ratio_, rgb);
    }
}

bool TItemRaster::PlainPen() const
{
    const TPen& pen = canvas_.Pen;
    return pen.Mode == pmCopy && pen.Width <= 1 && (pen.Style == psSolid || pen.Style == psInsideFrame);
}

QRgb TItemRaster::Rgb(TColor color)
{
    for (int i = 0; i < 2; ++i)
        if (lastValid_[i] && lastColor_[i] == color)
            return lastRgb_[i];
    lastSlot_ ^= 1;
    lastColor_[lastSlot_] = color;
    lastRgb_[lastSlot_] = ToQRgb(color);
    lastValid_[lastSlot_] = true;
    return lastRgb_[lastSlot_];
}

void TItemRaster::Span(int y, int x0, int x1, QRgb rgb)
{
    if (y < 0 || y >= height_)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    if (x1 < x0)
        return;
    for (int dy = 0; dy < ratio_; ++dy) {
        QRgb* row = DeviceRow(y, dy);
        std::fill(row + x0 * ratio_, row + (x1 + 1) * ratio_, rgb);
    }
}

void TItemRaster::FillBox(int x0, int y0, int x1, int y1, QRgb rgb)
{
    for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
        Span(y, x0, x1, rgb);
}

void TItemRaster::Pixel(int x, int y, TColor color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const QRgb rgb = Rgb(color);
    if (canvas_.Pen.Mode != pmXor) {
        Dot(x, y, rgb);
        return;
    }
    for (int dy = 0; dy < ratio_; ++dy) {
        QRgb* row = DeviceRow(y, dy) + x * ratio_;
        for (int dx = 0; dx < ratio_; ++dx)
            row[dx] = 0xFF000000u | ((row[dx] ^ rgb) & 0x00FFFFFFu);
    }
}

bool TItemRaster::Line(QPoint a, QPoint b)
{
    if (canvas_.Pen.Style == psClear)
        return true; // an invisible pen draws nothing
    if (!PlainPen())
        return false;
    if (!bits_)
        return true;
    // Every pixel of the line lies in the box of its two ends: a line wholly
    // beside the picture sets nothing.
    if (std::max(a.x(), b.x()) < 0 || std::min(a.x(), b.x()) >= width_ || std::max(a.y(), b.y()) < 0
        || std::min(a.y(), b.y()) >= height_)
        return true;
    const QRgb fg = Rgb(canvas_.Pen.Color);
    // The canvas's stepping rule; the walk stops once it has left the
    // picture for good, which matters for lines clamped to 30000 pixels.
    const int sx = b.x() >= a.x() ? 1 : -1, sy = b.y() >= a.y() ? 1 : -1;
    raster::WalkLine(a, b, [&](int x, int y) {
        if ((sx > 0 ? x >= width_ : x < 0) || (sy > 0 ? y >= height_ : y < 0))
            return false;
        if (unsigned(x) < unsigned(width_) && unsigned(y) < unsigned(height_))
            Dot(x, y, fg);
        return true;
    });
    return true;
}

bool TItemRaster::Rectangle(int left, int top, int right, int bottom)
{
    if (!PlainPen())
        return false;
    if (!bits_)
        return true;
    OrderCorners(left, top, right, bottom);
    // A one-pixel pen outlines the box left..right-1 x top..bottom-1; the
    // brush fills what is inside the outline.
    const int ol = left, ot = top, orr = right - 1, ob = bottom - 1;
    const int il = left + 1, it = top + 1, ir = right - 2, ib = bottom - 2;
    if (orr < 0 || ol >= width_ || ob < 0 || ot >= height_)
        return true;
    const QRgb fg = Rgb(canvas_.Pen.Color);
    if (canvas_.Brush.Style == bsSolid)
        FillBox(il, it, ir, ib, Rgb(canvas_.Brush.Color));
    for (int y = std::max(ot, 0); y <= std::min(ob, height_ - 1); ++y) {
        if (y < it || y > ib || il > ir) {
            Span(y, ol, orr, fg);
        } else {
            Span(y, ol, il - 1, fg);
            Span(y, ir + 1, orr, fg);
        }
    }
    return true;
}

bool TItemRaster::Ellipse(int left, int top, int right, int bottom)
{
    if (!PlainPen())
        return false;
    if (!bits_)
        return true;
    OrderCorners(left, top, right, bottom);
    // Rows lie within left..right-1 and top..bottom-1.
    if (right <= 0 || left >= width_ || bottom <= 0 || top >= height_)
        return true;
    const bool fill = canvas_.Brush.Style == bsSolid;
    const QRgb fg = Rgb(canvas_.Pen.Color);
    const QRgb bg = fill ? Rgb(canvas_.Brush.Color) : 0;
    // The outline rule of raster::EllipseOutlineRow: a pixel of a row is on
    // the outline when the row above or below does not cover it. Each row is
    // computed once and kept for its two neighbours.
    const int y0 = std::max(top, 0), y1 = std::min(bottom, height_);
    raster::Span up = raster::EllipseRow(left, top, right, bottom, y0 - 1);
    raster::Span s = raster::EllipseRow(left, top, right, bottom, y0);
    for (int y = y0; y < y1; ++y) {
        const raster::Span dn = raster::EllipseRow(left, top, right, bottom, y + 1);
        if (!s.Empty()) {
            raster::Span inner;
            if (!up.Empty() && !dn.Empty()) {
                inner.X0 = std::max({s.X0 + 1, up.X0, dn.X0});
                inner.X1 = std::min({s.X1 - 1, up.X1, dn.X1});
            }
            if (inner.Empty()) {
                Span(y, s.X0, s.X1, fg);
            } else {
                Span(y, s.X0, inner.X0 - 1, fg);
                Span(y, inner.X1 + 1, s.X1, fg);
                if (fill)
                    Span(y, inner.X0, inner.X1, bg);
            }
        }
        up = s;
        s = dn;
    }
    return true;
}

bool TItemRaster::SquareMark(int markType) const
{
    return !canvas_.IsPrinter() && IsSquareMark(markType & 0xFF) && PlainPen();
}

bool TItemRaster::SquareMarks(int markType, const std::vector<QPoint>& centres, std::vector<std::uint8_t>& scratch)
{
    if (!SquareMark(markType))
        return false;
    const int m = markType & 0xFF;
    const int a = m - 6, side = 2 * a + 1;
    const QRgb fg = Rgb(canvas_.Pen.Color);
    const qsizetype area = qsizetype(width_) * height_;
    if (bits_ && area > 0) {
        if (qsizetype(centres.size()) * side * side <= area) {
            for (const QPoint& p : centres)
                FillBox(p.x() - a, p.y() - a, p.x() + a, p.y() + a, fg);
        } else {
            // All squares have one colour, so the pixels they set are those
            // within a of a centre each way, whatever their order: the
            // centres' map dilated by the square, row-wise and then
            // column-wise, a byte per pixel over the picture and a margin of
            // a, eight bytes at a time.
            const int gw = width_ + 2 * a + 8, gh = height_ + 2 * a;
            const int w8 = (width_ + 7) / 8 * 8; // rows padded to whole words
            const qsizetype gridSize = qsizetype(gw) * gh, rowsSize = qsizetype(w8) * gh;
            scratch.assign(size_t(gridSize + rowsSize + w8), 0);
            std::uint8_t* grid = scratch.data();
            std::uint8_t* rows = grid + gridSize; // gh rows of w8: row-wise dilation
            std::uint8_t* out = rows + rowsSize;  // one picture row
            for (const QPoint& p : centres) {
                const int gx = p.x() + a, gy = p.y() + a;
                if (gx >= 0 && gx < width_ + 2 * a && gy >= 0 && gy < gh)
                    grid[qsizetype(gy) * gw + gx] = 1;
            }
            auto load = [](const std::uint8_t* at) {
                std::uint64_t w;
                std::memcpy(&w, at, sizeof w);
                return w;
            };
            for (int r = 0; r < gh; ++r) {
                const std::uint8_t* g = grid + qsizetype(r) * gw;
                std::uint8_t* h = rows + qsizetype(r) * w8;
                for (int x = 0; x < w8; x += 8) {
                    std::uint64_t w = 0;
                    for (int d = 0; d < side; ++d)
                        w |= load(g + x + d);
                    std::memcpy(h + x, &w, sizeof w);
                }
            }
            for (int y = 0; y < height_; ++y) {
                for (int x = 0; x < w8; x += 8) {
                    std::uint64_t w = 0;
                    for (int d = 0; d < side; ++d)
                        w |= load(rows + qsizetype(y + d) * w8 + x);
                    std::memcpy(out + x, &w, sizeof w);
                }
                for (int x = 0; x < width_;) {
                    if (!out[x]) {
                        ++x;
                        continue;
                    }
                    const int x0 = x;
                    while (x < width_ && out[x])
                        ++x;
                    Span(y, x0, x - 1, fg);
                }
            }
        }
    }
    canvas_.Brush.Style = bsSolid;
    canvas_.MoveTo(canvas_.PenPos().x(), canvas_.PenPos().y());
    return true;
}

bool TItemRaster::Mark(int markType, int x, int y)
{
    if (canvas_.IsPrinter() || canvas_.Pen.Mode != pmCopy)
        return false;
    const int m = markType & 0xFF;
    const QRgb fg = Rgb(canvas_.Pen.Color);
    if (m == 0) {
        Pixel(x, y, canvas_.Pen.Color);
    } else if (const std::uint8_t* rows = ScreenMarkGlyph(m)) {
        if (x + 3 < 0 || x - 3 >= width_ || y + 3 < 0 || y - 3 >= height_)
            return true;
        for (int r = 0; r < 7; ++r) {
            const int py = y - 3 + r;
            if (!rows[r] || py < 0 || py >= height_)
                continue;
            for (int b = 0; b < 7; ++b) {
                const int px = x + 3 - b;
                if ((rows[r] & (1u << b)) && px >= 0 && px < width_)
                    Dot(px, py, fg);
            }
        }
    } else if (IsSquareMark(m) && PlainPen()) {
        // A filled square in the pen colour; DrawMark leaves the brush solid.
        const int a = m - 6;
        FillBox(x - a, y - a, x + a, y + a, fg);
        canvas_.Brush.Style = bsSolid;
    } else {
        return false;
    }
    canvas_.MoveTo(canvas_.PenPos().x(), canvas_.PenPos().y());
    return true;
}
