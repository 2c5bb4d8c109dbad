#include "panel/bin_table.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "common/core_text.h"
#include "common/number_format.h"
#include "common/number_parsing.h"
#include "common/parallel.h"
#include "log/log_header.h"

namespace dravik {
namespace {

BinEdgesInput Refuse(std::string message) {
  BinEdgesInput input;
  input.message = std::move(message);
  return input;
}

// The index of the last edge <= v among edges[0..n-1], for v >= edges[0]; no branch on the data.
int LastEdgeAtOrBelow(const double* edges, int n, double v) {
  int low = 0;
  while (n > 1) {
    const int half = n / 2;
    low = edges[low + half] <= v ? low + half : low;
    n -= half;
  }
  return low;
}

// What finding a bin reads, as plain values: copied into a loop's locals, nothing that the loop
// stores can be taken to change it, so it stays in registers.
struct BinLookup {
  const double* lower = nullptr;  // lower[b]: bin b's lower edge, -infinity for the first bin
  const double* upper = nullptr;  // upper[b]: bin b's upper edge, +infinity for the last bin
  const int* start_bin = nullptr;
  const double* edges = nullptr;
  double low = 0;
  double high = 0;
  double scale = 0;
  int64_t last_grid_cell = 0;
  int bins = 1;
  bool one_step = true;
  bool even = false;  // equal bins: the grid is the bins themselves, without start_bin
};

// The bin of v, -1 outside the edges: an even grid over the edges' span says which bin each grid
// cell starts in (for equal bins the grid cells are the bins), so that a value needs one
// multiplication and, where an edge falls inside its grid cell, a step to the next bin. Exact, as
// the steps compare with the edges themselves.
inline int Locate(const BinLookup& l, double v) {
  const bool inside = v >= l.low && v <= l.high;
  const auto g =
      std::min(static_cast<int64_t>(inside ? (v - l.low) * l.scale : 0.0), l.last_grid_cell);
  int b = l.even ? static_cast<int>(g) : l.start_bin[g];
  if (l.one_step) {
    // Without branches on the data: the rounding of the grid position may put v one bin low or
    // high, an edge inside its grid cell one bin low.
    b -= static_cast<int>(v < l.lower[b]);
    b += static_cast<int>(v >= l.upper[b]);
    return inside ? b : -1;
  }
  if (!inside) {
    return -1;
  }
  return std::min(LastEdgeAtOrBelow(l.edges, l.bins + 1, v), l.bins - 1);
}

// The grid and the padded edges that a BinLookup points into.
class BinLocator {
 public:
  explicit BinLocator(const std::vector<double>& edges) : edges_(edges) {
    const int bins = static_cast<int>(edges.size()) - 1;
    const double low = edges.front();
    const double high = edges.back();
    lower_.assign(edges.begin(), edges.end() - 1);
    lower_.front() = -std::numeric_limits<double>::infinity();
    upper_.assign(edges.begin() + 1, edges.end());
    upper_.back() = std::numeric_limits<double>::infinity();
    lookup_.bins = bins;
    lookup_.low = low;
    lookup_.high = high;
    if (high > low) {
      double narrowest = high - low;
      bool even = true;
      for (int b = 0; b < bins; ++b) {
        narrowest = std::min(narrowest, edges[b + 1] - edges[b]);
      }
      for (int b = 0; b <= bins; ++b) {
        even = even && std::fabs(edges[b] - (low + (high - low) * b / bins)) <= narrowest * 1e-9;
      }
      if (even) {
        // Equal bins, as the automatic ones are: the grid is the bins themselves.
        lookup_.even = true;
        lookup_.scale = bins / (high - low);
        lookup_.last_grid_cell = bins - 1;
      } else {
        // Fine enough that a grid cell holds at most one edge where the edges allow it, so that
        // a value moves by at most one bin from where its grid cell starts.
        constexpr int kMaxGrid = 1 << 16;
        const double wanted = std::ceil(2 * (high - low) / narrowest);
        const int grid = wanted < kMaxGrid ? std::max(64, static_cast<int>(wanted)) : kMaxGrid;
        lookup_.one_step = wanted < kMaxGrid;
        lookup_.scale = grid / (high - low);
        lookup_.last_grid_cell = grid - 1;
        start_bin_.resize(static_cast<size_t>(grid));
        for (int g = 0; g < grid; ++g) {
          start_bin_[static_cast<size_t>(g)] = std::min(
              LastEdgeAtOrBelow(edges.data(), bins + 1, low + g / lookup_.scale), bins - 1);
        }
      }
    } else {
      // One bin holding a constant.
      lookup_.even = true;
    }
    lookup_.lower = lower_.data();
    lookup_.upper = upper_.data();
    lookup_.start_bin = start_bin_.data();
    lookup_.edges = edges_.data();
  }
  BinLocator(const BinLocator&) = delete;
  BinLocator& operator=(const BinLocator&) = delete;

  const BinLookup& Lookup() const { return lookup_; }

 private:
  std::vector<double> edges_;
  std::vector<double> lower_;
  std::vector<double> upper_;
  std::vector<int> start_bin_;
  BinLookup lookup_;
};

// The values of the cell the last sample fell in, lower bounds included and upper ones not: a
// sample within them falls in the same cell, found with four compares. Empty at first.
struct CellBounds {
  double x_low = 1;
  double x_high = 0;
  double y_low = 1;
  double y_high = 0;
  int64_t cell = -1;
};

// The bounds of cell (bx, by); the last bin's upper edge belongs to it.
CellBounds SameCell(const std::vector<double>& x_edges, const std::vector<double>& y_edges, int bx,
                    int by, int64_t cell) {
  const auto upper = [](const std::vector<double>& edges, int b) {
    return b + 2 == static_cast<int>(edges.size())
               ? std::nextafter(edges.back(), std::numeric_limits<double>::infinity())
               : edges[static_cast<size_t>(b) + 1];
  };
  return {x_edges[static_cast<size_t>(bx)], upper(x_edges, bx), y_edges[static_cast<size_t>(by)],
          upper(y_edges, by), cell};
}

// Cells of one range of samples.
struct Partial {
  std::vector<BinCell> cells;
  int64_t counted = 0;
};

// The edges typed, or automatic ones over the selected samples; false when no sample is selected.
bool ChooseEdges(const LogTable& table, const BinTableRequest& request, int threads,
                 BinTable& out) {
  if (request.x_edges && request.y_edges) {
    out.x_edges = *request.x_edges;
    out.y_edges = *request.y_edges;
    return true;
  }
  const SelectedExtremes extremes =
      FindSelectedExtremes(table, request.selection, {request.x_item, request.y_item}, threads);
  if (extremes.count == 0) {
    return false;
  }
  out.x_edges =
      request.x_edges ? *request.x_edges : AutomaticEdges(extremes.min[0], extremes.max[0]);
  out.y_edges =
      request.y_edges ? *request.y_edges : AutomaticEdges(extremes.min[1], extremes.max[1]);
  return true;
}

// What the sorting of every range reads.
struct SortInput {
  const float* x;
  const float* y;
  const float* z;       // null without a third item
  const float* filter;  // null without a filter
  const SampleSelection& selection;
  const BinLocator& x_bins_of;
  const BinLocator& y_bins_of;
  const std::vector<double>& x_edges;
  const std::vector<double>& y_edges;
  int x_bins;
  size_t cell_count;
};

// Sorts the samples [begin, end) into the cells of p.
//
// In blocks: first the cell of every sample, a loop without stores into the cells and without
// branches on the data; then the cells are filled. Consecutive samples mostly fall in the same
// cell: the cell being filled is kept in registers and written back when another cell begins, so
// that no sample waits for the store of the one before. Its sum goes on from the cell's, in the
// samples' order.
template <bool kWithFilter, bool kWithValue>
void SortRange(const SortInput& in, int64_t begin, int64_t end, Partial& p) {
  const size_t cell_count = in.cell_count;
  p.cells.assign(cell_count, BinCell{0, 0, std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity()});
  constexpr int64_t kBlock = 1024;
  int64_t block_cells[kBlock];
  size_t run_cell = cell_count;  // none yet
  BinCell run;
  int64_t counted = 0;
  CellBounds same;
  for (int64_t first = begin; first < end; first += kBlock) {
    const int64_t n = std::min(kBlock, end - first);
    const BinLookup x_lookup = in.x_bins_of.Lookup();
    const BinLookup y_lookup = in.y_bins_of.Lookup();
    for (int64_t i = 0; i < n; ++i) {
      const int64_t s = first + i;
      const double x = in.x[s];
      const double y = in.y[s];
      int64_t c = -1;
      if (x >= same.x_low && x < same.x_high && y >= same.y_low && y < same.y_high) {
        c = same.cell;
      } else {
        const int bx = Locate(x_lookup, x);
        const int by = Locate(y_lookup, y);
        if ((bx | by) >= 0) {
          c = static_cast<int64_t>(by) * in.x_bins + bx;
          same = SameCell(in.x_edges, in.y_edges, bx, by, c);
        }
      }
      if constexpr (kWithFilter) {
        c = PassesFilter(in.filter, in.selection, s) ? c : -2;
      }
      block_cells[i] = c;
    }
    for (int64_t i = 0; i < n; ++i) {
      const int64_t c = block_cells[i];
      if constexpr (kWithFilter) {
        if (c == -2) {
          continue;
        }
      }
      ++counted;
      if (c < 0) {
        continue;
      }
      if (static_cast<size_t>(c) != run_cell) {
        if (run_cell != cell_count) {
          p.cells[run_cell] = run;
        }
        run_cell = static_cast<size_t>(c);
        run = p.cells[run_cell];
      }
      ++run.count;
      if constexpr (kWithValue) {
        const float z = in.z[first + i];
        run.sum += z;
        run.min = std::min(run.min, z);
        run.max = std::max(run.max, z);
      }
    }
  }
  if (run_cell != cell_count) {
    p.cells[run_cell] = run;
  }
  p.counted = counted;
}

// The table's cells and count from the ranges' partial ones.
void MergePartials(const std::vector<Partial>& partials, BinTable& out) {
  const size_t cell_count = static_cast<size_t>(out.XBins()) * out.YBins();
  out.cells.assign(cell_count, BinCell{});
  for (const Partial& p : partials) {
    out.counted += p.counted;
    for (size_t c = 0; c < cell_count; ++c) {
      const BinCell& from = p.cells[c];
      if (from.count == 0) {
        continue;
      }
      BinCell& to = out.cells[c];
      to.min = to.count == 0 ? from.min : std::min(to.min, from.min);
      to.max = to.count == 0 ? from.max : std::max(to.max, from.max);
      to.count += from.count;
      to.sum += from.sum;
    }
  }
}

}  // namespace

BinEdgesInput ParseBinEdges(std::string_view text) {
  const std::string_view whole = TrimBlanks(text);
  // The word the empty field shows, typed in either language.
  if (whole.empty() || whole == "自動" || whole == CoreText::Tr("自動")) {
    BinEdgesInput input;
    input.ok = true;
    input.automatic = true;
    return input;
  }
  BinEdgesInput input;
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view part = TrimBlanks(text.substr(0, comma));
    double value = 0;
    if (ParseNumber(part, false, 0, value) != NumberStatus::kOk) {
      return Refuse(ArgText(CoreText::Tr("「%1」は数値ではありません。"), {part}));
    }
    if (!input.edges.empty() && value <= input.edges.back()) {
      return Refuse(ArgText(CoreText::Tr("「%1」が前の区切りより大きくありません。"), {part}));
    }
    input.edges.push_back(value);
    if (comma == std::string_view::npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  if (input.edges.size() < 2) {
    return Refuse(CoreText::Tr("区切りは 2 個以上の数値で指定してください。"));
  }
  if (input.edges.size() > kMaxBins + 1) {
    return Refuse(
        ArgText(CoreText::Tr("区切りは %1 個までです。"), {std::to_string(kMaxBins + 1)}));
  }
  input.ok = true;
  return input;
}

std::vector<double> AutomaticEdges(double min, double max) {
  if (!(min < max)) {
    return {min, min};
  }
  std::vector<double> edges(kAutomaticBins + 1);
  for (int k = 0; k < kAutomaticBins; ++k) {
    edges[k] = min + (max - min) * k / kAutomaticBins;
  }
  edges[kAutomaticBins] = max;
  return edges;
}

int BinOf(const std::vector<double>& edges, double v) {
  const int n = static_cast<int>(edges.size());
  if (!(v >= edges.front() && v <= edges.back())) {
    return -1;
  }
  return std::min(LastEdgeAtOrBelow(edges.data(), n, v), n - 2);
}

std::string BinLabel(const std::vector<double>& edges, int bin) {
  return FormatGeneral(edges[bin]) + "–" + FormatGeneral(edges[bin + 1]);
}

bool BinTable::Shown(int x, int y) const {
  const int64_t count = Cell(x, y).count;
  return count > 0 && count >= min_count;
}

double BinTable::Value(int x, int y) const {
  const BinCell& cell = Cell(x, y);
  switch (statistic) {
    case CellStatistic::kMean:
      return cell.sum / static_cast<double>(cell.count);
    case CellStatistic::kMin:
      return cell.min;
    case CellStatistic::kMax:
      return cell.max;
    case CellStatistic::kCount:
      break;
  }
  return static_cast<double>(cell.count);
}

std::string AnalysisProblemMessage(AnalysisProblem problem) {
  switch (problem) {
    case AnalysisProblem::kTooFewSamples:
      return CoreText::Tr("範囲のサンプルが 2 個未満です。");
    case AnalysisProblem::kNoMatchingSample:
      return CoreText::Tr("該当するサンプルがありません。");
    case AnalysisProblem::kNone:
      break;
  }
  return {};
}

BinTableResult ComputeBinTable(const LogTable& table, const BinTableRequest& request, int threads) {
  BinTableResult result;
  const SampleSelection& selection = request.selection;
  if (selection.last - selection.first + 1 < 2) {
    result.problem = AnalysisProblem::kTooFewSamples;
    return result;
  }
  BinTable& out = result.table;
  out.min_count = request.min_count;
  out.statistic = request.value_item < 0 ? CellStatistic::kCount : request.statistic;
  if (!ChooseEdges(table, request, threads, out)) {
    result.problem = AnalysisProblem::kNoMatchingSample;
    return result;
  }

  const BinLocator x_bins_of(out.x_edges);
  const BinLocator y_bins_of(out.y_edges);
  const SortInput in{table.Values(request.x_item).data(),
                     table.Values(request.y_item).data(),
                     request.value_item < 0 ? nullptr : table.Values(request.value_item).data(),
                     FilterValues(table, selection),
                     selection,
                     x_bins_of,
                     y_bins_of,
                     out.x_edges,
                     out.y_edges,
                     out.XBins(),
                     static_cast<size_t>(out.XBins()) * out.YBins()};
  const std::vector<int64_t> bounds = SelectionRanges(selection);
  std::vector<Partial> partials(bounds.size() - 1);
  RunTasks(static_cast<int64_t>(partials.size()), ThreadCount(threads), [&](int64_t r) {
    // The loop is made for each case, so that the common one tests nothing it does not need.
    const bool with_filter = in.filter != nullptr;
    const bool with_value = in.z != nullptr;
    if (with_filter && with_value) {
      SortRange<true, true>(in, bounds[r], bounds[r + 1], partials[r]);
    } else if (with_filter) {
      SortRange<true, false>(in, bounds[r], bounds[r + 1], partials[r]);
    } else if (with_value) {
      SortRange<false, true>(in, bounds[r], bounds[r + 1], partials[r]);
    } else {
      SortRange<false, false>(in, bounds[r], bounds[r + 1], partials[r]);
    }
  });
  MergePartials(partials, out);
  if (out.counted == 0) {
    result.problem = AnalysisProblem::kNoMatchingSample;
  }
  return result;
}

std::string CellText(const BinTable& table, int x, int y) {
  if (!table.Shown(x, y)) {
    return {};
  }
  if (table.statistic == CellStatistic::kCount) {
    return std::to_string(table.Cell(x, y).count);
  }
  return FormatGeneral(table.Value(x, y));
}

std::string BinTableText(const BinTable& table) {
  std::string text;
  for (int x = 0; x < table.XBins(); ++x) {
    text += "\t" + BinLabel(table.x_edges, x);
  }
  text += "\r\n";
  for (int y = 0; y < table.YBins(); ++y) {
    text += BinLabel(table.y_edges, y);
    for (int x = 0; x < table.XBins(); ++x) {
      text += "\t" + CellText(table, x, y);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace dravik
