#include "app/decimal_text.h"

#include <limits>

#include "common/number_parsing.h"
#include "common/rounding.h"

namespace dravik {

double LeadingNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  double value = 0;
  ParseNumber(text.substr(0, NumberLength(text, false)), false, 0, value, TinyValue::kSignedZero);
  return value;
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
