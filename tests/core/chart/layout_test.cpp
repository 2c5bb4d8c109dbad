#include "chart/layout.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

void ExpectRect(const Rect& rect, int32_t left, int32_t top, int32_t width, int32_t height) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.width, width);
  EXPECT_EQ(rect.height, height);
}

// The time line and `items` item lines.
std::vector<ReadoutLine> Lines(int items) {
  std::vector<ReadoutLine> lines{{"Time: 1", 0}};
  for (int i = 1; i <= items; ++i) {
    lines.push_back({"item" + std::to_string(100 + i), 0});
  }
  return lines;
}

TEST(WindowChromeHeight, ClassicMetrics) {
  EXPECT_EQ(WindowChromeHeight(kClassicCaptionPx, kClassicSizingFramePx), 405);
  EXPECT_EQ(WindowChromeHeight(23, 4, 15.0), 465);
}

TEST(FitOnScreen, KeepsTheWholeWindowOnTheScreen) {
  const Rect screen{0, 450, 28800, 15750};
  struct Case {
    Rect outer;
    int32_t min_width, min_height;
    Rect fitted;
  };
  for (const Case& c : {
           // The main window.
           Case{{300, 600, 10875, 7500}, 3850, 4700, {300, 600, 10875, 7500}},  // on screen
           Case{{0, 0, 99999999, 40000}, 3850, 4700, {0, 450, 28800, 15750}},   // larger than it
           Case{{25000, 12000, 10875, 7500}, 3850, 4700, {17925, 8700, 10875, 7500}},  // past it
           Case{{-500, 0, 1000, 1000}, 3850, 4700, {0, 450, 3850, 4700}},  // below the minimum
           // The numeric display: hand-edited, saved on a larger screen, on a screen that shrank.
           Case{{30000, 30000, 99999999, 99999999}, 5790, 965, {0, 450, 28800, 15750}},
           Case{{20000, 9000, 45000, 30000}, 5790, 965, {0, 450, 28800, 15750}},
           Case{{30000, 14000, 8000, 6000}, 5790, 965, {20800, 10200, 8000, 6000}},
       }) {
    ExpectRect(FitOnScreen(c.outer, screen, c.min_width, c.min_height), c.fitted.left, c.fitted.top,
               c.fitted.width, c.fitted.height);
  }
}

TEST(LayoutHoverReadout, ColumnsWhenTallAndACountOfWhatDoesNotFit) {
  // Every byte 10 px wide ("Time: 1", "item101" 70 px; "…他 6 項目" 150), lines 20 px high and no
  // colour sample: one column of n lines is 78 x (20 n + 8).
  const TextMeasure width = [](std::string_view text) {
    return 10.0 * static_cast<double>(text.size());
  };
  HoverMetrics metrics;
  metrics.line_height_px = 20;
  struct Case {
    int items;
    Rect area;
    int pointer_x, pointer_y;
    size_t shown;  // lines, "…他" included
    int rows;
    Rect box;
    const char* last;  // the last line shown
  };
  for (const Case& c : {
           Case{2, {0, 0, 1000, 800}, 100, 100, 3, 3, {116, 116, 78, 68}, "item102"},
           // The area's right and lower edges turn it to the pointer's other side.
           Case{2, {0, 0, 1000, 800}, 950, 780, 3, 3, {856, 696, 78, 68}, "item102"},
           // 40 lines, at most 19 a column: three columns of 14.
           Case{39, {0, 0, 1000, 400}, 10, 10, 40, 14, {26, 26, 242, 288}, "item139"},
           // Beyond 64 items the rest are counted.
           Case{100, {0, 0, 2000, 800}, 10, 10, 66, 33, {26, 26, 250, 668}, "…他 36 項目"},
           // Too narrow for a second column: the items that do not fit are counted.
           Case{10, {0, 0, 159, 128}, 10, 10, 6, 6, {1, 0, 158, 128}, "…他 6 項目"},
       }) {
    const HoverLayout layout =
        LayoutHoverReadout(Lines(c.items), width, metrics, c.area, c.pointer_x, c.pointer_y);
    ASSERT_EQ(layout.lines.size(), c.shown) << c.items;
    EXPECT_EQ(layout.lines.back().text, c.last) << c.items;
    EXPECT_EQ(layout.rows, c.rows) << c.items;
    ExpectRect(layout.box, c.box.left, c.box.top, c.box.width, c.box.height);
  }
}

TEST(LayoutMainWindow, ChartLeftAndFramesRight) {
  const MainLayout layout = LayoutMainWindow(10695, 9300, 405);
  EXPECT_EQ(layout.window_width, 10695);
  EXPECT_EQ(layout.window_height, 9300);
  ExpectRect(layout.back, 120, 120, 6720, 8400);
  ExpectRect(GraphRect(layout.back, 700), 700, 0, 6020, 8400);
  ExpectRect(layout.scroll_x, 120, 8505, 6720, 255);
  ExpectRect(layout.select_item, 6960, 120, 3495, 5175);
  ExpectRect(layout.command, 6960, 5280, 3495, 1695);
  ExpectRect(layout.fuel_efficient, 6960, 7080, 3495, 1695);
}

TEST(LayoutMainWindow, SnapsToTheMinimumAndHidesTheChart) {
  for (const auto& [width, height] : {std::pair{3850, 4700}, std::pair{3000, 4000}}) {
    const MainLayout layout = LayoutMainWindow(width, height, 405);
    EXPECT_EQ(layout.window_width, 3850);
    EXPECT_EQ(layout.window_height, 4700);
    EXPECT_EQ(layout.back.width, 0);
    EXPECT_EQ(GraphRect(layout.back, 100).width, 0);
    ExpectRect(layout.scroll_x, 120, layout.back.height + 105, 0, 255);
    EXPECT_EQ(layout.command.left, 115);
    EXPECT_EQ(layout.command.top, 680);
  }
}

TEST(LayoutMainWindow, LargeWindowsDoNotWrap) {
  const MainLayout layout = LayoutMainWindow(60000, 40000, 405);
  EXPECT_EQ(layout.back.width, 56025);
  EXPECT_EQ(GraphRect(layout.back, 36100).width, 56025 - 36100);
  EXPECT_EQ(layout.fuel_efficient.top, 40000 - 2325 + 105);
}

TEST(GraphRect, BesideTheStrip) {
  ExpectRect(GraphRect({120, 120, 6720, 8400}, 100), 100, 0, 6620, 8400);
  ExpectRect(GraphRect({120, 120, 500, 8400}, 700), 700, 0, 0, 8400);
}

}  // namespace
}  // namespace dravik
