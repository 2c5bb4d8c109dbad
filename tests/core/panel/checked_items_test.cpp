#include "panel/checked_items.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(RememberedItemsOf, MatchesTrimmedNamesExactly) {
  const std::vector<std::string> names = {"Time", " Speed ", "RPM", "rpm", "", "瞬間燃費 (km/l)"};
  const std::vector<std::string> remembered = {"Speed", "rpm", "瞬間燃費 (km/l)", "", "Boost"};
  EXPECT_EQ(RememberedItemsOf(names, 5, remembered), (std::vector<int>{1, 3, 5}));
  // The time column is never an item; all new names check nothing.
  EXPECT_TRUE(RememberedItemsOf({"Speed", "A"}, 1, remembered).empty());
  // Of items of the same name, the first.
  EXPECT_EQ(RememberedItemsOf({"Time", "rpm", "Speed", "rpm"}, 3, remembered),
            (std::vector<int>{1, 2}));
}

TEST(RememberItemCheck, KeepsTheMostRecentFirstAndCaps) {
  std::vector<std::string> remembered = {"A", "B"};
  RememberItemCheck(remembered, " B ", true);
  EXPECT_EQ(remembered, (std::vector<std::string>{"B", "A"}));
  RememberItemCheck(remembered, "A", false);
  RememberItemCheck(remembered, "  ", true);
  EXPECT_EQ(remembered, (std::vector<std::string>{"B"}));
  for (size_t n = 0; n < kMaxRememberedItems; ++n) {
    RememberItemCheck(remembered, "N" + std::to_string(n), true);
  }
  EXPECT_EQ(remembered.size(), kMaxRememberedItems);
  EXPECT_EQ(remembered.front(), "N255");
  EXPECT_EQ(remembered.back(), "N0");  // "B", the oldest, dropped out
}

}  // namespace
}  // namespace dravik
