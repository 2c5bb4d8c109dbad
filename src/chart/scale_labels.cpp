#include "chart/scale_labels.h"

#include <cmath>

#include "chart/scaling.h"
#include "common/number_format.h"

namespace dravik {
namespace {

// Characters of the integer part of a bound written as a number, enough to tell 1, 2 and more.
int IntegerDigits(float bound) {
  const double integer = std::fabs(std::trunc(static_cast<double>(bound)));
  if (integer < 10.0) {
    return 1;
  }
  return integer < 100.0 ? 2 : 3;
}

}  // namespace

std::string FormatScaleLabel(float v, float max, float min, int graph_scale_mode) {
  const int a = IntegerDigits(RoundScaleBound(max, graph_scale_mode));
  const int c = IntegerDigits(RoundScaleBound(min, graph_scale_mode));
  if (v == 0.0f) {
    return "0";
  }
  if (a == 1 && c == 1) {
    return FormatOneOrTwoDecimals(v);
  }
  if (a > 2 || c > 2) {
    return FormatGeneral(std::floor(v));
  }
  return std::floor(v) != v ? FormatFixed(v, 1) : FormatFixed(v, 0);
}

float ScaleTickValue(int t, float max, float min, int graph_scale_mode) {
  // A fraction of a single bound is taken in double and stored as a single; the span of a range
  // across 0 is stepped in single precision. The single result keeps 0.7 x 350 at 245, which the
  // floored labels of large ranges rely on.
  if (min >= 0.0f) {
    const double top = TopScaleBound(max, graph_scale_mode);
    return static_cast<float>(static_cast<double>(t) / 10.0 * top);
  }
  const float bottom = RoundScaleBound(min, graph_scale_mode);
  if (max > 0.0f) {
    const float top = RoundScaleBound(max, graph_scale_mode);
    return (top - bottom) * static_cast<float>(t) / 10.0f + bottom;
  }
  return static_cast<float>(static_cast<double>(10 - t) / 10.0 * bottom);
}

ScaleStrip BuildScaleStrip(const LogTable& table, std::span<const int> visible_items,
                           int graph_scale_mode) {
  return BuildScaleStrip(OwnRanges(table), visible_items, graph_scale_mode);
}

ScaleStrip BuildScaleStrip(const ItemRanges& ranges, std::span<const int> visible_items,
                           int graph_scale_mode) {
  ScaleStrip strip;
  const int32_t n = static_cast<int32_t>(visible_items.size());
  strip.width_twips = kScaleColumnTwips * n + kScaleMarginTwips;
  strip.scale_width = strip.width_twips / kScaleUnitTwips;
  strip.axes.reserve(visible_items.size());
  constexpr int32_t kColumn = kScaleColumnTwips / kScaleUnitTwips;
  for (int32_t j = 1; j <= n; ++j) {
    const int item = visible_items[j - 1];
    const float max = ranges.max[item];
    const float min = ranges.min[item];
    ScaleAxis axis;
    axis.item = item;
    axis.x = strip.scale_width - (kScaleTickLength + kColumn * (j - 1));
    for (int t = 10; t >= 0; --t) {
      ScaleTick& tick = axis.ticks[10 - t];
      tick.y = kPlotTop + 1000 * (10 - t);
      tick.value = ScaleTickValue(t, max, min, graph_scale_mode);
      tick.label = FormatScaleLabel(tick.value, max, min, graph_scale_mode);
      tick.label_x = axis.x - 25;
      tick.label_y = tick.y + 250;
    }
    strip.axes.push_back(std::move(axis));
  }
  return strip;
}

}  // namespace dravik
