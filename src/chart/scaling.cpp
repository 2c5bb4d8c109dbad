#include "chart/scaling.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/rounding.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace dravik {
namespace {

// Upper ends of the rows of the current rounding table and the figure each row gives.
struct BoundRow {
  int64_t last;
  int64_t bound;
};
constexpr std::array<BoundRow, 17> kCurrentRows = {{{11, 12},
                                                    {13, 14},
                                                    {15, 16},
                                                    {17, 18},
                                                    {19, 20},
                                                    {23, 25},
                                                    {28, 30},
                                                    {33, 35},
                                                    {38, 40},
                                                    {42, 45},
                                                    {47, 50},
                                                    {57, 60},
                                                    {66, 70},
                                                    {76, 80},
                                                    {85, 90},
                                                    {95, 100},
                                                    {99, 120}}};

int64_t LookUpFigure(int64_t figure, int graph_scale_mode) {
  if (figure < 10 || figure > 99) {
    return figure;
  }
  if (graph_scale_mode != 0) {
    return (figure / 10 + 1) * 10;
  }
  for (const BoundRow& row : kCurrentRows) {
    if (figure <= row.last) {
      return row.bound;
    }
  }
  return figure;
}

int64_t PowerOfTen(int exponent) {
  int64_t power = 1;
  for (int i = 0; i < exponent; ++i) {
    power *= 10;
  }
  return power;
}

bool Usable(float number) {
  return std::isfinite(number) && number != 0.0f;
}

// False when the item's range has a bound that cannot divide the band.
bool MakeItemScale(float min, float max, int graph_scale_mode, ItemScale& scale) {
  if (min >= 0.0f) {
    const float top = TopScaleBound(max, graph_scale_mode);
    const float s = 10000.0f / top;
    scale = {static_cast<float>(kPlotBottom), -s, 0.0f};
    return Usable(top) && Usable(s);
  }
  if (max > 0.0f) {
    const float top = RoundScaleBound(max, graph_scale_mode);
    const float bottom = RoundScaleBound(min, graph_scale_mode);
    const float span = top - bottom;
    const float s = 10000.0f / span;
    scale = {static_cast<float>(kPlotBottom), -s, bottom};
    return Usable(top) && Usable(bottom) && Usable(span) && Usable(s);
  }
  const float bottom = RoundScaleBound(min, graph_scale_mode);
  const float s = 10000.0f / bottom;
  scale = {static_cast<float>(kPlotTop), s, 0.0f};
  return Usable(bottom) && Usable(s);
}

bool Fits16Bits(float position) {
  return position >= std::numeric_limits<int16_t>::min() &&
         position <= std::numeric_limits<int16_t>::max();
}

// RoundScaleBound; with `two_figures`, a leading figure of 0 (a value below 0.00001) is taken at a
// lower exponent instead, so that it has two digits.
float ScaleBound(float value, int graph_scale_mode, bool two_figures) {
  if (value == 0.0f) {
    return 1.0f;
  }
  if (!std::isfinite(value)) {
    return value;
  }
  // Seven significant digits d.dddddd and the exponent x of the first digit, as the value is
  // shown, so that 0.7f (0.69999999...) reads as 7 and 0.01f as 1E-02.
  char text[32];
  std::snprintf(text, sizeof text, "%.6e", std::fabs(static_cast<double>(value)));
  int64_t digits = text[0] - '0';
  for (int i = 2; i < 8; ++i) {
    digits = digits * 10 + (text[i] - '0');
  }
  const int x = std::atoi(text + 9);
  int e = std::max(x, -4);
  const bool negative = value < 0.0f;
  // The leading figure is digits / 10^(5 + e - x), floored for positive values and so taken
  // away from zero for negative ones.
  const auto figure_at = [&](int exponent) -> int64_t {
    const int shift = 5 + exponent - x;
    if (shift > 18) {
      return negative ? 1 : 0;
    }
    const int64_t divisor = PowerOfTen(shift);
    return negative ? (digits + divisor - 1) / divisor : digits / divisor;
  };
  int64_t figure = figure_at(e);
  if (figure == 0 && two_figures) {
    e = x;
    figure = figure_at(e);
  }
  const int64_t bound_figure = LookUpFigure(figure, graph_scale_mode);
  // Read back through the decimal text so that the single is the one nearest to m' x 10^(e-1).
  std::snprintf(text, sizeof text, "%s%llde%d", negative ? "-" : "",
                static_cast<long long>(bound_figure), e - 1);
  return std::strtof(text, nullptr);
}

}  // namespace

float RoundScaleBound(float value, int graph_scale_mode) {
  return ScaleBound(value, graph_scale_mode, false);
}

float TopScaleBound(float max, int graph_scale_mode) {
  const float top = ScaleBound(max, graph_scale_mode, true);
  const bool too_small = std::isfinite(top) && !Usable(10000.0f / top);
  return too_small ? RoundScaleBound(0.0f, graph_scale_mode) : top;
}

bool CanPlotRange(float min, float max, int graph_scale_mode) {
  ItemScale scale;
  return MakeItemScale(min, max, graph_scale_mode, scale) && Fits16Bits(PositionOf(min, scale)) &&
         Fits16Bits(PositionOf(max, scale));
}

bool CanPlotItems(const LogTable& table, int graph_scale_mode) {
  for (int item = 1; item <= table.item_count; ++item) {
    if (!CanPlotRange(table.item_min[item], table.item_max[item], graph_scale_mode)) {
      return false;
    }
  }
  return true;
}

void PlotPositions::Extremes(int64_t first, int64_t end, int16_t& lowest, int16_t& highest) const {
  // Kept as singles, which hold the whole-number positions exactly, and converted once at the end.
  const float* values = values_.data();
  float low = lowest;
  float high = highest;
  int64_t i = first;
#if defined(__SSE2__)
  // Four samples at a time, with the operations of PositionOf in its order.
  if (end - first >= 8) {
    const __m128 base = _mm_set1_ps(scale_.base);
    const __m128 factor = _mm_set1_ps(scale_.factor);
    const __m128 origin = _mm_set1_ps(scale_.origin);
    const __m128 whole_shift = _mm_set1_ps(0x1.8p23f);
    __m128 low4 = _mm_set1_ps(low);
    __m128 high4 = _mm_set1_ps(high);
    for (; i + 4 <= end; i += 4) {
      const __m128 y =
          _mm_add_ps(base, _mm_mul_ps(factor, _mm_sub_ps(_mm_loadu_ps(values + i), origin)));
      const __m128 rounded = _mm_sub_ps(_mm_add_ps(y, whole_shift), whole_shift);
      low4 = _mm_min_ps(low4, rounded);
      high4 = _mm_max_ps(high4, rounded);
    }
    // The four lanes folded into one: pairs, then the two pairs.
    low4 = _mm_min_ps(low4, _mm_movehl_ps(low4, low4));
    low4 = _mm_min_ss(low4, _mm_shuffle_ps(low4, low4, 1));
    high4 = _mm_max_ps(high4, _mm_movehl_ps(high4, high4));
    high4 = _mm_max_ss(high4, _mm_shuffle_ps(high4, high4, 1));
    low = _mm_cvtss_f32(low4);
    high = _mm_cvtss_f32(high4);
  }
#endif
  for (; i < end; ++i) {
    const float y = PositionOf(values[i], scale_);
    low = std::min(low, y);
    high = std::max(high, y);
  }
  lowest = static_cast<int16_t>(low);
  highest = static_cast<int16_t>(high);
}

PlotPositions PlotPositionsOf(const LogTable& table, int item, int graph_scale_mode) {
  return PlotPositionsWithin(table.Values(item), table.item_min[item], table.item_max[item],
                             graph_scale_mode);
}

ItemRanges OwnRanges(const LogTable& table) {
  return {table.item_min, table.item_max};
}

PlotPositions PlotPositionsWithin(std::span<const float> values, float min, float max,
                                  int graph_scale_mode) {
  ItemScale scale;
  MakeItemScale(min, max, graph_scale_mode, scale);
  return {values, scale};
}

bool CanChangeMagnification(int64_t last_sample) {
  return last_sample > 1000;
}

void ChangeMagnification(ChartView& view, int magnification, int64_t last_sample) {
  const int old = view.magnification;
  view.magnification = magnification;
  view.scroll_enabled = magnification != 1;
  if (last_sample <= 0) {
    return;
  }
  const double n = static_cast<double>(last_sample);
  view.view_span = RoundHalfEven(n / magnification);
  view.scroll_maximum = RoundHalfEven(static_cast<double>(last_sample - view.view_span) / 10.0);
  view.scroll_large_change = RoundHalfEven(static_cast<double>(view.view_span) / 10.0);
  // The half width N / (2 x magnification) changes by N / 20 x (1/old - 1/new) scroll units; it is
  // taken from the unrounded quotient, not from view_span.
  const double shift =
      static_cast<double>(magnification - 1) / magnification - static_cast<double>(old - 1) / old;
  const int64_t p = RoundHalfEven(shift * n / 20.0 + static_cast<double>(view.scroll_position));
  view.scroll_position = std::clamp<int64_t>(p, 0, std::max<int64_t>(view.scroll_maximum, 0));
}

int64_t FirstVisibleSample(const ChartView& view) {
  return kSamplesPerScrollUnit * view.scroll_position;
}

int64_t ScrollForKey(const ChartView& view, ScrollKey key) {
  const int64_t maximum = std::max<int64_t>(view.scroll_maximum, 0);
  switch (key) {
    case ScrollKey::kPageBack:
      return ScrollChartBack(view.scroll_position, 0, maximum, view.scroll_large_change);
    case ScrollKey::kPageForward:
      return ScrollChartForward(view.scroll_position, 0, maximum, view.scroll_large_change);
    case ScrollKey::kStart:
      return 0;
    case ScrollKey::kEnd:
      return maximum;
  }
  return view.scroll_position;
}

int64_t ChartXToColumn(double x, int64_t view_span, int64_t width_px) {
  if (view_span <= 0) {
    return 0;
  }
  // x * width is exact for whole offsets and the quotient is correctly rounded, so a quotient that
  // is a true half stays one and rounds to even.
  return RoundHalfEven(x * static_cast<double>(width_px) / static_cast<double>(view_span));
}

double ColumnToChartX(double x_px, int64_t view_span, int64_t width_px) {
  if (width_px <= 0) {
    return 0.0;
  }
  return x_px * static_cast<double>(view_span) / static_cast<double>(width_px);
}

int64_t ChartYToRow(double y, int64_t height_px) {
  return RoundHalfEven(y * static_cast<double>(height_px) / kChartHeight);
}

int64_t ChartXToSample(double x, int64_t first_visible_sample) {
  return RoundHalfEven(x + static_cast<double>(first_visible_sample));
}

int64_t WheelStep(int64_t view_span) {
  return RoundHalfEven(static_cast<double>(view_span) / 50.0);
}

int64_t ScrollChartForward(int64_t value, int64_t /*minimum*/, int64_t maximum, int64_t step) {
  return value + step < maximum ? value + step : maximum;
}

int64_t ScrollChartBack(int64_t value, int64_t minimum, int64_t /*maximum*/, int64_t step) {
  return value - step > minimum ? value - step : minimum;
}

int64_t ScrollItemsDown(int64_t value, int64_t minimum, int64_t maximum, int64_t step) {
  return ScrollChartForward(value, minimum, maximum, step);
}

int64_t ScrollItemsUp(int64_t value, int64_t minimum, int64_t maximum, int64_t step) {
  return ScrollChartBack(value, minimum, maximum, step);
}

}  // namespace dravik
