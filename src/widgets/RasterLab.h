#pragma once
// TRasterLab: a text shown the way a dot-matrix display shows it, every
// character a grid of square dots, lit ones in one colour and, by the block
// mode, unlit ones in another, on a background that shows through the gaps.
// The text can scroll in four directions, driven by a timer.

#include "gfx/Canvas.h"
#include "gfx/Frames.h"
#include "widgets/CharRaster.h"
#include "widgets/ControlMouseEvents.h"
#include "widgets/DotMatrixPaint.h"
#include "widgets/DotScroll.h"

#include <QWidget>
#include <functional>

class TScrollTimer;

class TRasterLab : public QWidget, public TControlMouseEvents {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int DotSize READ DotSize WRITE SetDotSize)
    Q_PROPERTY(int DotSpacing READ DotSpacing WRITE SetDotSpacing)
    Q_PROPERTY(int PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(int PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(bool Proportional READ Proportional WRITE SetProportional)
    Q_PROPERTY(int CharBlockMode READ CharBlockModeInt WRITE SetCharBlockModeInt)
    Q_PROPERTY(bool AutoHeight READ AutoHeight WRITE SetAutoHeight)
    Q_PROPERTY(bool AutoCenter READ AutoCenter WRITE SetAutoCenter)
    Q_PROPERTY(uint ColorDotOn READ ColorDotOn WRITE SetColorDotOn)
    Q_PROPERTY(uint ColorDotOff READ ColorDotOff WRITE SetColorDotOff)
    Q_PROPERTY(uint ColorLabBakG READ ColorLabBakG WRITE SetColorLabBakG)
    Q_PROPERTY(int FrameStyle READ FrameStyleInt WRITE SetFrameStyleInt)
    Q_PROPERTY(int ColorScheme READ ColorSchemeInt WRITE SetColorSchemeInt)
    Q_PROPERTY(int ScrollMode READ ScrollModeInt WRITE SetScrollModeInt)
    Q_PROPERTY(int ScrollInterval READ ScrollInterval WRITE SetScrollInterval)
    Q_PROPERTY(int ScrollIncrement READ ScrollIncrement WRITE SetScrollIncrement)
    Q_PROPERTY(bool ScrollLoop READ ScrollLoop WRITE SetScrollLoop)

public:
    explicit TRasterLab(QWidget* parent = nullptr);
    ~TRasterLab() override;

    QString Text() const { return text_; }
    int DotSize() const { return look_.DotSize; }
    int DotSpacing() const { return look_.DotSpacing; }
    int PosX() const { return posX_; }
    int PosY() const { return posY_; }
    bool Proportional() const { return look_.Proportional; }
    TRDBlockMode CharBlockMode() const { return look_.BlockMode; }
    bool AutoHeight() const { return autoHeight_; }
    bool AutoCenter() const { return autoCenter_; }
    TColor ColorDotOn() const { return look_.DotOn; }
    TColor ColorDotOff() const { return look_.DotOff; }
    TColor ColorLabBakG() const { return look_.Background; }
    TFrameStyle FrameStyle() const { return look_.Frame; }
    TColorScheme ColorScheme() const { return colorScheme_; }
    TRDScrollMode ScrollMode() const { return scrollMode_; }
    int ScrollInterval() const { return scrollInterval_; }
    int ScrollIncrement() const { return scrollIncrement_; }
    bool ScrollLoop() const { return scrollLoop_; }
    const TFont& Font() const { return font_; }

    void SetText(const QString& v);
    void SetDotSize(int v);    // 1..32
    void SetDotSpacing(int v); // 0..3
    void SetPosX(int v);
    void SetPosY(int v);
    void SetProportional(bool v);
    void SetCharBlockMode(TRDBlockMode v);
    void SetAutoHeight(bool v);
    void SetAutoCenter(bool v);
    void SetColorDotOn(TColor v);
    void SetColorDotOff(TColor v);
    void SetColorLabBakG(TColor v);
    void SetFrameStyle(TFrameStyle v);
    void SetColorScheme(TColorScheme v);
    // Raise EVexRasterLabError when scrolling needs a timer and none is had.
    void SetScrollMode(TRDScrollMode v);
    void SetScrollInterval(int v);  // at least 10 ms
    void SetScrollIncrement(int v); // at least 1; the sign is dropped
    void SetScrollLoop(bool v);
    // Rebuilds the character raster: the name "default" selects the built-in
    // 7 x 12 font, any other font is sampled.
    void SetFont(const TFont& v);

    // Takes FrameStyle, Text, ColorLabBakG, ColorDotOn, the frame colours and
    // ColorScheme, then repaints.
    void Assign(const TRasterLab& source);

    // What one timer tick does: one scroll step, a repaint, then OnScrollTimer.
    // An error of the handler stops the timer (so that the error report is not
    // buried under the next ticks' reports) and propagates; setting a scroll
    // property starts it again.
    void ScrollTick();

    // State the paint and the scrolling use.
    const TCharRaster& Raster() const { return raster_; }
    TScrollOffsets ScrollOffsets() const { return scroll_; }
    bool ScrollRunning() const { return running_; }
    bool TimerActive() const;
    int TextPixelWidth() const; // as the paint draws it: the advances plus one
    int CenteringWidth() const; // the width centring uses

    // Renders the picture through the canvas and presents it now.
    void Repaint();
    // Renders the picture without presenting it.
    void Render();
    const Canvas& Picture() const { return picture_; }

    // Showing the control paints it at once, as any visible change does.
    void setVisible(bool visible) override;

    std::function<void(QObject* sender)> OnScrollTimer;
    std::function<void(QObject* sender)> OnScrollLoopRestart;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    int CharBlockModeInt() const { return CharBlockMode(); }
    int FrameStyleInt() const { return FrameStyle(); }
    int ColorSchemeInt() const { return ColorScheme(); }
    int ScrollModeInt() const { return ScrollMode(); }
    void SetCharBlockModeInt(int v);
    void SetFrameStyleInt(int v);
    void SetColorSchemeInt(int v);
    void SetScrollModeInt(int v);

    bool VisibleFlag() const;
    void SetColor(TColor& field, TColor v);
    void ApplyAutoSize();
    void FitHeight();
    void Center();
    void RestartTimer();

    QString text_ = QStringLiteral("Text");
    QByteArray codes_; // the text as Windows-1252 codes
    TDotMatrixLook look_;
    int posX_ = 1, posY_ = 1;
    bool autoHeight_ = false, autoCenter_ = false;
    TColorScheme colorScheme_ = csBWG;
    TRDScrollMode scrollMode_ = rdsmOff;
    int scrollInterval_ = 100;
    int scrollIncrement_ = 1;
    bool scrollLoop_ = true;
    TFont font_;
    TCharRaster raster_;

    TScrollOffsets scroll_;
    bool running_ = false;
    TScrollTimer* timer_ = nullptr;
    Canvas picture_;
};
