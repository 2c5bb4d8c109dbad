#pragma once

#include <string>
#include <string_view>

namespace dravik {

// The platform's path separators: '/' on Unix, '\' and '/' on Windows.
#if defined(_WIN32)
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

// The part of `path` after its last path separator, or the whole path when it holds none.
std::string FileNameOf(const std::string& path);

// The part of `path` up to and including its last path separator, or "" when it holds none.
std::string DirectoryOf(const std::string& path);

}  // namespace dravik
