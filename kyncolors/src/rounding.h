// Rounding shared by the colour module's sources (not installed).
#pragma once

#include <cmath>

namespace kyn::detail {

// To the nearest integer, halves to the even neighbour, independent of the
// floating-point environment's rounding mode. Infinite and NaN values pass
// through unchanged.
inline long double RoundHalfEven(long double x) {
  if (!std::isfinite(x)) return x;
  long double f = std::floor(x);
  const long double d = x - f;
  if (d > 0.5L || (d == 0.5L && std::fmod(f, 2.0L) != 0)) f += 1;
  return f;
}

}  // namespace kyn::detail
