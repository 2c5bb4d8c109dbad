#include "panel/numeric_display.h"

#include <algorithm>

#include "common/core_text.h"
#include "common/number_format.h"
#include "common/rounding.h"
#include "log/fuel_trip.h"
#include "log/log_header.h"
#include "panel/trip_list.h"

namespace dravik {
namespace {

constexpr const char* kSectionCell = "―";
constexpr int kAverageSpeedRow = 0;  // section rows, counted after the item rows
constexpr int kDistanceRow = 1;
constexpr int kFuelUsedRow = 2;
constexpr int kFuelEconomyRow = 3;

std::string WholeSeconds(float time_ms) {
  return std::to_string(RoundHalfEven(static_cast<double>(time_ms) / 1000));
}

// The time column's name without a time unit of its own at its end ("Time (s)", "Time [ms]",
// "Time (msec)" -> "Time"), for a readout that says its unit itself.
std::string TimeNameWithoutUnit(const std::string& name) {
  const NameUnit unit = TrailingUnit(name);
  constexpr std::string_view kMilliseconds[] = {"ms", "msec", "msecs", "millisecond",
                                                "milliseconds"};
  const bool milliseconds = std::find(std::begin(kMilliseconds), std::end(kMilliseconds),
                                      std::string_view(unit.unit)) != std::end(kMilliseconds);
  if (!milliseconds && !NamesSeconds(name)) {
    return name;
  }
  const std::string_view base = TrimBlanks(std::string_view(name).substr(0, unit.bracket));
  return base.empty() ? name : std::string(base);
}

// A time as the time row writes it: whole seconds or the general form of ms.
std::string TimeText(float time_ms, const Settings& settings) {
  return settings.time_unit_sec != 0 ? WholeSeconds(time_ms) : FormatGeneral(time_ms);
}

// The difference `to` - `from` of two times as the time row writes it.
std::string TimeDifferenceText(float from_ms, float to_ms, const Settings& settings) {
  const std::string difference = FormatDecimalDifference(from_ms, to_ms);
  return settings.time_unit_sec != 0 ? DecimalMsToWholeSeconds(difference) : difference;
}

// The section rows present, counted after the item rows: speed rows with a speed item, fuel rows
// with the economy item.
size_t SectionRowCount(const LogTable& table, const Settings& settings) {
  if (settings.section_time == 0 || !table.has_speed) {
    return 0;
  }
  return table.has_economy ? 4 : 2;
}

// The names of the section rows the table has figures for: average speed and distance with a speed
// item, fuel used and economy with the economy item.
std::vector<std::string> SectionRowNames(const LogTable& table) {
  std::vector<std::string> names;
  if (table.has_speed) {
    names.push_back(CoreText::Tr("区間平均速度 (km/h)"));
    names.push_back(CoreText::Tr("区間走行距離 (km)"));
  }
  if (table.has_economy) {
    names.push_back(CoreText::Tr("区間燃料消費量 (l)"));
    names.push_back(CoreText::Tr("区間燃費 (km/l)"));
  }
  return names;
}

std::string TimeRowName(const LogTable& table, bool in_seconds) {
  return table.item_names[0] + (in_seconds ? CoreText::Tr(" (秒)") : " (ms)");
}

MaxViewRow SectionRow(const std::string& name) {
  return {name, kSectionCell, kSectionCell, kSectionCell, "0", kSectionCell};
}

}  // namespace

std::array<std::string, kReferenceColumns> ReferenceHeaders() {
  return {CoreText::Tr("比較 最小値"), CoreText::Tr("比較 現在値1"), CoreText::Tr("比較 現在値2"),
          CoreText::Tr("比較 変化量"), CoreText::Tr("比較 最大値")};
}

std::array<std::string, kMaxViewColumns> MaxViewHeaders() {
  return {CoreText::Tr("項目"),    CoreText::Tr("最小値"), CoreText::Tr("現在値1"),
          CoreText::Tr("現在値2"), CoreText::Tr("変化量"), CoreText::Tr("最大値")};
}

void MaxViewList(NumericDisplay& display, const LogTable& table, const Settings& settings) {
  if (table.item_count < 1) {
    return;
  }
  display.copy_enabled = true;
  display.rows.clear();
  display.rows.push_back({"", "", "0", "0", "0", ""});
  ReDrawTime(display, table, settings);
  for (int i = 1; i <= table.item_count; ++i) {
    display.rows.push_back({table.item_names[i], FormatGeneral(table.item_min[i]), "0", "0", "0",
                            FormatGeneral(table.item_max[i])});
  }
  if (settings.section_time != 0) {
    for (const std::string& name : SectionRowNames(table)) {
      display.rows.push_back(SectionRow(name));
    }
  }
}

void RenameMaxViewRows(NumericDisplay& display, const LogTable& table) {
  if (display.rows.empty() || table.item_count < 1) {
    return;
  }
  display.rows[0][kNameColumn] = TimeRowName(table, display.time_in_seconds);
  const size_t first_row = static_cast<size_t>(table.item_count) + 1;
  const std::vector<std::string> names = SectionRowNames(table);
  for (size_t i = 0; i < names.size() && first_row + i < display.rows.size(); ++i) {
    display.rows[first_row + i][kNameColumn] = names[i];
  }
}

void ReDrawTime(NumericDisplay& display, const LogTable& table, const Settings& settings) {
  if (display.rows.empty() || table.item_count < 1) {
    return;
  }
  MaxViewRow& row = display.rows[0];
  display.time_in_seconds = settings.time_unit_sec != 0;
  row[kNameColumn] = TimeRowName(table, display.time_in_seconds);
  row[kMinColumn] = TimeText(table.item_min[0], settings);
  row[kMaxColumn] = TimeText(table.item_max[0], settings);
}

void UpdateCursorReadout(NumericDisplay& display, const LogTable& table, const Settings& settings,
                         int cursor, int64_t sample, int64_t other_sample) {
  if (table.item_count < 1 || !IsReadableSample(sample, table.last_sample) ||
      !IsReadableSample(other_sample, table.last_sample) || (cursor != 1 && cursor != 2) ||
      display.rows.size() < static_cast<size_t>(table.item_count) + 1) {
    return;
  }
  const int column = cursor == 1 ? kCursor1Column : kCursor2Column;
  const float time_ms = table.Values(0)[sample];
  display.rows[0][column] = TimeText(time_ms, settings);
  display.rows[0][kDifferenceColumn] =
      TimeDifferenceText(table.Values(0)[other_sample], time_ms, settings);
  for (int i = 1; i <= table.item_count; ++i) {
    const std::span<const float> values = table.Values(i);
    display.rows[i][column] = FormatGeneral(values[sample]);
    display.rows[i][kDifferenceColumn] =
        FormatDecimalDifference(values[other_sample], values[sample]);
  }
}

void UpdateSectionReadout(NumericDisplay& display, const LogTable& table, const Settings& settings,
                          int64_t first, int64_t last) {
  const size_t section_rows = SectionRowCount(table, settings);
  const size_t first_row = static_cast<size_t>(table.item_count) + 1;
  if (section_rows == 0 || table.item_count < 1 || !IsReadableSample(first, table.last_sample) ||
      !IsReadableSample(last, table.last_sample) ||
      display.rows.size() < first_row + section_rows) {
    return;
  }
  const TripSummary trip = ComputeTripSummary(table, FuelParamsOf(settings), std::min(first, last),
                                              std::max(first, last));
  const TripFigureTexts texts = TripTexts(trip);
  display.rows[first_row + kAverageSpeedRow][kDifferenceColumn] = texts.average_speed;
  display.rows[first_row + kDistanceRow][kDifferenceColumn] = texts.distance;
  if (table.has_economy) {
    display.rows[first_row + kFuelUsedRow][kDifferenceColumn] = texts.fuel_used;
    display.rows[first_row + kFuelEconomyRow][kDifferenceColumn] = texts.fuel_economy;
  }
}

void ReferenceList(NumericDisplay& display, const LogTable& main, const ReferenceLog& reference,
                   const Settings& settings) {
  display.reference_rows.clear();
  if (!reference.IsOpen() || display.rows.empty() || main.item_count < 1) {
    return;
  }
  display.reference_rows.resize(display.rows.size());
  const SampleSpan overlap = OverlapWithMain(main, reference);
  for (int item = 0; item <= main.item_count; ++item) {
    const int other = reference.ItemFor(item);
    const std::optional<ValueRange> range =
        other < 0 ? std::nullopt : ValueRangeOver(reference.table, other, overlap);
    if (!range) {
      continue;
    }
    ReferenceRow& row = display.reference_rows[item];
    row[kReferenceMinColumn] =
        item == 0 ? TimeText(range->min, settings) : FormatGeneral(range->min);
    row[kReferenceMaxColumn] =
        item == 0 ? TimeText(range->max, settings) : FormatGeneral(range->max);
  }
}

void UpdateReferenceReadout(NumericDisplay& display, const LogTable& main,
                            const ReferenceLog& reference, const Settings& settings,
                            int64_t cursor1_sample, int64_t cursor2_sample) {
  const size_t first_section_row = static_cast<size_t>(main.item_count) + 1;
  if (!reference.IsOpen() || main.item_count < 1 ||
      display.reference_rows.size() != display.rows.size() ||
      display.rows.size() < first_section_row ||
      !IsReadableSample(cursor1_sample, main.last_sample) ||
      !IsReadableSample(cursor2_sample, main.last_sample)) {
    return;
  }
  const double shift = ReferenceShiftMs(main, reference);
  const double time1 = main.Values(0)[cursor1_sample];
  const double time2 = main.Values(0)[cursor2_sample];
  const std::optional<int64_t> k1 = NearestSample(reference.table, shift, time1);
  const std::optional<int64_t> k2 = NearestSample(reference.table, shift, time2);
  for (int item = 0; item <= main.item_count; ++item) {
    ReferenceRow& row = display.reference_rows[item];
    const int other = reference.ItemFor(item);
    const auto value_at = [&](const std::optional<int64_t>& k) -> std::optional<float> {
      if (other < 0 || !k) {
        return std::nullopt;
      }
      return reference.table.Values(other)[*k];
    };
    const std::optional<float> v1 = value_at(k1);
    const std::optional<float> v2 = value_at(k2);
    const auto text = [&](const std::optional<float>& v) -> std::string {
      if (!v) {
        return "";
      }
      return item == 0 ? TimeText(*v, settings) : FormatGeneral(*v);
    };
    row[kReferenceCursor1Column] = text(v1);
    row[kReferenceCursor2Column] = text(v2);
    std::string difference;
    if (v1 && v2) {
      difference =
          item == 0 ? TimeDifferenceText(*v2, *v1, settings) : FormatDecimalDifference(*v2, *v1);
    }
    row[kReferenceDifferenceColumn] = difference;
  }

  const size_t section_rows = SectionRowCount(main, settings);
  if (section_rows == 0 || display.rows.size() < first_section_row + section_rows) {
    return;
  }
  const SampleSpan section =
      SamplesWithin(reference.table, shift, std::min(time1, time2), std::max(time1, time2));
  const LogTable& other = reference.table;
  std::array<std::string, 4> figures;
  if (!section.empty() && other.has_speed) {
    const TripFigureTexts texts =
        TripTexts(ComputeTripSummary(other, FuelParamsOf(settings), section.first, section.last));
    figures = {texts.average_speed, texts.distance, other.has_economy ? texts.fuel_used : "",
               other.has_economy ? texts.fuel_economy : ""};
  }
  for (size_t r = 0; r < section_rows; ++r) {
    display.reference_rows[first_section_row + r][kReferenceDifferenceColumn] = figures[r];
  }
}

std::vector<ReadoutLine> HoverReadout(const LogTable& table, const Settings& settings,
                                      const std::vector<int>& items, int64_t sample) {
  if (!table.IsLoaded() || !IsReadableSample(sample, table.last_sample)) {
    return {};
  }
  const float time_ms = table.Values(0)[sample];
  std::vector<ReadoutLine> lines;
  const std::string time_name = TimeNameWithoutUnit(table.item_names[0]);
  lines.push_back({settings.time_unit_sec != 0
                       ? time_name + CoreText::Tr(" (秒)") + ": " + WholeSeconds(time_ms)
                       : time_name + " (ms): " + FormatGeneral(time_ms),
                   MakeRgb(0, 0, 0)});
  for (const int item : items) {
    if (item >= 1 && item <= table.item_count) {
      lines.push_back({table.item_names[item] + ": " + FormatGeneral(table.Values(item)[sample]),
                       ItemColour(settings.item_colors, item)});
    }
  }
  return lines;
}

MaxViewWidths MaxViewColumnWidths(const MaxViewWidths& widest, const MaxViewWidths& least,
                                  int name_limit) {
  MaxViewWidths widths{};
  const int bounds = std::max(widest[kMinColumn], widest[kMaxColumn]);
  for (int column = 0; column < kMaxViewColumns; ++column) {
    int width = widest[column];
    if (column == kNameColumn) {
      width = std::min(width, name_limit);
    } else if (column == kCursor1Column || column == kCursor2Column) {
      width = std::max(width, bounds);
    }
    widths[column] = std::max(width, least[column]);
  }
  return widths;
}

std::string MaxViewClipboardText(const NumericDisplay& display) {
  if (display.rows.empty()) {
    return "";
  }
  std::string text;
  const std::array<std::string, kMaxViewColumns> headers = MaxViewHeaders();
  for (int c = 0; c < kMaxViewColumns; ++c) {
    text += c == 0 ? "" : ", ";
    text += headers[c];
  }
  const bool with_reference = display.reference_rows.size() == display.rows.size();
  if (with_reference) {
    for (const std::string& header : ReferenceHeaders()) {
      text += ", " + header;
    }
  }
  text += "\r\n";
  for (size_t r = 0; r < display.rows.size(); ++r) {
    const MaxViewRow& row = display.rows[r];
    for (int c = 0; c < kMaxViewColumns; ++c) {
      if (c > 0) {
        // The time row in seconds has always been copied without the blank after its name.
        text += r == 0 && c == 1 && display.time_in_seconds ? "," : ", ";
      }
      text += row[c];
    }
    if (with_reference) {
      for (const std::string& cell : display.reference_rows[r]) {
        text += ", " + cell;
      }
    }
    text += "\r\n";
  }
  return text;
}

std::string CursorReadoutText(const LogTable& table, const Settings& settings,
                              int64_t cursor1_sample, int64_t cursor2_sample,
                              const ReferenceLog* reference) {
  NumericDisplay display;
  MaxViewList(display, table, settings);
  UpdateCursorReadout(display, table, settings, 1, cursor1_sample, cursor2_sample);
  UpdateCursorReadout(display, table, settings, 2, cursor2_sample, cursor1_sample);
  UpdateSectionReadout(display, table, settings, std::min(cursor1_sample, cursor2_sample),
                       std::max(cursor1_sample, cursor2_sample));
  if (reference != nullptr) {
    ReferenceList(display, table, *reference, settings);
    UpdateReferenceReadout(display, table, *reference, settings, cursor1_sample, cursor2_sample);
  }
  return MaxViewClipboardText(display);
}

}  // namespace dravik
