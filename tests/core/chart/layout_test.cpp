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
  const MainLayout layout = LayoutMainWindow(10695, 9300, 405, 700);
  EXPECT_EQ(layout.window_width, 10695);
  EXPECT_EQ(layout.window_height, 9300);
  ExpectRect(layout.back, 120, 120, 6720, 8400);
  ExpectRect(layout.scale, 0, 0, 700, 8400);
  ExpectRect(layout.graph, 700, 0, 6020, 8400);
  ExpectRect(layout.scroll_x, 120, 8505, 6720, 255);
  ExpectRect(layout.select_item, 6960, 120, 3495, 5175);
  ExpectRect(layout.command, 6960, 5280, 3495, 1695);
  ExpectRect(layout.fuel_efficient, 6960, 7080, 3495, 1695);
}

TEST(LayoutMainWindow, SnapsToTheMinimumAndHidesTheChart) {
  for (const auto& [width, height] : {std::pair{3850, 4700}, std::pair{3000, 4000}}) {
    const MainLayout layout = LayoutMainWindow(width, height, 405, 100);
    EXPECT_EQ(layout.window_width, 3850);
    EXPECT_EQ(layout.window_height, 4700);
    EXPECT_EQ(layout.back.width, 0);
    EXPECT_EQ(layout.graph.width, 0);
    ExpectRect(layout.scroll_x, 120, layout.back.height + 105, 0, 255);
    EXPECT_EQ(layout.command.left, 115);
    EXPECT_EQ(layout.command.top, 680);
  }
}

TEST(LayoutMainWindow, LargeWindowsDoNotWrap) {
  const MainLayout layout = LayoutMainWindow(60000, 40000, 405, 36100);
  EXPECT_EQ(layout.back.width, 56025);
  EXPECT_EQ(layout.graph.width, 56025 - 36100);
  EXPECT_EQ(layout.fuel_efficient.top, 40000 - 2325 + 105);
}

TEST(GraphRect, BesideTheStrip) {
  ExpectRect(GraphRect({120, 120, 6720, 8400}, 100), 100, 0, 6620, 8400);
  ExpectRect(GraphRect({120, 120, 500, 8400}, 700), 700, 0, 0, 8400);
}

TEST(LayoutMaxViewWindow, ListFillsAndButtonsMeetInTheMiddle) {
  const MaxViewLayout layout = LayoutMaxViewWindow(8000, 5070, 405);
  EXPECT_EQ(layout.window_height, 5070);
  ExpectRect(layout.list, 0, 0, 7880, 4095);
  ExpectRect(layout.close_button, 2425, 4200, 1455, 375);
  ExpectRect(layout.copy_button, 4000, 4200, 1455, 375);
  EXPECT_EQ(LayoutMaxViewWindow(8001, 5070, 405).copy_button.left, 4000);  // 4000.5 to even
}

// At its least height the list is gone but both buttons stay in the window.
TEST(LayoutMaxViewWindow, CannotBeMadeLowerAndKeepsItsButtons) {
  for (const int32_t height : {965, 900, 0}) {
    const MaxViewLayout layout = LayoutMaxViewWindow(8000, height, 405);
    EXPECT_EQ(layout.window_height, 965);
    EXPECT_EQ(layout.list.height, 0);
    ExpectRect(layout.close_button, 2425, 105, 1455, 375);
    ExpectRect(layout.copy_button, 4000, 105, 1455, 375);
  }
  const MaxViewLayout lowest = LayoutMaxViewWindow(100, 966, 405);
  EXPECT_EQ(lowest.list.height, 0);
  EXPECT_EQ(lowest.list.width, 0);
}

TEST(MaxViewMinimumWidth, BothButtonsInsideTheBorders) {
  EXPECT_EQ(MaxViewMinimumWidth(120), 3150);
  EXPECT_EQ(MaxViewMinimumWidth(300), 3510);
  const MaxViewLayout layout = LayoutMaxViewWindow(MaxViewMinimumWidth(120), 2000, 405);
  EXPECT_EQ(layout.close_button.left, 0);
  EXPECT_EQ(layout.copy_button.left + layout.copy_button.width, 3150 - 120);
}

TEST(PlaceBesideWindow, RightThenLeftThenAgainstTheScreensRightEdge) {
  const Rect screen{0, 0, 24000, 15000};
  struct Case {
    Rect main;
    int32_t width;
    int32_t height;
    Rect expected;
  };
  const Case cases[] = {
      {{1000, 2000, 10000, 8000}, 8000, 6000, {11000, 2000, 8000, 6000}},    // right
      {{1000, 2000, 10000, 8000}, 13000, 6000, {11000, 2000, 13000, 6000}},  // right, just
      {{9000, 0, 10000, 8000}, 8000, 6000, {1000, 0, 8000, 6000}},           // left
      {{1000, 0, 20000, 8000}, 8000, 6000, {16000, 0, 8000, 6000}},          // neither side
      {{1000, 12000, 10000, 2000}, 8000, 6000, {11000, 9000, 8000, 6000}},   // moved up
      {{1000, 2000, 10000, 8000}, 30000, 20000, {0, 0, 24000, 15000}},       // the whole screen
  };
  for (const Case& c : cases) {
    const Rect place = PlaceBesideWindow(c.main, screen, c.width, c.height);
    ExpectRect(place, c.expected.left, c.expected.top, c.expected.width, c.expected.height);
  }
  // A screen that does not start at the origin.
  const Rect placed =
      PlaceBesideWindow({3000, 500, 5000, 5000}, {2000, 400, 9000, 6000}, 4000, 7000);
  ExpectRect(placed, 7000, 400, 4000, 6000);
}

}  // namespace
}  // namespace dravik
