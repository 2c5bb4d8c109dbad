#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "log/log_table.h"

namespace dravik {

// Item 1..item_count named `name` (blanks around both ignored, otherwise exact), the first in
// column order where two share it; -1 for an empty name or one the log lacks.
int ItemNamed(const LogTable& table, std::string_view name);

// A bound of the filter as typed: blanks only for no bound (an empty optional), else a number.
struct BoundInput {
  bool ok = false;
  std::optional<double> value;
};
BoundInput ParseBound(std::string_view text);

// What a view says when a remembered item is not in the log.
std::string MissingItemMessage(std::string_view name);

}  // namespace dravik
