// Feeds arbitrary arguments to the command-line processing, both path styles, against a fixed
// directory listing. Arguments are split from the input at NUL bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

using namespace dravik;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

std::vector<std::string> Listing(const std::string& directory) {
  if (directory.size() > 64) {
    return {};
  }
  return {"Drive Log.csv", "drive.CSV", "log 2024-01-01.csv", "ログ.csv", "a", "\"quoted\".csv"};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back().push_back(static_cast<char>(data[i]));
    }
  }
  for (const PathStyle style : {PathStyle::kUnix, PathStyle::kWindows}) {
    const CommandLine line = ProcessCommandLine(arguments, Listing, style);
    if (!line.names_file) {
      Check(line.path.empty());
    }
    // What is left is the directory part, possibly followed by a listed name.
    const std::string directory = DirectoryPart(line.path, style);
    Check(line.path.compare(0, directory.size(), directory) == 0);
    const std::string name = line.path.substr(directory.size());
    if (!name.empty()) {
      const std::vector<std::string> listed = Listing(directory);
      bool found = false;
      for (const std::string& entry : listed) {
        found = found || entry == name;
      }
      Check(found);
    }
    MatchesWildcard(arguments.front(), arguments.back(), style == PathStyle::kWindows);
  }
  return 0;
}
