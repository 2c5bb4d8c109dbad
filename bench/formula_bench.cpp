#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "common/parallel.h"
#include "common/settings.h"
#include "log/formula_eval.h"

namespace dravik::bench {
namespace {

constexpr int kThreads = 2;
constexpr double kFormulaLimitMs = 150;
constexpr int kLoadFormulas = 10;

}  // namespace

void FormulaSection(const Options& options, const std::string& log) {
  const int rounds = std::max(options.repeats, 5);
  std::printf("\n9. Computed items on the big log, %d threads, median of %d\n", kThreads, rounds);
  Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone || table.item_count < 2) {
    Row("load", "FAILED");
    return;
  }
  const std::string first = BracketItemName(table.item_names[1]);
  const std::string second = BracketItemName(table.item_names[2]);
  // Five operations on two items.
  const Formula formula{"F", "(" + first + " - " + second + ") * 0.5 + " + first + " / 3 - 1"};
  const std::vector<Formula> formulas = {formula};
  const ComputedPlan plan =
      PlanComputedItems(std::span(table.item_names).first(table.LoggedItemCount() + 1), formulas);
  if (plan.formulas[0].item == 0) {
    Row("formula", "FAILED: " + plan.formulas[0].reason);
    return;
  }
  const int64_t samples = table.last_sample + 1;
  std::vector<const float*> columns;
  for (int j = 0; j <= table.LoggedItemCount(); ++j) {
    columns.push_back(table.Values(j).data());
  }
  std::vector<float> out(samples, 1.0f);  // touched, as the table's own column is by its load
  const std::vector<int64_t> ranges = SampleRanges(samples, kThreads);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const Clock::time_point start = Clock::now();
    EvaluateFormula(plan.formulas[0].program, columns, out, ranges, kThreads);
    times.push_back(MsSince(start));
  }
  Row("one formula, 5 operations on 2 items, " + std::to_string(samples) + " samples",
      Ms(Median(times)), "target " + Ms(kFormulaLimitMs),
      Verdict(Median(times) <= kFormulaLimitMs));

  // Opening the log with ten such formulas: their part of the load, timed in the loaded table so
  // that the rest of the machine weighs on it as little as it can, and the whole load beside one
  // without them.
  for (int k = 0; k < kLoadFormulas; ++k) {
    settings.formulas.push_back({"F" + std::to_string(k), formula.expression});
  }
  Clock::time_point start = Clock::now();
  const bool loaded = OpenLog(log, settings, table).kind == LoadFailure::kNone;
  const double with_ms = MsSince(start);
  if (!loaded || table.computed_count != kLoadFormulas) {
    Row("OpenLog with formulas", "FAILED");
    return;
  }
  const ComputedPlan load_plan = PlanComputedItems(
      std::span(table.item_names).first(table.LoggedItemCount() + 1), settings.formulas);
  std::vector<const float*> table_columns;
  for (int j = 0; j <= table.item_count; ++j) {
    table_columns.push_back(table.Values(j).data());
  }
  std::vector<double> load_times;
  for (int round = 0; round < rounds; ++round) {
    start = Clock::now();
    const std::vector<int64_t> load_ranges = SampleRanges(samples, kThreads);
    for (const PlannedFormula& planned : load_plan.formulas) {
      EvaluateFormula(planned.program, table_columns, table.Values(planned.item).first(samples),
                      load_ranges, kThreads);
    }
    load_times.push_back(MsSince(start) / kLoadFormulas);
  }
  Row("ten such formulas in a load, per formula", Ms(Median(load_times)),
      "target " + Ms(kFormulaLimitMs), Verdict(Median(load_times) <= kFormulaLimitMs));
  settings.formulas.clear();
  start = Clock::now();
  OpenLog(log, settings, table);
  Row("OpenLog with the ten formulas, once", Ms(with_ms), "without them " + Ms(MsSince(start)));
}

}  // namespace dravik::bench
