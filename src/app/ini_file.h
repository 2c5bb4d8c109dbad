#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dravik {

// The longest value the reader keeps of the keys of the file's original layout, in bytes (a
// 255-character buffer with its terminating NUL); longer ones are cut.
inline constexpr size_t kMaxIniValueLength = 254;

// The largest settings file read; a larger one is a file that cannot be read.
inline constexpr size_t kMaxIniFileBytes = size_t{1} << 20;

// An INI-style settings file parsed once into a lookup table, so that reading all of its keys
// costs one pass over the file however large it is.
class IniFile {
 public:
  // Lines end in CR LF, LF or CR; a UTF-8 byte-order mark at the start is skipped. A line whose
  // first non-blank character is "[" starts a section named by the text up to "]" (or the line
  // end), blanks around it removed. Any other line holding "=" is a key: the text before the
  // first "=" is the key, the text after it the value, blanks and tabs around each removed,
  // quotes kept, the value cut at a NUL. Lines without "=" are ignored.
  static IniFile Parse(std::string_view text);

  // Parse of the file at `path`; nullopt when it is no regular file (a device or a FIFO is never
  // read), is larger than kMaxIniFileBytes or cannot be read.
  static std::optional<IniFile> Load(const std::string& path);

  // The value of `key` in `section`, both compared without regard to ASCII letter case; the
  // first such key in file order wins. Empty when the section or the key is missing. The keys of
  // the original layout (the window, display and fuel keys of "[Setting]" and the whole of
  // "[Color]") are cut to kMaxIniValueLength bytes as they always were; the keys and sections
  // added since are read whole.
  std::string ReadIniValue(std::string_view section, std::string_view key) const;

 private:
  std::unordered_map<std::string, std::string> values_;  // lower-case "section\nkey" -> value
};

}  // namespace dravik
