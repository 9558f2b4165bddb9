#include "analysis/SectorInstrument.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// The grid's images lie at most W / kGridFineness apart (see the header).
constexpr double kGridFineness = 32;
constexpr int kMaxSpreadRays = 64, kMinOffsetRays = 3, kMaxOffsetRays = 64;

double NonNegative(double v)
{
    return v > 0 ? v : 0;
}

// The radius that lands a ray of start offset d (c = 80 - d) and angle t at
// height y. Below the grazing height -c tan(t/2) no ray of that start and
// angle reaches the wall first; there R(y) would be a second crossing, so
// heights are raised to it (where R is the smallest that reaches the wall,
// c / (1 + cos t)).
double RadiusLanding(double y, double c, double cosT, double sinT, double tanHalfT)
{
    y = std::max(y, -c * tanHalfT);
    return (y * y + c * c) / (2 * (c * cosT - y * sinT));
}

// The length of [lo, hi] within [-h, h].
double Overlap(double lo, double hi, double h)
{
    return NonNegative(std::min(hi, h) - std::max(lo, -h));
}

// n points at the midpoints of n equal cells of [-h, h].
std::vector<double> Midpoints(double h, int n)
{
    std::vector<double> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[size_t(i)] = -h + (i + 0.5) * 2 * h / n;
    return v;
}

int GridCount(double image, double smoothing, int least, int most)
{
    const double n = std::ceil(kGridFineness * image / smoothing);
    return int(std::clamp(n, double(least), double(most)));
}

} // namespace

std::optional<double> FirstOrderResolvingPower(const TInstrumentSettings& s, int voltage)
{
    if (s.Detector == TDetectorKind::Classic || voltage <= 0)
        return std::nullopt;
    // Half the relative mass and energy shift, 40 = r / 2 at r = 80; the
    // angle moves the image by r per radian on each side.
    const double image = kDetectorRadius / 2 * NonNegative(s.EnergySpread) / voltage
                         + 2 * kDetectorRadius * NonNegative(s.AngularSpread) / 1000;
    const double width = std::max(image, NonNegative(s.DetectorSlit) * kChartUnitsPerMm);
    if (!(width > 0))
        return std::nullopt;
    return kDetectorRadius / 2 / width;
}

std::optional<double> WallHeight(double radius)
{
    if (!(radius >= (kWallX - kSourceX) / 2))
        return std::nullopt;
    return std::sqrt(2 * (kWallX - kSourceX) * (radius - (kWallX - kSourceX) / 2));
}

double MassAtHeight(double height, int voltage, int fieldPosition, double k)
{
    const double r = height * height / (2 * (kWallX - kSourceX)) + (kWallX - kSourceX) / 2;
    return std::pow(r / RadiusFactorAt(voltage, fieldPosition, k), 2);
}

TBeamRay TraceRay(double radius, double offset, double angle)
{
    TBeamRay ray;
    ray.Offset = offset;
    ray.Angle = angle;
    ray.Radius = radius;
    ray.CentreX = kSourceX + offset + radius * std::cos(angle);
    ray.CentreY = -radius * std::sin(angle);
    // The ion moves right until the circle's rightmost point; the wall is
    // met on the way there, at the upper of the circle's two crossings.
    const double dx = kWallX - ray.CentreX;
    if (dx <= radius)
        ray.WallY = ray.CentreY + std::sqrt(radius * radius - dx * dx);
    return ray;
}

std::optional<TPeakWidth> StrongestPeakWidth(const std::vector<TTraceSample>& trace)
{
    size_t top = 0;
    for (size_t i = 1; i < trace.size(); ++i)
        if (trace[i].Current > trace[top].Current)
            top = i;
    if (trace.empty() || !(trace[top].Current > 0))
        return std::nullopt;
    const double half = trace[top].Current / 2;
    const auto crossing = [&](size_t below, size_t above) {
        const TTraceSample &a = trace[below], &b = trace[above];
        return a.MassInFocus + (half - a.Current) / (b.Current - a.Current) * (b.MassInFocus - a.MassInFocus);
    };
    size_t left = top, right = top;
    while (left > 0 && trace[left - 1].Current >= half)
        --left;
    while (right + 1 < trace.size() && trace[right + 1].Current >= half)
        ++right;
    if (left == 0 || right + 1 == trace.size())
        return std::nullopt;
    const double low = crossing(left - 1, left), high = crossing(right + 1, right);
    TPeakWidth w;
    w.Mass = (low + high) / 2;
    w.Fwhm = high - low;
    w.ResolvingPower = w.Mass / w.Fwhm;
    return w;
}

TSectorInstrument::TSectorInstrument(const TInstrumentSettings& settings, int voltage, double k)
    : settings_(settings), voltage_(voltage), k_(k)
{
    halfSlit_ = NonNegative(settings.DetectorSlit) * kChartUnitsPerMm / 2;
    sourceSlit_ = NonNegative(settings.SourceSlit) * kChartUnitsPerMm;
    energyHalf_ = voltage > 0 ? NonNegative(settings.EnergySpread) / (2.0 * voltage) : 0;
    // An energy spread of the whole voltage would stop some ions at the source.
    energyHalf_ = std::min(energyHalf_, 0.5);
    angle_ = NonNegative(settings.AngularSpread) / 1000;
    slitRays_ = RaysFor(kDetectorRadius, 2 * halfSlit_);

    // Every ray lands higher for a larger radius and for a smaller angle, so
    // the beam touches the slit only between these central radii: the
    // largest-energy ray at -a reaching the slit's lower edge, the
    // smallest-energy ray at +a its upper edge.
    reachLow_ = std::numeric_limits<double>::infinity();
    reachHigh_ = 0;
    const double cosA = std::cos(angle_), sinA = std::sin(angle_), tanHalfA = std::tan(angle_ / 2);
    for (const double d : slitRays_.Offsets) {
        const double c = kDetectorRadius - d;
        reachLow_ = std::min(reachLow_, RadiusLanding(SlitLow(), c, cosA, -sinA, -tanHalfA) / std::sqrt(1 + energyHalf_));
        reachHigh_ = std::max(reachHigh_, RadiusLanding(SlitHigh(), c, cosA, sinA, tanHalfA) / std::sqrt(1 - energyHalf_));
    }
    // Room for rounding at the ends.
    reachLow_ *= 1 - 1e-9;
    reachHigh_ *= 1 + 1e-9;
}

TSectorInstrument::TRaySet TSectorInstrument::RaysFor(double radius, double window) const
{
    // The images' widths on the wall at this radius (header): energy
    // r dU/2U * dy/dr with dy/dr = 80 / y, angle 2 a r, start positions
    // s1 |80 - r| / y to first order and s1^2 / 8r to second.
    const double y = std::max(WallHeight(radius).value_or(0), 1.0);
    const double energy = energyHalf_ * radius * kDetectorRadius / y;
    const double angle = 2 * angle_ * radius;
    const double offsets = sourceSlit_ * std::fabs(kDetectorRadius - radius) / y + sourceSlit_ * sourceSlit_ / (8 * radius);

    TRaySet set;
    // The energy in closed form where it can be (two divisions a ray); the
    // angle, which costs two arc cosines a ray, only when its image is more
    // than twice as wide as the energy's and the window, where a grid of
    // angles would need more than 64 rays.
    if (energyHalf_ == 0 && angle_ == 0)
        set.Exact = TExact::None;
    else if (energyHalf_ == 0 || (angle_ > 0 && angle > 2 * std::max(energy, window)))
        set.Exact = TExact::Angle;
    else
        set.Exact = TExact::Energy;
    const double smoothing = std::max({set.Exact == TExact::Angle ? angle : energy, window, 1e-12});
    if (set.Exact == TExact::Angle) {
        const int n = energyHalf_ > 0 ? GridCount(energy, smoothing, 2, kMaxSpreadRays) : 1;
        for (const double e : Midpoints(energyHalf_, n))
            set.Others.push_back(std::sqrt(1 + e));
    } else {
        const int n = angle_ > 0 ? GridCount(angle, smoothing, 2, kMaxSpreadRays) : 1;
        set.Others = Midpoints(angle_, n);
        for (const double t : set.Others) {
            set.Cos.push_back(std::cos(t));
            set.Sin.push_back(std::sin(t));
            set.TanHalf.push_back(std::tan(t / 2));
        }
    }
    const int n = sourceSlit_ > 0 ? GridCount(offsets, smoothing, kMinOffsetRays, kMaxOffsetRays) : 1;
    set.Offsets = Midpoints(sourceSlit_ / 2, n);
    return set;
}

void TSectorInstrument::SharesAbove(const TRaySet& rays, double radius, double base, const double* edges, double* shares,
                                    size_t count) const
{
    std::fill(shares, shares + count, 0.0);
    if (!(radius > 0))
        return;
    const double weight = 1 / double(rays.Offsets.size() * rays.Others.size());
    for (const double d : rays.Offsets) {
        const double c = kDetectorRadius - d;
        if (rays.Exact == TExact::Angle) {
            // The angles that land a ray within [base, edge] (higher for
            // smaller angles): t(y) = acos(rho / 2R) - phi, rho and phi of
            // (y, c).
            const auto angle = [c](double y, double r) {
                const double q = std::hypot(y, c) / (2 * r);
                return q <= 1 ? std::acos(q) - std::atan2(y, c) : -std::numeric_limits<double>::infinity();
            };
            std::array<double, kMaxSpreadRays> fromBase;
            for (size_t k = 0; k < rays.Others.size(); ++k)
                fromBase[k] = angle(base, radius * rays.Others[k]);
            for (size_t j = 0; j < count; ++j) {
                const double rho = std::hypot(edges[j], c), phi = std::atan2(edges[j], c);
                for (size_t k = 0; k < rays.Others.size(); ++k) {
                    const double q = rho / (2 * radius * rays.Others[k]);
                    const double to = q <= 1 ? std::acos(q) - phi : -std::numeric_limits<double>::infinity();
                    shares[j] += Overlap(to, fromBase[k], angle_) / (2 * angle_);
                }
            }
            continue;
        }
        for (size_t i = 0; i < rays.Others.size(); ++i) {
            const double baseR = RadiusLanding(base, c, rays.Cos[i], rays.Sin[i], rays.TanHalf[i]);
            // U'/U = (R / r)^2, uniform in 1 -+ dU/2U.
            const double lo = baseR * baseR / (radius * radius) - 1;
            for (size_t j = 0; j < count; ++j) {
                const double edgeR = RadiusLanding(edges[j], c, rays.Cos[i], rays.Sin[i], rays.TanHalf[i]);
                if (rays.Exact == TExact::None)
                    shares[j] += baseR <= radius && radius < edgeR ? 1 : 0;
                else
                    shares[j] += Overlap(lo, edgeR * edgeR / (radius * radius) - 1, energyHalf_) / (2 * energyHalf_);
            }
        }
    }
    for (size_t j = 0; j < count; ++j)
        shares[j] *= weight;
}

double TSectorInstrument::WindowShare(const TRaySet& rays, double radius, double low, double high) const
{
    if (!(high > low))
        return 0;
    double share = 0;
    SharesAbove(rays, radius, low, &high, &share, 1);
    return share;
}

double TSectorInstrument::Share(double radius) const
{
    switch (settings_.Detector) {
    case TDetectorKind::Classic:
        // The classic model holds the radius as a 32-bit float.
        return std::fabs(kDetectorRadius - float(radius)) < kFocusTolerance ? 1 : 0;
    case TDetectorKind::Slit:
    case TDetectorKind::Plate: // read at the slit's place through the same window
        break;
    }
    if (!(radius >= reachLow_ && radius <= reachHigh_))
        return 0;
    return WindowShare(slitRays_, radius, SlitLow(), SlitHigh());
}

double TSectorInstrument::LineShare(double mass, int fieldPosition) const
{
    return Share(std::sqrt(mass) * RadiusFactorAt(voltage_, fieldPosition, k_));
}

double TSectorInstrument::Current(const std::vector<TSpectralLine>& lines, int fieldPosition) const
{
    const double f = RadiusFactorAt(voltage_, fieldPosition, k_);
    if (settings_.Detector == TDetectorKind::Classic) {
        // The nearest line, the earlier of two equally near, as the classic
        // model picks it.
        double best = 1e10, current = 0;
        for (const TSpectralLine& l : lines) {
            const double d = std::fabs(kDetectorRadius - float(std::sqrt(l.Mass) * f));
            if (d < best) {
                best = d;
                current = l.Abundance;
            }
        }
        return best < kFocusTolerance ? current : 0;
    }
    double current = 0;
    for (const TSpectralLine& l : lines) {
        const double r = std::sqrt(l.Mass) * f;
        if (r >= reachLow_ && r <= reachHigh_)
            current += l.Abundance * Share(r);
    }
    return current;
}

TTraceSample TSectorInstrument::Sample(const std::vector<TSpectralLine>& lines, int fieldPosition) const
{
    return {fieldPosition, MassInFocusAt(voltage_, fieldPosition, k_), Current(lines, fieldPosition)};
}

std::vector<TTraceSample> TSectorInstrument::Scan(const std::vector<TSpectralLine>& lines, int from) const
{
    std::vector<TTraceSample> trace;
    from = std::max(from, kFieldMinimum);
    trace.reserve(size_t(std::max(0, kFieldMaximum - from + 1)));
    for (int p = from; p <= kFieldMaximum; ++p)
        trace.push_back(Sample(lines, p));
    return trace;
}

std::vector<TBeamRay> TSectorInstrument::Rays(double mass, int fieldPosition) const
{
    const double r = std::sqrt(mass) * RadiusFactorAt(voltage_, fieldPosition, k_);
    const auto edges = [](double h) { return h > 0 ? std::vector<double>{0, -h, h} : std::vector<double>{0}; };
    std::vector<TBeamRay> rays;
    for (const double d : edges(sourceSlit_ / 2))
        for (const double e : edges(energyHalf_))
            for (const double t : edges(angle_)) {
                TBeamRay ray = TraceRay(r * std::sqrt(1 + e), d, t);
                ray.EnergyRatio = 1 + e;
                rays.push_back(ray);
            }
    return rays;
}

TPlateLine TSectorInstrument::PlateLine(const TSpectralLine& line, double f) const
{
    TPlateLine p;
    p.Mass = line.Mass;
    p.Abundance = line.Abundance;
    p.Radius = std::sqrt(line.Mass) * f;
    p.Height = WallHeight(p.Radius);
    // The landing height grows with the energy and falls with the angle, so
    // those extremes are at their ends; along the source slit it is largest
    // where the start lies below the circle's rightmost point,
    // d = 80 - R cos t, and least at an end of the slit.
    const double s = sourceSlit_ / 2;
    p.Low = std::numeric_limits<double>::infinity();
    p.High = -p.Low;
    for (const double e : {-energyHalf_, energyHalf_})
        for (const double t : {-angle_, angle_}) {
            const double radius = p.Radius * std::sqrt(1 + e);
            for (const double d : {-s, s, std::clamp(kDetectorRadius - radius * std::cos(t), -s, s)})
                if (const std::optional<double> y = TraceRay(radius, d, t).WallY) {
                    p.Reaches = true;
                    p.Low = std::min(p.Low, *y);
                    p.High = std::max(p.High, *y);
                }
        }
    if (!p.Reaches)
        p.Low = p.High = 0;
    return p;
}

std::vector<TPlateLine> TSectorInstrument::PlateLines(const std::vector<TSpectralLine>& lines, int fieldPosition) const
{
    const double f = RadiusFactorAt(voltage_, fieldPosition, k_);
    std::vector<TPlateLine> plate;
    plate.reserve(lines.size());
    for (const TSpectralLine& l : lines)
        plate.push_back(PlateLine(l, f));
    return plate;
}

double TSectorInstrument::PlateBlackening(const std::vector<TSpectralLine>& lines, int fieldPosition, double height) const
{
    const double f = RadiusFactorAt(voltage_, fieldPosition, k_);
    const double low = height - halfSlit_, high = height + halfSlit_;
    double dose = 0;
    for (const TSpectralLine& l : lines) {
        const TPlateLine p = PlateLine(l, f);
        if (p.Reaches && p.High >= low && p.Low <= high)
            dose += l.Abundance * WindowShare(RaysFor(p.Radius, 2 * halfSlit_), p.Radius, low, high);
    }
    return 1 - std::exp(-dose / kPlateDoseScale);
}

std::vector<TPlateReading> TSectorInstrument::Plate(const std::vector<TSpectralLine>& lines, int fieldPosition,
                                                    int readings) const
{
    readings = std::max(readings, 2);
    const double step = (kPlateHighY - kPlateLowY) / (readings - 1);
    double half = std::max(halfSlit_, step / 2);
    // When the window is a whole number m of steps (to 0.1 %; ionpath-cli
    // reads in half windows), reading i's window ends where reading i + m's
    // begins: the edges form one lattice and each is worked out once.
    const int span = int(std::lround(2 * half / step));
    const bool lattice = std::fabs(2 * half / step - span) < 1e-3 * span;
    if (lattice)
        half = span * step / 2;
    std::vector<double> dose(static_cast<size_t>(readings), 0.0), edges, shares;
    const double f = RadiusFactorAt(voltage_, fieldPosition, k_);
    for (const TSpectralLine& l : lines) {
        const TPlateLine p = PlateLine(l, f);
        if (!p.Reaches)
            continue;
        // The readings whose window touches the beam.
        const int first = std::max(0, int(std::ceil((p.Low - half - kPlateLowY) / step)));
        const int last = std::min(readings - 1, int(std::floor((p.High + half - kPlateLowY) / step)));
        if (first > last)
            continue;
        const TRaySet rays = RaysFor(p.Radius, 2 * half);
        const double base = kPlateLowY + first * step - half;
        edges.clear();
        if (lattice)
            for (int j = first; j <= last + span; ++j)
                edges.push_back(kPlateLowY + j * step - half);
        else
            for (int i = first; i <= last; ++i)
                edges.insert(edges.end(), {kPlateLowY + i * step - half, kPlateLowY + i * step + half});
        shares.resize(edges.size());
        SharesAbove(rays, p.Radius, base, edges.data(), shares.data(), edges.size());
        for (int i = first; i <= last; ++i) {
            const size_t at = size_t(i - first);
            const double share = lattice ? shares[at + size_t(span)] - shares[at] : shares[2 * at + 1] - shares[2 * at];
            dose[size_t(i)] += l.Abundance * share;
        }
    }
    std::vector<TPlateReading> plate(static_cast<size_t>(readings));
    for (int i = 0; i < readings; ++i) {
        TPlateReading& r = plate[size_t(i)];
        r.Height = kPlateLowY + i * step;
        r.Mass = MassAtHeight(r.Height, voltage_, fieldPosition, k_);
        r.Blackening = 1 - std::exp(-dose[size_t(i)] / kPlateDoseScale);
    }
    return plate;
}
