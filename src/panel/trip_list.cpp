#include "panel/trip_list.h"

#include <utility>

#include "common/core_text.h"
#include "common/number_format.h"
#include "common/rounding.h"

namespace dravik {

namespace {

struct TimeUnit {
  double ms;
};
constexpr TimeUnit kMilliseconds{1};
constexpr TimeUnit kSeconds{1000};
constexpr TimeUnit kMinutes{60'000};

// The unit's text in the interface language.
std::string TimeUnitText(const TimeUnit& unit) {
  return unit.ms == kMilliseconds.ms ? "[ms]"
         : unit.ms == kSeconds.ms    ? CoreText::Tr("[秒]")
                                     : CoreText::Tr("[分]");
}

// The unit the driving time row writes a driving time in.
const TimeUnit& DrivingTimeUnit(int64_t driving_time_ms) {
  return driving_time_ms < 1000 ? kMilliseconds : driving_time_ms < 60'000 ? kSeconds : kMinutes;
}

std::string DrivingTimeIn(int64_t driving_time_ms, const TimeUnit& unit) {
  return std::to_string(RoundHalfEven(static_cast<double>(driving_time_ms) / unit.ms));
}

// A row's name, in full and for a narrow column (each written out for lupdate to find).
struct RowName {
  std::string full;
  std::string narrow;
};

TripListRow Row(RowName name, std::string value, std::string unit, std::string reference) {
  return {std::move(name.full), std::move(value), std::move(unit), std::move(reference),
          std::move(name.narrow)};
}

}  // namespace

TripListRow DrivingTimeRow(int64_t driving_time_ms) {
  const TimeUnit& unit = DrivingTimeUnit(driving_time_ms);
  return Row({CoreText::Tr("走行時間"), CoreText::Tr("走行時間", "narrow column")},
             DrivingTimeIn(driving_time_ms, unit), TimeUnitText(unit), "");
}

TripFigureTexts TripTexts(const TripSummary& trip) {
  return {FormatFixed(trip.average_speed, 3), FormatFixed(trip.distance_km, 3),
          FormatFixed(static_cast<double>(trip.fuel_used_cc) / 1000, 3), trip.fuel_economy_text};
}

std::vector<TripListRow> TripListRows(const TripSummary& trip, bool has_speed, bool has_economy,
                                      const ReferenceTrip* reference) {
  std::vector<TripListRow> rows{DrivingTimeRow(trip.driving_time_ms)};
  const TripFigureTexts texts = TripTexts(trip);
  const TripFigureTexts other =
      reference != nullptr ? TripTexts(reference->trip) : TripFigureTexts{};
  const bool other_speed = reference != nullptr && reference->has_speed;
  const bool other_economy = reference != nullptr && reference->has_economy;
  if (reference != nullptr) {
    rows[0].reference =
        DrivingTimeIn(reference->trip.driving_time_ms, DrivingTimeUnit(trip.driving_time_ms));
  }
  if (has_speed) {
    rows.push_back(Row({CoreText::Tr("平均速度"), CoreText::Tr("平均速度", "narrow column")},
                       texts.average_speed, "[km/h]", other_speed ? other.average_speed : ""));
    rows.push_back(Row({CoreText::Tr("走行距離"), CoreText::Tr("走行距離", "narrow column")},
                       texts.distance, "[km]", other_speed ? other.distance : ""));
  }
  if (has_economy) {
    rows.push_back(Row({CoreText::Tr("燃料消費量"), CoreText::Tr("燃料消費量", "narrow column")},
                       texts.fuel_used, "[l]", other_economy ? other.fuel_used : ""));
    rows.push_back(Row({CoreText::Tr("燃費"), CoreText::Tr("燃費", "narrow column")},
                       texts.fuel_economy, "[km/l]", other_economy ? other.fuel_economy : ""));
  }
  return rows;
}

std::string TripListHint(const LogTable& table) {
  if (!table.IsLoaded() || table.has_economy) {
    return "";
  }
  std::string missing;
  const auto add = [&missing](int item, const std::string& name) {
    if (item == 0) {
      missing += (missing.empty() ? "" : CoreText::Tr("、")) + name;
    }
  };
  add(table.speed_item, CoreText::Tr("車速"));
  add(table.engine_speed_item, CoreText::Tr("エンジン回転数"));
  add(table.pulse_width_item, CoreText::Tr("噴射パルス幅"));
  if (missing.empty()) {
    return "";
  }
  return ArgText(CoreText::Tr("このログに見つからない項目: %1\n"
                              "使う項目は「設定(S)」の「燃費計算の項目...」で選べます。"),
                 {missing});
}

std::string TripListClipboardText(const std::vector<TripListRow>& rows, bool with_reference) {
  std::string text;
  for (const TripListRow& row : rows) {
    text += row.name + ", " + row.value + ", " + row.unit;
    if (with_reference) {
      text += ", " + row.reference;
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace dravik
