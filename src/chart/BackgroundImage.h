#pragma once
// TBakGndImg: the chart's background picture (a file, stretched or tiled) or
// its coloured background area in world coordinates.

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
