// TRChart: appearance settings; each repaints when AutoRedraw is on.
#include "chart/RChart.h"

#define RCHART_SETTER(Name, Type, field) \
    void TRChart::Set##Name(Type v)      \
    {                                    \
        field = v;                       \
        RepaintIfAuto();                 \
    }

RCHART_SETTER(ChartColor, TColor, chartColor_)
RCHART_SETTER(ChartFrameColor, TColor, chartFrameColor_)
RCHART_SETTER(GridStyle, GridStyleType, gridStyle_)
RCHART_SETTER(GridColor, TColor, gridColor_)
RCHART_SETTER(ShadowStyle, TShadowStyle, shadowStyle_)
RCHART_SETTER(ShadowColor, TColor, shadowColor_)
RCHART_SETTER(ShadowBakColor, TColor, shadowBakColor_)
RCHART_SETTER(Caption, const QString&, caption_)
RCHART_SETTER(CaptionPosX, int, captionPosX_)
RCHART_SETTER(CaptionPosY, int, captionPosY_)
RCHART_SETTER(CaptionAlignment, TAlignment, captionAlignment_)
RCHART_SETTER(CaptionAnchorHoriz, TCaptionAnchorHoriz, captionAnchorHoriz_)
RCHART_SETTER(CaptionAnchorVert, TCaptionAnchorVert, captionAnchorVert_)
RCHART_SETTER(TextFontStyle, int, textFontStyle_)
RCHART_SETTER(TextBkStyle, TTextBkg, textBkStyle_)
RCHART_SETTER(TextBkColor, TColor, textBkColor_)
RCHART_SETTER(TextAlignment, TAlignment, textAlignment_)
RCHART_SETTER(Font, const TFont&, font_)

#undef RCHART_SETTER

void TRChart::SetWindColor(TColor v)
{
    windColor_ = v;
    // The axes draw on the chart's background.
    for (int n = 1; n <= kLayerCount; ++n) {
        axisX_[n]->SetColorBackGnd(v);
        axisY_[n]->SetColorBackGnd(v);
    }
    RepaintIfAuto();
}

void TRChart::SetGridDx(double v)
{
    if (v < -3)
        return;
    gridDx_ = v;
    RepaintIfAuto();
}

void TRChart::SetGridDy(double v)
{
    if (v < -3)
        return;
    gridDy_ = v;
    RepaintIfAuto();
}
