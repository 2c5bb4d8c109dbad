#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "log/log_table.h"

namespace dravik {

// Chart units: y runs 0..10800 with every item's range mapped onto the band 400..10400.
inline constexpr int kChartHeight = 10800;
inline constexpr int kPlotTop = 400;
inline constexpr int kPlotBottom = 10400;

// One scroll position of the chart is this many samples.
inline constexpr int kSamplesPerScrollUnit = 10;

// The entries of the magnification list, in list order; the text of an entry is its number.
inline constexpr std::array<int, 7> kMagnifications = {1, 2, 5, 10, 20, 50, 100};

// Scale bound of a value: 0 -> 1; otherwise the two-digit leading figure of the value (taken at 7
// significant digits, floored) looked up in the current (graph_scale_mode 0) or old rounding
// table. 6500 -> 7000, 100 -> 120 (old: 200), -345 -> -400, 0.01 -> 0.012, 0.00005 -> 0.00005,
// 0.000001 -> 0. A bound beyond the single range comes back infinite.
float RoundScaleBound(float value, int graph_scale_mode);

// The top of the scale of an item whose values are all >= 0, `max` its largest: RoundScaleBound,
// except that a largest value below 0.00001 takes its two-digit figure at a lower exponent
// (3.1E-06 -> 3.5E-06) where RoundScaleBound gives 0. A bound that still cannot divide the band
// (0, or so small that the division leaves the single range) gives 1, the range of an item whose
// values are all 0. A bound of a value beyond the single range comes back infinite.
float TopScaleBound(float max, int graph_scale_mode);

// True when every item 1..item_count can be placed on the chart: no bound of its range is 0 or
// beyond the single range and every position fits in 16 bits. Positions grow or fall steadily
// with the value, so the item's extremes decide for all its samples: a check per item, not per
// sample, which lets the load refuse a log it cannot show before any position is made.
bool CanPlotItems(const LogTable& table, int graph_scale_mode);
// The same for one item whose values run from `min` to `max`.
bool CanPlotRange(float min, float max, int graph_scale_mode);

// The linear map of one item: position = base + factor * (value - origin), in single precision.
struct ItemScale {
  float base = 0;
  float factor = 0;
  float origin = 0;
};

// Adding and taking away 1.5 x 2^23 rounds a single of magnitude below 2^22 to a whole number,
// halves to even, just as RoundHalfEven does; beyond 2^22 the position is out of range anyway.
// Without a branch or a call it runs on vectors in the loops over samples.
inline float PositionOf(float value, const ItemScale& scale) {
  constexpr float kWholeShift = 0x1.8p23f;
  const float y = scale.base + scale.factor * (value - scale.origin);
  return (y + kWholeShift) - kWholeShift;
}

// The chart positions of one item's samples (400 at the top of its range, 10400 at the bottom),
// made from its values as they are read rather than kept: a position costs less to make than
// 2 bytes a sample cost to hold, and an item needs no memory of its own to be drawn. The values
// must outlive it.
class PlotPositions {
 public:
  PlotPositions() = default;
  PlotPositions(std::span<const float> values, const ItemScale& scale)
      : values_(values), scale_(scale) {}

  int64_t size() const { return static_cast<int64_t>(values_.size()); }
  bool empty() const { return values_.empty(); }
  int16_t operator[](int64_t i) const {
    return static_cast<int16_t>(static_cast<int32_t>(PositionOf(values_[i], scale_)));
  }
  // Asks for the values of samples first..end - 1 to be brought into the cache, ahead of reading
  // them.
  void Prefetch(int64_t first, int64_t end) const {
    constexpr int64_t kValuesPerLine = 16;  // in a 64-byte cache line
    for (int64_t i = first; i < end; i += kValuesPerLine) {
      __builtin_prefetch(values_.data() + i);
    }
  }
  // Folds the positions of samples first..end - 1 into lowest and highest.
  void Extremes(int64_t first, int64_t end, int16_t& lowest, int16_t& highest) const;

 private:
  std::span<const float> values_;
  ItemScale scale_;
};

// The positions of `item` with the scales of graph_scale_mode. The table must pass CanPlotItems.
PlotPositions PlotPositionsOf(const LogTable& table, int item, int graph_scale_mode);

// The value range each item's scale covers, by item 0..item_count: a log's own extremes, or,
// while a reference log is drawn over it, those of both logs together.
struct ItemRanges {
  std::vector<float> min;
  std::vector<float> max;
};
ItemRanges OwnRanges(const LogTable& table);

// The positions of `values` on the scale of the range min..max.
PlotPositions PlotPositionsWithin(std::span<const float> values, float min, float max,
                                  int graph_scale_mode);

// Which samples the chart shows. Scroll values are in units of 10 samples and held wide, so
// logs far beyond 327,674 samples scroll.
struct ChartView {
  int magnification = 1;
  int64_t view_span = 0;            // samples across the chart width; 0 while no log is loaded
  int64_t scroll_position = 0;      // the time scroll bar's value
  int64_t scroll_maximum = 0;       // its maximum (the minimum is 0)
  int64_t scroll_large_change = 1;  // its page step
  bool scroll_enabled = false;      // the scroll bar is enabled exactly when zoomed in
};

// The magnification choice is offered only for logs of more than 1000 samples.
bool CanChangeMagnification(int64_t last_sample);

// Applies a newly chosen magnification: enables scrolling unless it is 1 and, with a log of
// last_sample > 0, sets view_span = round(N / m), the maximum round((N - view_span) / 10), the
// large change round(view_span / 10) and moves the position so that the centre of the view stays
// where it was, clamped to 0..maximum. N = 10000, 1 -> 10 at position 0: span 1000, maximum 900,
// large change 100, position 450. The caller redraws the graph afterwards.
void ChangeMagnification(ChartView& view, int magnification, int64_t last_sample);

// The sample at the left edge of the chart: 10 x the scroll position.
int64_t FirstVisibleSample(const ChartView& view);

// The keys that move the view: a page back or forward (the scroll bar's large change), the start
// or the end of the log.
enum class ScrollKey { kPageBack, kPageForward, kStart, kEnd };

// The scroll position after `key`, within 0..scroll_maximum.
int64_t ScrollForKey(const ChartView& view, ScrollKey key);

// Pixel column of chart x (a sample offset from the left edge, fractional for cursor lines) on a
// chart width_px wide: round(x * width / view_span), halves to even; for whole offsets the result
// is exact (span 1000, width 500: 1 -> 0, 3 -> 2, 5 -> 2, 1000 -> 500). 0 when view_span <= 0.
int64_t ChartXToColumn(double x, int64_t view_span, int64_t width_px);

// Chart x (fractional sample offset) under pixel column x_px: x_px * view_span / width_px; 0 when
// width_px <= 0. Mouse positions arrive in pixels and cursor lines are kept in chart units.
double ColumnToChartX(double x_px, int64_t view_span, int64_t width_px);

// Pixel row of chart y on a chart height_px high: round(y * height / 10800), halves to even.
int64_t ChartYToRow(double y, int64_t height_px);

// The sample addressed by chart x: round(x + first_visible_sample), halves to even
// (0.5 -> 0, 1.5 -> 2).
int64_t ChartXToSample(double x, int64_t first_visible_sample);

// Wheel steps. The chart moves by WheelStep = round(view_span / 50) scroll units per notch
// (25 -> 0, 26 -> 1, 75 -> 2, 125 -> 2); the item panel by 120 twips.
inline constexpr int64_t kItemPanelWheelStep = 120;
int64_t WheelStep(int64_t view_span);

// value + step when that stays below maximum, else maximum.
int64_t ScrollChartForward(int64_t value, int64_t minimum, int64_t maximum, int64_t step);
// value - step when that stays above minimum, else minimum.
int64_t ScrollChartBack(int64_t value, int64_t minimum, int64_t maximum, int64_t step);
// The same two rules for the item panel's scroll bar, one wheel step of 120 twips by default.
int64_t ScrollItemsDown(int64_t value, int64_t minimum, int64_t maximum,
                        int64_t step = kItemPanelWheelStep);
int64_t ScrollItemsUp(int64_t value, int64_t minimum, int64_t maximum,
                      int64_t step = kItemPanelWheelStep);

}  // namespace dravik
