#include "gfx/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

void LinePixels(QPoint a, QPoint b, const std::function<void(int, int)>& plot)
{
    WalkLine(a, b, [&](int x, int y) {
        plot(x, y);
        return true;
    });
}

Span EllipseRow(int left, int top, int right, int bottom, int y)
{
    if (right <= left || bottom <= top || y < top || y >= bottom)
        return {};
    // Work in doubled coordinates so that the centre and the pixel centres are
    // integers and the row test stays exactly symmetric.
    const double a = right - left;            // 2 * horizontal half-axis
    const double b = bottom - top;            // 2 * vertical half-axis
    const double dy = 2.0 * y + 1.0 - (top + bottom); // 2 * (pixel centre - centre)
    const double t = 1.0 - (dy * dy) / (b * b);
    if (t < 0)
        return {};
    const double half = a * std::sqrt(t);     // 2 * half-width of the row
    // Pixel x is inside when |2x + 1 - (left + right)| <= half.
    const double c = left + right - 1.0;
    Span s;
    s.X0 = int(std::ceil((c - half) / 2.0 - 1e-9));
    s.X1 = int(std::floor((c + half) / 2.0 + 1e-9));
    return s;
}

std::vector<Span> EllipseOutlineRow(int left, int top, int right, int bottom, int y, Span& inner)
{
    std::vector<Span> out;
    inner = {};
    const Span s = EllipseRow(left, top, right, bottom, y);
    if (s.Empty())
        return out;
    const Span up = EllipseRow(left, top, right, bottom, y - 1);
    const Span dn = EllipseRow(left, top, right, bottom, y + 1);
    if (!up.Empty() && !dn.Empty()) {
        inner.X0 = std::max({s.X0 + 1, up.X0, dn.X0});
        inner.X1 = std::min({s.X1 - 1, up.X1, dn.X1});
    }
    if (inner.Empty()) {
        out.push_back(s);
        return out;
    }
    out.push_back({s.X0, inner.X0 - 1});
    out.push_back({inner.X1 + 1, s.X1});
    return out;
}

std::vector<Span> PolygonRow(const std::vector<QPoint>& pts, int y)
{
    std::vector<Span> spans;
    const size_t n = pts.size();
    if (n < 3)
        return spans;
    // The window system addresses a pixel by its integer coordinates, so a
    // pixel is inside when its coordinate point is; left and top edges belong
    // to the polygon, right and bottom ones do not (as with FillRect).
    const double yc = y;
    std::vector<double> xs;
    for (size_t i = 0; i < n; ++i) {
        const QPoint p = pts[i], q = pts[(i + 1) % n];
        const double y0 = p.y(), y1 = q.y();
        if (y0 == y1)
            continue;
        const bool crosses = (y0 <= yc && yc < y1) || (y1 <= yc && yc < y0);
        if (!crosses)
            continue;
        xs.push_back(p.x() + (yc - y0) * (q.x() - p.x()) / (y1 - y0));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        Span s{int(std::ceil(xs[i])), int(std::ceil(xs[i + 1])) - 1};
        if (!s.Empty())
            spans.push_back(s);
    }
    return spans;
}

std::vector<int> DashPattern(int style)
{
    switch (style) {
    case 1: return {18, 6};              // dash
    case 2: return {3, 3};               // dot
    case 3: return {9, 6, 3, 6};         // dash-dot
    case 4: return {9, 3, 3, 3, 3, 3};   // dash-dot-dot
    default: return {};
    }
}

} // namespace raster
