#include "panel/analysis_choices.h"

#include "common/number_parsing.h"

namespace dravik {
namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

int ItemNamed(const LogTable& table, std::string_view name) {
  const std::string_view wanted = Trim(name);
  if (wanted.empty()) {
    return -1;
  }
  for (int item = 1; item <= table.item_count && item < static_cast<int>(table.item_names.size());
       ++item) {
    if (Trim(table.item_names[item]) == wanted) {
      return item;
    }
  }
  return -1;
}

BoundInput ParseBound(std::string_view text) {
  BoundInput input;
  if (Trim(text).empty()) {
    input.ok = true;
    return input;
  }
  double value = 0;
  input.ok = ParseNumber(text, false, 0, value) == NumberStatus::kOk;
  if (input.ok) {
    input.value = value;
  }
  return input;
}

std::string MissingItemMessage(std::string_view name) {
  return "項目「" + std::string(name) + "」がこのログにありません。";
}

}  // namespace dravik
