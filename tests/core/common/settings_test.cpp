#include "common/settings.h"

#include <cmath>

#include <gtest/gtest.h>

namespace dravik {
namespace {

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

TEST(DefaultItemColors, EveryItemHasADistinctColourThatReadsOnWhite) {
  const ItemColors colours = DefaultItemColors();
  EXPECT_EQ(colours[0], MakeRgb(255, 0, 255));  // the first sixteen stay as they were
  EXPECT_EQ(colours[12], MakeRgb(0, 0, 0));
  EXPECT_EQ(colours[15], MakeRgb(0, 128, 128));
  const auto difference = [](int i, int j) {
    return ColourDifference(ToLab(DefaultItemColour(i)), ToLab(DefaultItemColour(j)));
  };
  for (int i = 1; i <= kItemColourCount; ++i) {
    EXPECT_EQ(DefaultItemColour(i), colours[static_cast<size_t>(i - 1)]);
    for (int j = i + 1; j <= kItemColourCount; ++j) {
      EXPECT_GE(difference(i, j), 10) << i << " " << j;
    }
  }
  EXPECT_EQ(colours[kMaxItems - 1], DefaultItemColour(kMaxItems));
  // Beyond 128 (and across it), each item against the sixteen after it.
  for (int i = 113; i <= 1100; ++i) {
    for (int j = i + 1; j <= i + 16; ++j) {
      EXPECT_GE(difference(i, j), 10) << i << " " << j;
    }
  }
  for (const int n : {17, 60, 128, 129, 1024, 100000}) {
    const Rgb colour = DefaultItemColour(n);
    const double luminance = 0.2126 * Linear(RedOf(colour)) + 0.7152 * Linear(GreenOf(colour)) +
                             0.0722 * Linear(BlueOf(colour));
    EXPECT_GE(1.05 / (luminance + 0.05), 3.0) << n;
  }
}

// A settings file without the window's keys reads as place 0, 0 and size 0 x 0.
TEST(HasMaxViewPlace, AnyPositionOrASizeBeyondTheLeast) {
  struct Case {
    int32_t xpos, ypos, xsize, ysize;
    bool placed;
  };
  const Case cases[] = {
      {0, 0, 0, 0, false}, {0, 0, 7935, 1500, false}, {15, 0, 0, 0, true},
      {0, 15, 0, 0, true}, {0, 0, 7936, 0, true},     {0, 0, 0, 1501, true},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.mv_xpos = c.xpos;
    settings.mv_ypos = c.ypos;
    settings.mv_xsize = c.xsize;
    settings.mv_ysize = c.ysize;
    EXPECT_EQ(HasMaxViewPlace(settings), c.placed)
        << c.xpos << " " << c.ypos << " " << c.xsize << " " << c.ysize;
  }
}

TEST(RenewFirstGeneratedColours, ReplacesOnlyTheEarlierDefaults) {
  ItemColors colours = DefaultItemColors();
  colours[47] = MakeRgb(0x11, 0xAC, 0x12);  // item 48's earlier default
  colours[81] = MakeRgb(0x1C, 0xAC, 0x11);  // item 82's
  colours[30] = MakeRgb(0x1C, 0xAC, 0x11);  // chosen for item 31: not its earlier default
  colours[3] = MakeRgb(1, 2, 3);
  ItemColors renewed = colours;
  RenewFirstGeneratedColours(renewed);
  EXPECT_EQ(renewed[47], DefaultItemColour(48));
  EXPECT_EQ(renewed[81], DefaultItemColour(82));
  EXPECT_EQ(renewed[30], MakeRgb(0x1C, 0xAC, 0x11));
  EXPECT_EQ(renewed[3], MakeRgb(1, 2, 3));
}

}  // namespace
}  // namespace dravik
