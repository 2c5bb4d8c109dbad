#include "chart/graph_grid.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(GridSamples, MultiplesOfTheStepFromTheLineLeftOfTheView) {
  struct Case {
    int64_t first;
    int64_t span;
    std::vector<int64_t> expected;
  };
  const Case cases[] = {
      {0, 100, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
      {4500, 1000, {4400, 4500, 4600, 4700, 4800, 4900, 5000, 5100, 5200, 5300, 5400, 5500}},
      {30, 25, {28, 30, 32, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54}},
      {35, 25, {34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56, 58, 60}},
      {10, 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GridSamples(c.first, c.span), c.expected) << c.first << " " << c.span;
  }
  EXPECT_EQ(GridStep(15), 2);  // 1.5 rounds to even
  EXPECT_EQ(GridStep(4), 1);   // never 0
}

TEST(TimeLabel, SecondsOrMillisecondsWithABlank) {
  EXPECT_EQ(TimeLabel(12345, 1), "12.3");
  EXPECT_EQ(TimeLabel(12345, 0), " 12345");
  EXPECT_EQ(TimeLabel(0, 0), " 0");
  EXPECT_EQ(TimeLabel(12345678, 0), " 1.234568E+07");
}

TEST(LabelsToDraw, DrawsWholeLabelsThatDoNotMeetTheLastOneDrawn) {
  struct Case {
    std::vector<LabelExtent> labels;
    int64_t gap;
    std::vector<bool> expected;
  };
  const Case cases[] = {
      {{}, 3, {}},
      {{{0, 30}, {50, 80}, {100, 130}}, 3, {true, true, true}},  // room between them
      {{{0, 30}, {33, 63}}, 3, {true, true}},                    // exactly the gap apart
      {{{0, 30}, {32, 62}}, 3, {true, false}},                   // one pixel short of it
      {{{0, 30}, {32, 62}}, 0, {true, true}},
      // A skipped label does not count: the next is measured against the last one drawn.
      {{{0, 60}, {20, 80}, {40, 100}, {60, 120}, {80, 140}}, 0, {true, false, false, true, false}},
      // A label cut by either edge is not drawn and leaves room for the whole one beside it.
      {{{-40, 10}, {0, 50}}, 3, {false, true}},
      {{{-1, 49}, {30, 80}}, 3, {false, true}},
      {{{100, 150}, {170, 201}}, 3, {true, false}},
      {{{100, 150}, {170, 200}}, 3, {true, true}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LabelsToDraw(c.labels, c.gap, 200), c.expected) << c.labels.size() << " " << c.gap;
  }
}

}  // namespace
}  // namespace dravik
