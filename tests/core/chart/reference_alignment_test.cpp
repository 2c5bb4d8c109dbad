#include "chart/reference_alignment.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "chart/trace_raster.h"
#include "core/panel/test_log_table.h"

namespace dravik {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// `count` samples `step` ms apart (every seventh step a little longer, as loggers drift), one item
// that wanders.
LogTable Wandering(const char* item, int count, float step, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> change(-3, 3);
  std::vector<float> times;
  std::vector<float> values;
  float value = 50;
  for (int s = 0; s < count; ++s) {
    times.push_back(s == 0 ? 0 : times.back() + step + (s % 7 == 0 ? step / 2 : 0));
    value += change(random);
    values.push_back(value);
  }
  return MakeLogTable({"Time", item}, {times, values});
}

TEST(ChartPositionAt, BetweenTheSamplesInProportion) {
  const LogTable main = MakeLogTable(
      {"Time", "A"},
      {{0, 100, 100, 300, 400, 500, 600, 700, 800, 900, 1000}, std::vector<float>(11, 1)});
  const struct {
    double time_ms;
    std::optional<double> x;
  } cases[] = {{0, 0},   {50, 0.5},  {100, 2}, {200, 2.5},
               {300, 3}, {1000, 10}, {-1, {}}, {1000.5, {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(ChartPositionAt(main, c.time_ms), c.x) << c.time_ms;
    if (c.x) {
      EXPECT_DOUBLE_EQ(TimeAtChartPosition(main, *c.x), c.time_ms == 100 ? 100 : c.time_ms);
    }
  }
}

TEST(CombinedRanges, BothLogsForSharedItemsTheMainLogsOwnElse) {
  const LogTable main = MakeLogTable({"Time", "A", "B"}, {{0, 1}, {5, 8}, {1, 2}});
  ReferenceLog reference;
  reference.table = MakeLogTable({"Time", "a"}, {{0, 1}, {-3, 6}});
  reference.items = MatchReferenceItems(main, reference.table);
  const ItemRanges ranges = CombinedRanges(main, reference);
  EXPECT_EQ(ranges.min, (std::vector<float>{0, -3, 1}));
  EXPECT_EQ(ranges.max, (std::vector<float>{1, 8, 2}));
}

// The reference trace through DrawTraces has the pixels of its dashed polyline drawn segment by
// segment over every overlapping sample, and a main trace over it stays on top, for references
// denser and sparser than the main log, at offsets either way, in whole and zoomed views.
TEST(DrawTraces, ReferenceTraceIsItsDashedPolylineEverySegment) {
  const LogTable main = Wandering("A", 3000, 100, 1);
  const struct {
    int count;
    float step;
    double offset_ms;
    int64_t first;
    int64_t span;
    int width;
  } cases[] = {{5000, 60, 0, 0, 2999, 97},       {5000, 60, -20000, 0, 2999, 300},
               {300, 1000, 15000, 0, 2999, 211}, {5000, 60, 7000, 1200, 150, 160},
               {40, 7000, -3000, 700, 600, 300}, {5000, 60, 400000, 0, 2999, 50},
               {5000, 37, 120, 10, 2989, 1000}};
  for (const auto& c : cases) {
    for (const int height : {120, 9}) {  // few rows: long runs of points on one row
      ReferenceLog reference;
      reference.table = Wandering("a", c.count, c.step, 2);
      reference.items = MatchReferenceItems(main, reference.table);
      reference.offset_ms = c.offset_ms;
      const ItemRanges ranges = CombinedRanges(main, reference);
      const PlotPositions main_y =
          PlotPositionsWithin(main.Values(1), ranges.min[1], ranges.max[1], 0);
      const PlotPositions reference_y =
          PlotPositionsWithin(reference.table.Values(1), ranges.min[1], ranges.max[1], 0);
      const PlotYSummary main_summary = SummarisePlotY(main_y);
      const PlotYSummary reference_summary = SummarisePlotY(reference_y);
      ReferenceColumns columns = PlaceReferenceColumns(main, reference, c.first, c.span, c.width);
      columns.dash_on = 5;
      columns.dash_off = 3;

      std::vector<uint32_t> fast(static_cast<size_t>(c.width) * height, kWhite);
      PixelBuffer fast_buffer{fast.data(), c.width, height, c.width};
      const TraceToDraw traces[] = {{reference_y, &reference_summary, 0xFF0000FF, &columns},
                                    {main_y, &main_summary, 0xFFFF0000, nullptr}};
      TraceScratch scratch;
      DrawTraces(traces, c.first, c.span, fast_buffer, scratch);

      std::vector<uint32_t> slow(fast.size(), kWhite);
      PixelBuffer slow_buffer{slow.data(), c.width, height, c.width};
      std::vector<PixelPoint> points;
      const SampleSpan overlap = OverlapWithMain(main, reference);
      const double shift = ReferenceShiftMs(main, reference);
      for (int64_t k = overlap.first; k <= overlap.last; ++k) {
        points.push_back(
            {ReferenceSampleColumn(main, reference.table, shift, k, c.first, c.span, c.width),
             ChartYToRow(reference_y[k], height)});
      }
      DrawDashedPolylineEverySegment(points, 5, 3, slow_buffer, 0xFF0000FF);
      DrawTraceEverySegment(main_y, c.first, c.span, slow_buffer, 0xFFFF0000);

      int reference_pixels = 0;
      for (size_t i = 0; i < fast.size(); ++i) {
        reference_pixels += slow[i] == 0xFF0000FF ? 1 : 0;
        ASSERT_EQ(fast[i], slow[i])
            << "case offset " << c.offset_ms << " width " << c.width << " height " << height
            << " pixel " << i % c.width << "," << i / c.width;
      }
      EXPECT_EQ(reference_pixels == 0, overlap.empty() || c.offset_ms == 400000) << c.offset_ms;
    }
  }
}

}  // namespace
}  // namespace dravik
