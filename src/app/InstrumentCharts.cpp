#include "app/InstrumentCharts.h"

#include "app/SectorField.h"
#include "chart/RChart.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The wall stands at the deflection view's right edge; its jaws and the
// plate are drawn just inside, so that the chart's frame does not hide them.
constexpr double kWallDrawnX = 99.5;
constexpr double kCurrentAxisStep = 50;

// The rays that show a beam as a band: its middle and the two that meet the
// wall lowest and highest (by radius where none reaches it). The others lie
// between them; drawing all of them would only cost time in a scan.
std::vector<TBeamRay> BandOf(const std::vector<TBeamRay>& rays)
{
    if (rays.size() <= 3)
        return rays;
    const auto key = [](const TBeamRay& r) { return r.WallY ? *r.WallY : r.Radius; };
    const auto [low, high] = std::minmax_element(rays.begin() + 1, rays.end(), [&key](const TBeamRay& a, const TBeamRay& b) {
        return key(a) < key(b);
    });
    return {rays.front(), *low, *high};
}

} // namespace

void ShowBeams(TRChart& deflection, const TSectorInstrument& instrument, const std::vector<TSpectralLine>& lines,
               int fieldPosition)
{
    deflection.SetSuppressPaint(true);
    deflection.ClearItems();
    const double top = deflection.Scale1Y()->RangeHigh();
    // The loader leaves the lines by ascending abundance: strong beams on top.
    for (const TSpectralLine& line : lines) {
        deflection.SetDataColor(MixColors(0xFFF0F0, 0x500000, line.Abundance / 100));
        for (const TBeamRay& ray : BandOf(instrument.Rays(line.Mass, fieldPosition))) {
            if (ray.Radius > kStraightPathLimit)
                deflection.AddLine(kSourceX + ray.Offset, 0, kSourceX + ray.Offset, top);
            else
                deflection.AddEllipse(ray.CentreX, ray.CentreY, ray.Radius, ray.Radius);
        }
    }
    deflection.SetDataColor(clBlack);
    deflection.SetLineWidth(3);
    if (instrument.Settings().Detector == TDetectorKind::Plate) {
        deflection.AddLine(kWallDrawnX, kPlateLowY, kWallDrawnX, kPlateHighY);
    } else {
        deflection.AddLine(kWallDrawnX, 0, kWallDrawnX, instrument.SlitLow());
        deflection.AddLine(kWallDrawnX, instrument.SlitHigh(), kWallDrawnX, top);
    }
    deflection.SetLineWidth(1);
    deflection.SetSuppressPaint(false);
}

void AddTraceSample(TRChart& spectrum, const std::optional<TTraceSample>& previous, const TTraceSample& sample)
{
    TScalePropsVert* axis = spectrum.Scale1Y();
    if (sample.Current > axis->RangeHigh())
        axis->SetRangeHigh(std::ceil(sample.Current / kCurrentAxisStep) * kCurrentAxisStep);
    if (previous && sample.FieldPosition > previous->FieldPosition)
        spectrum.AddLine(previous->MassInFocus, previous->Current, sample.MassInFocus, sample.Current);
}

void ShowPlate(TRChart& spectrum, const TSectorInstrument& instrument, const std::vector<TSpectralLine>& lines,
               int fieldPosition, int readings)
{
    spectrum.ClearItems();
    const std::vector<TPlateReading> plate = instrument.Plate(lines, fieldPosition, readings);
    for (size_t i = 1; i < plate.size(); ++i)
        spectrum.AddLine(plate[i - 1].Mass, 100 * plate[i - 1].Blackening, plate[i].Mass, 100 * plate[i].Blackening);
}
