#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "chart/scaling.h"
#include "log/log_table.h"

namespace dravik {

// Strip geometry in twips: one 300-twip column per visible item plus 100; the strip's horizontal
// unit is 10 twips.
inline constexpr int32_t kScaleColumnTwips = 300;
inline constexpr int32_t kScaleMarginTwips = 100;
inline constexpr int32_t kScaleUnitTwips = 10;
inline constexpr int32_t kScaleTickLength = 10;  // strip units, to the left of the axis
inline constexpr int32_t kScaleLabelFontTwips = 160;

// Label of scale value v for an item whose values run from min to max: "0" for 0; "0.0#" when
// both bounds are below 10 in magnitude; the value floored to an integer in the general form when
// a bound is 100 or more in magnitude; otherwise "0.0" for a value with a fraction and "0" for a
// whole one. The bounds come from RoundScaleBound in the given mode.
std::string FormatScaleLabel(float v, float max, float min, int graph_scale_mode);

// Value (a single) at tick t = 10 (top, y 400) .. 0 (bottom, y 10400) of an item's scale: t/10 of
// 0..T for min >= 0, of B..T for a range across 0, and (10 - t)/10 of B for max <= 0.
float ScaleTickValue(int t, float max, float min, int graph_scale_mode);

// One tick of an axis, in strip units (x: 10 twips, y: the chart's 0..10800).
struct ScaleTick {
  int32_t y = 0;        // 400 for the top tick .. 10400 for the bottom one
  float value = 0;      // ScaleTickValue
  std::string label;    // FormatScaleLabel of value
  int32_t label_x = 0;  // top-left of the text in its own frame, rotated to read bottom to top:
  int32_t label_y = 0;  // axis - 25, y + 250
};

// The axis of one visible item: a line at x from y 400 to 10400 in the item's colour, and eleven
// ticks from the axis 10 units to the left, top first.
struct ScaleAxis {
  int item = 0;
  int32_t x = 0;
  std::array<ScaleTick, 11> ticks;
};

struct ScaleStrip {
  int32_t width_twips = kScaleMarginTwips;  // 300 x visible items + 100
  int32_t scale_width = width_twips / kScaleUnitTwips;
  std::vector<ScaleAxis> axes;  // in item order; the first stands nearest the chart
};

// Everything the scale strip shows for the visible items (ascending item numbers of the table):
// with n items the strip is 300n + 100 twips wide and the j-th item's axis (j from 1) stands at
// x = 30 (n - j + 1) strip units: two items give a 700-twip strip with axes at 60 and 30.
ScaleStrip BuildScaleStrip(const LogTable& table, std::span<const int> visible_items,
                           int graph_scale_mode);
// The same for the items' ranges in `ranges` (by item number) rather than their own.
ScaleStrip BuildScaleStrip(const ItemRanges& ranges, std::span<const int> visible_items,
                           int graph_scale_mode);

}  // namespace dravik
