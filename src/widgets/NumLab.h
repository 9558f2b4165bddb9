#pragma once
// TNumLab: one number in a framed box, with an optional text left of the box
// and one right of it. The number is formatted by one of 13 display types.
//
// Along x: the left text area 0..LeftSpace, the box LeftSpace..LeftSpace +
// LabelWidth + 2, the right text area after it. The label paints with the
// widget's font, so by default it follows its window's font.

#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "gfx/Frames.h"
#include "widgets/ControlMouseEvents.h"
#include "widgets/NumLabFormat.h"
#include "widgets/NumLabPaint.h"

#include <QWidget>
#include <functional>

// May change the formatted text before it is shown.
using TBeforeDisplayEvent = std::function<void(QObject* sender, QString& text)>;

class TNumLab : public QWidget, public TControlMouseEvents {
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(int DisplayType READ DisplayTypeInt WRITE SetDisplayTypeInt)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign)
    Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty)
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicator WRITE SetOverflowIndicator)
    Q_PROPERTY(QString StateText READ StateText WRITE SetStateText)
    Q_PROPERTY(QString DTFormat READ DTFormat WRITE SetDTFormat)
    Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
    Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth)
    Q_PROPERTY(int Alignment READ AlignmentInt WRITE SetAlignmentInt)
    Q_PROPERTY(int LeftTextAlignment READ LeftTextAlignmentInt WRITE SetLeftTextAlignmentInt)
    Q_PROPERTY(int RightTextAlignment READ RightTextAlignmentInt WRITE SetRightTextAlignmentInt)
    Q_PROPERTY(int FrameStyle READ FrameStyleInt WRITE SetFrameStyleInt)
    Q_PROPERTY(int ColorScheme READ ColorSchemeInt WRITE SetColorSchemeInt)
    Q_PROPERTY(uint ColorLabBakG READ ColorLabBakG WRITE SetColorLabBakG)
    Q_PROPERTY(uint ColorLabText READ ColorLabText WRITE SetColorLabText)
    Q_PROPERTY(uint ColorOutBakG READ ColorOutBakG WRITE SetColorOutBakG)
    Q_PROPERTY(uint ColorOutText READ ColorOutText WRITE SetColorOutText)
    Q_PROPERTY(int MouseArea READ MouseArea)

public:
    explicit TNumLab(QWidget* parent = nullptr);

    double Value() const { return value_; }
    TDisplay DisplayType() const { return format_.DisplayType; }
    int Precision() const { return format_.Precision; }
    bool Comma() const { return format_.Comma; }
    bool ForcePlusSign() const { return format_.ForcePlusSign; }
    bool Empty() const { return empty_; }
    QString OverflowIndicator() const { return format_.OverflowIndicator; }
    QString StateText() const { return format_.StateText; }
    QString DTFormat() const { return format_.DTFormat; }
    QString LeftText() const { return leftText_; }
    QString RightText() const { return rightText_; }
    int LeftSpace() const { return look_.LeftSpace; }
    int LabelWidth() const { return look_.LabelWidth; }
    TAlignment Alignment() const { return look_.Alignment; }
    TAlignment LeftTextAlignment() const { return look_.LeftTextAlignment; }
    TAlignment RightTextAlignment() const { return look_.RightTextAlignment; }
    TFrameStyle FrameStyle() const { return look_.Frame; }
    TColorScheme ColorScheme() const { return colorScheme_; }
    TColor ColorLabBakG() const { return look_.LabBakG; }
    TColor ColorLabText() const { return look_.LabText; }
    TColor ColorOutBakG() const { return look_.OutBakG; }
    TColor ColorOutText() const { return look_.OutText; }
    // Where the mouse last moved: 0 over the left text, 1 over the box, 2 right of it.
    int MouseArea() const { return mouseArea_; }
    // The widget's font as the drawing surface uses it.
    TFont Font() const;

    void SetValue(double v);
    void SetDisplayType(TDisplay v);
    void SetPrecision(int v); // negative: ignored; above 15: 15
    void SetComma(bool v);
    void SetForcePlusSign(bool v);
    void SetEmpty(bool v);
    void SetOverflowIndicator(const QString& v);
    void SetStateText(const QString& v);
    void SetDTFormat(const QString& v);
    void SetLeftText(const QString& v);
    void SetRightText(const QString& v);
    void SetLeftSpace(int v);  // negative: ignored; wider than the control: its width
    void SetLabelWidth(int v); // negative: ignored
    void SetAlignment(TAlignment v);
    void SetLeftTextAlignment(TAlignment v);
    void SetRightTextAlignment(TAlignment v);
    void SetFrameStyle(TFrameStyle v);
    void SetColorScheme(TColorScheme v);
    void SetColorLabBakG(TColor v);
    void SetColorLabText(TColor v);
    void SetColorOutBakG(TColor v);
    void SetColorOutText(TColor v);
    void SetFont(const TFont& v);

    // Copies the layout, texts, value, colours and type of another label, then
    // repaints; Comma, ForcePlusSign, DTFormat and OnBeforeDisplay stay.
    void Assign(const TNumLab& source);

    // The text the box shows now (after OnBeforeDisplay, before the width test).
    QString DisplayText();
    // What the label says as a whole at its last rendering, for screen
    // readers: left text, number and right text, the empty ones left out.
    // The full number, also when the box shows the overflow indicator.
    QString ShownText() const { return shownText_; }

    void Repaint();
    void Render();
    const Canvas& Picture() const { return picture_; }
    void setVisible(bool visible) override;

    TBeforeDisplayEvent OnBeforeDisplay;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    int DisplayTypeInt() const { return DisplayType(); }
    int AlignmentInt() const { return Alignment(); }
    int LeftTextAlignmentInt() const { return LeftTextAlignment(); }
    int RightTextAlignmentInt() const { return RightTextAlignment(); }
    int FrameStyleInt() const { return FrameStyle(); }
    int ColorSchemeInt() const { return ColorScheme(); }
    void SetDisplayTypeInt(int v);
    void SetAlignmentInt(int v);
    void SetLeftTextAlignmentInt(int v);
    void SetRightTextAlignmentInt(int v);
    void SetFrameStyleInt(int v);
    void SetColorSchemeInt(int v);

    template <typename T>
    void Change(T& field, const T& v);
    bool VisibleFlag() const;

    double value_ = 0.0;
    bool empty_ = false;
    QString leftText_, rightText_;
    TNumLabFormat format_;
    TNumLabLook look_;
    TColorScheme colorScheme_ = csBWG;
    int mouseArea_ = 0;
    QString shownText_;
    Canvas picture_;
};
