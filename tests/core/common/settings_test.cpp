#include "common/settings.h"

#include <cmath>
#include <set>

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
  std::set<Rgb> seen(colours.begin(), colours.begin() + kItemColourCount);
  EXPECT_EQ(seen.size(), kItemColourCount);
  for (int n = 17; n <= kMaxItems; ++n) {
    const Rgb colour = colours[n - 1];
    const double luminance = 0.2126 * Linear(RedOf(colour)) + 0.7152 * Linear(GreenOf(colour)) +
                             0.0722 * Linear(BlueOf(colour));
    EXPECT_GE(1.05 / (luminance + 0.05), 3.0) << n;
    EXPECT_GT(luminance, 0.01) << n;  // not black either
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

}  // namespace
}  // namespace dravik
