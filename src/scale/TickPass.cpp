#include "scale/TickPass.h"

#include "scale/ScaleLabels.h"
#include "scale/TickSpacing.h"

#include <cmath>

namespace {

// Far more ticks than a range divided by its own step can give; only ranges
// at the end of the floating-point scale come near it.
constexpr int kMaxTicksPerLoop = 10000;

} // namespace

void LinearTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter)
{
    const double low = in.RangeLow, high = in.RangeHigh;
    const TTickSpacing sp = CalcTickSpacing(in.MinTicks, low, high);
    const double F = sp.FirstTick, D = sp.Distance;
    const int n = sp.SubIntervals;
    if (D == 0 || !std::isfinite(D) || !std::isfinite(F))
        return;
    const double dir = high > low ? 1.0 : -1.0;

    if (in.ShortTicks) {
        const double shortD = D / n;
        for (int i = 0; i < kMaxTicksPerLoop; ++i) {
            const double x = F - D + i * shortD;
            if (!(dir * x < dir * low)) {
                record.Add(x);
                painter.DrawTick(x, false);
                painter.TickDrawn(x);
            }
            const double next = F - D + (i + 1) * shortD;
            if (!(dir * (next - high) <= 0.001 * std::fabs(shortD)))
                break;
        }
    }

    const int decimals = AutoDecimalsLinear(in.DecPlaces, high, low);
    const bool recordMain = IsVertical(in.ScaleType) || !in.ShortTicks;
    for (int i = 0; i < kMaxTicksPerLoop; ++i) {
        const double x = F + i * D;
        if (recordMain)
            record.Add(x);
        painter.DrawTick(x, true);
        painter.TickDrawn(x);
        if (in.LabelType != ftNoFigs) {
            QString text = LinearTickText(x, low, high, decimals);
            text = in.LabelType == ftUserText ? UserTickItem(in.UserTickText, i + 1)
                                              : ApplyInscript(text, in.ScaleInscript);
            painter.PlaceLabel(x, text);
        }
        const double next = F + (i + 1) * D;
        if (!(dir * (next - high) <= 0.001 * std::fabs(D)))
            break;
    }
}

bool LogTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter)
{
    const double low = in.RangeLow, high = in.RangeHigh;
    const double decades = std::fabs(std::log10(high / low));
    if (!(decades >= 1))
        return false;
    const double max = std::fmax(high, low), min = std::fmin(high, low);
    const int decimals = AutoDecimalsLog(in.DecPlaces, max, min);
    int labelCount = 0;
    const double e = std::floor(std::log10(min * 0.999999999));
    const double base = std::pow(10.0, e);
    const bool dense = in.MinTicks > decades + 0.5;

    auto mark = [&](int m, bool mainTick, double factor) {
        const double v = m * base * factor;
        if (!(min * 0.999999999 < v && v < max / 0.999999999))
            return;
        if (mainTick || in.ShortTicks) {
            record.Add(v);
            painter.DrawTick(v, mainTick);
        }
        painter.TickDrawn(v);
        if (!mainTick || in.LabelType == ftNoFigs)
            return;
        QString text;
        if (decimals == -3) {
            if (m == 1)
                text = FormatTickNumber(1, 0, std::nearbyint(std::log10(base * factor)));
        } else {
            text = FormatTickNumber(1, decimals, v);
        }
        text = text.left(kMaxLabelLength);
        if (in.DecPlaces == -2 && text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e'))
            && !text.contains(QLatin1Char('E'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
        ++labelCount;
        text = in.LabelType == ftUserText ? UserTickItem(in.UserTickText, labelCount)
                                          : ApplyInscript(text, in.ScaleInscript);
        painter.PlaceLabel(v, text);
    };

    double factor = 1;
    // A double spans about 630 decades; the bound only guards the loop.
    for (int guard = 0; guard < 2000; ++guard) {
        mark(1, true, factor);
        if (dense)
            for (int m = 2; m <= 9; ++m)
                mark(m, m == 2 || m == 5, factor);
        factor *= 10;
        if (!(max >= 0.999999999 * base * factor))
            break;
    }
    return true;
}

void NumericTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter)
{
    if (in.Logarithmic && LogTickPass(in, record, painter))
        return;
    LinearTickPass(in, record, painter);
}
