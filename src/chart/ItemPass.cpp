// The item pass: the display list drawn into the data picture.
#include "chart/ItemPass.h"

#include "chart/ChartMapping.h"
#include "chart/Marks.h"
#include "gfx/Frames.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kMaxDrawToRun = 200;
constexpr double kArrowHalfOpening = 0.3490658503988659; // 20 degrees

// A point inside the drawing range moved by a pixel offset, which may be as
// large as an int (a relative move, a 3-D depth, an arrow head): added in 64
// bits and kept inside the range like every other drawn position.
int MovedBy(int p, int offset)
{
    return int(std::clamp<long long>(static_cast<long long>(p) + offset, -kDrawLimit, kDrawLimit));
}

// Closed shapes cover both corner rows and columns: the larger x and the
// larger y grow by one (the first point's when they are equal).
void Extend(QPoint& a, QPoint& b)
{
    if (a.x() >= b.x()) a.rx() += 1; else b.rx() += 1;
    if (a.y() >= b.y()) a.ry() += 1; else b.ry() += 1;
}

// Kinds without a drawing rule are skipped, pen and runs untouched.
bool HasDrawingRule(int kind)
{
    switch (kind) {
    case ikMark: case ikLine: case ikDrawTo: case ikRectangle: case ikFramedBox: case ikBar3D:
    case ikText: case ikMoveTo: case ikEllipse: case ikMoveRel: case ikDrawRel: case ikArrow:
        return true;
    default:
        return false;
    }
}

} // namespace

TItemPass::TItemPass(Canvas& canvas, TItemPassSource source)
    : c_(canvas), source_(std::move(source)), fast_(source_.FastPaths), raster_(canvas),
      run_(source_.DrawToRun), squares_(source_.SquareMarks)
{
}

void TItemPass::Run()
{
    run_.clear();
    squares_.clear();
    squareType_ = 0;
    const TItemStore& store = source_.Store;
    for (int i = 0; i < store.ItemCount; ++i) {
        const TChartItem& it = store.Items[size_t(i)];
        const int layer = it.Layer >= 1 && it.Layer <= kLayerCount ? it.Layer : 1;
        if (!source_.ClassVisible[it.ItemClass] || !source_.LayerVisible[size_t(layer)])
            continue;
        if (!HasDrawingRule(it.Kind))
            continue;
        Prepare(it);
        Draw(it, layer);
    }
    FlushSquares();
    Flush();
}

inline void TItemPass::Prepare(const TChartItem& it)
{
    if (!squares_.empty()
        && !(it.Kind == ikMark && it.MarkType == squareType_ && it.Color == c_.Pen.Color
             && it.PenStyle == c_.Pen.Style && it.LineWidth == c_.Pen.Width))
        FlushSquares();
    if (it.Kind != ikDrawTo)
        Flush();
    if (it.LineWidth != c_.Pen.Width) {
        Flush();
        c_.Pen.Width = it.LineWidth;
    }
}

inline void TItemPass::Draw(const TChartItem& it, int layer)
{
    switch (it.Kind) {
    case ikDrawTo: DrawTo(it, layer); break;
    case ikMoveTo: MoveTo(it, layer); break;
    case ikMoveRel: MoveRel(it); break;
    case ikDrawRel: DrawRel(it); break;
    case ikMark: Mark(it, layer); break;
    case ikText: Text(it, layer); break;
    case ikLine: case ikRectangle: case ikFramedBox: case ikEllipse: case ikArrow: Shape(it, layer); break;
    case ikBar3D: Bar3D(it, layer); break;
    default: break;
    }
}

// ---- runs and pen ----------------------------------------------------------------

inline void TItemPass::Flush()
{
    if (run_.size() > 1) {
        // Segment by segment is what the canvas does for a polyline; all
        // segments share one pen, so the raster takes all or none.
        bool drawn = fast_;
        for (size_t k = 1; drawn && k < run_.size(); ++k)
            drawn = raster_.Line(run_[k - 1], run_[k]);
        if (!drawn)
            c_.Polyline(run_);
    }
    if (!run_.empty())
        c_.MoveTo(run_.back().x(), run_.back().y());
    run_.clear();
}

inline void TItemPass::FlushSquares()
{
    if (!squares_.empty())
        raster_.SquareMarks(squareType_, squares_, source_.SquareMarkScratch);
    squares_.clear();
}

inline void TItemPass::SetPen(TColor color, TPenStyle style)
{
    if (c_.Pen.Color != color || c_.Pen.Style != style) {
        Flush();
        c_.Pen.Color = color;
        c_.Pen.Style = style;
    }
}

// ---- pen movement ------------------------------------------------------------------

inline void TItemPass::DrawTo(const TChartItem& it, int layer)
{
    SetPen(it.Color, it.PenStyle);
    if (run_.empty())
        run_.push_back(c_.PenPos());
    run_.push_back(source_.DataPixel(layer, it.X1, it.Y1));
    if (int(run_.size()) >= kMaxDrawToRun)
        Flush(); // the last point starts the next run
}

inline void TItemPass::MoveTo(const TChartItem& it, int layer)
{
    const QPoint p = source_.DataPixel(layer, it.X1, it.Y1);
    c_.MoveTo(p.x(), p.y());
}

inline void TItemPass::MoveRel(const TChartItem& it)
{
    const QPoint p = c_.PenPos();
    c_.MoveTo(MovedBy(p.x(), RoundToInt(it.X1)), MovedBy(p.y(), RoundToInt(it.Y1)));
}

inline void TItemPass::DrawRel(const TChartItem& it)
{
    SetPen(it.Color, it.PenStyle);
    const QPoint p = c_.PenPos();
    const QPoint q(MovedBy(p.x(), RoundToInt(it.X1)), MovedBy(p.y(), RoundToInt(it.Y1)));
    c_.LineTo(q.x(), q.y());
    c_.SetPixel(q.x(), q.y(), it.Color);
}

// ---- marks and text ----------------------------------------------------------------

inline void TItemPass::Mark(const TChartItem& it, int layer)
{
    SetPen(it.Color, it.PenStyle);
    const QPoint p = source_.DataPixel(layer, it.X1, it.Y1);
    if (fast_ && raster_.SquareMark(it.MarkType)) {
        squareType_ = it.MarkType;
        squares_.push_back(p);
    } else if (!(fast_ && raster_.Mark(it.MarkType, p.x(), p.y()))) {
        DrawMark(c_, it.MarkType, p.x(), p.y());
    }
}

inline void TItemPass::Text(const TChartItem& it, int layer)
{
    const QPoint p = source_.DataPixel(layer, it.X1, it.Y1);
    c_.Font.Color = it.Color;
    c_.Font.Style = std::uint8_t(source_.TextFontStyle);
    c_.Font.SetSize(it.Size);
    c_.Brush.Color = source_.TextBkColor;
    c_.Brush.Style = source_.TextBkStyle == tbSolid ? bsSolid : bsClear;
    const QString text = it.TextString();
    const int w = fast_ ? source_.TextExtents.Width(c_, text) : c_.TextWidth(text);
    const int h = fast_ ? source_.TextExtents.Height(c_) : c_.TextHeight(text);
    int x = p.x();
    if (source_.TextAlignment == taRightJustify)
        x -= w;
    else if (source_.TextAlignment == taCenter)
        x -= w / 2;
    const QPoint keep = c_.PenPos();
    c_.TextOut(x, p.y() - h / 2, text);
    c_.MoveTo(keep.x(), keep.y());
    c_.Brush.Style = bsSolid;
}

// ---- shapes --------------------------------------------------------------------------

inline void TItemPass::Shape(const TChartItem& it, int layer)
{
    QPoint a, b;
    if (it.Kind == ikEllipse) {
        a = source_.DataPixel(layer, it.X1 - it.X2, it.Y1 + it.Y2);
        b = source_.DataPixel(layer, it.X1 + it.X2, it.Y1 - it.Y2);
    } else {
        a = source_.DataPixel(layer, it.X1, it.Y1);
        b = source_.DataPixel(layer, it.X2, it.Y2);
    }
    if (a == b) {
        const TColor color = it.Kind == ikFramedBox ? it.FillColor : it.Color;
        if (fast_)
            raster_.Pixel(a.x(), a.y(), color);
        else
            c_.SetPixel(a.x(), a.y(), color);
        return;
    }
    const QPoint keep = c_.PenPos();
    switch (it.Kind) {
    case ikLine: Line(it, a, b); break;
    case ikRectangle: case ikEllipse: RectangleOrEllipse(it, a, b); break;
    case ikFramedBox: FramedBox(it, a, b); break;
    case ikArrow: Arrow(it, a, b); break;
    default: break;
    }
    c_.MoveTo(keep.x(), keep.y());
}

inline void TItemPass::Line(const TChartItem& it, QPoint a, QPoint b)
{
    SetPen(it.Color, it.PenStyle);
    if (!(fast_ && raster_.Line(a, b))) {
        c_.MoveTo(a.x(), a.y());
        c_.LineTo(b.x(), b.y());
    }
}

inline void TItemPass::RectangleOrEllipse(const TChartItem& it, QPoint a, QPoint b)
{
    SetPen(it.Color, it.PenStyle);
    Extend(a, b);
    c_.Brush = TBrush{it.FillColor, it.Transparent ? bsClear : bsSolid};
    if (it.Kind == ikRectangle) {
        if (!(fast_ && raster_.Rectangle(a.x(), a.y(), b.x(), b.y())))
            c_.Rectangle(a.x(), a.y(), b.x(), b.y());
    } else if (!(fast_ && raster_.Ellipse(a.x(), a.y(), b.x(), b.y()))) {
        c_.Ellipse(a.x(), a.y(), b.x(), b.y());
    }
    c_.Brush.Style = bsSolid;
}

inline void TItemPass::FramedBox(const TChartItem& it, QPoint a, QPoint b)
{
    const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
    SetPen(it.FillColor, psSolid);
    c_.Brush = TBrush{it.FillColor, bsSolid};
    c_.Rectangle(l, t, r, bt);
    TColor dark = it.FrameDarkColor, light = it.FrameLightColor;
    switch (it.FrameStyle) {
    case fsRaised:
        std::swap(dark, light);
        [[fallthrough]];
    case fsLowered:
        c_.Pen.Color = dark;
        c_.MoveTo(l, bt - 1);
        c_.LineTo(l, t);
        c_.LineTo(r, t);
        c_.Pen.Color = light;
        c_.MoveTo(r - 1, t + 1);
        c_.LineTo(r - 1, bt - 1);
        c_.LineTo(l, bt - 1);
        break;
    case fsEngraved:
        std::swap(dark, light);
        [[fallthrough]];
    case fsEmbossed:
        c_.Pen.Color = dark;
        DrawRectOutline(c_, l + 1, t + 1, r - 1, bt - 1);
        c_.Pen.Color = light;
        DrawRectOutline(c_, l, t, r - 2, bt - 2);
        break;
    default:
        break;
    }
}

inline void TItemPass::Arrow(const TChartItem& it, QPoint a, QPoint b)
{
    SetPen(it.Color, it.PenStyle);
    Extend(a, b);
    c_.MoveTo(a.x(), a.y());
    c_.LineTo(b.x(), b.y());
    if (it.Size < 1)
        return;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double phi = std::atan(dy / dx) + (b.x() > a.x() ? M_PI / 2 : 3 * M_PI / 2);
    auto head = [&](double angle) {
        return QPoint(MovedBy(b.x(), -RoundToInt(std::sin(angle) * it.Size)),
                      MovedBy(b.y(), RoundToInt(std::cos(angle) * it.Size)));
    };
    const QPoint h1 = head(phi + kArrowHalfOpening), h2 = head(phi - kArrowHalfOpening);
    if (it.Transparent) {
        c_.MoveTo(b.x(), b.y());
        c_.LineTo(h1.x(), h1.y());
        c_.MoveTo(b.x(), b.y());
        c_.LineTo(h2.x(), h2.y());
    } else {
        c_.Brush = TBrush{it.FillColor, bsSolid};
        c_.Polygon({b, h1, h2});
    }
}

inline void TItemPass::Bar3D(const TChartItem& it, int layer)
{
    const QPoint a = source_.DataPixel(layer, it.X1, it.Y1), b = source_.DataPixel(layer, it.X2, it.Y2);
    int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
    const double rad = it.Size * M_PI / 180.0;
    const int dx = RoundToInt(std::cos(rad) * it.Depth), dy = -RoundToInt(std::sin(rad) * it.Depth);
    if (it.Size > 90)
        std::swap(l, r);
    SetPen(it.Color, it.PenStyle);
    c_.Brush = TBrush{it.FillColor, bsSolid};
    const QPoint keep = c_.PenPos();
    const QPoint lt(MovedBy(l, dx), MovedBy(t, dy)), rt(MovedBy(r, dx), MovedBy(t, dy));
    const QPoint rb(MovedBy(r, dx), MovedBy(bt, dy));
    c_.Polygon({{l, t}, lt, rt, {r, t}});
    c_.Polygon({rt, {r, t}, {r, bt}, rb});
    QPoint fa(l, t), fb(r, bt);
    Extend(fa, fb);
    c_.Rectangle(fa.x(), fa.y(), fb.x(), fb.y());
    c_.MoveTo(keep.x(), keep.y());
}
