#include "app/ini_file.h"

#include <algorithm>
#include <iterator>

#include "common/file_io.h"
#include "log/log_header.h"

namespace dravik {
namespace {

// The keys of "[Setting]" in the file's original layout.
constexpr std::string_view kOriginalSettingKeys[] = {"xpos",
                                                     "ypos",
                                                     "xsize",
                                                     "ysize",
                                                     "mv_xpos",
                                                     "mv_ypos",
                                                     "mv_xsize",
                                                     "mv_ysize",
                                                     "timeunitsec",
                                                     "sectiontime",
                                                     "graphscalemode",
                                                     "alwaystooltip",
                                                     "injectorflowscaling",
                                                     "injectorlatency",
                                                     "cylinder"};

std::string LookupKey(std::string_view section, std::string_view key) {
  std::string text;
  text.reserve(section.size() + 1 + key.size());
  for (const char c : section) {
    text.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  text.push_back('\n');  // cannot occur inside a section or key name
  for (const char c : key) {
    text.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return text;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  std::string_view section;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      section = TrimBlanks(trimmed.substr(1, trimmed.find(']') - 1));
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    value = value.substr(0, value.find('\0'));
    file.values_.try_emplace(LookupKey(section, TrimBlanks(line.substr(0, equals))), value);
  }
  return file;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  // One byte more than the limit tells a file at the limit from a larger one.
  const std::optional<std::string> text = ReadRegularFile(path, kMaxIniFileBytes + 1);
  if (!text || text->size() > kMaxIniFileBytes) {
    return std::nullopt;
  }
  return Parse(*text);
}

std::string IniFile::ReadIniValue(std::string_view section, std::string_view key) const {
  const std::string lookup = LookupKey(section, key);
  const auto found = values_.find(lookup);
  if (found == values_.end()) {
    return std::string();
  }
  const std::string_view lower_key = std::string_view(lookup).substr(section.size() + 1);
  const bool original = lookup.starts_with("color\n") ||
                        (lookup.starts_with("setting\n") &&
                         std::find(std::begin(kOriginalSettingKeys), std::end(kOriginalSettingKeys),
                                   lower_key) != std::end(kOriginalSettingKeys));
  return original ? found->second.substr(0, kMaxIniValueLength) : found->second;
}

}  // namespace dravik
