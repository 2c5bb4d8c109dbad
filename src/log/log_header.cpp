#include "log/log_header.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/number_parsing.h"

namespace dravik {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A number or a clock time, as a time field is read, also one too large to be held.
bool IsTime(std::string_view field, bool decimal_comma) {
  double number = 0;
  if (ParseNumber(field, decimal_comma, 0, number) != NumberStatus::kNotNumber) {
    return true;
  }
  if (field.find(':') == std::string_view::npos) {
    return false;
  }
  int32_t ms = 0;
  const LoadError error = ParseTimeOfDay(field, decimal_comma, ms);
  return !Failed(error) || error.number == ErrorNumber::kOverflow;
}

bool FirstFieldIsTime(std::string_view line, TextFormat format) {
  return IsTime(SplitAt(line, format.separator).front(), format.decimal_comma);
}

}  // namespace

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerText(std::string_view text) {
  std::string lower;
  for (const char c : text) {
    lower += LowerAscii(c);
  }
  return lower;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::vector<std::string_view> SplitAt(std::string_view line, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (;;) {
    const size_t at = line.find(separator, start);
    if (at == std::string_view::npos) {
      pieces.push_back(line.substr(start));
      return pieces;
    }
    pieces.push_back(line.substr(start, at - start));
    start = at + 1;
  }
}

std::vector<std::string> NameTokens(std::string_view name) {
  std::vector<std::string> tokens;
  bool in_token = false;
  for (const char c : name) {
    if (!IsAsciiAlnum(c)) {
      in_token = false;
      continue;
    }
    if (!in_token) {
      tokens.emplace_back();
      in_token = true;
    }
    tokens.back() += LowerAscii(c);
  }
  return tokens;
}

TextFormat FormatOf(std::string_view header) {
  if (header.find(',') != std::string_view::npos) {
    return {',', false};
  }
  if (header.find(';') != std::string_view::npos) {
    return {';', true};
  }
  if (header.find('\t') != std::string_view::npos) {
    return {'\t', false};
  }
  return {',', false};
}

NameUnit TrailingUnit(std::string_view name) {
  NameUnit found;
  while (!name.empty() && IsBlank(name.back())) {
    name.remove_suffix(1);
  }
  if (name.empty() || (name.back() != ')' && name.back() != ']')) {
    return found;
  }
  const char open = name.back() == ')' ? '(' : '[';
  name.remove_suffix(1);
  const size_t at = name.find_last_of("()[]");
  if (at != std::string_view::npos && name[at] == open) {
    found.unit = LowerText(TrimBlanks(name.substr(at + 1)));
    found.bracket = at;
  }
  return found;
}

bool NamesSeconds(std::string_view name) {
  const NameUnit unit = TrailingUnit(name);
  constexpr std::string_view kSeconds[] = {"s", "sec", "secs", "second", "seconds"};
  return std::find(std::begin(kSeconds), std::end(kSeconds), std::string_view(unit.unit)) !=
         std::end(kSeconds);
}

size_t HeaderLineIndex(const std::vector<std::string_view>& lines) {
  // A log whose second line starts with a time has always been read from line 1.
  if (lines.size() < 2 || FirstFieldIsTime(lines[1], FormatOf(lines[0]))) {
    return 0;
  }
  for (size_t k = 0; k + 1 < lines.size() && k < kHeaderSearchLines; ++k) {
    const TextFormat format = FormatOf(lines[k]);
    const size_t fields = SplitAt(lines[k], format.separator).size();
    const auto sample_line = [&](size_t i) {
      return SplitAt(lines[i], format.separator).size() == fields &&
             FirstFieldIsTime(lines[i], format);
    };
    if (fields >= 2 && (sample_line(k + 1) || (HasUnitsRow(lines, k) && sample_line(k + 2)))) {
      return k;
    }
  }
  return 0;
}

bool HasUnitsRow(const std::vector<std::string_view>& lines, size_t k) {
  if (k + 2 >= lines.size()) {
    return false;
  }
  const TextFormat format = FormatOf(lines[k]);
  const size_t fields = SplitAt(lines[k], format.separator).size();
  return fields >= 2 && SplitAt(lines[k + 1], format.separator).size() == fields &&
         !FirstFieldIsTime(lines[k + 1], format) && FirstFieldIsTime(lines[k + 2], format);
}

std::string NameWithUnit(std::string_view name, std::string_view unit) {
  std::string text(name);
  if (!unit.empty()) {
    text.append(" (").append(unit).append(")");
  }
  return text;
}

bool StartsWithSampleCounter(const std::vector<std::string_view>& pieces) {
  if (pieces.size() < 2) {
    return false;
  }
  const std::string first = LowerText(TrimBlanks(pieces[0]));
  const std::vector<std::string> second = NameTokens(pieces[1]);
  return (first == "sample" || first == "samples" || first == "index" || first == "#") &&
         !second.empty() && second.front() == "time";
}

bool MedianStepBelowOne(const std::vector<double>& first_times) {
  std::vector<double> steps;
  for (size_t s = 1; s < first_times.size(); ++s) {
    const double step = first_times[s] - first_times[s - 1];
    if (step > 0) {
      steps.push_back(step);
    }
  }
  if (steps.empty()) {
    return false;
  }
  std::sort(steps.begin(), steps.end());
  const size_t middle = steps.size() / 2;
  const double median =
      steps.size() % 2 == 1 ? steps[middle] : (steps[middle - 1] + steps[middle]) / 2;
  return median < 1;
}

}  // namespace dravik
