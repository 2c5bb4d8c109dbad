#pragma once

#include <string>
#include <string_view>

namespace dravik {

// Writes `text` byte for byte as the file at `path`, replacing what was there: test logs,
// settings files and any other input a test hands to the program.
void WriteText(const std::string& path, std::string_view text);

// The file at `path` byte for byte; empty when it cannot be read.
std::string ReadText(const std::string& path);

}  // namespace dravik
