// Feeds arbitrary bytes to the formula language as a list of formulas, one "NAME=EXPR" a line,
// plans them against a small log and evaluates every one that the log can have: nothing may
// crash, every stored value must be a finite single, and an error must name a character of its
// expression.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/parallel.h"
#include "log/formula_eval.h"

namespace {

using namespace dravik;

constexpr int64_t kSamples = 1100;  // more than the furthest earlier sample a formula reads
constexpr size_t kMaxLines = kMaxFormulas + 2;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

int Characters(std::string_view text) {
  int count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  return count;
}

struct Log {
  std::vector<std::string> names = {"Time", "A", "Engine Speed (rpm)", "x]y", "車速"};
  std::vector<std::vector<float>> columns;

  Log() {
    columns.resize(names.size(), std::vector<float>(kSamples));
    for (int64_t s = 0; s < kSamples; ++s) {
      columns[0][s] = 50.0f * static_cast<float>(s);
      columns[1][s] = static_cast<float>(s % 7) - 3;
      columns[2][s] = 800.0f + static_cast<float>(s * 13 % 5000);
      columns[3][s] = s % 2 == 0 ? 3.4e38f : -1e-30f;
      columns[4][s] = 0;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Log log;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<Formula> formulas;
  while (!text.empty() && formulas.size() < kMaxLines) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const size_t equals = line.find('=');
    formulas.push_back(
        equals == std::string_view::npos
            ? Formula{"F" + std::to_string(formulas.size()), std::string(line)}
            : Formula{std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))});
  }

  for (const bool known : {false, true}) {
    const ComputedPlan plan = PlanComputedItems(log.names, formulas, known);
    Check(plan.formulas.size() == formulas.size());
    for (size_t k = 0; k < formulas.size(); ++k) {
      const PlannedFormula& planned = plan.formulas[k];
      Check((planned.item > 0) == planned.reason.empty());
      Check(planned.position <= std::max(Characters(formulas[k].expression), kMaxFormulaChars) + 1);
    }
    if (!known) {
      continue;
    }
    std::vector<const float*> columns;
    for (const std::vector<float>& column : log.columns) {
      columns.push_back(column.data());
    }
    std::vector<std::vector<float>> computed(plan.names.size(), std::vector<float>(kSamples));
    const std::vector<int64_t> ranges = SampleRanges(kSamples, 1, 300);
    for (const PlannedFormula& planned : plan.formulas) {
      if (planned.item == 0) {
        continue;
      }
      Check(planned.item == static_cast<int>(columns.size()));
      for (const FormulaStep& step : planned.program.steps) {
        Check(step.item >= 0 && step.item < planned.item);
      }
      std::vector<float>& out = computed[planned.item - log.names.size()];
      const FormulaValues values = EvaluateFormula(planned.program, columns, out, ranges, 1);
      Check(values.zero_samples >= 0 && values.zero_samples <= kSamples);
      for (const float value : out) {
        Check(std::isfinite(value) && value >= values.min && value <= values.max);
      }
      columns.push_back(out.data());
    }
  }
  return 0;
}
