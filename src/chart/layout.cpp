#include "chart/layout.h"

#include <algorithm>
#include <cmath>

#include "common/core_text.h"
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

namespace {

// The columns of `widths` (one a line, filled column by column) `rows` lines high: each column's
// left edge inside the box, and the box's width.
int ColumnsWidth(const std::vector<int>& widths, int rows, const HoverMetrics& m,
                 std::vector<int>* lefts) {
  int x = m.padding_px;
  for (size_t first = 0; first < widths.size(); first += static_cast<size_t>(rows)) {
    const size_t end = std::min(widths.size(), first + static_cast<size_t>(rows));
    if (lefts != nullptr) {
      lefts->push_back(x);
    }
    x += *std::max_element(widths.begin() + static_cast<std::ptrdiff_t>(first),
                           widths.begin() + static_cast<std::ptrdiff_t>(end)) +
         (end < widths.size() ? m.column_gap_px : 0);
  }
  return x + m.padding_px;
}

// Where a box of `size` goes along one axis of an area: after the pointer, else before it, else
// against the area's far edge, never before its near edge.
int32_t PlaceBy(int pointer, int offset, int size, int32_t start, int32_t length) {
  if (pointer + offset + size <= start + length) {
    return pointer + offset;
  }
  if (pointer - offset - size >= start) {
    return pointer - offset - size;
  }
  return std::max(start, start + length - size);
}

}  // namespace

HoverLayout LayoutHoverReadout(const std::vector<ReadoutLine>& lines, const TextMeasure& measure,
                               const HoverMetrics& metrics, const Rect& area, int pointer_x,
                               int pointer_y) {
  HoverLayout layout;
  if (lines.empty()) {
    return layout;
  }
  const auto line_width = [&](std::string_view text) {
    return metrics.lead_px + static_cast<int>(std::ceil(measure(text)));
  };
  std::vector<int> widths;
  widths.reserve(lines.size());
  for (const ReadoutLine& line : lines) {
    widths.push_back(line_width(line.text));
  }
  const int items = static_cast<int>(lines.size()) - 1;
  const int line_px = std::max(metrics.line_height_px, 1);
  const int max_rows = std::max((area.height - 2 * metrics.padding_px) / line_px, 1);
  // From the most items down, the first count whose lines fit in some number of columns.
  for (int shown = std::min(items, kMaxHoverItems); shown >= 0; --shown) {
    std::vector<int> candidate(widths.begin(), widths.begin() + 1 + shown);
    std::string more;
    if (shown < items) {
      more = ArgText(CoreText::Tr("…他 %1 項目"), {std::to_string(items - shown)});
      candidate.push_back(line_width(more));
    }
    const int count = static_cast<int>(candidate.size());
    for (int columns = (count + max_rows - 1) / max_rows; columns <= count; ++columns) {
      const int rows = (count + columns - 1) / columns;
      if (ColumnsWidth(candidate, rows, metrics, nullptr) > area.width && shown > 0) {
        continue;
      }
      layout.lines.assign(lines.begin(), lines.begin() + 1 + shown);
      layout.item_lines = shown;
      if (!more.empty()) {
        layout.lines.push_back({more, MakeRgb(0, 0, 0)});
      }
      layout.rows = rows;
      const int width = ColumnsWidth(candidate, rows, metrics, &layout.column_left_px);
      const int height = rows * line_px + 2 * metrics.padding_px;
      layout.box = {PlaceBy(pointer_x, metrics.offset_px, width, area.left, area.width),
                    PlaceBy(pointer_y, metrics.offset_px, height, area.top, area.height), width,
                    height};
      return layout;
    }
  }
  return layout;
}

}  // namespace dravik
