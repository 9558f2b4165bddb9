#pragma once
// Small settings objects of the chart: the background picture or area and the
// cross-hairs.

#include "chart/ChartTypes.h"
#include "gfx/Canvas.h"

#include <QObject>
#include <QString>
#include <functional>

class TBakGndImg : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(bool IncludePath READ IncludePath WRITE SetIncludePath)
    Q_PROPERTY(int FillMode READ FillModeInt WRITE SetFillModeInt)
    Q_PROPERTY(int AreaMode READ AreaModeInt WRITE SetAreaModeInt)
    Q_PROPERTY(uint AreaColor READ AreaColor WRITE SetAreaColor)
    Q_PROPERTY(double AreaLeft READ AreaLeft WRITE SetAreaLeft)
    Q_PROPERTY(double AreaRight READ AreaRight WRITE SetAreaRight)
    Q_PROPERTY(double AreaTop READ AreaTop WRITE SetAreaTop)
    Q_PROPERTY(double AreaBottom READ AreaBottom WRITE SetAreaBottom)

public:
    using QObject::QObject;

    QString Name() const { return name_; }
    bool IncludePath() const { return includePath_; }
    TBkgFill FillMode() const { return fillMode_; }
    TBGAreaMode AreaMode() const { return areaMode_; }
    TColor AreaColor() const { return areaColor_; }
    double AreaLeft() const { return areaLeft_; }
    double AreaRight() const { return areaRight_; }
    double AreaTop() const { return areaTop_; }
    double AreaBottom() const { return areaBottom_; }

    // Keeps only the file-name part unless IncludePath is set.
    void SetName(const QString& v);
    // Switching it off strips the directory from the stored name.
    void SetIncludePath(bool v);
    void SetFillMode(TBkgFill v) { fillMode_ = v; Changed(); }
    void SetAreaMode(TBGAreaMode v) { areaMode_ = v; Changed(); }
    void SetAreaColor(TColor v) { areaColor_ = v; Changed(); }
    void SetAreaLeft(double v) { areaLeft_ = v; Changed(); }
    void SetAreaRight(double v) { areaRight_ = v; Changed(); }
    void SetAreaTop(double v) { areaTop_ = v; Changed(); }
    void SetAreaBottom(double v) { areaBottom_ = v; Changed(); }

    // The chart drops a picture it cannot read, without notifying.
    void ForgetName() { name_.clear(); }

    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    int FillModeInt() const { return fillMode_; }
    void SetFillModeInt(int v) { SetFillMode(TBkgFill(v)); }
    int AreaModeInt() const { return areaMode_; }
    void SetAreaModeInt(int v) { SetAreaMode(TBGAreaMode(v)); }

    QString name_;
    bool includePath_ = false;
    TBkgFill fillMode_ = bfStretch;
    TBGAreaMode areaMode_ = bamNone;
    TColor areaColor_ = 14540253;
    double areaLeft_ = -1, areaRight_ = 1, areaTop_ = 1, areaBottom_ = -1;
};

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
