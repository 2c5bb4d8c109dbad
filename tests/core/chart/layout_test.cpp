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

TEST(WindowChromeHeight, ClassicMetrics) {
  EXPECT_EQ(WindowChromeHeight(kClassicCaptionPx, kClassicSizingFramePx), 405);
  EXPECT_EQ(WindowChromeHeight(23, 4, 15.0), 465);
}

TEST(FitOnScreen, KeepsTheWholeWindowOnTheScreen) {
  const Rect screen{0, 450, 28800, 15750};
  struct Case {
    Rect outer;
    Rect fitted;
  };
  for (const Case& c : {
           Case{{300, 600, 10875, 7500}, {300, 600, 10875, 7500}},         // on screen
           Case{{0, 0, 99999999, 40000}, {0, 450, 28800, 15750}},          // larger than it
           Case{{25000, 12000, 10875, 7500}, {17925, 8700, 10875, 7500}},  // past its edges
           Case{{-500, 0, 1000, 1000}, {0, 450, 3850, 4700}},              // below the minimum
       }) {
    ExpectRect(FitOnScreen(c.outer, screen, 3850, 4700), c.fitted.left, c.fitted.top,
               c.fitted.width, c.fitted.height);
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
