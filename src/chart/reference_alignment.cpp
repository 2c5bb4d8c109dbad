#include "chart/reference_alignment.h"

#include <algorithm>
#include <span>

namespace dravik {
namespace {

// The first index of lo..hi - 1 for which before(index) is false (hi when there is none),
// `before` being true up to some index and false after it. Searched outward from `guess` in
// growing steps, then halving: a good guess costs a few reads, all near it, where a search over
// the whole range would read across a long column.
template <class Before>
int64_t GallopFrom(int64_t lo, int64_t hi, int64_t guess, Before before) {
  guess = std::clamp(guess, lo, hi);
  int64_t below = lo - 1;  // before(below) holds, or below = lo - 1
  int64_t above = hi;      // before(above) fails, or above = hi
  int64_t step = 1;
  if (guess < hi && before(guess)) {
    below = guess;
    while (below + step < hi && before(below + step)) {
      below += step;
      step *= 2;
    }
    above = std::min(below + step, hi);
  } else {
    above = guess;
    while (above - step >= lo && !before(above - step)) {
      above -= step;
      step *= 2;
    }
    below = std::max(above - step, lo - 1);
  }
  while (above - below > 1) {
    const int64_t middle = below + (above - below) / 2;
    (before(middle) ? below : above) = middle;
  }
  return above;
}

// The main log's chart x at time_ms, which lies within its first and last time, from the last
// sample j at or before it, looked for from sample `hint` on.
double PositionNear(std::span<const float> times, double time_ms, int64_t hint) {
  const auto last = static_cast<int64_t>(times.size()) - 1;
  const int64_t j =
      GallopFrom(0, last + 1, hint + 1,
                 [&](int64_t i) { return static_cast<double>(times[i]) <= time_ms; }) -
      1;
  if (j < 0 || j >= last) {
    return j < 0 ? 0.0 : static_cast<double>(last);
  }
  const double before = times[j];
  return static_cast<double>(j) + (time_ms - before) / (static_cast<double>(times[j + 1]) - before);
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
  return PositionNear(times, time_ms, main.last_sample / 2);
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
  const std::span<const float> main_times = RealTimes(main);
  const std::span<const float> times = reference.table.Values(0);
  // The column of sample k, its main log's sample looked for from `hint` on.
  const auto column_of = [&](int64_t k, int64_t hint) {
    const double x = PositionNear(main_times, static_cast<double>(times[k]) + shift, hint);
    return ChartXToColumn(x - static_cast<double>(first_visible_sample), view_span, width_px);
  };
  // The reference's mean step, for the first guess of where a time falls.
  const double step_ms = (static_cast<double>(times[reference.table.last_sample]) - times[0]) /
                         static_cast<double>(reference.table.last_sample);
  columns.starts.resize(static_cast<size_t>(width_px) + 1);
  int64_t low = overlap.first;
  const int64_t end = overlap.last + 1;
  for (int64_t c = 0; c <= width_px; ++c) {
    // Column c begins half a column left of its centre: the main log's time there, less the
    // shift, is where its first sample lies, give or take the rounding of the column.
    const double x = std::clamp((static_cast<double>(c) - 0.5) * static_cast<double>(view_span) /
                                        static_cast<double>(width_px) +
                                    static_cast<double>(first_visible_sample),
                                0.0, static_cast<double>(main.last_sample));
    const auto hint = static_cast<int64_t>(x);
    const double time = TimeAtChartPosition(main, x) - shift;
    const double ahead = step_ms > 0 ? (time - times[low]) / step_ms : 0;
    const int64_t guess =
        low + static_cast<int64_t>(std::clamp(ahead, 0.0, static_cast<double>(end - low)));
    // By time first, which reads only the reference's times, then exact by column: the time
    // lands on the column's first sample or next to it.
    int64_t k = GallopFrom(low, end, guess,
                           [&](int64_t i) { return static_cast<double>(times[i]) < time; });
    while (k > low && column_of(k - 1, hint) >= c) {
      --k;
    }
    while (k < end && column_of(k, hint) < c) {
      ++k;
    }
    columns.starts[c] = k;
    low = k;
  }
  columns.first = std::max(overlap.first, columns.starts[0] - 1);
  columns.lead_column =
      columns.first < columns.starts[0] ? column_of(columns.first, first_visible_sample) : -1;
  columns.last = std::min(overlap.last, columns.starts[width_px]);
  columns.tail_column = columns.starts[width_px] <= overlap.last
                            ? column_of(columns.last, first_visible_sample + view_span)
                            : 0;
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
