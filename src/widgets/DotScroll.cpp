#include "widgets/DotScroll.h"

#include <algorithm>
#include <climits>

namespace {

// Without ScrollLoop a text moves on for ever; it stops at a distance no
// control reaches instead of overflowing.
constexpr int kFarAway = INT_MAX / 4;

int Moved(int offset, long long delta)
{
    return int(std::clamp<long long>(offset + delta, -kFarAway, kFarAway));
}

} // namespace

bool ScrollStep(const TScrollStepInput& in, TScrollOffsets& o)
{
    const int i = in.Increment;
    switch (in.Mode) {
    case rdsmOff:
        o = TScrollOffsets{};
        return false;
    case rdsmLeft:
        o.X = Moved(o.X, -i);
        if (in.Loop && o.X < -in.TextWidth) {
            o.X = in.ControlWidth;
            return true;
        }
        return false;
    case rdsmRight:
        o.X = Moved(o.X, i);
        if (in.Loop && o.X > in.ControlWidth) {
            o.X = -in.TextWidth;
            return true;
        }
        return false;
    case rdsmDown:
        o.Y = Moved(o.Y, i);
        if (in.Loop && o.Y > in.ControlHeight) {
            o.Y = -in.TextHeight;
            return true;
        }
        return false;
    case rdsmUp:
        o.Y = Moved(o.Y, -i);
        if (in.Loop && o.Y < -in.TextHeight) {
            o.Y = in.ControlHeight;
            return true;
        }
        return false;
    }
    return false;
}
