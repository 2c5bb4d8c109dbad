#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "log/log_table.h"

namespace dravik {

// What the chart needs to draw the items on it: each item's positions, made from its values as
// they are drawn, and the summary of them, made when the item is first drawn (a few
// milliseconds and 4 bytes per 64 samples) and forgotten when it is no longer drawn.
class PlotYStore {
 public:
  // Makes the summary of each of `items` (1..item_count) that has none yet, with the scales of
  // graph_scale_mode, each item's samples shared among `threads` threads (0: one per hardware
  // thread) in ranges of about `range_samples` (0: a size that keeps every thread busy); forgets
  // those of every other item. The table must pass CanPlotItems and outlive what is kept, until
  // Clear. Returns the items whose summary could not be made for want of memory: they stay
  // without.
  std::vector<int> Keep(const LogTable& table, std::span<const int> items, int graph_scale_mode,
                        int threads = 0, int64_t range_samples = 0);
  // The same for items 1..item_count whose positions `positions_of` gives (a reference log's
  // values on the scales of the main log's items); an item it gives no positions for is left out.
  using PositionsSource = std::function<PlotPositions(int item)>;
  std::vector<int> Keep(int item_count, std::span<const int> items,
                        const PositionsSource& positions_of, int threads = 0,
                        int64_t range_samples = 0);
  // Forgets every item, before the table is read again.
  void Clear();

  // The positions of a kept item, one per sample including the tail; empty for any other.
  const PlotPositions& PlotY(int item) const;
  // The summary of a kept item's positions.
  const PlotYSummary& Summary(int item) const;

 private:
  struct ItemPlotY {
    PlotPositions positions;
    PlotYSummary summary;
  };
  void Build(PlotPositions positions, int item, int threads, int64_t range_samples);

  std::vector<ItemPlotY> items_;  // by item number
};

}  // namespace dravik
