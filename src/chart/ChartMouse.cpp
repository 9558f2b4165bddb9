// TRChart: what the mouse does in the chart (pan, zoom, drag cross-hairs and
// text labels), what it reports, and the cursor it shows.
#include "chart/RChart.h"

#include "chart/MouseRules.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>
#include <vector>

namespace {

// One wheel notch (120 units) shrinks the spans to this part.
constexpr double kWheelZoomPerNotch = 0.8;

bool IsZoomWindowMode(TMouseActMode m) { return m == maZoomWind || m == maZoomWindPos; }

template <typename Object>
void SetQuietly(Object* o, const std::function<void(Object*)>& change)
{
    // The caller repaints once for the whole change.
    auto notify = std::move(o->OnChange);
    o->OnChange = nullptr;
    change(o);
    o->OnChange = std::move(notify);
}

} // namespace

void TRChart::InitMouse()
{
    mouse_.Layers[1] = true;
    // Moves without a button held report the pointer and choose the cursor.
    setMouseTracking(true);
    InstallChartCursors();
}

// ---- settings ----------------------------------------------------------------

void TRChart::SetMouseAction(TMouseActMode v)
{
    if (v == mouse_.Action)
        return;
    if (mouse_.WindowDragging)
        EndZoomWindow();
    mouse_.Action = v;
    mouse_.AnchorTaken = false;
}

void TRChart::SetMouseActionInt(int v)
{
    if (v >= 0 && v < kMouseActModeCount)
        SetMouseAction(TMouseActMode(v));
}

void TRChart::SetMouseCursorFixed(bool v)
{
    mouse_.CursorFixed = v;
    // A cursor the chart put up earlier must not stay up for ever.
    if (v)
        appCursor_.Reset();
}

void TRChart::SetMouseLayer(int layer, bool on)
{
    if (layer >= 1 && layer <= kLayerCount)
        mouse_.Layers[size_t(layer)] = on;
}

uint TRChart::MouseLayerMask() const
{
    uint mask = 0;
    for (int n = 1; n <= kLayerCount; ++n)
        if (mouse_.Layers[size_t(n)])
            mask |= 1u << (n - 1);
    return mask;
}

void TRChart::SetMouseLayerMask(uint mask)
{
    for (int n = 1; n <= kLayerCount; ++n)
        mouse_.Layers[size_t(n)] = (mask >> (n - 1)) & 1u;
}

bool TRChart::InDataArea(int x, int y) const
{
    return ::InDataArea(g_, x, y);
}

// ---- events from the window system ---------------------------------------------

void TRChart::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        // A new press starts a new drag, even without a move in between.
        mouse_.AnchorTaken = false;
        mouse_.PressValid = true;
        mouse_.Press = p;
        if (IsZoomWindowMode(mouse_.Action) && !mouse_.WindowDragging && InDataArea(p.x(), p.y())) {
            mouse_.WindowDragging = true;
            mouse_.WindowStart = mouse_.WindowCurrent = p;
        }
    }
    e->accept();
}

void TRChart::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    const bool inside = InDataArea(p.x(), p.y());
    if (!(e->buttons() & Qt::LeftButton)) {
        mouse_.AnchorTaken = false;
        mouse_.PressValid = false;
    } else if (!mouse_.AnchorTaken) {
        // Measured from where the button went down, so that the grabbed point
        // stays under the pointer from the first motion report on.
        const bool fromPress = mouse_.PressValid;
        TakeDragAnchor(fromPress ? mouse_.Press : p);
        if (fromPress)
            DragTo(p, inside);
    } else {
        DragTo(p, inside);
    }
    if (mouse_.WindowDragging)
        MoveZoomWindow(p);

    double x, y;
    PixelToWorld(activeLayer_, p.x(), p.y(), x, y);
    if (inside) {
        mouse_.LastX = x;
        mouse_.LastY = y;
    }
    if (!mouse_.CursorFixed)
        ShowMouseCursor(CursorForMouseAction(mouse_.Action, inside));
    if (OnMouseMoveInChart)
        OnMouseMoveInChart(this, inside, e->modifiers(), x, y);
    e->accept();
}

void TRChart::mouseReleaseEvent(QMouseEvent* e)
{
    if (mouse_.WindowDragging) {
        if (e->button() == Qt::RightButton)
            EndZoomWindow();
        else if (e->button() == Qt::LeftButton)
            FinishZoomWindow();
    }
    if (e->button() == Qt::LeftButton)
        mouse_.PressValid = false;
    e->accept();
}

void TRChart::wheelEvent(QWheelEvent* e)
{
    const QPoint p = e->position().toPoint();
    const TWheelAxes axes = WheelZoomAxes(mouse_.Action, isometric_);
    const int delta = e->angleDelta().y();
    if ((!axes.X && !axes.Y) || delta == 0 || !InDataArea(p.x(), p.y())) {
        e->ignore(); // left to the windows around the chart
        return;
    }
    const double factor = std::pow(kWheelZoomPerNotch, delta / 120.0);
    ChangeMouseLayerRanges([&](int L, TAxisRange& x, TAxisRange& y) {
        double px, py;
        PixelToWorld(L, p.x(), p.y(), px, py);
        bool any = false;
        const TScaleProps *sx = scaleX_[L], *sy = scaleY_[L];
        if (axes.X) {
            const TAxisRange r = ZoomAxisAbout(x, px, factor, sx->Logarithmic());
            if (UsableRange(r, sx->Logarithmic(), sx->MinRange())) {
                x = r;
                any = true;
            }
        }
        if (axes.Y) {
            const TAxisRange r = ZoomAxisAbout(y, py, factor, sy->Logarithmic());
            if (UsableRange(r, sy->Logarithmic(), sy->MinRange())) {
                y = r;
                any = true;
            }
        }
        return any;
    });
    e->accept();
}

void TRChart::enterEvent(QEnterEvent*)
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TRChart::leaveEvent(QEvent*)
{
    // The cursor was set for the whole application; outside the chart it is
    // not the chart's to choose.
    if (!mouse_.CursorFixed)
        appCursor_.Reset();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TRChart::hideEvent(QHideEvent*)
{
    if (mouse_.WindowDragging)
        EndZoomWindow();
    appCursor_.Reset();
}

// ---- drags -----------------------------------------------------------------

void TRChart::TakeDragAnchor(QPoint a)
{
    mouse_.AnchorTaken = true;
    mouse_.Anchor = a;
    for (int n = 1; n <= kLayerCount; ++n)
        mouse_.AnchorRanges[size_t(n)] = {{scaleX_[n]->RangeLow(), scaleX_[n]->RangeHigh()},
                                          {scaleY_[n]->RangeLow(), scaleY_[n]->RangeHigh()}};
    if (mouse_.Action == maDragCrossH) {
        std::vector<TCrossHairSpot> spots;
        for (int n = 1; n <= kCrossHairCount; ++n) {
            const TCrossHair* h = crossHairs_[size_t(n)];
            TCrossHairSpot s;
            s.Mode = h->Mode();
            WorldToPixel(h->Layer(), h->PosX(), h->PosY(), s.Px, s.Py);
            spots.push_back(s);
        }
        mouse_.CrossHair = NearestCrossHair(spots, a.x(), a.y());
    } else if (mouse_.Action == maDragLabel) {
        std::vector<TLabelSpot> spots;
        for (int n = 1; n <= kTextLabelCount; ++n) {
            const TTextLabel* l = textLabels_[size_t(n)];
            spots.push_back({l->Mode() != tlOff && l->Visible(),
                             TextLabelAnchor(*l) + QPoint(g_.MarginLeft, g_.MarginTop)});
        }
        mouse_.Label = NearestLabel(spots, a.x(), a.y());
    }
}

void TRChart::DragTo(QPoint p, bool inside)
{
    switch (mouse_.Action) {
    case maPan: case maPanHoriz: case maPanVert:
        if (inside)
            PanTo(p);
        break;
    case maZoomDrag:
        if (inside)
            ZoomDragTo(p);
        break;
    case maDragCrossH: DragCrossHairTo(p); break;
    case maDragLabel: DragLabelTo(p); break;
    default: break;
    }
}

void TRChart::ChangeMouseLayerRanges(const std::function<bool(int, TAxisRange&, TAxisRange&)>& newRanges)
{
    // All requests are made from the ranges before the change: a layer that
    // follows another must not see its leader's new range halfway through.
    struct TRequest {
        int Layer;
        TAxisRange X, Y;
    };
    std::vector<TRequest> requests;
    for (int n = 1; n <= kLayerCount; ++n) {
        if (!mouse_.Layers[size_t(n)])
            continue;
        TRequest r{n, {scaleX_[n]->RangeLow(), scaleX_[n]->RangeHigh()}, {scaleY_[n]->RangeLow(), scaleY_[n]->RangeHigh()}};
        if (newRanges(n, r.X, r.Y))
            requests.push_back(r);
    }
    if (requests.empty())
        return;
    const bool keep = suppressPaint_;
    suppressPaint_ = true;
    for (const TRequest& r : requests)
        SetLayerRange(r.Layer, r.X.Low, r.X.High, r.Y.Low, r.Y.High);
    SetSuppressPaint(keep); // repaints once
    if (OnZoomPan)
        OnZoomPan(this);
}

void TRChart::PanTo(QPoint p)
{
    const int dx = p.x() - mouse_.Anchor.x(), dy = p.y() - mouse_.Anchor.y();
    const bool panX = mouse_.Action != maPanVert && g_.Wd() > 0;
    const bool panY = mouse_.Action != maPanHoriz && g_.Hd() > 0;
    ChangeMouseLayerRanges([&](int L, TAxisRange& x, TAxisRange& y) {
        const TAnchorRanges& a = mouse_.AnchorRanges[size_t(L)];
        const TScaleProps *sx = scaleX_[L], *sy = scaleY_[L];
        bool any = false;
        if (panX) {
            const TAxisRange r = PanAxis(a.X, dx, g_.Wd(), false, sx->Logarithmic());
            if (UsableRange(r, sx->Logarithmic(), sx->MinRange())) {
                x = r;
                any = true;
            }
        }
        if (panY) {
            const TAxisRange r = PanAxis(a.Y, dy, g_.Hd(), true, sy->Logarithmic());
            if (UsableRange(r, sy->Logarithmic(), sy->MinRange())) {
                y = r;
                any = true;
            }
        }
        return any;
    });
}

void TRChart::ZoomDragTo(QPoint p)
{
    const TZoomFactors f = ZoomDragFactors(p.x() - mouse_.Anchor.x(), p.y() - mouse_.Anchor.y(), width(),
                                           height(), isometric_);
    ChangeMouseLayerRanges([&](int L, TAxisRange& x, TAxisRange& y) {
        const TAnchorRanges& a = mouse_.AnchorRanges[size_t(L)];
        const TScaleProps *sx = scaleX_[L], *sy = scaleY_[L];
        bool any = false;
        // A factor of zero or below would fold the axis onto itself.
        if (f.X > 0) {
            const TAxisRange r = ZoomAxis(a.X, f.X);
            if (UsableRange(r, sx->Logarithmic(), sx->MinRange())) {
                x = r;
                any = true;
            }
        }
        if (f.Y > 0) {
            const TAxisRange r = ZoomAxis(a.Y, f.Y);
            if (UsableRange(r, sy->Logarithmic(), sy->MinRange())) {
                y = r;
                any = true;
            }
        }
        return any;
    });
}

void TRChart::DragCrossHairTo(QPoint p)
{
    TCrossHair* h = crossHairs_[size_t(mouse_.CrossHair)];
    double x, y;
    PixelToWorld(h->Layer(), p.x(), p.y(), x, y);
    if (!std::isfinite(x) || !std::isfinite(y))
        return; // a collapsed data area has no world positions
    SetQuietly<TCrossHair>(h, [&](TCrossHair* c) {
        c->SetPosX(x);
        c->SetPosY(y);
    });
    RenderChart();
    if (OnCrossHairMove)
        OnCrossHairMove(this, h);
}

void TRChart::DragLabelTo(QPoint p)
{
    TTextLabel* l = textLabels_[size_t(mouse_.Label)];
    double x, y;
    PixelToWorld(l->Layer(), p.x(), p.y(), x, y);
    const TTxtLblAttachMode m = l->AttachToData();
    const double newX = m == tlamXOnly || m == tlamBoth ? x : p.x();
    const double newY = m == tlamYOnly || m == tlamBoth ? y : p.y();
    if (!std::isfinite(newX) || !std::isfinite(newY))
        return;
    SetQuietly<TCustomTextLabel>(l, [&](TCustomTextLabel* c) {
        c->SetPosX(newX);
        c->SetPosY(newY);
    });
    RenderChart();
    if (OnTextLabelMove)
        OnTextLabelMove(this, l);
}

// ---- zoom window -------------------------------------------------------------

void TRChart::MoveZoomWindow(QPoint p)
{
    mouse_.WindowCurrent = ZoomWindowCorner(g_, mouse_.WindowStart, p, isometric_);
    const QPoint s = mouse_.WindowStart, c = mouse_.WindowCurrent;
    ShowZoomOutline(QRect(QPoint(std::min(s.x(), c.x()), std::min(s.y(), c.y())),
                          QPoint(std::max(s.x(), c.x()), std::max(s.y(), c.y()))));
}

void TRChart::FinishZoomWindow()
{
    const QPoint s = mouse_.WindowStart, c = mouse_.WindowCurrent;
    EndZoomWindow();
    if (s.x() == c.x() || s.y() == c.y())
        return; // no extent: a click, or a line
    const bool keepDirection = mouse_.Action == maZoomWindPos;
    // The window is square in pixels on an isometric chart, the data area
    // usually is not: the y range is then fitted to the x range so that a
    // world unit keeps one length on both axes.
    const double isoRatio = (g_.Hd() + 1.0) / (g_.Wd() + 1.0) * aspectY_ / aspectX_;
    ChangeMouseLayerRanges([&](int L, TAxisRange& x, TAxisRange& y) {
        const TScaleProps *sx = scaleX_[L], *sy = scaleY_[L];
        double x0, y0, x1, y1;
        PixelToWorld(L, s.x(), s.y(), x0, y0);
        PixelToWorld(L, c.x(), c.y(), x1, y1);
        const TAxisRange rx = ZoomWindowAxis(x0, x1, x, keepDirection);
        TAxisRange ry = ZoomWindowAxis(y0, y1, y, keepDirection);
        if (isometric_ && !sx->Logarithmic() && !sy->Logarithmic()) {
            const double centre = (ry.Low + ry.High) / 2;
            const double half = std::fabs(rx.High - rx.Low) * isoRatio / 2 * (ry.High >= ry.Low ? 1 : -1);
            ry = {centre - half, centre + half};
        }
        bool any = false;
        if (UsableRange(rx, sx->Logarithmic(), sx->MinRange())) {
            x = rx;
            any = true;
        }
        if (UsableRange(ry, sy->Logarithmic(), sy->MinRange())) {
            y = ry;
            any = true;
        }
        return any;
    });
}

void TRChart::EndZoomWindow()
{
    HideZoomOutline();
    mouse_.WindowDragging = false;
}

void TRChart::ShowZoomOutline(const QRect& r)
{
    if (mouse_.OutlineShown && mouse_.Outline == r)
        return;
    if (mouse_.OutlineShown)
        XorOnPresented(mouse_.Outline);
    XorOnPresented(r);
    mouse_.Outline = r;
    mouse_.OutlineShown = true;
    if (!painting_)
        repaint();
}

void TRChart::HideZoomOutline()
{
    if (!mouse_.OutlineShown)
        return;
    XorOnPresented(mouse_.Outline);
    mouse_.OutlineShown = false;
    if (!painting_)
        repaint();
}

void TRChart::XorOnPresented(const QRect& r)
{
    // Inverting the pixels of the outline: doing it twice gives back the
    // picture exactly, so the chart need not be rendered to erase it.
    Canvas c;
    c.Image() = std::move(presented_);
    c.Pen = TPen{clWhite, 1, psSolid, pmXor};
    c.Brush = TBrush{clWhite, bsClear};
    c.Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    presented_ = std::move(c.Image());
}

// ---- cursor --------------------------------------------------------------------

void TRChart::ShowMouseCursor(TChartCursorChoice choice)
{
    if (choice == ccKeep)
        return;
    QCursor cursor;
    if (CursorForChoice(choice, cursor))
        appCursor_.Set(cursor);
    else
        appCursor_.Reset();
}
