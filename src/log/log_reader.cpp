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

// The fuel items among `names`, of which the first `logged` + 1 are the log's: a computed item
// takes a role only when the user has chosen it by name.
FuelItems FindFuelItemsWithComputed(const std::vector<std::string>& names, size_t logged,
                                    const FuelItemNames& choice) {
  FuelItems items = FindFuelItems({names.begin(), names.begin() + logged + 1}, choice);
  // A choice no logged item answers to may name a computed one.
  const auto chosen_computed = [&](std::string_view chosen, int& item) {
    const int found = ChosenItem(names, chosen);
    if (found > static_cast<int>(logged)) {
      item = found;
      return true;
    }
    return false;
  };
  if (chosen_computed(choice.speed, items.speed)) {
    items.speed_mph = choice.speed_unit == 1;
  }
  chosen_computed(choice.engine_speed, items.engine_speed);
  chosen_computed(choice.pulse_width, items.pulse_width);
  return items;
}

// SetItemNames with the formulas of `set_aside` (a reason by list position) left out.
LoadError NameItems(std::vector<std::string> names, const ReadContext& context,
                    std::span<const std::string> set_aside, LogTable& table) {
  const size_t logged = names.size() - 1;
  if (logged > static_cast<size_t>(kMaxItems)) {
    return Failure(LoadFailure::kFormat);
  }
  ComputedPlan& plan = *context.plan;
  plan = PlanComputedItems(names, context.formulas.formulas, true, set_aside);
  table.first_computed = plan.names.empty() ? 0 : static_cast<int>(names.size());
  table.computed_count = static_cast<int>(plan.names.size());
  names.insert(names.end(), plan.names.begin(), plan.names.end());
  const FuelParams& fuel = context.fuel;
  const FuelItems items = FindFuelItemsWithComputed(names, logged, fuel.items);
  table.has_speed = false;
  table.has_economy = false;
  if (fuel.flow > 0 && fuel.cylinders > 0) {
    table.has_speed = items.speed >= 0;
    table.has_economy = table.has_speed && items.engine_speed >= 0 && items.pulse_width >= 0;
  }
  // The computed items do not count toward the items a log may hold; the economy item does.
  if (logged + (table.has_economy ? 1 : 0) > static_cast<size_t>(kMaxItems)) {
    return Failure(LoadFailure::kFormat);
  }
  if (table.has_economy) {
    names.emplace_back(kEconomyName);
  }
  table.item_count = static_cast<int>(names.size()) - 1;
  table.speed_item = std::max(items.speed, 0);
  table.speed_in_mph = items.speed_mph;
  table.engine_speed_item = std::max(items.engine_speed, 0);
  table.pulse_width_item = std::max(items.pulse_width, 0);
  table.item_names = std::move(names);
  return {};
}

// Makes the computed items of the plan in list order. One whose values the chart cannot show is
// set aside and the items named anew without it: the formulas above it keep their items and
// values, the ones below are planned again (those that read it become unavailable).
void ComputeFormulaItems(const std::vector<int64_t>& ranges, const ReadContext& context,
                         LogTable& table) {
  const ComputedPlan& plan = *context.plan;
  const int64_t samples = table.last_sample + 1;
  table.formula_outcomes.assign(plan.formulas.size(), {});
  std::vector<std::string> set_aside;
  for (size_t k = 0; k < plan.formulas.size();) {
    const PlannedFormula& planned = plan.formulas[k];
    FormulaOutcome& outcome = table.formula_outcomes[k];
    outcome = {planned.item, planned.reason, context.formulas.formulas[k],
               k < set_aside.size() && !set_aside[k].empty()};
    if (planned.item == 0) {
      ++k;
      continue;
    }
    std::vector<const float*> columns(table.item_count + 1);
    for (int j = 0; j < planned.item; ++j) {
      columns[j] = table.Values(j).data();
    }
    const FormulaValues values =
        EvaluateFormula(planned.program, columns, table.Values(planned.item).first(samples), ranges,
                        context.threads);
    if (context.formulas.can_show && !context.formulas.can_show(values.min, values.max)) {
      set_aside.resize(plan.formulas.size());
      set_aside[k] = UnshowableReason();
      const int logged = table.LoggedItemCount();
      // Cannot fail: the logged items are those that were named before.
      NameItems({table.item_names.begin(), table.item_names.begin() + logged + 1}, context,
                set_aside, table);
      continue;
    }
    ++k;
  }
}

// Reads `bytes` into the table with the reader their content asks for, clearing it on failure.
LoadError ReadBytesOrClear(std::string_view bytes, const FuelParams& fuel, const ReadSplit& split,
                           const FormulaOptions& formulas, Progress& progress, const TextDone& done,
                           const std::function<void()>& read, LogTable& table) {
  table.Reset();
  ComputedPlan plan;
  const ReadContext context = {fuel,     split, ThreadCount(split.threads), &progress, done, read,
                               formulas, &plan};
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

LoadError SetItemNames(std::vector<std::string> names, const ReadContext& context,
                       LogTable& table) {
  return NameItems(std::move(names), context, {}, table);
}

LoadError CompleteTable(int64_t samples, bool has_empty, const ReadContext& context,
                        LogTable& table) {
  if (samples < kMinRealSamples) {
    return Failure(LoadFailure::kTooFewSamples);
  }
  table.last_sample = samples - 1;
  table.SetLength(samples + kTailSamples);
  const int logged_items = table.LoggedItemCount();
  if (has_empty) {
    RunTasks(logged_items, context.threads, [&](int64_t item) {
      FillEmptyValues(table.Values(static_cast<int>(item) + 1).data(), samples);
    });
  }
  const std::vector<int64_t> ranges =
      SampleRanges(samples, context.threads, context.split.range_samples);
  // Before the economy, which may take a computed item as a fuel item.
  ComputeFormulaItems(ranges, context, table);
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
                            const ReadProgress& progress, const ReadSplit& split,
                            const FormulaOptions& formulas) {
  Progress reports(progress);
  reports.Start();
  return ReadBytesOrClear(bytes, fuel, split, formulas, reports, {}, {}, table);
}

#if defined(_WIN32)

LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split,
                  const FormulaOptions& formulas) {
  table.Reset();
  RawBuffer buffer;
  size_t size = 0;
  const LoadError error = ReadWholeFile(path, buffer, size);
  if (Failed(error)) {
    table.Clear();
    return error;
  }
  return ReadLogFromBuffer(std::string_view(reinterpret_cast<const char*>(buffer.data()), size),
                           fuel, table, progress, split, formulas);
}

#else

LoadError ReadLog(const std::string& path, const FuelParams& fuel, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split,
                  const FormulaOptions& formulas) {
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
          view.text(), fuel, split, formulas, reports,
          [&](std::string_view part) { view.Drop(part); }, [&] { view.Release(); }, table);
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
                          fuel, split, formulas, reports, {}, {}, table);
}

#endif

}  // namespace dravik
