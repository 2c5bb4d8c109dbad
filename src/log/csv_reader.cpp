#include "log/csv_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <span>
#include <vector>

#include "common/number_parsing.h"
#include "common/parallel.h"
#include "common/rounding.h"
#include "log/field_reader.h"
#include "log/fuel_items.h"
#include "log/fuel_trip.h"
#include "log/item_extremes.h"
#include "log/log_file.h"
#include "log/log_header.h"
#include "log/read_progress.h"
#include "log/sample_parser.h"
#include "log/text_decoding.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace dravik {

namespace {

constexpr std::string_view kEconomyName = "瞬間燃費 (km/l)";
// Lines searched for the header after a title block.
constexpr size_t kHeaderSearchLines = 20;
// Samples whose time steps decide whether a column named just "time" holds seconds.
constexpr size_t kStepSamples = 101;

// The first `count` lines of the text that are not empty; a line longer than kMaxLineBytes is
// the last, cut one byte beyond that length.
std::vector<std::string_view> LeadingLines(std::string_view text, size_t count) {
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
    lines.emplace_back(p, static_cast<size_t>(line_end - p));
    if (lines.back().size() > kMaxLineBytes) {
      break;
    }
    p = line_end;
  }
  return lines;
}

// The times of the first samples of `body` as read in ms, taken from the lines' first fields
// (after the counter); empty when one is not a number, as a clock time is not.
std::vector<double> FirstTimes(std::string_view body, TextFormat format, bool counter_first) {
  std::vector<double> times;
  for (const std::string_view line : LeadingLines(body, kStepSamples)) {
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

// The item names of the header, the fuel items found among them (FindFuelItems) with the flags set
// when `fuel` has a positive flow and cylinder count, and the economy item when all three are
// there.
LoadError ReadItemNames(std::span<const std::string_view> pieces, const FuelParams& fuel,
                        LogTable& table) {
  if (pieces.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
  }
  std::vector<std::string> names;
  names.reserve(pieces.size() + 1);
  for (const std::string_view piece : pieces) {
    names.push_back(ItemNameToUtf8(piece));
  }
  const FuelItems items = FindFuelItems(names, fuel.items);
  if (fuel.flow > 0 && fuel.cylinders > 0) {
    table.has_speed = items.speed >= 0;
    table.has_economy = table.has_speed && items.engine_speed >= 0 && items.pulse_width >= 0;
  }
  if (table.has_economy) {
    names.emplace_back(kEconomyName);
  }
  if (names.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
  }
  table.item_count = static_cast<int>(names.size()) - 1;
  table.speed_item = std::max(items.speed, 0);
  table.speed_in_mph = items.speed_mph;
  table.engine_speed_item = std::max(items.engine_speed, 0);
  table.pulse_width_item = std::max(items.pulse_width, 0);
  table.item_names = std::move(names);
  return {};
}

// The work after the samples are read: the economy item, the extremes and the tail samples.
void CompleteTable(const FuelParams& fuel, const ReadSplit& split, int threads, int64_t samples,
                   Progress& progress, LogTable& table) {
  table.last_sample = samples - 1;
  table.SetLength(samples + kTailSamples);
  const std::vector<int64_t> ranges = SampleRanges(samples, threads, split.range_samples);
  if (table.has_economy) {
    ComputeEconomy(table, fuel, ranges, threads);
  }
  FindExtremes(table, ranges, threads);
  progress.Report(kScanShare + kParseShare + 0.1);
  const std::span<float> time = table.Values(0);
  std::fill_n(time.data() + samples, kTailSamples, 0.0f);
  for (int j = 1; j <= table.item_count; ++j) {
    const std::span<float> values = table.Values(j);
    std::fill_n(values.data() + samples, kTailSamples, values[samples - 1]);
  }
  progress.Report(1.0);
}

// What the owner of a mapped text asks to be told: the parts that the reading has finished with,
// and once the samples are read, that the text is no longer needed.
struct TextCalls {
  TextDone done;
  std::function<void()> read;
};

// Reads the text into the table, telling `calls` how far it is.
LoadError ReadText(std::string_view text, const FuelParams& fuel, const ReadSplit& split,
                   Progress& progress, const TextCalls& calls, LogTable& table) {
  const std::vector<std::string_view> lines = LeadingLines(text, kHeaderSearchLines + 1);
  if (lines.empty() || lines.back().size() > kMaxLineBytes) {
    return Failure(LoadFailure::kFormat);
  }
  const std::string_view header = lines[HeaderLineIndex(lines)];
  const char* header_end = header.data() + header.size();
  const char* end = text.data() + text.size();
  const TextFormat format = FormatOf(header);
  const std::vector<std::string_view> pieces = SplitAt(header, format.separator);
  const bool counter_first = StartsWithSampleCounter(pieces);
  const std::span<const std::string_view> columns =
      std::span(pieces).subspan(counter_first ? 1 : 0);
  LoadError error = ReadItemNames(columns, fuel, table);
  if (Failed(error)) {
    return error;
  }

  const std::string_view body(header_end, static_cast<size_t>(end - header_end));
  const int threads = ThreadCount(split.threads);
  const FieldReader reader(text, format,
                           TimeInSeconds(table.item_names[0], body, format, counter_first));
  int64_t samples = 0;
  error = ReadSamples(body, reader, static_cast<int>(columns.size()), counter_first, split, threads,
                      table, samples, progress, calls.done);
  if (calls.read) {
    calls.read();
  }
  if (Failed(error)) {
    return error;
  }
  if (samples < kMinRealSamples) {
    return Failure(LoadFailure::kTooFewSamples);
  }
  CompleteTable(fuel, split, threads, samples, progress, table);
  return {};
}

LoadError ReadBytes(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                    Progress& progress, const TextCalls& calls, LogTable& table) {
  const auto starts_with = [&](std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
  };
  if (starts_with("\xFF\xFE")) {
    // The text read is a converted copy: the bytes are done with once it is made.
    return ReadText(Utf16ToUtf8(bytes.substr(2), false), fuel, split, progress, {{}, calls.read},
                    table);
  }
  if (starts_with("\xFE\xFF")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), true), fuel, split, progress, {{}, calls.read},
                    table);
  }
  if (starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  return ReadText(bytes, fuel, split, progress, calls, table);
}

// Reads `bytes` into the table, clearing it on failure.
LoadError ReadBytesOrClear(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                           Progress& progress, const TextCalls& calls, LogTable& table) {
  table.Reset();
  LoadError error;
  try {
    error = ReadBytes(bytes, fuel, split, progress, calls, table);
  } catch (const std::bad_alloc&) {
    error = General(ErrorNumber::kOutOfMemory);
  }
  if (Failed(error)) {
    table.Clear();
  }
  return error;
}

}  // namespace

LoadError ReadLogFromBuffer(std::string_view bytes, const FuelParams& fuel, LogTable& table,
                            const ReadProgress& progress, const ReadSplit& split) {
  Progress reports(progress);
  reports.Start();
  return ReadBytesOrClear(bytes, fuel, split, reports, {}, table);
}

#if defined(_WIN32)

LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split) {
  table.Reset();
  RawBuffer buffer;
  size_t size = 0;
  const LoadError error = ReadWholeFile(path, buffer, size);
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  return ReadLogFromBuffer(std::string_view(reinterpret_cast<const char*>(buffer.data()), size),
                           fuel, table, progress, split);
}

#else

LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split) {
  table.Reset();
  Progress reports(progress);
  int fd = -1;
  size_t expected = 0;
  LoadError error = OpenRegularFile(path, fd, expected);
  struct Closer {
    int fd;
    ~Closer() {
      if (fd >= 0) {
        close(fd);
      }
    }
  } closer{fd};
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  {
    GuardedView view(fd, expected);
    if (!view.empty()) {
      reports.Start();
      const TextCalls calls = {[&](std::string_view part) { view.Drop(part); },
                               [&] { view.Release(); }};
      error = ReadBytesOrClear(view.text(), fuel, split, reports, calls, table);
      view.Release();
      if (!view.cut()) {
        return error;
      }
      table.Reset();
    }
  }
  RawBuffer buffer;
  size_t size = 0;
  error = ReadOpenFile(fd, expected, buffer, size);
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  reports.Start();
  return ReadBytesOrClear(std::string_view(reinterpret_cast<const char*>(buffer.data()), size),
                          fuel, split, reports, {}, table);
}

#endif

LoadError ParseTimeOfDay(std::string_view text, bool decimal_comma, int32_t& ms) {
  const size_t first = text.find(':');
  if (first == std::string_view::npos) {
    return Failure(LoadFailure::kFormat);
  }
  const size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) {
    return Failure(LoadFailure::kFormat);
  }
  double hours = 0;
  double minutes = 0;
  float seconds = 0;
  const NumberStatus statuses[] = {
      ParseNumber(text.substr(0, first), decimal_comma, 0, hours),
      ParseNumber(text.substr(first + 1, second - first - 1), decimal_comma, 0, minutes),
      ParseNumber(text.substr(second + 1), decimal_comma, 0, seconds)};
  for (const NumberStatus status : statuses) {
    if (status == NumberStatus::kNotNumber) {
      return General(ErrorNumber::kTypeMismatch);
    }
  }
  for (const NumberStatus status : statuses) {
    if (status == NumberStatus::kOverflow) {
      return General(ErrorNumber::kOverflow);
    }
  }
  constexpr double kInt32Max = std::numeric_limits<int32_t>::max();
  constexpr double kInt32Min = std::numeric_limits<int32_t>::min();
  if (std::fabs(hours) > 1e12 || std::fabs(minutes) > 1e12) {
    return General(ErrorNumber::kOverflow);
  }
  const int64_t hours_ms = RoundHalfEven(hours) * 3'600'000;
  const int64_t minutes_ms = RoundHalfEven(minutes) * 60'000;
  const auto fits = [&](double v) { return v >= kInt32Min && v <= kInt32Max; };
  if (!fits(static_cast<double>(hours_ms)) || !fits(static_cast<double>(minutes_ms)) ||
      !fits(static_cast<double>(hours_ms + minutes_ms))) {
    return General(ErrorNumber::kOverflow);
  }
  const int64_t total = RoundHalfEven(static_cast<double>(seconds) * 1000 +
                                      static_cast<double>(hours_ms + minutes_ms));
  if (!fits(static_cast<double>(total))) {
    return General(ErrorNumber::kOverflow);
  }
  ms = static_cast<int32_t>(total);
  return {};
}

}  // namespace dravik
