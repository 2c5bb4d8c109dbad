#include "app/decimal_text.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"", 0},  {"abc", 0}, {"  12", 12}, {"\t-3.5x", -3.5}, {"1 2", 1}, {"2e", 2},  {"2e+", 2},
      {"-", 0}, {".", 0},   {"1,5", 1},   {"0x10", 0},       {"inf", 0}, {"- 1", 0}, {"12 ", 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace dravik
