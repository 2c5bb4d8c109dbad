#include "app/options_check.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "common/core_text.h"
#include "common/number_parsing.h"
#include "common/rounding.h"

namespace dravik {
namespace {

// The fields' labels, as the validation message names them.
std::string FlowField() {
  return CoreText::Tr("インジェクタ容量");
}
std::string LatencyField() {
  return CoreText::Tr("インジェクタ無効噴射時間");
}
std::string CylinderField() {
  return CoreText::Tr("シリンダ数");
}
constexpr int64_t kMaxCylinders = 32767;  // the count is a 16-bit field

OptionsCheck Failure(const std::string& field) {
  OptionsCheck check;
  check.failing_field = field;
  check.message = NumberErrorText(field);
  return check;
}

// The text with the full-width digits, signs, point, exponent letters and blank that a Japanese
// input method types replaced by their ASCII forms.
std::string AsciiNumberText(const std::string& text) {
  static const std::pair<std::string_view, char> kWide[] = {
      {"＋", '+'}, {"－", '-'}, {"−", '-'}, {"．", '.'}, {"Ｅ", 'E'}, {"ｅ", 'e'}, {"　", ' '},
  };
  std::string ascii;
  for (size_t i = 0; i < text.size();) {
    const std::string_view rest = std::string_view(text).substr(i);
    // U+FF10..U+FF19, the full-width digits: EF BC 90..99.
    if (rest.size() >= 3 && rest[0] == '\xEF' && rest[1] == '\xBC' &&
        static_cast<unsigned char>(rest[2]) >= 0x90 &&
        static_cast<unsigned char>(rest[2]) <= 0x99) {
      ascii.push_back(static_cast<char>('0' + (static_cast<unsigned char>(rest[2]) - 0x90)));
      i += 3;
      continue;
    }
    const auto wide = std::find_if(std::begin(kWide), std::end(kWide),
                                   [&](const auto& pair) { return rest.starts_with(pair.first); });
    if (wide != std::end(kWide)) {
      ascii.push_back(wide->second);
      i += wide->first.size();
      continue;
    }
    ascii.push_back(text[i]);
    ++i;
  }
  return ascii;
}

// The whole field as a number, blanks and tabs around it allowed, full-width forms read as ASCII;
// beyond the double range +/-infinity.
std::optional<double> FieldNumber(const std::string& text) {
  double value = 0;
  if (ParseNumber(AsciiNumberText(text), false, 0, value, TinyValue::kSignedZero) ==
      NumberStatus::kNotNumber) {
    return std::nullopt;
  }
  return value;
}

// A single that is finite and not negative; -0 is stored as 0.
std::optional<float> NonNegativeSingle(double value) {
  const float single = static_cast<float>(value);
  if (!std::isfinite(single) || single < 0.0f) {
    return std::nullopt;
  }
  return single + 0.0f;
}

}  // namespace

std::string NumberErrorText(const std::string& field) {
  return ArgText(CoreText::Tr("%1には\r\n正数の数値を入力してください。"), {field});
}

OptionsCheck CheckOptions(const OptionsInput& input, const Settings& current) {
  const std::optional<double> flow = FieldNumber(input.flow_text);
  if (!flow) {
    return Failure(FlowField());
  }
  const std::optional<double> latency = FieldNumber(input.latency_text);
  if (!latency) {
    return Failure(LatencyField());
  }
  const std::optional<double> cylinders = FieldNumber(input.cylinder_text);
  if (!cylinders) {
    return Failure(CylinderField());
  }

  const std::optional<float> flow_value = NonNegativeSingle(*flow);
  if (!flow_value) {
    return Failure(FlowField());
  }
  const std::optional<float> latency_value = NonNegativeSingle(*latency);
  if (!latency_value) {
    return Failure(LatencyField());
  }
  const int64_t cylinder_value = RoundHalfEven(*cylinders);
  if (cylinder_value < 0 || cylinder_value > kMaxCylinders) {
    return Failure(CylinderField());
  }

  OptionsCheck check;
  check.ok = true;
  check.time_unit_sec = input.time_unit_sec;
  check.section_time = input.section_time;
  check.graph_scale_mode = input.graph_scale_mode;
  check.always_tooltip = input.always_tooltip;
  check.injector_flow_scaling = *flow_value;
  check.injector_latency = *latency_value;
  check.cylinder = static_cast<int32_t>(cylinder_value);
  check.fuel_items = input.fuel_items;
  check.options_changed =
      check.injector_flow_scaling != current.injector_flow_scaling ||
      check.injector_latency != current.injector_latency || check.cylinder != current.cylinder ||
      check.fuel_items != current.fuel_items || check.section_time != current.section_time ||
      check.always_tooltip != current.always_tooltip;
  check.scale_mode_changed = check.graph_scale_mode != current.graph_scale_mode;
  return check;
}

void StoreOptions(const OptionsCheck& check, Settings& settings) {
  settings.time_unit_sec = check.time_unit_sec;
  settings.section_time = check.section_time;
  settings.graph_scale_mode = check.graph_scale_mode;
  settings.always_tooltip = check.always_tooltip;
  settings.injector_flow_scaling = check.injector_flow_scaling;
  settings.injector_latency = check.injector_latency;
  settings.cylinder = check.cylinder;
  settings.fuel_items = check.fuel_items;
}

}  // namespace dravik
