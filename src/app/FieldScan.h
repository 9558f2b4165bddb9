#pragma once
// The field scan: the passes that drive the field slider over its range and
// the spectrum the detector records on the way, without a window.
//
// A pass moves the field 10 positions up (kept within the slider's range) and
// computes the picture there; at the maximum the field goes back to the
// minimum, is computed there and the scan ends. Every pass then computes the
// picture once more where it left the field. A scan from the minimum 1 thus
// computes 11, 11, 21, 21, ..., 4991, 4991, 5000, 1, 1 in 500 passes, and a
// line in focus records two sticks per pass.

#include "app/SectorField.h"

#include <array>
#include <optional>
#include <vector>

constexpr int kScanStep = 10; // kFieldMinimum and kFieldMaximum: analysis/SectorGeometry.h

struct TScanPass {
    int Advanced = 0;  // the field 10 positions up, kept within the range
    bool Last = false; // Advanced is the maximum: the field goes back to the
                       // minimum and the scan ends with this pass
    int Position = 0;  // where the pass leaves the field
    // The field positions the picture is computed at, in order: Advanced and
    // the minimum each when they move the field (the slider reports only
    // real changes), then Position once more.
    std::array<int, 3> Computed{};
    int ComputedCount = 0;
};

// The pass that follows field position `position`. The window moves its
// field slider to Advanced (and to Position when Last) and computes at
// Position; the slider's change handler computes the others. A detector
// slit is scanned one position at a time (`step` 1), so that its trace has
// a sample at every field the slider can set.
TScanPass NextScanPass(int position, int minimum = kFieldMinimum, int maximum = kFieldMaximum, int step = kScanStep);

// The stick the detector records for one computation: the line in focus.
std::optional<TSpectralLine> StickInFocus(const TIonPaths& model, const std::vector<TSpectralLine>& lines);

class TFieldScan {
public:
    TFieldScan(std::vector<TSpectralLine> lines, int voltage, int startPosition,
               double k = SectorFieldConstant(), int minimum = kFieldMinimum, int maximum = kFieldMaximum);

    // One pass; false (and nothing done) once the scan has ended.
    bool Step();
    // All passes to the end.
    void Run();

    bool Finished() const { return finished_; }
    int Position() const { return position_; }
    int Passes() const { return passes_; }
    // Every stick in the order recorded, repeats included, as the spectrum
    // chart receives them.
    const std::vector<TSpectralLine>& Sticks() const { return sticks_; }

private:
    std::vector<TSpectralLine> lines_;
    int voltage_;
    double k_;
    int minimum_, maximum_;
    int position_;
    int passes_ = 0;
    bool finished_ = false;
    std::vector<TSpectralLine> sticks_;
};

// The recorded spectrum as a table: one row per distinct stick, by
// ascending mass (repeated sticks stand on each other in the chart).
std::vector<TSpectralLine> DistinctSticks(std::vector<TSpectralLine> sticks);
