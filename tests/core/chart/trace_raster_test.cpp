#include "chart/trace_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "chart/plot_y_store.h"
#include "chart/scaling.h"
#include "support/address_space_limit.h"

namespace dravik {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGuard = 0x12345678;  // the padding right of each row must stay untouched
// Positions that are the values as they stand, for pictures drawn from chart positions.
constexpr ItemScale kAsWritten{0, 1, 0};

struct Image {
  Image(int width, int height, int padding)
      : pixels(static_cast<size_t>(width + padding) * height, kWhite),
        buffer{pixels.data(), width, height, width + padding} {
    for (int y = 0; y < height; ++y) {
      std::fill_n(pixels.begin() + static_cast<ptrdiff_t>(y) * buffer.stride + width, padding,
                  kGuard);
    }
  }
  bool At(int x, int y) const {
    return pixels[static_cast<size_t>(y) * buffer.stride + x] != kWhite;
  }

  std::vector<uint32_t> pixels;
  PixelBuffer buffer;
};

TEST(DrawLineWithoutLastPixel, LeavesTheEndPointAndClips) {
  Image image(8, 8, 1);
  DrawLineWithoutLastPixel(image.buffer, 0, 0, 3, 1, 1);
  EXPECT_TRUE(image.At(0, 0));
  EXPECT_TRUE(image.At(1, 0));
  EXPECT_TRUE(image.At(2, 1));
  EXPECT_FALSE(image.At(3, 1));

  DrawLineWithoutLastPixel(image.buffer, 5, 5, 5, 5, 1);  // to where the pen stands
  EXPECT_FALSE(image.At(5, 5));

  DrawLineWithoutLastPixel(image.buffer, 6, 5, 6, 1, 1);  // upwards
  for (int y = 2; y <= 5; ++y) {
    EXPECT_TRUE(image.At(6, y)) << y;
  }
  EXPECT_FALSE(image.At(6, 1));

  Image clipped(4, 4, 2);
  DrawLineWithoutLastPixel(clipped.buffer, -5, -5, 10, 10, 1);
  DrawLineWithoutLastPixel(clipped.buffer, 3, -20, 3, 40, 1);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(clipped.At(i, i));
    EXPECT_TRUE(clipped.At(3, i));
  }
  EXPECT_EQ(std::count(clipped.pixels.begin(), clipped.pixels.end(), kGuard), 8);
}

TEST(DrawTraceEverySegment, OneSegmentPerSample) {
  // Height 108 makes a row of every 100 chart units; span 2 on 2 columns.
  const std::vector<float> rows = {1000, 1000, 3000};
  Image image(2, 108, 0);
  DrawTraceEverySegment(PlotPositions(rows, kAsWritten), 0, 2, image.buffer, 1);
  EXPECT_TRUE(image.At(0, 10));
  EXPECT_FALSE(image.At(0, 11));
  for (int y = 10; y < 20; ++y) {
    EXPECT_TRUE(image.At(1, y)) << y;
  }
  EXPECT_FALSE(image.At(1, 20));
  EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 1u), 11);
}

TEST(OpaqueArgb, FromRgb) {
  EXPECT_EQ(OpaqueArgb(MakeRgb(255, 128, 0)), 0xFFFF8000u);
}

enum class Shape { kFlat, kZero, kSpiky, kSteps, kNoise, kWave };

std::vector<float> MakeValues(Shape shape, int64_t count, std::mt19937_64& random) {
  std::uniform_real_distribution<float> uniform(-50.0f, 8000.0f);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<float> values(count);
  float level = uniform(random);
  const float base = uniform(random);
  const double period = 1.0 + std::uniform_real_distribution<double>(0, 500)(random);
  for (int64_t i = 0; i < count; ++i) {
    switch (shape) {
      case Shape::kFlat:
        values[i] = base;
        break;
      case Shape::kZero:
        values[i] = 0;
        break;
      case Shape::kSpiky:
        values[i] = percent(random) < 3 ? uniform(random) : base;
        break;
      case Shape::kSteps:
        if (percent(random) == 0) {
          level = uniform(random);
        }
        values[i] = level;
        break;
      case Shape::kNoise:
        values[i] = uniform(random);
        break;
      case Shape::kWave:
        values[i] = base + 1000.0f * static_cast<float>(std::sin(static_cast<double>(i) / period));
        break;
    }
  }
  return values;
}

// A loaded log of `items` random items with `last_sample` + 1 real samples and the tail.
LogTable MakeLog(int items, int64_t last_sample, std::mt19937_64& random) {
  LogTable table;
  table.item_count = items;
  table.last_sample = last_sample;
  const int64_t count = last_sample + 1 + kTailSamples;
  table.Allocate(items + 1, count);
  table.item_min.assign(items + 1, 0);
  table.item_max.assign(items + 1, 0);
  std::uniform_int_distribution<int> shapes(0, 5);
  for (int k = 1; k <= items; ++k) {
    std::vector<float> values = MakeValues(static_cast<Shape>(shapes(random)), count, random);
    std::fill(values.end() - kTailSamples, values.end(), values[last_sample]);
    std::copy(values.begin(), values.end(), table.Values(k).begin());
    table.item_min[k] = *std::min_element(values.begin(), values.end());
    table.item_max[k] = *std::max_element(values.begin(), values.end());
  }
  return table;
}

TEST(DrawTrace, SamePixelsAsEverySegment) {
  std::mt19937_64 random(20240611);
  std::uniform_int_distribution<int> percent(0, 99);
  constexpr int kItems = 4;
  constexpr uint32_t kColours[kItems] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF000000};
  int cases = 0;
  TraceScratch scratch;
  for (int log = 0; log < 60; ++log) {
    const int64_t last_sample =
        percent(random) < 10 ? std::uniform_int_distribution<int64_t>(20'000, 200'000)(random)
                             : std::uniform_int_distribution<int64_t>(11, 5'000)(random);
    LogTable table = MakeLog(kItems, last_sample, random);
    ASSERT_TRUE(CanPlotItems(table, log % 2));
    PlotYStore plot_y;
    plot_y.Keep(table, std::vector<int>{1, 2, 3, 4}, log % 2);
    const int64_t count = table.SampleCount();
    for (int view_case = 0; view_case < 60; ++view_case, ++cases) {
      ChartView view;
      ChangeMagnification(view, 1, last_sample);
      ChangeMagnification(view, kMagnifications[percent(random) % kMagnifications.size()],
                          last_sample);
      const int where = percent(random);
      view.scroll_position = where < 30 ? view.scroll_maximum
                                        : (where < 40 ? 0
                                                      : std::uniform_int_distribution<int64_t>(
                                                            0, view.scroll_maximum)(random));
      int64_t first = FirstVisibleSample(view);
      if (where >= 95) {  // a view running past the end of the positions
        first = std::uniform_int_distribution<int64_t>(std::max<int64_t>(count - view.view_span, 0),
                                                       count - 1)(random);
      }
      const int width = std::uniform_int_distribution<int>(1, 700)(random);
      const int height = std::uniform_int_distribution<int>(1, 500)(random);
      Image every(width, height, 3);
      Image fast(width, height, 3);
      Image together(width, height, 3);
      std::vector<TraceToDraw> traces;
      for (int k = 1; k <= kItems; ++k) {
        if (percent(random) < 25) {
          continue;
        }
        DrawTraceEverySegment(plot_y.PlotY(k), first, view.view_span, every.buffer,
                              kColours[k - 1]);
        DrawTrace(plot_y.PlotY(k), plot_y.Summary(k), first, view.view_span, fast.buffer,
                  kColours[k - 1]);
        traces.push_back({plot_y.PlotY(k), &plot_y.Summary(k), kColours[k - 1]});
      }
      DrawTraces(traces, first, view.view_span, together.buffer, scratch);
      ASSERT_EQ(every.pixels, fast.pixels)
          << "log " << log << " last sample " << last_sample << " first " << first << " span "
          << view.view_span << " size " << width << "x" << height;
      ASSERT_EQ(every.pixels, together.pixels) << "all traces at once, log " << log;
    }
  }
  EXPECT_EQ(cases, 3600);
}

TEST(DrawTrace, EmptyViewsDrawNothing) {
  const std::vector<float> rows(100, 5000);
  const PlotPositions plot_y(rows, kAsWritten);
  const PlotYSummary summary = SummarisePlotY(plot_y);
  Image image(10, 10, 0);
  DrawTrace(plot_y, summary, 0, 0, image.buffer, 1);
  DrawTrace(plot_y, summary, 100, 50, image.buffer, 1);
  DrawTrace(plot_y, summary, -1, 50, image.buffer, 1);
  Image zero(0, 10, 0);
  DrawTrace(plot_y, summary, 0, 50, zero.buffer, 1);
  EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), kWhite), 100);
}

// The items asked for get their positions and the summary of them, the same whatever number of
// threads and size of ranges share the samples out and as taken one sample at a time; items no
// longer asked for are forgotten, items out of range ignored.
TEST(PlotYStore, KeepsThePositionsAndSummariesOfTheItemsAskedFor) {
  std::mt19937_64 random(7);
  LogTable table = MakeLog(5, 9'000, random);
  ASSERT_TRUE(CanPlotItems(table, 0));
  for (const int threads : {1, 2, 3}) {
    for (const int64_t range_samples : {int64_t{0}, int64_t{1}, int64_t{5000}}) {
      SCOPED_TRACE(testing::Message() << threads << " threads, ranges of " << range_samples);
      PlotYStore plot_y;
      plot_y.Keep(table, std::vector<int>{4, 0, 2, 9, 5, 4}, 0, threads, range_samples);
      plot_y.Keep(table, std::vector<int>{2, 3, 4}, 0, threads, range_samples);
      EXPECT_TRUE(plot_y.PlotY(5).empty());
      EXPECT_TRUE(plot_y.PlotY(1).empty());
      for (const int item : {2, 3, 4}) {
        const PlotPositions& kept = plot_y.PlotY(item);
        ASSERT_EQ(kept.size(), table.SampleCount());
        const PlotYSummary& summary = plot_y.Summary(item);
        constexpr int64_t kBlock = PlotYSummary::kBlockSamples;
        for (int64_t b = 0; b * kBlock < kept.size(); ++b) {
          int16_t lowest = kept[b * kBlock];
          int16_t highest = lowest;
          for (int64_t s = b * kBlock; s < std::min(kept.size(), (b + 1) * kBlock); ++s) {
            lowest = std::min(lowest, kept[s]);
            highest = std::max(highest, kept[s]);
          }
          ASSERT_EQ(summary.block_min[b], lowest) << "item " << item << " block " << b;
          ASSERT_EQ(summary.block_max[b], highest) << "item " << item << " block " << b;
        }
        const PlotYSummary alone = SummarisePlotY(kept);
        EXPECT_EQ(summary.group_min, alone.group_min) << "item " << item;
        EXPECT_EQ(summary.group_max, alone.group_max) << "item " << item;
      }
    }
  }
}

// An item whose summary cannot be had for want of memory is left out and reported, not drawn
// half: the table's 2 GB are only reserved, and the limit leaves no room for the summary's 16 MB.
// Run in a process of its own, whose heap holds no memory freed by earlier tests.
TEST(PlotYStoreDeathTest, LeavesOutAnItemWhoseSummaryFindsNoMemory) {
  if (kUnderAddressSanitizer) {
    GTEST_SKIP() << "the address sanitizer needs far more address space than the limit leaves";
  }
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto keep_under_limit = [] {
    LogTable table;
    table.item_count = 1;
    table.last_sample = (int64_t{1} << 28) - 1 - kTailSamples;
    table.Allocate(2, table.SampleCount());
    table.item_min.assign(2, 0);
    table.item_max.assign(2, 100);
    PlotYStore plot_y;
    std::vector<int> left_out;
    {
      const AddressSpaceLimit limit(1 << 20);
      left_out = plot_y.Keep(table, std::vector<int>{1}, 0);
    }
    return left_out == std::vector<int>{1} && plot_y.PlotY(1).empty();
  };
  EXPECT_EXIT(std::exit(keep_under_limit() ? 0 : 1), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace dravik
