#pragma once

#include <cstdint>

#include "chart/layout.h"

namespace dravik {

// The numeric display window's fixed sizes: its buttons, the least widths of its name column and
// of the other columns, how wide the name column may grow for long names, and the least height
// of its client area above the chrome.
inline constexpr int32_t kMaxViewButtonWidth = 1455;
inline constexpr int32_t kMaxViewButtonHeight = 375;
inline constexpr int32_t kMaxViewSaveSectionButtonWidth = 2400;
inline constexpr int32_t kMaxViewButtonGap = 120;  // between two buttons, and right of the last
inline constexpr int32_t kMaxViewNameColumnWidth = 3225;
inline constexpr int32_t kMaxViewNameColumnLimit = 6450;
inline constexpr int32_t kMaxViewValueColumnWidth = 850;
inline constexpr int32_t kMaxViewMinimumHeightAboveChrome = 560;
// The client height it opens with when no log fills it: the list and buttons of its design size.
inline constexpr int32_t kMaxViewDesignClientHeight = 4695;
// The list's margins: the window is this much wider than the list and, less its chrome, this much
// taller.
inline constexpr int32_t kMaxViewListRightMargin = 120;
inline constexpr int32_t kMaxViewListBottomMargin = 570;

struct MaxViewLayout {
  int32_t window_height = 0;  // after the minimum: at most nc + 560 becomes nc + 560
  Rect list;
  Rect close_button;
  Rect copy_button;
  Rect save_section_button;  // as far right of the copy button as that is of close
};

// Lays the numeric display window out for its outer size and non-client height nc (twips, see
// WindowChromeHeight): a height of nc + 560 or less becomes nc + 560; the list fills 0, 0 to
// width - 120 by height - (nc + 570) (0 high at the least height; the list's margins) and the close
// and copy buttons stand side by side 105 below it, meeting at the middle of the window, with the
// section save button (save_button_width wide, for its text) right of them. Where the save button
// would come nearer than 120 to the list's right edge, all three move left as far as they must,
// never past the left edge.
MaxViewLayout LayoutMaxViewWindow(int32_t width, int32_t height, int32_t non_client_height,
                                  int32_t save_button_width);

// The least outer width of the numeric display window that shows its three buttons whole inside
// its side borders (frame_width_twips, left and right together): 5790 for the classic borders and
// a save button 2400 wide.
int32_t MaxViewMinimumWidth(int32_t frame_width_twips, int32_t save_button_width);

// Where a window of width x height opens beside the main window `main`, both outer rectangles, on
// the screen's available area `screen`: right of the main window when it fits there, else left
// of it, else against the screen's right edge, where it covers the main window's right-hand
// panels rather than its chart. Its top is the main window's, moved up as far as it must to end
// on the screen; its height is at most the screen's, its width too.
Rect PlaceBesideWindow(const Rect& main, const Rect& screen, int32_t width, int32_t height);

// What the list of the numeric display window needs to show its texts whole, in twips.
struct MaxViewContent {
  int32_t rows_height = 0;       // the header, every row and the frame; 0 while it has no rows
  int32_t columns_width = 0;     // every column and the frame
  int32_t scroll_bar_width = 0;  // its vertical scroll bar
};

// Where the numeric display window opens while the settings hold no place of its own: beside
// `main` on `screen` (PlaceBesideWindow), tall enough for every row and at least kMinMvYsize
// (without rows, its design height), and wide enough for every column inside the list's margins
// and at least kMinMvXsize, the list's scroll bar included when the screen is too low for every
// row. `chrome_height` as for LayoutMaxViewWindow.
Rect PlaceMaxViewWindow(const Rect& main, const Rect& screen, int32_t chrome_height,
                        const MaxViewContent& content);

}  // namespace dravik
