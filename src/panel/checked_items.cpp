#include "panel/checked_items.h"

#include <algorithm>
#include <unordered_set>

#include "log/log_header.h"

namespace dravik {

std::vector<int> RememberedItemsOf(const std::vector<std::string>& names, int item_count,
                                   const std::vector<std::string>& remembered) {
  std::unordered_set<std::string_view> wanted;
  for (const std::string& name : remembered) {
    const std::string_view trimmed = TrimBlanks(name);
    if (!trimmed.empty()) {
      wanted.insert(trimmed);
    }
  }
  std::vector<int> items;
  const int last = std::min(item_count, static_cast<int>(names.size()) - 1);
  for (int item = 1; item <= last; ++item) {
    const std::string_view trimmed = TrimBlanks(names[item]);
    // Of items of the same name, the first in column order.
    if (!trimmed.empty() && wanted.erase(trimmed) > 0) {
      items.push_back(item);
    }
  }
  return items;
}

void RememberItemCheck(std::vector<std::string>& remembered, std::string_view name, bool checked) {
  const std::string_view trimmed = TrimBlanks(name);
  if (trimmed.empty()) {
    return;
  }
  std::erase_if(remembered,
                [trimmed](const std::string& kept) { return TrimBlanks(kept) == trimmed; });
  if (checked) {
    remembered.insert(remembered.begin(), std::string(trimmed));
    if (remembered.size() > kMaxRememberedItems) {
      remembered.resize(kMaxRememberedItems);
    }
  }
}

}  // namespace dravik
