#include "common/settings.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"

namespace dravik {

namespace {

// sRGB channel 0..255 as linear light.
double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb colour) {
  return 0.2126 * Linear(RedOf(colour)) + 0.7152 * Linear(GreenOf(colour)) +
         0.0722 * Linear(BlueOf(colour));
}

Rgb FromHsv(double hue_degrees, double saturation, double value) {
  const auto channel = [&](double n) {
    const double k = std::fmod(n + hue_degrees / 60.0, 6.0);
    const double c = value - value * saturation * std::max(0.0, std::min({k, 4.0 - k, 1.0}));
    return static_cast<int>(RoundHalfEven(c * 255.0));
  };
  return MakeRgb(channel(5), channel(3), channel(1));
}

// Items beyond the sixteenth: hues a golden angle apart, so that neighbours differ, each as
// bright as it can be while it still reads at a contrast of 3:1 on the white chart (and so on
// the lighter grey of the item panel).
Rgb GeneratedItemColour(int item) {
  constexpr double kGoldenAngle = 137.50776405003785;
  constexpr double kMaxLuminance = 0.30;  // (1 + 0.05) / (0.30 + 0.05) = 3
  const double hue = std::fmod(item * kGoldenAngle, 360.0);
  const double saturation = item % 2 == 0 ? 0.9 : 0.6;
  double value = 0.85;
  Rgb colour = FromHsv(hue, saturation, value);
  while (Luminance(colour) > kMaxLuminance) {
    value -= 0.025;
    colour = FromHsv(hue, saturation, value);
  }
  return colour;
}

}  // namespace

ItemColors DefaultItemColors() {
  ItemColors colours{};
  const Rgb first[16] = {
      MakeRgb(255, 0, 255), MakeRgb(0, 0, 255),   MakeRgb(255, 128, 64), MakeRgb(0, 255, 0),
      MakeRgb(128, 0, 0),   MakeRgb(255, 255, 0), MakeRgb(255, 0, 0),    MakeRgb(128, 128, 255),
      MakeRgb(0, 128, 0),   MakeRgb(0, 255, 255), MakeRgb(128, 0, 128),  MakeRgb(255, 0, 128),
      MakeRgb(0, 0, 0),     MakeRgb(0, 128, 64),  MakeRgb(0, 0, 128),    MakeRgb(0, 128, 128),
  };
  for (int i = 0; i < 16; ++i) {
    colours[i] = first[i];
  }
  for (int i = 16; i < kMaxItems; ++i) {
    colours[i] = GeneratedItemColour(i + 1);
  }
  return colours;
}

bool HasMaxViewPlace(const Settings& settings) {
  return settings.mv_xpos != 0 || settings.mv_ypos != 0 || settings.mv_xsize > kMinMvXsize ||
         settings.mv_ysize > kMinMvYsize;
}

}  // namespace dravik
