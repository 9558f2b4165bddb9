#pragma once
// The axis settings of one chart layer: a horizontal and a vertical
// TScaleProps per layer, copied by the chart into its axis components.

#include "scale/DateTimeLabels.h"
#include "scale/ScaleTypes.h"
#include "gfx/Alignment.h"
#include "gfx/Canvas.h"

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

    QString Caption() const { return caption_; }
    int CaptionPosX() const { return captionPosX_; }
    int CaptionPosY() const { return captionPosY_; }
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    TScaleUnitAnchor CaptionAnchor() const { return captionAnchor_; }
    TColor ColorScale() const { return colorScale_; }
    TDTLabel* DateFormat() const { return dateFormat_; }
    int DecPlaces() const { return decPlaces_; }
    const TFont& Font() const { return font_; }
    bool Logarithmic() const { return logarithmic_; }
    TFigType LabelType() const { return labelType_; }
    int MinTicks() const { return minTicks_; }
    double MinRange() const { return minRange_; }
    double RangeLow() const { return rangeLow_; }
    double RangeHigh() const { return rangeHigh_; }
    bool ShortTicks() const { return shortTicks_; }
    QString ScaleInscript() const { return scaleInscript_; }
    int ScalePos() const { return scalePos_; }
    QString UserTickText() const { return userTickText_; }
    bool Visible() const { return visible_; }

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
        rangeLow_ = low;
        rangeHigh_ = high;
    }

    // True until the owning chart has finished loading from a window
    // description (and for good in a chart that is never loaded).
    bool Loading() const { return loading_; }
    void SetLoading(bool v) { loading_ = v; }

    // The axis component's scale type for this axis's location.
    virtual TScaleType ScaleType() const = 0;

    std::function<void()> OnChange;

protected:
    void Changed();

private:
    int CaptionAlignmentInt() const { return captionAlignment_; }
    void SetCaptionAlignmentInt(int v) { SetCaptionAlignment(TAlignment(v)); }
    int CaptionAnchorInt() const { return captionAnchor_; }
    void SetCaptionAnchorInt(int v) { SetCaptionAnchor(TScaleUnitAnchor(v)); }
    int LabelTypeInt() const { return labelType_; }
    void SetLabelTypeInt(int v) { SetLabelType(TFigType(v)); }

    QString caption_;
    int captionPosX_ = 0, captionPosY_ = 0;
    TAlignment captionAlignment_ = taCenter;
    TScaleUnitAnchor captionAnchor_ = uaSclTopLft;
    TColor colorScale_ = clBlack;
    TDTLabel* dateFormat_ = nullptr;
    int decPlaces_ = -2;
    TFont font_;
    bool logarithmic_ = false;
    TFigType labelType_ = ftNum;
    int minTicks_ = 3;
    double minRange_ = 1e-10;
    double rangeLow_ = 0, rangeHigh_ = 1;
    bool shortTicks_ = true;
    QString scaleInscript_;
    int scalePos_ = 0;
    QString userTickText_;
    bool visible_ = false;
    bool loading_ = true;
};

class TScalePropsHoriz : public TScaleProps {
    Q_OBJECT
    Q_PROPERTY(int ScaleLocation READ ScaleLocationInt WRITE SetScaleLocationInt)
public:
    using TScaleProps::TScaleProps;
    TScaleLocationHoriz ScaleLocation() const { return location_; }
    void SetScaleLocation(TScaleLocationHoriz v);
    TScaleType ScaleType() const override { return location_ == slTop ? sctXB : sctXT; }

private:
    int ScaleLocationInt() const { return location_; }
    void SetScaleLocationInt(int v) { SetScaleLocation(TScaleLocationHoriz(v)); }
    TScaleLocationHoriz location_ = slBottom;
};

class TScalePropsVert : public TScaleProps {
    Q_OBJECT
    Q_PROPERTY(int ScaleLocation READ ScaleLocationInt WRITE SetScaleLocationInt)
public:
    using TScaleProps::TScaleProps;
    TScaleLocationVert ScaleLocation() const { return location_; }
    void SetScaleLocation(TScaleLocationVert v);
    TScaleType ScaleType() const override { return location_ == slLeft ? sctYR : sctYL; }

private:
    int ScaleLocationInt() const { return location_; }
    void SetScaleLocationInt(int v) { SetScaleLocation(TScaleLocationVert(v)); }
    TScaleLocationVert location_ = slLeft;
};
