#include "log/text_decoding.h"

#include <cerrno>
#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace dravik {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int follow = 0;
    unsigned char low = 0x80;  // range of the first continuation byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      follow = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      follow = 2;
      if (lead == 0xE0) {
        low = 0xA0;  // overlong below U+0800
      } else if (lead == 0xED) {
        high = 0x9F;  // surrogates
      }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      follow = 3;
      if (lead == 0xF0) {
        low = 0x90;  // overlong below U+10000
      } else if (lead == 0xF4) {
        high = 0x8F;  // above U+10FFFF
      }
    } else {
      return false;
    }
    if (n - i <= static_cast<size_t>(follow)) {
      return false;
    }
    for (int k = 1; k <= follow; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      const unsigned char lo = k == 1 ? low : 0x80;
      const unsigned char hi = k == 1 ? high : 0xBF;
      if (c < lo || c > hi) {
        return false;
      }
    }
    i += follow + 1;
  }
  return true;
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size() / 2 * 3 / 2 + 3);
  const size_t units = bytes.size() / 2;
  const auto unit_at = [&](size_t k) -> uint32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * k]);
    const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
    return big_endian ? (a << 8 | b) : (b << 8 | a);
  };
  for (size_t k = 0; k < units; ++k) {
    const uint32_t unit = unit_at(k);
    if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units) {
      const uint32_t next = unit_at(k + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++k;
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      out += kReplacement;
    } else {
      AppendUtf8(out, unit);
    }
  }
  if (bytes.size() % 2 != 0) {
    out += kReplacement;
  }
  return out;
}

#if defined(_WIN32)

std::string Cp932ToUtf8(std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  // Without MB_ERR_INVALID_CHARS the system maps bytes that form no character to a default
  // character, so the conversion as a whole never fails.
  const int wide_length =
      MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                      wide_length);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, out.data(), length, nullptr, nullptr);
  return out;
}

#else

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No converter on this system: keep what is ASCII and mark the rest.
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out += c;
      } else {
        out += kReplacement;
      }
    }
    return out;
  }
  // A CP932 character takes at most two bytes and never more than three in UTF-8.
  out.resize(bytes.size() * 3 / 2 + 4);
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  size_t used = 0;
  while (in_left > 0) {
    if (out.size() - used < 8) {
      out.resize(out.size() * 2);
    }
    char* dst = out.data() + used;
    size_t out_left = out.size() - used;
    const size_t result = iconv(cd, &in, &in_left, &dst, &out_left);
    used = out.size() - out_left;
    if (result == static_cast<size_t>(-1)) {
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // A byte that starts no character, or a lead byte cut off at the end: replace one byte and
      // go on from the next.
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      out.resize(used);
      out += kReplacement;
      used = out.size();
      out.resize(used + in_left * 3 / 2 + 8);
      ++in;
      --in_left;
    }
  }
  iconv_close(cd);
  out.resize(used);
  return out;
}

#endif

std::string ItemNameToUtf8(std::string_view name) {
  if (IsValidUtf8(name)) {
    return std::string(name);
  }
  return Cp932ToUtf8(name);
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

}  // namespace dravik
