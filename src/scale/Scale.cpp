#include "scale/Scale.h"

#include "scale/LabelPlacement.h"
#include "scale/TickPass.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

// Draws the ticks, labels, date lines and messages of a pass on one canvas,
// across the axis line at the given position.
class TScale::Painter : public TTickPainter {
public:
    Painter(TScale& scale, Canvas& canvas, QPoint axisStart)
        : s_(scale), c_(canvas), type_(scale.ScaleType()), vertical_(IsVertical(type_)),
          across_(vertical_ ? axisStart.x() : axisStart.y())
    {
    }

    void DrawTick(double value, bool mainTick) override
    {
        const QPoint start = TickPoint(value);
        const QPoint end = TickEnd(type_, start, mainTick);
        c_.MoveTo(start.x(), start.y());
        c_.LineTo(end.x(), end.y());
    }

    void TickDrawn(double value) override
    {
        if (!s_.OnScaleTickDrawn)
            return;
        const QPoint p = TickPoint(value);
        s_.OnScaleTickDrawn(&s_, c_, type_, value, p.x(), p.y());
    }

    void PlaceLabel(double value, const QString& text) override
    {
        if (text.isEmpty())
            return;
        const QPoint at = LabelTopLeft(type_, Along(value), across_, c_.TextWidth(text),
                                       c_.TextHeight(text), c_.TextHeight(QStringLiteral("0")), s_.width());
        c_.TextOut(at.x(), at.y(), text);
    }

    void PlaceDateLine(double value, const QString& text) override
    {
        if (text.isEmpty())
            return;
        const int w = c_.TextWidth(text), h = c_.TextHeight(text);
        const int p = Along(value);
        QPoint at;
        if (vertical_) {
            at = {type_ == sctYL ? across_ + 8 : across_ - w - 8, p - 3 * (h / 2)};
        } else {
            at = LabelTopLeft(type_, p, across_, w, h, h, s_.width());
            at.ry() += type_ == sctXB ? -h : h;
        }
        c_.TextOut(at.x(), at.y(), text);
    }

    void PlaceMessage(double value, const QString& oneLine, const QStringList& lines) override
    {
        const int p = Along(value);
        if (!vertical_) {
            c_.TextOut(p - c_.TextWidth(oneLine) / 2, across_ + 7, oneLine);
            return;
        }
        const int h = c_.TextHeight(QStringLiteral("T"));
        for (int k = 0; k < lines.size(); ++k) {
            const int w = c_.TextWidth(lines[k]);
            c_.TextOut(type_ == sctYL ? across_ + 2 : across_ - 2 - w, p + (k - 1) * h, lines[k]);
        }
    }

private:
    // The pixel along the scale, kept within +-30000 like the chart's items:
    // a mapping that sends a value far off (a degenerate range) must not
    // overflow the offsets added to it for ticks, labels and messages.
    int Along(double value) const { return std::clamp(s_.ValueToPixel(value), -30000, 30000); }

    QPoint TickPoint(double value) const
    {
        const int p = Along(value);
        return vertical_ ? QPoint(across_, p) : QPoint(p, across_);
    }

    TScale& s_;
    Canvas& c_;
    TScaleType type_;
    bool vertical_;
    int across_;
};

TScale::TScale(QWidget* parent)
    : QWidget(parent)
{
    settings_.Font.Color = clWindowText;
    resize(400, 400);
    dateFormat_ = new TDTLabel(this);
    dateFormat_->OnChange = [this] { Repaint(); };
    UpdateScaling();
    suspended_ = false;
}

TScale::~TScale()
{
    dateFormat_->OnChange = nullptr;
}

// ---- mapping ---------------------------------------------------------------

void TScale::UpdateScaling()
{
    if (loading_)
        return;
    geometry_.Width = width();
    geometry_.Height = height();
    geometry_.ScaleType = settings_.ScaleType;
    mapping_.Update(settings_.RangeLow, settings_.RangeHigh, settings_.Logarithmic, geometry_);
}

// ---- setters ---------------------------------------------------------------

void TScale::SetCaption(const QString& v) { settings_.Caption = v; Repaint(); }
void TScale::SetCaptionPosX(int v) { settings_.CaptionPosX = v; Repaint(); }
void TScale::SetCaptionPosY(int v) { settings_.CaptionPosY = v; Repaint(); }
void TScale::SetCaptionAlignment(TAlignment v) { settings_.CaptionAlignment = v; Repaint(); }
void TScale::SetCaptionAnchor(TScaleUnitAnchor v) { settings_.CaptionAnchor = v; Repaint(); }
void TScale::SetScaleInscript(const QString& v) { settings_.ScaleInscript = v; Repaint(); }
void TScale::SetUserTickText(const QString& v) { settings_.UserTickText = v; Repaint(); }
void TScale::SetShowBaseLine(bool v) { showBaseLine_ = v; Repaint(); }
void TScale::SetTransparent(bool v) { transparent_ = v; Repaint(); }
void TScale::SetFont(const TFont& v) { settings_.Font = v; Repaint(); }

void TScale::SetColorBackGnd(TColor v)
{
    if (v == colorBackGnd_)
        return;
    colorBackGnd_ = v;
    Repaint();
}

void TScale::SetColorScale(TColor v)
{
    if (v == settings_.ColorScale)
        return;
    settings_.ColorScale = v;
    Repaint();
}

void TScale::SetColorScheme(TColorScheme v)
{
    if (v == colorScheme_)
        return;
    colorScheme_ = v;
    relief_ = ReliefColors(v);
    Repaint();
}

void TScale::SetFrameStyle(TFrameStyle v)
{
    if (v == frameStyle_)
        return;
    frameStyle_ = v;
    Repaint();
}

void TScale::SetShortTicks(bool v)
{
    if (v == settings_.ShortTicks)
        return;
    settings_.ShortTicks = v;
    Repaint();
}

void TScale::SetScaleType(TScaleType v)
{
    if (v == settings_.ScaleType)
        return;
    settings_.ScaleType = v;
    UpdateScaling();
    Repaint();
}

void TScale::SetDateFormat(const TDTLabel& v)
{
    const auto notify = std::move(dateFormat_->OnChange);
    dateFormat_->OnChange = nullptr;
    dateFormat_->Assign(v);
    dateFormat_->OnChange = notify;
    Repaint();
}

void TScale::SetDecPlaces(int v)
{
    settings_.DecPlaces = std::clamp(v, -3, 12);
    UpdateScaling();
    Repaint();
}

void TScale::SetMinTicks(int v)
{
    settings_.MinTicks = std::clamp(v, 2, 10);
    Repaint();
}

void TScale::SetLabelType(TFigType v)
{
    settings_.LabelType = v;
    if (v == ftDateTime)
        settings_.Logarithmic = false;
    if (v == ftTime)
        settings_.DecPlaces = 4;
    UpdateScaling();
    Repaint();
}

void TScale::SetLogarithmic(bool v)
{
    // A scale loaded from a window description accepts the logarithmic mode
    // only where it can be drawn; one made in code takes it unchecked.
    if (v && !LogarithmicAccepted())
        return;
    settings_.Logarithmic = v;
    UpdateScaling();
    Repaint();
}

bool TScale::LogarithmicAccepted() const
{
    return notYetLoaded_
           || (settings_.RangeLow >= 1e-100 && settings_.RangeHigh >= 1e-100 && settings_.LabelType != ftDateTime);
}

void TScale::SetRangeLow(double v)
{
    settings_.RangeLow = v;
    if (v == settings_.RangeHigh)
        settings_.RangeHigh = v + 1;
    UpdateScaling();
    Repaint();
}

void TScale::SetRangeHigh(double v)
{
    settings_.RangeHigh = v;
    if (v == settings_.RangeLow)
        settings_.RangeLow = v + 1;
    UpdateScaling();
    Repaint();
}

void TScale::SetMargin(int& margin, int v)
{
    margin = std::max(v, 0);
    UpdateScaling();
    Repaint();
}

void TScale::SetMarginTop(int v) { SetMargin(geometry_.MarginTop, v); }
void TScale::SetMarginBottom(int v) { SetMargin(geometry_.MarginBottom, v); }
void TScale::SetMarginLeft(int v) { SetMargin(geometry_.MarginLeft, v); }
void TScale::SetMarginRight(int v) { SetMargin(geometry_.MarginRight, v); }

void TScale::SetSettings(const TScaleSettings& v)
{
    const bool logarithmic = settings_.Logarithmic;
    settings_ = v;
    settings_.DecPlaces = std::clamp(v.DecPlaces, -3, 12);
    settings_.MinTicks = std::clamp(v.MinTicks, 2, 10);
    if (settings_.RangeHigh == settings_.RangeLow)
        settings_.RangeHigh = settings_.RangeLow + 1;
    if (settings_.Logarithmic && !LogarithmicAccepted())
        settings_.Logarithmic = logarithmic;
    if (!embedded_)
        QWidget::setVisible(settings_.Visible);
    UpdateScaling();
    Repaint();
}

void TScale::SetVisible(bool v)
{
    settings_.Visible = v;
    if (!embedded_)
        QWidget::setVisible(v);
    Repaint();
}

// ---- host operations -------------------------------------------------------

void TScale::SetExternalCanvas(Canvas* canvas, int x, int y)
{
    external_ = canvas;
    extX_ = x;
    extY_ = y;
}

void TScale::SuspendPaint(bool suspend)
{
    if (suspend == suspended_)
        return;
    suspended_ = suspend;
    if (!suspend)
        Repaint();
}

void TScale::PaintNow()
{
    const bool keep = suspended_;
    suspended_ = false;
    Paint();
    suspended_ = keep;
}

void TScale::SetEmbedded(bool embedded)
{
    if (embedded == embedded_)
        return;
    embedded_ = embedded;
    Repaint();
}

void TScale::BeginLoading()
{
    loading_ = true;
}

void TScale::Loaded()
{
    loading_ = false;
    UpdateScaling();
    notYetLoaded_ = false;
    Repaint();
}

void TScale::CopyFrom(const TScale& src)
{
    // A copy keeps its own font and visibility.
    const TFont font = settings_.Font;
    const bool visible = settings_.Visible;
    settings_ = src.settings_;
    settings_.Font = font;
    settings_.Visible = visible;
    frameStyle_ = src.frameStyle_;
    colorBackGnd_ = src.colorBackGnd_;
    colorScheme_ = src.colorScheme_;
    relief_ = src.relief_;
    OnScaleTickDrawn = src.OnScaleTickDrawn;
    mapping_ = src.mapping_;
    showBaseLine_ = src.showBaseLine_;
    transparent_ = src.transparent_;
    // Each scale keeps its own date format object for its whole life; the
    // settings are copied into it.
    {
        const auto notify = std::move(dateFormat_->OnChange);
        dateFormat_->OnChange = nullptr;
        dateFormat_->Assign(*src.dateFormat_);
        dateFormat_->OnChange = notify;
    }
    geometry_.MarginTop = src.geometry_.MarginTop;
    geometry_.MarginBottom = src.geometry_.MarginBottom;
    geometry_.MarginLeft = src.geometry_.MarginLeft;
    geometry_.MarginRight = src.geometry_.MarginRight;
    record_ = src.record_;
    external_ = src.external_;
    extX_ = src.extX_;
    extY_ = src.extY_;
    suspended_ = src.suspended_;
    Repaint();
}

// ---- painting --------------------------------------------------------------

void TScale::Repaint()
{
    // An opaque or embedded scale paints at once; a transparent stand-alone
    // one lets its parent repaint the background under it first.
    if (!transparent_ || embedded_)
        Paint();
    else
        update();
}

void TScale::Paint()
{
    if (!settings_.Visible || loading_ || suspended_)
        return;
    if (external_) {
        Render(*external_, extX_, extY_, false);
        return;
    }
    Render(picture_, 0, 0, true);
    repaint();
}

QPoint TScale::AxisLineStart(int ox, int oy) const
{
    const int W = width(), H = height();
    const TScaleGeometry& g = geometry_;
    switch (settings_.ScaleType) {
    case sctXB: return {g.MarginLeft, oy + H - g.MarginBottom - 1};
    case sctXT: return {g.MarginLeft, oy + g.MarginTop};
    case sctYL: return {ox + g.MarginLeft, g.MarginTop};
    case sctYR: return {ox + W - g.MarginRight - 1, g.MarginTop};
    }
    return {};
}

QPoint TScale::AxisLineEnd(int ox, int oy) const
{
    const QPoint s = AxisLineStart(ox, oy);
    if (IsVertical(settings_.ScaleType))
        return {s.x(), height() - geometry_.MarginBottom - 1};
    return {width() - geometry_.MarginRight - 1, s.y()};
}

void TScale::Render(Canvas& target, int ox, int oy, bool ownPicture)
{
    const int W = width(), H = height();
    if (ownPicture) {
        // The scale's own picture holds the screen's device pixels.
        target.SetDevicePixelRatio(Canvas::WholeRatio(devicePixelRatioF()));
        target.Resize(W, H);
        if (transparent_)
            target.ClearTransparent();
    }
    target.Font = settings_.Font;
    if (OnBeforeScaleRendered)
        OnBeforeScaleRendered(this, target);

    auto drawBaseLine = [&](Canvas& c, int x, int y) {
        if (!showBaseLine_)
            return;
        const QPoint a = AxisLineStart(x, y), b = AxisLineEnd(x, y);
        c.MoveTo(a.x(), a.y());
        c.LineTo(b.x(), b.y());
    };

    if (transparent_) {
        target.Pen.Color = settings_.ColorScale;
        DrawAxis(target, ox, oy);
        drawBaseLine(target, ox, oy);
        if (OnAfterScaleRendered)
            OnAfterScaleRendered(this, target);
        return;
    }

    // Of the target's resolution, so that it is copied without scaling.
    Canvas pic;
    pic.SetDevicePixelRatio(target.DevicePixelRatio());
    pic.Resize(W, H);
    pic.SetPrinter(target.IsPrinter(), target.PrinterDpiY());
    pic.Font = settings_.Font;
    pic.Pen = TPen{colorBackGnd_};
    pic.Brush = TBrush{colorBackGnd_, bsSolid};
    pic.Rectangle(0, 0, W, H);
    pic.Pen.Color = settings_.ColorScale;
    DrawAxis(pic, 0, 0);
    drawBaseLine(pic, 0, 0);
    if (OnAfterScaleRendered)
        OnAfterScaleRendered(this, pic);
    DrawFrame(pic, frameStyle_, 0, 0, W - 1, H - 1, relief_.Highlight, kFrameFace, relief_.Shadow,
              kFrameDark, kFrameDark);
    if (ownPicture)
        target = std::move(pic);
    else
        target.Draw(ox, oy, pic.Image());
}

void TScale::DrawAxis(Canvas& c, int ox, int oy)
{
    if (c.IsPrinter()) {
        // Labels keep their point size on paper: a pixel height is read at
        // the screen's resolution and turned into points.
        if (settings_.Font.Height < 0)
            c.Font.SetSize(qMax(1, qRound(-settings_.Font.Height * 72.0 / 96.0)));
    }
    c.Brush.Style = transparent_ ? bsClear : bsSolid;
    record_.Reset();

    const QPoint axis = AxisLineStart(ox, oy);
    Painter painter(*this, c, axis);
    const TScaleSettings& in = settings_;
    if (settings_.LabelType == ftDateTime)
        DateTimeTickPass(in, *dateFormat_, record_, painter);
    else if (settings_.LabelType == ftTime) {
        if (!TimeTickPass(in, record_, painter))
            NumericTickPass(in, record_, painter);
    } else {
        NumericTickPass(in, record_, painter);
    }

    if (settings_.Caption.isEmpty())
        return;
    const int W = width(), H = height();
    const TScaleGeometry& g = geometry_;
    int x, y;
    if (!IsVertical(settings_.ScaleType)) {
        x = settings_.CaptionPosX + (settings_.CaptionAnchor == uaSclTopLft  ? g.MarginLeft
                            : settings_.CaptionAnchor == uaSclCenter ? g.MarginLeft + (W - g.MarginLeft - g.MarginRight) / 2
                                                            : W - g.MarginRight);
        y = settings_.CaptionPosY + axis.y();
    } else {
        x = settings_.CaptionPosX + axis.x();
        y = settings_.CaptionPosY + (settings_.CaptionAnchor == uaSclTopLft  ? g.MarginTop
                            : settings_.CaptionAnchor == uaSclCenter ? g.MarginTop + (H - g.MarginTop - g.MarginBottom) / 2
                                                            : H - g.MarginBottom);
    }
    const int w = c.TextWidth(settings_.Caption);
    if (settings_.CaptionAlignment == taRightJustify)
        x -= w;
    else if (settings_.CaptionAlignment == taCenter)
        x -= w / 2;
    c.TextOut(x, y, settings_.Caption);
}

void TScale::resizeEvent(QResizeEvent*)
{
    UpdateScaling();
    Repaint();
}

void TScale::paintEvent(QPaintEvent*)
{
    if (embedded_)
        return;
    if (transparent_ || !picture_.FitsWidget(*this)) {
        if (!settings_.Visible || loading_)
            return;
        Render(picture_, 0, 0, true);
    }
    QPainter p(this);
    p.drawImage(0, 0, picture_.Image());
}
