#pragma once

#include <cstdint>
#include <sys/resource.h>

namespace dravik {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kUnderAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

// Holds the process's address space to what it uses now plus `extra` bytes while it lives, so
// that a test can run out of memory where it chooses. The address sanitizer needs far more
// address space than such a limit leaves: tests skip under it.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(int64_t extra);
  ~AddressSpaceLimit();
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

 private:
  rlimit old_{};
};

}  // namespace dravik
