#include "log/text_decoding.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "core/log/read_log_helpers.h"

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

TEST(ReadLog, DecodesUtf16Files) {
  std::u16string text = u"時間,速度 (km/h)\r\n";
  for (int r = 0; r < 11; ++r) {
    const std::string row = std::to_string(r * 250) + "," + std::to_string(r) + ".5\r\n";
    text += std::u16string(row.begin(), row.end());
  }
  for (const bool big_endian : {false, true}) {
    LogTable table;
    ASSERT_EQ(Load(Utf16(text, big_endian), table).kind, LoadFailure::kNone);
    EXPECT_EQ(table.item_names, (std::vector<std::string>{"時間", "速度 (km/h)"}));
    EXPECT_EQ(table.Values(1)[3], 3.5f);
  }
}

TEST(ReadLog, DecodesCp932NamesOneByOne) {
  // "水温" in CP932 beside "油温" in UTF-8, and a name with a byte that is no character.
  const std::string header = "Time,\x90\x85\x89\xB7,油温,bad\xFF\r\n";
  LogTable table;
  ASSERT_EQ(Load(header + Body(11, 3), table).kind, LoadFailure::kNone);
  EXPECT_EQ(table.item_names[1], "水温");
  EXPECT_EQ(table.item_names[2], "油温");
  EXPECT_EQ(table.item_names[3], "bad\xEF\xBF\xBD");
}

}  // namespace
}  // namespace dravik
