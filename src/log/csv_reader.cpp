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
#include "log/fuel_trip.h"
#include "log/item_extremes.h"
#include "log/log_file.h"
#include "log/read_progress.h"
#include "log/sample_parser.h"
#include "log/text_decoding.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace dravik {

namespace {

constexpr std::string_view kEconomyName = "瞬間燃費 (km/l)";
constexpr std::string_view kSpeedKmh = "Vehicle Speed (km/h)";
constexpr std::string_view kSpeedKph = "Vehicle Speed (kph)";
constexpr std::string_view kEngineSpeed = "Engine Speed";
constexpr std::string_view kPulseWidth = "Fuel Injector #1 Pulse Width (ms)";

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(),
                              [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return it != text.end();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
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

// The item names of the header, the fuel items recognised among them when `fuel` has a positive
// flow and cylinder count, and the economy item when they are all there.
LoadError ReadItemNames(const std::vector<std::string_view>& pieces, const FuelParams& fuel,
                        LogTable& table) {
  if (pieces.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
  }
  std::vector<std::string> names;
  names.reserve(pieces.size() + 1);
  for (const std::string_view piece : pieces) {
    names.push_back(ItemNameToUtf8(piece));
  }
  const auto any_name_has = [&](std::string_view word) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return ContainsNoCase(name, word); });
  };
  if (fuel.flow > 0 && fuel.cylinders > 0) {
    table.has_speed = any_name_has(kSpeedKph) || any_name_has(kSpeedKmh);
    table.has_economy = table.has_speed && any_name_has(kEngineSpeed) && any_name_has(kPulseWidth);
  }
  if (table.has_economy) {
    names.emplace_back(kEconomyName);
  }
  if (names.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
  }
  table.item_count = static_cast<int>(names.size()) - 1;
  for (int i = 0; i <= table.item_count; ++i) {
    const std::string& name = names[i];
    if (ContainsNoCase(name, kPulseWidth)) {
      table.pulse_width_item = i;
    }
    if (ContainsNoCase(name, kSpeedKph) || ContainsNoCase(name, kSpeedKmh)) {
      table.speed_item = i;
    }
    if (ContainsNoCase(name, kEngineSpeed)) {
      table.engine_speed_item = i;
    }
  }
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

// Reads the text into the table. `text_read` runs once the samples are read, when the text is no
// longer needed.
LoadError ReadText(std::string_view text, const FuelParams& fuel, const ReadSplit& split,
                   Progress& progress, const std::function<void()>& text_read, LogTable& table) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && IsLineEnd(*p)) {
    ++p;
  }
  if (p == end) {
    return Failure(LoadFailure::kFormat);
  }
  const char* header_end = p;
  while (header_end < end && !IsLineEnd(*header_end)) {
    ++header_end;
  }
  const std::string_view header(p, static_cast<size_t>(header_end - p));
  const TextFormat format = FormatOf(header);
  const std::vector<std::string_view> pieces = SplitAt(header, format.separator);
  LoadError error = ReadItemNames(pieces, fuel, table);
  if (Failed(error)) {
    return error;
  }

  const std::string_view body(header_end, static_cast<size_t>(end - header_end));
  const int threads = ThreadCount(split.threads);
  const FieldReader reader(text, format, NamesSeconds(table.item_names[0]));
  int64_t samples = 0;
  error = ReadSamples(body, reader, static_cast<int>(pieces.size()), split, threads, table, samples,
                      progress);
  if (text_read) {
    text_read();
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
                    Progress& progress, const std::function<void()>& text_read, LogTable& table) {
  const auto starts_with = [&](std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
  };
  if (starts_with("\xFF\xFE")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), false), fuel, split, progress, text_read, table);
  }
  if (starts_with("\xFE\xFF")) {
    return ReadText(Utf16ToUtf8(bytes.substr(2), true), fuel, split, progress, text_read, table);
  }
  if (starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  return ReadText(bytes, fuel, split, progress, text_read, table);
}

// Reads `bytes` into the table, clearing it on failure.
LoadError ReadBytesOrClear(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                           Progress& progress, const std::function<void()>& text_read,
                           LogTable& table) {
  table.Reset();
  LoadError error;
  try {
    error = ReadBytes(bytes, fuel, split, progress, text_read, table);
  } catch (const std::bad_alloc&) {
    error = General(ErrorNumber::kOutOfMemory);
  }
  if (Failed(error)) {
    table.Clear();
  }
  return error;
}

}  // namespace

bool NamesSeconds(std::string_view name) {
  while (!name.empty() && IsBlank(name.back())) {
    name.remove_suffix(1);
  }
  if (name.empty() || (name.back() != ')' && name.back() != ']')) {
    return false;
  }
  const char open = name.back() == ')' ? '(' : '[';
  name.remove_suffix(1);
  const size_t at = name.find_last_of("()[]");
  if (at == std::string_view::npos || name[at] != open) {
    return false;
  }
  std::string unit;
  for (const char c : TrimBlanks(name.substr(at + 1))) {
    unit += LowerAscii(c);
  }
  return unit == "s" || unit == "sec" || unit == "secs" || unit == "second" || unit == "seconds";
}

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
      error = ReadBytesOrClear(
          view.text(), fuel, split, reports, [&] { view.Release(); }, table);
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
