#include "panel/checked_items.h"

#include <algorithm>
#include <unordered_set>

namespace dravik {
namespace {

std::string_view TrimmedName(std::string_view name) {
  const size_t first = name.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return name.substr(first, name.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<int> RememberedItemsOf(const std::vector<std::string>& names, int item_count,
                                   const std::vector<std::string>& remembered) {
  std::unordered_set<std::string_view> wanted;
  for (const std::string& name : remembered) {
    const std::string_view trimmed = TrimmedName(name);
    if (!trimmed.empty()) {
      wanted.insert(trimmed);
    }
  }
  std::vector<int> items;
  const int last = std::min(item_count, static_cast<int>(names.size()) - 1);
  for (int item = 1; item <= last; ++item) {
    const std::string_view trimmed = TrimmedName(names[item]);
    // Of items of the same name, the first in column order.
    if (!trimmed.empty() && wanted.erase(trimmed) > 0) {
      items.push_back(item);
    }
  }
  return items;
}

void RememberItemCheck(std::vector<std::string>& remembered, std::string_view name, bool checked) {
  const std::string_view trimmed = TrimmedName(name);
  if (trimmed.empty()) {
    return;
  }
  std::erase_if(remembered,
                [trimmed](const std::string& kept) { return TrimmedName(kept) == trimmed; });
  if (checked) {
    remembered.insert(remembered.begin(), std::string(trimmed));
    if (remembered.size() > kMaxRememberedItems) {
      remembered.resize(kMaxRememberedItems);
    }
  }
}

}  // namespace dravik
