#include "panel/item_panel_layout.h"

#include <string>

#include <gtest/gtest.h>

namespace dravik {
namespace {

// A font where a dot is 3 pixels, other ASCII 6 and every other character 12, scaled by `scale`.
TextMeasure FakeFont(double scale = 1.0) {
  return [scale](std::string_view text) {
    double width = 0;
    for (const char c : text) {
      const unsigned char byte = static_cast<unsigned char>(c);
      if (byte == '.') {
        width += 3;
      } else if (byte < 0x80) {
        width += 6;
      } else if ((byte & 0xC0) != 0x80) {
        width += 12;
      }
    }
    return width * scale;
  };
}

TEST(FitItemCaption, ANameThatFitsIsShownWhole) {
  EXPECT_EQ(FitItemCaption("ABC", 18, FakeFont(), false).caption, "ABC");
  EXPECT_EQ(FitItemCaption("ABC", 18, FakeFont(), false).tooltip, "");
  EXPECT_EQ(FitItemCaption("ABC", 18, FakeFont(), true).tooltip, "ABC");
  // 18.5 rounds to 18, which fits exactly.
  EXPECT_EQ(FitItemCaption("ABC", 18, FakeFont(18.5 / 18), false).caption, "ABC");
  // 19.5 rounds to 20, which does not.
  EXPECT_EQ(FitItemCaption("ABC", 19, FakeFont(19.5 / 18), false).caption, "A...");
}

TEST(FitItemCaption, ALongNameIsCutWithItsFullNameAsTooltip) {
  struct Case {
    const char* name;
    int64_t available;
    const char* caption;
  };
  const Case cases[] = {
      {"ABC", 17, "A..."},                    // "AB..." is 21, "A..." 15
      {"ABCDEF", 30, "ABC..."},               // 27 fits, 33 does not
      {"ABC", 5, "A..."},                     // nothing fits: the first character stays
      {"エンジン回転数", 60, "エンジン..."},  // cut between characters, not bytes
      {"回転数", 20, "回..."},
  };
  for (const Case& c : cases) {
    for (const bool always : {false, true}) {
      const FittedCaption fitted = FitItemCaption(c.name, c.available, FakeFont(), always);
      EXPECT_EQ(fitted.caption, c.caption) << c.name;
      EXPECT_EQ(fitted.tooltip, c.name) << c.name;
    }
  }
}

TEST(ItemPanelGeometry, BoxesListAndCaptionWidth) {
  EXPECT_EQ(ItemBoxTop(1), 0);
  EXPECT_EQ(ItemBoxTop(2), 240);
  EXPECT_EQ(ItemBoxTop(3), 480);
  EXPECT_EQ(ItemListHeight(3), 735);
  EXPECT_EQ(ItemListHeight(128), 30735);
  EXPECT_EQ(ItemCaptionAvailablePx(), 181);
  EXPECT_EQ(ItemColourMenuCaption(7), "項目7の色の変更");
}

TEST(FitItemPanelScroll, ScrollsOnlyATallerList) {
  const ItemPanelScroll few = FitItemPanelScroll(5175, 735);
  EXPECT_EQ(few.view_height, 4815);
  EXPECT_FALSE(few.enabled);
  const ItemPanelScroll many = FitItemPanelScroll(5175, ItemListHeight(100));
  EXPECT_TRUE(many.enabled);
  EXPECT_EQ(many.maximum, 24015 - 4815);
  EXPECT_EQ(many.page_step, 24015);
  EXPECT_FALSE(FitItemPanelScroll(5175, 4815).enabled);
  EXPECT_EQ(FitItemPanelScroll(300, 255).view_height, 0);
}

// The item panel fits a 10 MB name from a hostile header without measuring every prefix.
TEST(HostileNames, AHugeNameIsFittedWithFewMeasurements) {
  const std::string name = "Engine Speed " + std::string(10 << 20, 'x');
  int measurements = 0;
  const TextMeasure six_px_per_byte = [&](std::string_view text) {
    ++measurements;
    return 6.0 * static_cast<double>(text.size());
  };
  const FittedCaption fitted = FitItemCaption(name, 180, six_px_per_byte, false);
  EXPECT_EQ(fitted.caption, "Engine Speed xxxxxxxxxxxxxx...");  // 27 characters and "...": 180 px
  EXPECT_EQ(fitted.tooltip, name);
  EXPECT_LT(measurements, 64);
}

}  // namespace
}  // namespace dravik
