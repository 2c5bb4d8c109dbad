#include "common/file_io.h"

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_log.h"

namespace dravik {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FileNames(const fs::path& directory) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A disk that fills up during the write: the process may write no more than `bytes` to a file.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    const rlimit limit{bytes, old_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

TEST(WriteFileAtomically, AWriteThatRunsOutOfSpaceLeavesTheOldFileAndNoOther) {
  TempDir dir;
  const std::string path = dir.Write("chart.png", "old picture");
  FileWriteResult result;
  {
    const FileSizeLimit limit(1000);
    result = WriteFileAtomically(path, std::string(5000, 'x'));
  }
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error_number, EFBIG);
  EXPECT_EQ(ReadText(path), "old picture");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"chart.png"});

  const std::string fresh = dir / "fresh.png";
  {
    const FileSizeLimit limit(1000);
    result = WriteFileAtomically(fresh, std::string(5000, 'x'));
  }
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(fs::exists(fresh));
}

TEST(WriteFileAtomically, WritesThroughALinkToItsTargetWithTheOrdinaryMode) {
  TempDir dir;
  fs::create_directory(dir.path() / "elsewhere");
  const std::string target = dir / "elsewhere/dravik.ini";
  fs::create_symlink("elsewhere/dravik.ini", dir.path() / "dravik.ini");  // not there yet
  const mode_t umask_bits = umask(022);
  ASSERT_TRUE(WriteFileAtomically(dir / "dravik.ini", "first").ok);
  umask(umask_bits);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "dravik.ini"));
  EXPECT_EQ(ReadText(target), "first");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0644));

  fs::permissions(target, fs::perms(0600));
  ASSERT_TRUE(WriteFileAtomically(dir / "dravik.ini", "second").ok);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "dravik.ini"));
  EXPECT_EQ(ReadText(target), "second");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));
}

TEST(WriteFileAtomically, LeavesWhatIsNoRegularFileAndReadOnlyFilesAlone) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink(dir.path() / "fifo", dir.path() / "link");
  fs::create_directory(dir.path() / "folder");
  for (const char* name : {"fifo", "link", "folder"}) {
    const FileWriteResult result = WriteFileAtomically(dir / name, "text");
    EXPECT_FALSE(result.ok) << name;
    EXPECT_NE(result.error.find("not a regular file"), std::string::npos) << result.error;
  }
  const std::string kept = dir.Write("kept.png", "old");
  fs::permissions(kept, fs::perms(0444));
  EXPECT_FALSE(WriteFileAtomically(kept, "new").ok);
  EXPECT_EQ(ReadText(kept), "old");
  fs::remove(kept);
  EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"fifo", "folder", "link"}));
}

TEST(WriteFileAtomically, AFailureBeforeTheRenameLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir / "dravik.ini";
  WriteText(path, "old contents");
  std::string seen_before_rename;
  const FileWriteResult result = WriteFileAtomically(path, "new contents", [&] {
    seen_before_rename = ReadText(path);
    return false;
  });
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(seen_before_rename, "old contents");
  EXPECT_EQ(ReadText(path), "old contents");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"dravik.ini"});

  ASSERT_TRUE(WriteFileAtomically(path, "new contents").ok);
  EXPECT_EQ(ReadText(path), "new contents");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"dravik.ini"});
}

TEST(WriteFileAtomically, KeepsThePermissionsAndCreatesMissingDirectories) {
  TempDir dir;
  const std::string path = dir / "dravik.ini";
  WriteText(path, "old");
  fs::permissions(path, fs::perms(0640));
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));

  const std::string nested = dir / "config/dravik/dravik.ini";
  ASSERT_TRUE(WriteFileAtomically(nested, "new").ok);
  EXPECT_EQ(ReadText(nested), "new");
}

TEST(RemoveLeftoverTemporaryFiles, RemovesOnlyThoseOfProcessesThatEnded) {
  TempDir dir;
  const pid_t child = fork();
  if (child == 0) {
    _exit(0);
  }
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const std::string ended = "dravik.ini.tmp" + std::to_string(child) + ".0";
  const std::string running = "dravik.ini.tmp" + std::to_string(getpid()) + ".3";
  for (const std::string& name : {ended, running, std::string("dravik.ini.tmp.0"),
                                  std::string("other.ini.tmp1.0"), std::string("dravik.ini")}) {
    dir.Write(name, "x");
  }
  RemoveLeftoverTemporaryFiles(dir / "dravik.ini");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"dravik.ini", "dravik.ini.tmp.0",
                                                             running, "other.ini.tmp1.0"}));
}

TEST(ReadRegularFile, ReadsTheStartOfFilesAndNothingElse) {
  TempDir dir;
  const std::string path = dir.Write("settings.ini", "0123456789");
  EXPECT_EQ(ReadRegularFile(path, 100), "0123456789");
  EXPECT_EQ(ReadRegularFile(path, 4), "0123");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  for (const std::string& other :
       {dir / "fifo", dir / "missing", dir.path().string(), std::string("/dev/zero")}) {
    EXPECT_EQ(ReadRegularFile(other, 100), std::nullopt) << other;
  }
}

}  // namespace
}  // namespace dravik
