#include "common/settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

constexpr double kMaxLuminance = 0.30;  // (1 + 0.05) / (0.30 + 0.05) = 3:1 against white

// What the program gave items 17..128 before: hues a golden angle apart. Only a few lightnesses
// came of it, so the colours repeated about every 34 items; a settings file still holding one of
// them gets the present default instead.
Rgb FirstGeneratedItemColour(int item) {
  constexpr double kGoldenAngle = 137.50776405003785;
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

constexpr std::array<Rgb, 16> kFirstColours = {
    MakeRgb(255, 0, 255), MakeRgb(0, 0, 255),   MakeRgb(255, 128, 64), MakeRgb(0, 255, 0),
    MakeRgb(128, 0, 0),   MakeRgb(255, 255, 0), MakeRgb(255, 0, 0),    MakeRgb(128, 128, 255),
    MakeRgb(0, 128, 0),   MakeRgb(0, 255, 255), MakeRgb(128, 0, 128),  MakeRgb(255, 0, 128),
    MakeRgb(0, 0, 0),     MakeRgb(0, 128, 64),  MakeRgb(0, 0, 128),    MakeRgb(0, 128, 128),
};
constexpr int kGeneratedColourCount = kItemColourCount - 16;

// Items 17..128: chosen one after another from a grid of 16 levels per channel, each the grid
// colour farthest (CIE76) from every colour taken before it, the first sixteen, the grid lines'
// grey and white included. Only colours at 3:1 or more against white and of CIE lightness 25 or
// more (the darkest ones all look black) are candidates. Picking the farthest each time keeps
// every pair about 14 apart and makes colours of neighbouring items differ most.
const std::array<Rgb, kGeneratedColourCount>& GeneratedColours() {
  static const std::array<Rgb, kGeneratedColourCount> colours = [] {
    constexpr double kMinLightness = 25;
    std::vector<Rgb> candidates;
    std::vector<Lab> labs;
    for (int red = 0; red < 256; red += 17) {
      for (int green = 0; green < 256; green += 17) {
        for (int blue = 0; blue < 256; blue += 17) {
          const Rgb colour = MakeRgb(red, green, blue);
          const Lab lab = ToLab(colour);
          if (Luminance(colour) <= kMaxLuminance && lab.l >= kMinLightness) {
            candidates.push_back(colour);
            labs.push_back(lab);
          }
        }
      }
    }
    std::vector<Lab> taken;
    for (const Rgb colour : kFirstColours) {
      taken.push_back(ToLab(colour));
    }
    taken.push_back(ToLab(MakeRgb(128, 128, 128)));
    taken.push_back(ToLab(MakeRgb(255, 255, 255)));
    std::vector<double> nearest(candidates.size(), std::numeric_limits<double>::infinity());
    for (size_t i = 0; i < candidates.size(); ++i) {
      for (const Lab& lab : taken) {
        nearest[i] = std::min(nearest[i], ColourDifference(labs[i], lab));
      }
    }
    std::array<Rgb, kGeneratedColourCount> chosen{};
    for (Rgb& colour : chosen) {
      const size_t best =
          static_cast<size_t>(std::max_element(nearest.begin(), nearest.end()) - nearest.begin());
      colour = candidates[best];
      const Lab lab = labs[best];
      for (size_t i = 0; i < candidates.size(); ++i) {
        nearest[i] = std::min(nearest[i], ColourDifference(labs[i], lab));
      }
    }
    return chosen;
  }();
  return colours;
}

}  // namespace

Lab ToLab(Rgb colour) {
  const double r = Linear(RedOf(colour));
  const double g = Linear(GreenOf(colour));
  const double b = Linear(BlueOf(colour));
  // sRGB to XYZ, relative to the D65 white point.
  const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
  const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
  const auto f = [](double t) {
    constexpr double kDelta = 6.0 / 29.0;
    return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
  };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double ColourDifference(const Lab& a, const Lab& b) {
  return std::sqrt((a.l - b.l) * (a.l - b.l) + (a.a - b.a) * (a.a - b.a) +
                   (a.b - b.b) * (a.b - b.b));
}

Rgb DefaultItemColour(int item) {
  if (item >= 1 && item <= 16) {
    return kFirstColours[static_cast<size_t>(item - 1)];
  }
  // Beyond 128 the generated colours come round again, in their order: any 112 items in a row
  // have colours as far apart as those of items 17..128.
  const int generated = (std::max(item, 17) - 17) % kGeneratedColourCount;
  return GeneratedColours()[static_cast<size_t>(generated)];
}

ItemColors DefaultItemColors() {
  ItemColors colours{};
  for (int n = 1; n <= static_cast<int>(colours.size()); ++n) {
    colours[static_cast<size_t>(n - 1)] = DefaultItemColour(n);
  }
  return colours;
}

void RenewFirstGeneratedColours(ItemColors& colours) {
  for (int n = 17; n <= kItemColourCount; ++n) {
    Rgb& colour = colours[static_cast<size_t>(n - 1)];
    if (colour == FirstGeneratedItemColour(n)) {
      colour = DefaultItemColour(n);
    }
  }
}

Rgb ItemColour(const ItemColors& colors, int item) {
  return item >= 1 && static_cast<size_t>(item) <= colors.size()
             ? colors[static_cast<size_t>(item - 1)]
             : DefaultItemColour(item);
}

bool HasMaxViewPlace(const Settings& settings) {
  return settings.mv_xpos != 0 || settings.mv_ypos != 0 || settings.mv_xsize > kMinMvXsize ||
         settings.mv_ysize > kMinMvYsize;
}

}  // namespace dravik
