#include "widgets/RasterLab.h"

#include "support/Errors.h"
#include "support/TextEncoding.h"
#include "widgets/DotMatrixLayout.h"
#include "widgets/ReadOutAccessible.h"
#include "widgets/ScrollTimer.h"

#include <QPainter>
#include <algorithm>
#include <climits>

namespace {

constexpr int kMinInterval = 10;

// Positions far outside any control are held there, so that PosX plus the
// scroll offset cannot overflow.
int Clamped(long long v)
{
    return int(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
}

} // namespace

TRasterLab::TRasterLab(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    font_.Name = QStringLiteral("default");
    font_.Height = 8;
    font_.Color = clBlack;
    raster_ = CharRasterFor(font_);
    codes_ = EncodeText(text_, TTextEncoding::Windows1252);
    const TReliefColors relief = ReliefColors(colorScheme_);
    look_.Shadow = relief.Shadow;
    look_.Highlight = relief.Highlight;
    timer_ = new TScrollTimer(this);
    timer_->OnTick = [this] { ScrollTick(); };
    resize(400, 68);
    InstallReadOutAccessibility();
}

TRasterLab::~TRasterLab()
{
    timer_->Stop();
}

// ---- painting -------------------------------------------------------------

bool TRasterLab::VisibleFlag() const
{
    // The control's own Visible setting: only an explicit hide() clears it;
    // a control on a window that is not shown yet still counts as visible.
    return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
}

void TRasterLab::Render()
{
    // Every dot covers whole device pixels on a high-resolution screen.
    picture_.SetDevicePixelRatio(Canvas::WholeRatio(devicePixelRatioF()));
    picture_.Resize(width(), height());
    PaintDotMatrix(picture_, look_, raster_, codes_, Clamped(qint64(posX_) + scroll_.X),
                   Clamped(qint64(posY_) + scroll_.Y));
}

void TRasterLab::Repaint()
{
    if (!VisibleFlag())
        return;
    Render();
    repaint();
}

void TRasterLab::paintEvent(QPaintEvent*)
{
    if (!picture_.FitsWidget(*this))
        Render();
    QPainter p(this);
    p.drawImage(0, 0, picture_.Image());
}

void TRasterLab::resizeEvent(QResizeEvent*)
{
    if (autoCenter_)
        Center();
    if (VisibleFlag())
        Render();
}

void TRasterLab::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (visible)
        Repaint();
}

// ---- geometry -------------------------------------------------------------

int TRasterLab::CenteringWidth() const
{
    return DotTextWidth(raster_, codes_, look_.Proportional, look_.Pitch());
}

int TRasterLab::TextPixelWidth() const
{
    return CenteringWidth() + 1;
}

void TRasterLab::Center()
{
    posX_ = CenteredPosX(width(), CenteringWidth(), DotFrameWidth(look_.Frame));
}

void TRasterLab::FitHeight()
{
    resize(width(), FittedHeight(DotFrameWidth(look_.Frame), look_.Pitch(), raster_.Height));
}

void TRasterLab::ApplyAutoSize()
{
    if (autoHeight_)
        FitHeight();
    if (autoCenter_)
        Center();
}

// ---- properties -----------------------------------------------------------

void TRasterLab::SetText(const QString& v)
{
    if (v == text_)
        return;
    text_ = v;
    codes_ = EncodeText(text_, TTextEncoding::Windows1252);
    if (autoCenter_)
        Center();
    Repaint();
    NotifyReadOutTextChanged(this, text_);
}

void TRasterLab::SetDotSize(int v)
{
    v = std::clamp(v, 1, 32);
    if (v == look_.DotSize)
        return;
    look_.DotSize = v;
    ApplyAutoSize();
    Repaint();
}

void TRasterLab::SetDotSpacing(int v)
{
    v = std::clamp(v, 0, 3);
    if (v == look_.DotSpacing)
        return;
    look_.DotSpacing = v;
    ApplyAutoSize();
    Repaint();
}

void TRasterLab::SetPosX(int v)
{
    if (v == posX_)
        return;
    posX_ = v;
    Repaint();
}

void TRasterLab::SetPosY(int v)
{
    if (v == posY_)
        return;
    posY_ = v;
    Repaint();
}

void TRasterLab::SetProportional(bool v)
{
    if (v == look_.Proportional)
        return;
    look_.Proportional = v;
    // The text's width changed: a centred text stays centred.
    if (autoCenter_)
        Center();
    Repaint();
}

void TRasterLab::SetCharBlockMode(TRDBlockMode v)
{
    if (v == look_.BlockMode)
        return;
    look_.BlockMode = v;
    Repaint();
}

void TRasterLab::SetAutoHeight(bool v)
{
    if (v == autoHeight_)
        return;
    autoHeight_ = v;
    if (autoHeight_)
        FitHeight();
    Repaint();
}

void TRasterLab::SetAutoCenter(bool v)
{
    if (v == autoCenter_)
        return;
    autoCenter_ = v;
    if (autoCenter_)
        Center();
    else
        posX_ = 1;
    Repaint();
}

void TRasterLab::SetColor(TColor& field, TColor v)
{
    if (v == field)
        return;
    field = v;
    Repaint();
}

void TRasterLab::SetColorDotOn(TColor v) { SetColor(look_.DotOn, v); }
void TRasterLab::SetColorDotOff(TColor v) { SetColor(look_.DotOff, v); }
void TRasterLab::SetColorLabBakG(TColor v) { SetColor(look_.Background, v); }

void TRasterLab::SetFrameStyle(TFrameStyle v)
{
    if (v == look_.Frame)
        return;
    look_.Frame = v;
    // The frame width enters both the fitted height and the centred position.
    ApplyAutoSize();
    Repaint();
}

void TRasterLab::SetColorScheme(TColorScheme v)
{
    if (v == colorScheme_)
        return;
    colorScheme_ = v;
    const TReliefColors relief = ReliefColors(v);
    look_.Shadow = relief.Shadow;
    look_.Highlight = relief.Highlight;
    Repaint();
}

void TRasterLab::SetFont(const TFont& v)
{
    if (v == font_)
        return;
    font_ = v;
    raster_ = CharRasterFor(font_);
    ApplyAutoSize();
    Repaint();
}

void TRasterLab::SetCharBlockModeInt(int v)
{
    if (v >= rdbmOff && v <= rdbmRaster)
        SetCharBlockMode(TRDBlockMode(v));
}

void TRasterLab::SetFrameStyleInt(int v)
{
    if (IsFrameStyle(v))
        SetFrameStyle(TFrameStyle(v));
}

void TRasterLab::SetColorSchemeInt(int v)
{
    if (IsColorScheme(v))
        SetColorScheme(TColorScheme(v));
}

void TRasterLab::SetScrollModeInt(int v)
{
    if (v >= rdsmOff && v <= rdsmUp)
        SetScrollMode(TRDScrollMode(v));
}

void TRasterLab::Assign(const TRasterLab& source)
{
    if (&source == this)
        return;
    look_.Frame = source.look_.Frame;
    const bool textChanged = text_ != source.text_;
    text_ = source.text_;
    codes_ = source.codes_;
    look_.Background = source.look_.Background;
    look_.DotOn = source.look_.DotOn;
    look_.Dark = source.look_.Dark;
    look_.Shadow = source.look_.Shadow;
    look_.Highlight = source.look_.Highlight;
    colorScheme_ = source.colorScheme_;
    if (autoCenter_)
        Center();
    Repaint();
    if (textChanged)
        NotifyReadOutTextChanged(this, text_);
}

// ---- scrolling ------------------------------------------------------------

bool TRasterLab::TimerActive() const
{
    return timer_->Active();
}

void TRasterLab::RestartTimer()
{
    timer_->Stop();
    if (scrollInterval_ > 0 && scrollMode_ != rdsmOff && running_) {
        if (!timer_->Start(scrollInterval_)) {
            running_ = false;
            throw EVexRasterLabError(objectName(), QStringLiteral("no timer available"));
        }
    }
}

void TRasterLab::SetScrollMode(TRDScrollMode v)
{
    if (v == scrollMode_)
        return;
    scrollMode_ = v;
    running_ = v != rdsmOff;
    RestartTimer();
    if (v == rdsmOff) {
        scroll_ = TScrollOffsets{};
        Repaint();
    }
}

void TRasterLab::SetScrollInterval(int v)
{
    v = std::max(v, kMinInterval);
    if (v == scrollInterval_)
        return;
    scrollInterval_ = v;
    RestartTimer();
}

void TRasterLab::SetScrollIncrement(int v)
{
    if (v == 0)
        v = 1;
    else if (v < 0)
        v = v == INT_MIN ? INT_MAX : -v;
    if (v == scrollIncrement_)
        return;
    scrollIncrement_ = v;
    RestartTimer();
}

void TRasterLab::SetScrollLoop(bool v)
{
    scrollLoop_ = v;
    Repaint();
}

void TRasterLab::ScrollTick()
{
    try {
        TScrollStepInput in;
        in.Mode = scrollMode_;
        in.Increment = scrollIncrement_;
        in.Loop = scrollLoop_;
        in.TextWidth = TextPixelWidth();
        in.TextHeight = raster_.Height * look_.Pitch();
        in.ControlWidth = width();
        in.ControlHeight = height();
        const bool restarted = ScrollStep(in, scroll_);
        if (scrollMode_ == rdsmOff)
            running_ = false;
        if (restarted && OnScrollLoopRestart)
            OnScrollLoopRestart(this);
        Repaint();
        if (OnScrollTimer)
            OnScrollTimer(this);
    } catch (...) {
        timer_->Stop();
        throw;
    }
}

// ---- mouse ----------------------------------------------------------------

void TRasterLab::mousePressEvent(QMouseEvent* e) { MousePressed(this, *e); }
void TRasterLab::mouseMoveEvent(QMouseEvent* e) { MouseMoved(this, *e); }
void TRasterLab::mouseReleaseEvent(QMouseEvent* e) { MouseReleased(this, *e, rect().contains(e->position().toPoint())); }
void TRasterLab::mouseDoubleClickEvent(QMouseEvent* e) { MouseDoubleClicked(this, *e); }
