#include "support/NumberRoutines.h"

#include <cmath>
#include <limits>

std::int32_t FloorToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double f = std::floor(value);
    if (f <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (f >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(f);
}
