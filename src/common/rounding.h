#pragma once

#include <cstdint>

namespace dravik {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). Every conversion
// of a computed value to an integer in the program goes through here. NaN gives 0; values beyond
// the 64-bit range saturate.
int64_t RoundHalfEven(double value);

}  // namespace dravik
