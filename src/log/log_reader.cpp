#include "log/log_reader.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <span>

#include "common/parallel.h"
#include "log/channel_block_reader.h"
#include "log/fuel_items.h"
#include "log/item_extremes.h"
#include "log/log_file.h"
#include "log/log_header.h"
#include "log/mlvlg_reader.h"
#include "log/text_reader.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace dravik {

namespace {

constexpr std::string_view kEconomyName = "瞬間燃費 (km/l)";

// Replaces the empty values of samples [0, samples) of a column by the value before them, and
// those before its first value by that value; a column without any value reads 0 throughout.
void FillEmptyValues(float* values, int64_t samples) {
  const float* first =
      std::find_if(values, values + samples, [](float v) { return !std::isnan(v); });
  float last = first == values + samples ? 0.0f : *first;
  for (int64_t s = 0; s < samples; ++s) {
    if (std::isnan(values[s])) {
      values[s] = last;
    } else {
      last = values[s];
    }
  }
}

// Reads `bytes` into the table with the reader their content asks for, clearing it on failure.
LoadError ReadBytesOrClear(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                           Progress& progress, const TextDone& done,
                           const std::function<void()>& read, LogTable& table) {
  table.Reset();
  const ReadContext context = {fuel, split, ThreadCount(split.threads), &progress, done, read};
  LoadError error;
  try {
    error = ReaderFor(DetectLogFormat(bytes)).Read(bytes, context, table);
  } catch (const std::bad_alloc&) {
    error = General(ErrorNumber::kOutOfMemory);
  }
  if (Failed(error)) {
    table.Clear();
  }
  return error;
}

}  // namespace

LogFormat DetectLogFormat(std::string_view bytes) {
  if (bytes.starts_with("MLVLG")) {
    return LogFormat::kBinary;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  const size_t line_end = bytes.find_first_of("\r\n");
  if (TrimBlanks(bytes.substr(0, line_end)) == "%DataLog%") {
    return LogFormat::kChannelBlock;
  }
  return LogFormat::kText;
}

const LogReader& ReaderFor(LogFormat format) {
  static const TextReader text;
  static const ChannelBlockReader channel_block;
  static const MlvlgReader binary;
  switch (format) {
    case LogFormat::kChannelBlock:
      return channel_block;
    case LogFormat::kBinary:
      return binary;
    case LogFormat::kText:
      break;
  }
  return text;
}

LoadError SetItemNames(std::vector<std::string> names, const FuelParams& fuel, LogTable& table) {
  if (names.size() > static_cast<size_t>(kMaxItems) + 1) {
    return Failure(LoadFailure::kFormat);
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

LoadError CompleteTable(int64_t samples, bool has_empty, const ReadContext& context,
                        LogTable& table) {
  if (samples < kMinRealSamples) {
    return Failure(LoadFailure::kTooFewSamples);
  }
  table.last_sample = samples - 1;
  table.SetLength(samples + kTailSamples);
  const int logged_items = table.item_count - static_cast<int>(table.has_economy);
  if (has_empty) {
    RunTasks(logged_items, context.threads, [&](int64_t item) {
      FillEmptyValues(table.Values(static_cast<int>(item) + 1).data(), samples);
    });
  }
  const std::vector<int64_t> ranges =
      SampleRanges(samples, context.threads, context.split.range_samples);
  if (table.has_economy) {
    ComputeEconomy(table, context.fuel, ranges, context.threads);
  }
  FindExtremes(table, ranges, context.threads);
  context.progress->Report(kScanShare + kParseShare + 0.1);
  const std::span<float> time = table.Values(0);
  std::fill_n(time.data() + samples, kTailSamples, 0.0f);
  for (int j = 1; j <= table.item_count; ++j) {
    const std::span<float> values = table.Values(j);
    std::fill_n(values.data() + samples, kTailSamples, values[samples - 1]);
  }
  context.progress->Report(1.0);
  return {};
}

LoadError ReadLogFromBuffer(std::string_view bytes, const FuelParams& fuel, LogTable& table,
                            const ReadProgress& progress, const ReadSplit& split) {
  Progress reports(progress);
  reports.Start();
  return ReadBytesOrClear(bytes, fuel, split, reports, {}, {}, table);
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
          view.text(), fuel, split, reports, [&](std::string_view part) { view.Drop(part); },
          [&] { view.Release(); }, table);
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
                          fuel, split, reports, {}, {}, table);
}

#endif

}  // namespace dravik
