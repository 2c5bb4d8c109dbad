#include "app/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "common/rounding.h"

namespace dravik {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the number at the start of `text` (no blanks before it), 0 when there is none.
size_t NumberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) {
    return 0;
  }
  // An exponent counts only with at least one digit; "2e" is the number 2 followed by "e".
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) {
        ++j;
      }
      i = j;
    }
  }
  return i;
}

// Whether an unsigned number text lies above 1 in magnitude: the decimal exponent of its first
// significant digit is positive.
bool AboveOne(std::string_view number) {
  long long exponent = 0;
  const size_t e = number.find_first_of("eE");
  if (e != std::string_view::npos) {
    std::string_view digits = number.substr(e + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
      digits.remove_prefix(1);
    }
    for (const char c : digits) {
      exponent = std::min(exponent * 10 + (c - '0'), 1000000000LL);
    }
    if (negative) {
      exponent = -exponent;
    }
    number = number.substr(0, e);
  }
  const size_t point = number.find('.');
  const size_t integer_digits = point == std::string_view::npos ? number.size() : point;
  const size_t first = number.find_first_of("123456789");
  // first significant digit at 10^(integer_digits - 1 - first), counting past the point
  const long long position = first < integer_digits
                                 ? static_cast<long long>(integer_digits - 1 - first)
                                 : -static_cast<long long>(first - integer_digits);
  return position + exponent > 0;
}

// Converts a text NumberLength accepted in full. Independent of the C locale, which a GUI
// program may have set to one with a decimal comma.
double ConvertNumber(std::string_view number) {
  bool negative = false;
  if (number.front() == '+' || number.front() == '-') {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = AboveOne(number) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) {
    ++start;
  }
  text.remove_prefix(start);
  const size_t length = NumberLength(text);
  return length == 0 ? 0.0 : ConvertNumber(text.substr(0, length));
}

std::optional<double> ParseNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  const size_t length = NumberLength(text);
  if (length == 0 || length != text.size()) {
    return std::nullopt;
  }
  return ConvertNumber(text);
}

int32_t RoundToInt32(double value) {
  const int64_t rounded = RoundHalfEven(value);
  if (rounded > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (rounded < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace dravik
