#include "common/rounding.h"

#include <cmath>
#include <limits>

namespace dravik {

int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  // The default floating-point environment rounds to nearest, ties to even.
  const double rounded = std::nearbyint(value);
  if (rounded >= 9.2233720368547758e18) {
    return std::numeric_limits<int64_t>::max();
  }
  if (rounded < -9.2233720368547758e18) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(rounded);
}

}  // namespace dravik
