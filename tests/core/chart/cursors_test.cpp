#include "chart/cursors.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

CursorContext Loaded() {
  CursorContext context;
  context.item_count = 5;
  context.last_sample = 10000;
  context.first_visible_sample = 4500;
  context.max_view_shown = true;
  return context;
}

TEST(IsReadableSample, OnlyTheLogsOwnSamples) {
  EXPECT_TRUE(IsReadableSample(0, 100));
  EXPECT_TRUE(IsReadableSample(100, 100));
  EXPECT_FALSE(IsReadableSample(101, 100));  // a tail sample
  EXPECT_FALSE(IsReadableSample(-1, 100));
}

TEST(SectionBetween, StartsAtTheLineFurtherLeft) {
  EXPECT_EQ(SectionBetween(50, 10, 100).first, 110);
  EXPECT_EQ(SectionBetween(50, 10, 100).last, 150);
  EXPECT_EQ(SectionBetween(10, 50, 100).first, 110);
  EXPECT_EQ(SectionBetween(10, 50, 100).last, 150);
  EXPECT_EQ(SectionBetween(7, 7, 0).first, 7);
  EXPECT_EQ(SectionBetween(7, 7, 0).last, 7);
}

TEST(MoveCursors, LeftButtonMovesLineOneAndReadsItOut) {
  const CursorMove move = MoveCursors(kLeftButton, 120.4, Loaded());
  EXPECT_DOUBLE_EQ(move.line1_x, 120.4);
  EXPECT_DOUBLE_EQ(move.line2_x, 0);
  ASSERT_EQ(move.readouts.size(), 1u);
  EXPECT_EQ(move.readouts[0].cursor, 1);
  EXPECT_EQ(move.readouts[0].sample, 4620);
  EXPECT_EQ(move.readouts[0].other_sample, 4500);
  EXPECT_FALSE(move.section.has_value());  // section figures are off
}

TEST(MoveCursors, BothButtonsMoveBothLinesCursorOneFirst) {
  CursorContext context = Loaded();
  context.line1_x = 10;
  context.line2_x = 30;
  const CursorMove move = MoveCursors(kLeftButton | kRightButton, 20, context);
  EXPECT_DOUBLE_EQ(move.line1_x, 20);
  EXPECT_DOUBLE_EQ(move.line2_x, 20);
  ASSERT_EQ(move.readouts.size(), 2u);
  EXPECT_EQ(move.readouts[0].cursor, 1);
  EXPECT_EQ(move.readouts[0].other_sample, 4530);  // line 2 before it moved
  EXPECT_EQ(move.readouts[1].cursor, 2);
  EXPECT_EQ(move.readouts[1].other_sample, 4520);  // line 1 already moved
}

TEST(MoveCursors, NothingIsReadOutWhenItCannotOrNeedNot) {
  CursorContext context = Loaded();
  context.section_time = true;
  context.has_speed = true;
  context.max_view_shown = false;
  CursorMove move = MoveCursors(kRightButton, 50, context);
  EXPECT_DOUBLE_EQ(move.line2_x, 50);
  EXPECT_TRUE(move.readouts.empty());
  EXPECT_FALSE(move.section.has_value());

  context.max_view_shown = true;
  move = MoveCursors(kLeftButton, -4501, context);  // left of sample 0
  EXPECT_DOUBLE_EQ(move.line1_x, -4501);
  EXPECT_TRUE(move.readouts.empty());
  EXPECT_FALSE(move.section.has_value());

  move = MoveCursors(0, 50, context);  // no button
  EXPECT_DOUBLE_EQ(move.line1_x, 0);
  EXPECT_TRUE(move.readouts.empty());
  EXPECT_FALSE(move.section.has_value());

  context.item_count = 0;  // no log
  move = MoveCursors(kLeftButton, 50, context);
  EXPECT_DOUBLE_EQ(move.line1_x, 0);
  EXPECT_TRUE(move.readouts.empty());
}

TEST(MoveCursors, SectionFiguresFollowWhenEverythingIsThere) {
  CursorContext context = Loaded();
  context.section_time = true;
  context.has_speed = true;
  context.line2_x = 10;
  CursorMove move = MoveCursors(kLeftButton, 50, context);
  ASSERT_TRUE(move.section.has_value());
  EXPECT_EQ(move.section->first, 4510);
  EXPECT_EQ(move.section->last, 4550);

  move = MoveCursors(kRightButton, 0, context);  // both lines at 0: one sample
  ASSERT_TRUE(move.section.has_value());
  EXPECT_EQ(move.section->first, 4500);
  EXPECT_EQ(move.section->last, 4500);

  context.has_speed = false;
  EXPECT_FALSE(MoveCursors(kLeftButton, 50, context).section.has_value());
  context.has_speed = true;
  context.line2_x = 6000;  // beyond the last sample
  move = MoveCursors(kLeftButton, 50, context);
  EXPECT_TRUE(move.readouts.empty());
  EXPECT_FALSE(move.section.has_value());
}

TEST(StepCursor, MovesOneSampleAndScrollsTheLeastToKeepItInView) {
  // 10000 samples at magnification 50: span 200, positions 0..980; position 10 shows 100..300.
  // The other cursor stands at x 40 (sample 140 at position 10) and keeps that sample.
  ChartView view;
  view.view_span = 200;
  view.scroll_maximum = 980;
  view.scroll_position = 10;
  struct Case {
    int64_t sample, delta, position, want_sample, want_position;
    double want_other_x;
  };
  for (const Case& c : {
           Case{150, 1, 10, 151, 10, 40},                            // within the view: no scroll
           Case{300, 1, 10, 301, 11, 30},                            // past the right edge
           Case{100, -1, 10, 99, 9, 50},                             // past the left edge
           Case{100, 1, 10, 101, 10, 40}, Case{0, -1, 0, 0, 0, 40},  // the first sample stops it
           Case{10000, 1, 980, 10000, 980, 40},                      // so does the last
           Case{5000, 1, 10, 5001, 481, -4670},  // a line left outside comes into view
       }) {
    view.scroll_position = c.position;
    const CursorStep step = StepCursor(c.sample, c.delta, 40, 10000, view);
    EXPECT_EQ(step.sample, c.want_sample) << c.sample << " " << c.delta;
    EXPECT_EQ(step.scroll_position, c.want_position) << c.sample << " " << c.delta;
    EXPECT_EQ(step.other_line_x, c.want_other_x) << c.sample << " " << c.delta;
    EXPECT_EQ(ChartXToSample(step.other_line_x, 10 * step.scroll_position), 10 * c.position + 40);
  }
}

TEST(StepCursor, StopsWhereTheViewScrolledToItsEndStops) {
  // 2001 samples at magnification 10: span 200, maximum round(180.1) = 180 shows 1800..2000.
  ChartView view;
  view.view_span = 200;
  view.scroll_maximum = 180;
  view.scroll_position = 180;
  EXPECT_EQ(StepCursor(2000, 1, 0, 2001, view).sample, 2000);
  // Unzoomed, the view holds the whole log and never scrolls.
  view = ChartView{};
  view.view_span = 2001;
  EXPECT_EQ(StepCursor(2000, 1, 0, 2001, view).sample, 2001);
  EXPECT_EQ(StepCursor(2000, 1, 0, 2001, view).scroll_position, 0);
}

}  // namespace
}  // namespace dravik
