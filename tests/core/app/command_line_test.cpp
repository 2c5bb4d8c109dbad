#include "app/command_line.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_log.h"

namespace dravik {
namespace {

// A file system of a few directories, already sorted as ListOrdinaryFiles sorts.
std::vector<std::string> FakeListing(const std::string& directory) {
  static const std::map<std::string, std::vector<std::string>> kFiles = {
      {"", {"log.csv", "run1.csv", "run2.csv"}},
      {"/data/", {"Drive Log.CSV", "log.csv"}},
      {"/home/me/drive/", {"Trip.csv", "trip.csv"}},
      {"/mixed/", {"TRIP.CSV"}},
      {"C:\\logs\\", {"My Log.csv"}},
  };
  const auto found = kFiles.find(directory);
  return found == kFiles.end() ? std::vector<std::string>{} : found->second;
}

TEST(ProcessCommandLine, Unix) {
  struct Case {
    std::vector<std::string> arguments;
    bool scale_option;
    bool names_file;
    const char* path;
  };
  const Case cases[] = {
      {{}, false, false, ""},
      {{"/data/log.csv"}, false, true, "/data/log.csv"},  // "/d" inside a path is no switch
      {{"/home/me/drive/trip.csv"}, false, true, "/home/me/drive/trip.csv"},
      {{"/d"}, true, false, ""},
      {{"/D", "/data/Drive Log.CSV"}, true, true, "/data/Drive Log.CSV"},
      {{"\"/data/Drive Log.CSV\"", "/d"}, true, true, "/data/Drive Log.CSV"},
      {{"/data/Drive", "Log.CSV"}, false, true, "/data/Drive Log.CSV"},
      {{"/d", "/D"}, true, false, ""},
      {{"/dx"}, false, true, "/"},
      {{"/data/missing.csv"}, false, true, "/data/"},
      {{"/nowhere/x.csv"}, false, true, "/nowhere/"},
      {{"run*.csv"}, false, true, "run1.csv"},
      {{"run?.csv"}, false, true, "run1.csv"},
      {{"/data/*.csv"}, false, true, "/data/log.csv"},
      {{"/mixed/trip.csv"}, false, true, "/mixed/TRIP.CSV"},  // no exact case: any case
      {{"/home/me/drive/TRIP.csv"}, false, true, "/home/me/drive/Trip.csv"},
      {{"/data/"}, false, true, "/data/"},
      {{"\"\""}, false, false, ""},
      {{"\""}, false, true, ""},
  };
  for (const Case& c : cases) {
    const CommandLine line = ProcessCommandLine(c.arguments, FakeListing, PathStyle::kUnix);
    std::string shown;
    for (const std::string& a : c.arguments) {
      shown += "[" + a + "]";
    }
    EXPECT_EQ(line.show_scale_mode_option, c.scale_option) << shown;
    EXPECT_EQ(line.names_file, c.names_file) << shown;
    EXPECT_EQ(line.path, c.path) << shown;
  }
}

TEST(ProcessCommandLine, Windows) {
  struct Case {
    std::vector<std::string> arguments;
    bool scale_option;
    const char* path;
  };
  const Case cases[] = {
      {{"/D", "\"C:\\logs\\My Log.csv\""}, true, "C:\\logs\\My Log.csv"},
      {{"\"C:\\logs\\my log.CSV\"", "/d"}, true, "C:\\logs\\My Log.csv"},
      {{"  /d  "}, true, ""},
      {{"C:/logs/x/d.csv"}, true, "C:/logs/"},  // the text loses every "/d"
      {{"C:\\logs\\missing.csv"}, false, "C:\\logs\\"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ProcessCommandLine(c.arguments, FakeListing, PathStyle::kWindows);
    EXPECT_EQ(line.show_scale_mode_option, c.scale_option) << c.arguments[0];
    EXPECT_EQ(line.path, c.path) << c.arguments[0];
  }
}

TEST(FindTerminalRequest, TheFirstOptionDecides) {
  const struct {
    std::vector<std::string> arguments;
    TerminalAction action;
  } cases[] = {
      {{}, TerminalAction::kNone},
      {{"/d", "log.csv", "-"}, TerminalAction::kNone},
      {{"--versions"}, TerminalAction::kUnknownOption},
      {{"log.csv", "-x", "--help"}, TerminalAction::kUnknownOption},
      {{"--version"}, TerminalAction::kVersion},
      {{"log.csv", "-h"}, TerminalAction::kHelp},
      {{"--help", "--version"}, TerminalAction::kHelp},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTerminalRequest(c.arguments).action, c.action) << c.arguments.size();
  }
  EXPECT_EQ(FindTerminalRequest({"--verison"}).option, "--verison");
}

TEST(TakeLanguageOption, TakesEveryLangAndKeepsTheRest) {
  const struct {
    std::vector<std::string> arguments;
    bool given;
    Language language;
    bool error;
    std::vector<std::string> rest;
  } cases[] = {
      {{"log.csv"}, false, Language::kJapanese, false, {"log.csv"}},
      {{"--lang", "en", "log.csv"}, true, Language::kEnglish, false, {"log.csv"}},
      {{"/d", "--lang=en", "--lang", "ja"}, true, Language::kJapanese, false, {"/d"}},
      {{"--lang", "fr", "log.csv"}, false, Language::kJapanese, true, {}},
      {{"log.csv", "--lang"}, false, Language::kJapanese, true, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    const LanguageOption option = TakeLanguageOption(arguments);
    EXPECT_EQ(option.given, c.given) << c.arguments.size();
    EXPECT_EQ(option.language, c.language) << c.arguments.size();
    EXPECT_EQ(!option.error.empty(), c.error) << c.arguments.size();
    if (!c.error) {
      EXPECT_EQ(arguments, c.rest);
    }
  }
}

TEST(ListOrdinaryFiles, ListsVisibleRegularFilesInOrder) {
  TempDir dir;
  for (const char* name : {"b.csv", "a.csv", ".hidden.csv"}) {
    WriteText(dir / name, "x");
  }
  std::filesystem::create_directory(dir / "sub.csv");
  EXPECT_EQ(ListOrdinaryFiles(dir.path().string()), (std::vector<std::string>{"a.csv", "b.csv"}));
  EXPECT_TRUE(ListOrdinaryFiles(dir / "missing").empty());

  const CommandLine line = ProcessCommandLine({dir / "*.csv"});
  EXPECT_EQ(line.path, dir / "a.csv");
  EXPECT_EQ(ProcessCommandLine({dir / ".hidden.csv"}).path, dir.path().string() + "/");
}

TEST(MatchesWildcard, MatchesStarsAndQuestionMarks) {
  struct Case {
    const char* name;
    const char* pattern;
    bool expected;
  };
  const Case cases[] = {
      {"log.csv", "log.csv", true},  {"log.csv", "*", true},
      {"log.csv", "*.csv", true},    {"log.csv", "l?g.*", true},
      {"log.csv", "*.txt", false},   {"log.csv", "log", false},
      {"log.csv", "log.csv*", true}, {"aaaa", "*a*a*a*a*a", false},
      {"a.b.c", "*.c", true},        {"", "*", true},
      {"abc", "a*c?", false},        {"Log.csv", "log.csv", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.name, c.pattern, false), c.expected) << c.name << " " << c.pattern;
  }
  EXPECT_TRUE(MatchesWildcard("Log.CSV", "log.c?v", true));
}

}  // namespace
}  // namespace dravik
