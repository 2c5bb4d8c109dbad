#include "app/options_check.h"

#include <cmath>

#include <gtest/gtest.h>

namespace dravik {
namespace {

OptionsInput Texts(const char* flow, const char* latency, const char* cylinders) {
  OptionsInput input;
  input.flow_text = flow;
  input.latency_text = latency;
  input.cylinder_text = cylinders;
  return input;
}

TEST(CheckOptions, NamesTheFirstFailingFieldNumbersBeforeSigns) {
  struct Case {
    const char* flow;
    const char* latency;
    const char* cylinders;
    const char* field;  // "" when accepted
  };
  const Case cases[] = {
      {"abc", "0.98", "4", "インジェクタ容量"},
      {"430", "", "4", "インジェクタ無効噴射時間"},
      {"abc", "", "4", "インジェクタ容量"},
      {"-1", "x", "4", "インジェクタ無効噴射時間"},  // every number test comes first
      {"-1", "0.98", "x", "シリンダ数"},
      {"-1", "-1", "-1", "インジェクタ容量"},
      {"1", "-0.5", "-1", "インジェクタ無効噴射時間"},
      {"1", "1", "-0.6", "シリンダ数"},
      {"1", "1", "1e10", "シリンダ数"},
      {"1", "1", "32767.4", ""},
      {"1", "1", "32767.6", "シリンダ数"},
      {"1e39", "1", "4", "インジェクタ容量"},
      {"1", "1e400", "4", "インジェクタ無効噴射時間"},
      {"0", "0", "0", ""},
      {" 430.72 ", "\t0.98", "4 ", ""},
      {"-0", "-0.0", "-0.4", ""},
      {"1e3", ".5", "4.", ""},
      {"1,5", "1", "4", "インジェクタ容量"},
      {"1 2", "1", "4", "インジェクタ容量"},
      {"0x10", "1", "4", "インジェクタ容量"},
      {"+5", "+1", "+4", ""},
      {"４３０．７２", "＋０．９８", "－０．４", ""},  // typed with a Japanese input method
      {"１ｅ３９", "1", "4", "インジェクタ容量"},
  };
  for (const Case& c : cases) {
    const OptionsCheck check = CheckOptions(Texts(c.flow, c.latency, c.cylinders), Settings{});
    const std::string shown = std::string(c.flow) + "|" + c.latency + "|" + c.cylinders;
    EXPECT_EQ(check.ok, c.field[0] == '\0') << shown;
    EXPECT_EQ(check.failing_field, c.field) << shown;
    if (!check.ok) {
      EXPECT_EQ(check.message, std::string(c.field) + "には\r\n正数の数値を入力してください。");
    }
  }
}

TEST(CheckOptions, ConvertsTheValuesToStore) {
  struct Case {
    const char* cylinders;
    int32_t expected;
  };
  for (const Case& c : {Case{"4.5", 4}, Case{"5.5", 6}, Case{"-0.4", 0}, Case{"-0.5", 0}}) {
    const OptionsCheck check = CheckOptions(Texts("430.72", "0.98", c.cylinders), Settings{});
    ASSERT_TRUE(check.ok) << c.cylinders;
    EXPECT_EQ(check.cylinder, c.expected) << c.cylinders;
  }
  const OptionsCheck negative_zero = CheckOptions(Texts("-0", "-0", "0"), Settings{});
  EXPECT_FALSE(std::signbit(negative_zero.injector_flow_scaling));
  EXPECT_FALSE(std::signbit(negative_zero.injector_latency));
}

TEST(CheckOptions, SetsOptionsChangedForFuelSectionAndTooltipOnly) {
  const Settings current;  // 430.72, 0.98, 4 cylinders, every switch off
  struct Case {
    const char* flow;
    const char* latency;
    const char* cylinders;
    int32_t time_unit_sec;
    int32_t section_time;
    int32_t graph_scale_mode;
    int32_t always_tooltip;
    bool changed;
  };
  const Case cases[] = {
      {"430.72", "0.98", "4", 0, 0, 0, 0, false}, {"430.720", "9.8e-1", "4.4", 0, 0, 0, 0, false},
      {"430.72", "0.98", "4", 1, 0, 1, 0, false},  // time unit and scale mode alone
      {"430.73", "0.98", "4", 0, 0, 0, 0, true},  {"430.72", "0.99", "4", 0, 0, 0, 0, true},
      {"430.72", "0.98", "6", 0, 0, 0, 0, true},  {"430.72", "0.98", "4", 0, 1, 0, 0, true},
      {"430.72", "0.98", "4", 0, 0, 0, 1, true},
  };
  for (const Case& c : cases) {
    OptionsInput input = Texts(c.flow, c.latency, c.cylinders);
    input.time_unit_sec = c.time_unit_sec;
    input.section_time = c.section_time;
    input.graph_scale_mode = c.graph_scale_mode;
    input.always_tooltip = c.always_tooltip;
    const OptionsCheck check = CheckOptions(input, current);
    ASSERT_TRUE(check.ok);
    EXPECT_EQ(check.options_changed, c.changed) << c.flow << " " << c.latency << " " << c.cylinders;
    EXPECT_EQ(check.scale_mode_changed, c.graph_scale_mode != current.graph_scale_mode);

    Settings stored = current;
    StoreOptions(check, stored);
    EXPECT_EQ(stored.time_unit_sec, c.time_unit_sec);
    EXPECT_EQ(stored.section_time, c.section_time);
    EXPECT_EQ(stored.graph_scale_mode, c.graph_scale_mode);
    EXPECT_EQ(stored.always_tooltip, c.always_tooltip);
    EXPECT_EQ(stored.injector_flow_scaling, check.injector_flow_scaling);
    EXPECT_EQ(stored.injector_latency, check.injector_latency);
    EXPECT_EQ(stored.cylinder, check.cylinder);
    EXPECT_EQ(stored.item_colors, current.item_colors);
  }
}

}  // namespace
}  // namespace dravik
