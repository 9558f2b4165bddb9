// TRChart: construction, geometry, layers and their mapping.
#include "chart/RChart.h"

#include "chart/StandardLayouts.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace {

constexpr TColor kLayerColors[kLayerCount] = {
    0, 128, 32768, 32896, 8388608, 8388736, 8421376, 8421504,
    12632256, 255, 65280, 65535, 16711680, 16711935, 16776960, 16777215,
};

} // namespace

TRChart::TRChart(QWidget* parent)
    : QWidget(parent)
{
    loading_ = true; // nothing is computed while the parts are made
    classVisible_.fill(true);
    layerVisible_.fill(true);
    store_ = std::make_shared<TItemStore>();
    store_->KindCount[0] = 1;

    // The screen's pixel aspect: the relative height and width of one pixel.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const double dx = screen->physicalDotsPerInchX(), dy = screen->physicalDotsPerInchY();
        if (dx > 0 && dy > 0) {
            aspectX_ = 1.0 / dx;
            aspectY_ = 1.0 / dy;
        }
    }

    joint_ = new TJointLayers(this);
    joint_->OnJoin = [this](bool isX, int n, int m) {
        // The newly joined axis takes the controlling layer's range at once.
        if (isX)
            scaleX_[n]->StoreRange(scaleX_[m]->RangeLow(), scaleX_[m]->RangeHigh());
        else
            scaleY_[n]->StoreRange(scaleY_[m]->RangeLow(), scaleY_[m]->RangeHigh());
        CopySettingsToAxis(n, isX);
        RecomputeCoefficients();
    };
    joint_->OnChange = [this] { RepaintIfAuto(); };

    backGroundImg_ = new TBakGndImg(this);
    backGroundImg_->OnChange = [this] { RepaintIfAuto(); };

    for (int n = 1; n <= kLayerCount; ++n) {
        auto* sx = new TScalePropsHoriz(this);
        auto* sy = new TScalePropsVert(this);
        sx->setObjectName(QStringLiteral("Scale%1X").arg(n));
        sy->setObjectName(QStringLiteral("Scale%1Y").arg(n));
        sx->StoreRange(0, 1);
        sy->StoreRange(0, 1);
        sx->SetColorScale(kLayerColors[n - 1]);
        sy->SetColorScale(kLayerColors[n - 1]);
        sx->SetScaleLocation(n % 2 == 1 ? slBottom : slTop);
        sy->SetScaleLocation(n % 2 == 1 ? slLeft : slRight);
        sx->SetScalePos(((n - 1) / 2) * 30);
        sy->SetScalePos(((n - 1) / 2) * 50);
        sx->OnChange = [this] { ScalePropsChanged(); };
        sy->OnChange = [this] { ScalePropsChanged(); };
        scaleX_[n] = sx;
        scaleY_[n] = sy;

        for (int axis = 0; axis < 2; ++axis) {
            auto* s = new TScale(this);
            s->setObjectName(QStringLiteral("RC_FScale_%1_%2").arg(axis == 0 ? 'X' : 'Y').arg(n));
            s->hide();
            s->SuspendPaint(true);
            s->SetEmbedded(true);
            s->SetExternalCanvas(&control_, 0, 0);
            s->SetTransparent(true);
            s->SetFrameStyle(fsNone);
            s->SetColorBackGnd(windColor_);
            s->OnScaleTickDrawn = [this](TScale* sender, Canvas& c, TScaleType t, double v, int x, int y) {
                if (OnScaleTickDrawn)
                    OnScaleTickDrawn(sender, c, t, v, x, y);
            };
            (axis == 0 ? axisX_ : axisY_)[n] = s;
        }
    }

    font_.Color = clWindowText;
    for (int n = 1; n <= kTextLabelCount; ++n) {
        auto* l = new TTextLabel(this);
        l->SetPosX(0);
        l->SetPosY(0);
        l->SetLayer(1);
        l->SetAttachToData(tlamBoth);
        l->SetAlignment(taCenter);
        l->SetVerticalAlignment(vaBottom);
        l->SetColorBkg(16777215);
        l->SetColorBorder(0);
        l->SetShadowDx(3);
        l->SetShadowDy(3);
        l->SetColorShadow(8421504);
        l->SetTransparent(false);
        l->SetCaption(QString());
        l->SetFont(font_);
        l->SetVisible(false);
        l->SetMode(tlOff);
        l->OnChange = [this] { RepaintIfAuto(); };
        textLabels_[size_t(n)] = l;
    }
    for (int n = 1; n <= kCrossHairCount; ++n) {
        auto* h = new TCrossHair(this);
        h->setObjectName(QStringLiteral("CrossHair%1").arg(n));
        h->SetLayer(n);
        h->OnChange = [this] { RepaintIfAuto(); };
        crossHairs_[size_t(n)] = h;
    }

    resize(400, 300);
    g_.Width = width();
    g_.Height = height();
    loading_ = false;
    StandardLayout(rcl_X1Bottom_Y1Left);
    setFocusPolicy(Qt::StrongFocus);
    InitMouse();
}

TRChart::~TRChart()
{
    // Leave the sharing group so that no chart keeps a pointer to this one.
    if (useDataOf_)
        DetachFromMaster();
    for (int i = 0; i < dataUserCount_; ++i)
        if (TRChart* user = dataUsers_[size_t(i)]) {
            user->useDataOf_ = nullptr;
            user->store_ = std::make_shared<TItemStore>(*store_);
        }
    for (int n = 1; n <= kLayerCount; ++n) {
        scaleX_[n]->OnChange = nullptr;
        scaleY_[n]->OnChange = nullptr;
    }
}

// ---- geometry --------------------------------------------------------------

TChartGeometry TRChart::Geometry() const
{
    return g_;
}

bool TRChart::Drawable() const
{
    return isVisible() && !loading_ && !suppressPaint_;
}

void TRChart::GeometryChanged()
{
    // Margins never resize the control: a data area without room maps every
    // point to the middle. Only SetControlBounds keeps a minimum size.
    g_.Width = width();
    g_.Height = height();
    if (isometric_)
        ApplyIsometric();
    CopySettingsToAxes();
    RecomputeCoefficients();
    RepaintIfAuto();
}

void TRChart::SetMargin(int& margin, int v)
{
    margin = v;
    GeometryChanged();
}

void TRChart::SetMarginLeft(int v) { SetMargin(g_.MarginLeft, v); }
void TRChart::SetMarginRight(int v) { SetMargin(g_.MarginRight, v); }
void TRChart::SetMarginTop(int v) { SetMargin(g_.MarginTop, v); }
void TRChart::SetMarginBottom(int v) { SetMargin(g_.MarginBottom, v); }
void TRChart::SetShadowWidth(int v) { SetMargin(g_.ShadowWidth, std::clamp(v, 0, 32)); }

void TRChart::SetControlBounds(int left, int top, int w, int h)
{
    w = std::max(w, g_.MarginLeft + g_.MarginRight + g_.ShadowWidth + 80);
    h = std::max(h, g_.MarginTop + g_.MarginBottom + g_.ShadowWidth + 20);
    setGeometry(left, top, w, h);
    if (g_.Width != w || g_.Height != h)
        GeometryChanged(); // a hidden widget gets its resize event only when shown
}

void TRChart::resizeEvent(QResizeEvent*)
{
    if (g_.Width != width() || g_.Height != height())
        GeometryChanged();
}

void TRChart::SetIsometric(bool v)
{
    isometric_ = v;
    if (!v)
        return;
    ApplyIsometric();
    CopySettingsToAxes();
    RecomputeCoefficients();
    RepaintIfAuto();
}

void TRChart::ApplyIsometric()
{
    const double wd = g_.Wd() + 1, hd = g_.Hd() + 1;
    for (int n = 1; n <= kLayerCount; ++n) {
        TScalePropsHoriz* x = scaleX_[n];
        TScalePropsVert* y = scaleY_[n];
        const double high = y->RangeLow() + (x->RangeHigh() - x->RangeLow()) * hd / wd * aspectY_ / aspectX_;
        auto notify = std::move(y->OnChange);
        y->OnChange = nullptr;
        y->SetRangeHigh(high);
        y->OnChange = std::move(notify);
    }
}

void TRChart::StandardLayout(TrcLayout layout)
{
    const bool keep = suppressPaint_;
    suppressPaint_ = true;
    inSettingsChange_ = true;
    const TLayoutSettings s = StandardLayoutSettings(layout);
    g_.MarginLeft = s.MarginLeft;
    g_.MarginRight = s.MarginRight;
    g_.MarginTop = s.MarginTop;
    g_.MarginBottom = s.MarginBottom;
    captionPosX_ = s.CaptionPosX;
    captionPosY_ = s.CaptionPosY;
    captionAlignment_ = s.CaptionAlignment;
    captionAnchorHoriz_ = s.CaptionAnchorHoriz;
    captionAnchorVert_ = s.CaptionAnchorVert;
    // A layout places the axes of layers 1 to 4; the axes of the others keep
    // their own place and are only hidden.
    for (int n = kLayoutLayers + 1; n <= kLayerCount; ++n) {
        scaleX_[n]->SetVisible(false);
        scaleY_[n]->SetVisible(false);
    }
    for (int n = 1; n <= kLayoutLayers; ++n) {
        const TLayoutAxis ax = s.X[size_t(n - 1)];
        const TLayoutAxis ay = s.Y[size_t(n - 1)];
        TScalePropsHoriz* x = scaleX_[n];
        TScalePropsVert* y = scaleY_[n];
        x->SetScaleLocation(ax.FarSide ? slTop : slBottom);
        x->SetCaptionPosX(ax.CaptionPosX);
        x->SetCaptionPosY(ax.CaptionPosY);
        x->SetCaptionAlignment(ax.CaptionAlignment);
        x->SetCaptionAnchor(ax.CaptionAnchor);
        x->SetScalePos(ax.ScalePos);
        x->SetVisible(ax.Visible);
        y->SetScaleLocation(ay.FarSide ? slRight : slLeft);
        y->SetCaptionPosX(ay.CaptionPosX);
        y->SetCaptionPosY(ay.CaptionPosY);
        y->SetCaptionAlignment(ay.CaptionAlignment);
        y->SetCaptionAnchor(ay.CaptionAnchor);
        y->SetScalePos(ay.ScalePos);
        y->SetVisible(ay.Visible);
    }
    inSettingsChange_ = false;
    GeometryChanged();
    SetSuppressPaint(keep);
}

// ---- layers ----------------------------------------------------------------

void TRChart::RecomputeCoefficients()
{
    if (loading_)
        return;
    for (int n = 1; n <= kLayerCount; ++n) {
        const TScaleProps* x = scaleX_[n];
        const TScaleProps* y = scaleY_[n];
        mapX_[size_t(n)] = MapHorizontal(g_, x->RangeLow(), x->RangeHigh(), x->Logarithmic());
        mapY_[size_t(n)] = MapVertical(g_, y->RangeLow(), y->RangeHigh(), y->Logarithmic());
    }
}

void TRChart::WorldToPixel(int layer, double x, double y, int& px, int& py) const
{
    const size_t n = size_t(ClampLayer(layer));
    px = AxisToPixel(mapX_[n], x);
    py = AxisToPixel(mapY_[n], y);
}

void TRChart::PixelToWorld(int layer, int px, int py, double& x, double& y) const
{
    const size_t n = size_t(ClampLayer(layer));
    x = AxisToWorld(mapX_[n], px);
    y = AxisToWorld(mapY_[n], py);
}

void TRChart::ScalePropsChanged()
{
    if (inSettingsChange_ || loading_)
        return;
    inSettingsChange_ = true;
    const bool keep = suppressPaint_;
    suppressPaint_ = true;
    CopySettingsToAxes();
    for (int n = 1; n <= kLayerCount; ++n)
        SetLayerRange(n, scaleX_[n]->RangeLow(), scaleX_[n]->RangeHigh(), scaleY_[n]->RangeLow(),
                      scaleY_[n]->RangeHigh());
    inSettingsChange_ = false;
    suppressPaint_ = keep;
    RepaintIfAuto();
}

void TRChart::CopySettingsToAxes()
{
    for (int n = 1; n <= kLayerCount; ++n) {
        CopySettingsToAxis(n, true);
        CopySettingsToAxis(n, false);
    }
}

void TRChart::CopySettingsToAxis(int n, bool horizontal)
{
    TScale* s = horizontal ? axisX_[n] : axisY_[n];
    const TScaleProps* p = horizontal ? static_cast<const TScaleProps*>(scaleX_[n])
                                      : static_cast<const TScaleProps*>(scaleY_[n]);
    const int W = width(), H = height();
    if (s->width() != W || s->height() != H)
        s->resize(W, H);
    // The labels take the axis colour.
    TScaleSettings settings = p->Settings();
    settings.Font.Color = settings.ColorScale;
    s->SetSettings(settings);
    s->SetDateFormat(*p->DateFormat());
    s->SetColorBackGnd(windColor_);

    const int pos = p->ScalePos();
    switch (p->ScaleType()) {
    case sctXT: s->SetMarginTop(pos + H - g_.MarginBottom - g_.ShadowWidth); break;
    case sctXB: s->SetMarginBottom(pos + H - g_.MarginTop - 1); break;
    case sctYL: s->SetMarginLeft(pos + W - g_.MarginRight - g_.ShadowWidth); break;
    case sctYR: s->SetMarginRight(pos + W - g_.MarginLeft - 1); break;
    }
    if (horizontal) {
        s->SetMarginLeft(g_.MarginLeft);
        s->SetMarginRight(g_.MarginRight + g_.ShadowWidth - 1);
    } else {
        s->SetMarginTop(g_.MarginTop);
        s->SetMarginBottom(g_.MarginBottom + g_.ShadowWidth - 1);
    }
    s->UpdateScaling();
}

void TRChart::ApplyLayerRange(int n, double xLow, double xHigh, double yLow, double yHigh)
{
    scaleX_[n]->StoreRange(xLow, xHigh);
    scaleY_[n]->StoreRange(yLow, yHigh);
    CopySettingsToAxis(n, true);
    CopySettingsToAxis(n, false);
    RecomputeCoefficients();
}

void TRChart::SetLayerRange(int layer, double xLow, double xHigh, double yLow, double yHigh)
{
    const int L = ClampLayer(layer);
    const bool keep = suppressPaint_;
    suppressPaint_ = true;
    if (joint_->XControlledBy(L) != L) {
        xLow = scaleX_[L]->RangeLow();
        xHigh = scaleX_[L]->RangeHigh();
    }
    if (joint_->YControlledBy(L) != L) {
        yLow = scaleY_[L]->RangeLow();
        yHigh = scaleY_[L]->RangeHigh();
    }
    ApplyLayerRange(L, xLow, xHigh, yLow, yHigh);
    for (int i = 1; i <= kLayerCount; ++i) {
        if (i == L)
            continue;
        const int xi = joint_->XControlledBy(i), yi = joint_->YControlledBy(i);
        if (xi != L && yi != L)
            continue;
        ApplyLayerRange(i, scaleX_[xi]->RangeLow(), scaleX_[xi]->RangeHigh(), scaleY_[yi]->RangeLow(),
                        scaleY_[yi]->RangeHigh());
    }
    SetSuppressPaint(keep);
}

void TRChart::BeginLoading()
{
    loading_ = true;
}

void TRChart::Loaded()
{
    loading_ = false;
    for (int n = 1; n <= kLayerCount; ++n) {
        scaleX_[n]->SetLoading(false);
        scaleY_[n]->SetLoading(false);
    }
    g_.Width = width();
    g_.Height = height();
    CopySettingsToAxes();
    RecomputeCoefficients();
    RenderChart();
}

void TRChart::showEvent(QShowEvent*)
{
    // The window exists from its first showing on: painting is no longer
    // suppressed (unless the owner suppresses it again later).
    if (windowCreated_)
        return;
    windowCreated_ = true;
    SetSuppressPaint(false);
}

void TRChart::SetSuppressPaint(bool v)
{
    if (v == suppressPaint_)
        return;
    suppressPaint_ = v;
    if (!v)
        RenderChart();
}
