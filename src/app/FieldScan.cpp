#include "app/FieldScan.h"

#include <algorithm>

TScanPass NextScanPass(int position, int minimum, int maximum, int step)
{
    TScanPass pass;
    auto compute = [&pass](int p) { pass.Computed[size_t(pass.ComputedCount++)] = p; };
    // The slider keeps its value in range and reports only real changes.
    const int advanced = std::clamp(position + std::max(step, 1), minimum, maximum);
    if (advanced != position)
        compute(advanced);
    pass.Advanced = advanced;
    pass.Position = advanced;
    if (advanced == maximum) {
        pass.Last = true;
        if (minimum != maximum)
            compute(minimum);
        pass.Position = minimum;
    }
    compute(pass.Position);
    return pass;
}

std::optional<TSpectralLine> StickInFocus(const TIonPaths& model, const std::vector<TSpectralLine>& lines)
{
    if (!model.InFocus || model.Best < 0 || size_t(model.Best) >= lines.size())
        return std::nullopt;
    return lines[size_t(model.Best)];
}

TFieldScan::TFieldScan(std::vector<TSpectralLine> lines, int voltage, int startPosition, double k, int minimum,
                       int maximum)
    : lines_(std::move(lines)), voltage_(voltage), k_(k), minimum_(minimum), maximum_(maximum),
      position_(std::clamp(startPosition, minimum, maximum))
{
}

bool TFieldScan::Step()
{
    if (finished_)
        return false;
    const TScanPass pass = NextScanPass(position_, minimum_, maximum_);
    for (int i = 0; i < pass.ComputedCount; ++i) {
        const TIonPaths model = ComputeIonPathModel(voltage_, pass.Computed[size_t(i)], k_, lines_);
        if (const auto stick = StickInFocus(model, lines_))
            sticks_.push_back(*stick);
    }
    position_ = pass.Position;
    finished_ = pass.Last;
    ++passes_;
    return true;
}

void TFieldScan::Run()
{
    while (Step()) {
    }
}

std::vector<TSpectralLine> DistinctSticks(std::vector<TSpectralLine> sticks)
{
    auto less = [](const TSpectralLine& a, const TSpectralLine& b) {
        return a.Mass != b.Mass ? a.Mass < b.Mass : a.Abundance < b.Abundance;
    };
    std::sort(sticks.begin(), sticks.end(), less);
    sticks.erase(std::unique(sticks.begin(), sticks.end(),
                             [](const TSpectralLine& a, const TSpectralLine& b) {
                                 return a.Mass == b.Mass && a.Abundance == b.Abundance;
                             }),
                 sticks.end());
    return sticks;
}
