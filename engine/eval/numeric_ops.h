// The integer views of doubles that the operators AND, OR, XOR and MOD take,
// shared by the expression evaluator and the formula evaluator.
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace maqo::engine {

// Truncates toward zero, clamping values beyond the 64-bit range (and NaN to 0)
// instead of leaving the conversion undefined.
inline int64_t truncateToInt64(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (x <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(x);
}

// Rounds to the nearest integer, ties to even; nothing when the result does not fit.
inline std::optional<int64_t> roundHalfEvenToInt64(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  double r = std::floor(x);
  const double diff = x - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  if (r >= 9223372036854775807.0 || r < -9223372036854775808.0) return std::nullopt;
  return static_cast<int64_t>(r);
}

// Remainder with the sign of the dividend; nothing for a zero divisor.
inline std::optional<int64_t> remainderOf(int64_t dividend, int64_t divisor) {
  if (divisor == 0) return std::nullopt;
  if (divisor == -1) return 0;  // avoids the overflow of INT64_MIN % -1
  return dividend % divisor;
}

// Replaces a negative zero so results never print as "-0".
inline double plainZero(double x) { return x == 0.0 ? 0.0 : x; }

}  // namespace maqo::engine
