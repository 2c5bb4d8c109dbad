#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

#include "log/load_error.h"
#include "log/log_table.h"

namespace dravik {

#if defined(_WIN32)

// Reads the whole file at `path` (UTF-8) into `buffer`, giving the bytes read.
LoadError ReadWholeFile(const std::string& path, RawBuffer& buffer, size_t& size);

#else

// Opens `path` for reading when it is a regular file, giving its descriptor (closed by the caller)
// and its size now. A missing file is error 53; a directory, FIFO or device error 75.
LoadError OpenRegularFile(const std::string& path, int& fd, size_t& size);

// Reads up to `expected` bytes of the open file into `buffer`. The size at opening bounds the
// read, so a file that is still being written is read as far as it was, and one that shrinks as
// far as it still reaches.
LoadError ReadOpenFile(int fd, size_t expected, RawBuffer& buffer, size_t& size);

// A read-only mapping of a whole file, guarded against the file being cut short. Mapping the page
// cache costs far less than copying the file into fresh memory, whose first touch is what loading
// a large log spends most on. A file cut short while it is mapped raises SIGBUS where its lost
// pages are touched; while a view is guarded, zero pages are mapped over the rest of the view and
// the cut is noted, so that the reader can read the file again from a copy. One view is guarded
// at a time.
class GuardedView {
 public:
  // Maps the first `size` bytes of the open file; empty when no mapping or guard can be had.
  GuardedView(int fd, size_t size);
  GuardedView(const GuardedView&) = delete;
  GuardedView& operator=(const GuardedView&) = delete;
  ~GuardedView() { Release(); }

  bool empty() const { return data_ == nullptr; }
  std::string_view text() const { return {data_, size_}; }
  // Whether the file was found cut short while it was mapped.
  bool cut() const;
  // Lets go of the pages that lie wholly inside `part` of the text: they stay in the page cache but
  // leave the process's memory, so that a large file read part by part is never resident whole
  // beside the values read from it. A page touched again is mapped again. Safe on any thread.
  void Drop(std::string_view part) const;
  // Unmaps the file and lifts the guard; the view is empty afterwards.
  void Release();

 private:
  std::unique_lock<std::mutex> lock_;
  const char* data_ = nullptr;
  size_t size_ = 0;
};

#endif

}  // namespace dravik
