#include "log/formula_eval.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "common/core_text.h"
#include "common/parallel.h"
#include "common/rounding.h"
#include "log/fuel_items.h"
#include "log/log_header.h"

namespace dravik {
namespace {

// Samples per block: one value of the stack for a block is 4 KB, so a formula's working values
// stay in the first-level cache.
constexpr int64_t kBlock = 512;

// The first of `names` that names `name`, -1 when none does.
int FindName(std::span<const std::string> names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (IsChosenItem(names[i], name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int FindFormula(std::span<const Formula> formulas, std::string_view name) {
  for (size_t i = 0; i < formulas.size(); ++i) {
    if (IsChosenItem(formulas[i].name, name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Why formula `index` cannot be an item of the log by its name alone; empty when it can.
std::string NameReason(std::span<const std::string> log_names, std::span<const Formula> formulas,
                       size_t index, bool log_known, std::span<const std::string> set_aside) {
  const std::string& name = formulas[index].name;
  if (index >= static_cast<size_t>(kMaxFormulas)) {
    return ArgText(CoreText::Tr("計算項目は%1個までです"), {std::to_string(kMaxFormulas)});
  }
  if (index < set_aside.size() && !set_aside[index].empty()) {
    return set_aside[index];
  }
  if (TrimBlanks(name).empty()) {
    return CoreText::Tr("名前がありません");
  }
  if (IsChosenItem(kEconomyName, name)) {
    return CoreText::Tr("名前が瞬間燃費の項目と同じです");
  }
  if (log_known && FindName(log_names, name) >= 0) {
    return CoreText::Tr("名前がこのログの項目と同じです");
  }
  if (FindFormula(formulas.first(index), name) >= 0) {
    return CoreText::Tr("名前が上の計算項目と同じです");
  }
  return {};
}

template <typename Op>
void Unary(double* a, int64_t n, Op op) {
  for (int64_t i = 0; i < n; ++i) {
    a[i] = op(a[i]);
  }
}

template <typename Op>
void Binary(double* a, const double* b, int64_t n, Op op) {
  for (int64_t i = 0; i < n; ++i) {
    a[i] = op(a[i], b[i]);
  }
}

// Applies a step of two operands to the value on top of the stack and its right operand.
template <typename Op>
void ApplyBinary(const FormulaStep& step, std::span<const float* const> columns, int64_t first,
                 int64_t n, double*& top, Op op) {
  switch (step.right) {
    case FormulaOperand::kStack:
      top -= kBlock;
      Binary(top, top + kBlock, n, op);
      break;
    case FormulaOperand::kNumber: {
      const double number = step.number;
      for (int64_t i = 0; i < n; ++i) {
        top[i] = op(top[i], number);
      }
      break;
    }
    case FormulaOperand::kItem: {
      const float* values = columns[step.item];
      if (first >= step.lag) {
        const float* from = values + first - step.lag;
        for (int64_t i = 0; i < n; ++i) {
          top[i] = op(top[i], double{from[i]});
        }
      } else {
        for (int64_t i = 0; i < n; ++i) {
          top[i] = op(top[i], double{values[std::max<int64_t>(first + i - step.lag, 0)]});
        }
      }
      break;
    }
  }
}

// Evaluates the program for samples first..first + n - 1 into `stack` (stack_depth blocks);
// the result is the first block.
void EvaluateBlock(const FormulaProgram& program, std::span<const float* const> columns,
                   int64_t first, int64_t n, double* stack) {
  double* top = stack - kBlock;  // the block of the value on top
  for (const FormulaStep& step : program.steps) {
    switch (step.op) {
      case FormulaOp::kNumber:
        top += kBlock;
        std::fill_n(top, n, step.number);
        break;
      case FormulaOp::kItem: {
        top += kBlock;
        const float* values = columns[step.item];
        if (first >= step.lag) {
          const float* from = values + first - step.lag;
          for (int64_t i = 0; i < n; ++i) {
            top[i] = from[i];
          }
        } else {
          for (int64_t i = 0; i < n; ++i) {
            top[i] = values[std::max<int64_t>(first + i - step.lag, 0)];
          }
        }
        break;
      }
      case FormulaOp::kTime: {
        top += kBlock;
        const float* time = columns[0];
        const double start = time[0];
        for (int64_t i = 0; i < n; ++i) {
          top[i] = (time[first + i] - start) / 1000;
        }
        break;
      }
      case FormulaOp::kNegate:
        Unary(top, n, [](double a) { return -a; });
        break;
      case FormulaOp::kNot:
        Unary(top, n, [](double a) { return a == 0 ? 1.0 : 0.0; });
        break;
      case FormulaOp::kAbs:
        Unary(top, n, [](double a) { return std::fabs(a); });
        break;
      case FormulaOp::kSqrt:
        Unary(top, n, [](double a) { return std::sqrt(a); });
        break;
      case FormulaOp::kExp:
        Unary(top, n, [](double a) { return std::exp(a); });
        break;
      case FormulaOp::kLn:
        Unary(top, n, [](double a) { return std::log(a); });
        break;
      case FormulaOp::kLog10:
        Unary(top, n, [](double a) { return std::log10(a); });
        break;
      case FormulaOp::kSin:
        Unary(top, n, [](double a) { return std::sin(a); });
        break;
      case FormulaOp::kCos:
        Unary(top, n, [](double a) { return std::cos(a); });
        break;
      case FormulaOp::kTan:
        Unary(top, n, [](double a) { return std::tan(a); });
        break;
      case FormulaOp::kFloor:
        Unary(top, n, [](double a) { return std::floor(a); });
        break;
      case FormulaOp::kCeil:
        Unary(top, n, [](double a) { return std::ceil(a); });
        break;
      case FormulaOp::kRound:
        Unary(top, n, [](double a) { return RoundHalfEvenWhole(a); });
        break;
      case FormulaOp::kAdd:
        ApplyBinary(step, columns, first, n, top, [](double a, double b) { return a + b; });
        break;
      case FormulaOp::kSubtract:
        ApplyBinary(step, columns, first, n, top, [](double a, double b) { return a - b; });
        break;
      case FormulaOp::kMultiply:
        ApplyBinary(step, columns, first, n, top, [](double a, double b) { return a * b; });
        break;
      case FormulaOp::kDivide:
        ApplyBinary(step, columns, first, n, top, [](double a, double b) { return a / b; });
        break;
      case FormulaOp::kPower:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return std::pow(a, b); });
        break;
      case FormulaOp::kLess:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a < b ? 1.0 : 0.0; });
        break;
      case FormulaOp::kLessEqual:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a <= b ? 1.0 : 0.0; });
        break;
      case FormulaOp::kGreater:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a > b ? 1.0 : 0.0; });
        break;
      case FormulaOp::kGreaterEqual:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a >= b ? 1.0 : 0.0; });
        break;
      case FormulaOp::kEqual:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a == b ? 1.0 : 0.0; });
        break;
      case FormulaOp::kNotEqual:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a != b ? 1.0 : 0.0; });
        break;
      case FormulaOp::kAnd:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a != 0 && b != 0 ? 1.0 : 0.0; });
        break;
      case FormulaOp::kOr:
        ApplyBinary(step, columns, first, n, top,
                    [](double a, double b) { return a != 0 || b != 0 ? 1.0 : 0.0; });
        break;
      case FormulaOp::kMin:
        ApplyBinary(step, columns, first, n, top, [](double a, double b) { return b < a ? b : a; });
        break;
      case FormulaOp::kMax:
        ApplyBinary(step, columns, first, n, top, [](double a, double b) { return b > a ? b : a; });
        break;
      case FormulaOp::kIf: {
        top -= 2 * kBlock;
        const double* then_values = top + kBlock;
        const double* else_values = top + 2 * kBlock;
        for (int64_t i = 0; i < n; ++i) {
          top[i] = top[i] != 0 ? then_values[i] : else_values[i];
        }
        break;
      }
    }
  }
}

}  // namespace

ComputedPlan PlanComputedItems(std::span<const std::string> log_names,
                               std::span<const Formula> formulas, bool log_known,
                               std::span<const std::string> set_aside) {
  ComputedPlan plan;
  plan.formulas.resize(formulas.size());
  // Item 0 is the time column, also when no item of the log is known.
  const int first_item = std::max(static_cast<int>(log_names.size()), 1);
  for (size_t k = 0; k < formulas.size(); ++k) {
    PlannedFormula& planned = plan.formulas[k];
    planned.reason = NameReason(log_names, formulas, k, log_known, set_aside);
    if (!planned.reason.empty()) {
      continue;
    }
    const FormulaLookup lookup = [&](std::string_view name) {
      if (IsChosenItem(kEconomyName, name)) {
        return FormulaRef{FormulaRef::Kind::kEconomy};
      }
      const int item = log_known ? FindName(log_names, name) : -1;
      if (item >= 0) {
        return FormulaRef{FormulaRef::Kind::kItem, item};
      }
      const int formula = FindFormula(formulas, name);
      if (formula < 0) {
        return log_known ? FormulaRef{FormulaRef::Kind::kMissing}
                         : FormulaRef{FormulaRef::Kind::kItem, 0};
      }
      if (formula == static_cast<int>(k)) {
        return FormulaRef{FormulaRef::Kind::kSelf};
      }
      if (formula > static_cast<int>(k)) {
        return FormulaRef{FormulaRef::Kind::kBelow};
      }
      const int above = plan.formulas[formula].item;
      return above > 0 ? FormulaRef{FormulaRef::Kind::kItem, above}
                       : FormulaRef{FormulaRef::Kind::kUnavailable};
    };
    FormulaCompiled compiled = CompileFormula(formulas[k].expression, lookup);
    if (!compiled.ok()) {
      planned.reason = std::move(compiled.error);
      planned.position = compiled.position;
      continue;
    }
    planned.program = std::move(compiled.program);
    planned.item = first_item + static_cast<int>(plan.names.size());
    plan.names.push_back(formulas[k].name);
  }
  return plan;
}

std::string UnshowableReason() {
  return CoreText::Tr("値が小さすぎるか大きすぎてグラフに描けません");
}

FormulaValues EvaluateFormula(const FormulaProgram& program, std::span<const float* const> columns,
                              std::span<float> out, const std::vector<int64_t>& ranges,
                              int threads) {
  const int64_t range_count = static_cast<int64_t>(ranges.size()) - 1;
  std::vector<FormulaValues> parts(std::max<int64_t>(range_count, 0));
  RunTasks(range_count, threads, [&](int64_t r) {
    const auto stack = std::make_unique<double[]>(program.stack_depth * kBlock);
    int64_t zeros = 0;
    float low = std::numeric_limits<float>::infinity();
    float high = -std::numeric_limits<float>::infinity();
    for (int64_t first = ranges[r]; first < ranges[r + 1]; first += kBlock) {
      const int64_t n = std::min(kBlock, ranges[r + 1] - first);
      EvaluateBlock(program, columns, first, n, stack.get());
      float* result = out.data() + first;
      for (int64_t i = 0; i < n; ++i) {
        const float value = static_cast<float>(stack[i]);
        // False for NaN and both infinities: a comparison, which vectorises.
        const bool finite = std::fabs(value) <= std::numeric_limits<float>::max();
        const float stored = finite ? value : 0.0f;
        result[i] = stored;
        zeros += !finite;
        low = stored < low ? stored : low;
        high = stored > high ? stored : high;
      }
    }
    parts[r] = {zeros, low, high};
  });
  FormulaValues total = parts.front();
  for (size_t r = 1; r < parts.size(); ++r) {
    total.zero_samples += parts[r].zero_samples;
    total.min = std::min(total.min, parts[r].min);
    total.max = std::max(total.max, parts[r].max);
  }
  return total;
}

FormulaCheck CheckFormula(const LogTable& table, std::span<const Formula> formulas, size_t index,
                          const std::function<bool(float min, float max)>& can_show) {
  FormulaCheck check;
  const PlannedFormula alone =
      PlanComputedItems({}, formulas.first(index + 1), false).formulas[index];
  if (alone.item == 0) {
    check.error = alone.reason;
    check.position = alone.position;
    return check;
  }
  if (FindFormula(formulas.subspan(index + 1), formulas[index].name) >= 0) {
    check.error = CoreText::Tr("名前が下の計算項目と同じです");
    return check;
  }
  check.valid = true;
  if (!table.IsLoaded()) {
    return check;
  }
  const int logged = table.LoggedItemCount();
  const std::span<const std::string> log_names = std::span(table.item_names).first(logged + 1);
  const ComputedPlan plan = PlanComputedItems(log_names, formulas.first(index + 1));
  const PlannedFormula& planned = plan.formulas[index];
  if (planned.item == 0) {
    check.error = planned.reason;
    check.position = planned.position;
    return check;
  }
  // The formulas above that this one reads, directly or through others, are evaluated anew: the
  // list being edited need not be the one the log was opened with.
  std::vector<bool> needed(formulas.size(), false);
  needed[index] = true;
  for (size_t k = index + 1; k-- > 0;) {
    if (!needed[k]) {
      continue;
    }
    for (const int item : plan.formulas[k].program.items) {
      for (size_t above = 0; above < k; ++above) {
        needed[above] = needed[above] || plan.formulas[above].item == item;
      }
    }
  }
  const int64_t samples = table.last_sample + 1;
  const std::vector<int64_t> ranges = SampleRanges(samples, ThreadCount(0));
  std::vector<const float*> columns(logged + 1 + plan.names.size(), nullptr);
  for (int j = 0; j <= logged; ++j) {
    columns[j] = table.Values(j).data();
  }
  std::vector<std::vector<float>> values(plan.names.size());
  for (size_t k = 0; k <= index; ++k) {
    const PlannedFormula& above = plan.formulas[k];
    if (!needed[k] || above.item == 0) {
      continue;
    }
    std::vector<float>& column = values[above.item - logged - 1];
    column.resize(samples);
    const FormulaValues result =
        EvaluateFormula(above.program, columns, column, ranges, ThreadCount(0));
    columns[above.item] = column.data();
    check.zero_samples = result.zero_samples;
    if (can_show && !can_show(result.min, result.max)) {
      // Left out as a load would leave it out, and with it this formula when it is another.
      std::vector<std::string> set_aside(k + 1);
      set_aside[k] = UnshowableReason();
      const PlannedFormula replanned =
          PlanComputedItems(log_names, formulas.first(index + 1), true, set_aside).formulas[index];
      check.error = replanned.reason;
      check.position = replanned.position;
      check.unshowable = k == index;
      return check;
    }
  }
  check.evaluated = true;
  return check;
}

}  // namespace dravik
