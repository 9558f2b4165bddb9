#include "chart/StandardLayouts.h"

namespace {

TLayoutAxis HiddenX() { return {false, false, 10, 100, taCenter, uaSclCenter, 0}; }
TLayoutAxis HiddenY() { return {false, false, 10, 100, taRightJustify, uaSclTopLft, 0}; }

TLayoutAxis Axis(bool farSide, int cx, int cy, TAlignment a, TScaleUnitAnchor anchor, int pos)
{
    return {true, farSide, cx, cy, a, anchor, pos};
}

} // namespace

TLayoutSettings StandardLayoutSettings(TrcLayout layout)
{
    TLayoutSettings s{50, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop, {}, {}};
    for (auto& a : s.X)
        a = HiddenX();
    for (auto& a : s.Y)
        a = HiddenY();
    const TLayoutAxis x1 = Axis(false, 0, 22, taCenter, uaSclCenter, 0);
    const TLayoutAxis yLeft = Axis(false, 0, -23, taRightJustify, uaSclTopLft, 0);
    auto leftY = [&](int pos) { TLayoutAxis a = yLeft; a.ScalePos = pos; return a; };

    switch (layout) {
    case rcl_X1Bottom_Y1Left:
        s.MarginTop = 20;
        s.X[0] = x1;
        s.Y[0] = Axis(false, 0, -16, taLeftJustify, uaSclTopLft, 0);
        break;
    case rcl_X1Bottom_Y2Left:
    case rcl_X1Bottom_Y3Left:
    case rcl_X1Bottom_Y4Left: {
        const int n = layout == rcl_X1Bottom_Y2Left ? 2 : layout == rcl_X1Bottom_Y3Left ? 3 : 4;
        s.MarginLeft = 50 * n;
        s.X[0] = x1;
        for (int i = 0; i < n; ++i)
            s.Y[i] = leftY(50 * i);
        break;
    }
    case rcl_X1Bottom_Y2Both:
        s.MarginRight = 50;
        s.CaptionPosY = -20;
        s.CaptionAlignment = taCenter;
        s.CaptionAnchorHoriz = cahChartCenter;
        s.X[0] = x1;
        s.Y[0] = leftY(0);
        s.Y[1] = Axis(true, 0, -23, taLeftJustify, uaSclTopLft, 0);
        break;
    case rcl_X2Bottom_Y2Left:
        s.MarginLeft = 100;
        s.MarginBottom = 70;
        s.X[0] = Axis(false, -20, 7, taRightJustify, uaSclTopLft, 0);
        s.X[1] = Axis(false, -20, 7, taRightJustify, uaSclTopLft, 30);
        s.Y[0] = leftY(0);
        s.Y[1] = leftY(50);
        break;
    case rcl_X2Both_Y2Both:
        s.MarginRight = 50;
        s.MarginTop = 48;
        s.CaptionPosY = -46;
        s.CaptionAlignment = taCenter;
        s.CaptionAnchorHoriz = cahChartCenter;
        s.X[0] = Axis(false, -20, 7, taRightJustify, uaSclTopLft, 0);
        s.X[1] = Axis(true, -20, -24, taRightJustify, uaSclTopLft, 0);
        s.Y[0] = Axis(false, 0, -40, taRightJustify, uaSclTopLft, 0);
        s.Y[1] = Axis(true, 0, -40, taLeftJustify, uaSclTopLft, 0);
        s.Y[2].CaptionPosX = s.Y[3].CaptionPosX = 0;
        s.Y[2].CaptionPosY = s.Y[3].CaptionPosY = -23;
        break;
    }
    return s;
}
