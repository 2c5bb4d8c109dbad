#include "chart/plot_y_store.h"

#include <algorithm>
#include <new>
#include <utility>

#include "common/parallel.h"

namespace dravik {

std::vector<int> PlotYStore::Keep(const LogTable& table, std::span<const int> items,
                                  int graph_scale_mode, int threads, int64_t range_samples) {
  return Keep(
      table.item_count, items,
      [&](int item) { return PlotPositionsOf(table, item, graph_scale_mode); }, threads,
      range_samples);
}

std::vector<int> PlotYStore::Keep(int item_count, std::span<const int> items,
                                  const PositionsSource& positions_of, int threads,
                                  int64_t range_samples) {
  std::vector<bool> wanted(static_cast<size_t>(std::max(item_count, 0)) + 1, false);
  for (const int item : items) {
    if (item >= 1 && item <= item_count) {
      wanted[item] = true;
    }
  }
  items_.resize(wanted.size());
  for (size_t item = 0; item < items_.size(); ++item) {
    if (!wanted[item]) {
      items_[item] = ItemPlotY{};
    }
  }
  std::vector<int> left_out;
  for (int item = 1; item <= item_count; ++item) {
    if (wanted[item] && items_[item].positions.empty()) {
      try {
        PlotPositions positions = positions_of(item);
        if (!positions.empty()) {
          Build(positions, item, threads, range_samples);
        }
      } catch (const std::bad_alloc&) {
        left_out.push_back(item);
      }
    }
  }
  return left_out;
}

void PlotYStore::Clear() {
  items_.clear();
}

const PlotPositions& PlotYStore::PlotY(int item) const {
  static const PlotPositions kNone;
  if (item < 0 || item >= static_cast<int>(items_.size())) {
    return kNone;
  }
  return items_[item].positions;
}

const PlotYSummary& PlotYStore::Summary(int item) const {
  return items_[item].summary;
}

void PlotYStore::Build(PlotPositions positions, int item, int threads, int64_t range_samples) {
  ItemPlotY entry;
  entry.positions = positions;
  const int64_t count = entry.positions.size();
  entry.summary = SummaryRoomFor(count);
  // Ranges are whole groups of the summary, so that no block or group spans two of them.
  constexpr int64_t kGroup = PlotYSummary::kGroupSamples;
  const int64_t groups = (count + kGroup - 1) / kGroup;
  threads = ThreadCount(threads);
  const int64_t groups_per_range = range_samples > 0
                                       ? (range_samples + kGroup - 1) / kGroup
                                       : std::max<int64_t>(16, groups / (int64_t{4} * threads));
  const int64_t ranges = (groups + groups_per_range - 1) / groups_per_range;
  RunTasks(ranges, threads, [&](int64_t r) {
    const int64_t first = r * groups_per_range * kGroup;
    const int64_t end = std::min(count, (r + 1) * groups_per_range * kGroup);
    SummarisePlotYRange(entry.positions, first, end, entry.summary);
  });
  items_[item] = std::move(entry);
}

}  // namespace dravik
