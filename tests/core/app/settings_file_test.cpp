#include "app/settings_file.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_log.h"

namespace dravik {
namespace {

namespace fs = std::filesystem;

constexpr ScreenSize kScreen{28800, 16200};

Settings ReadText(std::string_view text) {
  return ReadSettings(IniFile::Parse(text), kScreen);
}

std::string ExpectedFirstStartFile() {
  std::string text =
      "[Setting]\r\nXpos=0\r\nYpos=0\r\nXsize=10000\r\nYsize=7365\r\nMV_Xpos=0\r\nMV_Ypos=0\r\n"
      "MV_Xsize=0\r\nMV_Ysize=0\r\nTimeUnitSec=0\r\nSectionTime=0\r\nGraphScaleMode=0\r\n"
      "AlwaysToolTip=0\r\nInjectorFlowScaling=430.72\r\nInjectorLatency=0.98\r\nCylinder=4\r\n"
      "SpeedItem=\r\nSpeedUnit=0\r\nEngineSpeedItem=\r\nPulseWidthItem=\r\nLanguage=ja\r\n"
      "\r\n[Color]\r\n";
  const char* first[16] = {"FF00FF", "0000FF", "FF8040", "00FF00", "800000", "FFFF00",
                           "FF0000", "8080FF", "008000", "00FFFF", "800080", "FF0080",
                           "000000", "008040", "000080", "008080"};
  for (int n = 1; n <= 128; ++n) {
    const std::string colour = n <= 16 ? first[n - 1] : ColorToHex(DefaultItemColors()[n - 1]);
    text += "Item_color" + std::to_string(n) + "=" + colour + "\r\n";
  }
  return text;
}

TEST(LoadSettings, FirstStartWritesTheDefaultFileAndReadsItBackCorrected) {
  TempDir dir;
  const std::string path = dir / "dravik.ini";
  const StartUpSettings start = LoadSettings(path, kScreen);
  EXPECT_TRUE(start.created);
  EXPECT_TRUE(start.created_write.ok) << start.created_write.error;
  EXPECT_EQ(dravik::ReadText(path), ExpectedFirstStartFile());
  const Settings& s = start.settings;
  EXPECT_EQ(s.xpos, 0);
  EXPECT_EQ(s.ypos, 0);
  EXPECT_EQ(s.xsize, 10875);
  EXPECT_EQ(s.ysize, 7500);
  EXPECT_EQ(s.mv_xsize, 7935);
  EXPECT_EQ(s.mv_ysize, 1500);
  EXPECT_FALSE(HasMaxViewPlace(s));  // the numeric display has never been placed
  EXPECT_EQ(s.injector_flow_scaling, 430.72f);
  EXPECT_EQ(s.injector_latency, 0.98f);
  EXPECT_EQ(s.cylinder, 4);
  EXPECT_EQ(s.item_colors, DefaultItemColors());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // The second start reads the file it finds and does not write it.
  const StartUpSettings again = LoadSettings(path, kScreen);
  EXPECT_FALSE(again.created);
  EXPECT_EQ(again.settings.xsize, 10875);
}

TEST(LoadSettings, FirstStartTakesTheSeedFileAndWhatCannotBeReadIsKept) {
  TempDir dir;
  const std::string seed = dir.Write("program.ini", "[Setting]\r\nCylinder=6\r\n");
  const StartUpSettings start = LoadSettings(dir / "user/dravik.ini", kScreen, seed);
  EXPECT_TRUE(start.created);
  EXPECT_EQ(start.settings.cylinder, 6);
  EXPECT_EQ(LoadSettings(dir / "user/dravik.ini", kScreen).settings.cylinder, 6);

  std::filesystem::create_directory(dir.path() / "folder.ini");
  const StartUpSettings folder = LoadSettings(dir / "folder.ini", kScreen, seed);
  EXPECT_TRUE(folder.unreadable);
  EXPECT_FALSE(folder.created);
  EXPECT_EQ(folder.settings.cylinder, 4);

  std::filesystem::permissions(seed, std::filesystem::perms(0444));
  EXPECT_TRUE(LoadSettings(seed, kScreen).read_only);
  EXPECT_FALSE(SaveSettings(seed, Settings{}).ok);
  EXPECT_EQ(LoadSettings(seed, kScreen).settings.cylinder, 6);
}

TEST(LoadSettings, FirstStartInALocationThatCannotBeWrittenKeepsTheDefaults) {
  TempDir dir;
  WriteText(dir / "file", "");
  const StartUpSettings start = LoadSettings(dir / "file/dravik.ini", kScreen);
  EXPECT_TRUE(start.created);
  EXPECT_FALSE(start.created_write.ok);
  EXPECT_FALSE(start.created_write.error.empty());
  EXPECT_EQ(start.settings.injector_flow_scaling, 430.72f);
  EXPECT_EQ(start.settings.cylinder, 4);
  EXPECT_EQ(start.settings.xsize, 10875);
}

TEST(ReadSettings, LanguageIsEnglishOnlyForEn) {
  const struct {
    const char* text;
    Language language;
  } cases[] = {{"", Language::kJapanese},
               {"[Setting]\r\nLanguage=en\r\n", Language::kEnglish},
               {"[Setting]\r\nLanguage=ja\r\n", Language::kJapanese},
               {"[Setting]\r\nLanguage=EN\r\n", Language::kJapanese},
               {"[Setting]\r\nLanguage=english\r\n", Language::kJapanese}};
  for (const auto& c : cases) {
    EXPECT_EQ(ReadText(c.text).language, c.language) << c.text;
  }
  Settings english;
  english.language = Language::kEnglish;
  EXPECT_EQ(ReadText(SettingsFileText(english)).language, Language::kEnglish);
}

TEST(ReadSettings, CorrectsPositionsAndSizes) {
  struct Case {
    const char* line;
    int32_t Settings::*field;
    int32_t expected;
  };
  const Case cases[] = {
      {"Xsize=5000", &Settings::xsize, 10875},
      {"Xsize=12000", &Settings::xsize, 12000},
      {"Ysize=", &Settings::ysize, 7500},
      {"Ysize=-20000", &Settings::ysize, 7500},
      {"Ysize=70000", &Settings::ysize, 70000},  // beyond 16 bits, not wrapped
      {"MV_Xsize=0", &Settings::mv_xsize, 7935},
      {"MV_Ysize=-3", &Settings::mv_ysize, 1500},
      {"Xpos=-60", &Settings::xpos, 0},
      {"Xpos=28800", &Settings::xpos, 28800},
      {"Xpos=28801", &Settings::xpos, 0},
      {"Ypos=16200", &Settings::ypos, 16200},
      {"Ypos=16201", &Settings::ypos, 0},
      {"MV_Xpos=-32000", &Settings::mv_xpos, 0},
      {"MV_Xpos=300.5", &Settings::mv_xpos, 300},
      {"MV_Ypos=16201", &Settings::mv_ypos, 0},
      {"Xpos=1.5E+03", &Settings::xpos, 1500},
      {"Cylinder=4.5", &Settings::cylinder, 4},
      {"Cylinder=5.5", &Settings::cylinder, 6},
      {"Cylinder=-2", &Settings::cylinder, -2},
      {"Cylinder=1e12", &Settings::cylinder, 2147483647},
      {"Cylinder=-1e12", &Settings::cylinder, -2147483647 - 1},
      {"Cylinder=  7", &Settings::cylinder, 7},
      {"Cylinder=1 2", &Settings::cylinder, 1},
      {"Cylinder=12abc", &Settings::cylinder, 12},
      {"Cylinder=x12", &Settings::cylinder, 0},
      {"Cylinder=\"4\"", &Settings::cylinder, 0},
      {"TimeUnitSec=1", &Settings::time_unit_sec, 1},
      {"SectionTime=2", &Settings::section_time, 2},
      {"GraphScaleMode=100000", &Settings::graph_scale_mode, 100000},
      {"AlwaysToolTip=-1", &Settings::always_tooltip, -1},
  };
  for (const Case& c : cases) {
    const Settings s = ReadText(std::string("[Setting]\r\n") + c.line + "\r\n");
    EXPECT_EQ(s.*c.field, c.expected) << c.line;
  }
}

TEST(ReadSettings, FuelParametersReadAsTheirLeadingNumber) {
  struct Case {
    const char* value;
    float expected;
  };
  const Case cases[] = {
      {"abc", 0},   {"", 0},     {"0.98", 0.98f}, {"-3", -3}, {"5.", 5},
      {".5e1x", 5}, {"1e39", 0}, {"1e-50", 0},    {"2e", 2},  {"+430.72", 430.72f}};
  for (const Case& c : cases) {
    const Settings s = ReadText(std::string("[Setting]\nInjectorLatency=") + c.value +
                                "\nInjectorFlowScaling=" + c.value + "\n");
    EXPECT_EQ(s.injector_latency, c.expected) << c.value;
    EXPECT_EQ(s.injector_flow_scaling, c.expected) << c.value;
  }
  EXPECT_EQ(ReadText("").injector_flow_scaling, 0);
  EXPECT_EQ(ReadText("").cylinder, 0);
}

TEST(HexToColor, ReadsEveryItemInEitherCase) {
  for (const char* text : {"FF8040", "ff8040", "Ff8040"}) {
    std::string file = "[Color]\r\n";
    for (int n = 1; n <= 128; ++n) {
      file += "Item_color" + std::to_string(n) + "=" + text + "\r\n";
    }
    const Settings s = ReadText(file);
    for (int n = 1; n <= 128; ++n) {
      ASSERT_EQ(s.item_colors[n - 1], MakeRgb(255, 128, 64)) << text << " item " << n;
    }
  }
}

TEST(HexToColor, TakesCharacterPositionsOrRefuses) {
  struct Case {
    const char* text;
    std::optional<Rgb> expected;
  };
  const Case cases[] = {
      {"000000", MakeRgb(0, 0, 0)},
      {"0000FF", MakeRgb(0, 0, 255)},
      {"123456", MakeRgb(0x12, 0x34, 0x56)},
      {"1234", MakeRgb(0x12, 0x34, 0x34)},
      {"12345678", MakeRgb(0x12, 0x34, 0x78)},
      {"12zz56", std::nullopt},
      {"FF80zz40", MakeRgb(255, 128, 64)},  // characters 5-6 are not taken
      {"FF", MakeRgb(0xFF, 0xFF, 0)},
      {"F", MakeRgb(0xFF, 0, 0)},
      {"", std::nullopt},
      {"GG8040", std::nullopt},
      {"FF80 0", std::nullopt},
      {"-F8040", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HexToColor(c.text), c.expected) << c.text;
  }
}

TEST(ColorToHex, WritesRedGreenBlueFromTheLow24Bits) {
  EXPECT_EQ(ColorToHex(MakeRgb(255, 128, 64)), "FF8040");
  EXPECT_EQ(ColorToHex(MakeRgb(0, 0, 1)), "000001");
  EXPECT_EQ(ColorToHex(0xAB000000u | MakeRgb(1, 2, 3)), "010203");
}

TEST(ReadSettings, MissingOrMalformedColoursFallBackToTheDefaultTable) {
  const ItemColors defaults = DefaultItemColors();
  const Settings s = ReadText(
      "[Color]\nItem_color1=0000FF\nItem_color3=ZZ8040\nItem_color5=\nItem_color40=\n"
      "Item_color41=nothex\nItem_color42=FF8040\n");
  EXPECT_EQ(s.item_colors[0], MakeRgb(0, 0, 255));
  EXPECT_EQ(s.item_colors[1], defaults[1]);            // missing
  EXPECT_EQ(s.item_colors[2], MakeRgb(255, 128, 64));  // malformed: the default
  EXPECT_EQ(s.item_colors[4], defaults[4]);            // empty
  EXPECT_EQ(s.item_colors[39], defaults[39]);
  EXPECT_EQ(s.item_colors[40], defaults[40]);
  EXPECT_EQ(s.item_colors[41], MakeRgb(255, 128, 64));
  EXPECT_EQ(s.item_colors[127], defaults[127]);
}

TEST(SaveSettings, RoundTripsEveryField) {
  TempDir dir;
  Settings s;
  s.xpos = 1500;
  s.ypos = 16200;
  s.xsize = 20000;
  s.ysize = 9000;
  s.mv_xpos = 300;
  s.mv_ypos = 450;
  s.mv_xsize = 8000;
  s.mv_ysize = 3000;
  s.time_unit_sec = 1;
  s.section_time = 1;
  s.graph_scale_mode = 1;
  s.always_tooltip = 1;
  s.injector_flow_scaling = 1234.567f;
  s.injector_latency = 0.000123f;
  s.cylinder = 6;
  s.fuel_items = {"Speed (mph)", 1, "回転数", "IPW=ms"};
  for (int n = 0; n < 128; ++n) {
    s.item_colors[n] = MakeRgb(n, 255 - n, n * 2);
  }
  const std::string path = dir / "dravik.ini";
  const FileWriteResult write = SaveSettings(path, s);
  ASSERT_TRUE(write.ok) << write.error;
  const StartUpSettings read = LoadSettings(path, kScreen);
  EXPECT_FALSE(read.created);
  const Settings& r = read.settings;
  EXPECT_EQ(SettingsFileText(r), SettingsFileText(s));
  EXPECT_EQ(r.injector_flow_scaling, s.injector_flow_scaling);
  EXPECT_EQ(r.injector_latency, s.injector_latency);
  EXPECT_EQ(r.item_colors, s.item_colors);
  EXPECT_EQ(r.fuel_items, s.fuel_items);
  EXPECT_NE(dravik::ReadText(path).find("\r\nXpos=1500\r\nYpos=16200\r\n"), std::string::npos);
  EXPECT_NE(dravik::ReadText(path).find("\r\nInjectorLatency=0.000123\r\n"), std::string::npos);
}

TEST(SaveSettings, KeepsCheckedItemsInASectionOfTheirOwn) {
  Settings s;
  EXPECT_EQ(SettingsFileText(s).find("[CheckedItems]"), std::string::npos);
  const std::string long_name(kMaxIniFileBytes / 3, 'x');
  s.checked_items = {"Speed", long_name, long_name + "2", long_name + "3", "瞬間燃費 (km/l)"};
  const std::string text = SettingsFileText(s);
  EXPECT_NE(text.find("[Color]"), std::string::npos);
  EXPECT_GT(text.find("\r\n[CheckedItems]\r\nItem1=Speed\r\nItem2=" + long_name + "\r\n"),
            text.find("[Color]"));
  // Names are kept whole while the file stays within what the reader takes; older files without
  // the section read as none.
  EXPECT_LE(text.size(), kMaxIniFileBytes);
  EXPECT_EQ(ReadSettings(IniFile::Parse(text), kScreen).checked_items,
            (std::vector<std::string>{"Speed", long_name, long_name + "2", "瞬間燃費 (km/l)"}));
  s.fuel_items.speed = std::string(kMaxIniFileBytes, 's');
  EXPECT_EQ(ReadSettings(IniFile::Parse(SettingsFileText(s)), kScreen).fuel_items.speed, "");
  EXPECT_TRUE(
      ReadSettings(IniFile::Parse("[Setting]\r\nXpos=1\r\n"), kScreen).checked_items.empty());
}

TEST(SaveSettings, KeepsTheAnalysisChoicesOnceTheWindowWasUsed) {
  Settings s;
  EXPECT_EQ(SettingsFileText(s).find("[Analysis]"), std::string::npos);
  s.analysis = {"Engine Speed (rpm)",
                "Load",
                "A/F (AFR)",
                1,
                "TPS",
                "20",
                "",
                "500, 1000, 2000",
                "",
                3,
                5,
                1500,
                900,
                12000,
                9000};
  const std::string text = SettingsFileText(s);
  EXPECT_NE(text.find("\r\n[Analysis]\r\nXItem=Engine Speed (rpm)\r\nYItem=Load\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadText(text).analysis, s.analysis);
  // Values out of their range read as the defaults; a place off the screen as 0.
  const AnalysisChoices odd =
      ReadText("[Analysis]\r\nRange=7\r\nStatistic=-1\r\nMinCount=0\r\nXpos=99999\r\n").analysis;
  EXPECT_EQ(odd.range, 0);
  EXPECT_EQ(odd.statistic, 0);
  EXPECT_EQ(odd.min_count, 1);
  EXPECT_EQ(odd.xpos, 0);
  EXPECT_EQ(ReadText("").analysis, AnalysisChoices{});
}

TEST(SaveSettings, FormulasOfAnyPrintableTextSurviveInListOrder) {
  Settings s;
  EXPECT_EQ(SettingsFileText(s).find("[Formulas]"), std::string::npos);
  s.formulas = {{"Boost", "[MAP (kPa)] - [Baro (kPa)]"},
                {" padded ", "\t[A]\r\n* 2 "},
                {"\"quoted\"", "a\\n = \\ " + std::string(400, 'x')},
                {"", "1"},
                {"=", "\""}};
  const std::string text = SettingsFileText(s);
  EXPECT_NE(text.find("\r\n[Formulas]\r\nCount=5\r\nName1=Boost\r\n"
                      "Expression1=[MAP (kPa)] - [Baro (kPa)]\r\nName2=\" padded \"\r\n"
                      "Expression2=\"\\t[A]\\r\\n* 2 \"\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadSettings(IniFile::Parse(text), kScreen).formulas, s.formulas);
  // Entries the count leaves out are not read; a count beyond the entries reads what is there.
  EXPECT_EQ(ReadSettings(IniFile::Parse("[Formulas]\nCount=1\nName1=A\nExpression1=1\n"
                                        "Name2=B\nExpression2=2\n"),
                         kScreen)
                .formulas,
            (std::vector<Formula>{{"A", "1"}}));
  EXPECT_EQ(ReadSettings(IniFile::Parse("[Formulas]\nCount=99\nName2=B\nExpression2=2\n"), kScreen)
                .formulas,
            (std::vector<Formula>{{"B", "2"}}));
  // Formulas that would make the file too large to read back are left out, the rest kept.
  s.formulas.assign(64, {"N", std::string(40000, '\\')});
  const std::string large = SettingsFileText(s);
  EXPECT_LE(large.size(), kMaxIniFileBytes);
  const std::vector<Formula> kept = ReadSettings(IniFile::Parse(large), kScreen).formulas;
  EXPECT_GT(kept.size(), 1u);
  EXPECT_LT(kept.size(), 64u);
  EXPECT_EQ(kept.front(), s.formulas.front());
}

TEST(SaveSettings, WritesGeometryAndFloatsInTheGeneralForm) {
  Settings s;
  s.xpos = -60;
  s.xsize = 12345678;
  s.injector_flow_scaling = 1e-5f;
  const std::string text = SettingsFileText(s);
  EXPECT_NE(text.find("\r\nXpos=-60\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nXsize=1.234568E+07\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nInjectorFlowScaling=1E-05\r\n"), std::string::npos);
}

TEST(SaveSettings, ReportsAnUnwritableLocationAsAValue) {
  TempDir dir;
  WriteText(dir / "plain", "x");
  const FileWriteResult result = SaveSettings(dir / "plain/dravik.ini", Settings{});
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(dravik::ReadText(dir / "plain"), "x");
}

TEST(LoadSettings, SurvivesHostileFiles) {
  TempDir dir;
  std::string garbage;
  uint32_t state = 12345;
  for (int i = 0; i < 1 << 20; ++i) {
    state = state * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>(state >> 16));
  }
  std::string huge(10 << 20, 'x');
  huge.replace(0, 22, "[Setting]\nCylinder=6\n=");
  std::string many = "[Color]\r\n";
  for (int n = 0; n < 10000; ++n) {
    many += "Item_color" + std::to_string(n % 200) + "=" + (n < 200 ? "0000FF" : "FF0000") + "\r\n";
  }
  std::string long_value = "[Setting]\nCylinder=" + std::string(300, '7') + "\n";
  struct Case {
    const char* name;
    const std::string* text;
  };
  for (const Case& c : {Case{"garbage", &garbage}, Case{"huge", &huge}, Case{"many", &many},
                        Case{"long", &long_value}}) {
    const std::string path = dir / c.name;
    WriteText(path, *c.text);
    const auto start = std::chrono::steady_clock::now();
    const StartUpSettings read = LoadSettings(path, kScreen);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(read.created) << c.name;
    EXPECT_GE(read.settings.xsize, 10875) << c.name;
    RecordProperty(
        std::string(c.name) + "_ms",
        std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
  }
  EXPECT_TRUE(LoadSettings(dir / "huge", kScreen).unreadable);
  const Settings many_read = LoadSettings(dir / "many", kScreen).settings;
  for (int n = 1; n <= 128; ++n) {
    EXPECT_EQ(many_read.item_colors[n - 1], MakeRgb(0, 0, 255)) << n;  // first key wins
  }
  EXPECT_EQ(LoadSettings(dir / "long", kScreen).settings.cylinder, 2147483647);
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

// A program killed while it saves its settings leaves either the old file or the new one.
TEST(SaveSettingsKilled, LeavesTheOldOrTheNewFileNeverAPartialOne) {
  TempDir dir;
  const std::string path = dir / "dravik.ini";
  Settings old_settings;
  Settings new_settings;
  new_settings.cylinder = 6;
  new_settings.item_colors.fill(MakeRgb(1, 2, 3));
  const std::string old_text = SettingsFileText(old_settings);
  const std::string new_text = SettingsFileText(new_settings);
  ASSERT_TRUE(SaveSettings(path, old_settings).ok);

  std::mt19937 random(99);
  for (int round = 0; round < 30; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) {
        SaveSettings(path, i % 2 ? old_settings : new_settings);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500 + random() % 15000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string text = dravik::ReadText(path);
    ASSERT_TRUE(text == old_text || text == new_text) << "round " << round << ": " << text.size();
  }
}

TEST(SettingsFilePath, AProgramDirectoryThatCannotBeWrittenMovesTheFile) {
  const TempDir temp;
  const fs::path& dir = temp.path();
  fs::permissions(dir, fs::perms(0555));
  if (::access(dir.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "the superuser writes into read-only directories";
  }
  const std::string executable = (dir / "dravik").string();
  const char* home = std::getenv("HOME");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string chosen = SettingsFilePath(executable);
  EXPECT_NE(chosen, (dir / "dravik.ini").string());
  if ((config && config[0] == '/') || (home && home[0] != '\0')) {
    EXPECT_TRUE(chosen.ends_with("/dravik/dravik.ini")) << chosen;
  }
}

TEST(SettingsFilePath, AnInstalledProgramKeepsItsSettingsWithTheUser) {
  const TempDir temp;
  const fs::path& prefix = temp.path();
  fs::create_directories(prefix / "bin");
  const std::string executable = (prefix / "bin" / "dravik").string();
  EXPECT_EQ(SettingsFilePath(executable), (prefix / "bin" / "dravik.ini").string());

  fs::create_directories(prefix / "share" / "dravik");
  const char* home = std::getenv("HOME");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if ((config && config[0] == '/') || (home && home[0] != '\0')) {
    const std::string chosen = SettingsFilePath(executable);
    EXPECT_TRUE(chosen.ends_with("/dravik/dravik.ini")) << chosen;
    EXPECT_EQ(chosen.find(prefix.string()), std::string::npos);
  }
}

}  // namespace
}  // namespace dravik
