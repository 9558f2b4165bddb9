#include "widgets/NumLab.h"

#include "widgets/ReadOutAccessible.h"

#include <QEvent>
#include <QStringList>
#include <QPainter>
#include <cmath>

namespace {

TFont FromQFont(const QFont& f)
{
    TFont t;
    t.Name = f.family();
    t.Height = f.pixelSize() > 0 ? -f.pixelSize() : std::max(1, int(std::lround(f.pointSizeF())));
    t.Color = clBlack;
    t.Style = (f.bold() ? fsBold : 0) | (f.italic() ? fsItalic : 0) | (f.underline() ? fsUnderline : 0)
              | (f.strikeOut() ? fsStrikeOut : 0);
    return t;
}

bool ValidAlignment(int v) { return v >= taLeftJustify && v <= taCenter; }

} // namespace

TNumLab::TNumLab(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    const TReliefColors relief = ReliefColors(colorScheme_);
    look_.Shadow = relief.Shadow;
    look_.Highlight = relief.Highlight;
    resize(160, 28);
    InstallReadOutAccessibility();
}

template <typename T>
void TNumLab::Change(T& field, const T& v)
{
    if (field == v)
        return;
    field = v;
    Repaint();
}

// ---- painting -------------------------------------------------------------

bool TNumLab::VisibleFlag() const
{
    // The control's own Visible setting: only an explicit hide() clears it.
    return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
}

TFont TNumLab::Font() const
{
    return FromQFont(font());
}

void TNumLab::SetFont(const TFont& v)
{
    setFont(v.ToQFont()); // the font change repaints
}

QString TNumLab::DisplayText()
{
    QString text = FormatNumLabValue(value_, format_);
    if (OnBeforeDisplay)
        OnBeforeDisplay(this, text);
    return text;
}

void TNumLab::Render()
{
    // Drawn in the screen's own pixels, so that the text is sharp on a
    // high-resolution screen; the picture's units stay the widget's pixels.
    picture_.SetDevicePixelRatio(Canvas::WholeRatio(devicePixelRatioF()));
    picture_.Resize(width(), height());
    look_.Font = Font();
    TNumLabContent content;
    content.LeftText = leftText_;
    content.RightText = rightText_;
    content.ShowNumber = !empty_;
    if (!empty_)
        content.Number = DisplayText();
    content.MayOverflow = format_.DisplayType != dtState;
    content.OverflowIndicator = format_.OverflowIndicator;
    PaintNumLab(picture_, look_, content);

    QStringList said;
    for (const QString& part : {content.LeftText, content.ShowNumber ? content.Number : QString(), content.RightText})
        if (!part.isEmpty())
            said.append(part);
    const QString shown = said.join(u' ');
    if (shown != shownText_) {
        shownText_ = shown;
        NotifyReadOutTextChanged(this, shown);
    }
}

void TNumLab::Repaint()
{
    if (!VisibleFlag())
        return;
    Render();
    repaint();
}

void TNumLab::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (visible)
        Repaint();
}

void TNumLab::paintEvent(QPaintEvent*)
{
    if (!picture_.FitsWidget(*this))
        Render();
    QPainter p(this);
    p.drawImage(0, 0, picture_.Image());
}

void TNumLab::resizeEvent(QResizeEvent*)
{
    if (VisibleFlag())
        Render();
}

void TNumLab::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        Repaint();
    QWidget::changeEvent(e);
}

// ---- properties -----------------------------------------------------------

void TNumLab::SetValue(double v)
{
    if (v == value_)
        return;
    value_ = v;
    Repaint();
}

void TNumLab::SetDisplayType(TDisplay v) { Change(format_.DisplayType, v); }
void TNumLab::SetComma(bool v) { Change(format_.Comma, v); }
void TNumLab::SetForcePlusSign(bool v) { Change(format_.ForcePlusSign, v); }
void TNumLab::SetEmpty(bool v) { Change(empty_, v); }
void TNumLab::SetOverflowIndicator(const QString& v) { Change(format_.OverflowIndicator, v); }
void TNumLab::SetStateText(const QString& v) { Change(format_.StateText, v); }
void TNumLab::SetDTFormat(const QString& v) { Change(format_.DTFormat, v); }
void TNumLab::SetLeftText(const QString& v) { Change(leftText_, v); }
void TNumLab::SetRightText(const QString& v) { Change(rightText_, v); }
void TNumLab::SetAlignment(TAlignment v) { Change(look_.Alignment, v); }
void TNumLab::SetLeftTextAlignment(TAlignment v) { Change(look_.LeftTextAlignment, v); }
void TNumLab::SetRightTextAlignment(TAlignment v) { Change(look_.RightTextAlignment, v); }
void TNumLab::SetFrameStyle(TFrameStyle v) { Change(look_.Frame, v); }
void TNumLab::SetColorLabBakG(TColor v) { Change(look_.LabBakG, v); }
void TNumLab::SetColorLabText(TColor v) { Change(look_.LabText, v); }
void TNumLab::SetColorOutBakG(TColor v) { Change(look_.OutBakG, v); }
void TNumLab::SetColorOutText(TColor v) { Change(look_.OutText, v); }

void TNumLab::SetPrecision(int v)
{
    if (v < 0)
        return;
    Change(format_.Precision, std::min(v, 15));
}

void TNumLab::SetLeftSpace(int v)
{
    if (v < 0)
        return;
    Change(look_.LeftSpace, std::min(v, width()));
}

void TNumLab::SetLabelWidth(int v)
{
    if (v < 0)
        return;
    Change(look_.LabelWidth, v);
}

void TNumLab::SetColorScheme(TColorScheme v)
{
    if (v == colorScheme_)
        return;
    colorScheme_ = v;
    const TReliefColors relief = ReliefColors(v);
    look_.Shadow = relief.Shadow;
    look_.Highlight = relief.Highlight;
    Repaint();
}

void TNumLab::SetDisplayTypeInt(int v)
{
    if (v >= 0 && v < kDisplayTypeCount)
        SetDisplayType(TDisplay(v));
}

void TNumLab::SetAlignmentInt(int v)
{
    if (ValidAlignment(v))
        SetAlignment(TAlignment(v));
}

void TNumLab::SetLeftTextAlignmentInt(int v)
{
    if (ValidAlignment(v))
        SetLeftTextAlignment(TAlignment(v));
}

void TNumLab::SetRightTextAlignmentInt(int v)
{
    if (ValidAlignment(v))
        SetRightTextAlignment(TAlignment(v));
}

void TNumLab::SetFrameStyleInt(int v)
{
    if (IsFrameStyle(v))
        SetFrameStyle(TFrameStyle(v));
}

void TNumLab::SetColorSchemeInt(int v)
{
    if (IsColorScheme(v))
        SetColorScheme(TColorScheme(v));
}

void TNumLab::Assign(const TNumLab& s)
{
    if (&s == this)
        return;
    // The whole look but the font; of the format, the type, the precision
    // and the two texts it may show instead of a number.
    const TFont font = look_.Font;
    look_ = s.look_;
    look_.Font = font;
    format_.DisplayType = s.format_.DisplayType;
    format_.Precision = s.format_.Precision;
    format_.OverflowIndicator = s.format_.OverflowIndicator;
    format_.StateText = s.format_.StateText;
    colorScheme_ = s.colorScheme_;
    empty_ = s.empty_;
    leftText_ = s.leftText_;
    rightText_ = s.rightText_;
    value_ = s.value_;
    Repaint();
}

// ---- mouse ----------------------------------------------------------------

void TNumLab::mousePressEvent(QMouseEvent* e) { MousePressed(this, *e); }

void TNumLab::mouseMoveEvent(QMouseEvent* e)
{
    const int x = e->position().toPoint().x();
    mouseArea_ = x <= look_.LeftSpace ? 0 : x <= look_.LeftSpace + look_.LabelWidth ? 1 : 2;
    MouseMoved(this, *e);
}

void TNumLab::mouseReleaseEvent(QMouseEvent* e) { MouseReleased(this, *e, rect().contains(e->position().toPoint())); }
void TNumLab::mouseDoubleClickEvent(QMouseEvent* e) { MouseDoubleClicked(this, *e); }
