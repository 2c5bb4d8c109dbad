#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_table.h"

namespace dravik {

// A second log read like any other and drawn over the main one, with the main log's items it
// also holds and the shift of its clock against the main log's.
struct ReferenceLog {
  LogTable table;
  // By main item 0..item_count: the reference's item of the same name, 0 for the time column and
  // -1 where the reference has no such item.
  std::vector<int> items;
  // The shift the user gave, ms: 0 puts the reference's first sample on the main log's first.
  double offset_ms = 0;

  bool IsOpen() const { return table.IsLoaded(); }
  // The reference's item drawn and read out beside main item `item`; -1 when there is none.
  int ItemFor(int item) const;
};

// The real samples' times of `table`: the tail samples carry time 0.
std::span<const float> RealTimes(const LogTable& table);

// For each item 0..item_count of `main`, the item of `reference` whose name equals its name (ASCII
// letters without regard to case, blanks around both ignored), the first in column order, -1 where
// there is none; item 0, the time, goes with the reference's time column.
std::vector<int> MatchReferenceItems(const LogTable& main, const LogTable& reference);

// Whether a data item (1 and above) of the main log has a match in `items`.
bool SharesItems(const std::vector<int>& items);

// What is added to a reference time to give the main log's time it is drawn at: the main log's
// first time less the reference's first time, plus the reference's offset.
double ReferenceShiftMs(const LogTable& main, const ReferenceLog& reference);

// Samples first..last of a log, both included; empty while last < first.
struct SampleSpan {
  int64_t first = 0;
  int64_t last = -1;
  bool empty() const { return last < first; }
};

// The samples of `table` whose time + shift_ms lies within from_ms..to_ms, both included. Times
// are taken as never falling, as logs write them.
SampleSpan SamplesWithin(const LogTable& table, double shift_ms, double from_ms, double to_ms);

// The reference samples whose shifted time lies within the main log's first and last time.
SampleSpan OverlapWithMain(const LogTable& main, const ReferenceLog& reference);

// The sample of `table` whose time + shift_ms is nearest to time_ms, the earlier one on a tie;
// nullopt when time_ms lies before the first or after the last shifted time.
std::optional<int64_t> NearestSample(const LogTable& table, double shift_ms, double time_ms);

// The offset typed into the alignment field: a number of ms, or with `seconds` of seconds, taken
// exactly to ms; blanks around it allowed. nullopt for anything else, a number beyond the double
// range included.
std::optional<double> ParseReferenceOffset(std::string_view text, bool seconds);

// The message of a reference log that shares no item with the main log.
std::string NoSharedItemsMessage();

// The offset as the title bar shows it: its sign ("+" or "-") and the general form of its ms,
// or with `seconds` of its seconds: "+1500 ms", "-2.5 秒".
std::string ReferenceOffsetText(double offset_ms, bool seconds);

// The smallest and largest value of `item` over `span`; nullopt for an empty span.
struct ValueRange {
  float min = 0;
  float max = 0;
};
std::optional<ValueRange> ValueRangeOver(const LogTable& table, int item, SampleSpan span);

}  // namespace dravik
