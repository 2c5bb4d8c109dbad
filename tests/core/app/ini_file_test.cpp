#include "app/ini_file.h"

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace dravik {
namespace {

TEST(ReadIniValue, FollowsTheLookupRules) {
  const IniFile file = IniFile::Parse(
      "\xEF\xBB\xBF"
      "Orphan=before any section\r\n"
      "[Setting]\r\n"
      "Xpos=100\r\n"
      "  ysize\t =  7500 \t\r\n"
      "Cylinder=4\n"
      "cylinder=6\n"  // a later duplicate is not seen
      "Equation=a=b=c\r"
      "Quoted=\"x y\"\n"
      "no equals sign here\n"
      "Empty=\n"
      "[ color ]\n"
      "ITEM_COLOR1=FF8040\n"
      "[Other\n"
      "Xpos=999\n"
      "[Setting]\n"
      "Xpos=555\n"
      "Late=found\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Setting", "Xpos", "100"},
      {"SETTING", "XPOS", "100"},
      {"setting", "YSize", "7500"},
      {"Setting", "Cylinder", "4"},
      {"Setting", "Equation", "a=b=c"},
      {"Setting", "Quoted", "\"x y\""},
      {"Setting", "Empty", ""},
      {"Setting", "Missing", ""},
      {"Setting", "no equals sign here", ""},
      {"Color", "Item_color1", "FF8040"},
      {"Other", "Xpos", "999"},
      {"Setting", "Late", "found"},
      {"Missing", "Xpos", ""},
      {"", "Orphan", "before any section"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(file.ReadIniValue(c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
}

TEST(ReadIniValue, CutsTheOriginalKeysAt254CharactersAndEveryValueAtANul) {
  const std::string long_value(300, 'a');
  const IniFile file =
      IniFile::Parse("[Setting]\nXpos=" + long_value + "\nCylinder=" + long_value +
                     "\nSpeedItem=" + long_value + "\n[Color]\nItem_color9=" + long_value +
                     "\n[Formulas]\nF1=" + long_value + "\nnul=ab" + std::string(1, '\0') + "cd\n");
  const struct {
    const char* section;
    const char* key;
    size_t length;
  } cases[] = {{"Setting", "xpos", 254},      {"Setting", "Cylinder", 254},
               {"Setting", "SpeedItem", 300}, {"color", "Item_color9", 254},
               {"Formulas", "F1", 300},       {"Formulas", "nul", 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(file.ReadIniValue(c.section, c.key).size(), c.length) << c.section << "/" << c.key;
  }
}

TEST(IniFile, LoadRefusesAFileThatCannotBeReadOrIsBeyondTheLimit) {
  TempDir dir;
  const std::string at_limit = "[s]\nk=v\n" + std::string(kMaxIniFileBytes - 8, ';');
  ASSERT_EQ(at_limit.size(), kMaxIniFileBytes);
  EXPECT_EQ(IniFile::Load(dir.Write("at.ini", at_limit)).value_or(IniFile()).ReadIniValue("s", "k"),
            "v");
  EXPECT_FALSE(IniFile::Load(dir.Write("beyond.ini", at_limit + ";")).has_value());
  EXPECT_FALSE(IniFile::Load("/nonexistent/dravik.ini").has_value());
}

}  // namespace
}  // namespace dravik
