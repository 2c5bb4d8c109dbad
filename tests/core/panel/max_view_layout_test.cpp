#include "panel/max_view_layout.h"

#include <array>

#include <gtest/gtest.h>

namespace dravik {
namespace {

using Edges = std::array<int32_t, 4>;  // left, top, width, height

Edges EdgesOf(const Rect& rect) {
  return {rect.left, rect.top, rect.width, rect.height};
}

TEST(LayoutMaxViewWindow, ListFillsAndButtonsMeetInTheMiddle) {
  const MaxViewLayout layout = LayoutMaxViewWindow(8500, 5070, 405, 2400);
  EXPECT_EQ(layout.window_height, 5070);
  EXPECT_EQ(EdgesOf(layout.list), (Edges{0, 0, 8380, 4095}));
  EXPECT_EQ(EdgesOf(layout.close_button), (Edges{2675, 4200, 1455, 375}));
  EXPECT_EQ(EdgesOf(layout.copy_button), (Edges{4250, 4200, 1455, 375}));
  EXPECT_EQ(EdgesOf(layout.save_section_button), (Edges{5825, 4200, 2400, 375}));
  EXPECT_EQ(LayoutMaxViewWindow(8501, 5070, 405, 2400).copy_button.left, 4250);  // 4250.5 to even
}

// Where the section save button would come near the list's right edge, the buttons move left.
TEST(LayoutMaxViewWindow, SaveButtonNeverPassesTheRightEdge) {
  struct Case {
    int32_t width, save_width, close_left;
  };
  for (const Case& c :
       {Case{7935, 2400, 2145}, Case{7935, 3000, 1545}, Case{5790, 2400, 0}, Case{5000, 2400, 0}}) {
    const MaxViewLayout layout = LayoutMaxViewWindow(c.width, 2000, 405, c.save_width);
    EXPECT_EQ(layout.close_button.left, c.close_left) << c.width << " " << c.save_width;
    EXPECT_EQ(layout.copy_button.left, c.close_left + 1575);
    EXPECT_EQ(layout.save_section_button.left, c.close_left + 3150);
    if (c.width >= MaxViewMinimumWidth(120, c.save_width)) {
      EXPECT_LE(layout.save_section_button.left + c.save_width, c.width - 240);
    }
  }
}

// At its least height the list is gone but the buttons stay in the window.
TEST(LayoutMaxViewWindow, CannotBeMadeLowerAndKeepsItsButtons) {
  for (const int32_t height : {965, 900, 0}) {
    const MaxViewLayout layout = LayoutMaxViewWindow(8500, height, 405, 2400);
    EXPECT_EQ(layout.window_height, 965);
    EXPECT_EQ(layout.list.height, 0);
    EXPECT_EQ(EdgesOf(layout.close_button), (Edges{2675, 105, 1455, 375}));
    EXPECT_EQ(EdgesOf(layout.copy_button), (Edges{4250, 105, 1455, 375}));
  }
  const MaxViewLayout lowest = LayoutMaxViewWindow(100, 966, 405, 2400);
  EXPECT_EQ(lowest.list.height, 0);
  EXPECT_EQ(lowest.list.width, 0);
}

TEST(MaxViewMinimumWidth, EveryButtonInsideTheBorders) {
  EXPECT_EQ(MaxViewMinimumWidth(120, 2400), 5790);
  EXPECT_EQ(MaxViewMinimumWidth(300, 2400), 5970);
  EXPECT_EQ(MaxViewMinimumWidth(120, 3000), 6390);
  const MaxViewLayout layout = LayoutMaxViewWindow(MaxViewMinimumWidth(120, 2400), 2000, 405, 2400);
  EXPECT_EQ(layout.close_button.left, 0);
  EXPECT_EQ(layout.save_section_button.left + 2400, 5790 - 240);
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
    EXPECT_EQ(EdgesOf(place), EdgesOf(c.expected));
  }
  // A screen that does not start at the origin.
  const Rect placed =
      PlaceBesideWindow({3000, 500, 5000, 5000}, {2000, 400, 9000, 6000}, 4000, 7000);
  EXPECT_EQ(EdgesOf(placed), (Edges{7000, 400, 4000, 6000}));
}

// Opened the first time: tall for its rows (at least the least height), wide for its columns
// (at least the least width); the scroll bar's width only where the screen is too low.
TEST(PlaceMaxViewWindow, FitsTheRowsAndColumnsBesideTheMainWindow) {
  const Rect main{0, 0, 10000, 8000};
  struct Case {
    MaxViewContent content;
    int32_t screen_height;
    int32_t width;
    int32_t height;
  };
  const Case cases[] = {
      {{3000, 9000, 255}, 15000, 9120, 3975},    // 3000 + 405 + 570
      {{300, 9000, 255}, 15000, 9120, 1500},     // the least height
      {{0, 9000, 255}, 15000, 9120, 5100},       // no rows: the design height 405 + 4695
      {{3000, 1000, 255}, 15000, 7935, 3975},    // the least width
      {{20000, 9000, 255}, 15000, 9375, 15000},  // too low: the scroll bar, the screen's height
  };
  for (const Case& c : cases) {
    const Rect place = PlaceMaxViewWindow(main, {0, 0, 30000, c.screen_height}, 405, c.content);
    EXPECT_EQ(EdgesOf(place), (Edges{10000, 0, c.width, c.height}));
  }
}

}  // namespace
}  // namespace dravik
