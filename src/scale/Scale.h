#pragma once
// TScale: one labelled axis (axis line, short and main ticks, labels, caption),
// stand-alone on a window or embedded in a chart, which points it at its own
// off-screen picture and asks it to draw there.
//
// A stand-alone vertical axis from 0.1 to 500 mT, labelled by decades:
//
//     TScale axis(&window);
//     axis.setGeometry(10, 10, 80, 300);
//     TScaleSettings s = axis.Settings();
//     s.ScaleType = sctYL;               // vertical, the axis line at the left
//     s.RangeLow = 0.1;
//     s.RangeHigh = 500;
//     s.Logarithmic = true;
//     s.Caption = QStringLiteral("B / mT");
//     s.CaptionAlignment = taLeftJustify; // from the axis line on
//     axis.SetSettings(s);               // or property by property: SetRangeHigh(500)
//     axis.SetMarginTop(15);             // room for the caption
//     axis.OnScaleTickDrawn = [](TScale*, Canvas& c, TScaleType, double value, int x, int y) { /* ... */ };
//     const int y42 = axis.ValueToPixel(42.0); // where 42 mT lies
//
// Every setter redraws at once; TScaleSettings (scale/ScaleSettings.h) says
// what each setting means, the tick passes (scale/TickPass.h,
// scale/DateTimeLabels.h) how the ticks are chosen.

#include "scale/DateTimeLabels.h"
#include "scale/ScaleMapping.h"
#include "scale/ScaleSettings.h"
#include "scale/ScaleTypes.h"
#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "gfx/Frames.h"

#include <QWidget>
#include <functional>

class TScale;

using TScaleTickDrawnEvent = std::function<void(TScale* sender, Canvas& canvas, TScaleType scaleType,
                                                double currentTickPos, int chartX, int chartY)>;
using TScaleRenderedEvent = std::function<void(TScale* sender, Canvas& canvas)>;

class TScale : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(int CaptionAlignment READ CaptionAlignmentInt WRITE SetCaptionAlignmentInt)
    Q_PROPERTY(int CaptionAnchor READ CaptionAnchorInt WRITE SetCaptionAnchorInt)
    Q_PROPERTY(uint ColorBackGnd READ ColorBackGnd WRITE SetColorBackGnd)
    Q_PROPERTY(uint ColorScale READ ColorScale WRITE SetColorScale)
    Q_PROPERTY(int ColorScheme READ ColorSchemeInt WRITE SetColorSchemeInt)
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    Q_PROPERTY(int FrameStyle READ FrameStyleInt WRITE SetFrameStyleInt)
    Q_PROPERTY(int LabelType READ LabelTypeInt WRITE SetLabelTypeInt)
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    Q_PROPERTY(int NumTicks READ NumTicks)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    Q_PROPERTY(int ScaleType READ ScaleTypeInt WRITE SetScaleTypeInt)
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    Q_PROPERTY(bool ShowBaseLine READ ShowBaseLine WRITE SetShowBaseLine)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TScale(QWidget* parent = nullptr);
    ~TScale() override;

    QString Caption() const { return settings_.Caption; }
    int CaptionPosX() const { return settings_.CaptionPosX; }
    int CaptionPosY() const { return settings_.CaptionPosY; }
    TAlignment CaptionAlignment() const { return settings_.CaptionAlignment; }
    TScaleUnitAnchor CaptionAnchor() const { return settings_.CaptionAnchor; }
    TColor ColorBackGnd() const { return colorBackGnd_; }
    TColor ColorScale() const { return settings_.ColorScale; }
    TColorScheme ColorScheme() const { return colorScheme_; }
    TDTLabel* DateFormat() const { return dateFormat_; }
    int DecPlaces() const { return settings_.DecPlaces; }
    const TFont& Font() const { return settings_.Font; }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    TFigType LabelType() const { return settings_.LabelType; }
    bool Logarithmic() const { return settings_.Logarithmic; }
    int MarginTop() const { return geometry_.MarginTop; }
    int MarginBottom() const { return geometry_.MarginBottom; }
    int MarginLeft() const { return geometry_.MarginLeft; }
    int MarginRight() const { return geometry_.MarginRight; }
    int MinTicks() const { return settings_.MinTicks; }
    int NumTicks() const { return record_.Count(); }
    double RangeLow() const { return settings_.RangeLow; }
    double RangeHigh() const { return settings_.RangeHigh; }
    QString ScaleInscript() const { return settings_.ScaleInscript; }
    QString UserTickText() const { return settings_.UserTickText; }
    TScaleType ScaleType() const { return settings_.ScaleType; }
    bool ShortTicks() const { return settings_.ShortTicks; }
    bool ShowBaseLine() const { return showBaseLine_; }
    bool Transparent() const { return transparent_; }
    bool Visible() const { return settings_.Visible; }

    void SetCaption(const QString& v);
    void SetCaptionPosX(int v);
    void SetCaptionPosY(int v);
    void SetCaptionAlignment(TAlignment v);
    void SetCaptionAnchor(TScaleUnitAnchor v);
    void SetColorBackGnd(TColor v);
    void SetColorScale(TColor v);
    void SetColorScheme(TColorScheme v);
    void SetDateFormat(const TDTLabel& v);
    void SetDecPlaces(int v);
    void SetFont(const TFont& v);
    void SetFrameStyle(TFrameStyle v);
    void SetLabelType(TFigType v);
    void SetLogarithmic(bool v);
    void SetMarginTop(int v);
    void SetMarginBottom(int v);
    void SetMarginLeft(int v);
    void SetMarginRight(int v);
    void SetMinTicks(int v);
    void SetRangeLow(double v);
    void SetRangeHigh(double v);
    void SetScaleInscript(const QString& v);
    void SetUserTickText(const QString& v);
    void SetScaleType(TScaleType v);
    void SetShortTicks(bool v);
    void SetShowBaseLine(bool v);
    void SetTransparent(bool v);
    void SetVisible(bool v);

    // All axis settings at once, with the setters' limits (DecPlaces -3..12,
    // MinTicks 2..10, an empty range widened to one unit, the logarithmic
    // mode refused where SetLogarithmic refuses it), drawn once.
    const TScaleSettings& Settings() const { return settings_; }
    void SetSettings(const TScaleSettings& v);

    // Mapping and tick record of the last drawing.
    int ValueToPixel(double v) const { return mapping_.ValueToPixel(v); }
    double TickValue(int index) const { return record_.Value(index); }
    void UpdateScaling();
    const TScaleMapping& Mapping() const { return mapping_; }

    // Draw onto another canvas at an offset instead of the own picture.
    void SetExternalCanvas(Canvas* canvas, int x, int y);
    void SuspendPaint(bool suspend);
    bool PaintSuspended() const { return suspended_; }
    // Paints once, even while painting is suspended.
    void PaintNow();
    void SetEmbedded(bool embedded);
    bool Embedded() const { return embedded_; }
    void CopyFrom(const TScale& source);

    // Loading from a stored window description: while loading nothing paints
    // and the mapping is not recomputed; Loaded() ends it.
    void BeginLoading();
    void Loaded();

    // The own picture that paintEvent presents.
    const Canvas& Picture() const { return picture_; }

    TScaleTickDrawnEvent OnScaleTickDrawn;
    TScaleRenderedEvent OnBeforeScaleRendered;
    TScaleRenderedEvent OnAfterScaleRendered;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    class Painter;
    friend class Painter;

    void Repaint();
    void Paint();
    void DrawAxis(Canvas& c, int ox, int oy);
    QPoint AxisLineStart(int ox, int oy) const;
    QPoint AxisLineEnd(int ox, int oy) const;
    bool LogarithmicAccepted() const;
    void SetMargin(int& margin, int v);
    void Render(Canvas& target, int ox, int oy, bool ownPicture);

    TScaleSettings settings_;
    TColor colorBackGnd_ = clBtnFace;
    TColorScheme colorScheme_ = csBWG;
    TReliefColors relief_ = ReliefColors(csBWG);
    TDTLabel* dateFormat_ = nullptr;
    TFrameStyle frameStyle_ = fsLowered;
    bool showBaseLine_ = true, transparent_ = false;

    TScaleGeometry geometry_;
    TScaleMapping mapping_;
    TTickRecord record_;
    bool suspended_ = true;
    bool embedded_ = false;
    bool notYetLoaded_ = true;
    bool loading_ = false;
    Canvas* external_ = nullptr;
    int extX_ = 0, extY_ = 0;
    Canvas picture_;

    int CaptionAlignmentInt() const { return settings_.CaptionAlignment; }
    void SetCaptionAlignmentInt(int v) { SetCaptionAlignment(TAlignment(v)); }
    int CaptionAnchorInt() const { return settings_.CaptionAnchor; }
    void SetCaptionAnchorInt(int v) { SetCaptionAnchor(TScaleUnitAnchor(v)); }
    int ColorSchemeInt() const { return colorScheme_; }
    void SetColorSchemeInt(int v) { SetColorScheme(TColorScheme(v)); }
    int FrameStyleInt() const { return frameStyle_; }
    void SetFrameStyleInt(int v) { SetFrameStyle(TFrameStyle(v)); }
    int LabelTypeInt() const { return settings_.LabelType; }
    void SetLabelTypeInt(int v) { SetLabelType(TFigType(v)); }
    int ScaleTypeInt() const { return settings_.ScaleType; }
    void SetScaleTypeInt(int v) { SetScaleType(TScaleType(v)); }
};
