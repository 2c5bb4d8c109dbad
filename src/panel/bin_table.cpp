#include "panel/bin_table.h"

#include <algorithm>
#include <limits>
#include <type_traits>

#include "common/number_format.h"
#include "common/number_parsing.h"
#include "common/parallel.h"

namespace dravik {
namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

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

// Finds bins fast: an even grid over the edges' span says which bin each grid cell starts in, so
// that a value needs one multiplication and, where an edge falls inside its grid cell, a step to
// the next bin. Exact, as the steps compare with the edges themselves.
class BinLocator {
 public:
  explicit BinLocator(const std::vector<double>& edges)
      : edges_(edges.data()),
        bins_(static_cast<int>(edges.size()) - 1),
        low_(edges.front()),
        high_(edges.back()) {
    const int grid = std::max(64, 4 * bins_);
    scale_ = high_ > low_ ? grid / (high_ - low_) : 0.0;
    start_bin_.resize(static_cast<size_t>(grid));
    for (int g = 0; g < grid; ++g) {
      const double v = low_ + g / scale_;
      start_bin_[static_cast<size_t>(g)] =
          scale_ > 0 ? std::min(LastEdgeAtOrBelow(edges_, bins_ + 1, v), bins_ - 1) : 0;
    }
  }

  // The bin of v, -1 outside the edges.
  int Locate(double v) const {
    if (!(v >= low_ && v <= high_)) {
      return -1;
    }
    const size_t g = std::min(static_cast<size_t>((v - low_) * scale_), start_bin_.size() - 1);
    int b = start_bin_[g];
    while (b > 0 && v < edges_[b]) {
      --b;
    }
    while (b < bins_ - 1 && v >= edges_[b + 1]) {
      ++b;
    }
    return b;
  }

 private:
  const double* edges_;
  int bins_;
  double low_;
  double high_;
  double scale_ = 0;
  std::vector<int> start_bin_;
};

// Cells of one range of samples.
struct Partial {
  std::vector<BinCell> cells;
  int64_t counted = 0;
};

}  // namespace

BinEdgesInput ParseBinEdges(std::string_view text) {
  const std::string_view whole = Trim(text);
  if (whole.empty() || whole == "自動") {
    BinEdgesInput input;
    input.ok = true;
    input.automatic = true;
    return input;
  }
  BinEdgesInput input;
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view part = Trim(text.substr(0, comma));
    double value = 0;
    if (ParseNumber(part, false, 0, value) != NumberStatus::kOk) {
      return Refuse("「" + std::string(part) + "」は数値ではありません。");
    }
    if (!input.edges.empty() && value <= input.edges.back()) {
      return Refuse("「" + std::string(part) + "」が前の区切りより大きくありません。");
    }
    input.edges.push_back(value);
    if (comma == std::string_view::npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  if (input.edges.size() < 2) {
    return Refuse("区切りは 2 個以上の数値で指定してください。");
  }
  if (input.edges.size() > kMaxBins + 1) {
    return Refuse("区切りは " + std::to_string(kMaxBins + 1) + " 個までです。");
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
      return "範囲のサンプルが 2 個未満です。";
    case AnalysisProblem::kNoMatchingSample:
      return "該当するサンプルがありません。";
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
  if (!request.x_edges || !request.y_edges) {
    const SelectedExtremes extremes =
        FindSelectedExtremes(table, selection, {request.x_item, request.y_item}, threads);
    if (extremes.count == 0) {
      result.problem = AnalysisProblem::kNoMatchingSample;
      return result;
    }
    out.x_edges =
        request.x_edges ? *request.x_edges : AutomaticEdges(extremes.min[0], extremes.max[0]);
    out.y_edges =
        request.y_edges ? *request.y_edges : AutomaticEdges(extremes.min[1], extremes.max[1]);
  } else {
    out.x_edges = *request.x_edges;
    out.y_edges = *request.y_edges;
  }

  const int x_bins = out.XBins();
  const size_t cell_count = static_cast<size_t>(x_bins) * out.YBins();
  const float* x_values = table.Values(request.x_item).data();
  const float* y_values = table.Values(request.y_item).data();
  const float* z_values =
      request.value_item < 0 ? nullptr : table.Values(request.value_item).data();
  const float* filter = FilterValues(table, selection);
  const std::vector<int64_t> bounds = SelectionRanges(selection);
  std::vector<Partial> partials(bounds.size() - 1);
  const BinLocator x_bins_of(out.x_edges);
  const BinLocator y_bins_of(out.y_edges);
  RunTasks(static_cast<int64_t>(partials.size()), ThreadCount(threads), [&](int64_t r) {
    Partial& p = partials[r];
    p.cells.assign(cell_count, BinCell{0, 0, std::numeric_limits<float>::infinity(),
                                       -std::numeric_limits<float>::infinity()});
    const auto sort = [&](auto with_filter, auto with_value) {
      for (int64_t s = bounds[r]; s < bounds[r + 1]; ++s) {
        if constexpr (with_filter) {
          if (!PassesFilter(filter, selection, s)) {
            continue;
          }
        }
        ++p.counted;
        const int bx = x_bins_of.Locate(x_values[s]);
        const int by = y_bins_of.Locate(y_values[s]);
        if ((bx | by) < 0) {
          continue;
        }
        BinCell& cell = p.cells[static_cast<size_t>(by) * x_bins + bx];
        ++cell.count;
        if constexpr (with_value) {
          const float z = z_values[s];
          cell.sum += z;
          cell.min = std::min(cell.min, z);
          cell.max = std::max(cell.max, z);
        }
      }
    };
    // The loop is made for each case, so that the common one tests nothing it does not need.
    const bool with_filter = filter != nullptr;
    const bool with_value = z_values != nullptr;
    if (with_filter && with_value) {
      sort(std::true_type{}, std::true_type{});
    } else if (with_filter) {
      sort(std::true_type{}, std::false_type{});
    } else if (with_value) {
      sort(std::false_type{}, std::true_type{});
    } else {
      sort(std::false_type{}, std::false_type{});
    }
  });
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
