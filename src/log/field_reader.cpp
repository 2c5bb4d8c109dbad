#include "log/field_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/number_parsing.h"
#include "common/rounding.h"

namespace dravik {

LoadError ParseTimeOfDay(std::string_view text, bool decimal_comma, int32_t& ms) {
  const size_t first = text.find(':');
  if (first == std::string_view::npos) {
    return Failure(LoadFailure::kFormat);
  }
  const size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) {
    return Failure(LoadFailure::kFormat);
  }
  double hours = 0;
  double minutes = 0;
  float seconds = 0;
  const NumberStatus statuses[] = {
      ParseNumber(text.substr(0, first), decimal_comma, 0, hours),
      ParseNumber(text.substr(first + 1, second - first - 1), decimal_comma, 0, minutes),
      ParseNumber(text.substr(second + 1), decimal_comma, 0, seconds)};
  for (const NumberStatus status : statuses) {
    if (status == NumberStatus::kNotNumber) {
      return General(ErrorNumber::kTypeMismatch);
    }
  }
  for (const NumberStatus status : statuses) {
    if (status == NumberStatus::kOverflow) {
      return General(ErrorNumber::kOverflow);
    }
  }
  constexpr double kInt32Max = std::numeric_limits<int32_t>::max();
  constexpr double kInt32Min = std::numeric_limits<int32_t>::min();
  if (std::fabs(hours) > 1e12 || std::fabs(minutes) > 1e12) {
    return General(ErrorNumber::kOverflow);
  }
  const int64_t hours_ms = RoundHalfEven(hours) * 3'600'000;
  const int64_t minutes_ms = RoundHalfEven(minutes) * 60'000;
  const auto fits = [&](double v) { return v >= kInt32Min && v <= kInt32Max; };
  if (!fits(static_cast<double>(hours_ms)) || !fits(static_cast<double>(minutes_ms)) ||
      !fits(static_cast<double>(hours_ms + minutes_ms))) {
    return General(ErrorNumber::kOverflow);
  }
  const int64_t total = RoundHalfEven(static_cast<double>(seconds) * 1000 +
                                      static_cast<double>(hours_ms + minutes_ms));
  if (!fits(static_cast<double>(total))) {
    return General(ErrorNumber::kOverflow);
  }
  ms = static_cast<int32_t>(total);
  return {};
}

const char* FieldReader::ReadOtherValue(const char* p, float& value, LoadError& error) const {
  const char* field_end = FieldEnd(p);
  switch (ParseNumber(std::string_view(p, static_cast<size_t>(field_end - p)), decimal_comma_, 0,
                      value)) {
    case NumberStatus::kOk:
      break;
    case NumberStatus::kNotNumber:
      value = 0;
      if (std::all_of(p, field_end, [](char c) { return c == ' ' || c == '\t'; })) {
        value = kEmptyValue;
        empty_fields_->store(true, std::memory_order_relaxed);
      }
      break;
    case NumberStatus::kOverflow:
      error = General(ErrorNumber::kOverflow);
      break;
  }
  return field_end;
}

const char* FieldReader::ReadOtherTime(const char* p, int64_t sample, float& time,
                                       LoadError& error) {
  const char* field_end = FieldEnd(p);
  const std::string_view field(p, static_cast<size_t>(field_end - p));
  if (field.find(':') != std::string_view::npos) {
    int32_t clock_ms = 0;
    error = ParseTimeOfDay(field, decimal_comma_, clock_ms);
    if (Failed(error)) {
      return field_end;
    }
    if (sample == 0) {
      reference_ms_ = clock_ms;
    }
    time = static_cast<float>(ClockTimeAfter(clock_ms, reference_ms_));
    return field_end;
  }
  switch (ParseNumber(field, decimal_comma_, time_shift10_, time)) {
    case NumberStatus::kOk:
      break;
    case NumberStatus::kNotNumber:
      error = General(ErrorNumber::kTypeMismatch);
      break;
    case NumberStatus::kOverflow:
      error = General(ErrorNumber::kOverflow);
      break;
  }
  return field_end;
}

}  // namespace dravik
