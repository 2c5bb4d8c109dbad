#include <algorithm>
#include <cstdio>
#include <ctime>
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

// Wall time of `work`, median and fastest of `repeats`, and the processor time of all its threads
// (median): on a machine that other work shares, the processor time says what the work itself
// costs.
struct Timing {
  double median_ms = 0;
  double fastest_ms = 0;
  double cpu_ms = 0;
};

template <typename Work>
Timing Time(int repeats, Work&& work) {
  std::vector<double> wall;
  std::vector<double> cpu;
  for (int k = 0; k < repeats; ++k) {
    const std::clock_t cpu_start = std::clock();
    const Clock::time_point start = Clock::now();
    work();
    wall.push_back(MsSince(start));
    cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
  }
  return {Median(wall), *std::min_element(wall.begin(), wall.end()), Median(cpu)};
}

std::string Beside(const Timing& t, const std::string& what) {
  return "fastest " + Ms(t.fastest_ms) + ", CPU " + Ms(t.cpu_ms) + "; " + what;
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
      "\n8. Scatter plot and table of averages over every sample of the big log, %d threads\n",
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
  const Timing table_time =
      Time(repeats, [&] { counted = ComputeBinTable(table, request).table.counted; });
  Row("table 16 x 16, mean AFR over rpm x load, automatic bins, median of " +
          std::to_string(repeats),
      Ms(table_time.median_ms), Beside(table_time, std::to_string(counted) + " of " + samples),
      Verdict(table_time.median_ms <= kTableLimitMs && counted == table.last_sample + 1));

  BinTableRequest filtered = request;
  filtered.selection.filter_item = throttle;
  filtered.selection.filter_min = 20;
  const Timing filtered_time = Time(repeats, [&] { ComputeBinTable(table, filtered); });
  Row("the same with a filter (throttle >= 20 %), bins from the counted samples",
      Ms(filtered_time.median_ms), Beside(filtered_time, "two passes"),
      Verdict(filtered_time.median_ms <= kTableLimitMs));

  const Timing colour_time = Time(repeats, [&] { Scatter(table, rpm, load, afr, whole); });
  Row("scatter " + std::to_string(kScatterWidthPx) + " x " + std::to_string(kScatterHeightPx) +
          " px coloured by AFR, median of " + std::to_string(repeats),
      Ms(colour_time.median_ms), Beside(colour_time, samples),
      Verdict(colour_time.median_ms <= kScatterLimitMs));
  const Timing density_time = Time(repeats, [&] { Scatter(table, rpm, load, -1, whole); });
  Row("scatter, density without a third item", Ms(density_time.median_ms),
      Beside(density_time, samples), Verdict(density_time.median_ms <= kScatterLimitMs));
}

}  // namespace dravik::bench
