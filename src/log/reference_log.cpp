#include "log/reference_log.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "common/core_text.h"
#include "common/number_format.h"
#include "common/number_parsing.h"
#include "log/fuel_items.h"

namespace dravik {
namespace {

// The first sample whose shifted time is at least time_ms (or, with `after`, beyond it).
int64_t FirstAtOrAfter(std::span<const float> times, double shift_ms, double time_ms, bool after) {
  const auto it = std::partition_point(times.begin(), times.end(), [&](float t) {
    const double shifted = static_cast<double>(t) + shift_ms;
    return after ? shifted <= time_ms : shifted < time_ms;
  });
  return it - times.begin();
}

}  // namespace

std::span<const float> RealTimes(const LogTable& table) {
  return table.Values(0).first(static_cast<size_t>(table.last_sample) + 1);
}

int ReferenceLog::ItemFor(int item) const {
  return item >= 0 && item < static_cast<int>(items.size()) ? items[item] : -1;
}

std::vector<int> MatchReferenceItems(const LogTable& main, const LogTable& reference) {
  std::vector<int> items(static_cast<size_t>(main.item_count) + 1, -1);
  items[0] = 0;
  for (int item = 1; item <= main.item_count; ++item) {
    for (int other = 1; other <= reference.item_count; ++other) {
      if (IsChosenItem(reference.item_names[other], main.item_names[item])) {
        items[item] = other;
        break;
      }
    }
  }
  return items;
}

bool SharesItems(const std::vector<int>& items) {
  return std::any_of(items.begin() + (items.empty() ? 0 : 1), items.end(),
                     [](int item) { return item > 0; });
}

double ReferenceShiftMs(const LogTable& main, const ReferenceLog& reference) {
  return static_cast<double>(main.Values(0)[0]) -
         static_cast<double>(reference.table.Values(0)[0]) + reference.offset_ms;
}

SampleSpan SamplesWithin(const LogTable& table, double shift_ms, double from_ms, double to_ms) {
  if (!table.IsLoaded() || !(from_ms <= to_ms)) {
    return {};
  }
  const std::span<const float> times = RealTimes(table);
  return {FirstAtOrAfter(times, shift_ms, from_ms, false),
          FirstAtOrAfter(times, shift_ms, to_ms, true) - 1};
}

SampleSpan OverlapWithMain(const LogTable& main, const ReferenceLog& reference) {
  if (!main.IsLoaded() || !reference.IsOpen()) {
    return {};
  }
  const std::span<const float> times = RealTimes(main);
  return SamplesWithin(reference.table, ReferenceShiftMs(main, reference), times.front(),
                       times.back());
}

std::optional<int64_t> NearestSample(const LogTable& table, double shift_ms, double time_ms) {
  if (!table.IsLoaded()) {
    return std::nullopt;
  }
  const std::span<const float> times = RealTimes(table);
  const auto shifted = [&](int64_t k) { return static_cast<double>(times[k]) + shift_ms; };
  const int64_t last = table.last_sample;
  if (!(time_ms >= shifted(0) && time_ms <= shifted(last))) {
    return std::nullopt;
  }
  const int64_t next = FirstAtOrAfter(times, shift_ms, time_ms, false);
  if (next == 0 || shifted(next) == time_ms) {
    return next;
  }
  return time_ms - shifted(next - 1) <= shifted(next) - time_ms ? next - 1 : next;
}

std::optional<double> ParseReferenceOffset(std::string_view text, bool seconds) {
  double value = 0;
  if (ParseNumber(text, false, seconds ? 3 : 0, value) != NumberStatus::kOk) {
    return std::nullopt;
  }
  return value;
}

std::string ReferenceOffsetText(double offset_ms, bool seconds) {
  const std::string magnitude = FormatGeneral(std::fabs(seconds ? offset_ms / 1000 : offset_ms));
  return (offset_ms < 0 ? "-" : "+") + magnitude + (seconds ? CoreText::Tr(" 秒") : " ms");
}

std::string NoSharedItemsMessage() {
  return CoreText::Tr("比較ログに共通の項目がありません。");
}

std::optional<ValueRange> ValueRangeOver(const LogTable& table, int item, SampleSpan span) {
  if (span.empty() || item < 0 || item > table.item_count || span.first < 0 ||
      span.last > table.last_sample) {
    return std::nullopt;
  }
  if (span.first == 0 && span.last == table.last_sample) {
    return ValueRange{table.item_min[item], table.item_max[item]};
  }
  const std::span<const float> values = table.Values(item).subspan(
      static_cast<size_t>(span.first), static_cast<size_t>(span.last - span.first + 1));
  const auto [min, max] = std::minmax_element(values.begin(), values.end());
  return ValueRange{*min, *max};
}

}  // namespace dravik
