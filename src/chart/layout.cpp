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

MainLayout LayoutMainWindow(int32_t width, int32_t height, int32_t chrome_height) {
  MainLayout layout;
  layout.window_width = width <= kMainMinimumWidth ? kMainMinimumWidth : width;
  layout.window_height = height <= kMainMinimumHeight ? kMainMinimumHeight : height;
  const int32_t w = layout.window_width;
  const int32_t hw = layout.window_height;
  const int32_t chart_height = hw - chrome_height - 495;
  const int32_t right = w - 3735;
  const int32_t command_top = hw - 2325 - kCommandFrameHeight;
  layout.back = MoveControl(120, 120, w - 3975, chart_height);
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

}  // namespace dravik
