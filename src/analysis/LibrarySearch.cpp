#include "analysis/LibrarySearch.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {

using TPeak = TLibrarySearch::TPeak;

// W = I^a m^b (Stein & Scott 1994; LibrarySearch.h says why these two).
constexpr double kIntensityPower = 0.5;
constexpr int kMassPower = 3;
// A line counts as x.5 when it is this close to it.
constexpr double kHalfWindow = 0.1;
// Beyond any instrument; keeps m^3 and its squares far from overflow.
constexpr double kLargestMass = 1e6;

// Twice the mass a line is matched at, or 0 for a line without one.
std::int64_t MassKey(double mass)
{
    if (!(mass > 0 && mass <= kLargestMass))
        return 0;
    const double whole = std::floor(mass);
    if (std::fabs(mass - whole - 0.5) <= kHalfWindow)
        return 2 * std::int64_t(whole) + 1;
    return 2 * std::llround(mass);
}

double Weight(double abundance, std::int64_t key)
{
    const double m = 0.5 * double(key);
    static_assert(kIntensityPower == 0.5 && kMassPower == 3, "Weight() spells the powers out");
    return std::sqrt(abundance) * m * m * m;
}

// The spectrum's peaks by ascending mass, one per mass with the largest
// abundance, scaled to percent of the strongest (the factors do not depend
// on the scale; this keeps products of abundances in range). Returns
// sum W^2.
double Prepare(const std::vector<TSpectralLine>& lines, std::vector<TPeak>& peaks)
{
    const std::size_t first = peaks.size();
    double strongest = 0;
    for (const TSpectralLine& l : lines) {
        const std::int64_t key = MassKey(l.Mass);
        if (key > 0 && std::isfinite(l.Abundance) && l.Abundance > 0) {
            peaks.push_back({key, l.Abundance, 0});
            strongest = std::max(strongest, l.Abundance);
        }
    }
    const auto begin = peaks.begin() + std::ptrdiff_t(first);
    std::sort(begin, peaks.end(), [](const TPeak& a, const TPeak& b) {
        return a.Key != b.Key ? a.Key < b.Key : a.Abundance > b.Abundance;
    });
    peaks.erase(std::unique(begin, peaks.end(), [](const TPeak& a, const TPeak& b) { return a.Key == b.Key; }),
                peaks.end());
    double norm = 0;
    for (auto p = begin; p != peaks.end(); ++p) {
        p->Abundance = 100 * (p->Abundance / strongest);
        p->Weight = Weight(p->Abundance, p->Key);
        norm += p->Weight * p->Weight;
    }
    return norm;
}

// S of LibrarySearch.h, 0..1. Both spans by ascending key.
double Composite(std::span<const TPeak> u, double normU, std::span<const TPeak> l, double normL)
{
    double dot = 0, ratios = 0;
    int shared = 0;
    const TPeak* previousU = nullptr;
    const TPeak* previousL = nullptr;
    auto pu = u.begin(), pl = l.begin();
    while (pu != u.end() && pl != l.end()) {
        if (pu->Key < pl->Key) {
            ++pu;
        } else if (pl->Key < pu->Key) {
            ++pl;
        } else {
            dot += pu->Weight * pl->Weight;
            if (previousU) {
                // r = (Y_i / Y_i-1) (X_i-1 / X_i) = p / q; min(r, 1/r) without
                // a quotient that could be 1 - 1 ulp for equal proportions.
                const double p = pu->Abundance * previousL->Abundance;
                const double q = previousU->Abundance * pl->Abundance;
                const double high = std::max(p, q);
                ratios += high > 0 ? std::min(p, q) / high : 0;
            }
            previousU = &*pu;
            previousL = &*pl;
            ++shared;
            ++pu;
            ++pl;
        }
    }
    if (shared == 0)
        return 0;
    // (dot/normU)(dot/normL) rather than dot^2/(normU normL): no overflow,
    // and exactly 1 for a spectrum against itself.
    const double fd = std::min((dot / normU) * (dot / normL), 1.0);
    if (shared < 2)
        return fd;
    const double fr = ratios / (shared - 1);
    const double nu = double(u.size()), nlu = double(shared);
    return std::min((nu * fd + nlu * fr) / (nu + nlu), 1.0);
}

constexpr double kScale = 999;

} // namespace

double MatchScore(const std::vector<TSpectralLine>& unknown, const std::vector<TSpectralLine>& reference)
{
    std::vector<TPeak> u, l;
    const double normU = Prepare(unknown, u), normL = Prepare(reference, l);
    return kScale * Composite(u, normU, l, normL);
}

TLibrarySearch::TLibrarySearch(std::vector<TLibrarySpectrum> library) : library_(std::move(library))
{
    std::size_t lines = 0;
    for (const TLibrarySpectrum& s : library_)
        lines += s.Lines.size();
    peaks_.reserve(lines);
    begin_.reserve(library_.size() + 1);
    norms_.reserve(library_.size());
    for (const TLibrarySpectrum& s : library_) {
        begin_.push_back(peaks_.size());
        norms_.push_back(Prepare(s.Lines, peaks_));
    }
    begin_.push_back(peaks_.size());
}

std::vector<TSearchCandidate> TLibrarySearch::Search(const std::vector<TSpectralLine>& unknown, int count) const
{
    std::vector<TPeak> u;
    const double normU = Prepare(unknown, u);
    std::vector<TSearchCandidate> found;
    if (u.empty() || count <= 0)
        return found;
    const std::span<const TPeak> all(peaks_);
    for (std::size_t i = 0; i < library_.size(); ++i) {
        const double s = Composite(u, normU, all.subspan(begin_[i], begin_[i + 1] - begin_[i]), norms_[i]);
        if (s > 0)
            found.push_back({int(i), kScale * s});
    }
    const auto better = [](const TSearchCandidate& a, const TSearchCandidate& b) {
        return a.Score != b.Score ? a.Score > b.Score : a.Index < b.Index;
    };
    const auto keep = std::min(found.size(), std::size_t(count));
    std::partial_sort(found.begin(), found.begin() + std::ptrdiff_t(keep), found.end(), better);
    found.resize(keep);
    return found;
}
