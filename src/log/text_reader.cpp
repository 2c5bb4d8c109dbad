#include "log/text_reader.h"

#include <algorithm>
#include <atomic>
#include <span>
#include <string>
#include <vector>

#include "common/number_parsing.h"
#include "log/field_reader.h"
#include "log/log_header.h"
#include "log/sample_parser.h"
#include "log/text_decoding.h"

namespace dravik {

namespace {

// Samples whose time steps decide whether a column named just "time" holds seconds.
constexpr size_t kStepSamples = 101;

// The first `count` lines of the text that are not empty (nor markers, when `skip_marks`); a line
// longer than kMaxLineBytes is the last, cut one byte beyond that length.
std::vector<std::string_view> LeadingLines(std::string_view text, size_t count,
                                           bool skip_marks = false) {
  std::vector<std::string_view> lines;
  const char* p = text.data();
  const char* end = p + text.size();
  while (lines.size() < count) {
    while (p < end && IsLineEnd(*p)) {
      ++p;
    }
    if (p == end) {
      break;
    }
    const char* const last = p + std::min(static_cast<size_t>(end - p), kMaxLineBytes + 1);
    const char* line_end = p;
    while (line_end < last && !IsLineEnd(*line_end)) {
      ++line_end;
    }
    const std::string_view line(p, static_cast<size_t>(line_end - p));
    if (line.size() > kMaxLineBytes) {
      lines.push_back(line);
      break;
    }
    if (!skip_marks || !IsMarkLine(line)) {
      lines.push_back(line);
    }
    p = line_end;
  }
  return lines;
}

// The times of the first samples of `body` as read in ms, taken from the lines' first fields
// (after the counter); empty when one is not a number, as a clock time is not.
std::vector<double> FirstTimes(std::string_view body, TextFormat format, bool counter_first) {
  std::vector<double> times;
  for (const std::string_view line : LeadingLines(body, kStepSamples, true)) {
    const std::vector<std::string_view> fields = SplitAt(line, format.separator);
    float time = 0;
    if (fields.size() <= static_cast<size_t>(counter_first) ||
        ParseNumber(fields[counter_first], format.decimal_comma, 0, time) != NumberStatus::kOk) {
      return {};
    }
    times.push_back(time);
  }
  return times;
}

// Whether the time column holds seconds: its name says so, or it is named just "time" and steps
// by less than a millisecond.
bool TimeInSeconds(std::string_view name, std::string_view body, TextFormat format,
                   bool counter_first) {
  return NamesSeconds(name) || (NameTokens(name) == std::vector<std::string>{"time"} &&
                                MedianStepBelowOne(FirstTimes(body, format, counter_first)));
}

// The item names of the header's `columns`, each with the unit of its column in `units` when the
// log has a units row (empty otherwise), the blanks around both dropped.
std::vector<std::string> ItemNames(std::span<const std::string_view> columns,
                                   std::span<const std::string_view> units) {
  std::vector<std::string> names;
  names.reserve(columns.size() + 1);
  for (size_t i = 0; i < columns.size(); ++i) {
    std::string name = ItemNameToUtf8(TrimBlanks(columns[i]));
    if (i < units.size()) {
      const std::string unit = ItemNameToUtf8(TrimBlanks(units[i]));
      if (!unit.empty() && !name.ends_with("(" + unit + ")")) {
        name = NameWithUnit(name, unit);
      }
    }
    names.push_back(std::move(name));
  }
  return names;
}

// Reads the text into the table.
LoadError ReadText(std::string_view text, const ReadContext& context, LogTable& table) {
  const std::vector<std::string_view> lines = LeadingLines(text, kHeaderSearchLines + 2);
  if (lines.empty() || lines.back().size() > kMaxLineBytes) {
    return Failure(LoadFailure::kFormat);
  }
  const size_t header_index = HeaderLineIndex(lines);
  const std::string_view header = lines[header_index];
  const bool units_row = HasUnitsRow(lines, header_index);
  const std::string_view last_header_line = units_row ? lines[header_index + 1] : header;
  const char* header_end = last_header_line.data() + last_header_line.size();
  const char* end = text.data() + text.size();
  const TextFormat format = FormatOf(header);
  const std::vector<std::string_view> pieces = SplitAt(header, format.separator);
  const bool counter_first = StartsWithSampleCounter(pieces);
  const size_t skipped = counter_first ? 1 : 0;
  const std::span<const std::string_view> columns = std::span(pieces).subspan(skipped);
  std::vector<std::string_view> units;
  if (units_row) {
    units = SplitAt(lines[header_index + 1], format.separator);
    units.erase(units.begin(), units.begin() + static_cast<ptrdiff_t>(skipped));
  }
  LoadError error = SetItemNames(ItemNames(columns, units), context, table);
  if (Failed(error)) {
    return error;
  }

  const std::string_view body(header_end, static_cast<size_t>(end - header_end));
  std::atomic<bool> empty_fields = false;
  const FieldReader reader(
      text, format, TimeInSeconds(table.item_names[0], body, format, counter_first), empty_fields);
  int64_t samples = 0;
  error = ReadSamples(body, reader, static_cast<int>(columns.size()), counter_first, context.split,
                      context.threads, table, samples, *context.progress, context.done);
  if (context.read) {
    context.read();
  }
  if (Failed(error)) {
    return error;
  }
  return CompleteTable(samples, empty_fields.load(), context, table);
}

}  // namespace

LoadError TextReader::Read(std::string_view bytes, const ReadContext& context,
                           LogTable& table) const {
  const auto starts_with = [&](std::string_view mark) { return bytes.starts_with(mark); };
  if (starts_with("\xFF\xFE") || starts_with("\xFE\xFF")) {
    // The text read is a converted copy: the bytes are done with once it is made.
    const std::string text = Utf16ToUtf8(bytes.substr(2), starts_with("\xFE\xFF"));
    ReadContext copy_context = context;
    copy_context.done = {};
    return ReadText(text, copy_context, table);
  }
  if (starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  return ReadText(bytes, context, table);
}

}  // namespace dravik
