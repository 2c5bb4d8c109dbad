#include "common/number_parsing.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace dravik {
namespace {

// Every reading of a whole text, as a single and as a double: blanks around it, the decimal
// comma, the 10^shift10 scaling, the values too large and too small, and what is no number.
TEST(ParseNumber, ReadsTheWholeTextOrNothing) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr float kInfF = std::numeric_limits<float>::infinity();
  struct Case {
    const char* text;
    bool decimal_comma;
    int shift10;
    TinyValue tiny;
    NumberStatus status;
    float single;  // the values read when status is not kNotNumber
    double value;
  };
  constexpr NumberStatus kOk = NumberStatus::kOk;
  constexpr NumberStatus kNo = NumberStatus::kNotNumber;
  constexpr NumberStatus kOver = NumberStatus::kOverflow;
  constexpr TinyValue kZero = TinyValue::kZero;
  constexpr TinyValue kSigned = TinyValue::kSignedZero;
  const Case cases[] = {
      {" \t12.5\t ", false, 0, kZero, kOk, 12.5f, 12.5},
      {"+.5", false, 0, kZero, kOk, 0.5f, 0.5},
      {"5.", false, 0, kZero, kOk, 5, 5},
      {".768", false, 0, kZero, kOk, 0.768f, 0.768},
      {"1E+3", false, 0, kZero, kOk, 1000, 1000},
      {"-2.5E-1", false, 0, kZero, kOk, -0.25f, -0.25},
      {"1,5", true, 0, kZero, kOk, 1.5f, 1.5},
      {"1,5", false, 0, kZero, kNo, 0, 0},
      {"1.5", true, 0, kZero, kOk, 1.5f, 1.5},
      {"1.5", false, 3, kZero, kOk, 1500, 1500},
      {"0.1", false, 0, kZero, kOk, 0.1f, 0.1},
      {"16777217", false, 0, kZero, kOk, 16777216, 16777217},  // one rounding, half to even
      {"1e400", false, 0, kZero, kOver, kInfF, kInf},
      {"-0.001e999", false, 0, kZero, kOver, -kInfF, -kInf},
      {"1e-400", false, 0, kZero, kOk, 0, 0},
      {"-1e-400", false, 0, kSigned, kOk, -0.0f, -0.0},
      {"0.0000001e-320", false, 0, kZero, kOk, 0, 0},
      {"1e-45", false, 0, kZero, kOk, 0, 1e-45},  // below the smallest single
      {"-1e-45", false, 0, kSigned, kOk, -0.0f, -1e-45},
      {"2e-45", false, 0, kZero, kOk, std::numeric_limits<float>::denorm_min(), 2e-45},
      {"", false, 0, kZero, kNo, 0, 0},
      {".", false, 0, kZero, kNo, 0, 0},
      {"1 2", false, 0, kZero, kNo, 0, 0},
      {"1e", false, 0, kZero, kNo, 0, 0},
      {"12abc", false, 0, kZero, kNo, 0, 0},
      {"inf", false, 0, kZero, kNo, 0, 0},
      {"0x10", false, 0, kZero, kNo, 0, 0},
  };
  for (const Case& c : cases) {
    float single = 0;
    double value = 0;
    EXPECT_EQ(ParseNumber(c.text, c.decimal_comma, c.shift10, single, c.tiny), c.status) << c.text;
    EXPECT_EQ(ParseNumber(c.text, c.decimal_comma, c.shift10, value, c.tiny), c.status) << c.text;
    if (c.status != kNo) {
      EXPECT_EQ(single, c.single) << c.text;
      EXPECT_EQ(std::signbit(single), std::signbit(c.single)) << c.text;
      EXPECT_EQ(value, c.value) << c.text;
      EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
    }
  }
}

}  // namespace
}  // namespace dravik
