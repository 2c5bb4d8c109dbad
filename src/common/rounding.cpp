#include "common/rounding.h"

#include <cmath>
#include <limits>

namespace dravik {

// Values of 2^51 and more in magnitude (already whole numbers), infinities and NaN.
int64_t RoundHalfEvenWide(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  const double rounded = std::nearbyint(value);
  if (rounded >= 9.2233720368547758e18) {
    return std::numeric_limits<int64_t>::max();
  }
  if (rounded < -9.2233720368547758e18) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(rounded);
}

int32_t RoundToInt32(double value) {
  const int64_t rounded = RoundHalfEven(value);
  if (rounded > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (rounded < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace dravik
