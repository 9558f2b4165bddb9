// The chart's mapping and drawing of random items and settings: layer
// ranges (linear and logarithmic, NaN, infinities, huge and tiny values),
// margins, sizes, isometric mode, grids, every item kind with any geometry
// and attribute, text labels and cross-hairs, then a full paint and the
// items-only repaint.
//
// Rules checked (beyond the sanitizers): the pictures keep the sizes the
// geometry gives; world-to-pixel never leaves the 32-bit range, and a pixel
// mapped back and forth on a linear layer with ordinary ranges lands on
// itself; the item count is what was added.
#include "FuzzApplication.h"

#include "chart/RChart.h"

#include <cmath>

namespace {

double Coordinate(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? ConsumeInterestingDouble(in) : in.ConsumeFloatingPointInRange<double>(-200, 200);
}

// Text sizes the program could ask for; a glyph of a million points is a
// question for the font engine, not for the chart.
int TextSize(FuzzedDataProvider& in)
{
    return in.ConsumeIntegralInRange<int>(-80, 200);
}

void AddItem(TRChart& c, FuzzedDataProvider& in)
{
    const double x1 = Coordinate(in), y1 = Coordinate(in);
    switch (in.ConsumeIntegralInRange<int>(0, 11)) {
    case 0: c.AddLine(x1, y1, Coordinate(in), Coordinate(in)); break;
    case 1: c.AddEllipse(x1, y1, Coordinate(in), Coordinate(in)); break;
    case 2: c.AddMark(x1, y1, in.ConsumeIntegral<int>()); break;
    case 3: c.AddMoveTo(x1, y1); break;
    case 4: c.AddDrawTo(x1, y1); break;
    case 5: c.AddMoveRel(x1, y1); break;
    case 6: c.AddDrawRel(x1, y1); break;
    case 7: c.AddRectangle(x1, y1, Coordinate(in), Coordinate(in)); break;
    case 8:
        c.AddFramedBox(x1, y1, Coordinate(in), Coordinate(in), TFrameStyle(in.ConsumeIntegralInRange<int>(0, 7)),
                       in.ConsumeIntegral<TColor>(), in.ConsumeIntegral<TColor>());
        break;
    case 9: c.AddBar3D(x1, y1, Coordinate(in), Coordinate(in), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()); break;
    case 10: c.AddText(x1, y1, TextSize(in), QString::fromStdString(in.ConsumeRandomLengthString(24))); break;
    default: c.AddArrow(x1, y1, Coordinate(in), Coordinate(in), in.ConsumeIntegral<int>()); break;
    }
}

void ChangeSetting(TRChart& c, FuzzedDataProvider& in)
{
    const int layer = in.ConsumeIntegralInRange<int>(-1, 18);
    switch (in.ConsumeIntegralInRange<int>(0, 17)) {
    case 0:
        c.SetLayerRange(layer, Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in));
        break;
    case 1: {
        TScaleProps* p = in.ConsumeBool() ? static_cast<TScaleProps*>(c.ScaleX(layer)) : c.ScaleY(layer);
        switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: p->SetRangeLow(Coordinate(in)); break;
        case 1: p->SetRangeHigh(Coordinate(in)); break;
        case 2: p->SetLogarithmic(in.ConsumeBool()); break;
        case 3: p->SetMinRange(Coordinate(in)); break;
        case 4: p->SetLabelType(TFigType(in.ConsumeIntegralInRange<int>(0, 5))); break;
        case 5: p->SetDecPlaces(in.ConsumeIntegral<int>()); break;
        case 6: p->SetMinTicks(in.ConsumeIntegral<int>()); break;
        default: p->SetVisible(in.ConsumeBool()); break;
        }
        break;
    }
    case 2: c.SetMarginLeft(in.ConsumeIntegralInRange<int>(-20, 500)); break;
    case 3: c.SetMarginRight(in.ConsumeIntegralInRange<int>(-20, 500)); break;
    case 4: c.SetMarginTop(in.ConsumeIntegralInRange<int>(-20, 500)); break;
    case 5: c.SetMarginBottom(in.ConsumeIntegralInRange<int>(-20, 500)); break;
    case 6: c.SetShadowWidth(in.ConsumeIntegralInRange<int>(-5, 40)); break;
    case 7:
        c.SetControlBounds(0, 0, in.ConsumeIntegralInRange<int>(-10, 400), in.ConsumeIntegralInRange<int>(-10, 300));
        break;
    case 8: c.SetIsometric(in.ConsumeBool()); break;
    case 9:
        c.SetGridStyle(GridStyleType(in.ConsumeIntegralInRange<int>(0, 8)));
        c.SetGridDx(Coordinate(in));
        c.SetGridDy(Coordinate(in));
        break;
    case 10: c.SetActiveLayer(layer); break;
    case 11:
        c.SetDataColor(in.ConsumeIntegral<TColor>());
        c.SetFillColor(in.ConsumeIntegral<TColor>());
        c.SetPenStyle(TPenStyle(in.ConsumeIntegralInRange<int>(0, 7)));
        c.SetLineWidth(in.ConsumeIntegralInRange<int>(0, 255));
        c.SetTransparentFill(in.ConsumeBool());
        c.SetClassDefault(in.ConsumeIntegralInRange<int>(0, 255));
        break;
    case 12: {
        TTextLabel* l = c.TextLabel(in.ConsumeIntegralInRange<int>(0, 31));
        l->SetMode(TTxtLblMode(in.ConsumeIntegralInRange<int>(0, 5)));
        l->SetAttachToData(TTxtLblAttachMode(in.ConsumeIntegralInRange<int>(0, 4)));
        l->SetAlignment(TAlignment(in.ConsumeIntegralInRange<int>(0, 3)));
        l->SetVerticalAlignment(TVerticalAlignment(in.ConsumeIntegralInRange<int>(0, 3)));
        l->SetPosX(Coordinate(in));
        l->SetPosY(Coordinate(in));
        l->SetLayer(layer);
        l->SetShadowDx(in.ConsumeIntegralInRange<int>(-50000, 50000));
        l->SetShadowDy(in.ConsumeIntegralInRange<int>(-50000, 50000));
        l->SetTransparent(in.ConsumeBool());
        l->SetCaption(QString::fromStdString(in.ConsumeRandomLengthString(40)));
        l->SetVisible(in.ConsumeBool());
        break;
    }
    case 13: {
        TCrossHair* h = c.CrossHair(in.ConsumeIntegralInRange<int>(0, 5));
        h->SetMode(TCrossHMode(in.ConsumeIntegralInRange<int>(0, 4)));
        h->SetPosX(Coordinate(in));
        h->SetPosY(Coordinate(in));
        h->SetLayer(layer);
        h->SetLineType(TPenStyle(in.ConsumeIntegralInRange<int>(0, 7)));
        h->SetLineWid(in.ConsumeIntegralInRange<int>(-5, 300));
        break;
    }
    case 14:
        c.SetCaption(QString::fromStdString(in.ConsumeRandomLengthString(30)));
        c.SetCaptionPosX(in.ConsumeIntegralInRange<int>(-100000, 100000));
        c.SetCaptionPosY(in.ConsumeIntegralInRange<int>(-100000, 100000));
        c.SetCaptionAnchorHoriz(TCaptionAnchorHoriz(in.ConsumeIntegralInRange<int>(0, 5)));
        c.SetCaptionAnchorVert(TCaptionAnchorVert(in.ConsumeIntegralInRange<int>(0, 5)));
        c.SetCaptionAlignment(TAlignment(in.ConsumeIntegralInRange<int>(0, 3)));
        break;
    case 15: {
        TBakGndImg* b = c.BackGroundImg();
        b->SetAreaMode(TBGAreaMode(in.ConsumeIntegralInRange<int>(0, 8)));
        b->SetAreaLeft(Coordinate(in));
        b->SetAreaRight(Coordinate(in));
        b->SetAreaTop(Coordinate(in));
        b->SetAreaBottom(Coordinate(in));
        break;
    }
    case 16:
        c.SetLayerVisible(layer, in.ConsumeBool());
        c.SetClassVisible(in.ConsumeIntegral<int>(), in.ConsumeBool());
        break;
    default:
        c.SetTextAlignment(TAlignment(in.ConsumeIntegralInRange<int>(0, 3)));
        c.SetTextBkStyle(TTextBkg(in.ConsumeIntegralInRange<int>(0, 2)));
        c.SetShadowStyle(TShadowStyle(in.ConsumeIntegralInRange<int>(0, 2)));
        break;
    }
}

void CheckMapping(TRChart& c, FuzzedDataProvider& in)
{
    const int layer = in.ConsumeIntegralInRange<int>(-1, 18);
    int px = 0, py = 0;
    c.WorldToPixel(layer, Coordinate(in), Coordinate(in), px, py);
    FUZZ_CHECK(px >= -2147483647 && py >= -2147483647, QString());
    const int l = layer < 1 ? 1 : layer > 16 ? 16 : layer;
    const TScaleProps* sx = c.ScaleX(l);
    const TScaleProps* sy = c.ScaleY(l);
    auto ordinary = [](const TScaleProps* s) {
        const double span = std::fabs(s->RangeHigh() - s->RangeLow());
        return !s->Logarithmic() && span > 1e-6 && span < 1e6 && std::fabs(s->RangeLow()) < 1e6;
    };
    if (!ordinary(sx) || !ordinary(sy) || c.DataWidth() <= 0 || c.DataHeight() <= 0)
        return;
    const int qx = in.ConsumeIntegralInRange<int>(-1000, 1000), qy = in.ConsumeIntegralInRange<int>(-1000, 1000);
    double wx = 0, wy = 0;
    c.PixelToWorld(l, qx, qy, wx, wy);
    c.WorldToPixel(l, wx, wy, px, py);
    FUZZ_CHECK(px == qx && py == qy, QStringLiteral("%1,%2 -> %3,%4").arg(qx).arg(qy).arg(px).arg(py));
}

void CheckPictures(const TRChart& c)
{
    FUZZ_CHECK(c.ControlBitmap().Width() == c.width() && c.ControlBitmap().Height() == c.height(),
               QStringLiteral("%1x%2").arg(c.ControlBitmap().Width()).arg(c.ControlBitmap().Height()));
    // One pixel more than the data area each way, or none when the margins
    // leave the data area no room in either direction.
    const bool room = c.DataWidth() >= 0 && c.DataHeight() >= 0;
    FUZZ_CHECK(c.DataBitmap().Width() == (room ? c.DataWidth() + 1 : 0)
                   && c.DataBitmap().Height() == (room ? c.DataHeight() + 1 : 0),
               QStringLiteral("%1x%2 for %3x%4")
                   .arg(c.DataBitmap().Width())
                   .arg(c.DataBitmap().Height())
                   .arg(c.DataWidth())
                   .arg(c.DataHeight()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    TRChart chart;
    chart.SetControlBounds(0, 0, 160, 120);
    // Mostly without repainting at every change, which costs a full paint
    // each; the rule is checked, the run stays fast.
    chart.SetAutoRedraw(in.ConsumeIntegralInRange<int>(0, 3) == 0);
    chart.show();
    int added = 0;
    for (int step = 0; step < 40 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange<int>(0, 9)) {
        case 0: case 1: case 2: case 3:
            AddItem(chart, in);
            ++added;
            break;
        case 4: case 5: case 6:
            ChangeSetting(chart, in);
            break;
        case 7:
            CheckMapping(chart, in);
            break;
        case 8:
            chart.ShowItems();
            break;
        default:
            chart.ClearItems();
            added = 0;
            break;
        }
    }
    FUZZ_CHECK(chart.ItemCount() == added, QString::number(chart.ItemCount()));
    chart.RenderChart();
    CheckPictures(chart);
    chart.ShowItems();
    return 0;
}
