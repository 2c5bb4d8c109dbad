#include "app/ini_file.h"

#include <string>

#include <gtest/gtest.h>

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

TEST(ReadIniValue, CutsValuesAt254CharactersAndAtANul) {
  const std::string long_value(300, 'a');
  const IniFile file =
      IniFile::Parse("[s]\nlong=" + long_value + "\nnul=ab" + std::string(1, '\0') + "cd\n");
  EXPECT_EQ(file.ReadIniValue("s", "long"), std::string(254, 'a'));
  EXPECT_EQ(file.ReadIniValue("s", "nul"), "ab");
}

TEST(IniFile, LoadReportsAFileThatCannotBeRead) {
  EXPECT_FALSE(IniFile::Load("/nonexistent/dravik.ini").has_value());
}

}  // namespace
}  // namespace dravik
