#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/sample_selection.h"
#include "log/log_table.h"

namespace dravik {

// What a cell of the table of averages shows. The numbers are those the settings file keeps.
enum class CellStatistic : int32_t { kMean = 0, kCount = 1, kMin = 2, kMax = 3 };

// A table has at most this many bins on each axis.
inline constexpr int kMaxBins = 256;
// Automatic bins: this many equal bins from the smallest to the largest value.
inline constexpr int kAutomaticBins = 16;

// Bin edges as typed: numbers separated by commas ("500, 1000, 1500"), blanks around each allowed.
// An empty text (blanks only) or "自動" asks for automatic bins.
struct BinEdgesInput {
  bool ok = false;
  bool automatic = false;
  std::vector<double> edges;  // at least 2, strictly increasing, when ok and not automatic
  std::string message;        // why the text was refused, naming its first bad value
};
BinEdgesInput ParseBinEdges(std::string_view text);

// 17 edges of 16 equal bins from min to max, the last edge max itself; {min, max} when
// min == max (one bin holding the constant).
std::vector<double> AutomaticEdges(double min, double max);

// The bin of value v: bin i holds edges[i] <= v < edges[i + 1], the last bin also its upper edge;
// -1 below the first edge or above the last. A binary search; ComputeBinTable finds the same bins
// faster.
int BinOf(const std::vector<double>& edges, double v);

// "a–b", the edges of bin i as the numeric display writes values.
std::string BinLabel(const std::vector<double>& edges, int bin);

struct BinTableRequest {
  int x_item = 1;
  int y_item = 1;
  int value_item = -1;  // -1: none, the cells count samples
  SampleSelection selection;
  std::optional<std::vector<double>> x_edges;  // nullopt: automatic
  std::optional<std::vector<double>> y_edges;
  CellStatistic statistic = CellStatistic::kMean;
  int64_t min_count = 1;  // a cell with fewer samples stays blank
};

struct BinCell {
  int64_t count = 0;
  double sum = 0;  // of the value item, in double from the values as read
  float min = 0;   // of the value item over the cell's samples, when count > 0
  float max = 0;
};

struct BinTable {
  std::vector<double> x_edges;
  std::vector<double> y_edges;
  std::vector<BinCell> cells;  // cells[y * XBins() + x], y from the lowest bin up
  // The statistic the cells show: kCount whatever was asked when there is no value item.
  CellStatistic statistic = CellStatistic::kCount;
  int64_t min_count = 1;
  int64_t counted = 0;  // samples that the range and the filter count

  int XBins() const { return static_cast<int>(x_edges.size()) - 1; }
  int YBins() const { return static_cast<int>(y_edges.size()) - 1; }
  const BinCell& Cell(int x, int y) const { return cells[static_cast<size_t>(y) * XBins() + x]; }
  // A cell is shown when it holds at least one sample and at least min_count.
  bool Shown(int x, int y) const;
  // The shown statistic of a shown cell.
  double Value(int x, int y) const;
};

// Why no table or scatter can be made for a request.
enum class AnalysisProblem { kNone, kTooFewSamples, kNoMatchingSample };

// The message a view shows for a problem (empty for kNone).
std::string AnalysisProblemMessage(AnalysisProblem problem);

struct BinTableResult {
  AnalysisProblem problem = AnalysisProblem::kNone;
  BinTable table;
};

// Sorts the selected samples into cells on up to `threads` threads (0: one per hardware thread).
// The selection must lie within the real samples and the items within the table. A selection of
// fewer than 2 samples is kTooFewSamples; one whose filter leaves no sample is kNoMatchingSample.
// Sums are made range by range in a fixed order, so the cells do not depend on the threads.
BinTableResult ComputeBinTable(const LogTable& table, const BinTableRequest& request,
                               int threads = 0);

// A shown cell's text: counts as plain integers, the other statistics as the numeric display
// writes values (an average rounded once from its double); "" for a blank cell.
std::string CellText(const BinTable& table, int x, int y);

// The clipboard text: tab-separated, CR LF after every line; the first line an empty cell and the
// X bins, then one line per Y bin from the lowest up, its label and its cells.
std::string BinTableText(const BinTable& table);

}  // namespace dravik
