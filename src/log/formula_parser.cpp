#include "log/formula_parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "common/core_text.h"
#include "log/log_header.h"

namespace dravik {
namespace {

// What an error names of a piece of text, at most this many characters.
constexpr size_t kQuotedBytes = 40;

enum class TokenKind { kNumber, kName, kWord, kSymbol, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  size_t offset = 0;  // byte offset in the expression
  size_t length = 0;  // bytes of source text
  std::string text;   // a name without its brackets, `]]` made `]`; a word in lower case
  double number = 0;
};

struct Function {
  std::string_view name;
  FormulaOp op;
  int min_args;
  int max_args;  // 0: no upper bound
};

constexpr Function kFunctions[] = {
    {"abs", FormulaOp::kAbs, 1, 1},     {"sqrt", FormulaOp::kSqrt, 1, 1},
    {"exp", FormulaOp::kExp, 1, 1},     {"ln", FormulaOp::kLn, 1, 1},
    {"log10", FormulaOp::kLog10, 1, 1}, {"sin", FormulaOp::kSin, 1, 1},
    {"cos", FormulaOp::kCos, 1, 1},     {"tan", FormulaOp::kTan, 1, 1},
    {"floor", FormulaOp::kFloor, 1, 1}, {"ceil", FormulaOp::kCeil, 1, 1},
    {"round", FormulaOp::kRound, 1, 1}, {"min", FormulaOp::kMin, 2, 0},
    {"max", FormulaOp::kMax, 2, 0},     {"if", FormulaOp::kIf, 3, 3},
};

struct Comparison {
  std::string_view symbol;
  FormulaOp op;
};

constexpr Comparison kComparisons[] = {
    {"<", FormulaOp::kLess},          {"<=", FormulaOp::kLessEqual}, {">", FormulaOp::kGreater},
    {">=", FormulaOp::kGreaterEqual}, {"==", FormulaOp::kEqual},     {"!=", FormulaOp::kNotEqual},
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsWordStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsWordChar(char c) {
  return IsWordStart(c) || IsDigit(c);
}

// Characters (UTF-8 code points) of `text`.
int CharacterCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// At most kQuotedBytes of `text`, cut at a character boundary, "…" marking a cut.
std::string Quoted(std::string_view text) {
  if (text.size() <= kQuotedBytes) {
    return std::string(text);
  }
  size_t cut = kQuotedBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  return std::string(text.substr(0, cut)) + "…";
}

struct FormulaFailure {
  size_t offset;
  std::string message;
};

class Parser {
 public:
  Parser(std::string_view expression, const FormulaLookup& lookup)
      : source_(expression), lookup_(lookup) {}

  // Throws FormulaFailure at the first error.
  FormulaProgram Compile() {
    Tokenize();
    if (tokens_.front().kind == TokenKind::kEnd) {
      throw FormulaFailure{0, CoreText::Tr("式がありません")};
    }
    ParseOr();
    if (Peek().kind != TokenKind::kEnd) {
      Unexpected(Peek());
    }
    return std::move(program_);
  }

 private:
  [[noreturn]] void Fail(size_t offset, std::string message) const {
    throw FormulaFailure{offset, std::move(message)};
  }

  [[noreturn]] void Unexpected(const Token& token) const {
    if (token.kind == TokenKind::kEnd) {
      Fail(token.offset, CoreText::Tr("式が途中で終わっています"));
    }
    Fail(token.offset, ArgText(CoreText::Tr("ここに %1 は置けません"), {Quoted(SourceOf(token))}));
  }

  void Tokenize() {
    size_t i = 0;
    while (true) {
      while (i < source_.size() && IsBlank(source_[i])) {
        ++i;
      }
      Token token;
      token.offset = i;
      if (i == source_.size()) {
        tokens_.push_back(token);
        return;
      }
      const char c = source_[i];
      if (IsDigit(c) || (c == '.' && i + 1 < source_.size() && IsDigit(source_[i + 1]))) {
        i = ReadNumber(i, token);
      } else if (c == '[') {
        i = ReadName(i, token);
      } else if (IsWordStart(c)) {
        token.kind = TokenKind::kWord;
        while (i < source_.size() && IsWordChar(source_[i])) {
          ++i;
        }
        token.text = LowerText(source_.substr(token.offset, i - token.offset));
      } else {
        i = ReadSymbol(i, token);
      }
      token.length = i - token.offset;
      tokens_.push_back(std::move(token));
    }
  }

  size_t ReadNumber(size_t i, Token& token) const {
    const size_t start = i;
    while (i < source_.size() && IsDigit(source_[i])) {
      ++i;
    }
    if (i < source_.size() && source_[i] == '.') {
      ++i;
      while (i < source_.size() && IsDigit(source_[i])) {
        ++i;
      }
    }
    bool small = false;
    if (i < source_.size() && (source_[i] == 'e' || source_[i] == 'E')) {
      size_t j = i + 1;
      if (j < source_.size() && (source_[j] == '+' || source_[j] == '-')) {
        small = source_[j] == '-';
        ++j;
      }
      if (j < source_.size() && IsDigit(source_[j])) {
        while (j < source_.size() && IsDigit(source_[j])) {
          ++j;
        }
        i = j;
      }
    }
    token.kind = TokenKind::kNumber;
    const auto result = std::from_chars(source_.data() + start, source_.data() + i, token.number);
    if (result.ec == std::errc::result_out_of_range) {
      if (!small) {
        Fail(start, ArgText(CoreText::Tr("数 %1 が大きすぎます"),
                            {Quoted(source_.substr(start, i - start))}));
      }
      token.number = 0;
    }
    return i;
  }

  size_t ReadName(size_t i, Token& token) const {
    const size_t start = i++;
    token.kind = TokenKind::kName;
    while (true) {
      if (i == source_.size()) {
        Fail(start, CoreText::Tr("] がありません"));
      }
      if (source_[i] == ']') {
        if (i + 1 < source_.size() && source_[i + 1] == ']') {
          token.text += ']';
          i += 2;
          continue;
        }
        return i + 1;
      }
      token.text += source_[i++];
    }
  }

  size_t ReadSymbol(size_t i, Token& token) const {
    token.kind = TokenKind::kSymbol;
    const std::string_view rest = source_.substr(i);
    for (const std::string_view two : {"<=", ">=", "==", "!="}) {
      if (rest.substr(0, 2) == two) {
        return i + 2;
      }
    }
    const char c = source_[i];
    if (std::string_view("+-*/^(),<>").find(c) != std::string_view::npos) {
      return i + 1;
    }
    if (c == '=' || c == '!') {
      Fail(i, ArgText(CoreText::Tr("%1 は使えません (比較は == と !=)"), {std::string(1, c)}));
    }
    size_t end = i + 1;
    while (end < source_.size() && (static_cast<unsigned char>(source_[end]) & 0xC0) == 0x80) {
      ++end;
    }
    Fail(i, ArgText(CoreText::Tr("文字 %1 は使えません"), {source_.substr(i, end - i)}));
  }

  const Token& Peek() const { return tokens_[next_]; }
  std::string_view SourceOf(const Token& token) const {
    return source_.substr(token.offset, token.length);
  }
  bool IsSymbol(const Token& token, std::string_view symbol) const {
    return token.kind == TokenKind::kSymbol && SourceOf(token) == symbol;
  }
  const Token& Take() { return tokens_[next_++]; }

  bool TakeSymbol(std::string_view symbol) {
    if (IsSymbol(Peek(), symbol)) {
      ++next_;
      return true;
    }
    return false;
  }

  bool TakeWord(std::string_view word) {
    if (Peek().kind == TokenKind::kWord && Peek().text == word) {
      ++next_;
      return true;
    }
    return false;
  }

  void ExpectSymbol(std::string_view symbol) {
    if (!TakeSymbol(symbol)) {
      Fail(Peek().offset, ArgText(CoreText::Tr("%1 がありません"), {symbol}));
    }
  }

  // Counts one level of nesting for the parse below it.
  class Nest {
   public:
    Nest(Parser& parser, size_t offset) : parser_(parser) {
      if (++parser_.depth_ > kMaxFormulaNesting) {
        parser_.Fail(offset, ArgText(CoreText::Tr("入れ子が深すぎます (%1段まで)"),
                                     {std::to_string(kMaxFormulaNesting)}));
      }
    }
    ~Nest() { --parser_.depth_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

   private:
    Parser& parser_;
  };

  void Emit(FormulaStep step, int pops) {
    program_.steps.push_back(step);
    depth_values_ += 1 - pops;
    program_.stack_depth = std::max(program_.stack_depth, depth_values_);
  }

  void Emit(FormulaOp op, int pops) {
    FormulaStep step{op};
    // A right operand that is a single number or item is read by the step itself. The stack
    // depth already counted it, which keeps the bound safe.
    if (pops == 2 && op != FormulaOp::kIf) {
      const FormulaStep& last = program_.steps.back();
      if (last.op == FormulaOp::kNumber || last.op == FormulaOp::kItem) {
        step.right =
            last.op == FormulaOp::kNumber ? FormulaOperand::kNumber : FormulaOperand::kItem;
        step.item = last.item;
        step.lag = last.lag;
        step.number = last.number;
        program_.steps.pop_back();
        --depth_values_;
        pops = 1;
      }
    }
    Emit(step, pops);
  }

  void ParseOr() {
    ParseAnd();
    while (TakeWord("or")) {
      ParseAnd();
      Emit(FormulaOp::kOr, 2);
    }
  }

  void ParseAnd() {
    ParseComparison();
    while (TakeWord("and")) {
      ParseComparison();
      Emit(FormulaOp::kAnd, 2);
    }
  }

  void ParseComparison() {
    ParseSum();
    while (Peek().kind == TokenKind::kSymbol) {
      const auto it = std::find_if(std::begin(kComparisons), std::end(kComparisons),
                                   [&](const Comparison& c) { return IsSymbol(Peek(), c.symbol); });
      if (it == std::end(kComparisons)) {
        return;
      }
      ++next_;
      ParseSum();
      Emit(it->op, 2);
    }
  }

  void ParseSum() {
    ParseProduct();
    while (true) {
      if (TakeSymbol("+")) {
        ParseProduct();
        Emit(FormulaOp::kAdd, 2);
      } else if (TakeSymbol("-")) {
        ParseProduct();
        Emit(FormulaOp::kSubtract, 2);
      } else {
        return;
      }
    }
  }

  void ParseProduct() {
    ParseUnary();
    while (true) {
      if (TakeSymbol("*")) {
        ParseUnary();
        Emit(FormulaOp::kMultiply, 2);
      } else if (TakeSymbol("/")) {
        ParseUnary();
        Emit(FormulaOp::kDivide, 2);
      } else {
        return;
      }
    }
  }

  void ParseUnary() {
    const size_t offset = Peek().offset;
    if (TakeSymbol("-")) {
      const Nest nest(*this, offset);
      ParseUnary();
      Emit(FormulaOp::kNegate, 1);
    } else if (TakeWord("not")) {
      const Nest nest(*this, offset);
      ParseUnary();
      Emit(FormulaOp::kNot, 1);
    } else {
      ParsePower();
    }
  }

  void ParsePower() {
    ParsePrimary();
    const size_t offset = Peek().offset;
    if (TakeSymbol("^")) {
      const Nest nest(*this, offset);
      ParseUnary();
      Emit(FormulaOp::kPower, 2);
    }
  }

  void ParsePrimary() {
    const Token& token = Take();
    switch (token.kind) {
      case TokenKind::kNumber:
        Emit(FormulaStep{FormulaOp::kNumber, 0, 0, token.number}, 0);
        return;
      case TokenKind::kName:
        ParseItem(token);
        return;
      case TokenKind::kWord:
        ParseWord(token);
        return;
      case TokenKind::kSymbol:
        if (IsSymbol(token, "(")) {
          const Nest nest(*this, token.offset);
          ParseOr();
          ExpectSymbol(")");
          return;
        }
        break;
      case TokenKind::kEnd:
        break;
    }
    --next_;
    Unexpected(token);
  }

  void ParseItem(const Token& token) {
    const std::string_view name = TrimBlanks(token.text);
    if (name.empty()) {
      Fail(token.offset, CoreText::Tr("項目名がありません"));
    }
    const std::string shown = "[" + Quoted(name) + "]";
    const FormulaRef ref = lookup_(name);
    switch (ref.kind) {
      case FormulaRef::Kind::kItem:
        break;
      case FormulaRef::Kind::kMissing:
        Fail(token.offset, ArgText(CoreText::Tr("項目 %1 がありません"), {shown}));
      case FormulaRef::Kind::kSelf:
        Fail(token.offset,
             ArgText(CoreText::Tr("計算項目 %1 は自分自身なので使えません"), {shown}));
      case FormulaRef::Kind::kBelow:
        Fail(
            token.offset,
            ArgText(CoreText::Tr("計算項目 %1 はこの計算項目より下にあるので使えません"), {shown}));
      case FormulaRef::Kind::kEconomy:
        Fail(token.offset,
             ArgText(CoreText::Tr("瞬間燃費の項目 %1 は計算項目に使えません"), {shown}));
      case FormulaRef::Kind::kUnavailable:
        Fail(token.offset, ArgText(CoreText::Tr("計算項目 %1 はこのログでは使えません"), {shown}));
    }
    int lag = 0;
    if (Peek().kind == TokenKind::kName) {
      const Token& lag_token = Take();
      const std::string_view text = TrimBlanks(lag_token.text);
      const auto digits = TrimBlanks(text.substr(std::min<size_t>(1, text.size())));
      const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), lag);
      if (text.empty() || text.front() != '-' || digits.empty() || result.ec != std::errc() ||
          result.ptr != digits.data() + digits.size() || lag < 1 || lag > kMaxPreviousSamples) {
        Fail(lag_token.offset, ArgText(CoreText::Tr("前のサンプルは [-1] から [-%1] までです"),
                                       {std::to_string(kMaxPreviousSamples)}));
      }
    }
    Emit(FormulaStep{FormulaOp::kItem, ref.item, lag, 0}, 0);
    if (std::find(program_.items.begin(), program_.items.end(), ref.item) == program_.items.end()) {
      program_.items.push_back(ref.item);
    }
  }

  void ParseWord(const Token& token) {
    if (token.text == "t") {
      Emit(FormulaOp::kTime, 0);
      return;
    }
    const auto function = std::find_if(std::begin(kFunctions), std::end(kFunctions),
                                       [&](const Function& f) { return f.name == token.text; });
    const std::string written(SourceOf(token));
    if (function == std::end(kFunctions)) {
      if (IsSymbol(Peek(), "(")) {
        Fail(token.offset, ArgText(CoreText::Tr("関数 %1 はありません"), {Quoted(written)}));
      }
      if (token.text == "and" || token.text == "or" || token.text == "not") {
        --next_;
        Unexpected(token);
      }
      Fail(token.offset, ArgText(CoreText::Tr("名前 %1 はありません (項目は [ ] で囲みます)"),
                                 {Quoted(written)}));
    }
    const Nest nest(*this, token.offset);
    ExpectSymbol("(");
    int args = 0;
    if (!IsSymbol(Peek(), ")")) {
      do {
        ParseOr();
        ++args;
        if (function->op != FormulaOp::kIf && args > 1) {
          Emit(function->op, 2);
        }
      } while (TakeSymbol(","));
    }
    const size_t close = Peek().offset;
    ExpectSymbol(")");
    if (args < function->min_args || (function->max_args > 0 && args > function->max_args)) {
      const std::string pattern = function->max_args == 0 ? CoreText::Tr("%1 の引数は%2つ以上です")
                                                          : CoreText::Tr("%1 の引数は%2つです");
      Fail(args < function->min_args ? close : token.offset,
           ArgText(pattern, {Quoted(written), std::to_string(function->min_args)}));
    }
    if (function->op == FormulaOp::kIf) {
      Emit(FormulaOp::kIf, 3);
    } else if (function->max_args == 1) {
      Emit(function->op, 1);
    }
  }

  std::string_view source_;
  const FormulaLookup& lookup_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
  int depth_ = 0;
  int depth_values_ = 0;
  FormulaProgram program_;
};

}  // namespace

FormulaCompiled CompileFormula(std::string_view expression, const FormulaLookup& lookup) {
  FormulaCompiled compiled;
  size_t offset = 0;
  std::string message;
  if (CharacterCount(expression) > kMaxFormulaChars) {
    compiled.position = kMaxFormulaChars + 1;
    message =
        ArgText(CoreText::Tr("式が長すぎます (%1文字まで)"), {std::to_string(kMaxFormulaChars)});
  } else {
    try {
      compiled.program = Parser(expression, lookup).Compile();
      return compiled;
    } catch (const FormulaFailure& failure) {
      offset = failure.offset;
      message = failure.message;
    }
    compiled.position = CharacterCount(expression.substr(0, offset)) + 1;
  }
  compiled.program = {};
  compiled.error =
      ArgText(CoreText::Tr("%1文字目: %2"), {std::to_string(compiled.position), message});
  return compiled;
}

std::string BracketItemName(std::string_view name) {
  std::string text = "[";
  for (const char c : name) {
    text += c;
    if (c == ']') {
      text += ']';
    }
  }
  return text + "]";
}

}  // namespace dravik
