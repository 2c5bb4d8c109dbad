#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "chart/trace_raster.h"
#include "log/log_table.h"

namespace dravik {

// The chart positions and their summary of the items on the chart, made when an item is first
// drawn rather than at the load: positions cost 2 bytes a sample, which on a long log only the
// items drawn should pay, and making one item's takes a few tens of milliseconds.
class PlotYStore {
 public:
  // Makes the positions and the summary of each of `items` (1..item_count) that has none yet,
  // with the scales of graph_scale_mode, each item's samples shared among `threads` threads (0:
  // one per hardware thread) in ranges of about `range_samples` (0: a size that keeps every
  // thread busy); forgets those of every other item. The table must pass CanPlotItems. Returns
  // the items whose positions could not be made for want of memory: they stay without.
  std::vector<int> Keep(const LogTable& table, std::span<const int> items, int graph_scale_mode,
                        int threads = 0, int64_t range_samples = 0);
  // Forgets every item's positions, before another log is read.
  void Clear();

  // The positions of a kept item, one per sample including the tail; empty for any other.
  std::span<const int16_t> PlotY(int item) const;
  // The summary of a kept item's positions.
  const PlotYSummary& Summary(int item) const;

 private:
  struct ItemPlotY {
    RawBuffer positions;
    int64_t count = 0;
    PlotYSummary summary;
  };
  void Build(const LogTable& table, int item, int graph_scale_mode, int threads,
             int64_t range_samples);

  std::vector<ItemPlotY> items_;  // by item number
};

}  // namespace dravik
