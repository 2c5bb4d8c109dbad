#include "chart/twips.h"

#include "common/rounding.h"

namespace dravik {

int TwipsToPixels(double twips) {
  return static_cast<int>(RoundHalfEven(twips / kTwipsPerPixel));
}

int32_t PixelsToTwips(int px) {
  return static_cast<int32_t>(RoundHalfEven(px * kTwipsPerPixel));
}

}  // namespace dravik
