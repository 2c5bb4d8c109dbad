#include "log/fuel_items.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "log/log_header.h"

namespace dravik {
namespace {

std::vector<std::string> Names(const std::string& header) {
  std::vector<std::string> names;
  for (const std::string_view piece : SplitAt(header, ',')) {
    names.emplace_back(piece);
  }
  return names;
}

TEST(FindFuelItems, EachItemByChoiceThenKnownNameThenTokens) {
  struct Case {
    const char* header;
    FuelItemNames choice;
    FuelItems expected;
  };
  const FuelItemNames automatic;
  const Case cases[] = {
      {"Time,RPM,Injector PW (ms),Speed (mph)", automatic, {3, 1, 2, true}},
      {"Time,Engine RPM,IPW_ms,MPH", automatic, {3, 1, 2, true}},
      {"Time,rpm,Injector Pulse Width (ms),VSS", automatic, {3, 1, 2, false}},
      {"Time,Fuel Injector #1 Pulse Width (4-byte)* (ms),Vehicle Speed (mph),kph",
       automatic,
       {2, -1, 1, true}},
      {"Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)",
       automatic,
       {1, 2, 3, false}},
      // Names that must not match.
      {"Time,Front Wheel Speed (km/h),Engine RPM Target,Injector Duty (ms),IPW DC (ms),Speedometer,"
       "Injector PW,Inj Pulse (ms),RPM (rpm) (rpm),MPH avg",
       automatic,
       {-1, -1, -1, false}},
      // A name the program has always known wins over an earlier fallback; the last one wins.
      {"Time,RPM,Speed (mph),Engine Speed,Vehicle Speed (kph),vehicle speed (km/h),IPW_ms",
       automatic,
       {5, 3, 6, false}},
      // Of items of the same name, the first.
      {"Time,Engine Speed,Vehicle Speed (km/h),Engine Speed", automatic, {2, 1, -1, false}},
      // Engine speed with the unit that logs with units rows give it.
      {"Time,Speed,RPM (rpm),IPW_ms,Engine RPM (rpm)", automatic, {1, 2, 3, false}},
      {"Time,Speed,Engine RPM (rpm),IPW_ms", automatic, {1, 2, 3, false}},
      // The first fitting item in column order.
      {"Time,Speed (mph),Speed (km/h),RPM,rpm", automatic, {1, 3, -1, true}},
      // A choice wins, compared without case and blanks, with its own unit; one that matches
      // nothing leaves the automatic rules.
      {"Time,RPM,Engine Speed,Wheel (mph),Speed (mph),IPW_ms",
       {" wheel (MPH) ", 0, "rpm", "no such item"},
       {3, 1, 5, false}},
      {"Time,Vehicle Speed (km/h),IPW_ms", {"Vehicle Speed (km/h)", 1, "", ""}, {1, -1, 2, true}},
  };
  for (const Case& c : cases) {
    const FuelItems items = FindFuelItems(Names(c.header), c.choice);
    EXPECT_EQ(items.speed, c.expected.speed) << c.header;
    EXPECT_EQ(items.engine_speed, c.expected.engine_speed) << c.header;
    EXPECT_EQ(items.pulse_width, c.expected.pulse_width) << c.header;
    EXPECT_EQ(items.speed_mph, c.expected.speed_mph) << c.header;
  }
}

}  // namespace
}  // namespace dravik
