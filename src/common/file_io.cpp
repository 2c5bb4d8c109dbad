#include "common/file_io.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "common/core_text.h"
#include "common/path.h"

namespace dravik {
namespace {

namespace fs = std::filesystem;

std::string SystemError(const std::string& step, int error_number) {
  return step + ": " + std::strerror(error_number);
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    contents.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool IsLink(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

// The file a write of `path` replaces: symbolic links followed to their end, also where the last
// one points at a file not yet there. A loop of links ends, still at a link, after as many steps
// as the system allows.
std::string FinalTarget(const std::string& path) {
  constexpr int kMaxLinks = 40;
  std::string current = path;
  for (int step = 0; step < kMaxLinks; ++step) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      return current;
    }
    std::string target(static_cast<size_t>(status.st_size) + 256, '\0');
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0) {
      return current;
    }
    target.resize(static_cast<size_t>(length));
    current = !target.empty() && target.front() == '/' ? target : DirectoryOf(current) + target;
  }
  return current;
}

bool ProcessRunning(long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view contents,
                                    const std::function<bool()>& before_rename) {
  FileWriteResult result;
  const auto fail = [&](const std::string& step, int error_number) {
    result.error = SystemError(step, error_number);
    result.error_number = error_number;
    return result;
  };
  const std::string target = FinalTarget(path);
  // Renaming over a link that loops would replace it with a plain file.
  if (IsLink(target)) {
    return fail("follow " + path, ELOOP);
  }
  const fs::path target_path(target);
  std::error_code error;
  if (target_path.has_parent_path()) {
    fs::create_directories(target_path.parent_path(), error);
    if (error) {
      return fail("create directory " + target_path.parent_path().string(), error.value());
    }
  }
  struct stat old_file {};
  const bool replaces = ::stat(target.c_str(), &old_file) == 0;
  if (replaces && !S_ISREG(old_file.st_mode)) {
    result.error = target + " is not a regular file";
    result.error_number = S_ISDIR(old_file.st_mode) ? EISDIR : EINVAL;
    return result;
  }
  // A file that nobody may write was made so on purpose; the superuser's rename would not ask.
  if (replaces && (old_file.st_mode & 0222) == 0) {
    result.error = target + " is read-only";
    result.error_number = EACCES;
    return result;
  }

  // A name of our own beside the target, so that the rename stays within one file system.
  static std::atomic<unsigned> counter{0};
  const std::string temporary =
      target + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(counter++);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    return fail("create " + temporary, errno);
  }
  if (replaces) {
    (void)::fchmod(fd, old_file.st_mode & 07777);
  }
  const auto fail_and_remove = [&](const std::string& step, int error_number, bool open) {
    if (open) {
      ::close(fd);
    }
    ::unlink(temporary.c_str());
    return fail(step, error_number);
  };
  if (!WriteAll(fd, contents)) {
    return fail_and_remove("write " + temporary, errno, true);
  }
  if (::fsync(fd) != 0) {
    return fail_and_remove("flush " + temporary, errno, true);
  }
  if (::close(fd) != 0) {
    return fail_and_remove("close " + temporary, errno, false);
  }
  if (before_rename && !before_rename()) {
    return fail_and_remove("replace " + target, ECANCELED, false);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    return fail_and_remove("replace " + target, errno, false);
  }
  // Make the rename itself durable; a failure here no longer endangers either file.
  const std::string directory =
      target_path.has_parent_path() ? target_path.parent_path().string() : ".";
  const int directory_fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory_fd >= 0) {
    (void)::fsync(directory_fd);
    ::close(directory_fd);
  }
  result.ok = true;
  return result;
}

bool IsTemporaryFileOf(std::string_view name, std::string_view file_name, long& pid) {
  const std::string prefix = std::string(file_name) + ".tmp";
  if (name.substr(0, prefix.size()) != prefix) {
    return false;
  }
  name.remove_prefix(prefix.size());
  const size_t dot = name.find('.');
  if (dot == 0 || dot == std::string_view::npos || dot + 1 == name.size()) {
    return false;
  }
  const auto [pid_end, pid_error] = std::from_chars(name.data(), name.data() + dot, pid);
  if (pid_error != std::errc() || pid_end != name.data() + dot || pid <= 0) {
    return false;
  }
  return name.substr(dot + 1).find_first_not_of("0123456789") == std::string_view::npos;
}

void RemoveLeftoverTemporaryFiles(const std::string& path) {
  const std::string target = FinalTarget(path);
  const std::string file_name = FileNameOf(target);
  const std::string directory = DirectoryOf(target);
  std::error_code error;
  fs::directory_iterator it(directory.empty() ? fs::path(".") : fs::path(directory), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    long pid = 0;
    std::error_code type_error;
    if (IsTemporaryFileOf(it->path().filename().string(), file_name, pid) &&
        it->is_regular_file(type_error) && !ProcessRunning(pid)) {
      fs::remove(it->path(), type_error);
    }
  }
}

std::optional<std::string> ReadRegularFile(const std::string& path, size_t max_bytes) {
  // Not blocking on the open, so that a FIFO cannot hold the program up.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return std::nullopt;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  std::string text(std::min<size_t>(max_bytes, static_cast<size_t>(status.st_size)), '\0');
  size_t filled = 0;
  while (filled < text.size()) {
    const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return std::nullopt;
    }
    if (got == 0) {
      break;  // the file shrank while it was read
    }
    filled += static_cast<size_t>(got);
  }
  text.resize(filled);
  return text;
}

bool CanOpenFiles(int count) {
  std::vector<int> opened;
  while (static_cast<int>(opened.size()) < count) {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      break;
    }
    opened.push_back(fd);
  }
  const bool can = static_cast<int>(opened.size()) == count;
  for (const int fd : opened) {
    ::close(fd);
  }
  return can;
}

std::string WriteFailureReason(int error_number) {
  switch (error_number) {
    case ENOSPC:
    case EDQUOT:
      return CoreText::Tr("ディスクの空き容量が足りません。");
    case EACCES:
    case EPERM:
      return CoreText::Tr("書き込みの権限がありません。");
    case EROFS:
      return CoreText::Tr("読み取り専用のファイル システムです。");
    case EFBIG:
      return CoreText::Tr("ファイルが大きすぎます。");
    case EISDIR:
    case EINVAL:
      return CoreText::Tr("通常のファイルではありません。");
    case ENOENT:
    case ENOTDIR:
      return CoreText::Tr("フォルダーが見つかりません。");
    case EIO:
      return CoreText::Tr("デバイス I/O エラーです。");
    case ELOOP:
      return CoreText::Tr("シンボリック リンクが循環しています。");
    case EMFILE:
    case ENFILE:
      return CoreText::Tr("開いているファイルが多すぎます。");
    default:
      return std::strerror(error_number);
  }
}

}  // namespace dravik
