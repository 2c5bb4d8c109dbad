#include "app/decimal_text.h"

#include <limits>

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"", 0},         {"abc", 0}, {"  12", 12},  {"\t-3.5x", -3.5}, {"1 2", 1},
      {".768", 0.768}, {"5.", 5},  {"1e3", 1000}, {"1E+3", 1000},    {"2e", 2},
      {"2e+", 2},      {"-", 0},   {".", 0},      {"+.5", 0.5},      {"1,5", 1},
      {"0x10", 0},     {"inf", 0}, {"- 1", 0},    {"12 ", 12},       {"1e-400", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.expected) << c.text;
  }
  EXPECT_EQ(LeadingNumber("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-0.001e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("0.0000001e-320"), 0);
}

}  // namespace
}  // namespace dravik
