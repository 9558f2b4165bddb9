#include "app/SpectrometerCharts.h"

#include "app/FieldScan.h"
#include "chart/RChart.h"
#include "gfx/Frames.h"

void SetUpDeflectionChart(TRChart& c)
{
    c.setObjectName(QStringLiteral("RChart1"));
    c.SetControlBounds(16, 16, 233, 246);
    c.SetMarginLeft(1);
    c.SetMarginRight(1);
    c.SetMarginTop(15);
    c.SetMarginBottom(1);
    c.Scale1X()->SetVisible(false);
    c.Scale1Y()->SetVisible(false);
    c.SetLayerRange(1, 0, 100, 0, 1);
    c.SetIsometric(true);
    c.SetChartColor(15464702);
    c.SetCaption(QStringLiteral("LX_Magnetic Deflection"));
    c.SetAllocSize(1000);
    c.SetAutoRedraw(false);
    c.Loaded();
}

void SetUpSpectrumChart(TRChart& c)
{
    c.setObjectName(QStringLiteral("RChart2"));
    c.SetMarginLeft(30);
    c.SetMarginRight(2);
    c.SetMarginTop(20);
    c.SetMarginBottom(20);
    c.SetControlBounds(16, 344, 641, 217);
    c.SetLayerRange(1, 0, 100, 0, 100);
    c.Scale1X()->SetVisible(true);
    c.Scale1Y()->SetVisible(true);
    c.SetCaption(QStringLiteral("LX_Mass Spectrum"));
    c.SetAllocSize(1000);
    c.SetAutoRedraw(false);
    TCrossHair* ch = c.CrossHair1();
    ch->SetMode(chVert);
    ch->SetLineType(psDash);
    ch->SetColor(clMaroon);
    ch->SetLineWid(1);
    ch->SetPosX(0.3);
    c.Loaded();
}

namespace {

void AddIonPaths(TRChart& deflection, const TIonPaths& model, const std::vector<TSpectralLine>& lines)
{
    for (size_t i = 0; i < lines.size() && i < model.Paths.size(); ++i) {
        deflection.SetDataColor(MixColors(0xFFF0F0, 0x500000, lines[i].Abundance / 100));
        const float r = model.Paths[i].Radius;
        if (model.Paths[i].Straight)
            deflection.AddLine(kSourceX, 0, kSourceX, deflection.Scale1Y()->RangeHigh());
        else
            deflection.AddEllipse(kSourceX + r, 0, r, r);
    }
}

} // namespace

void ShowIonPaths(TRChart& deflection, const TIonPaths& model, const std::vector<TSpectralLine>& lines)
{
    deflection.SetSuppressPaint(true);
    deflection.ClearItems();
    AddIonPaths(deflection, model, lines);
    deflection.SetSuppressPaint(false);
}

void ShowDetector(TRChart& spectrum, const TIonPaths& model, const std::vector<TSpectralLine>& lines)
{
    if (const auto stick = StickInFocus(model, lines))
        spectrum.AddLine(stick->Mass, 0, stick->Mass, stick->Abundance);
    spectrum.CrossHair1()->SetPosX(model.MassInFocus);
}

std::vector<TSpectralLine> RecordedSticks(const TRChart& spectrum)
{
    std::vector<TSpectralLine> sticks;
    for (int i = 0; i < spectrum.ItemCount(); ++i) {
        const TChartItem& it = spectrum.Item(i);
        if (it.Kind == ikLine)
            sticks.push_back({it.X1, it.Y2});
    }
    return sticks;
}

void SetLogarithmicAbundance(TRChart& spectrum, bool on)
{
    TScalePropsVert* axis = spectrum.Scale1Y();
    if (axis->Logarithmic() == on)
        return;
    const bool suppressed = spectrum.SuppressPaint();
    spectrum.SetSuppressPaint(true);
    // The axis takes logarithmic only once both ends lie above 0, and while
    // logarithmic it takes no low end at or below 0: the ends move first on
    // the way there, the kind first on the way back.
    if (on) {
        axis->SetRangeLow(kLogAbundanceLow);
        axis->SetRangeHigh(100);
        axis->SetLogarithmic(true);
    } else {
        axis->SetLogarithmic(false);
        axis->SetRangeLow(0);
        axis->SetRangeHigh(100);
    }
    spectrum.SetSuppressPaint(suppressed);
}

bool LogarithmicAbundance(const TRChart& spectrum)
{
    return spectrum.Scale1Y()->Logarithmic();
}

void ShowMassAxisCharge(TRChart& spectrum, int charge, const QString& text)
{
    TTextLabel* label = spectrum.TextLabel(1);
    if (charge <= 1) {
        label->SetVisible(false);
        return;
    }
    // Control pixels, just above the axis line at its right end.
    label->SetAttachToData(tlamNone);
    label->SetPosX(spectrum.width() - spectrum.MarginRight() - 4);
    label->SetPosY(spectrum.height() - spectrum.MarginBottom() - 4);
    label->SetAlignment(taRightJustify);
    label->SetVerticalAlignment(vaBottom);
    label->SetTransparent(true);
    label->SetColorBorder(clBlack);
    label->SetCaption(text);
    label->SetMode(tlsimple);
    label->SetVisible(true);
}
