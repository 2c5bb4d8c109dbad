#pragma once

#include <string>
#include <string_view>

namespace dravik {

// Whether `text` is well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF,
// no cut-off sequence.
bool IsValidUtf8(std::string_view text);

// UTF-16 text, its byte-order mark already removed, as UTF-8. Unpaired surrogates and an odd last
// byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian);

// Text in the Japanese code page (CP932, Shift-JIS with the vendor extensions) as UTF-8. Bytes
// that do not form a character become U+FFFD, so the result is always valid UTF-8.
std::string Cp932ToUtf8(std::string_view bytes);

// Latin-1 text as UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// An item name as UTF-8: kept as it is when it already is valid UTF-8, otherwise decoded from
// CP932.
std::string ItemNameToUtf8(std::string_view name);

}  // namespace dravik
