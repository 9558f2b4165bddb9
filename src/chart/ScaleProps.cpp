#include "chart/ScaleProps.h"

#include <algorithm>
#include <cmath>

TScaleProps::TScaleProps(QObject* parent)
    : QObject(parent)
{
    dateFormat_ = new TDTLabel(this);
    dateFormat_->OnChange = [this] { Changed(); };
}

void TScaleProps::Changed()
{
    if (OnChange)
        OnChange();
}

void TScaleProps::SetCaption(const QString& v) { caption_ = v; Changed(); }
void TScaleProps::SetCaptionPosX(int v) { captionPosX_ = v; Changed(); }
void TScaleProps::SetCaptionPosY(int v) { captionPosY_ = v; Changed(); }
void TScaleProps::SetCaptionAlignment(TAlignment v) { captionAlignment_ = v; Changed(); }
void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor v) { captionAnchor_ = v; Changed(); }
void TScaleProps::SetColorScale(TColor v) { colorScale_ = v; Changed(); }
void TScaleProps::SetFont(const TFont& v) { font_ = v; Changed(); }
void TScaleProps::SetMinTicks(int v) { minTicks_ = std::clamp(v, 2, 10); Changed(); }
void TScaleProps::SetShortTicks(bool v) { shortTicks_ = v; Changed(); }
void TScaleProps::SetScaleInscript(const QString& v) { scaleInscript_ = v; Changed(); }
void TScaleProps::SetScalePos(int v) { scalePos_ = v; Changed(); }
void TScaleProps::SetUserTickText(const QString& v) { userTickText_ = v; Changed(); }
void TScaleProps::SetVisible(bool v) { visible_ = v; Changed(); }
void TScaleProps::SetDecPlaces(int v) { decPlaces_ = std::clamp(v, -3, 12); Changed(); }

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
    if (v && !loading_ && !(rangeLow_ >= 1e-100 && rangeHigh_ >= 1e-100 && labelType_ != ftDateTime))
        return;
    logarithmic_ = v;
    Changed();
}

void TScaleProps::SetLabelType(TFigType v)
{
    labelType_ = v;
    if (v == ftDateTime)
        logarithmic_ = false;
    if (v == ftTime)
        decPlaces_ = 4;
    Changed();
}

void TScaleProps::SetMinRange(double v)
{
    if (!(v > 1e-100))
        return;
    minRange_ = v;
    if (std::fabs(rangeHigh_ - rangeLow_) < v) {
        const double c = (rangeLow_ + rangeHigh_) / 2;
        rangeLow_ = c - v / 2;
        rangeHigh_ = c + v / 2;
    }
    Changed();
}

void TScaleProps::SetRangeLow(double v)
{
    if (std::fabs(rangeHigh_ - v) < minRange_) {
        rangeLow_ = v;
        rangeHigh_ = v + minRange_;
    } else if (!(logarithmic_ && v < 1e-100)) {
        rangeLow_ = v;
    }
    Changed();
}

void TScaleProps::SetRangeHigh(double v)
{
    if (std::fabs(rangeLow_ - v) < minRange_) {
        rangeHigh_ = v;
        rangeLow_ = v - minRange_;
    } else if (!(logarithmic_ && v < 1e-100)) {
        rangeHigh_ = v;
    }
    Changed();
}

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz v)
{
    location_ = v;
    Changed();
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert v)
{
    location_ = v;
    Changed();
}
