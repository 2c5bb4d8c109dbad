#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "chart/sample_selection.h"
#include "chart/scatter_raster.h"
#include "common/parallel.h"
#include "common/settings.h"
#include "panel/bin_table.h"

namespace dravik::bench {
namespace {

constexpr double kTableLimitMs = 100;
constexpr double kScatterLimitMs = 200;
constexpr int kScatterWidthPx = 1600;
constexpr int kScatterHeightPx = 1000;

int ItemNamed(const LogTable& table, const std::string& name, int fallback) {
  const auto found = std::find(table.item_names.begin() + 1, table.item_names.end(), name);
  return found == table.item_names.end() ? fallback
                                         : static_cast<int>(found - table.item_names.begin());
}

template <typename Work>
double MedianMs(int repeats, Work&& work) {
  std::vector<double> times;
  for (int k = 0; k < repeats; ++k) {
    const Clock::time_point start = Clock::now();
    work();
    times.push_back(MsSince(start));
  }
  return Median(times);
}

// The whole scatter as the window makes it: the ranges of the counted samples, then the raster.
ScatterPlot Scatter(const LogTable& table, int x, int y, int colour,
                    const SampleSelection& selection) {
  ScatterRequest request;
  request.x_item = x;
  request.y_item = y;
  request.colour_item = colour;
  request.selection = selection;
  request.width_px = kScatterWidthPx;
  request.height_px = kScatterHeightPx;
  return MakeScatterPlot(table, request);
}

}  // namespace

void AnalysisSection(const Options& options, const std::string& log) {
  std::printf(
      "\n7. Scatter plot and table of averages over every sample of the big log, %d threads\n",
      ThreadCount(0));
  const Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    Row("load", "FAILED");
    return;
  }
  const int rpm = ItemNamed(table, "Engine Speed (rpm)", 1);
  const int load = ItemNamed(table, "Engine Load (g/rev)", 2);
  const int afr = ItemNamed(table, "A/F Sensor #1 (AFR)", 3);
  const int throttle = ItemNamed(table, "Throttle Opening Angle (%)", 4);
  const SampleSelection whole = WholeRange(0, table.last_sample);
  const int repeats = std::max(options.repeats, 5);
  const std::string samples = std::to_string(table.last_sample + 1) + " samples";

  BinTableRequest request;
  request.x_item = rpm;
  request.y_item = load;
  request.value_item = afr;
  request.selection = whole;
  int64_t counted = 0;
  const double table_ms =
      MedianMs(repeats, [&] { counted = ComputeBinTable(table, request).table.counted; });
  Row("table 16 x 16, mean AFR over rpm x load, automatic bins, median of " +
          std::to_string(repeats),
      Ms(table_ms), std::to_string(counted) + " of " + samples,
      Verdict(table_ms <= kTableLimitMs && counted == table.last_sample + 1));

  BinTableRequest filtered = request;
  filtered.selection.filter_item = throttle;
  filtered.selection.filter_min = 20;
  const double filtered_ms = MedianMs(repeats, [&] { ComputeBinTable(table, filtered); });
  Row("the same with a filter (throttle >= 20 %)", Ms(filtered_ms), "bins from the counted samples",
      Verdict(filtered_ms <= kTableLimitMs));

  const double colour_ms = MedianMs(repeats, [&] { Scatter(table, rpm, load, afr, whole); });
  Row("scatter " + std::to_string(kScatterWidthPx) + " x " + std::to_string(kScatterHeightPx) +
          " px coloured by AFR, median of " + std::to_string(repeats),
      Ms(colour_ms), samples, Verdict(colour_ms <= kScatterLimitMs));
  const double density_ms = MedianMs(repeats, [&] { Scatter(table, rpm, load, -1, whole); });
  Row("scatter, density without a third item", Ms(density_ms), samples,
      Verdict(density_ms <= kScatterLimitMs));
}

}  // namespace dravik::bench
