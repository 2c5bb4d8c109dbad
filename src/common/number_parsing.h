#pragma once

#include <cstddef>
#include <string_view>

namespace dravik {

enum class NumberStatus { kOk, kNotNumber, kOverflow };

// How a value too small to be held reads: as 0, or as a zero with the number's sign.
enum class TinyValue { kZero, kSignedZero };

// Length of the decimal number at the start of `text` (no blanks before it): an optional sign,
// digits with an optional decimal point ("." or, with `decimal_comma`, also ","), at least one
// digit, then an exponent ("e"/"E", optional sign, digits) when it has a digit: "2e" is the number
// 2 followed by "e". 0 when the text does not start with a number (no inf, nan or hexadecimal).
size_t NumberLength(std::string_view text, bool decimal_comma);

// The whole of `text`, blanks and tabs around it allowed, as a number of NumberLength's form;
// kNotNumber when the text is empty or holds anything else. The value is the exact decimal times
// 10^shift10, rounded once to T (float or double), whatever the C locale. A value too large for T
// is kOverflow and ±infinity; one too small reads as `tiny` says, and for float so does one below
// the smallest single, which would otherwise round up to it. 1,5 with decimal_comma -> 1.5.
template <typename T>
NumberStatus ParseNumber(std::string_view text, bool decimal_comma, int shift10, T& value,
                         TinyValue tiny = TinyValue::kZero);

extern template NumberStatus ParseNumber<float>(std::string_view, bool, int, float&, TinyValue);
extern template NumberStatus ParseNumber<double>(std::string_view, bool, int, double&, TinyValue);

}  // namespace dravik
