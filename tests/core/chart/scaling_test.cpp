#include "chart/scaling.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(RoundScaleBound, CurrentAndOldTables) {
  struct Case {
    float value;
    float current;
    float old;
  };
  const Case cases[] = {
      {6500, 7000, 7000},
      {100, 120, 200},
      {7.3f, 8, 8},
      {0.25f, 0.3f, 0.3f},
      {0.7f, 0.8f, 0.8f},
      {12, 14, 20},
      {-345, -400, -400},
      {-340, -400, -400},
      {0, 1, 1},
      {0.00005f, 0.00005f, 0.00005f},
      {0.000001f, 0, 0},
      {-995, -1000, -1000},
      {0.01f, 0.012f, 0.02f},
      {5, 6, 6},
      {-3, -3.5f, -4},
      {30, 35, 40},
      {99, 120, 100},
      {1e9f, 1.2e9f, 2e9f},
      {0.001f, 0.0012f, 0.002f},
      {-0.000001f, -0.00001f, -0.00001f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundScaleBound(c.value, 0), c.current) << c.value;
    EXPECT_EQ(RoundScaleBound(c.value, 1), c.old) << c.value;
  }
}

TEST(RoundScaleBound, EveryRowOfTheCurrentTable) {
  const std::vector<std::pair<int, int>> rows = {
      {10, 12}, {11, 12}, {12, 14}, {19, 20},  {20, 25},  {23, 25}, {24, 30},
      {28, 30}, {29, 35}, {34, 40}, {39, 45},  {43, 50},  {48, 60}, {57, 60},
      {58, 70}, {67, 80}, {77, 90}, {86, 100}, {95, 100}, {96, 120}};
  for (const auto& [figure, bound] : rows) {
    EXPECT_EQ(RoundScaleBound(static_cast<float>(figure) * 10, 0), static_cast<float>(bound) * 10)
        << figure;
  }
}

TEST(RoundScaleBound, BeyondTheSingleRangeIsInfinite) {
  EXPECT_TRUE(std::isinf(RoundScaleBound(3.3e38f, 0)));
}

LogTable MakeTable(const std::vector<std::vector<float>>& items) {
  LogTable table;
  const int64_t samples = static_cast<int64_t>(items[0].size());
  table.item_count = static_cast<int>(items.size());
  table.last_sample = samples - 1 - kTailSamples;
  table.Allocate(table.item_count + 1, samples);
  table.item_min.assign(items.size() + 1, 0);
  table.item_max.assign(items.size() + 1, 0);
  for (int k = 1; k <= table.item_count; ++k) {
    const std::vector<float>& v = items[k - 1];
    std::copy(v.begin(), v.end(), table.Values(k).begin());
    table.item_min[k] = *std::min_element(v.begin(), v.end());
    table.item_max[k] = *std::max_element(v.begin(), v.end());
  }
  std::fill(table.Values(0).begin(), table.Values(0).end(), 0.0f);
  return table;
}

std::vector<float> Padded(std::vector<float> values) {
  const float last = values.back();
  values.insert(values.end(), kTailSamples, last);
  return values;
}

PlotPositions PlotYOf(const LogTable& table, int item, int graph_scale_mode) {
  return PlotPositionsOf(table, item, graph_scale_mode);
}

TEST(PlotPositions, MapsEachRangeOntoTheBand) {
  LogTable table = MakeTable({Padded({-3, 0, 5, 4}), Padded({0, 0, 0, 0}),
                              Padded({0, 3500, 6500, 6000}), Padded({-4, -2, -1, 0})});
  ASSERT_TRUE(CanPlotItems(table, 0));
  const auto y1 = PlotYOf(table, 1, 0);
  EXPECT_EQ(y1[0], 9874);  // 10400 - 0.5 x 10000 / 9.5
  EXPECT_EQ(y1[1], 6716);
  EXPECT_EQ(y1[2], 1453);
  EXPECT_EQ(y1[3], 2505);
  EXPECT_EQ(y1[13], 2505);  // the tail repeats the last sample
  EXPECT_EQ(PlotYOf(table, 2, 0)[2], 10400);
  EXPECT_EQ(PlotYOf(table, 3, 0)[1], 5400);
  EXPECT_EQ(PlotYOf(table, 3, 0)[2], 1114);
  const auto y4 = PlotYOf(table, 4, 0);  // -4 .. 0 has 0 at the top: B = -4.5
  EXPECT_EQ(y4[3], 400);
  EXPECT_EQ(y4[0], 9289);  // 400 + (10000 / -4.5) x -4
}

TEST(PlotPositions, OldRoundingWidensTheRange) {
  LogTable table = MakeTable({Padded({-3, 0, 5, 1})});
  ASSERT_TRUE(CanPlotItems(table, 1));
  EXPECT_EQ(PlotYOf(table, 1, 1)[1], 6400);  // B = -4, T = 6
}

// Tiny values of items without negative values take a figure of two digits at a lower exponent;
// a bound the band cannot be divided by draws the item as if all its values were 0.
TEST(TopScaleBound, TinyValuesKeepTwoFigures) {
  struct Case {
    float max;
    float current;
    float old;
  };
  const Case cases[] = {
      {6500, 7000, 7000},
      {0.00005f, 0.00005f, 0.00005f},
      {0.000012f, 0.00001f, 0.00001f},
      {9.99e-6f, 1.2e-5f, 1e-5f},
      {3.1e-6f, 3.5e-6f, 4e-6f},
      {3.7e-29f, 4e-29f, 4e-29f},
      {1e-36f, 1, 1},
      {0, 1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TopScaleBound(c.max, 0), c.current) << c.max;
    EXPECT_EQ(TopScaleBound(c.max, 1), c.old) << c.max;
  }
  EXPECT_EQ(RoundScaleBound(3.1e-6f, 0), 0);  // items with negative values keep their bounds
}

TEST(CanPlotItems, FailsWhenARangeCannotBeScaled) {
  LogTable tiny = MakeTable({Padded({0, 3.7e-29f, 1e-36f, 0}), Padded({0, 1e-36f, 0, 0})});
  ASSERT_TRUE(CanPlotItems(tiny, 0));
  LogTable tiny_with_negatives = MakeTable({Padded({-0.000001f, 0.000001f, 0, 0})});
  EXPECT_FALSE(CanPlotItems(tiny_with_negatives, 0));
  EXPECT_EQ(PlotYOf(tiny, 1, 0)[1], 1150);   // 3.7 of 4
  EXPECT_EQ(PlotYOf(tiny, 2, 0)[1], 10400);  // drawn as 0 of 0..1
  LogTable huge = MakeTable({Padded({-3e38f, 3e38f, 0, 0})});
  EXPECT_FALSE(CanPlotItems(huge, 0));
}

TEST(ChangeMagnification, KeepsTheCentreAndClamps) {
  ChartView view;
  ChangeMagnification(view, 1, 10000);
  EXPECT_EQ(view.view_span, 10000);
  EXPECT_EQ(view.scroll_maximum, 0);
  EXPECT_FALSE(view.scroll_enabled);
  ChangeMagnification(view, 10, 10000);
  EXPECT_EQ(view.view_span, 1000);
  EXPECT_EQ(view.scroll_maximum, 900);
  EXPECT_EQ(view.scroll_large_change, 100);
  EXPECT_EQ(view.scroll_position, 450);
  EXPECT_TRUE(view.scroll_enabled);
  EXPECT_EQ(FirstVisibleSample(view), 4500);
  ChangeMagnification(view, 100, 10000);  // 450 + 500 x (1/10 - 1/100) = 495
  EXPECT_EQ(view.scroll_position, 495);
  view.scroll_position = 0;
  ChangeMagnification(view, 10, 10000);  // p is negative
  EXPECT_EQ(view.scroll_position, 0);
  view.scroll_position = 900;
  ChangeMagnification(view, 100, 10000);
  EXPECT_EQ(view.scroll_position, 945);
  EXPECT_EQ(view.scroll_maximum, 990);
  ChangeMagnification(view, 1, 10000);
  EXPECT_EQ(view.scroll_position, 0);
  EXPECT_FALSE(view.scroll_enabled);
}

TEST(ChangeMagnification, WithoutALogOnlyTheEnablingChanges) {
  ChartView view;
  ChangeMagnification(view, 5, 0);
  EXPECT_TRUE(view.scroll_enabled);
  EXPECT_EQ(view.magnification, 5);
  EXPECT_EQ(view.view_span, 0);
  EXPECT_EQ(view.scroll_maximum, 0);
}

TEST(ChangeMagnification, LongLogsScrollBeyondSixteenBits) {
  ChartView view;
  ChangeMagnification(view, 1, 20'000'000);
  ChangeMagnification(view, 100, 20'000'000);
  EXPECT_EQ(view.view_span, 200'000);
  EXPECT_EQ(view.scroll_maximum, 1'980'000);
  EXPECT_EQ(view.scroll_position, 990'000);
}

TEST(PixelMapping, HalvesGoToEven) {
  const std::vector<std::pair<int64_t, int64_t>> columns = {{0, 0}, {1, 0},     {3, 2},     {5, 2},
                                                            {7, 4}, {999, 500}, {1000, 500}};
  for (const auto& [offset, column] : columns) {
    EXPECT_EQ(ChartXToColumn(static_cast<double>(offset), 1000, 500), column) << offset;
  }
  EXPECT_EQ(ChartYToRow(400, 540), 20);
  EXPECT_EQ(ChartYToRow(10, 540), 0);  // 0.5
  EXPECT_EQ(ChartYToRow(30, 540), 2);  // 1.5
  EXPECT_EQ(ChartXToSample(0.5, 0), 0);
  EXPECT_EQ(ChartXToSample(1.5, 0), 2);
  EXPECT_EQ(ChartXToSample(120.4, 4500), 4620);
  EXPECT_EQ(ChartXToSample(-0.6, 0), -1);
  EXPECT_DOUBLE_EQ(ColumnToChartX(250, 1000, 500), 500.0);
}

TEST(WheelSteps, StepAndClamp) {
  EXPECT_EQ(WheelStep(25), 0);
  EXPECT_EQ(WheelStep(26), 1);
  EXPECT_EQ(WheelStep(75), 2);
  EXPECT_EQ(WheelStep(125), 2);
  EXPECT_EQ(ScrollChartForward(895, 0, 900, 2), 897);
  EXPECT_EQ(ScrollChartForward(899, 0, 900, 2), 900);
  EXPECT_EQ(ScrollChartForward(900, 0, 900, 2), 900);
  EXPECT_EQ(ScrollChartBack(5, 0, 900, 2), 3);
  EXPECT_EQ(ScrollChartBack(1, 0, 900, 2), 0);
  EXPECT_EQ(ScrollChartBack(0, 0, 900, 2), 0);
  EXPECT_EQ(ScrollItemsUp(50, 0, 1000), 0);
  EXPECT_EQ(ScrollItemsUp(500, 0, 1000), 380);
  EXPECT_EQ(ScrollItemsDown(500, 0, 1000), 620);
  EXPECT_EQ(ScrollItemsDown(900, 0, 1000), 1000);
  EXPECT_EQ(ScrollItemsDown(0, 0, 0), 0);  // an empty range stays put
}

TEST(ScrollForKey, PagesByTheLargeChangeWithinTheBar) {
  ChartView view;
  view.scroll_maximum = 900;
  view.scroll_large_change = 100;
  struct Case {
    int64_t position;
    ScrollKey key;
    int64_t want;
  };
  for (const Case& c :
       {Case{450, ScrollKey::kPageForward, 550}, Case{850, ScrollKey::kPageForward, 900},
        Case{450, ScrollKey::kPageBack, 350}, Case{50, ScrollKey::kPageBack, 0},
        Case{450, ScrollKey::kStart, 0}, Case{450, ScrollKey::kEnd, 900}}) {
    view.scroll_position = c.position;
    EXPECT_EQ(ScrollForKey(view, c.key), c.want) << c.position;
  }
}

}  // namespace
}  // namespace dravik
