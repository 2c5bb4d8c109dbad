#pragma once

#include "log/log_table.h"

namespace dravik {

// Chart units: y runs 0..10800 with every item's range mapped onto the band 400..10400.
inline constexpr int kChartHeight = 10800;
inline constexpr int kPlotTop = 400;
inline constexpr int kPlotBottom = 10400;

// Scale bound of a value: 0 -> 1; otherwise the two-digit leading figure of the value (taken at 7
// significant digits, floored) looked up in the current (graph_scale_mode 0) or old rounding
// table. 6500 -> 7000, 100 -> 120 (old: 200), -345 -> -400, 0.000001 -> 0.
float RoundScaleBound(float value, int graph_scale_mode);

// Fills the chart positions of items 1..item_count for every sample including the tail from the
// values and extremes. False, leaving the positions undefined, when a range cannot be scaled (a
// bound of 0) or a position would not fit in 16 bits.
bool BuildPlotY(LogTable& table, int graph_scale_mode);

}  // namespace dravik
