#include "panel/item_panel_layout.h"

#include <algorithm>
#include <vector>

#include "common/core_text.h"
#include "common/rounding.h"

namespace dravik {
namespace {

// Byte offsets where the characters of a UTF-8 text start, and its length as the last entry. A
// byte that cannot start a character counts as one of its own, so any text splits.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  size_t i = 0;
  while (i < text.size()) {
    starts.push_back(i);
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = 1;
    if (lead >= 0xF0 && lead < 0xF8) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = lead < 0xF0 ? 3 : 1;
    } else if (lead >= 0xC0) {
      length = 2;
    }
    size_t end = i + 1;
    while (end < i + length && end < text.size() &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
      ++end;
    }
    i = end;
  }
  starts.push_back(text.size());
  return starts;
}

}  // namespace

FittedCaption FitItemCaption(std::string_view name, int64_t available_px,
                             const TextMeasure& measure, bool always_tooltip) {
  const std::string full(name);
  if (available_px >= RoundHalfEven(measure(name))) {
    return {full, always_tooltip ? full : std::string()};
  }
  const std::vector<size_t> starts = CharacterStarts(name);
  const size_t characters = starts.size() - 1;
  const auto cut = [&](size_t d) { return std::string(name.substr(0, starts[d])).append("..."); };
  // Widths grow with the text, so the longest prefix that fits is found by bisection. Trying every
  // shorter prefix in turn would cost the square of the name's length, and a hostile file can hold
  // a name of megabytes.
  size_t fits = 0;                // longest prefix known to fit, 0 for none
  size_t fails = characters + 1;  // shortest prefix known not to fit
  while (fails - fits > 1) {
    const size_t d = fits + (fails - fits) / 2;
    if (measure(cut(d)) <= static_cast<double>(available_px)) {
      fits = d;
    } else {
      fails = d;
    }
  }
  return {characters == 0 ? std::string("...") : cut(std::max<size_t>(fits, 1)), full};
}

int32_t ItemBoxTop(int item) {
  return (item - 1) * kItemRowTwips;
}

int32_t ItemListHeight(int item_count) {
  return ItemBoxTop(item_count) + kItemBoxHeightTwips;
}

int64_t ItemCaptionAvailablePx(double twips_per_px) {
  return RoundHalfEven((kItemBoxWidthTwips - kItemCaptionInsetTwips) / twips_per_px);
}

ItemPanelScroll FitItemPanelScroll(int32_t frame_height, int32_t list_height) {
  ItemPanelScroll scroll;
  scroll.view_height = std::max(frame_height - 360, 0);
  if (list_height > scroll.view_height) {
    scroll.enabled = true;
    scroll.maximum = list_height - scroll.view_height;
    scroll.page_step = list_height;
  }
  return scroll;
}

std::string ItemColourMenuCaption(int item) {
  return ArgText(CoreText::Tr("項目%1の色の変更"), {std::to_string(item)});
}

}  // namespace dravik
