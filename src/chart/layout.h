#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/cursors.h"
#include "chart/twips.h"

namespace dravik {

// A control's place in its parent, in twips.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// A rect as the control mover places it: a negative width or height becomes 0.
Rect MoveControl(int32_t left, int32_t top, int32_t width, int32_t height);

// A window's outer rect moved and shrunk so that it lies wholly on `screen` (both in twips),
// never below `min_width` x `min_height`: a place or size from a hand-edited settings file never
// puts the window or its buttons out of sight.
Rect FitOnScreen(const Rect& outer, const Rect& screen, int32_t min_width, int32_t min_height);

// Height of a window's title bar and its top and bottom sizing borders in twips:
// round(twips_per_px * (caption + 2 x sizing frame)). Where the platform reports no frame the
// classic metrics stand in: 19 px caption, 4 px frame, 405 twips at kTwipsPerPixel.
inline constexpr int kClassicCaptionPx = 19;
inline constexpr int kClassicSizingFramePx = 4;
int32_t WindowChromeHeight(int caption_px, int sizing_frame_px,
                           double twips_per_px = kTwipsPerPixel);

// The main window's fixed sizes.
inline constexpr int32_t kMainMinimumWidth = 3850;
inline constexpr int32_t kMainMinimumHeight = 4700;
inline constexpr int32_t kRightColumnWidth = 3495;
inline constexpr int32_t kCommandFrameHeight = 1695;  // fraCommand and fraFuelEfficient
inline constexpr int32_t kChartScrollHeight = 255;
inline constexpr int32_t kCursorLineTop = 400;  // chart units
inline constexpr int32_t kCursorLineBottom = 10400;

// The command frame's controls (fraCommand), inside the frame.
inline constexpr Rect kOpenButtonRect{120, 240, 1575, 375};             // cmdOpenFile
inline constexpr Rect kNumericDisplayButtonRect{1800, 240, 1575, 375};  // chkMaxView
inline constexpr Rect kOptionButtonRect{120, 720, 1575, 375};           // cmdOption
inline constexpr Rect kHelpButtonRect{1800, 720, 1575, 375};            // cmdHelp
inline constexpr Rect kMagnificationLabelRect{120, 1275, 390, 180};
inline constexpr Rect kMagnificationComboRect{600, 1200, 1095, 300};  // cmbMultipl
inline constexpr Rect kExitButtonRect{1800, 1200, 1575, 375};         // cmdExit

// The trip list (lstFuelEfficient) inside its frame, and its name, value and unit columns.
inline constexpr Rect kTripListRect{120, 240, 3255, 1335};
inline constexpr int32_t kTripNameColumnWidth = 1420;
inline constexpr int32_t kTripValueColumnWidth = 950;
inline constexpr int32_t kTripUnitColumnWidth = 800;

// Where the main window's parts go for an outer size (twips).
struct MainLayout {
  int32_t window_width = 0;   // the size after the minimum is enforced; resize the window to it
  int32_t window_height = 0;  // when it differs from the size given
  Rect back;                  // picBack, the chart box, in the client area
  Rect scroll_x;              // the time scroll bar
  Rect select_item;           // fraSelectItem, the item panel frame
  Rect command;               // fraCommand
  Rect fuel_efficient;        // fraFuelEfficient
};

// Lays the main window out for its outer size width x height and the chrome height: sizes of 3850 x
// 4700 or less snap to that minimum; the chart box is (width - 3975) x (height - chrome - 495) at
// 120, 120, the scroll bar 105 below it, the right column at width - 3735 with the command frame at
// height - 4020, the trip frame 1800 below that and the item panel above them from 120 down to 105
// above the command frame. 10695 x 9300 with chrome 405: box 6720 x 8400, scroll bar top 8505,
// right column 6960, command 5280, trip 7080, item panel 5175 high. At the minimum width the chart
// is 0 wide.
MainLayout LayoutMainWindow(int32_t width, int32_t height, int32_t chrome_height);

// picGraph beside the scale strip: at strip width, 0, filling the rest of picBack (0 wide when
// the strip is wider than the box).
Rect GraphRect(const Rect& back, int32_t scale_width_twips);

// Width in pixels of a UTF-8 text in the font it is shown in.
using TextMeasure = std::function<double(std::string_view)>;

// The sizes of the readout beside the pointer over the chart, in pixels.
struct HoverMetrics {
  int line_height_px = 0;
  int lead_px = 0;     // before each line's text: room for the item's colour sample
  int padding_px = 4;  // between the box's border and its lines
  int column_gap_px = 12;
  int offset_px = 16;  // from the pointer to the box
};
// Most items a readout shows; beyond them, and beyond what fits, the last line counts the rest.
inline constexpr int kMaxHoverItems = 64;

struct HoverLayout {
  std::vector<ReadoutLine> lines;   // shown; the last is "…他 n 項目" when items are left out
  int item_lines = 0;               // lines 1..item_lines are items, with their colours
  int rows = 0;                     // lines per column; lines fill a column before the next
  std::vector<int> column_left_px;  // each column's left edge inside the box
  Rect box;                         // in pixels of the area's coordinates
};

// Lays out `lines` (the time first, then one per item, each as wide as its text by `measure`,
// rounded up, after the lead) in the pixel rectangle `area` near the pointer at pointer_x,
// pointer_y: as few columns as let the box fit the area's height and width, right of and below the
// pointer by the offset, or left of or above it where the area ends there, else against the area's
// far edge. Lines that do not fit, and items beyond kMaxHoverItems, are left out from the end and
// the last line shown says how many ("…他 3 項目"): no value is cut. The time line is always shown;
// with an area too small even for it, the box is clamped to the area's top left.
HoverLayout LayoutHoverReadout(const std::vector<ReadoutLine>& lines, const TextMeasure& measure,
                               const HoverMetrics& metrics, const Rect& area, int pointer_x,
                               int pointer_y);

}  // namespace dravik
