#pragma once

#include <cmath>
#include <cstdint>

namespace dravik {

// The nearest whole number as a double, halves to the even neighbour, for |value| < 2^51 only
// (beyond that the result is off by up to 1). Branch-free, so per-sample loops can vectorise.
inline double RoundHalfEvenSmall(double value) {
  // Doubles from 2^52 to 2^53 have no fraction bits, so adding 1.5 * 2^52 makes the addition
  // itself round to nearest, ties to even, in the default floating-point environment.
  constexpr double kShift = 0x1.8p52;
  return (value + kShift) - kShift;
}

// The nearest whole number as a double for any value, halves to the even neighbour; infinities and
// NaN come back as they are.
inline double RoundHalfEvenWhole(double value) {
  const double magnitude = std::fabs(value);
  if (magnitude < 0x1p51) {
    return RoundHalfEvenSmall(value);
  }
  if (magnitude < 0x1p52) {
    // Steps are halves here: a value between two whole numbers is a tie.
    const double down = std::floor(value);
    return value == down || std::fmod(down, 2.0) == 0 ? down : down + 1;
  }
  return value;
}

// The out-of-line part of RoundHalfEven: magnitudes of 2^51 and more, infinities and NaN.
int64_t RoundHalfEvenWide(double value);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). Every conversion
// of a computed value to an integer in the program goes through here. NaN gives 0; values beyond
// the 64-bit range saturate. Inline so that per-sample loops pay no call.
inline int64_t RoundHalfEven(double value) {
  if (std::fabs(value) < 0x1p51) {
    return static_cast<int64_t>(RoundHalfEvenSmall(value));
  }
  return RoundHalfEvenWide(value);
}

// `value` rounded half to even and clamped to the 32-bit range (NaN gives 0).
int32_t RoundToInt32(double value);

}  // namespace dravik
