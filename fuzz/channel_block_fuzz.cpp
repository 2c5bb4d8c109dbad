// Feeds arbitrary bytes to the channel-block reader: the first byte picks the settings and how the
// reading is split among threads, the rest is the file, given a "%DataLog%" line first when it has
// none so that every input reaches the channel-block reader. The checks are those of every log
// reader.

#include <cstddef>
#include <cstdint>
#include <string>

#include "log_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!bytes.starts_with("%DataLog%")) {
    bytes.insert(0, "%DataLog%\n");
  }
  dravik::fuzz::CheckLoads(bytes, data[0]);
  return 0;
}
