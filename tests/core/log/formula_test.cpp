#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/open_log.h"
#include "common/parallel.h"
#include "core/log/read_log_helpers.h"
#include "log/formula_eval.h"
#include "log/formula_parser.h"

namespace dravik {
namespace {

// A log of `samples` samples: time 100 ms apart, A = 10 * s, B = s - 3, x]y = 7, 車速 = 60.
struct SmallLog {
  std::vector<std::string> names = {"Time", "A", "B", "x]y", "車速"};
  std::vector<std::vector<float>> columns;

  explicit SmallLog(int samples) {
    columns.resize(names.size());
    for (int s = 0; s < samples; ++s) {
      const auto sample = static_cast<float>(s);
      columns[0].push_back(100.0f * sample);
      columns[1].push_back(10.0f * sample);
      columns[2].push_back(sample - 3.0f);
      columns[3].push_back(7);
      columns[4].push_back(60);
    }
  }

  // The values of the last of `formulas` (names F1, F2, ...), and the count of zeros.
  std::vector<float> Evaluate(const std::vector<std::string>& expressions,
                              int64_t* zeros = nullptr) const {
    std::vector<Formula> formulas;
    for (size_t k = 0; k < expressions.size(); ++k) {
      formulas.push_back({"F" + std::to_string(k + 1), expressions[k]});
    }
    const ComputedPlan plan = PlanComputedItems(names, formulas);
    std::vector<std::vector<float>> computed(formulas.size(),
                                             std::vector<float>(columns[0].size()));
    std::vector<const float*> data;
    for (const auto& column : columns) {
      data.push_back(column.data());
    }
    const std::vector<int64_t> ranges = SampleRanges(static_cast<int64_t>(columns[0].size()), 2, 3);
    for (size_t k = 0; k < formulas.size(); ++k) {
      EXPECT_EQ(plan.formulas[k].reason, "") << expressions[k];
      if (plan.formulas[k].item == 0) {
        return {};
      }
      const int64_t z =
          EvaluateFormula(plan.formulas[k].program, data, computed[k], ranges, 2).zero_samples;
      data.push_back(computed[k].data());
      if (zeros != nullptr) {
        *zeros = z;
      }
    }
    return computed.back();
  }

  // The reason the first of `formulas` is left out.
  std::string Error(const std::vector<Formula>& formulas) const {
    return PlanComputedItems(names, formulas).formulas.front().reason;
  }
};

TEST(CompileFormula, PrecedenceNumbersAndFunctions) {
  const SmallLog log(4);
  const struct {
    const char* expression;
    double expected;
  } cases[] = {
      {"2^3^2", 512},      {"-2^2", -4},
      {"2^-1", 0.5},       {"1+2*3", 7},
      {"(1+2)*3", 9},      {"10-2-3", 5},
      {"8/2/2", 2},        {"1e3 + .5", 1000.5},
      {"14.7", 14.7},      {"5.", 5},
      {"1 < 2 == 1", 1},   {"1+1 > 1", 1},
      {"not 0 + 1", 2},    {"not 1 * 5", 0},
      {"1 or 0 and 0", 1}, {"(1 or 0) and 0", 0},
      {"3 >= 3", 1},       {"2 != 2", 0},
      {"2 <= 1", 0},       {"-(-3)", 3},
      {"min(3, 1, 2)", 1}, {"max(1, 5, 2)", 5},
      {"round(2.5)", 2},   {"round(3.5)", 4},
      {"round(-2.5)", -2}, {"floor(-1.5)", -2},
      {"ceil(1.2)", 2},    {"abs(-3)", 3},
      {"log10(1000)", 3},  {"ln(exp(2))", 2},
      {"sqrt(16)", 4},     {"if(0, 1, 2)", 2},
      {"IF(1, 1, 2)", 1},  {"sin(0)+cos(0)", 1},
      {"tan(0)", 0},       {"[ a ] - [A]", 0},
      {"[x]]y]", 7},       {"[車速] * 2", 120},
      {"t", 0.3},          {"[time]", 300},
  };
  for (const auto& c : cases) {
    // At sample 3: A = 30, B = 0, t = 0.3 s.
    const std::vector<float> values = log.Evaluate({c.expression});
    ASSERT_EQ(values.size(), 4u) << c.expression;
    EXPECT_EQ(values[3], static_cast<float>(c.expected)) << c.expression;
  }
}

TEST(CompileFormula, PreviousSamplesHoldTheFirstBeforeTheStart) {
  const SmallLog log(8);
  EXPECT_EQ(log.Evaluate({"[A][-1]"}), (std::vector<float>{0, 0, 10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(log.Evaluate({"[A] - [A] [ -3 ]"}),
            (std::vector<float>{0, 10, 20, 30, 30, 30, 30, 30}));
  // A computed item above, read with its own earlier samples.
  EXPECT_EQ(log.Evaluate({"[B]^2", "[f1][-2] + [F1]"}),
            (std::vector<float>{18, 13, 10, 4, 2, 4, 10, 20}));
}

TEST(EvaluateFormula, ResultsThatAreNoFiniteSingleReadZero) {
  const SmallLog log(4);
  int64_t zeros = 0;
  // B is -3, -2, -1, 0.
  EXPECT_EQ(log.Evaluate({"1 / [B]"}, &zeros), (std::vector<float>{-1 / 3.0f, -0.5f, -1, 0}));
  EXPECT_EQ(zeros, 1);
  EXPECT_EQ(log.Evaluate({"sqrt([B] + 1)"}, &zeros), (std::vector<float>{0, 0, 0, 1}));
  EXPECT_EQ(zeros, 2);
  EXPECT_EQ(log.Evaluate({"exp(1000) + 1e39 * [B]"}, &zeros), (std::vector<float>{0, 0, 0, 0}));
  EXPECT_EQ(zeros, 4);
  EXPECT_EQ(log.Evaluate({"3.4e38 * ([B] + 3) / 2"}, &zeros),
            (std::vector<float>{0, 1.7e38f, 3.4e38f, 0}));
  EXPECT_EQ(zeros, 1);
}

TEST(CompileFormula, NamesTheFirstErrorAndItsCharacter) {
  const SmallLog log(4);
  const std::string deep_ok = std::string(64, '(') + "1" + std::string(64, ')');
  const std::string too_deep = std::string(65, '(') + "1" + std::string(65, ')');
  const std::string long_ok = "1" + std::string(4095, ' ');
  const struct {
    std::string expression;
    const char* error;
  } cases[] = {
      {"1+[Speed]", "3文字目: 項目 [Speed] がありません"},
      {"", "1文字目: 式がありません"},
      {"  ", "1文字目: 式がありません"},
      {"1 +", "4文字目: 式が途中で終わっています"},
      {"(1", "3文字目: ) がありません"},
      {"min(1, 2", "9文字目: ) がありません"},
      {"2 * [A", "5文字目: ] がありません"},
      {"[ ]", "1文字目: 項目名がありません"},
      {"1 2", "3文字目: ここに 2 は置けません"},
      {")", "1文字目: ここに ) は置けません"},
      {"1 and or 2", "7文字目: ここに or は置けません"},
      {"foo(1)", "1文字目: 関数 foo はありません"},
      {"speed + 1", "1文字目: 名前 speed はありません (項目は [ ] で囲みます)"},
      {"min(1)", "6文字目: min の引数は2つ以上です"},
      {"abs(1, 2)", "1文字目: abs の引数は1つです"},
      {"if(1, 2)", "8文字目: if の引数は3つです"},
      {"[A][-1001]", "4文字目: 前のサンプルは [-1] から [-1000] までです"},
      {"[A][0]", "4文字目: 前のサンプルは [-1] から [-1000] までです"},
      {"[A][-x]", "4文字目: 前のサンプルは [-1] から [-1000] までです"},
      {"1 = 2", "3文字目: = は使えません (比較は == と !=)"},
      {"1 # 2", "3文字目: 文字 # は使えません"},
      {"[車速]+", "6文字目: 式が途中で終わっています"},
      {"[車速] + 車", "8文字目: 文字 車 は使えません"},
      {"1e999", "1文字目: 数 1e999 が大きすぎます"},
      {"[瞬間燃費 (km/l)]", "1文字目: 瞬間燃費の項目 [瞬間燃費 (km/l)] は計算項目に使えません"},
      {"[F1]", "1文字目: 計算項目 [F1] は自分自身なので使えません"},
      {"1 + [f2]", "5文字目: 計算項目 [f2] はこの計算項目より下にあるので使えません"},
      {deep_ok, ""},
      {too_deep, "65文字目: 入れ子が深すぎます (64段まで)"},
      {"-" + too_deep.substr(1), "65文字目: 入れ子が深すぎます (64段まで)"},
      {long_ok, ""},
      {long_ok + " ", "4097文字目: 式が長すぎます (4096文字まで)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(log.Error({{"F1", c.expression}, {"F2", "1"}}), c.error) << c.expression;
  }
}

TEST(PlanComputedItems, LeavesOutWhatTheLogCannotHave) {
  const SmallLog log(4);
  std::vector<Formula> formulas = {
      {"Boost", "[A] - 1"},     {" a ", "1"},
      {"BOOST", "2"},           {"", "1"},
      {"Missing", "[Nope]"},    {"Uses", "[Missing] + [boost]"},
      {"瞬間燃費 (km/l)", "1"}, {"Last", "[boost] * 2"},
  };
  const ComputedPlan plan = PlanComputedItems(log.names, formulas);
  const std::vector<std::string> reasons = {
      "",
      "名前がこのログの項目と同じです",
      "名前が上の計算項目と同じです",
      "名前がありません",
      "1文字目: 項目 [Nope] がありません",
      "1文字目: 計算項目 [Missing] はこのログでは使えません",
      "名前が瞬間燃費の項目と同じです",
      "",
  };
  for (size_t k = 0; k < formulas.size(); ++k) {
    EXPECT_EQ(plan.formulas[k].reason, reasons[k]) << k;
  }
  EXPECT_EQ(plan.formulas[0].item, 5);
  EXPECT_EQ(plan.formulas[7].item, 6);
  EXPECT_EQ(plan.names, (std::vector<std::string>{"Boost", "Last"}));

  formulas.assign(kMaxFormulas + 1, {"X", "1"});
  for (size_t k = 0; k < formulas.size(); ++k) {
    formulas[k].name = "X" + std::to_string(k);
  }
  const ComputedPlan many = PlanComputedItems(log.names, formulas);
  EXPECT_EQ(many.names.size(), static_cast<size_t>(kMaxFormulas));
  EXPECT_EQ(many.formulas.back().reason, "計算項目は64個までです");
}

TEST(ReadLog, ComputedItemsFollowTheLoggedItemsBeforeTheEconomy) {
  Settings settings;
  settings.formulas = {{"Double", "[Engine Speed] * 2"},
                       {"Nope", "[Boost]"},
                       {"Step", "[Engine Speed] - [Engine Speed][-1]"}};
  settings.fuel_items.speed = "step";
  std::string text = "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)\r\n";
  for (int s = 0; s < 12; ++s) {
    text += std::to_string(s * 250) + ",50," + std::to_string(1000 + 10 * s * s) + ",3\r\n";
  }
  LogTable table;
  ASSERT_FALSE(Failed(Load(text, table, settings)));
  EXPECT_EQ(table.item_names,
            (std::vector<std::string>{"Time", "Vehicle Speed (km/h)", "Engine Speed",
                                      "Fuel Injector #1 Pulse Width (ms)", "Double", "Step",
                                      "瞬間燃費 (km/l)"}));
  EXPECT_EQ(table.first_computed, 4);
  EXPECT_EQ(table.computed_count, 2);
  EXPECT_EQ(table.LoggedItemCount(), 3);
  EXPECT_EQ(table.speed_item, 5);  // chosen by name, a computed item may be a fuel item
  ASSERT_EQ(table.formula_outcomes.size(), 3u);
  EXPECT_EQ(table.formula_outcomes[1].reason, "1文字目: 項目 [Boost] がありません");
  const std::vector<float> step = Column(table, 5);
  for (int s = 1; s < 12; ++s) {
    EXPECT_EQ(step[s], static_cast<float>(10 * (2 * s - 1))) << s;
  }
  EXPECT_EQ(table.Values(5)[table.last_sample + kTailSamples], step.back());
  EXPECT_EQ(table.item_max[4], 2 * (1000 + 1210.0f));
}

TEST(ReadLog, AFormulaTheChartCannotShowIsLeftOutAndTheLogLoads) {
  Settings settings = NoFuel();
  settings.formulas = {{"Huge", "[A] * 3e36"},
                       {"Uses huge", "[Huge] + 1"},
                       {"Tiny", "([A] - 105.5) * 1e-9"},
                       {"Fine", "[A] + 1"}};
  std::string text = "Time,A\r\n";
  for (int s = 0; s < 12; ++s) {
    text += std::to_string(s * 100) + "," + std::to_string(100 + s) + "\r\n";
  }
  LogTable table;
  ASSERT_FALSE(Failed(Load(text, table, settings)));
  EXPECT_EQ(table.item_names, (std::vector<std::string>{"Time", "A", "Fine"}));
  ASSERT_EQ(table.formula_outcomes.size(), 4u);
  const std::vector<std::string> reasons = {UnshowableReason(),
                                            "1文字目: 計算項目 [Huge] はこのログでは使えません",
                                            UnshowableReason(), ""};
  for (size_t k = 0; k < reasons.size(); ++k) {
    EXPECT_EQ(table.formula_outcomes[k].reason, reasons[k]) << k;
    // Known by a flag, not by its words, which follow the interface language.
    EXPECT_EQ(table.formula_outcomes[k].unshowable, k == 0 || k == 2) << k;
  }
  EXPECT_EQ(table.formula_outcomes[3].item, 2);
  EXPECT_EQ(Column(table, 2).back(), 112.0f);
}

TEST(ReadLog, EveryFormatGetsTheComputedItems) {
  Settings settings = NoFuel();
  settings.formulas = {{"Seconds", "t"}};
  for (const char* file : {"channel_block.csv", "binary_v1.mlg", "sparse_semicolon.csv"}) {
    LogTable table;
    ASSERT_FALSE(Failed(OpenLog(std::string(DRAVIK_TEST_DATA_DIR) + "/" + file, settings, table)))
        << file;
    const int item = table.formula_outcomes.at(0).item;
    ASSERT_EQ(item, table.LoggedItemCount() + 1) << file;
    EXPECT_EQ(table.item_names[item], "Seconds") << file;
    EXPECT_EQ(Column(table, item).back(),
              (table.Values(0)[table.last_sample] - table.Values(0)[0]) / 1000)
        << file;
  }
}

TEST(ReadLog, ComputedItemsDoNotCountTowardTheItemLimit) {
  // 1,023 logged items and the economy item: as many as a log may hold, and 64 formulas after.
  std::string text = "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)";
  for (int i = 4; i <= 1023; ++i) {
    text += ",I" + std::to_string(i);
  }
  Settings settings;
  for (int k = 0; k < kMaxFormulas; ++k) {
    settings.formulas.push_back({"F" + std::to_string(k), "[I4] + " + std::to_string(k)});
  }
  LogTable table;
  ASSERT_FALSE(Failed(Load(text + "\r\n" + Body(11, 1023), table, settings)));
  EXPECT_EQ(table.item_count, kMaxItems + kMaxFormulas);
  EXPECT_EQ(table.item_names[table.item_count], kEconomyName);
  EXPECT_EQ(Column(table, kMaxItems + kMaxFormulas - 1).back(), 104.0f + kMaxFormulas - 1);
}

TEST(EvaluateFormula, AgreesWithADirectComputationAcrossRangesAndBlocks) {
  constexpr int64_t kSamples = 5000;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(-100, 100);
  std::vector<float> time(kSamples), a(kSamples), b(kSamples);
  for (int64_t s = 0; s < kSamples; ++s) {
    time[s] = static_cast<float>(20 * s + 5);
    a[s] = value(random);
    b[s] = value(random);
  }
  const std::vector<std::string> names = {"Time", "A", "B"};
  const std::vector<Formula> formulas = {
      {"F", "([A] - [B][-700]) * 1.5 / ([B] + 0.25) ^ 2 + if([A] > 0, t, -t) + max([A], [B], 3)"}};
  const ComputedPlan plan = PlanComputedItems(names, formulas);
  ASSERT_EQ(plan.formulas[0].reason, "");
  const std::vector<const float*> columns = {time.data(), a.data(), b.data()};
  for (const int64_t range : {int64_t{0}, int64_t{333}, int64_t{1}}) {
    std::vector<float> out(kSamples);
    EvaluateFormula(plan.formulas[0].program, columns, out, SampleRanges(kSamples, 2, range), 2);
    for (int64_t s = 0; s < kSamples; ++s) {
      const double lagged = b[std::max<int64_t>(s - 700, 0)];
      const double t = (double{time[s]} - time[0]) / 1000;
      const double expected = (a[s] - lagged) * 1.5 / std::pow(b[s] + 0.25, 2) +
                              (a[s] > 0 ? t : -t) + std::max({double{a[s]}, double{b[s]}, 3.0});
      ASSERT_EQ(out[s], static_cast<float>(expected)) << s << " in ranges of " << range;
    }
  }
}

}  // namespace
}  // namespace dravik
