#pragma once
// Pixel rules of the drawing surface, as plain functions a test can call.
//
// The components were designed against a window system whose rules differ from
// QPainter's: a line leaves out its end pixel whichever way it runs, rectangles
// and ellipses exclude their right and bottom edges, fills sample pixel centres.
// These rasterisers produce exactly those pixels, so a chart looks the same on
// every machine and tests can check single pixels.

#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

namespace raster {

// Calls plot(x, y) for every pixel of the line from a to b, end pixel excluded
// (a line from a point to itself plots nothing).
void LinePixels(QPoint a, QPoint b, const std::function<void(int, int)>& plot);

// The same walk for hot paths, inlined: visit(x, y) answers false to end it
// early (for instance once the line has left the picture for good).
template <class Visit>
void WalkLine(QPoint a, QPoint b, Visit&& visit)
{
    // Bresenham along the major axis, stepping from a towards b and stopping
    // before b: the end pixel is never drawn, whatever the direction.
    int x = a.x(), y = a.y();
    const int dx = b.x() >= x ? b.x() - x : x - b.x(), dy = b.y() >= y ? b.y() - y : y - b.y();
    const int sx = b.x() >= x ? 1 : -1, sy = b.y() >= y ? 1 : -1;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            if (!visit(x, y))
                return;
            if (err > 0 || (err == 0 && sx < 0)) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            if (!visit(x, y))
                return;
            if (err > 0 || (err == 0 && sy < 0)) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
}

// A run of pixels X0..X1 (inclusive) on one row.
struct Span {
    int X0 = 0;
    int X1 = -1;
    bool Empty() const { return X1 < X0; }
};

// The pixels of row y whose centres lie inside the ellipse inscribed in the box
// left..right-1 x top..bottom-1 (right and bottom excluded).
Span EllipseRow(int left, int top, int right, int bottom, int y);

// The one-pixel outline of that ellipse on row y: the pixels of the filled row
// that have a vertical neighbour outside the ellipse, and the row's two ends.
// Returns at most two spans; the interior (for the brush) is returned in inner.
std::vector<Span> EllipseOutlineRow(int left, int top, int right, int bottom, int y, Span& inner);

// The pixel spans of row y covered by the polygon under the alternate
// (even-odd) rule: pixel (x, y) is covered when the point (x, y) is inside,
// left and top edges included, right and bottom edges excluded.
std::vector<Span> PolygonRow(const std::vector<QPoint>& pts, int y);

// The dash pattern of a one-pixel styled pen: lengths of alternating on and
// off runs, starting with on. Empty for a solid pen.
std::vector<int> DashPattern(int style);

} // namespace raster
