#include "chart/TextLabel.h"

TCustomTextLabel::TCustomTextLabel(QObject* parent)
    : QObject(parent)
{
}

template <typename T>
void TCustomTextLabel::Store(T& field, const T& v)
{
    field = v;
    if (OnChange)
        OnChange();
}

void TCustomTextLabel::SetPosX(double v) { Store(posX_, v); }
void TCustomTextLabel::SetPosY(double v) { Store(posY_, v); }

void TCustomTextLabel::SetLayer(int v)
{
    if (v >= 1 && v <= 16)
        Store(layer_, v);
}

void TCustomTextLabel::SetShadowDx(int v) { Store(shadowDx_, v); }
void TCustomTextLabel::SetShadowDy(int v) { Store(shadowDy_, v); }
void TCustomTextLabel::SetColorShadow(TColor v) { Store(colorShadow_, v); }
void TCustomTextLabel::SetAlignment(TAlignment v) { Store(alignment_, v); }
void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment v) { Store(verticalAlignment_, v); }
void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode v) { Store(attachToData_, v); }
void TCustomTextLabel::SetColorBkg(TColor v) { Store(colorBkg_, v); }
void TCustomTextLabel::SetColorBorder(TColor v) { Store(colorBorder_, v); }
void TCustomTextLabel::SetTransparent(bool v) { Store(transparent_, v); }
void TCustomTextLabel::SetFont(const TFont& f) { Store(font_, f); }
void TCustomTextLabel::SetCaption(const QString& v) { Store(caption_, v); }
void TCustomTextLabel::SetMode(TTxtLblMode v) { Store(mode_, v); }
void TCustomTextLabel::SetVisible(bool v) { Store(visible_, v); }

void TCustomTextLabel::SetAlignmentInt(int v)
{
    if (v >= taLeftJustify && v <= taCenter)
        SetAlignment(TAlignment(v));
}

void TCustomTextLabel::SetVerticalAlignmentInt(int v)
{
    if (v >= vaTop && v <= vaBottom)
        SetVerticalAlignment(TVerticalAlignment(v));
}

void TCustomTextLabel::SetAttachToDataInt(int v)
{
    if (v >= tlamNone && v <= tlamBoth)
        SetAttachToData(TTxtLblAttachMode(v));
}

void TCustomTextLabel::SetModeInt(int v)
{
    if (v >= tlOff && v <= tlShadow)
        SetMode(TTxtLblMode(v));
}

TTextLabel::TTextLabel(QObject* parent)
    : TCustomTextLabel(parent)
{
}
