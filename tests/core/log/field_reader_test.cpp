#include "log/field_reader.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "core/log/read_log_helpers.h"

namespace dravik {
namespace {

TEST(ReadLog, DataFieldsThatAreNotNumbersReadAsZero) {
  struct Case {
    const char* field;
    float value;
  };
  const Case cases[] = {
      {"abc", 0},
      {"", 1},  // an empty field holds its item's first value
      {"nan", 0},
      {"inf", 0},
      {"0x1p3", 0},
      {"\"12\"", 0},
      {"1e-45", 0},
      {"1e-60", 0},
      {"1 2", 0},
      {"1e", 0},
      {" 12 ", 12},
      {"\t-3.5", -3.5f},
      {"+5", 5},
      {"5.", 5},
      {".768", 0.768f},
      {"1e3", 1000},
      {"-2.5E-1", -0.25f},
      {"1.5e37", 1.5e37f},
      {"16777217", 16777216},
      {"-33554434", -33554432},  // a half beyond 2^24 goes to even
      {"123456789012345", 123456789012345.0f},
      {"0.1", 0.1f},
      {"123456.789012", 123456.789012f},
  };
  for (const Case& c : cases) {
    LogTable table;
    const std::string text = std::string("Time,A,B\r\n0,") + c.field + ",7\r\n" + Body(11, 2);
    ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone) << c.field;
    EXPECT_EQ(table.Values(1)[0], c.value) << c.field;
    EXPECT_EQ(table.Values(2)[0], 7) << c.field;  // nothing shifted
  }
}

// Times of 8 to 15 digits are whole numbers read exactly and rounded once to a single, in
// milliseconds or seconds; 16 digits and more, signs and fractions take the general reading.
TEST(ReadLog, LongWholeTimesRoundOnce) {
  const char* const times[] = {"12345678",        "99999999",         "100000000",
                               "123456789012345", "999999999999999",  "0000000012345678",
                               "16777217",        "1234567890123456", "-123456789",
                               "123456789.5",     "33554435"};
  for (const char* unit : {"Time (msec)", "Time (sec)"}) {
    for (const char* time : times) {
      LogTable table;
      const std::string text = std::string(unit) + ",A\r\n" + time + ",7\r\n" + Body(11, 1);
      ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone) << time;
      // The single nearest to the exact number of milliseconds.
      const std::string exact = std::string(time) + (std::string(unit) == "Time (sec)" ? "e3" : "");
      EXPECT_EQ(table.Values(0)[0], std::strtof(exact.c_str(), nullptr)) << unit << " " << time;
      EXPECT_EQ(table.Values(1)[0], 7) << time;
    }
  }
}

TEST(ReadLog, ClockTimesAreRelativeToTheFirstAndCrossMidnightOnce) {
  std::string text = "Time,A\r\n23:59:59.000,1\r\n00:00:01.000,2\r\n";
  for (int i = 0; i < 10; ++i) {
    text += "00:00:0" + std::to_string(2 + i % 8) + ".500,3\r\n";
  }
  LogTable table;
  ASSERT_EQ(Load(text, table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.Values(0)[0], 0);
  EXPECT_EQ(table.Values(0)[1], 2000);
  EXPECT_EQ(table.Values(0)[2], 3500);
  EXPECT_EQ(table.item_min[0], 0);
}

TEST(ReadLog, ClockTimeAfterPlainFirstTimeUsesReferenceZero) {
  LogTable table;
  ASSERT_EQ(Load("Time,A\r\n100,1\r\n0:0:2,1\r\n" + Body(10, 1), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.Values(0)[0], 100);
  EXPECT_EQ(table.Values(0)[1], 2000);
}

TEST(ParseTimeOfDay, ReadsClockTimes) {
  struct Case {
    const char* text;
    bool decimal_comma;
    LoadFailure kind;
    ErrorNumber number;
    int32_t ms;
  };
  const auto ok = LoadFailure::kNone;
  const auto general = LoadFailure::kGeneral;
  const auto mismatch = ErrorNumber::kTypeMismatch;
  const auto overflow = ErrorNumber::kOverflow;
  const Case cases[] = {
      {"13:05:22.125", false, ok, {}, 47'122'125},   {" 1 : 2 : 3.5 ", false, ok, {}, 3'723'500},
      {"1.5:0:0", false, ok, {}, 7'200'000},  // hours round half to even
      {"2.5:0:0", false, ok, {}, 7'200'000},         {"0:0:1,5", true, ok, {}, 1500},
      {"0:0:1,5", false, general, mismatch, 0},      {"596:0:0", false, ok, {}, 2'145'600'000},
      {"597:0:0", false, general, overflow, 0},      {"0:0:1e39", false, general, overflow, 0},
      {"12:34", false, LoadFailure::kFormat, {}, 0}, {"1::3", false, general, mismatch, 0},
      {"1:2:3:4", false, general, mismatch, 0},      {"a:2:3", false, general, mismatch, 0},
  };
  for (const Case& c : cases) {
    int32_t ms = 0;
    const LoadError error = ParseTimeOfDay(c.text, c.decimal_comma, ms);
    EXPECT_EQ(error.kind, c.kind) << c.text;
    if (c.kind == ok) {
      EXPECT_EQ(ms, c.ms) << c.text;
    } else if (c.kind == general) {
      EXPECT_EQ(error.number, c.number) << c.text;
    }
  }
}

}  // namespace
}  // namespace dravik
