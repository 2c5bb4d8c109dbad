#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dravik {

// The longest value the reader keeps, in bytes (a 255-character buffer with its terminating NUL);
// longer ones are cut.
inline constexpr size_t kMaxIniValueLength = 254;

// An INI-style settings file parsed once into a lookup table, so that reading all of its keys
// costs one pass over the file however large it is.
class IniFile {
 public:
  // Lines end in CR LF, LF or CR; a UTF-8 byte-order mark at the start is skipped. A line whose
  // first non-blank character is "[" starts a section named by the text up to "]" (or the line
  // end), blanks around it removed. Any other line holding "=" is a key: the text before the
  // first "=" is the key, the text after it the value, blanks and tabs around each removed,
  // quotes kept, the value cut at a NUL and to 254 characters. Lines without "=" are ignored.
  static IniFile Parse(std::string_view text);

  // Parse of the first MiB of the file at `path`; nullopt when it is no regular file (a device or
  // a FIFO is never read) or cannot be read.
  static std::optional<IniFile> Load(const std::string& path);

  // The value of `key` in `section`, both compared without regard to ASCII letter case; the
  // first such key in file order wins. Empty when the section or the key is missing.
  std::string ReadIniValue(std::string_view section, std::string_view key) const;

 private:
  std::unordered_map<std::string, std::string> values_;  // lower-case "section\nkey" -> value
};

}  // namespace dravik
