#include "panel/max_view_layout.h"

#include <algorithm>

#include "common/rounding.h"
#include "common/settings.h"

namespace dravik {

MaxViewLayout LayoutMaxViewWindow(int32_t width, int32_t height, int32_t non_client_height,
                                  int32_t save_button_width) {
  MaxViewLayout layout;
  layout.window_height = std::max(height, non_client_height + kMaxViewMinimumHeightAboveChrome);
  layout.list = MoveControl(0, 0, width - kMaxViewListRightMargin,
                            layout.window_height - (non_client_height + kMaxViewListBottomMargin));
  int32_t middle = static_cast<int32_t>(RoundHalfEven(width / 2.0));
  const int32_t beyond =
      middle + 1575 + save_button_width - (width - kMaxViewListRightMargin - kMaxViewButtonGap);
  middle -= std::clamp(beyond, 0, std::max(middle - 1575, 0));
  const int32_t buttons_top = layout.list.height + 105;
  layout.close_button =
      MoveControl(middle - 1575, buttons_top, kMaxViewButtonWidth, kMaxViewButtonHeight);
  layout.copy_button = MoveControl(middle, buttons_top, kMaxViewButtonWidth, kMaxViewButtonHeight);
  layout.save_section_button =
      MoveControl(middle + 1575, buttons_top, save_button_width, kMaxViewButtonHeight);
  return layout;
}

int32_t MaxViewMinimumWidth(int32_t frame_width_twips, int32_t save_button_width) {
  return std::max(2 * (kMaxViewButtonWidth + frame_width_twips),
                  2 * 1575 + save_button_width + kMaxViewButtonGap + frame_width_twips);
}

Rect PlaceBesideWindow(const Rect& main, const Rect& screen, int32_t width, int32_t height) {
  width = std::min(width, screen.width);
  height = std::min(height, screen.height);
  const int32_t screen_right = screen.left + screen.width;
  const int32_t main_right = main.left + main.width;
  int32_t left = screen_right - width;
  if (main_right + width <= screen_right) {
    left = main_right;
  } else if (main.left - width >= screen.left) {
    left = main.left - width;
  }
  const int32_t top = std::max(screen.top, std::min(main.top, screen.top + screen.height - height));
  return {left, top, width, height};
}

Rect PlaceMaxViewWindow(const Rect& main, const Rect& screen, int32_t chrome_height,
                        const MaxViewContent& content) {
  int32_t height = chrome_height + kMaxViewDesignClientHeight;
  if (content.rows_height > 0) {
    height = std::max(content.rows_height + chrome_height + kMaxViewListBottomMargin, kMinMvYsize);
  }
  int32_t list_width = content.columns_width;
  if (height > screen.height) {
    list_width += content.scroll_bar_width;
  }
  const int32_t width = std::max(list_width + kMaxViewListRightMargin, kMinMvXsize);
  return PlaceBesideWindow(main, screen, width, height);
}

}  // namespace dravik
