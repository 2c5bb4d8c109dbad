#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "log/field_reader.h"

namespace dravik {

char LowerAscii(char c);
std::string LowerText(std::string_view text);        // ASCII letters lower-cased, other bytes kept
std::string_view TrimBlanks(std::string_view text);  // blanks and tabs at both ends removed
// The pieces of `line` between separators, empty pieces included.
std::vector<std::string_view> SplitAt(std::string_view line, char separator);

// The runs of ASCII letters and digits of `name`, lower-cased; every other byte (non-ASCII
// included) separates them. "IPW_ms" -> {"ipw", "ms"}, "Speed (mph)" -> {"speed", "mph"}.
std::vector<std::string> NameTokens(std::string_view name);

// The format a header line sets: "," when it holds one; otherwise ";" (with "," as a decimal point
// besides "."), or else a tab.
TextFormat FormatOf(std::string_view header);

// The unit in parentheses or brackets that ends a name (blanks aside), blanks around it dropped
// and lower-cased, and where its opening bracket stands: "Time [Sec] " -> "sec" at 5. An empty
// unit at npos when the name ends in none.
struct NameUnit {
  std::string unit;
  size_t bracket = std::string_view::npos;
};
NameUnit TrailingUnit(std::string_view name);

// Whether a time column's name ends (blanks aside) in a seconds unit in parentheses or brackets:
// "Time (s)", "Time[sec]"; not "Time (s) (ms)".
bool NamesSeconds(std::string_view name);

// Lines among which the header is searched after a title block.
inline constexpr size_t kHeaderSearchLines = 20;

// Which of `lines`, the first non-empty lines of a log, is the header: 0 unless the first field of
// the second line, split as the first line splits, is neither a number nor a clock time. Then the
// first of the first kHeaderSearchLines lines that has two fields or more and is followed by a
// line of as many fields whose first field is a time, or by its units row (HasUnitsRow) and then
// such a line, each line split as its own header would split it: the lines before it are a title
// block. 0 when no line qualifies.
size_t HeaderLineIndex(const std::vector<std::string_view>& lines);

// Whether lines[k + 1] is the units row of the header lines[k]: the header has two fields or more
// (a line of one field before the samples stays a header that fails), the row as many, its first
// field is not a time, and lines[k + 2] begins with a time.
bool HasUnitsRow(const std::vector<std::string_view>& lines, size_t k);

// Whether a line among the samples is a marker, not a sample: it begins with "MARK".
inline bool IsMarkLine(std::string_view line) {
  return line.starts_with("MARK");
}

// "NAME (UNIT)", or `name` when `unit` is empty.
std::string NameWithUnit(std::string_view name, std::string_view unit);

// Whether the header's first column is a sample counter to leave out: its name (blanks aside) is
// "sample", "samples", "index" or "#", without regard to case, and the second column's first
// token is "time".
bool StartsWithSampleCounter(const std::vector<std::string_view>& pieces);

// Whether the median of the positive steps between `first_times` (the first samples of a time
// column, as read in ms) lies below 1: a column named just "time" then holds seconds, as no
// logging tool samples faster than once a millisecond. The two middle steps are averaged for an
// even count; without a positive step the times stay milliseconds.
bool MedianStepBelowOne(const std::vector<double>& first_times);

}  // namespace dravik
