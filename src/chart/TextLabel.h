#pragma once
// The settings of one free caption in a chart: text, font, anchor point, how
// the text sits on the anchor and its look. The label draws nothing itself;
// the chart that owns it reads the settings when it paints and repaints when
// OnChange reports a change.

#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "gfx/Color.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

// Vertical position of the text block relative to the anchor.
enum TVerticalAlignment : std::uint8_t { vaTop, vaCenter, vaBottom };

// Which anchor coordinates are data coordinates of the label's layer; the
// others are pixels.
enum TTxtLblAttachMode : std::uint8_t { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };

// The look; tlOff hides the label.
enum TTxtLblMode : std::uint8_t { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };

class TCustomTextLabel : public QObject {
    Q_OBJECT
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)
    Q_PROPERTY(int ShadowDx READ ShadowDx WRITE SetShadowDx)
    Q_PROPERTY(int ShadowDy READ ShadowDy WRITE SetShadowDy)
    Q_PROPERTY(uint ColorShadow READ ColorShadow WRITE SetColorShadow)
    Q_PROPERTY(int Alignment READ AlignmentInt WRITE SetAlignmentInt)
    Q_PROPERTY(int VerticalAlignment READ VerticalAlignmentInt WRITE SetVerticalAlignmentInt)
    Q_PROPERTY(int AttachToData READ AttachToDataInt WRITE SetAttachToDataInt)
    Q_PROPERTY(uint ColorBkg READ ColorBkg WRITE SetColorBkg)
    Q_PROPERTY(uint ColorBorder READ ColorBorder WRITE SetColorBorder)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Mode READ ModeInt WRITE SetModeInt)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TCustomTextLabel(QObject* parent = nullptr);

    double PosX() const { return posX_; }
    double PosY() const { return posY_; }
    int Layer() const { return layer_; }
    int ShadowDx() const { return shadowDx_; }
    int ShadowDy() const { return shadowDy_; }
    TColor ColorShadow() const { return colorShadow_; }
    TAlignment Alignment() const { return alignment_; }
    TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
    TTxtLblAttachMode AttachToData() const { return attachToData_; }
    TColor ColorBkg() const { return colorBkg_; }
    TColor ColorBorder() const { return colorBorder_; }
    bool Transparent() const { return transparent_; }
    const TFont& Font() const { return font_; }
    QString Caption() const { return caption_; }
    TTxtLblMode Mode() const { return mode_; }
    bool Visible() const { return visible_; }

    // Every setter stores and then calls OnChange, even when the value is the
    // one already there: the chart repaints on every assignment.
    void SetPosX(double v);
    void SetPosY(double v);
    // Layers are 1..16; any other number is ignored without notification.
    void SetLayer(int v);
    void SetShadowDx(int v);
    void SetShadowDy(int v);
    void SetColorShadow(TColor v);
    void SetAlignment(TAlignment v);
    void SetVerticalAlignment(TVerticalAlignment v);
    void SetAttachToData(TTxtLblAttachMode v);
    void SetColorBkg(TColor v);
    void SetColorBorder(TColor v);
    void SetTransparent(bool v);
    // Copies the settings of f into the label's own font.
    void SetFont(const TFont& f);
    // Several lines are separated by line feeds.
    void SetCaption(const QString& v);
    void SetMode(TTxtLblMode v);
    void SetVisible(bool v);

    std::function<void()> OnChange;

private:
    template <typename T>
    void Store(T& field, const T& v);

    // Enumerations travel through the meta-object system as integers; values
    // outside an enumeration are ignored there.
    int AlignmentInt() const { return alignment_; }
    void SetAlignmentInt(int v);
    int VerticalAlignmentInt() const { return verticalAlignment_; }
    void SetVerticalAlignmentInt(int v);
    int AttachToDataInt() const { return attachToData_; }
    void SetAttachToDataInt(int v);
    int ModeInt() const { return mode_; }
    void SetModeInt(int v);

    double posX_ = 100.0;
    double posY_ = 10.0;
    int layer_ = 1;
    int shadowDx_ = 0;
    int shadowDy_ = 0;
    TColor colorShadow_ = 0x808080;
    TAlignment alignment_ = taCenter;
    TVerticalAlignment verticalAlignment_ = vaBottom;
    TTxtLblAttachMode attachToData_ = tlamNone;
    TColor colorBkg_ = 0xC0C0C0;
    TColor colorBorder_ = 0;
    bool transparent_ = false;
    TFont font_;
    QString caption_;
    TTxtLblMode mode_ = tlsimple;
    bool visible_ = true;
};

// The label a chart owns, with all settings published.
class TTextLabel : public TCustomTextLabel {
    Q_OBJECT

public:
    explicit TTextLabel(QObject* parent = nullptr);
};
