#include "chart/scale_labels.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dravik {
namespace {

std::vector<std::string> Labels(float min, float max, int graph_scale_mode = 0) {
  std::vector<std::string> labels;
  for (int t = 10; t >= 0; --t) {
    labels.push_back(FormatScaleLabel(ScaleTickValue(t, max, min, graph_scale_mode), max, min,
                                      graph_scale_mode));
  }
  return labels;
}

using Texts = std::vector<std::string>;

TEST(FormatScaleLabel, LabelsFromTopToBottom) {
  EXPECT_EQ(Labels(0, 6500), (Texts{"7000", "6300", "5600", "4900", "4200", "3500", "2800", "2100",
                                    "1400", "700", "0"}));
  EXPECT_EQ(Labels(0, 0.7f), (Texts{"0.8", "0.72", "0.64", "0.56", "0.48", "0.4", "0.32", "0.24",
                                    "0.16", "0.08", "0"}));
  EXPECT_EQ(Labels(0, 30),
            (Texts{"35", "31.5", "28", "24.5", "21", "17.5", "14", "10.5", "7", "3.5", "0"}));
  EXPECT_EQ(Labels(-3, 5), (Texts{"6.0", "5.05", "4.1", "3.15", "2.2", "1.25", "0.3", "-0.65",
                                  "-1.6", "-2.55", "-3.5"}));
  EXPECT_EQ(Labels(-3, 5, 1),
            (Texts{"6.0", "5.0", "4.0", "3.0", "2.0", "1.0", "0", "-1.0", "-2.0", "-3.0", "-4.0"}));
  // A range below 0 has 0 at the top.
  EXPECT_EQ(Labels(-4, 0), (Texts{"0", "-0.45", "-0.9", "-1.35", "-1.8", "-2.25", "-2.7", "-3.15",
                                  "-3.6", "-4.05", "-4.5"}));
  // A bound of 100 or more floors every label, toward minus infinity below 0.
  EXPECT_EQ(Labels(-3, 150),
            (Texts{"160", "143", "127", "110", "94", "78", "61", "45", "29", "12", "-4"}));
  // All values 0: the range is 0 to 1.
  EXPECT_EQ(Labels(0, 0),
            (Texts{"1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0"}));
}

TEST(FormatScaleLabel, LargeBoundsUseTheGeneralForm) {
  EXPECT_EQ(FormatScaleLabel(1.2e9f, 1e9f, 0, 0), "1.2E+09");
  EXPECT_EQ(FormatScaleLabel(0.0f, 1e9f, 0, 0), "0");
}

TEST(BuildScaleStrip, AxesFromTheChartOutwards) {
  LogTable table;
  table.item_count = 3;
  table.item_min = {0, 0, -3, 0};
  table.item_max = {0, 6500, 5, 30};
  const std::vector<int> two = {1, 3};
  const ScaleStrip strip = BuildScaleStrip(table, two, 0);
  EXPECT_EQ(strip.width_twips, 700);
  EXPECT_EQ(strip.scale_width, 70);
  ASSERT_EQ(strip.axes.size(), 2u);
  EXPECT_EQ(strip.axes[0].item, 1);
  EXPECT_EQ(strip.axes[0].x, 60);
  EXPECT_EQ(strip.axes[1].item, 3);
  EXPECT_EQ(strip.axes[1].x, 30);
  const ScaleTick& top = strip.axes[1].ticks.front();
  EXPECT_EQ(top.y, 400);
  EXPECT_EQ(top.label, "35");
  EXPECT_EQ(top.label_x, 5);
  EXPECT_EQ(top.label_y, 650);
  const ScaleTick& bottom = strip.axes[0].ticks.back();
  EXPECT_EQ(bottom.y, 10400);
  EXPECT_EQ(bottom.label, "0");
  EXPECT_EQ(bottom.label_y, 10650);

  const ScaleStrip empty = BuildScaleStrip(table, {}, 0);
  EXPECT_EQ(empty.width_twips, 100);
  EXPECT_TRUE(empty.axes.empty());

  // Beyond 108 visible items the strip keeps growing instead of wrapping.
  table.item_count = 120;
  table.item_min.assign(121, 0);
  table.item_max.assign(121, 1);
  std::vector<int> all(120);
  for (int k = 1; k <= 120; ++k) {
    all[k - 1] = k;
  }
  const ScaleStrip wide = BuildScaleStrip(table, all, 0);
  EXPECT_EQ(wide.width_twips, 36100);
  EXPECT_EQ(wide.axes.back().x, 30);
}

}  // namespace
}  // namespace dravik
