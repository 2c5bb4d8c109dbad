#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dravik {

inline constexpr int kMaxFormulaChars = 4096;
inline constexpr int kMaxFormulaNesting = 64;
inline constexpr int kMaxPreviousSamples = 1000;

// One instruction of a compiled formula. The program is postfix: each step pops its operands
// from a stack of values and pushes its result.
enum class FormulaOp : uint8_t {
  kNumber,  // pushes `number`
  kItem,    // pushes item `item` of `lag` samples before (sample 0 before the first)
  kTime,    // pushes the seconds from the first sample
  kNegate,
  kNot,
  kAbs,
  kSqrt,
  kExp,
  kLn,
  kLog10,
  kSin,
  kCos,
  kTan,
  kFloor,
  kCeil,
  kRound,
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kPower,
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
  kEqual,
  kNotEqual,
  kAnd,
  kOr,
  kMin,
  kMax,
  kIf,  // pops condition, then-value, else-value
};

// Where the right operand of a step of two operands comes from: the stack, or, folded into the
// step so that no block is filled for it, a number or an item.
enum class FormulaOperand : uint8_t { kStack, kNumber, kItem };

struct FormulaStep {
  FormulaOp op = FormulaOp::kNumber;
  int item = 0;  // kItem, or a right operand that is an item
  int lag = 0;
  double number = 0;  // kNumber, or a right operand that is a number
  FormulaOperand right = FormulaOperand::kStack;
};

struct FormulaProgram {
  std::vector<FormulaStep> steps;
  int stack_depth = 0;     // the most values the stack holds at once
  std::vector<int> items;  // the items the program reads, each once, in order of first use
};

// What a name in brackets stands for, given by the caller of CompileFormula.
struct FormulaRef {
  enum class Kind {
    kItem,         // an item of the log, or a computed item above: `item` is its number
    kMissing,      // no such item
    kSelf,         // the computed item compiled
    kBelow,        // a computed item below the one compiled
    kEconomy,      // the computed economy item
    kUnavailable,  // a computed item above that the log cannot have
  };
  Kind kind = Kind::kMissing;
  int item = 0;
};

// Finds the item a bracketed name (`]]` already made `]`) stands for.
using FormulaLookup = std::function<FormulaRef(std::string_view name)>;

struct FormulaCompiled {
  FormulaProgram program;
  std::string error;  // "N文字目: ..." naming the first error, empty when there is none
  int position = 0;   // 1-based character of the error, 0 when there is none

  bool ok() const { return error.empty(); }
};

// Parses and compiles an expression of the formula language: numbers (14.7, 1e3, .5), items in
// brackets ([Engine Speed (rpm)], `]]` for `]`) with earlier samples ([Name][-1] to [-1000]),
// `t` in seconds from the first sample, + - * / ^, unary minus, parentheses, < <= > >= == != (1 or
// 0), and, or, not, and the functions abs min max sqrt exp ln log10 sin cos tan floor ceil round
// if. From the tightest: ^ (right-associative), unary - and not, * /, + -, comparisons, and, or.
// Positions count characters (UTF-8 code points) from 1. Expressions longer than
// kMaxFormulaChars characters or nested deeper than kMaxFormulaNesting are refused.
FormulaCompiled CompileFormula(std::string_view expression, const FormulaLookup& lookup);

// The brackets a name is written in: `[` name `]` with every `]` doubled.
std::string BracketItemName(std::string_view name);

}  // namespace dravik
