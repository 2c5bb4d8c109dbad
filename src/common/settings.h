#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/core_text.h"

namespace dravik {

// A colour as red + green * 256 + blue * 65536.
using Rgb = uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
  return static_cast<Rgb>(red) | static_cast<Rgb>(green) << 8 | static_cast<Rgb>(blue) << 16;
}
constexpr int RedOf(Rgb colour) {
  return colour & 0xFF;
}
constexpr int GreenOf(Rgb colour) {
  return colour >> 8 & 0xFF;
}
constexpr int BlueOf(Rgb colour) {
  return colour >> 16 & 0xFF;
}

// Data items a log may hold, and the user's formulas, whose computed items follow them; each item
// has a colour, and the settings file keeps the colours of the first kItemColourCount.
inline constexpr int kMaxItems = 1024;
inline constexpr int kMaxFormulas = 64;
inline constexpr int kItemColourCount = 128;
using ItemColors = std::array<Rgb, kMaxItems + kMaxFormulas>;  // entry n - 1 belongs to item n

// A colour in CIE L*a*b* (D65): lightness 0..100 and the two colour axes.
struct Lab {
  double l = 0;
  double a = 0;
  double b = 0;
};
Lab ToLab(Rgb colour);
// The CIE76 difference: the distance of two colours in L*a*b*. About 2 can just be told apart
// side by side; 10 and more tell two traces apart at a glance.
double ColourDifference(const Lab& a, const Lab& b);

// The default colour of item `item` (1 and up). Items 1..16 have the colours of the first
// version; every other item a generated one, at least 3:1 against the white chart, that differs by
// a CIE76 difference of 10 or more from the colour of each of items 1..128 and, beyond 128, from
// the colours of the 16 items before and after it.
Rgb DefaultItemColour(int item);
// Every entry of DefaultItemColour.
ItemColors DefaultItemColors();
// Replaces each colour of items 17..128 that is the default an earlier version generated for its
// item (too like other items' colours) by the present default; a colour the user chose stays.
void RenewFirstGeneratedColours(ItemColors& colours);

// The colour of item `item` (1 and up): its entry of `colors`, or its default colour beyond them.
Rgb ItemColour(const ItemColors& colors, int item);

// The fuel items the user has named; an empty name leaves the item to the automatic rules.
struct FuelItemNames {
  std::string speed;
  int32_t speed_unit = 0;  // of a chosen speed item: 1 mph, otherwise km/h
  std::string engine_speed;
  std::string pulse_width;

  bool operator==(const FuelItemNames&) const = default;
};

// The choices of the scatter plot and table window, by item name so that they carry over to
// another log with the same items; an empty name is no item. Texts are kept as typed.
struct AnalysisChoices {
  std::string x_item;
  std::string y_item;
  std::string colour_item;
  int32_t range = 0;  // 0 the whole log, 1 between the cursors
  std::string filter_item;
  std::string filter_min;  // empty: no bound
  std::string filter_max;
  std::string bins_x;  // bin edges as typed; empty: automatic
  std::string bins_y;
  int32_t statistic = 0;  // 0 mean, 1 count, 2 min, 3 max
  int32_t min_count = 1;
  int32_t xpos = 0;  // the window's outer rectangle in twips; size 0: not placed yet
  int32_t ypos = 0;
  int32_t xsize = 0;
  int32_t ysize = 0;

  bool operator==(const AnalysisChoices&) const = default;
};

// A computed item the user has defined.
struct Formula {
  std::string name;
  std::string expression;

  bool operator==(const Formula&) const = default;
};

// The least numeric display window size the settings file lets through, in twips.
inline constexpr int32_t kMinMvXsize = 7935;
inline constexpr int32_t kMinMvYsize = 1500;

// Everything the program keeps between runs. Positions and sizes are twips of the outer window
// rectangle. Integers are held wider than the settings file's 16 bits so that large screens and
// hand-edited values do not wrap.
struct Settings {
  int32_t xpos = 0;  // main window
  int32_t ypos = 0;
  int32_t xsize = 10000;
  int32_t ysize = 7365;
  int32_t mv_xpos = 0;  // numeric display window
  int32_t mv_ypos = 0;
  int32_t mv_xsize = 0;
  int32_t mv_ysize = 0;
  int32_t time_unit_sec = 0;              // time shown in seconds instead of ms; any non-zero is on
  int32_t section_time = 0;               // numeric display shows the figures between the cursors
  int32_t graph_scale_mode = 0;           // non-zero: the older, coarser scale rounding
  int32_t always_tooltip = 0;             // item boxes always carry the full name as tooltip
  float injector_flow_scaling = 430.72f;  // cc/min
  float injector_latency = 0.98f;         // ms
  int32_t cylinder = 4;
  FuelItemNames fuel_items;
  Language language = Language::kJapanese;  // of the interface
  ItemColors item_colors = DefaultItemColors();
  std::vector<std::string> checked_items;  // names of the items checked, most recent first
  AnalysisChoices analysis;
  std::vector<Formula> formulas;  // the computed items, in list order
};

// Whether the numeric display window has a place of its own: false while its place is 0, 0 and its
// size at most the least one, as a settings file without the window's keys reads.
bool HasMaxViewPlace(const Settings& settings);

}  // namespace dravik
