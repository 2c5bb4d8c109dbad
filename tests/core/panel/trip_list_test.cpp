#include "panel/trip_list.h"

#include <gtest/gtest.h>

#include "test_log_table.h"

namespace dravik {
namespace {

TEST(DrivingTimeRow, UnitSwitchAndHalvesToEven) {
  struct Case {
    int64_t time_ms;
    const char* value;
    const char* unit;
  };
  const Case cases[] = {
      {0, "0", "[ms]"},      {999, "999", "[ms]"},   {1000, "1", "[秒]"},    {1500, "2", "[秒]"},
      {2250, "2", "[秒]"},   {2500, "2", "[秒]"},    {59'999, "60", "[秒]"}, {60'000, "1", "[分]"},
      {90'000, "2", "[分]"}, {150'000, "2", "[分]"}, {210'000, "4", "[分]"}, {-250, "-250", "[ms]"},
  };
  for (const Case& c : cases) {
    const TripListRow row = DrivingTimeRow(c.time_ms);
    EXPECT_EQ(row.name, "走行時間");
    EXPECT_EQ(row.value, c.value) << c.time_ms;
    EXPECT_EQ(row.unit, c.unit) << c.time_ms;
  }
}

TEST(TripListRows, RowsFollowTheItemsFound) {
  TripSummary trip;
  trip.driving_time_ms = 2250;
  trip.average_speed = static_cast<float>(600 / 9.0);
  trip.distance_km = static_cast<float>(2250 / 3'600'000.0 * trip.average_speed);
  trip.fuel_used_cc = 2.393f;
  trip.fuel_economy_text = "17.409";

  EXPECT_EQ(TripListRows(trip, false, false).size(), 1u);
  EXPECT_EQ(TripListRows(trip, true, false).size(), 3u);
  const std::vector<TripListRow> rows = TripListRows(trip, true, true);
  EXPECT_EQ(TripListClipboardText(rows),
            "走行時間, 2, [秒]\r\n"
            "平均速度, 66.667, [km/h]\r\n"
            "走行距離, 0.042, [km]\r\n"
            "燃料消費量, 0.002, [l]\r\n"
            "燃費, 17.409, [km/l]\r\n");

  // A reference with a speed item but no economy, driven for 95 s: its time in the main row's
  // unit, its speed figures, empty fuel cells.
  ReferenceTrip reference;
  reference.trip.driving_time_ms = 95'000;
  reference.trip.average_speed = 30;
  reference.trip.distance_km = 0.5f;
  reference.has_speed = true;
  EXPECT_EQ(TripListClipboardText(TripListRows(trip, true, true, &reference), true),
            "走行時間, 2, [秒], 95\r\n"
            "平均速度, 66.667, [km/h], 30.000\r\n"
            "走行距離, 0.042, [km], 0.500\r\n"
            "燃料消費量, 0.002, [l], \r\n"
            "燃費, 17.409, [km/l], \r\n");
}

TEST(TripListHint, NamesTheMissingFuelItems) {
  LogTable table = MakeLogTable({"Time", "RPM"}, {{0, 250}, {800, 900}});
  struct Case {
    int speed, engine_speed, pulse_width;
    const char* missing;  // nullptr: no tooltip
  };
  for (const Case& c :
       {Case{0, 0, 0, "車速、エンジン回転数、噴射パルス幅"}, Case{0, 1, 0, "車速、噴射パルス幅"},
        Case{1, 0, 1, "エンジン回転数"}, Case{1, 1, 1, nullptr}}) {
    table.speed_item = c.speed;
    table.engine_speed_item = c.engine_speed;
    table.pulse_width_item = c.pulse_width;
    table.has_economy = c.missing == nullptr;
    const std::string hint = TripListHint(table);
    if (c.missing == nullptr) {
      EXPECT_EQ(hint, "");
    } else {
      EXPECT_EQ(hint, std::string("このログに見つからない項目: ") + c.missing +
                          "\n使う項目は「設定(S)」の「燃費計算の項目...」で選べます。");
    }
  }
  EXPECT_EQ(TripListHint(LogTable{}), "");
}

}  // namespace
}  // namespace dravik
