#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dravik {

// A fresh directory under the system's temporary directory, removed with everything in it when
// the test ends, even after the test took its write permission away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The path of `name` (UTF-8, may hold folders) inside the directory.
  std::string operator/(const std::string& name) const;
  const std::filesystem::path& path() const { return path_; }
  // Writes `text` as the file `name` inside the directory and gives its path.
  std::string Write(const std::string& name, std::string_view text) const;

 private:
  std::filesystem::path path_;
};

}  // namespace dravik
