#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "log/log_table.h"

namespace dravik {

// Distance in samples between the chart's vertical grid lines: round(view_span / 10), halves to
// even (1000 -> 100, 15 -> 2, 25 -> 2); at least 1 so that a tiny span cannot stall the grid.
int64_t GridStep(int64_t view_span);

// Sample indexes of the vertical grid lines that can be seen, ascending: the multiples of the
// grid step up to and including first + view_span, starting with the last one left of the view
// (its line is off the chart, but its label may reach into it). Span 1000 at first 4500: 4400,
// 4500, ..., 5500. Empty when view_span <= 0.
std::vector<int64_t> GridSamples(int64_t first_visible_sample, int64_t view_span);

// Time label of a grid line for a sample stamped time_ms: with time_unit_sec on, the seconds in
// "0.0" (12345 -> "12.3"); otherwise one blank and the milliseconds in the general form
// (12345 -> " 12345").
std::string TimeLabel(float time_ms, int time_unit_sec);

// The time stamp a grid line at `sample` shows: the sample's time, 0 for the tail samples and
// beyond (they carry no time).
float GridTime(const LogTable& table, int64_t sample);

// A time label's horizontal extent in pixels: from its left edge up to, not including, right.
struct LabelExtent {
  int64_t left = 0;
  int64_t right = 0;
};

// Which of the time labels, given left to right, are drawn on a chart width_px wide: only whole
// ones, so never a label that begins left of the chart or ends beyond its right edge (a cut
// "153125" would read "53125"); of those the first, then each that begins at least gap_px right
// of the last label drawn, so that no two run together. One flag per label, in their order.
std::vector<bool> LabelsToDraw(std::span<const LabelExtent> labels, int64_t gap_px,
                               int64_t width_px);

}  // namespace dravik
