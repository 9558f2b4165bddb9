// The scale's tick passes over any range and settings: numeric (linear and
// logarithmic), time and date-time, through the pass functions and through
// a whole scale widget painting itself.
//
// Rules checked: every pass ends (a painter that is asked for more than a
// pass could ever need stops the run); no more than 50 ticks are recorded,
// and those that are come in the order they were drawn; on ordinary ranges
// a linear pass draws at most 2.5 x MinTicks + 2 main ticks, all inside the
// range (to 0.1 % of a step), and a logarithmic one draws only inside it;
// numeric labels hold at most 14 characters before the inscript.
#include "FuzzApplication.h"

#include "scale/DateTimeLabels.h"
#include "scale/Scale.h"
#include "scale/TickPass.h"
#include "scale/TickSpacing.h"

#include <cmath>
#include <vector>

namespace {

// Each pass loop is bounded by 100,000 steps; a pass has a handful of loops.
constexpr size_t kMaxCalls = 2000000;

struct CheckingPainter : TTickPainter {
    std::vector<double> ticks, mainTicks;
    QStringList labels;
    size_t calls = 0;

    void Count()
    {
        FUZZ_CHECK(++calls < kMaxCalls, QStringLiteral("the pass does not end"));
    }
    void DrawTick(double v, bool mainTick) override
    {
        Count();
        ticks.push_back(v);
        if (mainTick)
            mainTicks.push_back(v);
    }
    void TickDrawn(double) override { Count(); }
    void PlaceLabel(double, const QString& t) override
    {
        Count();
        labels << t;
    }
    void PlaceDateLine(double, const QString&) override { Count(); }
    void PlaceMessage(double, const QString&, const QStringList&) override { Count(); }
};

QString Describe(const TScaleSettings& in)
{
    return QStringLiteral("%1..%2 log %3 min %4 dec %5 type %6")
        .arg(QString::number(in.RangeLow, 'g', 17), QString::number(in.RangeHigh, 'g', 17))
        .arg(in.Logarithmic)
        .arg(in.MinTicks)
        .arg(in.DecPlaces)
        .arg(int(in.LabelType));
}

void CheckRecord(const TTickRecord& record, const CheckingPainter& p, const TScaleSettings& in)
{
    FUZZ_CHECK(record.Count() >= 0 && record.Count() <= TTickRecord::kCapacity, Describe(in));
    FUZZ_CHECK(record.Value(0) == 0.0 && record.Value(record.Count() + 1) == 0.0, Describe(in));
    // Recorded values are drawn ticks, in drawing order.
    size_t at = 0;
    for (int i = 1; i <= record.Count(); ++i) {
        const double v = record.Value(i);
        while (at < p.ticks.size() && !(p.ticks[at] == v || (std::isnan(v) && std::isnan(p.ticks[at]))))
            ++at;
        FUZZ_CHECK(at < p.ticks.size(), Describe(in) + QStringLiteral(" tick %1").arg(i));
        ++at;
    }
}

bool Ordinary(double low, double high)
{
    const double span = std::fabs(high - low);
    return std::isfinite(low) && std::isfinite(high) && std::isfinite(span) && span > 0 &&
           span > 1e-9 * std::fmax(std::fabs(low), std::fabs(high)) && span > 1e-290 &&
           std::fmax(std::fabs(low), std::fabs(high)) < 1e290;
}

void CheckNumericPass(const TScaleSettings& in)
{
    TTickRecord record;
    CheckingPainter p;
    NumericTickPass(in, record, p);
    CheckRecord(record, p, in);
    if (in.LabelType == ftNum && in.ScaleInscript.isEmpty())
        for (const QString& l : p.labels)
            FUZZ_CHECK(l.size() <= 14, l);
    if (!Ordinary(in.RangeLow, in.RangeHigh))
        return;
    const double lo = std::fmin(in.RangeLow, in.RangeHigh), hi = std::fmax(in.RangeLow, in.RangeHigh);
    const bool logPass = in.Logarithmic && std::fabs(std::log10(in.RangeHigh / in.RangeLow)) >= 1;
    // A logarithmic scale over bounds that are not both positive has no
    // decades to mark (the setters refuse to switch it on there).
    if (logPass && lo <= 0)
        return;
    if (logPass) {
        for (double t : p.ticks)
            FUZZ_CHECK(t > lo * 0.999999998 && t < hi / 0.999999998, Describe(in) + QString::number(t, 'g', 17));
        return;
    }
    const TTickSpacing sp = CalcTickSpacing(in.MinTicks, in.RangeLow, in.RangeHigh);
    const double step = std::fabs(sp.Distance);
    FUZZ_CHECK(p.mainTicks.size() >= 1, Describe(in));
    FUZZ_CHECK(p.mainTicks.size() <= size_t(2.5 * in.MinTicks + 2), Describe(in) + QString::number(p.mainTicks.size()));
    const double slack = 0.0011 * step + 4e-16 * std::fmax(std::fabs(lo), std::fabs(hi));
    for (double t : p.ticks)
        FUZZ_CHECK(t >= lo - slack && t <= hi + slack, Describe(in) + u' ' + QString::number(t, 'g', 17));
}

void CheckTimePasses(const TScaleSettings& in, const TDTLabel& format)
{
    {
        TTickRecord record;
        CheckingPainter p;
        if (!TimeTickPass(in, record, p))
            NumericTickPass(in, record, p);
        CheckRecord(record, p, in);
        if (Ordinary(in.RangeLow, in.RangeHigh)) {
            const double lo = std::fmin(in.RangeLow, in.RangeHigh), hi = std::fmax(in.RangeLow, in.RangeHigh);
            const double span = hi - lo;
            for (double t : p.ticks)
                FUZZ_CHECK(t >= lo - span && t <= hi + span, Describe(in) + u' ' + QString::number(t, 'g', 17));
        }
    }
    TTickRecord record;
    CheckingPainter p;
    DateTimeTickPass(in, format, record, p);
    CheckRecord(record, p, in);
    for (double t : p.ticks)
        FUZZ_CHECK(t >= in.RangeLow - 1e-6 && t <= in.RangeHigh + 1e-6, Describe(in) + u' ' + QString::number(t, 'g', 17));
}

// The same settings on a whole scale: setters, mapping, placement, pixels.
void PaintScale(FuzzedDataProvider& in, const TScaleSettings& pass, const TDTLabel& format)
{
    TScale scale;
    scale.resize(in.ConsumeIntegralInRange<int>(0, 300), in.ConsumeIntegralInRange<int>(0, 300));
    scale.SetScaleType(pass.ScaleType);
    scale.SetMarginLeft(in.ConsumeIntegralInRange<int>(-50, 350));
    scale.SetMarginRight(in.ConsumeIntegralInRange<int>(-50, 350));
    scale.SetMarginTop(in.ConsumeIntegralInRange<int>(-50, 350));
    scale.SetMarginBottom(in.ConsumeIntegralInRange<int>(-50, 350));
    scale.SetMinTicks(pass.MinTicks);
    scale.SetDecPlaces(pass.DecPlaces);
    scale.SetShortTicks(pass.ShortTicks);
    scale.SetLabelType(pass.LabelType);
    scale.SetUserTickText(pass.UserTickText);
    scale.SetScaleInscript(pass.ScaleInscript);
    scale.SetDateFormat(format);
    scale.SetCaption(pass.ScaleInscript);
    scale.SetRangeLow(pass.RangeLow);
    scale.SetRangeHigh(pass.RangeHigh);
    scale.SetLogarithmic(pass.Logarithmic);
    scale.PaintNow();
    FUZZ_CHECK(scale.NumTicks() >= 0 && scale.NumTicks() <= 50, QString::number(scale.NumTicks()));
    (void)scale.ValueToPixel(pass.RangeLow);
    (void)scale.ValueToPixel(ConsumeInterestingDouble(in));
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
    TScaleSettings pass;
    pass.RangeLow = ConsumeInterestingDouble(in);
    pass.RangeHigh = in.ConsumeBool() ? ConsumeInterestingDouble(in)
                                      : pass.RangeLow + in.ConsumeFloatingPointInRange<double>(-1e4, 1e4);
    pass.Logarithmic = in.ConsumeBool();
    // As the scale's setters leave them.
    pass.MinTicks = in.ConsumeIntegralInRange<int>(2, 10);
    pass.DecPlaces = in.ConsumeIntegralInRange<int>(-3, 12);
    pass.ShortTicks = in.ConsumeBool();
    pass.LabelType = TFigType(in.ConsumeIntegralInRange<int>(ftNoFigs, ftUserText));
    pass.ScaleType = TScaleType(in.ConsumeIntegralInRange<int>(sctXB, sctYR));
    pass.UserTickText = QString::fromStdString(in.ConsumeRandomLengthString(32));
    pass.ScaleInscript = QString::fromStdString(in.ConsumeRandomLengthString(8));

    TDTLabel format;
    format.SetTimeFormat(TTimeFormat(in.ConsumeIntegralInRange<int>(tfHHMMSS, tfAMPM)));
    format.SetYearLength(TYearLength(in.ConsumeIntegralInRange<int>(ylNone, ylYYYY)));
    format.SetDateOrder(TDateOrder(in.ConsumeIntegralInRange<int>(doMMDDYY, doYYMMDD)));
    format.SetDateForTime(TDateForTime(in.ConsumeIntegralInRange<int>(dtNone, dtAllTicks)));
    format.SetMonthName(in.ConsumeBool());
    format.SetDateSeparator(QChar(in.ConsumeIntegralInRange<char16_t>(1, 0xD7FF)));
    format.SetTimeSeparator(QChar(in.ConsumeIntegralInRange<char16_t>(1, 0xD7FF)));

    CheckNumericPass(pass);
    CheckTimePasses(pass, format);
    if (in.ConsumeIntegralInRange<int>(0, 3) == 0)
        PaintScale(in, pass, format);
    return 0;
}
