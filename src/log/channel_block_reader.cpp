#include "log/channel_block_reader.h"

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "common/number_parsing.h"
#include "log/field_reader.h"
#include "log/log_header.h"
#include "log/text_decoding.h"

namespace dravik {
namespace {

// Raw values at or below this are the logger's "no value".
constexpr double kNoValue = -2'147'482'648.0;

struct ChannelType {
  std::string_view name;
  double factor;
  double offset;
  std::string_view unit;
};

constexpr ChannelType kTypes[] = {
    {"EngineSpeed", 1, 0, "rpm"},
    {"AbsPressure", 0.1, 0, "kPa"},
    {"Pressure", 0.1, -101.3, "kPa"},
    {"Percentage", 0.1, 0, "%"},
    {"Angle", 0.1, 0, "°"},
    {"Temperature", 0.1, -273.15, "°C"},
    {"BatteryVoltage", 0.001, 0, "V"},
    {"Speed", 0.1, 0, "km/h"},
    {"AFR", 0.001, 0, "λ"},
    {"Time_us", 0.001, 0, "ms"},
    {"Time_ms", 1, 0, "ms"},
    {"Ratio", 0.001, 0, ""},
    {"GearRatio", 0.01, 0, ""},
    {"Decibel", 0.01, 0, "dB"},
    {"Frequency", 1, 0, "Hz"},
};

// Gear, Raw, a channel without a type line and every type not in the table.
constexpr ChannelType kRawType = {"Raw", 1, 0, ""};

const ChannelType& TypeNamed(std::string_view name) {
  for (const ChannelType& type : kTypes) {
    if (type.name == name) {
      return type;
    }
  }
  return kRawType;
}

struct Channel {
  std::string name;
  const ChannelType* type = nullptr;
};

// The lines of `text` that are not empty, in order.
std::vector<std::string_view> NonEmptyLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t p = 0;
  while (p < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", p), text.size());
    if (end > p) {
      lines.push_back(text.substr(p, end - p));
    }
    p = end + 1;
  }
  return lines;
}

// The text after `key` when `line` begins with it.
bool After(std::string_view line, std::string_view key, std::string_view& rest) {
  if (!line.starts_with(key)) {
    return false;
  }
  rest = TrimBlanks(line.substr(key.size()));
  return true;
}

// A channel's value of one field, `value` left as kEmptyValue for "no value" and empty fields.
LoadError ReadChannelValue(std::string_view field, const ChannelType& type, float& value) {
  double raw = 0;
  switch (ParseNumber(field, false, 0, raw)) {
    case NumberStatus::kOk:
      break;
    case NumberStatus::kNotNumber:
      value = TrimBlanks(field).empty() ? kEmptyValue : 0.0f;
      return {};
    case NumberStatus::kOverflow:
      return General(ErrorNumber::kOverflow);
  }
  if (raw <= kNoValue) {
    value = kEmptyValue;
    return {};
  }
  const double scaled = raw * type.factor + type.offset;
  if (std::fabs(scaled) > FLT_MAX) {
    return General(ErrorNumber::kOverflow);
  }
  value = static_cast<float>(scaled);
  return {};
}

}  // namespace

LoadError ChannelBlockReader::Read(std::string_view bytes, const ReadContext& context,
                                   LogTable& table) const {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  const std::vector<std::string_view> lines = NonEmptyLines(bytes);
  std::vector<Channel> channels;
  size_t first_sample = 0;
  bool has_log_line = false;
  for (size_t i = 1; i < lines.size() && !has_log_line; ++i) {
    std::string_view rest;
    if (After(lines[i], "Channel :", rest)) {
      channels.push_back({ItemNameToUtf8(rest), nullptr});
    } else if (After(lines[i], "Type :", rest)) {
      if (!channels.empty() && channels.back().type == nullptr) {
        channels.back().type = &TypeNamed(rest);
      }
    } else if (After(lines[i], "Log :", rest)) {
      has_log_line = true;
      first_sample = i + 1;
    }
  }
  if (!has_log_line) {
    return Failure(LoadFailure::kFormat);
  }
  std::vector<std::string> names = {"Time"};
  for (Channel& channel : channels) {
    if (channel.type == nullptr) {
      channel.type = &kRawType;
    }
    names.push_back(NameWithUnit(channel.name, channel.type->unit));
  }
  LoadError error = SetItemNames(std::move(names), context, table);
  if (Failed(error)) {
    return error;
  }

  const auto samples = static_cast<int64_t>(lines.size() - first_sample);
  table.Allocate(table.item_count + 1, samples + kTailSamples);
  int32_t first_clock = 0;
  bool has_empty = false;
  for (int64_t s = 0; s < samples; ++s) {
    const std::vector<std::string_view> fields =
        SplitAt(lines[first_sample + static_cast<size_t>(s)], ',');
    if (fields.size() != channels.size() + 1) {
      return Failure(LoadFailure::kFormat);
    }
    int32_t clock = 0;
    if (Failed(ParseTimeOfDay(fields[0], false, clock))) {
      return Failure(LoadFailure::kFormat);
    }
    if (s == 0) {
      first_clock = clock;
    }
    table.Values(0)[s] = static_cast<float>(ClockTimeAfter(clock, first_clock));
    for (size_t c = 0; c < channels.size(); ++c) {
      float& value = table.Values(static_cast<int>(c) + 1)[s];
      error = ReadChannelValue(fields[c + 1], *channels[c].type, value);
      if (Failed(error)) {
        return error;
      }
      has_empty = has_empty || std::isnan(value);
    }
    if ((s & 0xFFF) == 0) {
      context.progress->Report(kScanShare +
                               kParseShare * static_cast<double>(s) / static_cast<double>(samples));
    }
  }
  if (context.read) {
    context.read();
  }
  return CompleteTable(samples, has_empty, context, table);
}

}  // namespace dravik
