#include "log/log_file.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <new>

#if defined(_WIN32)
#include <cstdio>
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dravik {
namespace {

ErrorNumber OpenErrorNumber(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ErrorNumber::kFileNotFound;
    case ENOMEM:
      return ErrorNumber::kOutOfMemory;
    case EIO:
      return ErrorNumber::kDeviceIoError;
    default:
      return ErrorNumber::kPathAccessError;
  }
}

#if defined(_WIN32)

}  // namespace

LoadError ReadWholeFile(const std::string& path, RawBuffer& buffer, size_t& size) {
  const std::filesystem::path file_path(
      std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
  std::error_code status;
  if (std::filesystem::is_directory(file_path, status)) {
    return General(ErrorNumber::kPathAccessError);
  }
  std::FILE* file = _wfopen(file_path.c_str(), L"rb");
  if (file == nullptr) {
    return General(OpenErrorNumber(errno));
  }
  const uintmax_t length = std::filesystem::file_size(file_path, status);
  const size_t expected = status ? 0 : static_cast<size_t>(length);
  try {
    buffer.Reserve(expected);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    return General(ErrorNumber::kOutOfMemory);
  }
  size = std::fread(buffer.data(), 1, expected, file);
  const bool failed = size < expected && std::ferror(file) != 0;
  std::fclose(file);
  return failed ? General(ErrorNumber::kDeviceIoError) : LoadError{};
}

#else

std::mutex g_guard_mutex;
std::atomic<uintptr_t> g_guard_begin{0};
std::atomic<uintptr_t> g_guard_end{0};
std::atomic<bool> g_guard_cut{false};
uintptr_t g_page_bytes = 4096;
struct sigaction g_previous_bus_action {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
  const uintptr_t begin = g_guard_begin.load();
  const uintptr_t end = g_guard_end.load();
  if (address >= begin && address < end) {
    const uintptr_t page = address & ~(g_page_bytes - 1);
    if (mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      g_guard_cut.store(true);
      return;
    }
  }
  const struct sigaction& previous = g_previous_bus_action;
  if ((previous.sa_flags & SA_SIGINFO) != 0) {
    previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
  } else {
    // The access runs again on return, and the default action then ends the process.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGBUS, &fallback, nullptr);
  }
}

}  // namespace

LoadError OpenRegularFile(const std::string& path, int& fd, size_t& size) {
  // Non-blocking, so that opening a FIFO cannot wait for a writer; it is refused below.
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return General(OpenErrorNumber(errno));
  }
  struct stat status {};
  if (fstat(fd, &status) != 0) {
    return General(ErrorNumber::kDeviceIoError);
  }
  if (!S_ISREG(status.st_mode)) {
    return General(ErrorNumber::kPathAccessError);
  }
  size = static_cast<size_t>(status.st_size);
  return {};
}

LoadError ReadOpenFile(int fd, size_t expected, RawBuffer& buffer, size_t& size) {
  try {
    buffer.Reserve(expected);
  } catch (const std::bad_alloc&) {
    return General(ErrorNumber::kOutOfMemory);
  }
  size = 0;
  while (size < expected) {
    const ssize_t got = pread(fd, buffer.data() + size, expected - size, static_cast<off_t>(size));
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return General(errno == EISDIR ? ErrorNumber::kPathAccessError : ErrorNumber::kDeviceIoError);
    }
    if (got == 0) {
      break;
    }
    size += static_cast<size_t>(got);
  }
  return {};
}

GuardedView::GuardedView(int fd, size_t size) : lock_(g_guard_mutex, std::try_to_lock) {
  if (!lock_.owns_lock() || size == 0) {
    return;
  }
  void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) {
    return;
  }
  g_page_bytes = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(data);
  g_guard_cut.store(false);
  g_guard_begin.store(begin);
  g_guard_end.store(begin + (size + g_page_bytes - 1) / g_page_bytes * g_page_bytes);
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGBUS, &action, &g_previous_bus_action) != 0) {
    g_guard_begin.store(0);
    g_guard_end.store(0);
    munmap(data, size);
    return;
  }
  data_ = static_cast<const char*>(data);
  size_ = size;
}

bool GuardedView::cut() const {
  return g_guard_cut.load();
}

void GuardedView::Drop(std::string_view part) const {
  const auto begin = reinterpret_cast<uintptr_t>(part.data());
  const uintptr_t first = (begin + g_page_bytes - 1) / g_page_bytes * g_page_bytes;
  const uintptr_t end = (begin + part.size()) / g_page_bytes * g_page_bytes;
  if (data_ != nullptr && first < end) {
    madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
  }
}

void GuardedView::Release() {
  if (data_ == nullptr) {
    return;
  }
  g_guard_begin.store(0);
  g_guard_end.store(0);
  sigaction(SIGBUS, &g_previous_bus_action, nullptr);
  munmap(const_cast<char*>(data_), size_);
  data_ = nullptr;
}

#endif

}  // namespace dravik
