#include "common/number_format.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(FormatGeneral, SevenSignificantDigitsAndExponentOutsideMinus4To6) {
  const struct {
    float value;
    const char* expected;
  } cases[] = {
      {430.72f, "430.72"},
      {0.98f, "0.98"},
      {12345678.0f, "1.234568E+07"},
      {0.00001f, "1E-05"},
      {0.0001f, "0.0001"},
      {10800000.0f, "1.08E+07"},
      {9999999.0f, "9999999"},
      {-60.0f, "-60"},
      {0.0f, "0"},
      {-0.0f, "0"},
      {10875.0f, "10875"},
      {1e20f, "1E+20"},
      {-1.5e-7f, "-1.5E-07"},
      {12345675.0f, "1.234568E+07"},
      {0.5f, "0.5"},
      {3.4028235e38f, "3.402823E+38"},
      {1e-45f, "1.401298E-45"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatGeneral(c.value), c.expected) << c.value;
  }
}

TEST(FormatFixed, HalvesAwayFromZeroAndNoNegativeZero) {
  const struct {
    double value;
    int decimals;
    const char* expected;
  } cases[] = {
      {66.666666, 3, "66.667"},  {0.0416666, 3, "0.042"}, {0.0005, 3, "0.001"},
      {-0.0005, 3, "-0.001"},    {-0.0004, 3, "0.000"},   {0.0, 3, "0.000"},
      {17.4127, 2, "17.41"},     {2.675, 2, "2.68"},      {2.665f, 2, "2.66"},
      {999.9995, 3, "1000.000"}, {12.34, 1, "12.3"},      {1e9, 3, "1000000000.000"},
      {0.125, 2, "0.13"},        {-2.5, 0, "-3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.value;
  }
}

TEST(FormatOneOrTwoDecimals, DropsAZeroSecondDecimal) {
  EXPECT_EQ(FormatOneOrTwoDecimals(0.72), "0.72");
  EXPECT_EQ(FormatOneOrTwoDecimals(0.4), "0.4");
  EXPECT_EQ(FormatOneOrTwoDecimals(6.0), "6.0");
  EXPECT_EQ(FormatOneOrTwoDecimals(-3.5), "-3.5");
}

TEST(FormatDecimalDifference, ExactDifferenceOfTheShownValues) {
  const struct {
    float a, b;
    const char* expected;
  } cases[] = {
      {12.3f, 10.1f, "2.2"},
      {10.1f, 12.3f, "2.2"},
      {5.0f, 3.0f, "2"},
      {7.0f, 7.0f, "0"},
      {-1.5f, 2.25f, "3.75"},
      {0.0f, -0.001f, "0.001"},
      {12345678.0f, 0.0f, "12345680"},
      {1e-5f, 2e-5f, "0.00001"},
      {0.1f, 0.0f, "0.1"},
      {3.4028235e38f, 0.0f, "340282300000000000000000000000000000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDecimalDifference(c.a, c.b), c.expected) << c.a << " " << c.b;
  }
}

TEST(ExactDecimal, WritesTheShortestTextThatReadsBack) {
  struct Case {
    float value;
    int shift10;
    const char* text;
  };
  for (const Case& c : {Case{0.1f, 0, "0.1"}, Case{1500, 3, "1.5"}, Case{250, 0, "250"},
                        Case{-0.0000123f, 0, "-0.0000123"}, Case{123456792, 0, "123456790"},
                        Case{1e20f, 0, "1e+20"}, Case{1.5e-8f, 0, "1.5e-8"}, Case{0, 3, "0"},
                        Case{7, 3, "0.007"}}) {
    EXPECT_EQ(ExactDecimal(c.value, c.shift10), c.text) << c.value;
  }
}

}  // namespace
}  // namespace dravik
