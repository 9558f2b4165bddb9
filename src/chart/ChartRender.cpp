// TRChart: painting through the control picture and the data picture.
#include "chart/RChart.h"

#include "chart/GridValues.h"
#include "chart/ItemPass.h"

#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

void TRChart::RepaintIfAuto()
{
    if (autoRedraw_)
        RenderChart();
}

int TRChart::ScreenRatio() const
{
    return Canvas::WholeRatio(devicePixelRatioF());
}

bool TRChart::PicturesMatchScreen() const
{
    const int r = ScreenRatio();
    return control_.DevicePixelRatio() == r && data_.DevicePixelRatio() == r && int(presented_.devicePixelRatio()) == r
           && presented_.deviceIndependentSize().toSize() == size();
}

void TRChart::RenderChart()
{
    if (!Drawable())
        return;
    // On a high-resolution screen both pictures hold its device pixels; the
    // drawing passes work in units all the same.
    control_.SetDevicePixelRatio(ScreenRatio());
    data_.SetDevicePixelRatio(ScreenRatio());
    DrawFrameAndScales(control_);
    DrawDataBackground(data_);
    DrawData(data_);
    control_.Draw(g_.MarginLeft, g_.MarginTop, data_.Image());
    PresentWithCrossHairs(0, 0, control_);
}

// ---- control picture ---------------------------------------------------------

void TRChart::DrawFrameAndScales(Canvas& c)
{
    const int W = width(), H = height(), S = g_.ShadowWidth;
    c.Resize(W, H);
    c.Pen = TPen{windColor_};
    c.Brush = TBrush{windColor_, bsSolid};
    c.Rectangle(0, 0, W, H);

    if (S > 0) {
        c.Pen = TPen{shadowBakColor_};
        c.Brush.Color = shadowBakColor_;
        c.FillRect(W - S, 0, W, S);
        c.FillRect(0, H - S, S, H);
        c.Brush.Color = shadowColor_;
        c.Pen.Color = shadowStyle_ == ssFlying ? shadowColor_ : clBlack;
        const int e = shadowStyle_ == ssFlying ? S - 1 : 0;
        c.Polygon({{e, H - S}, {S - 1, H - 1}, {W - 1, H - 1}, {W - S, H - S}});
        c.Polygon({{W - S, H - S}, {W - 1, H - 1}, {W - 1, S - 1}, {W - S, e}});
        c.Pen = TPen{clBlack};
        c.MoveTo(0, 0);
        c.LineTo(W - S, 0);
        c.LineTo(W - S, H - S);
        c.LineTo(0, H - S);
        c.LineTo(0, 0);
    }

    if (!caption_.isEmpty()) {
        c.Font = font_;
        c.Brush.Style = bsClear;
        int x = captionPosX_;
        switch (captionAnchorHoriz_) {
        case cahControlLeft: break;
        case cahChartLeft: x += g_.MarginLeft; break;
        case cahChartCenter: x += g_.MarginLeft + g_.Wd() / 2; break;
        case cahChartRight: x += W - g_.MarginRight - S; break;
        case cahControlRight: x += W; break;
        }
        int y = captionPosY_;
        switch (captionAnchorVert_) {
        case cavControlTop: break;
        case cavChartTop: y += g_.MarginTop; break;
        case cavChartCenter: y += g_.MarginTop + g_.Hd() / 2; break;
        case cavChartBottom: y += H - g_.MarginBottom; break;
        case cavControlBottom: y += H; break;
        }
        const int w = c.TextWidth(caption_);
        if (captionAlignment_ == taRightJustify)
            x -= w;
        else if (captionAlignment_ == taCenter)
            x -= w / 2;
        c.TextOut(x, y, caption_);
    }

    RecomputeCoefficients();
    for (int n = 1; n <= kLayerCount; ++n)
        axisX_[n]->PaintNow();
    for (int n = 1; n <= kLayerCount; ++n)
        axisY_[n]->PaintNow();
    if (OnScalesRendered)
        OnScalesRendered(this, c, 0, 0);
}

// ---- data picture ------------------------------------------------------------

TDataPixelMapping TRChart::DataPixels() const
{
    return {mapX_.data(), mapY_.data(), g_.MarginLeft, g_.MarginTop};
}

QPoint TRChart::DataPixel(int layer, double x, double y) const
{
    return DataPixels()(layer, x, y);
}

void TRChart::DrawDataBackground(Canvas& c)
{
    // Margins may leave the data area no room (they never resize the
    // control); then there is no data picture at all.
    const bool room = g_.Wd() >= 0 && g_.Hd() >= 0;
    c.Resize(room ? g_.Wd() + 1 : 0, room ? g_.Hd() + 1 : 0);
    c.Pen = TPen{chartFrameColor_};
    c.Brush = TBrush{chartColor_, bsSolid};

    if (!backGroundImg_->Name().isEmpty()) {
        QImageReader reader(backGroundImg_->Name());
        reader.setAllocationLimit(256);
        const QImage picture = reader.read();
        if (picture.isNull()) {
            c.Rectangle(0, 0, c.Width(), c.Height());
            backGroundImg_->ForgetName(); // not tried again
            return;
        }
        switch (backGroundImg_->FillMode()) {
        case bfSimple:
            c.Rectangle(0, 0, c.Width(), c.Height());
            c.Draw(0, 0, picture);
            break;
        case bfStretch:
            c.StretchDraw(0, 0, c.Width(), c.Height(), picture);
            break;
        case bfTile: {
            const int cols = (c.Width() - 1) / picture.width() + 1;
            const int rows = (c.Height() - 1) / picture.height() + 1;
            for (int j = 0; j < rows; ++j)
                for (int i = 0; i < cols; ++i)
                    c.Draw(i * picture.width(), j * picture.height(), picture);
            break;
        }
        }
        return;
    }

    c.Rectangle(0, 0, c.Width(), c.Height());
    const TBakGndImg& b = *backGroundImg_;
    if (b.AreaMode() == bamNone)
        return;
    c.Pen.Color = b.AreaColor();
    c.Brush.Color = b.AreaColor();
    const QPoint lt = DataPixel(1, b.AreaLeft(), b.AreaTop());
    const QPoint rb = DataPixel(1, b.AreaRight(), b.AreaBottom());
    const int W = c.Width(), H = c.Height();
    switch (b.AreaMode()) {
    case bamNone: break;
    case bamLeft: c.Rectangle(0, 0, lt.x(), H); break;
    case bamRight: c.Rectangle(rb.x(), 0, W, H); break;
    case bamTop: c.Rectangle(0, 0, W, lt.y()); break;
    case bamBottom: c.Rectangle(0, rb.y(), W, H); break;
    case bamVStripe: c.Rectangle(lt.x(), 0, rb.x(), H); break;
    case bamHStripe: c.Rectangle(0, lt.y(), W, rb.y()); break;
    case bamRect: c.Rectangle(lt.x(), lt.y(), rb.x(), rb.y()); break;
    }
}

void TRChart::DrawData(Canvas& c)
{
    if (c.Width() == 0 || c.Height() == 0)
        return;
    if (OnBeforeRenderData) {
        const TColor pen = c.Pen.Color, brush = c.Brush.Color;
        OnBeforeRenderData(this, c, g_.MarginLeft, g_.MarginTop);
        c.Pen.Color = pen;
        c.Brush.Color = brush;
    }
    if (gridStyle_ != gsNone)
        DrawGrid(c);

    c.Pen = TPen{chartColor_, lineWidth_, psSolid};
    c.Brush = TBrush{chartColor_, bsSolid};
    c.MoveTo(0, 0);
    DrawItems(c);

    c.Pen.Width = 1;
    DrawTextLabels(c);
    if (OnDataRendered)
        OnDataRendered(this, c, g_.MarginLeft, g_.MarginTop);

    c.Pen = TPen{chartFrameColor_};
    const int wd = g_.Wd(), hd = g_.Hd();
    c.MoveTo(0, 0);
    c.LineTo(wd, 0);
    c.LineTo(wd, hd);
    c.LineTo(0, hd);
    c.LineTo(0, 0);
}

void TRChart::DrawGrid(Canvas& c)
{
    const int layer = activeLayer_;
    const TScaleProps* sx = scaleX_[layer];
    const TScaleProps* sy = scaleY_[layer];
    auto ticks = [](const TScale* axis) {
        std::vector<double> t;
        for (int i = 1; i <= axis->NumTicks(); ++i)
            t.push_back(axis->TickValue(i));
        return t;
    };
    const double xl = std::fmin(sx->RangeLow(), sx->RangeHigh()), xh = std::fmax(sx->RangeLow(), sx->RangeHigh());
    const double yl = std::fmin(sy->RangeLow(), sy->RangeHigh()), yh = std::fmax(sy->RangeLow(), sy->RangeHigh());
    const std::vector<double> xs = GridValues(xl, xh, sx->Logarithmic(), gridDx_, ticks(axisX_[layer]));
    const std::vector<double> ys = GridValues(yl, yh, sy->Logarithmic(), gridDy_, ticks(axisY_[layer]));

    c.Pen = TPen{gridColor_};
    if (gridStyle_ == gsPoints) {
        int count = 0;
        for (double x : xs)
            for (double y : ys) {
                if (count++ >= kMaxGridLines)
                    return;
                const QPoint p = DataPixel(layer, x, y);
                c.SetPixel(p.x(), p.y(), gridColor_);
            }
        return;
    }
    const bool dotted = gridStyle_ == gsVertDotLines || gridStyle_ == gsHorizDotLines || gridStyle_ == gsDotLines;
    c.Pen.Style = dotted ? psDot : psSolid;
    const bool vertical = gridStyle_ == gsVertLines || gridStyle_ == gsLines || gridStyle_ == gsVertDotLines
                          || gridStyle_ == gsDotLines;
    const bool horizontal = gridStyle_ == gsHorizLines || gridStyle_ == gsLines
                            || gridStyle_ == gsHorizDotLines || gridStyle_ == gsDotLines;
    if (vertical)
        for (double x : xs) {
            const QPoint a = DataPixel(layer, x, yl), b = DataPixel(layer, x, yh);
            c.MoveTo(a.x(), a.y());
            c.LineTo(b.x(), b.y());
        }
    if (horizontal)
        for (double y : ys) {
            const QPoint a = DataPixel(layer, xl, y), b = DataPixel(layer, xh, y);
            c.MoveTo(a.x(), a.y());
            c.LineTo(b.x(), b.y());
        }
    c.Pen.Style = psSolid;
}

void TRChart::DrawItems(Canvas& c)
{
    TItemPass pass(c, {
        .Store = *store_,
        .ClassVisible = classVisible_,
        .LayerVisible = layerVisible_,
        .FastPaths = fastPaths_,
        .TextFontStyle = textFontStyle_,
        .TextBkColor = textBkColor_,
        .TextBkStyle = textBkStyle_,
        .TextAlignment = textAlignment_,
        .TextExtents = textExtents_,
        .DataPixel = DataPixels(),
        .DrawToRun = drawToRun_,
        .SquareMarks = squareMarks_,
        .SquareMarkScratch = squareMarkScratch_,
    });
    pass.Run();
}

QPoint TRChart::TextLabelAnchor(const TTextLabel& l) const
{
    // Anchor in data-picture pixels: pixel coordinates are control pixels.
    const QPoint mapped = DataPixel(l.Layer(), l.PosX(), l.PosY());
    int x = RoundToInt(l.PosX()) - g_.MarginLeft, y = RoundToInt(l.PosY()) - g_.MarginTop;
    if (l.AttachToData() == tlamXOnly || l.AttachToData() == tlamBoth)
        x = mapped.x();
    if (l.AttachToData() == tlamYOnly || l.AttachToData() == tlamBoth)
        y = mapped.y();
    return {x, y};
}

void TRChart::DrawTextLabels(Canvas& c)
{
    for (int n = kTextLabelCount; n >= 1; --n) {
        const TTextLabel* l = textLabels_[size_t(n)];
        if (l->Mode() == tlOff || !l->Visible() || !layerVisible_[size_t(ClampLayer(l->Layer()))])
            continue;
        const QPoint anchor = TextLabelAnchor(*l);
        int x = anchor.x(), y = anchor.y();

        c.Font = l->Font();
        c.Pen = TPen{l->ColorBorder()};
        c.Brush = TBrush{l->ColorBkg(), l->Transparent() ? bsClear : bsSolid};
        const QStringList lines = l->Caption().split(QLatin1Char('\n'));
        const int n_lines = int(lines.size());
        auto textWidth = [&](const QString& s) { return fastPaths_ ? textExtents_.Width(c, s) : c.TextWidth(s); };
        int wmax = 0;
        for (const QString& s : lines)
            wmax = std::max(wmax, textWidth(s));
        const int h = fastPaths_ ? textExtents_.Height(c) : c.TextHeight(QStringLiteral("0"));
        if (l->VerticalAlignment() == vaTop)
            y += h;
        else if (l->VerticalAlignment() == vaCenter)
            y += h / 2;
        if (l->Alignment() == taRightJustify)
            x -= wmax;
        else if (l->Alignment() == taCenter)
            x -= wmax / 2;

        const QRect box(QPoint(x - 4, y - n_lines * h - 2), QPoint(x + wmax + 4, y + 2));
        auto drawBox = [&](const QRect& r) { c.Rectangle(r.left(), r.top(), r.right(), r.bottom()); };
        switch (l->Mode()) {
        case tlsimple:
        case tlUnderline:
            if (!l->Transparent()) {
                c.Pen.Color = l->ColorBkg();
                drawBox(box);
            }
            if (l->Mode() == tlUnderline) {
                c.Pen.Color = l->ColorBorder();
                c.MoveTo(x, y);
                c.LineTo(x + wmax, y);
            }
            break;
        case tlBox:
            drawBox(box);
            break;
        case tlShadow:
            c.Pen.Color = l->ColorShadow();
            c.Brush = TBrush{l->ColorShadow(), bsSolid};
            drawBox(box.translated(l->ShadowDx(), l->ShadowDy()));
            c.Pen.Color = l->ColorBorder();
            c.Brush = TBrush{l->ColorBkg(), bsSolid};
            drawBox(box);
            break;
        case tlOff:
            break;
        }
        c.Brush.Style = bsClear;
        for (int k = 0; k < n_lines; ++k) {
            const int lw = textWidth(lines[k]);
            const int dx = l->Alignment() == taRightJustify ? wmax - lw
                           : l->Alignment() == taCenter     ? (wmax - lw) / 2
                                                            : 0;
            c.TextOut(x + dx, y - h * (n_lines - k), lines[k]);
        }
    }
}

// ---- presenting ----------------------------------------------------------------

void TRChart::DrawCrossHairs(Canvas& c, int x0, int y0)
{
    const TPen keep = c.Pen;
    const int W = width(), H = height();
    for (int n = 1; n <= kCrossHairCount; ++n) {
        const TCrossHair* ch = crossHairs_[size_t(n)];
        if (ch->Mode() == chOff)
            continue;
        int px, py;
        WorldToPixel(ch->Layer(), ch->PosX(), ch->PosY(), px, py);
        px = ClampForDrawing(px);
        py = ClampForDrawing(py);
        c.Pen = TPen{ch->Color(), std::max(ch->LineWid(), 1), ch->LineType(), pmCopy};
        const int h = ch->LineWid() / 2;
        const int right = W - g_.MarginRight - g_.ShadowWidth, bottom = H - g_.MarginBottom - g_.ShadowWidth;
        if ((ch->Mode() == chHoriz || ch->Mode() == chBoth) && g_.MarginTop + h < py && py < bottom - h) {
            c.MoveTo(g_.MarginLeft + h + 1 - x0, py - y0);
            c.LineTo(right - h - x0, py - y0);
        }
        if ((ch->Mode() == chVert || ch->Mode() == chBoth) && g_.MarginLeft + h < px && px < right - h) {
            c.MoveTo(px - x0, g_.MarginTop + h + 1 - y0);
            c.LineTo(px - x0, bottom - h - y0);
        }
    }
    c.Pen = keep;
}

void TRChart::PresentWithCrossHairs(int x, int y, Canvas& bitmap)
{
    for (int n = 1; n <= kCrossHairCount; ++n)
        if (crossHairs_[size_t(n)]->Mode() != chOff) {
            DrawCrossHairs(bitmap, x, y);
            break;
        }
    Present(bitmap, x, y);
}

void TRChart::Present(const Canvas& bitmap, int x, int y)
{
    const int r = ScreenRatio();
    if (presented_.deviceIndependentSize().toSize() != size() || int(presented_.devicePixelRatio()) != r) {
        QImage next(size() * r, QImage::Format_RGB32);
        next.setDevicePixelRatio(r);
        next.fill(ToQColor(windColor_));
        presented_ = std::move(next);
    }
    {
        QPainter p(&presented_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(x, y, bitmap.Image());
    }
    // A zoom window being dragged stays in sight over the new picture.
    if (mouse_.OutlineShown)
        XorOnPresented(mouse_.Outline);
    if (!painting_)
        repaint();
}

void TRChart::paintEvent(QPaintEvent*)
{
    // The window's own paint requests: a full repaint when the picture is
    // out of date, otherwise the last picture.
    painting_ = true;
    if (!PicturesMatchScreen())
        RenderChart();
    painting_ = false;
    QPainter p(this);
    p.drawImage(0, 0, presented_);
}
