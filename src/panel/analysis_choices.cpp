#include "panel/analysis_choices.h"

#include "common/core_text.h"
#include "common/number_parsing.h"
#include "log/log_header.h"

namespace dravik {

int ItemNamed(const LogTable& table, std::string_view name) {
  const std::string_view wanted = TrimBlanks(name);
  if (wanted.empty()) {
    return -1;
  }
  for (int item = 1; item <= table.item_count && item < static_cast<int>(table.item_names.size());
       ++item) {
    if (TrimBlanks(table.item_names[item]) == wanted) {
      return item;
    }
  }
  return -1;
}

BoundInput ParseBound(std::string_view text) {
  BoundInput input;
  if (TrimBlanks(text).empty()) {
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
  return ArgText(CoreText::Tr("項目「%1」がこのログにありません。"), {name});
}

}  // namespace dravik
