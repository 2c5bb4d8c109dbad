#include "panel/section_csv.h"

#include <gtest/gtest.h>

#include "log/fuel_trip.h"
#include "log/log_reader.h"

namespace dravik {
namespace {

TEST(SectionCanReopen, ElevenSamplesOrMore) {
  struct Case {
    int64_t first, last;
    bool expected;
  };
  for (const Case& c : {Case{5, 5, false}, Case{0, 9, false}, Case{9, 0, false}, Case{0, 10, true},
                        Case{10, 0, true}, Case{100, 4000, true}}) {
    EXPECT_EQ(SectionCanReopen(c.first, c.last), c.expected) << c.first << " " << c.last;
  }
}

// A section reopens to the same singles, the times included, in either time unit; the computed
// economy item stays out and is computed again on reopening.
TEST(SectionCsvText, ReopensToTheSameValues) {
  const std::string fuel_names =
      "Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)";
  const FuelParams fuel = FuelParamsOf(Settings{});
  for (const char* time_name : {"Time", "Time (s)"}) {
    // Awkward values first, then flat rows up to the 11 samples a log needs at least.
    const std::string header = std::string(time_name) + ",車速 (km/h),B," + fuel_names;
    std::string log = header +
                      "\r\n"
                      "0,0.1,1,60,2000,2.98\r\n"
                      "0.033333,7.000001,-3.4e38,60,2000,2.98\r\n"
                      "1.2345678,123456789,1e-30,60,2000,2.98\r\n"
                      "2.5,-0.0000123,16777217,60,2000,2.98\r\n";
    for (int row = 4; row < 12; ++row) {
      log += std::to_string(row) + ",1,2,60,2000,2.98\r\n";
    }
    LogTable table;
    ASSERT_EQ(ReadLogFromBuffer(log, fuel, table).kind, LoadFailure::kNone);
    ASSERT_TRUE(table.has_economy);
    const std::string section = SectionCsvText(table, 11, 1);
    EXPECT_EQ(section.substr(0, section.find('\r')), header);
    LogTable reopened;
    ASSERT_EQ(ReadLogFromBuffer(section, fuel, reopened).kind, LoadFailure::kNone);
    ASSERT_EQ(reopened.last_sample, 10);
    ASSERT_EQ(reopened.item_names, table.item_names);
    for (int item = 0; item < table.item_count; ++item) {
      for (int64_t sample = 0; sample <= 10; ++sample) {
        EXPECT_EQ(reopened.Values(item)[sample], table.Values(item)[sample + 1])
            << time_name << " item " << item << " sample " << sample;
      }
    }
  }
  LogTable table;
  EXPECT_EQ(SectionCsvText(table, 0, 0), "");
}

}  // namespace
}  // namespace dravik
