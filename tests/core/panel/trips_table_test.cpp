#include "panel/trips_table.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TripsTableLog Loaded(const char* name, int64_t time_ms, float average_speed, float distance_km,
                     float fuel_cc, const char* economy, bool has_speed, bool has_economy) {
  TripsTableLog log;
  log.file_name = name;
  log.loaded = true;
  log.trip.driving_time_ms = time_ms;
  log.trip.average_speed = average_speed;
  log.trip.distance_km = distance_km;
  log.trip.fuel_used_cc = fuel_cc;
  log.trip.fuel_economy_text = economy;
  log.has_speed = has_speed;
  log.has_economy = has_economy;
  return log;
}

TripsTableLog Failed(const char* name, const char* message) {
  TripsTableLog log;
  log.file_name = name;
  log.failure_message = message;
  return log;
}

constexpr const char* kHeader =
    "ファイル, 走行時間 [秒], 平均速度 [km/h], 走行距離 [km], 燃料消費量 [l], 燃費 [km/l]\r\n";

TEST(TripsTableText, LogsFailuresAndTotals) {
  const std::vector<TripsTableLog> logs = {
      Loaded("a.csv", 3'600'000, 60, 60, 5000, "12.000", true, true),
      Failed("bad.csv", "エラーです。\r\n場所       : OpenFile()\r\nエラー番号 : 13"),
      Loaded("b.csv", 1'800'000, 40, 20, 0, "∞", true, true),
      Loaded("c.csv", 2250, 0, 0, 0, "0.000", false, false),
  };
  EXPECT_EQ(TripsTableText(logs), std::string(kHeader) +
                                      "a.csv, 3600.000, 60.000, 60.000, 5.000, 12.000\r\n"
                                      "bad.csv, エラーです。\r\n"
                                      "b.csv, 1800.000, 40.000, 20.000, 0.000, ∞\r\n"
                                      "c.csv, 2.250, , , , \r\n"
                                      // 80 km in 1.5 h; 80 km on 5 l.
                                      "合計, 5402.250, 53.333, 80.000, 5.000, 16.000\r\n");
}

TEST(TripsTableText, TotalsOnlyForItemsSomeLogHas) {
  EXPECT_EQ(TripsTableText({Loaded("c.csv", 999, 0, 0, 0, "0.000", false, false)}),
            std::string(kHeader) + "c.csv, 0.999, , , , \r\n合計, 0.999, , , , \r\n");
  EXPECT_EQ(TripsTableText({Failed("x.csv", "ファイルの形式が違います。")}),
            std::string(kHeader) + "x.csv, ファイルの形式が違います。\r\n合計, , , , , \r\n");
}

TEST(TripsTableText, EconomyTotalWithoutFuel) {
  EXPECT_EQ(TripsTableText({Loaded("m.csv", 60'000, 30, 0.5f, 0, "∞", true, true),
                            Loaded("s.csv", 60'000, 0, 0, 0, "0.000", true, true)}),
            std::string(kHeader) +
                "m.csv, 60.000, 30.000, 0.500, 0.000, ∞\r\n"
                "s.csv, 60.000, 0.000, 0.000, 0.000, 0.000\r\n"
                "合計, 120.000, 15.000, 0.500, 0.000, ∞\r\n");
  EXPECT_EQ(TripsTableText({Loaded("s.csv", 0, 0, 0, 0, "0.000", true, true)}),
            std::string(kHeader) +
                "s.csv, 0.000, 0.000, 0.000, 0.000, 0.000\r\n"
                "合計, 0.000, 0.000, 0.000, 0.000, 0.000\r\n");
}

}  // namespace
}  // namespace dravik
