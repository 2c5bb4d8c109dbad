#include "log/text_decoding.h"

#include <gtest/gtest.h>

namespace dravik {
namespace {

TEST(IsValidUtf8, RejectsMalformedSequences) {
  struct Case {
    std::string_view text;
    bool valid;
  };
  const Case cases[] = {
      {"plain", true},
      {"瞬間燃費", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xC0\xAF", false},
      {"\xE0\x80\xAF", false},
      {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false},
      {"\xE3\x81", false},
      {"\x80", false},
      {"\x93\xfa\x96\x7b", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
  }
}

TEST(Utf16ToUtf8, DecodesPairsAndReplacesBrokenUnits) {
  EXPECT_EQ(Utf16ToUtf8(std::string_view("A\0\xE5\x65", 4), false), "A日");
  EXPECT_EQ(Utf16ToUtf8(std::string_view("\xD8\x3D\xDE\x00", 4), true), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::string_view("\x00\xD8\x41\x00", 4), false),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(Utf16ToUtf8(std::string_view("A\0B", 3), false), "A\xEF\xBF\xBD");
}

TEST(Cp932ToUtf8, DecodesAndReplacesBadBytes) {
  EXPECT_EQ(Cp932ToUtf8("\x93\xfa\x96\x7b (km/h)"), "日本 (km/h)");
  EXPECT_EQ(Cp932ToUtf8("\x87\x40"), "①");   // a vendor extension
  EXPECT_EQ(Cp932ToUtf8("\xB1\xB2"), "ｱｲ");  // half-width katakana
  EXPECT_EQ(Cp932ToUtf8("a\xFF"
                        "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Cp932ToUtf8("a\x93"), "a\xEF\xBF\xBD");  // lead byte cut off
  EXPECT_TRUE(IsValidUtf8(Cp932ToUtf8("\x80\xA0\xFD\xFE\xFF\x81")));
}

TEST(ItemNameToUtf8, KeepsUtf8AndDecodesTheRest) {
  EXPECT_EQ(ItemNameToUtf8("瞬間燃費 (km/l)"), "瞬間燃費 (km/l)");
  EXPECT_EQ(ItemNameToUtf8("\x90\x85\x89\xB7"), "水温");
}

}  // namespace
}  // namespace dravik
