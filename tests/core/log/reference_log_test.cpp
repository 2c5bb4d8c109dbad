#include "log/reference_log.h"

#include <gtest/gtest.h>

#include "core/panel/test_log_table.h"

namespace dravik {
namespace {

// Times 0, 100, ... ms; one value item counting the samples.
LogTable Timed(const std::vector<std::string>& names, std::vector<float> times) {
  std::vector<std::vector<float>> columns{times};
  for (size_t item = 1; item < names.size(); ++item) {
    std::vector<float> values;
    for (size_t s = 0; s < times.size(); ++s) {
      values.push_back(static_cast<float>(s * 10 + item));
    }
    columns.push_back(values);
  }
  return MakeLogTable(names, columns);
}

std::vector<float> Steps(int count, float step, float first = 0) {
  std::vector<float> times;
  for (int s = 0; s < count; ++s) {
    times.push_back(first + step * static_cast<float>(s));
  }
  return times;
}

TEST(MatchReferenceItems, NamesAsideFromCaseAndBlanksFirstInColumnOrder) {
  const LogTable main = Timed({"Time", "RPM", "Boost", "Lambda", " "}, Steps(12, 100));
  const LogTable reference = Timed({"t", " boost ", "rpm", "BOOST", "Knock", " "}, Steps(12, 100));
  EXPECT_EQ(MatchReferenceItems(main, reference), (std::vector<int>{0, 2, 1, -1, -1}));
  EXPECT_TRUE(SharesItems(MatchReferenceItems(main, reference)));
  const LogTable other = Timed({"Time", "Knock"}, Steps(12, 100));
  EXPECT_FALSE(SharesItems(MatchReferenceItems(main, other)));  // the time alone is no item
}

TEST(NearestSample, NearestShiftedTimeTheEarlierOnATie) {
  // Times 1000, 1100, ... 2100 shifted by -1000: 0..1100.
  const LogTable table = Timed({"Time", "A"}, Steps(12, 100, 1000));
  const struct {
    double time_ms;
    std::optional<int64_t> sample;
  } cases[] = {{0, 0},   {49.9, 0},  {50, 0},    {50.1, 1},  {150, 1},
               {200, 2}, {1100, 11}, {1049, 10}, {-0.1, {}}, {1100.5, {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(NearestSample(table, -1000, c.time_ms), c.sample) << c.time_ms;
  }
}

TEST(SamplesWithin, ShiftedTimesWithinBothEnds) {
  const LogTable table = Timed({"Time", "A"}, Steps(12, 100));
  const struct {
    double shift, from, to;
    int64_t first, last;
  } cases[] = {{0, 0, 1100, 0, 11},     {0, 150, 350, 2, 3},     {500, 0, 1000, 0, 5},
               {-500, 0, 1000, 5, 11},  {0, 2000, 3000, 12, 11}, {0, 400, 300, 0, -1},
               {-5000, 0, 1100, 12, 11}};
  for (const auto& c : cases) {
    const SampleSpan span = SamplesWithin(table, c.shift, c.from, c.to);
    if (c.last < c.first) {
      EXPECT_TRUE(span.empty()) << c.shift << " " << c.from;
    } else {
      EXPECT_EQ(span.first, c.first) << c.shift << " " << c.from;
      EXPECT_EQ(span.last, c.last) << c.shift << " " << c.from;
    }
  }
}

TEST(OverlapWithMain, ReferenceSamplesWithinTheMainLogAtTheOffset) {
  const LogTable main = Timed({"Time", "A"}, Steps(12, 100, 5000));  // 5000..6100
  ReferenceLog reference;
  reference.table = Timed({"Time", "A"}, Steps(20, 100));  // 0..1900, first samples aligned
  reference.items = MatchReferenceItems(main, reference.table);
  EXPECT_DOUBLE_EQ(ReferenceShiftMs(main, reference), 5000);
  SampleSpan span = OverlapWithMain(main, reference);
  EXPECT_EQ(span.first, 0);
  EXPECT_EQ(span.last, 11);
  reference.offset_ms = -450;  // reference sample k at 4550 + 100 k
  span = OverlapWithMain(main, reference);
  EXPECT_EQ(span.first, 5);
  EXPECT_EQ(span.last, 15);
  EXPECT_EQ(ValueRangeOver(reference.table, 1, span)->min, 51);
  EXPECT_EQ(ValueRangeOver(reference.table, 1, span)->max, 151);
  reference.offset_ms = 1200;
  EXPECT_TRUE(OverlapWithMain(main, reference).empty());
  EXPECT_FALSE(ValueRangeOver(reference.table, 1, OverlapWithMain(main, reference)));
}

TEST(ParseReferenceOffset, NumbersInMsOrSecondsOthersRefused) {
  const struct {
    const char* text;
    bool seconds;
    std::optional<double> ms;
  } cases[] = {{"1500", false, 1500}, {" -2.5 ", true, -2500}, {"0.0015", true, 1.5},
               {"1e3", false, 1000},  {"", false, {}},         {"12ms", false, {}},
               {"1,5", true, {}},     {"1e999", false, {}},    {"nan", false, {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(ParseReferenceOffset(c.text, c.seconds), c.ms) << c.text;
  }
  EXPECT_EQ(ReferenceOffsetText(1500, false), "+1500 ms");
  EXPECT_EQ(ReferenceOffsetText(-2500, true), "-2.5 秒");
}

}  // namespace
}  // namespace dravik
