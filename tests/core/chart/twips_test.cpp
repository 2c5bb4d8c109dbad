#include "chart/twips.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(Twips, FifteenToThePixelHalvesToEven) {
  EXPECT_EQ(TwipsToPixels(3015), 201);
  EXPECT_EQ(TwipsToPixels(400), 27);
  EXPECT_EQ(TwipsToPixels(7.5), 0);
  EXPECT_EQ(TwipsToPixels(22.5), 2);
  EXPECT_EQ(PixelsToTwips(725), 10875);
}

}  // namespace
}  // namespace dravik
