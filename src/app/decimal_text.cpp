#include "app/decimal_text.h"

#include "common/number_parsing.h"

namespace dravik {

double LeadingNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  double value = 0;
  ParseNumber(text.substr(0, NumberLength(text, false)), false, 0, value, TinyValue::kSignedZero);
  return value;
}

}  // namespace dravik
