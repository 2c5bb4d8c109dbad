#include "log/field_reader.h"

#include "common/number_parsing.h"
#include "log/csv_reader.h"

namespace dravik {
namespace {

constexpr int64_t kDayMs = 86'400'000;

}  // namespace

const char* FieldReader::ReadOtherValue(const char* p, float& value, LoadError& error) const {
  const char* field_end = FieldEnd(p);
  switch (ParseNumber(std::string_view(p, static_cast<size_t>(field_end - p)), decimal_comma_, 0,
                      value)) {
    case NumberStatus::kOk:
      break;
    case NumberStatus::kNotNumber:
      value = 0;
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
    // One midnight at most: a log spans less than a day.
    int64_t relative = int64_t{clock_ms} - reference_ms_;
    if (clock_ms < reference_ms_) {
      relative += kDayMs;
    }
    time = static_cast<float>(relative);
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
