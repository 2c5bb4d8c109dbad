// Faults injected for real, each as it was once found to lose data or run away, and the sane end
// each must come to now: a message, the user's files whole and no temporary file left behind.

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "app/open_log.h"
#include "app/report.h"
#include "app/settings_file.h"
#include "common/file_io.h"
#include "log/field_reader.h"
#include "log/load_error.h"
#include "support/temp_dir.h"
#include "support/test_log.h"

namespace dravik {
namespace {

namespace fs = std::filesystem;

constexpr ScreenSize kScreen{28800, 16200};
const std::string kSettingsText = "[Setting]\r\nCylinder=6\r\n";

// The files of the directory besides `kept`, which must still hold `text`.
std::string Leftovers(const TempDir& dir, const std::string& kept, const std::string& text) {
  std::string found = ReadText(dir / kept) == text ? "" : kept + " changed ";
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
    if (entry.path().filename() != kept) {
      found += entry.path().filename().string() + " ";
    }
  }
  return found.empty() ? "files whole" : "left: " + found;
}

// A save in a child process, set up as the programs start, under a limit on `resource` of `value`
// (0: no descriptor beyond those open). The file-size signal would otherwise end it mid-write.
std::string SaveUnderLimit(const TempDir& dir, int resource, rlim_t value) {
  const std::string path = dir.Write("dravik.ini", kSettingsText);
  const pid_t child = fork();
  if (child == 0) {
    IgnoreFileSizeSignal();
    const int lowest_free = open("/dev/null", O_RDONLY);
    close(lowest_free);
    rlimit limit{};
    getrlimit(resource, &limit);
    limit.rlim_cur = value != 0 ? value : static_cast<rlim_t>(lowest_free);
    setrlimit(resource, &limit);
    // Where no descriptor is left, no message box could be drawn either.
    _exit(value == 0 && CanOpenFiles(1) ? 0 : SaveSettings(path, Settings{}).error_number);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) {
    return "ended by signal " + std::to_string(WTERMSIG(status));
  }
  return WriteFailureReason(WEXITSTATUS(status)) + " " +
         Leftovers(dir, "dravik.ini", kSettingsText);
}

std::string OversizedSettings(const TempDir& dir) {
  const std::string text = kSettingsText + std::string(kMaxIniFileBytes, ';');
  const std::string path = dir.Write("dravik.ini", text);
  const StartUpSettings start = LoadSettings(path, kScreen);
  Settings settings;
  std::string error;
  return (start.unreadable ? "unreadable " : "") + std::to_string(start.settings.cylinder) +
         " cylinders, --ini exits " + std::to_string(ReportSettings(path, settings, error)) + " " +
         Leftovers(dir, "dravik.ini", text);
}

std::string ReadOnlySettings(const TempDir& dir) {
  const std::string path = dir.Write("dravik.ini", kSettingsText);
  chmod(path.c_str(), 0444);
  const StartUpSettings start = LoadSettings(path, kScreen);
  return (start.read_only ? "read-only " : "") + std::to_string(start.settings.cylinder) +
         " cylinders, " + WriteFailureReason(SaveSettings(path, Settings{}).error_number) + " " +
         Leftovers(dir, "dravik.ini", kSettingsText);
}

std::string LongLine(const TempDir& dir) {
  const std::string path =
      dir.Write("one_line.csv", "Time,A" + std::string(kMaxLineBytes - 5, 'x') + "\r\n");
  LogTable table;
  return LoadFailureMessage(OpenLog(path, Settings{}, table));
}

std::string LongKeys(const TempDir& dir) {
  const std::string name(300, 'n');
  const std::string text = "[Setting]\r\nCylinder=" + std::string(300, '7') +
                           "\r\nSpeedItem=" + name + "\r\n[CheckedItems]\r\nItem1=" + name + "\r\n";
  const Settings s = LoadSettings(dir.Write("dravik.ini", text), kScreen).settings;
  return "cylinders " + std::to_string(s.cylinder) + ", speed item " +
         std::to_string(s.fuel_items.speed.size()) + " bytes, checked item " +
         std::to_string(s.checked_items.empty() ? 0 : s.checked_items[0].size()) + " bytes";
}

std::string SelfLink(const TempDir& dir) {
  const std::string path = dir / "dravik.ini";
  fs::create_symlink("dravik.ini", path);
  const FileWriteResult saved = SaveSettings(path, Settings{});
  return WriteFailureReason(saved.error_number) +
         (fs::is_symlink(path) ? " link kept" : " link replaced");
}

std::string QuotedNames(const TempDir& dir) {
  std::string log = "Time,A\r\n";
  for (int i = 0; i < 12; ++i) {
    log += std::to_string(i * 100) + ",1\r\n";
  }
  ReportOptions options;
  options.trips = true;
  options.logs = {dir.Write("a,\"b\".csv", log), dir / "new\nline.csv"};
  const ReportOutput output = RunReport(options);
  const size_t row = output.out.find("\r\n") + 2;
  return output.out.substr(row, output.out.find(", ", row) - row) + " | " +
         output.out.substr(output.out.find("\r\n", row) + 2, 15) + " | " +
         output.err.substr(output.err.find("new"), 14);
}

TEST(InjectedFaults, EndInAMessageWithTheFilesWhole) {
  struct Fault {
    const char* name;
    std::function<std::string(const TempDir&)> inject;
    std::string outcome;
  };
  const Fault faults[] = {
      {"file-size limit", [](const TempDir& d) { return SaveUnderLimit(d, RLIMIT_FSIZE, 1000); },
       "ファイルが大きすぎます。 files whole"},
      {"descriptor limit", [](const TempDir& d) { return SaveUnderLimit(d, RLIMIT_NOFILE, 0); },
       "開いているファイルが多すぎます。 files whole"},
      {"oversized settings file", OversizedSettings,
       "unreadable 4 cylinders, --ini exits 2 files whole"},  // first-start values
      {"read-only settings file", ReadOnlySettings,
       "read-only 6 cylinders, 書き込みの権限がありません。 files whole"},
      {"line beyond the cap", LongLine, LoadFailureMessage({LoadFailure::kFormat})},
      {"long values of the added keys", LongKeys,
       "cylinders 2147483647, speed item 300 bytes, checked item 300 bytes"},
      {"settings link to itself", SelfLink, "シンボリック リンクが循環しています。 link kept"},
      {"names with a comma, a quote and a line break", QuotedNames,
       "\"a,\"\"b\"\".csv\" | \"new\nline.csv\", | new\\nline.csv:"},
  };
  for (const Fault& fault : faults) {
    const TempDir dir;
    EXPECT_EQ(fault.inject(dir), fault.outcome) << fault.name;
  }
}

}  // namespace
}  // namespace dravik
