#include "common/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace dravik {
namespace {

// A finite value as significant digits and the decimal exponent of the first digit:
// value = (negative ? -1 : 1) * d.ddd... * 10^exponent.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// Correctly rounded (ties to even) to `significant` digits by the C library.
DecimalDigits ToDecimal(double value, int significant) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
  DecimalDigits result;
  const char* p = buffer;
  if (*p == '-') {
    result.negative = true;
    ++p;
  }
  // Digits only: the decimal point that snprintf writes follows the C locale, which a GUI
  // program may have set to the user's (a comma in many languages).
  for (; *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') {
      result.digits.push_back(*p);
    }
  }
  result.exponent = std::atoi(p + 1);
  return result;
}

bool AllZero(const std::string& digits) {
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

std::string StripTrailingZeros(std::string digits) {
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
  }
  return digits;
}

std::string NonFinite(double value) {
  if (std::isnan(value)) {
    return "nan";
  }
  return value < 0 ? "-inf" : "inf";
}

// Digit strings without sign, most significant first, same length after padding.
std::string AddDigits(const std::string& a, const std::string& b) {
  std::string result;
  int carry = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const size_t k = a.size() - 1 - i;
    const int sum = (a[k] - '0') + (b[k] - '0') + carry;
    result.push_back(static_cast<char>('0' + sum % 10));
    carry = sum / 10;
  }
  if (carry != 0) {
    result.push_back('1');
  }
  std::reverse(result.begin(), result.end());
  return result;
}

// The digit string plus one ("" + 1 is "1").
std::string Increment(std::string digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return digits;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
  return digits;
}

// a - b for a >= b, both of the same length.
std::string SubtractDigits(const std::string& a, const std::string& b) {
  std::string result;
  int borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const size_t k = a.size() - 1 - i;
    int diff = (a[k] - '0') - (b[k] - '0') - borrow;
    borrow = diff < 0 ? 1 : 0;
    if (diff < 0) {
      diff += 10;
    }
    result.push_back(static_cast<char>('0' + diff));
  }
  std::reverse(result.begin(), result.end());
  return result;
}

// Plain notation for values whose decimal exponent lies here; beyond, it grows longer than an
// exponent would.
constexpr int kLowestPlainExponent = -7;
constexpr int kHighestPlainExponent = 16;

}  // namespace

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) {
    return NonFinite(value);
  }
  if (value == 0.0) {
    return "0";
  }
  const DecimalDigits d = ToDecimal(value, 7);
  const std::string significant = StripTrailingZeros(d.digits);
  std::string text = d.negative ? "-" : "";
  const int e = d.exponent;
  if (e >= -4 && e <= 6) {
    if (e >= 0) {
      std::string integer = significant.substr(0, std::min<size_t>(e + 1, significant.size()));
      integer.append(e + 1 - integer.size(), '0');
      text += integer;
      if (significant.size() > static_cast<size_t>(e + 1)) {
        text.push_back('.');
        text.append(significant, e + 1);
      }
    } else {
      text.append("0.").append(-e - 1, '0').append(significant);
    }
    return text;
  }
  text += significant.substr(0, 1);
  if (significant.size() > 1) {
    text.push_back('.');
    text.append(significant, 1);
  }
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
  return text + exponent;
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) {
    return NonFinite(value);
  }
  std::string units = "0";  // the result in units of 10^-decimals
  bool negative = false;
  if (value != 0.0) {
    const DecimalDigits d = ToDecimal(value, 15);
    negative = d.negative;
    const int keep = d.exponent + 1 + decimals;
    if (keep >= static_cast<int>(d.digits.size())) {
      units = d.digits;
      units.append(keep - d.digits.size(), '0');
    } else if (keep >= 0) {
      units.assign(d.digits, 0, keep);
      if (d.digits[keep] >= '5') {
        units = Increment(units);
      }
      if (units.empty()) {
        units.push_back('0');
      }
    }
  }
  units.erase(0, std::min(units.find_first_not_of('0'), units.size() - 1));
  if (units.size() <= static_cast<size_t>(decimals)) {
    units.insert(0, decimals + 1 - units.size(), '0');
  }
  std::string text = (negative && !AllZero(units)) ? "-" : "";
  text += units.substr(0, units.size() - decimals);
  if (decimals > 0) {
    text.push_back('.');
    text.append(units, units.size() - decimals);
  }
  return text;
}

std::string FormatOneOrTwoDecimals(double value) {
  std::string text = FormatFixed(value, 2);
  if (text.back() == '0') {
    text.pop_back();
  }
  return text;
}

std::string FormatDecimalDifference(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b)) {
    return NonFinite(static_cast<double>(a) - static_cast<double>(b));
  }
  DecimalDigits da = ToDecimal(a, 7);
  DecimalDigits db = ToDecimal(b, 7);
  if (a == 0.0f) {
    da.negative = false;
  }
  if (b == 0.0f) {
    db.negative = false;
  }
  // Align both on the smaller last-digit exponent, then add or subtract magnitudes.
  const int last_a = da.exponent - 6;
  const int last_b = db.exponent - 6;
  const int scale = std::min(last_a, last_b);
  std::string ma = da.digits + std::string(last_a - scale, '0');
  std::string mb = db.digits + std::string(last_b - scale, '0');
  const size_t width = std::max(ma.size(), mb.size());
  ma.insert(0, width - ma.size(), '0');
  mb.insert(0, width - mb.size(), '0');
  std::string digits;
  if (da.negative != db.negative) {
    digits = AddDigits(ma, mb);
  } else {
    digits = ma >= mb ? SubtractDigits(ma, mb) : SubtractDigits(mb, ma);
  }
  if (scale >= 0) {
    digits.append(scale, '0');
  } else {
    const size_t fraction = -scale;
    if (digits.size() <= fraction) {
      digits.insert(0, fraction + 1 - digits.size(), '0');
    }
    digits.insert(digits.begin() + (digits.size() - fraction), '.');
    while (digits.back() == '0') {
      digits.pop_back();
    }
    if (digits.back() == '.') {
      digits.pop_back();
    }
  }
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.find('.') == std::string::npos
                                                              ? digits.size() - 1
                                                              : digits.find('.') - 1));
  return digits;
}

std::string DecimalMsToWholeSeconds(const std::string& decimal_ms) {
  if (decimal_ms.find_first_not_of("0123456789.") != std::string::npos) {
    return decimal_ms;
  }
  const size_t point = std::min(decimal_ms.find('.'), decimal_ms.size());
  std::string integer = decimal_ms.substr(0, point);
  const std::string fraction = point < decimal_ms.size() ? decimal_ms.substr(point + 1) : "";
  if (integer.size() < 4) {
    integer.insert(0, 4 - integer.size(), '0');
  }
  std::string seconds = integer.substr(0, integer.size() - 3);
  const std::string below = integer.substr(integer.size() - 3) + fraction;  // after the new point
  const bool beyond_half = below.find_first_not_of('0', 1) != std::string::npos;
  const bool odd = (seconds.back() - '0') % 2 == 1;
  if (below[0] > '5' || (below[0] == '5' && (beyond_half || odd))) {
    seconds = Increment(seconds);
  }
  seconds.erase(0, std::min(seconds.find_first_not_of('0'), seconds.size() - 1));
  return seconds;
}

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

}  // namespace dravik
