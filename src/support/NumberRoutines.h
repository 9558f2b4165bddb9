#pragma once
// Small numeric helpers of the component library.

#include <cstdint>
#include <utility>

// The largest integer not above value. Values beyond the 32-bit range give
// the nearest end of it, and an undefined value (NaN) gives 0, so that a
// runaway computation cannot turn into undefined behaviour.
std::int32_t FloorToInt(double value);

inline void ExchangeInts(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
inline void ExchangeDoubles(double& a, double& b) { std::swap(a, b); }
inline void ExchangeExtendeds(long double& a, long double& b) { std::swap(a, b); }
