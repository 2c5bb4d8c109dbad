#pragma once

#include <cstdint>
#include <string>

#include "common/settings.h"

namespace dravik {

// What the options dialog holds when OK is pressed. Switch states are the check boxes' values:
// 0 unchecked, 1 checked, 2 greyed (a settings value other than 0 or 1 shown as it is).
struct OptionsInput {
  int32_t time_unit_sec = 0;
  int32_t section_time = 0;
  int32_t graph_scale_mode = 0;
  int32_t always_tooltip = 0;
  std::string flow_text;      // "インジェクタ容量", cc/min
  std::string latency_text;   // "インジェクタ無効噴射時間", ms
  std::string cylinder_text;  // "シリンダ数"
  FuelItemNames fuel_items;   // as chosen in "燃費計算の項目"
};

// The outcome of OK: either the values to store or the field to complain about.
struct OptionsCheck {
  bool ok = false;
  std::string failing_field;  // the field's label text when !ok
  std::string message;        // the validation message box text when !ok
  // When ok: the values to store and whether the log must be read again.
  int32_t time_unit_sec = 0;
  int32_t section_time = 0;
  int32_t graph_scale_mode = 0;
  int32_t always_tooltip = 0;
  float injector_flow_scaling = 0;  // cc/min
  float injector_latency = 0;       // ms
  int32_t cylinder = 0;
  FuelItemNames fuel_items;
  // flow, latency, cylinders, fuel items, section or tooltip switch differ
  bool options_changed = false;
  // The scale rounding differs. The chart positions of a loaded log were computed with the old
  // rounding, so the log is read again, as for options_changed, to keep traces and scales in step.
  bool scale_mode_changed = false;
};

// "<field>には" CR LF "正数の数値を入力してください。"
std::string NumberErrorText(const std::string& field);

// Validates the dialog against the `current` settings, stopping at the first failure: first each
// text in the order flow, latency, cylinders must be a number (sign, point and exponent allowed,
// blanks and tabs around it, full-width forms read as ASCII); then, in the same order, the flow and
// the latency as singles must be finite and not negative, and the cylinders rounded half to even
// must lie in 0..32767 (-0.4 -> 0 passes, -0.6 fails, 4.5 -> 4). Zero passes.
OptionsCheck CheckOptions(const OptionsInput& input, const Settings& current);

// Stores the values of a passed check into `settings`, in the dialog's order.
void StoreOptions(const OptionsCheck& check, Settings& settings);

}  // namespace dravik
