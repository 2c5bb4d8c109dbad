#pragma once

#include <string_view>

namespace dravik {

// The leading decimal number of `text`: leading blanks and tabs skipped, then an optional sign,
// digits with an optional "." and further digits (or "." and digits), an optional exponent
// ("e"/"E", optional sign, digits). Whatever follows is ignored ("1 2" -> 1, "12abc" -> 12);
// text that does not start with a number reads as 0. A value beyond the double range is
// +/-infinity.
double LeadingNumber(std::string_view text);

}  // namespace dravik
