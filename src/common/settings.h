#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

inline constexpr int kItemColourCount = 128;
using ItemColors = std::array<Rgb, kItemColourCount>;  // entry n - 1 belongs to item n

// Items 1..16 have the colours of the first version; 17..128 distinct colours that read well on
// the white chart.
ItemColors DefaultItemColors();

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
  ItemColors item_colors = DefaultItemColors();
  std::vector<std::string> checked_items;  // names of the items checked, most recent first
};

}  // namespace dravik
