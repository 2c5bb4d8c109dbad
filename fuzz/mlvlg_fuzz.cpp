// Feeds arbitrary bytes to the binary log reader: the first byte picks the settings and how the
// reading is split among threads, the rest is the file, whose first five bytes are made "MLVLG" so
// that every input reaches the binary reader. The checks are those of every log reader.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "log_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string magic = "MLVLG";
  bytes.replace(0, std::min(bytes.size(), magic.size()), magic);
  dravik::fuzz::CheckLoads(bytes, data[0]);
  return 0;
}
