#include "common/number_parsing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace dravik {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}

// The pieces of the number at the start of a text.
struct NumberParts {
  size_t length = 0;  // 0 when the text does not start with a number
  bool negative = false;
  std::string_view int_digits;
  std::string_view frac_digits;
  int64_t exponent = 0;  // as written, saturated
};

NumberParts ScanNumber(std::string_view text, bool decimal_comma) {
  const size_t n = text.size();
  NumberParts parts;
  size_t i = 0;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    parts.negative = text[i] == '-';
    ++i;
  }
  const size_t int_begin = i;
  while (i < n && IsDigit(text[i])) {
    ++i;
  }
  parts.int_digits = text.substr(int_begin, i - int_begin);
  if (i < n && (text[i] == '.' || (decimal_comma && text[i] == ','))) {
    const size_t frac_begin = ++i;
    while (i < n && IsDigit(text[i])) {
      ++i;
    }
    parts.frac_digits = text.substr(frac_begin, i - frac_begin);
  }
  if (parts.int_digits.empty() && parts.frac_digits.empty()) {
    return parts;
  }
  parts.length = i;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool exponent_negative = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      exponent_negative = text[j] == '-';
      ++j;
    }
    if (j == n || !IsDigit(text[j])) {
      return parts;
    }
    // Saturated far beyond any exponent that could still give a finite, non-zero value.
    constexpr int64_t kExponentLimit = int64_t{1} << 40;
    while (j < n && IsDigit(text[j])) {
      parts.exponent = std::min(parts.exponent * 10 + (text[j] - '0'), kExponentLimit);
      ++j;
    }
    if (exponent_negative) {
      parts.exponent = -parts.exponent;
    }
    parts.length = j;
  }
  return parts;
}

template <typename T>
T Zero(bool negative, TinyValue tiny) {
  return tiny == TinyValue::kSignedZero && negative ? -T{0} : T{0};
}

}  // namespace

size_t NumberLength(std::string_view text, bool decimal_comma) {
  return ScanNumber(text, decimal_comma).length;
}

template <typename T>
NumberStatus ParseNumber(std::string_view text, bool decimal_comma, int shift10, T& value,
                         TinyValue tiny) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  const NumberParts parts = ScanNumber(text, decimal_comma);
  if (parts.length == 0 || parts.length != text.size()) {
    return NumberStatus::kNotNumber;
  }
  const int64_t exponent = parts.exponent + shift10;

  // from_chars takes neither a leading "+" nor a decimal comma, so the number is rewritten in
  // its plain form.
  std::string normal;
  normal.reserve(parts.int_digits.size() + parts.frac_digits.size() + 24);
  if (parts.negative) {
    normal += '-';
  }
  normal += parts.int_digits;
  if (!parts.frac_digits.empty()) {
    normal += '.';
    normal += parts.frac_digits;
  }
  if (exponent != 0) {
    normal += 'e';
    normal += std::to_string(exponent);
  }
  const char* first = normal.data();
  const char* last = first + normal.size();
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond the range either way: the position of the first significant digit says which way.
    int64_t magnitude = 0;
    const size_t lead = parts.int_digits.find_first_not_of('0');
    if (lead != std::string_view::npos) {
      magnitude = static_cast<int64_t>(parts.int_digits.size() - lead) - 1 + exponent;
    } else {
      magnitude = -static_cast<int64_t>(parts.frac_digits.find_first_not_of('0')) - 1 + exponent;
    }
    if (magnitude > 0) {
      constexpr T kInfinity = std::numeric_limits<T>::infinity();
      value = parts.negative ? -kInfinity : kInfinity;
      return NumberStatus::kOverflow;
    }
    value = Zero<T>(parts.negative, tiny);
    return NumberStatus::kOk;
  }
  if (result.ec != std::errc() || result.ptr != last) {
    return NumberStatus::kNotNumber;
  }
  if constexpr (std::is_same_v<T, float>) {
    constexpr float kSmallest = std::numeric_limits<float>::denorm_min();
    if (std::fabs(value) == kSmallest) {
      double exact = 0;
      std::from_chars(first, last, exact, std::chars_format::general);
      if (std::fabs(exact) < static_cast<double>(kSmallest)) {
        value = Zero<float>(parts.negative, tiny);
      }
    }
  }
  return NumberStatus::kOk;
}

template NumberStatus ParseNumber<float>(std::string_view, bool, int, float&, TinyValue);
template NumberStatus ParseNumber<double>(std::string_view, bool, int, double&, TinyValue);

}  // namespace dravik
