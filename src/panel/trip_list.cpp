#include "panel/trip_list.h"

#include "common/number_format.h"
#include "common/rounding.h"

namespace dravik {

TripListRow DrivingTimeRow(int64_t driving_time_ms) {
  const std::string name = "走行時間";
  if (driving_time_ms < 1000) {
    return {name, std::to_string(driving_time_ms), "[ms]"};
  }
  if (driving_time_ms < 60'000) {
    return {name, std::to_string(RoundHalfEven(static_cast<double>(driving_time_ms) / 1000.0)),
            "[秒]"};
  }
  return {name, std::to_string(RoundHalfEven(static_cast<double>(driving_time_ms) / 60'000.0)),
          "[分]"};
}

TripFigureTexts TripTexts(const TripSummary& trip) {
  return {FormatFixed(trip.average_speed, 3), FormatFixed(trip.distance_km, 3),
          FormatFixed(static_cast<double>(trip.fuel_used_cc) / 1000, 3), trip.fuel_economy_text};
}

std::vector<TripListRow> TripListRows(const TripSummary& trip, bool has_speed, bool has_economy) {
  std::vector<TripListRow> rows{DrivingTimeRow(trip.driving_time_ms)};
  const TripFigureTexts texts = TripTexts(trip);
  if (has_speed) {
    rows.push_back({"平均速度", texts.average_speed, "[km/h]"});
    rows.push_back({"走行距離", texts.distance, "[km]"});
  }
  if (has_economy) {
    rows.push_back({"燃料消費量", texts.fuel_used, "[l]"});
    rows.push_back({"燃費", texts.fuel_economy, "[km/l]"});
  }
  return rows;
}

std::string TripListHint(const LogTable& table) {
  if (!table.IsLoaded() || table.has_economy) {
    return "";
  }
  std::string missing;
  const auto add = [&missing](int item, const char* name) {
    if (item == 0) {
      missing += (missing.empty() ? "" : "、") + std::string(name);
    }
  };
  add(table.speed_item, "車速");
  add(table.engine_speed_item, "エンジン回転数");
  add(table.pulse_width_item, "噴射パルス幅");
  if (missing.empty()) {
    return "";
  }
  return "このログに見つからない項目: " + missing +
         "\n使う項目は「設定(S)」の「燃費計算の項目...」で選べます。";
}

std::string TripListClipboardText(const std::vector<TripListRow>& rows) {
  std::string text;
  for (const TripListRow& row : rows) {
    text += row.name + ", " + row.value + ", " + row.unit + "\r\n";
  }
  return text;
}

}  // namespace dravik
