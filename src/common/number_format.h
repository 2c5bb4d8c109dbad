#pragma once

#include <string>

namespace dravik {

// General form of a number: at most 7 significant digits (ties to even), "." as decimal point,
// trailing zeros and a trailing point dropped, "-" for negatives but never for zero. Fixed notation
// for decimal exponents -4..6, otherwise "d.ddddddE+XX" (12345678 -> "1.234568E+07",
// 0.00001 -> "1E-05", 430.72 -> "430.72"). Infinities and NaN, which a loaded log never holds,
// are written "inf", "-inf" and "nan". Every single converts to a double exactly, so a single is
// written as before; a double (an average) is rounded to its 7 digits once, never via a single.
std::string FormatGeneral(double value);

// Fixed format with `decimals` digits after the point ("0.00" is 2, "0.000" is 3, "0.0" is 1):
// at least one digit before the point, halves rounded away from zero on the value's 15
// significant decimal digits; a result that rounds to zero has no minus sign.
std::string FormatFixed(double value, int decimals);

// "0.0#": one or two decimals, a second decimal only when it is not zero (0.72, 0.4, 6.0 -> "6.0").
std::string FormatOneOrTwoDecimals(double value);

// |a - b| of the two values as the general form shows them (7 significant digits each), computed
// exactly in decimal and written in plain decimal notation without exponent and without trailing
// zeros: (12.3f, 10.1f) -> "2.2", (5, 3) -> "2", equal values -> "0".
std::string FormatDecimalDifference(float a, float b);

// A plain decimal text of milliseconds ("2500", "12.25") as whole seconds, halves to even ("2",
// "0"). Worked on the digits, since a decimal difference may hold more digits than a double.
std::string DecimalMsToWholeSeconds(const std::string& decimal_ms);

// The shortest decimal text of `value` x 10^-shift10 that reads back to `value` when scaled by
// 10^shift10 again: 1500 with shift 3 -> "1.5", 0.1f -> "0.1", 1e20f -> "1e+20".
std::string ExactDecimal(float value, int shift10 = 0);

}  // namespace dravik
