#include "chart/graph_grid.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(GridSamples, MultiplesOfTheStepFromTheLineLeftOfTheView) {
  struct Case {
    int64_t first;
    int64_t span;
    std::vector<int64_t> expected;
  };
  const Case cases[] = {
      {0, 100, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
      {4500, 1000, {4400, 4500, 4600, 4700, 4800, 4900, 5000, 5100, 5200, 5300, 5400, 5500}},
      {30, 25, {28, 30, 32, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54}},
      {35, 25, {34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56, 58, 60}},
      {10, 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GridSamples(c.first, c.span), c.expected) << c.first << " " << c.span;
  }
  EXPECT_EQ(GridStep(15), 2);  // 1.5 rounds to even
  EXPECT_EQ(GridStep(4), 1);   // never 0
}

TEST(TimeLabel, SecondsOrMillisecondsWithABlank) {
  EXPECT_EQ(TimeLabel(12345, 1), "12.3");
  EXPECT_EQ(TimeLabel(12345, 0), " 12345");
  EXPECT_EQ(TimeLabel(0, 0), " 0");
  EXPECT_EQ(TimeLabel(12345678, 0), " 1.234568E+07");
}

}  // namespace
}  // namespace dravik
