#include "chart/reference_alignment.h"

#include <algorithm>
#include <span>

namespace dravik {
namespace {

std::span<const float> RealTimes(const LogTable& table) {
  return table.Values(0).first(static_cast<size_t>(table.last_sample) + 1);
}

}  // namespace

std::optional<double> ChartPositionAt(const LogTable& main, double time_ms) {
  if (!main.IsLoaded()) {
    return std::nullopt;
  }
  const std::span<const float> times = RealTimes(main);
  if (!(time_ms >= times.front() && time_ms <= times.back())) {
    return std::nullopt;
  }
  // The last sample at or before time_ms.
  const int64_t j =
      std::partition_point(times.begin(), times.end(),
                           [time_ms](float t) { return static_cast<double>(t) <= time_ms; }) -
      times.begin() - 1;
  if (j >= main.last_sample) {
    return static_cast<double>(main.last_sample);
  }
  const double before = times[j];
  return static_cast<double>(j) + (time_ms - before) / (static_cast<double>(times[j + 1]) - before);
}

double TimeAtChartPosition(const LogTable& main, double x) {
  const std::span<const float> times = RealTimes(main);
  x = std::clamp(x, 0.0, static_cast<double>(main.last_sample));
  const auto j = std::min(static_cast<int64_t>(x), main.last_sample - 1);
  const double before = times[j];
  return before + (x - static_cast<double>(j)) * (static_cast<double>(times[j + 1]) - before);
}

int64_t ReferenceSampleColumn(const LogTable& main, const LogTable& reference, double shift_ms,
                              int64_t k, int64_t first_visible_sample, int64_t view_span,
                              int64_t width_px) {
  const double time = static_cast<double>(reference.Values(0)[k]) + shift_ms;
  const double x = ChartPositionAt(main, time).value_or(0.0);
  return ChartXToColumn(x - static_cast<double>(first_visible_sample), view_span, width_px);
}

ReferenceColumns PlaceReferenceColumns(const LogTable& main, const ReferenceLog& reference,
                                       int64_t first_visible_sample, int64_t view_span,
                                       int64_t width_px) {
  ReferenceColumns columns;
  const SampleSpan overlap = OverlapWithMain(main, reference);
  if (overlap.empty() || width_px <= 0 || view_span <= 0) {
    return columns;
  }
  const double shift = ReferenceShiftMs(main, reference);
  const std::span<const float> times = reference.table.Values(0);
  const auto column_of = [&](int64_t k) {
    return ReferenceSampleColumn(main, reference.table, shift, k, first_visible_sample, view_span,
                                 width_px);
  };
  // The main log's time where column c begins, from the chart x half a column to its left.
  const auto time_at_column = [&](int64_t c) {
    return TimeAtChartPosition(main, (static_cast<double>(c) - 0.5) *
                                             static_cast<double>(view_span) /
                                             static_cast<double>(width_px) +
                                         static_cast<double>(first_visible_sample));
  };
  columns.starts.resize(static_cast<size_t>(width_px) + 1);
  int64_t low = overlap.first;
  for (int64_t c = 0; c <= width_px; ++c) {
    // A guess by time, then corrected to the exact first sample whose column is c or beyond.
    const double time = time_at_column(c) - shift;
    int64_t k = std::partition_point(times.begin() + low, times.begin() + overlap.last + 1,
                                     [time](float t) { return static_cast<double>(t) < time; }) -
                times.begin();
    while (k > low && column_of(k - 1) >= c) {
      --k;
    }
    while (k <= overlap.last && column_of(k) < c) {
      ++k;
    }
    columns.starts[c] = k;
    low = k;
  }
  columns.first = std::max(overlap.first, columns.starts[0] - 1);
  columns.lead_column = columns.first < columns.starts[0] ? column_of(columns.first) : -1;
  columns.last = std::min(overlap.last, columns.starts[width_px]);
  columns.tail_column = columns.starts[width_px] <= overlap.last ? column_of(columns.last) : 0;
  return columns;
}

ItemRanges CombinedRanges(const LogTable& main, const ReferenceLog& reference) {
  ItemRanges ranges = OwnRanges(main);
  for (int item = 1; item <= main.item_count; ++item) {
    const int other = reference.ItemFor(item);
    if (other > 0) {
      ranges.min[item] = std::min(ranges.min[item], reference.table.item_min[other]);
      ranges.max[item] = std::max(ranges.max[item], reference.table.item_max[other]);
    }
  }
  return ranges;
}

}  // namespace dravik
