#include "common/path.h"

namespace dravik {

std::string FileNameOf(const std::string& path) {
  const size_t at = path.find_last_of(kPathSeparators);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string DirectoryOf(const std::string& path) {
  const size_t at = path.find_last_of(kPathSeparators);
  return at == std::string::npos ? "" : path.substr(0, at + 1);
}

}  // namespace dravik
