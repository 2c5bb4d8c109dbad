#include "panel/trips_table.h"

#include "common/core_text.h"
#include "common/number_format.h"
#include "panel/trip_list.h"

namespace dravik {
namespace {

constexpr double kMsPerHour = 3'600'000.0;

// A field as CSV writes it: within quotes, its quotes doubled, when it holds a comma, a quote or a
// line end, which would otherwise end the field or the row (only a file name can).
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    return text;
  }
  std::string field = "\"";
  for (const char c : text) {
    field += c == '"' ? "\"\"" : std::string(1, c);
  }
  return field + "\"";
}

std::string JoinLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    line += i == 0 ? "" : ", ";
    line += CsvField(fields[i]);
  }
  return line + "\r\n";
}

std::string SecondsText(double time_ms) {
  return FormatFixed(time_ms / 1000, 3);
}

}  // namespace

std::string FirstLine(const std::string& message) {
  return message.substr(0, message.find_first_of("\r\n"));
}

std::string TripsTableText(const std::vector<TripsTableLog>& logs) {
  std::string text = JoinLine({CoreText::Tr("ファイル"), CoreText::Tr("走行時間 [秒]"),
                               CoreText::Tr("平均速度 [km/h]"), CoreText::Tr("走行距離 [km]"),
                               CoreText::Tr("燃料消費量 [l]"), CoreText::Tr("燃費 [km/l]")});
  int loaded = 0;
  int with_speed = 0;
  int with_economy = 0;
  double time_ms = 0;
  double speed_time_ms = 0;
  double distance_km = 0;
  double economy_distance_km = 0;
  double fuel_l = 0;
  for (const TripsTableLog& log : logs) {
    if (!log.loaded) {
      text += JoinLine({log.file_name, FirstLine(log.failure_message)});
      continue;
    }
    const TripFigureTexts texts = TripTexts(log.trip);
    std::vector<std::string> fields = {
        log.file_name, SecondsText(static_cast<double>(log.trip.driving_time_ms)), "", "", "", ""};
    ++loaded;
    time_ms += static_cast<double>(log.trip.driving_time_ms);
    if (log.has_speed) {
      fields[2] = texts.average_speed;
      fields[3] = texts.distance;
      ++with_speed;
      speed_time_ms += static_cast<double>(log.trip.driving_time_ms);
      distance_km += log.trip.distance_km;
    }
    if (log.has_economy) {
      fields[4] = texts.fuel_used;
      fields[5] = texts.fuel_economy;
      ++with_economy;
      economy_distance_km += log.trip.distance_km;
      fuel_l += static_cast<double>(log.trip.fuel_used_cc) / 1000;
    }
    text += JoinLine(fields);
  }

  std::vector<std::string> total = {CoreText::Tr("合計"), "", "", "", "", ""};
  if (loaded > 0) {
    total[1] = SecondsText(time_ms);
  }
  if (with_speed > 0) {
    // A total time of 0 leaves no distance to average over.
    total[2] = FormatFixed(speed_time_ms != 0 ? distance_km / (speed_time_ms / kMsPerHour) : 0, 3);
    total[3] = FormatFixed(distance_km, 3);
  }
  if (with_economy > 0) {
    total[4] = FormatFixed(fuel_l, 3);
    total[5] = fuel_l > 0                ? FormatFixed(economy_distance_km / fuel_l, 3)
               : economy_distance_km > 0 ? "∞"
                                         : "0.000";
  }
  return text + JoinLine(total);
}

}  // namespace dravik
