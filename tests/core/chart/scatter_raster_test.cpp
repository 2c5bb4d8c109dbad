#include "chart/scatter_raster.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "chart/trace_raster.h"
#include "core/panel/test_log_table.h"

namespace dravik {
namespace {

TEST(RoundTicks, StepsOfOneTwoOrFiveTimesAPowerOfTen) {
  struct Case {
    PlotRange range;
    int max_ticks;
    std::vector<double> ticks;
  };
  const Case cases[] = {
      {{0, 0.75}, 8, {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7}},
      {{480, 7520}, 8, {1000, 2000, 3000, 4000, 5000, 6000, 7000}},
      {{-3, 7}, 5, {-2, 0, 2, 4, 6}},
      {{-3, 7}, 2, {0, 5}},
      {{10.02, 10.08}, 4, {10.02, 10.04, 10.06, 10.08}},
      {{1, 1}, 5, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundTicks(c.range, c.max_ticks), c.ticks) << c.range.min << ".." << c.range.max;
  }
}

TEST(AxisRangeOf, TheDataRangeOrAroundAConstant) {
  const std::pair<PlotRange, PlotRange> cases[] = {
      {{2, 52}, {1, 53}}, {{50, 50}, {45, 55}}, {{-50, -50}, {-55, -45}}, {{0, 0}, {-1, 1}}};
  for (const auto& [data, axis] : cases) {
    const PlotRange r = AxisRangeOf(data.min, data.max);
    EXPECT_DOUBLE_EQ(r.min, axis.min);
    EXPECT_DOUBLE_EQ(r.max, axis.max);
  }
}

TEST(ValueToPixel, EndsOfTheRangeOnTheFirstAndLastPixel) {
  const PlotRange range{100, 200};
  EXPECT_EQ(ValueToPixel(range, 101, 100), 0);
  EXPECT_EQ(ValueToPixel(range, 101, 200), 100);
  EXPECT_EQ(ValueToPixel(range, 101, 150.5), 50);  // halves to even
  EXPECT_DOUBLE_EQ(PixelToValue(range, 101, 25), 125);
  const PlotRange zoom = ZoomRange(range, 101, 60, 20);
  EXPECT_DOUBLE_EQ(zoom.min, 120);
  EXPECT_DOUBLE_EQ(zoom.max, 160);
}

// Samples 0..n-1 all at x = y = 1 but the last two, with z = the sample number.
LogTable PileLog(int n) {
  std::vector<std::vector<float>> columns(4);
  for (int s = 0; s < n; ++s) {
    columns[0].push_back(static_cast<float>(s));
    columns[1].push_back(s >= n - 2 ? 0.0f : 1.0f);
    columns[2].push_back(s >= n - 2 ? 0.0f : 1.0f);
    columns[3].push_back(static_cast<float>(s));
  }
  return MakeLogTable({"Time", "X", "Y", "Z"}, columns);
}

TEST(RenderScatter, TheLastSampleIsOnTopWhateverTheThreads) {
  const int n = 1000;
  const LogTable log = PileLog(n);
  ScatterRequest request;
  request.x_item = 1;
  request.y_item = 2;
  request.colour_item = 3;
  request.selection = WholeRange(0, n - 1);
  request.x_range = {0, 1};
  request.y_range = {0, 1};
  request.colour_range = {0, 997};
  request.width_px = 10;
  request.height_px = 5;
  for (const int threads : {1, 2, 3}) {
    const ScatterImage image = RenderScatter(log, request, threads);
    // (1, 1) is the top right pixel; sample 997 is the last there: the top of the scale.
    EXPECT_EQ(image.argb[9], OpaqueArgb(ValueScaleColour(1))) << threads;
    EXPECT_EQ(image.argb[4 * 10], OpaqueArgb(ValueScaleColour(1))) << threads;  // (0, 0)
    EXPECT_EQ(image.argb[5], 0u) << threads;
  }
  request.selection.filter_item = 3;
  request.selection.filter_max = 500;
  EXPECT_EQ(RenderScatter(log, request, 2).argb[9], OpaqueArgb(ValueScaleColour(500.0 / 997)));
  EXPECT_EQ(RenderScatter(log, request, 2).argb[4 * 10], 0u);
}

TEST(RenderScatter, DensityCountsTheSamplesOnEachPixel) {
  const LogTable log = PileLog(12);
  ScatterRequest request;
  request.x_item = 1;
  request.y_item = 2;
  request.selection = WholeRange(0, 11);
  request.x_range = {0, 1};
  request.y_range = {0, 1};
  request.width_px = 4;
  request.height_px = 4;
  request.point_px = 3;  // the point at (0, 0) covers 2 x 2 pixels inside the plot
  const ScatterImage image = RenderScatter(log, request, 2);
  EXPECT_EQ(image.max_density, 10);
  EXPECT_EQ(image.argb[3], OpaqueArgb(DensityScaleColour(1)));
  const uint32_t two = OpaqueArgb(DensityScaleColour(std::log1p(2.0) / std::log1p(10.0)));
  EXPECT_EQ(image.argb[3 * 4], two);
  EXPECT_EQ(image.argb[2 * 4 + 1], two);
  EXPECT_EQ(image.argb[1 * 4 + 1], 0u);
}

}  // namespace
}  // namespace dravik
