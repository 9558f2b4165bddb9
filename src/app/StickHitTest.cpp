#include "app/StickHitTest.h"

#include <cstdlib>

std::optional<TStickSpot> StickAt(const std::vector<TStickSpot>& spots, int x, int y)
{
    std::optional<TStickSpot> found;
    int nearest = kStickReachSideways + 1;
    for (const TStickSpot& s : spots) {
        const int distance = std::abs(x - s.X);
        // Strictly nearer: a stick recorded again stands on the first one,
        // and the first of two equally near ones keeps the tip steady.
        if (distance < nearest && s.Top - kStickReachAbove <= y && y <= s.Base) {
            nearest = distance;
            found = s;
        }
    }
    return found;
}
