#include "chart/layout.h"

#include <algorithm>

#include "common/rounding.h"

namespace dravik {

Rect MoveControl(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, std::max(width, 0), std::max(height, 0)};
}

Rect FitOnScreen(const Rect& outer, const Rect& screen, int32_t min_width, int32_t min_height) {
  Rect fitted;
  fitted.width = std::max(std::min(outer.width, screen.width), min_width);
  fitted.height = std::max(std::min(outer.height, screen.height), min_height);
  fitted.left =
      std::max(std::min(outer.left, screen.left + screen.width - fitted.width), screen.left);
  fitted.top =
      std::max(std::min(outer.top, screen.top + screen.height - fitted.height), screen.top);
  return fitted;
}

int32_t WindowChromeHeight(int caption_px, int sizing_frame_px, double twips_per_px) {
  return static_cast<int32_t>(RoundHalfEven(twips_per_px * (caption_px + 2 * sizing_frame_px)));
}

MainLayout LayoutMainWindow(int32_t width, int32_t height, int32_t chrome_height,
                            int32_t scale_width_twips) {
  MainLayout layout;
  layout.window_width = width <= kMainMinimumWidth ? kMainMinimumWidth : width;
  layout.window_height = height <= kMainMinimumHeight ? kMainMinimumHeight : height;
  const int32_t w = layout.window_width;
  const int32_t hw = layout.window_height;
  const int32_t chart_height = hw - chrome_height - 495;
  const int32_t right = w - 3735;
  const int32_t command_top = hw - 2325 - kCommandFrameHeight;
  layout.back = MoveControl(120, 120, w - 3975, chart_height);
  layout.scale = MoveControl(0, 0, scale_width_twips, layout.back.height);
  layout.graph = GraphRect(layout.back, scale_width_twips);
  layout.scroll_x =
      MoveControl(120, layout.back.height + 105, layout.back.width, kChartScrollHeight);
  layout.select_item = MoveControl(right, 120, kRightColumnWidth, command_top - 105);
  layout.command = MoveControl(right, command_top, kRightColumnWidth, kCommandFrameHeight);
  layout.fuel_efficient = MoveControl(right, command_top + kCommandFrameHeight + 105,
                                      kRightColumnWidth, kCommandFrameHeight);
  return layout;
}

Rect GraphRect(const Rect& back, int32_t scale_width_twips) {
  return MoveControl(scale_width_twips, 0, back.width - scale_width_twips, back.height);
}

MaxViewLayout LayoutMaxViewWindow(int32_t width, int32_t height, int32_t non_client_height) {
  MaxViewLayout layout;
  layout.window_height = std::max(height, non_client_height + kMaxViewMinimumHeightAboveChrome);
  layout.list = MoveControl(0, 0, width - 120, layout.window_height - (non_client_height + 570));
  const int32_t middle = static_cast<int32_t>(RoundHalfEven(width / 2.0));
  const int32_t buttons_top = layout.list.height + 105;
  layout.close_button =
      MoveControl(middle - 1575, buttons_top, kMaxViewButtonWidth, kMaxViewButtonHeight);
  layout.copy_button = MoveControl(middle, buttons_top, kMaxViewButtonWidth, kMaxViewButtonHeight);
  layout.save_section_button =
      MoveControl(middle + 1575, buttons_top, kMaxViewSaveSectionButtonWidth, kMaxViewButtonHeight);
  return layout;
}

int32_t MaxViewMinimumWidth(int32_t frame_width_twips) {
  return std::max(2 * 1575, 2 * (kMaxViewButtonWidth + frame_width_twips));
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

}  // namespace dravik
