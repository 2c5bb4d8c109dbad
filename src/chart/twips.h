#pragma once

#include <cstdint>

namespace dravik {

// Logical pixels of a length in twips, 15 twips to the pixel, rounded half to even
// (3015 -> 201, 400 -> 27, 160 -> 11).
int TwipsToPixels(double twips);

// Twips of a length in logical pixels.
int32_t PixelsToTwips(int px);

}  // namespace dravik
