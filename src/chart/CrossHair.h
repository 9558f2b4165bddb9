#pragma once
// TCrossHair: one of the chart's four cross-hairs, a vertical and/or
// horizontal line through a world position of its layer, drawn over the
// items just before the chart's picture is presented.

#include "chart/ChartTypes.h"
#include "gfx/Canvas.h"

#include <QObject>
#include <functional>

class TCrossHair : public QObject {
    Q_OBJECT
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(int Mode READ ModeInt WRITE SetModeInt)
    Q_PROPERTY(int LineType READ LineTypeInt WRITE SetLineTypeInt)
    Q_PROPERTY(int LineWid READ LineWid WRITE SetLineWid)

public:
    using QObject::QObject;

    double PosX() const { return posX_; }
    double PosY() const { return posY_; }
    int Layer() const { return layer_; }
    TColor Color() const { return color_; }
    TCrossHMode Mode() const { return mode_; }
    TPenStyle LineType() const { return lineType_; }
    int LineWid() const { return lineWid_; }

    void SetPosX(double v) { posX_ = v; Changed(); }
    void SetPosY(double v) { posY_ = v; Changed(); }
    void SetLayer(int v) { layer_ = v < 1 ? 1 : v > 16 ? 16 : v; Changed(); }
    void SetColor(TColor v) { color_ = v; Changed(); }
    void SetMode(TCrossHMode v) { mode_ = v; Changed(); }
    void SetLineType(TPenStyle v) { lineType_ = v; Changed(); }
    void SetLineWid(int v) { lineWid_ = v; Changed(); }

    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    int ModeInt() const { return mode_; }
    void SetModeInt(int v) { SetMode(TCrossHMode(v)); }
    int LineTypeInt() const { return lineType_; }
    void SetLineTypeInt(int v) { SetLineType(TPenStyle(v)); }

    double posX_ = 0, posY_ = 0;
    int layer_ = 1;
    TColor color_ = 0;
    TCrossHMode mode_ = chOff;
    TPenStyle lineType_ = psSolid;
    int lineWid_ = 1;
};
