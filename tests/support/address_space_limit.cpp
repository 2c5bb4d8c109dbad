#include "support/address_space_limit.h"

#include <fstream>
#include <string>

namespace dravik {

AddressSpaceLimit::AddressSpaceLimit(int64_t extra) {
  getrlimit(RLIMIT_AS, &old_);
  std::ifstream status("/proc/self/status");
  int64_t size_kb = 0;
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmSize:", 0) == 0) {
      size_kb = std::stoll(line.substr(7));
    }
  }
  rlimit limit = old_;
  limit.rlim_cur = static_cast<rlim_t>(size_kb * 1024 + extra);
  setrlimit(RLIMIT_AS, &limit);
}

AddressSpaceLimit::~AddressSpaceLimit() {
  setrlimit(RLIMIT_AS, &old_);
}

}  // namespace dravik
