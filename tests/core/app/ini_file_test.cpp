#include "app/ini_file.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "app/decimal_text.h"
#include "app/settings_file.h"

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

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"", 0},         {"abc", 0}, {"  12", 12},  {"\t-3.5x", -3.5}, {"1 2", 1},
      {".768", 0.768}, {"5.", 5},  {"1e3", 1000}, {"1E+3", 1000},    {"2e", 2},
      {"2e+", 2},      {"-", 0},   {".", 0},      {"+.5", 0.5},      {"1,5", 1},
      {"0x10", 0},     {"inf", 0}, {"- 1", 0},    {"12 ", 12},       {"1e-400", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.expected) << c.text;
  }
  EXPECT_EQ(LeadingNumber("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-0.001e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("0.0000001e-320"), 0);
}

TEST(ChooseSettingsFilePath, UsesTheConfigurationDirectoryWhenTheProgramIsInstalled) {
  struct Case {
    const char* executable;
    bool writable;
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/home/me/dravik/dravik", true, "/x", "/home/me", "/home/me/dravik/dravik.ini"},
      {"/home/me/bin/viewer.exe", true, "", "", "/home/me/bin/viewer.ini"},
      {"dravik", true, "", "", "dravik.ini"},
      {"/usr/bin/dravik", false, "/home/me/.cfg", "/home/me", "/home/me/.cfg/dravik/dravik.ini"},
      {"/usr/bin/dravik", false, "/home/me/.cfg/", "/home/me", "/home/me/.cfg/dravik/dravik.ini"},
      {"/usr/bin/dravik", false, "", "/home/me", "/home/me/.config/dravik/dravik.ini"},
      {"/usr/bin/dravik", false, "relative", "/home/me/", "/home/me/.config/dravik/dravik.ini"},
      {"/usr/bin/dravik", false, "", "", "/usr/bin/dravik.ini"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseSettingsFilePath(c.executable, c.writable, c.xdg, c.home), c.expected)
        << c.executable;
  }
}

TEST(AppDirectory, KeepsExactlyOneTrailingSeparator) {
  EXPECT_EQ(AppDirectory("/opt/dravik/dravik"), "/opt/dravik/");
  EXPECT_EQ(AppDirectory("/dravik"), "/");
  EXPECT_EQ(AppDirectory("dravik"), "");
  EXPECT_EQ(ExecutableBaseName("/opt/dravik/dravik.bin"), "dravik");
  EXPECT_EQ(ExecutableBaseName("/opt/my.dir/dravik"), "dravik");
}

}  // namespace
}  // namespace dravik
