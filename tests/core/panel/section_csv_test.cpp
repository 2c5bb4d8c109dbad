#include "panel/section_csv.h"

#include <gtest/gtest.h>

#include "log/csv_reader.h"

namespace dravik {
namespace {

// A section reopens to the same singles, the times included, in either time unit.
TEST(SectionCsvText, ReopensToTheSameValues) {
  for (const char* time_name : {"Time", "Time (s)"}) {
    // Awkward values first, then flat rows up to the 11 samples a log needs at least.
    std::string log = std::string(time_name) +
                      ",車速 (km/h),B\r\n"
                      "0,0.1,1\r\n"
                      "0.033333,7.000001,-3.4e38\r\n"
                      "1.2345678,123456789,1e-30\r\n"
                      "2.5,-0.0000123,16777217\r\n";
    for (int row = 4; row < 12; ++row) {
      log += std::to_string(row) + ",1,2\r\n";
    }
    LogTable table;
    ASSERT_EQ(ReadLogFromBuffer(log, FuelParams{}, table).kind, LoadFailure::kNone);
    const std::string section = SectionCsvText(table, 11, 1);
    EXPECT_EQ(section.substr(0, section.find('\r')), std::string(time_name) + ",車速 (km/h),B");
    LogTable reopened;
    ASSERT_EQ(ReadLogFromBuffer(section, FuelParams{}, reopened).kind, LoadFailure::kNone);
    ASSERT_EQ(reopened.last_sample, 10);
    for (int item = 0; item <= 2; ++item) {
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
