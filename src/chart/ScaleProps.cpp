#include "chart/ScaleProps.h"

#include <algorithm>
#include <cmath>

TScaleProps::TScaleProps(QObject* parent)
    : QObject(parent)
{
    // The axis component's defaults, except a caption at the axis line, the
    // range 0..1 and the axis hidden.
    settings_.RangeHigh = 1;
    settings_.CaptionPosX = 0;
    settings_.CaptionPosY = 0;
    settings_.Visible = false;
    dateFormat_ = new TDTLabel(this);
    dateFormat_->OnChange = [this] { Changed(); };
}

void TScaleProps::Changed()
{
    if (OnChange)
        OnChange();
}

void TScaleProps::SetCaption(const QString& v) { settings_.Caption = v; Changed(); }
void TScaleProps::SetCaptionPosX(int v) { settings_.CaptionPosX = v; Changed(); }
void TScaleProps::SetCaptionPosY(int v) { settings_.CaptionPosY = v; Changed(); }
void TScaleProps::SetCaptionAlignment(TAlignment v) { settings_.CaptionAlignment = v; Changed(); }
void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor v) { settings_.CaptionAnchor = v; Changed(); }
void TScaleProps::SetColorScale(TColor v) { settings_.ColorScale = v; Changed(); }
void TScaleProps::SetFont(const TFont& v) { settings_.Font = v; Changed(); }
void TScaleProps::SetMinTicks(int v) { settings_.MinTicks = std::clamp(v, 2, 10); Changed(); }
void TScaleProps::SetShortTicks(bool v) { settings_.ShortTicks = v; Changed(); }
void TScaleProps::SetScaleInscript(const QString& v) { settings_.ScaleInscript = v; Changed(); }
void TScaleProps::SetScalePos(int v) { scalePos_ = v; Changed(); }
void TScaleProps::SetUserTickText(const QString& v) { settings_.UserTickText = v; Changed(); }
void TScaleProps::SetVisible(bool v) { settings_.Visible = v; Changed(); }
void TScaleProps::SetDecPlaces(int v) { settings_.DecPlaces = std::clamp(v, -3, 12); Changed(); }

void TScaleProps::SetDateFormat(const TDTLabel& v)
{
    auto notify = std::move(dateFormat_->OnChange);
    dateFormat_->OnChange = nullptr;
    dateFormat_->Assign(v);
    dateFormat_->OnChange = std::move(notify);
    Changed();
}

void TScaleProps::SetLogarithmic(bool v)
{
    if (v && !loading_ && !(settings_.RangeLow >= 1e-100 && settings_.RangeHigh >= 1e-100 && settings_.LabelType != ftDateTime))
        return;
    settings_.Logarithmic = v;
    Changed();
}

void TScaleProps::SetLabelType(TFigType v)
{
    settings_.LabelType = v;
    if (v == ftDateTime)
        settings_.Logarithmic = false;
    if (v == ftTime)
        settings_.DecPlaces = 4;
    Changed();
}

void TScaleProps::SetMinRange(double v)
{
    if (!(v > 1e-100))
        return;
    minRange_ = v;
    if (std::fabs(settings_.RangeHigh - settings_.RangeLow) < v) {
        const double c = (settings_.RangeLow + settings_.RangeHigh) / 2;
        settings_.RangeLow = c - v / 2;
        settings_.RangeHigh = c + v / 2;
    }
    Changed();
}

void TScaleProps::SetRangeLow(double v)
{
    SetRangeEnd(settings_.RangeLow, settings_.RangeHigh, v, minRange_);
}

void TScaleProps::SetRangeHigh(double v)
{
    SetRangeEnd(settings_.RangeHigh, settings_.RangeLow, v, -minRange_);
}

// An end that comes closer to the other than MinRange takes the other along
// (to v + away); on a logarithmic axis an end at or below 1e-100 is ignored.
void TScaleProps::SetRangeEnd(double& end, double& other, double v, double away)
{
    if (std::fabs(other - v) < minRange_) {
        end = v;
        other = v + away;
    } else if (!(settings_.Logarithmic && v < 1e-100)) {
        end = v;
    }
    Changed();
}

// An axis at the top of the data area is drawn as a scale whose line lies at
// its bottom with the labels above it (sctXB), and so on.
namespace {
TScaleType HorizontalType(TScaleLocationHoriz l) { return l == slTop ? sctXB : sctXT; }
TScaleType VerticalType(TScaleLocationVert l) { return l == slLeft ? sctYR : sctYL; }
} // namespace

TScalePropsHoriz::TScalePropsHoriz(QObject* parent) : TScaleProps(parent) { StoreScaleType(HorizontalType(location_)); }
TScalePropsVert::TScalePropsVert(QObject* parent) : TScaleProps(parent) { StoreScaleType(VerticalType(location_)); }

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz v)
{
    location_ = v;
    Relocated(HorizontalType(v));
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert v)
{
    location_ = v;
    Relocated(VerticalType(v));
}
