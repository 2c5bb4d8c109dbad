#include "log/log_file.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "core/log/read_log_helpers.h"
#include "support/temp_dir.h"

namespace dravik {
namespace {

class ReadLogFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    return temp_.Write(name, text);
  }
  TempDir temp_;
  const std::filesystem::path dir_ = temp_.path();
};

TEST_F(ReadLogFile, ReadsAFile) {
  LogTable table;
  EXPECT_EQ(OpenLog(Write("log.csv", "Time,A\n" + Body(11, 1)), NoFuel(), table).kind,
            LoadFailure::kNone);
  EXPECT_EQ(table.last_sample, 10);
}

TEST_F(ReadLogFile, OpenFailuresCarryTheirNumbers) {
  LogTable table;
  const LoadError missing = OpenLog((dir_ / "missing.csv").string(), NoFuel(), table);
  EXPECT_EQ(missing.kind, LoadFailure::kGeneral);
  EXPECT_EQ(missing.number, ErrorNumber::kFileNotFound);
  const LoadError directory = OpenLog(dir_.string(), NoFuel(), table);
  EXPECT_EQ(directory.number, ErrorNumber::kPathAccessError);
  // A FIFO without a writer must not block the reader.
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(OpenLog(fifo, NoFuel(), table).number, ErrorNumber::kPathAccessError);
  if (geteuid() != 0) {  // the superuser reads files without permission
    const std::string locked = Write("locked.csv", "Time,A\n" + Body(11, 1));
    chmod(locked.c_str(), 0);
    EXPECT_EQ(OpenLog(locked, NoFuel(), table).number, ErrorNumber::kPathAccessError);
  }
  EXPECT_EQ(table.item_count, 0);
}

// A file cut short while it is read (here as soon as the reading starts) is read as far as it
// then reaches, without the process being brought down.
TEST_F(ReadLogFile, FileCutShortWhileReadIsReadAsFarAsItReaches) {
  const std::string text = "Time,A,B\n" + Body(200'000, 2, "\n");
  const size_t kept = text.find('\n', text.size() / 3) + 1;
  const std::string path = Write("shrinking.csv", text);
  LogTable expected;
  ASSERT_EQ(Load(text.substr(0, kept), expected).kind, LoadFailure::kNone);
  bool cut = false;
  LogTable table;
  const LoadError error = OpenLog(path, NoFuel(), table, [&](double) {
    if (!cut) {
      cut = true;
      ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kept)), 0);
    }
  });
  ASSERT_TRUE(cut);
  EXPECT_EQ(error.kind, LoadFailure::kNone);
  ExpectSameTable(expected, table, "cut short");
}

}  // namespace
}  // namespace dravik
