#include "common/rounding.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const struct {
    double value;
    int64_t expected;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {0.49999, 0}, {1.5000001, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
  }
}

}  // namespace
}  // namespace dravik
