#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chart/layout.h"
#include "chart/twips.h"

namespace dravik {

// Item panel geometry in twips: one box per item, 255 high, a row every 240 (rows overlap by 15).
inline constexpr int32_t kItemBoxWidthTwips = 3015;
inline constexpr int32_t kItemBoxHeightTwips = 255;
inline constexpr int32_t kItemRowTwips = 240;           // also the scroll bar's arrow step
inline constexpr int32_t kItemCaptionInsetTwips = 300;  // the check mark and margins of a box
inline constexpr int32_t kItemViewLeftTwips = 120;      // view inside the frame
inline constexpr int32_t kItemViewTopTwips = 240;
inline constexpr int32_t kItemScrollLeftTwips = 3120;
inline constexpr int32_t kItemScrollWidthTwips = 255;
// The filter row above the boxes, which moves the view and the scroll bar down.
inline constexpr int32_t kItemFilterHeightTwips = 300;
inline constexpr int32_t kItemFilterRowTwips = 360;

// Caption shown on an item's box ("-----" before the first log).
inline constexpr std::string_view kEmptyItemCaption = "-----";

struct FittedCaption {
  std::string caption;
  std::string tooltip;  // empty for none
};

// Fits an item name (UTF-8) into available_px, measured in the font of the item boxes: a name whose
// width, rounded half to even, is at most available_px is shown whole, with the name as tooltip
// only when always_tooltip is set; otherwise the longest prefix, counted in characters (code
// points) from the whole name down to one character, whose width with "..." appended is at most
// available_px (unrounded), followed by
// "...", and when none fits the first character and "..."; a cut name always has the full name as
// tooltip.
FittedCaption FitItemCaption(std::string_view name, int64_t available_px,
                             const TextMeasure& measure, bool always_tooltip);

// Top of item i's box (items from 1) in the list: (i - 1) x 240.
int32_t ItemBoxTop(int item);

// Height of the list holding `item_count` >= 1 boxes: 255 + (n - 1) x 240 (three items: 735).
int32_t ItemListHeight(int item_count);

// Pixels a box leaves for its caption: round((3015 - 300) / twips per pixel), 181 at
// kTwipsPerPixel.
int64_t ItemCaptionAvailablePx(double twips_per_px = kTwipsPerPixel);

// The item panel's view and scroll bar for the frame's height and the list's height (twips).
struct ItemPanelScroll {
  int32_t view_height = 0;  // also the scroll bar's height: frame height - 360, at least 0
  bool enabled = false;     // the list is taller than the view
  int32_t maximum = 0;      // list height - view height; only when enabled
  int32_t page_step = 0;    // the whole list height, so a track click goes to the end; only
                            // when enabled. A disabled bar keeps its maximum and position.
};
ItemPanelScroll FitItemPanelScroll(int32_t frame_height, int32_t list_height);

// Caption of the colour menu entry for item n: "項目" + n + "の色の変更".
std::string ItemColourMenuCaption(int item);

}  // namespace dravik
