#include "app/ini_file.h"

#include "common/file_io.h"

namespace dravik {
namespace {

// Far beyond any real settings file; what lies beyond is read as if the file ended there.
constexpr size_t kMaxFileBytes = size_t{1} << 20;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

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
    value = value.substr(0, kMaxIniValueLength);
    file.values_.try_emplace(LookupKey(section, TrimBlanks(line.substr(0, equals))), value);
  }
  return file;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  const std::optional<std::string> text = ReadRegularFile(path, kMaxFileBytes);
  if (!text) {
    return std::nullopt;
  }
  return Parse(*text);
}

std::string IniFile::ReadIniValue(std::string_view section, std::string_view key) const {
  const auto found = values_.find(LookupKey(section, key));
  return found == values_.end() ? std::string() : found->second;
}

}  // namespace dravik
