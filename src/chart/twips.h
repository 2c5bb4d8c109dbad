#pragma once

#include <cstdint>

namespace dravik {

// Twips per logical pixel: the one factor between the layouts' twips and Qt's pixels.
inline constexpr double kTwipsPerPixel = 15.0;

// Logical pixels of a length in twips, kTwipsPerPixel to the pixel, rounded half to even
// (3015 -> 201, 400 -> 27, 160 -> 11).
int TwipsToPixels(double twips);

// Twips of a length in logical pixels.
int32_t PixelsToTwips(int px);

}  // namespace dravik
