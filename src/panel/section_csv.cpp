#include "panel/section_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "log/log_header.h"

namespace dravik {
namespace {

// Plain notation for values whose decimal exponent lies here; beyond, it grows longer than an
// exponent would.
constexpr int kLowestPlainExponent = -7;
constexpr int kHighestPlainExponent = 16;

}  // namespace

std::string ExactDecimal(float value, int shift10) {
  if (!std::isfinite(value)) {
    return value != value ? "nan" : (value < 0 ? "-inf" : "inf");
  }
  // The shortest digits that round-trip, as "d.ddde±x": shifting the exponent moves the point
  // without touching them, so the text stays exact after the reader scales it back.
  char buffer[32];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<size_t>(written.ptr - buffer));
  const size_t e = text.find('e');
  const bool negative = text.front() == '-';
  std::string digits;
  for (const char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
    if (c != '.') {
      digits.push_back(c);
    }
  }
  int exponent = std::atoi(std::string(text.substr(e + 1)).c_str()) - shift10;
  if (digits == "0") {
    exponent = 0;
  }
  std::string out = negative ? "-" : "";
  if (exponent < kLowestPlainExponent || exponent > kHighestPlainExponent) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) {
      out.append(".").append(digits.substr(1));
    }
    out.append(exponent < 0 ? "e-" : "e+").append(std::to_string(std::abs(exponent)));
    return out;
  }
  if (exponent < 0) {
    out.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
    return out;
  }
  const size_t whole = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    return out.append(digits).append(whole - digits.size(), '0');
  }
  return out.append(digits.substr(0, whole)).append(".").append(digits.substr(whole));
}

std::string SectionCsvText(const LogTable& table, int64_t first, int64_t last) {
  if (first > last) {
    std::swap(first, last);
  }
  if (!table.IsLoaded() || first < 0 || last > table.last_sample) {
    return {};
  }
  const int items = table.has_economy ? table.item_count - 1 : table.item_count;
  std::string text;
  for (int item = 0; item <= items; ++item) {
    text.append(item == 0 ? "" : ",").append(table.item_names[item]);
  }
  text.append("\r\n");
  const int time_shift10 = NamesSeconds(table.item_names[0]) ? 3 : 0;
  for (int64_t sample = first; sample <= last; ++sample) {
    for (int item = 0; item <= items; ++item) {
      const float value = table.Values(item)[static_cast<size_t>(sample)];
      text.append(item == 0 ? "" : ",").append(ExactDecimal(value, item == 0 ? time_shift10 : 0));
    }
    text.append("\r\n");
  }
  return text;
}

}  // namespace dravik
