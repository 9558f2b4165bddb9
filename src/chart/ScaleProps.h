#pragma once
// The axis settings of one chart layer: a horizontal and a vertical
// TScaleProps per layer. Each wraps the TScaleSettings value that the chart
// hands to its axis component, with the chart's own rules (MinRange, the
// distance ScalePos from the data area, the location).

#include "gfx/Alignment.h"
#include "gfx/Canvas.h"
#include "scale/DateTimeLabels.h"
#include "scale/ScaleSettings.h"

#include <QObject>
#include <functional>

enum TScaleLocationHoriz : std::uint8_t { slTop, slBottom };
enum TScaleLocationVert : std::uint8_t { slLeft, slRight };

class TScaleProps : public QObject {
    Q_OBJECT
    // The form translation enters the axis settings: captions and inscripts
    // are translated texts.
    Q_CLASSINFO("TranslatedTexts", "true")
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(int CaptionAlignment READ CaptionAlignmentInt WRITE SetCaptionAlignmentInt)
    Q_PROPERTY(int CaptionAnchor READ CaptionAnchorInt WRITE SetCaptionAnchorInt)
    Q_PROPERTY(uint ColorScale READ ColorScale WRITE SetColorScale)
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    Q_PROPERTY(int LabelType READ LabelTypeInt WRITE SetLabelTypeInt)
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    Q_PROPERTY(double MinRange READ MinRange WRITE SetMinRange)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    Q_PROPERTY(int ScalePos READ ScalePos WRITE SetScalePos)
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TScaleProps(QObject* parent = nullptr);

    QString Caption() const { return settings_.Caption; }
    int CaptionPosX() const { return settings_.CaptionPosX; }
    int CaptionPosY() const { return settings_.CaptionPosY; }
    TAlignment CaptionAlignment() const { return settings_.CaptionAlignment; }
    TScaleUnitAnchor CaptionAnchor() const { return settings_.CaptionAnchor; }
    TColor ColorScale() const { return settings_.ColorScale; }
    TDTLabel* DateFormat() const { return dateFormat_; }
    int DecPlaces() const { return settings_.DecPlaces; }
    const TFont& Font() const { return settings_.Font; }
    bool Logarithmic() const { return settings_.Logarithmic; }
    TFigType LabelType() const { return settings_.LabelType; }
    int MinTicks() const { return settings_.MinTicks; }
    double MinRange() const { return minRange_; }
    double RangeLow() const { return settings_.RangeLow; }
    double RangeHigh() const { return settings_.RangeHigh; }
    bool ShortTicks() const { return settings_.ShortTicks; }
    QString ScaleInscript() const { return settings_.ScaleInscript; }
    int ScalePos() const { return scalePos_; }
    QString UserTickText() const { return settings_.UserTickText; }
    bool Visible() const { return settings_.Visible; }

    void SetCaption(const QString& v);
    void SetCaptionPosX(int v);
    void SetCaptionPosY(int v);
    void SetCaptionAlignment(TAlignment v);
    void SetCaptionAnchor(TScaleUnitAnchor v);
    void SetColorScale(TColor v);
    void SetDateFormat(const TDTLabel& v);
    void SetDecPlaces(int v);
    void SetFont(const TFont& v);
    void SetLogarithmic(bool v);
    void SetLabelType(TFigType v);
    void SetMinTicks(int v);
    void SetMinRange(double v);
    void SetRangeLow(double v);
    void SetRangeHigh(double v);
    void SetShortTicks(bool v);
    void SetScaleInscript(const QString& v);
    void SetScalePos(int v);
    void SetUserTickText(const QString& v);
    void SetVisible(bool v);

    // Stores a range as given, without the MinRange rule and without notifying
    // (the chart's own range changes).
    void StoreRange(double low, double high)
    {
        settings_.RangeLow = low;
        settings_.RangeHigh = high;
    }

    // True until the owning chart has finished loading from a window
    // description (and for good in a chart that is never loaded).
    bool Loading() const { return loading_; }
    void SetLoading(bool v) { loading_ = v; }

    // The axis component's scale type for this axis's location.
    TScaleType ScaleType() const { return settings_.ScaleType; }

    // What the axis shows, handed to the axis component as one value.
    const TScaleSettings& Settings() const { return settings_; }

    std::function<void()> OnChange;

protected:
    void Changed();
    // The subclasses keep the scale type of their location; a new location
    // notifies.
    void StoreScaleType(TScaleType t) { settings_.ScaleType = t; }
    void Relocated(TScaleType t)
    {
        StoreScaleType(t);
        Changed();
    }

private:
    void SetRangeEnd(double& end, double& other, double v, double away);
    int CaptionAlignmentInt() const { return settings_.CaptionAlignment; }
    void SetCaptionAlignmentInt(int v) { SetCaptionAlignment(TAlignment(v)); }
    int CaptionAnchorInt() const { return settings_.CaptionAnchor; }
    void SetCaptionAnchorInt(int v) { SetCaptionAnchor(TScaleUnitAnchor(v)); }
    int LabelTypeInt() const { return settings_.LabelType; }
    void SetLabelTypeInt(int v) { SetLabelType(TFigType(v)); }

    TScaleSettings settings_; // see the constructor for the chart's defaults
    TDTLabel* dateFormat_ = nullptr;
    double minRange_ = 1e-10;
    int scalePos_ = 0;
    bool loading_ = true;
};

class TScalePropsHoriz : public TScaleProps {
    Q_OBJECT
    Q_PROPERTY(int ScaleLocation READ ScaleLocationInt WRITE SetScaleLocationInt)
public:
    explicit TScalePropsHoriz(QObject* parent = nullptr);
    TScaleLocationHoriz ScaleLocation() const { return location_; }
    void SetScaleLocation(TScaleLocationHoriz v);

private:
    int ScaleLocationInt() const { return location_; }
    void SetScaleLocationInt(int v) { SetScaleLocation(TScaleLocationHoriz(v)); }
    TScaleLocationHoriz location_ = slBottom;
};

class TScalePropsVert : public TScaleProps {
    Q_OBJECT
    Q_PROPERTY(int ScaleLocation READ ScaleLocationInt WRITE SetScaleLocationInt)
public:
    explicit TScalePropsVert(QObject* parent = nullptr);
    TScaleLocationVert ScaleLocation() const { return location_; }
    void SetScaleLocation(TScaleLocationVert v);

private:
    int ScaleLocationInt() const { return location_; }
    void SetScaleLocationInt(int v) { SetScaleLocation(TScaleLocationVert(v)); }
    TScaleLocationVert location_ = slLeft;
};
