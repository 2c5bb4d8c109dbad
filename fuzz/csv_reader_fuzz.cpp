// Feeds arbitrary bytes to the log reader and checks what a load leaves behind. The first byte
// picks the settings and how the reading is split among threads; the rest is the file. A load
// read in small pieces on several threads must give exactly what the sequential reading gives.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "log_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  dravik::fuzz::CheckLoads(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1),
                           data[0]);
  return 0;
}
