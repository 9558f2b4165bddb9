#include "gfx/Canvas.h"

#include "gfx/Raster.h"
#include "support/Errors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cmath>

QFont TFont::ToQFont() const
{
    QFont f(Name);
    if (Height < 0)
        f.setPixelSize(-Height);
    else
        f.setPointSize(Height > 0 ? Height : 8);
    f.setBold(Style & fsBold);
    f.setItalic(Style & fsItalic);
    f.setUnderline(Style & fsUnderline);
    f.setStrikeOut(Style & fsStrikeOut);
    // Crisp, hinted text as on the classic desktop, and the same pixels on
    // every run.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

Canvas::Canvas(int width, int height)
{
    Resize(width, height);
}

namespace {

// A white picture of width x height units with ratio device pixels per unit;
// the picture of a canvas that is made larger than memory allows is refused
// with a message instead of leaving the canvas without pixels.
QImage WhitePicture(int width, int height, int ratio, QImage::Format format)
{
    if (width > INT_MAX / ratio || height > INT_MAX / ratio)
        throw Exception(QStringLiteral("Out of memory for a %1 x %2 picture").arg(width).arg(height));
    QImage next(width * ratio, height * ratio, format);
    if (next.isNull() && width > 0 && height > 0)
        throw Exception(QStringLiteral("Out of memory for a %1 x %2 picture").arg(width).arg(height));
    next.setDevicePixelRatio(ratio);
    next.fill(Qt::white);
    return next;
}

} // namespace

void Canvas::Resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height() && !image_.isNull())
        return;
    QImage next = WhitePicture(width, height, DevicePixelRatio(),
                               image_.isNull() ? QImage::Format_RGB32 : image_.format());
    if (printer_ && !next.isNull()) {
        next.setDotsPerMeterX(qRound(dpiY_ / 0.0254));
        next.setDotsPerMeterY(qRound(dpiY_ / 0.0254));
    }
    if (!image_.isNull() && !next.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
}

void Canvas::SetDevicePixelRatio(int ratio)
{
    ratio = std::max(ratio, 1);
    if (ratio == DevicePixelRatio())
        return;
    const int w = Width(), h = Height();
    QImage next;
    if (w > 0 && h > 0) {
        next = WhitePicture(w, h, ratio, image_.format());
        next.setDotsPerMeterX(image_.dotsPerMeterX());
        next.setDotsPerMeterY(image_.dotsPerMeterY());
    } else {
        // No pixels yet: the ratio waits for the next Resize.
        next = QImage();
    }
    next.setDevicePixelRatio(ratio);
    pendingRatio_ = ratio;
    image_ = std::move(next);
}

int Canvas::WholeRatio(qreal screenRatio)
{
    if (!(screenRatio >= 1.0) || screenRatio > 64.0)
        return 1;
    return int(std::floor(screenRatio + 1e-9));
}

bool Canvas::FitsWidget(const QWidget& widget) const
{
    return Width() == widget.width() && Height() == widget.height()
           && DevicePixelRatio() == WholeRatio(widget.devicePixelRatioF());
}

void Canvas::ClearTransparent()
{
    if (image_.format() != QImage::Format_ARGB32_Premultiplied)
        image_ = image_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
}

void Canvas::SetPrinter(bool isPrinter, int dpiY)
{
    // A printer picture is in the printer's own dots.
    if (isPrinter)
        SetDevicePixelRatio(1);
    printer_ = isPrinter;
    dpiY_ = dpiY > 0 ? dpiY : 96;
    if (!image_.isNull()) {
        const int dpm = qRound((printer_ ? dpiY_ : 96) / 0.0254);
        image_.setDotsPerMeterX(dpm);
        image_.setDotsPerMeterY(dpm);
    }
}

// ---- pixels ---------------------------------------------------------------

void Canvas::Plot(int x, int y, QRgb rgb)
{
    if (!Contains(x, y))
        return;
    const int r = DevicePixelRatio();
    if (r > 1) {
        // One unit: an r x r block of device pixels.
        for (int dy = 0; dy < r; ++dy) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y * r + dy)) + x * r;
            for (int dx = 0; dx < r; ++dx)
                line[dx] = Pen.Mode == pmXor ? 0xFF000000u | ((line[dx] ^ rgb) & 0x00FFFFFFu) : rgb;
        }
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (Pen.Mode == pmXor)
        line[x] = 0xFF000000u | ((line[x] ^ rgb) & 0x00FFFFFFu);
    else
        line[x] = rgb;
}

void Canvas::HSpan(int y, int x0, int x1, QRgb rgb)
{
    if (y < 0 || y >= Height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, Width() - 1);
    if (x1 < x0)
        return;
    const int r = DevicePixelRatio();
    for (int dy = 0; dy < r; ++dy) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y * r + dy));
        const int d0 = x0 * r, d1 = x1 * r + r - 1;
        if (Pen.Mode == pmXor) {
            for (int x = d0; x <= d1; ++x)
                line[x] = 0xFF000000u | ((line[x] ^ rgb) & 0x00FFFFFFu);
        } else {
            std::fill(line + d0, line + d1 + 1, rgb);
        }
    }
}

void Canvas::SetPixel(int x, int y, TColor c)
{
    Plot(x, y, ToQRgb(c));
}

TColor Canvas::GetPixel(int x, int y) const
{
    if (!Contains(x, y))
        return TColor(-1);
    const int r = DevicePixelRatio();
    return FromQColor(QColor::fromRgb(image_.pixel(x * r, y * r)));
}

// ---- lines ----------------------------------------------------------------

void Canvas::MoveTo(int x, int y)
{
    pos_ = {x, y};
    dashPhase_ = 0;
}

void Canvas::LineTo(int x, int y)
{
    const QPoint to(x, y);
    Line(pos_, to);
    pos_ = to;
}

void Canvas::Line(QPoint a, QPoint b)
{
    if (!PenVisible() || image_.isNull())
        return;
    if (Pen.Width > 1) {
        WideLine(a, b);
        return;
    }
    const QRgb fg = ToQRgb(Pen.Color);
    const std::vector<int> dash = raster::DashPattern(Pen.Style);
    if (dash.empty()) {
        raster::LinePixels(a, b, [&](int x, int y) { Plot(x, y, fg); });
        return;
    }
    // Styled one-pixel pens: the gaps take the brush colour unless the brush
    // is clear, as the window system's opaque background mode does.
    const bool opaque = Brush.Style == bsSolid;
    const QRgb bg = ToQRgb(Brush.Color);
    int period = 0;
    for (int d : dash)
        period += d;
    raster::LinePixels(a, b, [&](int x, int y) {
        int p = dashPhase_ % period;
        size_t k = 0;
        while (p >= dash[k]) {
            p -= dash[k];
            ++k;
        }
        if (k % 2 == 0)
            Plot(x, y, fg);
        else if (opaque)
            Plot(x, y, bg);
        ++dashPhase_;
    });
}

void Canvas::WideLine(QPoint a, QPoint b)
{
    // Wide pens are solid with round ends, whatever their style.
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (Pen.Mode == pmXor)
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.drawLine(a, b);
}

void Canvas::Polyline(const std::vector<QPoint>& pts)
{
    if (pts.empty())
        return;
    MoveTo(pts[0].x(), pts[0].y());
    for (size_t i = 1; i < pts.size(); ++i)
        LineTo(pts[i].x(), pts[i].y());
}

// ---- closed shapes --------------------------------------------------------

void Canvas::PenBand(int& out, int& in) const
{
    // A wide pen is centred on the outline; an inside-frame pen stays within
    // the bounding box.
    const int w = std::max(Pen.Width, 1);
    out = Pen.Style == psInsideFrame ? 0 : w / 2;
    in = w - 1 - out;
}

void Canvas::Polygon(const std::vector<QPoint>& pts)
{
    if (pts.empty() || image_.isNull())
        return;
    if (Brush.Style == bsSolid && pts.size() >= 3) {
        const QRgb bg = ToQRgb(Brush.Color);
        int y0 = pts[0].y(), y1 = pts[0].y();
        for (const QPoint& p : pts) {
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
        y0 = std::max(y0, 0);
        y1 = std::min(y1, Height() - 1);
        for (int y = y0; y <= y1; ++y)
            for (const raster::Span& s : raster::PolygonRow(pts, y))
                HSpan(y, s.X0, s.X1, bg);
    }
    if (!PenVisible())
        return;
    const QPoint keep = pos_;
    MoveTo(pts[0].x(), pts[0].y());
    for (size_t i = 1; i < pts.size(); ++i)
        LineTo(pts[i].x(), pts[i].y());
    LineTo(pts[0].x(), pts[0].y());
    pos_ = keep;
}

void Canvas::FillRect(int left, int top, int right, int bottom)
{
    if (Brush.Style != bsSolid)
        return;
    const QRgb bg = ToQRgb(Brush.Color);
    for (int y = std::max(top, 0); y < std::min(bottom, Height()); ++y)
        HSpan(y, left, right - 1, bg);
}

void Canvas::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (!PenVisible()) {
        // Without a pen the filled area is one pixel smaller each way.
        FillRect(left, top, right - 1, bottom - 1);
        return;
    }
    int out, in;
    PenBand(out, in);
    const int w = std::max(Pen.Width, 1);
    // Outer box of the pen band (inclusive) and the interior left for the brush.
    const int ol = left - out, ot = top - out, orr = right - 1 + out, ob = bottom - 1 + out;
    const int il = ol + w, it = ot + w, ir = orr - w, ib = ob - w;
    FillRect(il, it, ir + 1, ib + 1);
    if (w == 1 && !raster::DashPattern(Pen.Style).empty()) {
        const QPoint keep = pos_;
        MoveTo(left, top);
        LineTo(right - 1, top);
        LineTo(right - 1, bottom - 1);
        LineTo(left, bottom - 1);
        LineTo(left, top);
        pos_ = keep;
        return;
    }
    const QRgb fg = ToQRgb(Pen.Color);
    for (int y = std::max(ot, 0); y <= std::min(ob, Height() - 1); ++y) {
        if (y < it || y > ib || il > ir) {
            HSpan(y, ol, orr, fg);
        } else {
            HSpan(y, ol, il - 1, fg);
            HSpan(y, ir + 1, orr, fg);
        }
    }
}

void Canvas::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    const bool fill = Brush.Style == bsSolid;
    const QRgb bg = ToQRgb(Brush.Color);
    if (!PenVisible()) {
        if (!fill)
            return;
        for (int y = std::max(top, 0); y < std::min(bottom - 1, Height()); ++y) {
            const raster::Span s = raster::EllipseRow(left, top, right - 1, bottom - 1, y);
            HSpan(y, s.X0, s.X1, bg);
        }
        return;
    }
    const QRgb fg = ToQRgb(Pen.Color);
    const int w = std::max(Pen.Width, 1);
    if (w == 1) {
        for (int y = std::max(top, 0); y < std::min(bottom, Height()); ++y) {
            raster::Span inner;
            for (const raster::Span& s : raster::EllipseOutlineRow(left, top, right, bottom, y, inner))
                HSpan(y, s.X0, s.X1, fg);
            if (fill && !inner.Empty())
                HSpan(y, inner.X0, inner.X1, bg);
        }
        return;
    }
    int out, in;
    PenBand(out, in);
    const int ol = left - out, ot = top - out, orr = right + out, ob = bottom + out;
    const int il = ol + w, it = ot + w, ir = orr - w, ib = ob - w;
    for (int y = std::max(ot, 0); y < std::min(ob, Height()); ++y) {
        const raster::Span o = raster::EllipseRow(ol, ot, orr, ob, y);
        const raster::Span i = raster::EllipseRow(il, it, ir, ib, y);
        if (i.Empty()) {
            HSpan(y, o.X0, o.X1, fg);
            continue;
        }
        HSpan(y, o.X0, i.X0 - 1, fg);
        HSpan(y, i.X1 + 1, o.X1, fg);
        if (fill)
            HSpan(y, i.X0, i.X1, bg);
    }
}

// ---- text and pictures ----------------------------------------------------

int Canvas::TextWidth(const QString& text) const
{
    return QFontMetrics(Font.ToQFont(), image_.isNull() ? nullptr : &image_).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString& text) const
{
    Q_UNUSED(text);
    return QFontMetrics(Font.ToQFont(), image_.isNull() ? nullptr : &image_).height();
}

void Canvas::TextOut(int x, int y, const QString& text)
{
    const int advance = DrawText(nullptr, x, y, text);
    if (advance >= 0)
        pos_ = {x + advance, y};
}

void Canvas::TextRect(const QRect& clip, int x, int y, const QString& text)
{
    DrawText(&clip, x, y, text);
}

int Canvas::DrawText(const QRect* clip, int x, int y, const QString& text)
{
    if (image_.isNull())
        return -1;
    QPainter p(&image_);
    const QFont f = Font.ToQFont();
    p.setFont(f);
    const QFontMetrics fm(f, &image_);
    const int advance = clip ? 0 : fm.horizontalAdvance(text);
    // An opaque brush fills the text's box, or the whole clip rectangle.
    if (Brush.Style == bsSolid)
        p.fillRect(clip ? *clip : QRect(x, y, advance, fm.height()), ToQColor(Brush.Color));
    if (clip)
        p.setClipRect(*clip);
    p.setPen(ToQColor(Font.Color));
    p.drawText(x, y + fm.ascent(), text);
    return advance;
}

void Canvas::Draw(int x, int y, const QImage& picture)
{
    if (image_.isNull() || picture.isNull())
        return;
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(x, y, picture);
}

void Canvas::StretchDraw(int left, int top, int right, int bottom, const QImage& picture)
{
    if (image_.isNull() || picture.isNull() || right <= left || bottom <= top)
        return;
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRect(left, top, right - left, bottom - top), picture);
}
