#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dravik {

// The checked items kept between runs are item names, most recently checked first; so many at
// most that the settings file cannot grow without bound.
inline constexpr size_t kMaxRememberedItems = 256;

// Items 1..item_count of `names` (0 is the time column) whose names are in `remembered`, ascending.
// Names compare exactly once the blanks and tabs around them are removed; an empty name never
// matches.
std::vector<int> RememberedItemsOf(const std::vector<std::string>& names, int item_count,
                                   const std::vector<std::string>& remembered);

// The box of the item named `name` was checked or unchecked: a checked name moves to the front
// (the oldest beyond kMaxRememberedItems drops out), an unchecked one leaves the set. The name is
// kept without the blanks around it; an empty name is not kept.
void RememberItemCheck(std::vector<std::string>& remembered, std::string_view name, bool checked);

}  // namespace dravik
