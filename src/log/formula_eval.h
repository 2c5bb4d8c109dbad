#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings.h"
#include "log/formula_parser.h"
#include "log/log_table.h"

namespace dravik {

// One formula as a log takes it.
struct PlannedFormula {
  int item = 0;        // its item number when the log has it, else 0
  std::string reason;  // why the log cannot have it, empty when it can
  int position = 0;    // the character the reason names, 0 when it names none
  FormulaProgram program;
};

// The formulas of the settings as one log takes them: the usable ones become items numbered on
// from the log's items, in list order.
struct ComputedPlan {
  std::vector<PlannedFormula> formulas;  // one per formula, in list order
  std::vector<std::string> names;        // names of the computed items, in item order
};

// Plans `formulas` for a log whose items are `log_names` (0 names the time column). A formula is
// left out, with its reason, when its name is empty, equals an item of the log, the economy item
// or a formula above it; when it does not compile (an item the log lacks, a formula below it,
// itself or one left out); when `set_aside` holds a reason for it; and beyond the kMaxFormulas-th.
// Names compare with ASCII letters without regard to case and blanks around them aside. With
// `log_known` false no item of the log is known: any name that is no formula stands for an item,
// so that only the expression itself is checked.
ComputedPlan PlanComputedItems(std::span<const std::string> log_names,
                               std::span<const Formula> formulas, bool log_known = true,
                               std::span<const std::string> set_aside = {});

// What an evaluation stored.
struct FormulaValues {
  int64_t zero_samples = 0;  // results stored as 0 for not being a finite single
  float min = 0;             // the smallest and largest value stored
  float max = 0;
};

// Evaluates `program` for samples 0..out.size() - 1 (at least one) and stores each result rounded
// to a single in `out`; a result that is not finite or beyond the single range stores 0. `columns`
// holds the first value of each item the program reads, by item number, and columns[0] the time in
// ms. Samples are worked on in blocks that stay in the cache, the ranges of `ranges`
// (SampleRanges) on up to `threads` threads.
FormulaValues EvaluateFormula(const FormulaProgram& program, std::span<const float* const> columns,
                              std::span<float> out, const std::vector<int64_t>& ranges,
                              int threads);

// The reason a computed item whose values the chart cannot show is left out of a log, in the
// interface language.
std::string UnshowableReason();

// The live check of formula `index` of `formulas`: first on its own, as on any log (its name empty,
// the economy item's or another formula's, or an error in its expression), then against the
// logged items of `table` when it is loaded, evaluating it and the formulas above that it reads;
// one whose values `can_show` refuses is left out as a load leaves it out.
struct FormulaCheck {
  bool valid = false;  // the name and the expression can make an item of some log
  std::string error;  // why it is not valid, or else why this log cannot have it; empty when it can
  int position = 0;   // the character the error names, 0 when it names none
  int64_t zero_samples = 0;  // of the log's samples, those that read 0
  bool evaluated = false;    // the formula was evaluated over the log
  bool unshowable = false;   // the chart could not show this formula's own values
};
FormulaCheck CheckFormula(const LogTable& table, std::span<const Formula> formulas, size_t index,
                          const std::function<bool(float min, float max)>& can_show = {});

}  // namespace dravik
