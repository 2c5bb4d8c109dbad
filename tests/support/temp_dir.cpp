#include "support/temp_dir.h"

#include <cerrno>
#include <stdlib.h>
#include <system_error>

#include "support/test_log.h"

namespace dravik {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dravik-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path_, error);
}

std::string TempDir::operator/(const std::string& name) const {
  return (path_ / std::filesystem::u8path(name)).string();
}

std::string TempDir::Write(const std::string& name, std::string_view text) const {
  const std::string path = *this / name;
  WriteText(path, text);
  return path;
}

}  // namespace dravik
