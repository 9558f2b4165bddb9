#include "chart/MouseRules.h"

#include <algorithm>
#include <cmath>

namespace {

int DataRight(const TChartGeometry& g) { return g.Width - g.MarginRight - g.ShadowWidth; }
int DataBottom(const TChartGeometry& g) { return g.Height - g.MarginBottom - g.ShadowWidth; }

} // namespace

bool InDataArea(const TChartGeometry& g, int x, int y)
{
    return g.MarginLeft <= x && x <= DataRight(g) && g.MarginTop <= y && y <= DataBottom(g);
}

QPoint LimitToDataArea(const TChartGeometry& g, QPoint p)
{
    // max before min: on a collapsed data area the left and top edges win.
    return {std::max(std::min(p.x(), DataRight(g)), g.MarginLeft),
            std::max(std::min(p.y(), DataBottom(g)), g.MarginTop)};
}

bool UsableRange(TAxisRange r, bool log, double minRange)
{
    if (!std::isfinite(r.Low) || !std::isfinite(r.High))
        return false;
    if (!(std::fabs(r.High - r.Low) >= minRange) || r.High == r.Low)
        return false;
    return !log || (r.Low >= 1e-100 && r.High >= 1e-100);
}

TAxisRange PanAxis(TAxisRange a, int delta, int extent, bool vertical, bool log)
{
    if (extent <= 0)
        return a;
    const double t = (vertical ? delta : -delta) / double(extent);
    if (log) {
        const double f = std::pow(a.High / a.Low, t);
        return {a.Low * f, a.High * f};
    }
    const double s = (a.High - a.Low) * t;
    return {a.Low + s, a.High + s};
}

TZoomFactors ZoomDragFactors(int dx, int dy, int width, int height, bool isometric)
{
    TZoomFactors f;
    if (width > 0)
        f.X = 1.0 - dx / double(width);
    f.Y = isometric ? f.X : height > 0 ? 1.0 + dy / double(height) : 1.0;
    return f;
}

TAxisRange ZoomAxis(TAxisRange a, double factor)
{
    const double c = (a.Low + a.High) / 2, half = (a.High - a.Low) * factor / 2;
    return {c - half, c + half};
}

QPoint ZoomWindowCorner(const TChartGeometry& g, QPoint start, QPoint pointer, bool isometric)
{
    QPoint p = LimitToDataArea(g, {pointer.x(), start.y()});
    int y = pointer.y();
    if (isometric) {
        const long long dx = p.x() - start.x(), dy = y - start.y();
        y = dy * dx < 1 ? int(start.y() - dx) : int(start.y() + dx);
    }
    p.setY(LimitToDataArea(g, {p.x(), y}).y());
    return p;
}

TAxisRange ZoomWindowAxis(double startValue, double currentValue, TAxisRange present, bool keepDirection)
{
    TAxisRange r{startValue, currentValue};
    const bool presentRises = present.High >= present.Low;
    const bool windowRises = currentValue >= startValue;
    if (keepDirection && presentRises != windowRises)
        std::swap(r.Low, r.High);
    return r;
}

TAxisRange ZoomAxisAbout(TAxisRange r, double pivot, double factor, bool log)
{
    if (log) {
        // About the pivot in logarithmic units, which is where the pointer is.
        return {pivot * std::pow(r.Low / pivot, factor), pivot * std::pow(r.High / pivot, factor)};
    }
    return {pivot + (r.Low - pivot) * factor, pivot + (r.High - pivot) * factor};
}

int NearestCrossHair(const std::vector<TCrossHairSpot>& hairs, int x, int y)
{
    int best = 1;
    double bestDistance = 1.7e308;
    for (size_t i = 0; i < hairs.size(); ++i) {
        const TCrossHairSpot& h = hairs[i];
        if (h.Mode == chVert || h.Mode == chBoth) {
            const double d = double(h.Px) - x;
            if (d * d < bestDistance) {
                bestDistance = d * d;
                best = int(i) + 1;
            }
        }
        if (h.Mode == chHoriz || h.Mode == chBoth) {
            const double d = double(h.Py) - y;
            if (d * d < bestDistance) {
                bestDistance = d * d;
                best = int(i) + 1;
            }
        }
    }
    return best;
}

int NearestLabel(const std::vector<TLabelSpot>& labels, int x, int y)
{
    int best = 1;
    double bestDistance = 1.7e308;
    for (size_t i = 0; i < labels.size(); ++i) {
        if (!labels[i].Eligible)
            continue;
        const double dx = double(labels[i].Anchor.x()) - x, dy = double(labels[i].Anchor.y()) - y;
        if (dx * dx + dy * dy < bestDistance) {
            bestDistance = dx * dx + dy * dy;
            best = int(i) + 1;
        }
    }
    return best;
}

TChartCursorChoice CursorForMouseAction(TMouseActMode mode, bool inside)
{
    if (!inside)
        return ccDefault;
    switch (mode) {
    case maNone: return ccCross;
    case maPan: case maPanHoriz: case maPanVert: return ccHand;
    case maZoomWind: return ccZoomWindow;
    case maZoomWindPos: return ccZoomWindowPlus;
    case maZoomDrag: return ccZoomDrag;
    case maDragCrossH: case maDragLabel: return ccDefault;
    case maRubberBand: case maZoom: case maRotate: case maRotAndZoom: case maRotXOnly: case maRotZOnly:
        break;
    }
    return ccKeep;
}

TWheelAxes WheelZoomAxes(TMouseActMode mode, bool isometric)
{
    switch (mode) {
    case maPan: case maZoomDrag: case maZoomWind: case maZoomWindPos: return {true, true};
    // A chart that pans along one axis only keeps the other one fixed, unless
    // both must keep the same scale.
    case maPanHoriz: return {true, isometric};
    case maPanVert: return {isometric, true};
    default: return {};
    }
}
