#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "chart/plot_y_store.h"
#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "common/settings.h"
#include "fresh_process.h"
#include "log/fuel_trip.h"

#if defined(DRAVIK_BENCH_QT)
#include <QImage>

#include "chart/chart_render.h"
#endif

namespace dravik::bench {
namespace {

constexpr double kFirstRedrawLimitMs = 10;
constexpr double kCheckItemLimitMs = 100;

// A chart buffer and the traces of `items` drawn into it at `view`, M4 or every segment.
struct Chart {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t{kChartWidthPx} * kChartHeightPx);
  PixelBuffer buffer{pixels.data(), kChartWidthPx, kChartHeightPx, kChartWidthPx};

  void Draw(const LogTable& table, const PlotYStore& plot_y, const ChartView& view,
            bool every_segment) {
    std::fill(pixels.begin(), pixels.end(), 0xFFFFFFFFu);
    const int64_t first = FirstVisibleSample(view);
    const Settings settings;
    std::vector<TraceToDraw> traces;
    for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
      const uint32_t argb = OpaqueArgb(settings.item_colors[item - 1]);
      if (every_segment) {
        DrawTraceEverySegment(plot_y.PlotY(item), first, view.view_span, buffer, argb);
      } else {
        traces.push_back({plot_y.PlotY(item), &plot_y.Summary(item), argb});
      }
    }
    DrawTraces(traces, first, view.view_span, buffer, scratch);
  }
  TraceScratch scratch;
};

}  // namespace

void ScaleSections(const Options& options, const std::string& log, int64_t rows, int items) {
  const auto file_bytes = static_cast<double>(std::filesystem::file_size(log));
  std::printf("\n2. Scale: %lld rows x %d items (%.0f MB)\n", static_cast<long long>(rows), items,
              file_bytes / 1e6);
  MeasureLoad(options, log, 0);  // not counted: brings the file into the page cache
  // Loads alternate with the earlier build's, so that whatever else the machine runs weighs on
  // both alike.
  std::vector<double> ours;
  std::vector<double> earlier;
  LoadFigures figures;
  long peak_kb = 0;
  long earlier_peak_kb = 0;
  for (int round = 0; round < options.repeats; ++round) {
    if (const auto load = MeasureLoad(options, log, 0)) {
      ours.push_back(load->total_ms);
      peak_kb = std::max(peak_kb, load->peak_kb);
      figures = *load;
    }
    if (options.baseline.empty()) {
      continue;
    }
    if (const auto load = MeasureLoad(options, log, 0, options.baseline)) {
      earlier.push_back(load->total_ms);
      earlier_peak_kb = std::max(earlier_peak_kb, load->peak_kb);
    }
  }
  if (ours.empty()) {
    Row("OpenFile to first paint, fresh process", "FAILED");
    return;
  }
  const double load_ms = Median(ours);
  const bool loaded = figures.error == 0 && figures.samples == rows;
  const std::string what =
      "OpenFile to first paint, fresh process, median of " + std::to_string(ours.size());
  if (earlier.empty()) {
    const auto read_ms = MeasureRead(options, log);
    Row(what, Ms(load_ms),
        read_ms ? "file read " + Ms(*read_ms) + ": " + Times(load_ms / *read_ms) + " of it" : "",
        Verdict(loaded));
  } else {
    const double ratio = load_ms / Median(earlier);
    Row(what, Ms(load_ms),
        "earlier build " + Ms(Median(earlier)) + ": " + Times(ratio) +
            " of its time (target 1.05x)",
        Verdict(loaded && ratio <= 1.05));
  }
  // The table's values: every sample with its tail, of the time and every item.
  const double values_kb =
      4.0 * static_cast<double>(figures.samples + kTailSamples) * (figures.items + 1) / 1024;
  Row("peak memory (VmHWM)", Mb(static_cast<double>(peak_kb)),
      "values " + Mb(values_kb) + " + 15 % = " + Mb(1.15 * values_kb) +
          (earlier.empty() ? "" : "; earlier build " + Mb(static_cast<double>(earlier_peak_kb))),
      Verdict(static_cast<double>(peak_kb) <= 1.15 * values_kb));

  const Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    Row("in-process load", "FAILED");
    return;
  }
  std::vector<int> visible;
  for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
    visible.push_back(item);
  }
#if defined(DRAVIK_BENCH_QT)
  {
    // Checking the items one after another, as a user does: each check makes that item's
    // summary and redraws the chart with every item checked so far.
    PlotYStore checked;
    QImage picture = NewPicture(QSize(kChartWidthPx, kChartHeightPx));
    std::vector<double> checks;
    for (size_t k = 1; k <= visible.size(); ++k) {
      const std::span<const int> so_far(visible.data(), k);
      const Clock::time_point begin = Clock::now();
      checked.Keep(table, so_far, settings.graph_scale_mode);
      RenderGraphImage(picture, table, checked, ViewAt(1, 0, table.last_sample), so_far, settings);
      checks.push_back(MsSince(begin));
    }
    const double slowest = *std::max_element(checks.begin(), checks.end());
    Row("checking an item: its summary and the redraw", Ms(Median(checks)),
        "median of " + std::to_string(checks.size()) + ", slowest " + Ms(slowest),
        Verdict(slowest <= kCheckItemLimitMs));
  }
#endif
  Clock::time_point start = Clock::now();
  {
    PlotYStore single;
    single.Keep(table, visible, settings.graph_scale_mode, 1);
  }
  const double one_thread_ms = MsSince(start);
  start = Clock::now();
  PlotYStore plot_y;
  plot_y.Keep(table, visible, settings.graph_scale_mode);
  Row("summaries of " + std::to_string(visible.size()) + " items", Ms(MsSince(start)),
      "on 1 thread " + Ms(one_thread_ms));

  std::printf("\n3. Redraw %d items on a chart of %d x %d pixels\n",
              std::min(table.item_count, kVisibleItems), kChartWidthPx, kChartHeightPx);
  Chart fast;
  Chart reference;
  const int64_t last = table.last_sample;
  const ChartView whole = ViewAt(1, 0, last);
  std::vector<double> times;
  for (int i = 0; i < 15; ++i) {
    start = Clock::now();
    fast.Draw(table, plot_y, whole, false);
    times.push_back(MsSince(start));
  }
  const double traces_ms = Median(times);
  start = Clock::now();
  reference.Draw(table, plot_y, whole, true);
  const double every_ms = MsSince(start);
  const bool same_whole = fast.pixels == reference.pixels;
  Row("traces at magnification 1 (median of 15)", Ms(traces_ms),
      "every segment " + Ms(every_ms) + ": " + Times(every_ms / traces_ms) + " faster",
      Verdict(traces_ms <= kFirstRedrawLimitMs && same_whole));
  Row("  same pixels as every segment", same_whole ? "yes" : "NO");
#if defined(DRAVIK_BENCH_QT)
  QImage image = NewPicture(QSize(kChartWidthPx, kChartHeightPx));
  const auto drow_graph = [&](const ChartView& view) {
    const Clock::time_point begin = Clock::now();
    RenderGraphImage(image, table, plot_y, view, visible, settings);
    return MsSince(begin);
  };
  times.clear();
  for (int i = 0; i < 15; ++i) {
    times.push_back(drow_graph(whole));
  }
  const double drow_ms = Median(times);
  Row("DrowGraph (grid, labels, traces), magn. 1", Ms(drow_ms), "median of 15",
      Verdict(drow_ms <= kFirstRedrawLimitMs));
#endif

  // Every magnification at positions across the whole scroll range; each redraw timed three
  // times and its median kept, the slowest of those reported.
  double slowest = 0;
  std::string slowest_at;
  bool all_same = true;
  int compared = 0;
  int views = 0;
  for (const int magnification : kMagnifications) {
    const int64_t maximum = ViewAt(magnification, 0, last).scroll_maximum;
    std::vector<int64_t> positions = {0, maximum / 3, maximum / 2, 2 * maximum / 3, maximum};
    for (int k = 1; k <= 6; ++k) {
      positions.push_back((maximum * (2 * k + 1) / 13 + 7 * k) % (maximum + 1));
    }
    for (size_t p = 0; p < positions.size(); ++p) {
      const ChartView view = ViewAt(magnification, positions[p], last);
      std::vector<double> redraws;
      for (int i = 0; i < 3; ++i) {
#if defined(DRAVIK_BENCH_QT)
        redraws.push_back(drow_graph(view));
#else
        const Clock::time_point begin = Clock::now();
        fast.Draw(table, plot_y, view, false);
        redraws.push_back(MsSince(begin));
#endif
      }
      ++views;
      const double ms = Median(redraws);
      if (ms > slowest) {
        slowest = ms;
        slowest_at = "magnification " + std::to_string(magnification) + ", position " +
                     std::to_string(view.scroll_position);
      }
      if (p == 0 || p == 2 || p == 4) {
        fast.Draw(table, plot_y, view, false);
        reference.Draw(table, plot_y, view, true);
        all_same = all_same && fast.pixels == reference.pixels;
        ++compared;
      }
    }
  }
  Row("slowest redraw of " + std::to_string(views) + " views", Ms(slowest), slowest_at,
      Verdict(slowest <= kRedrawLimitMs));
  Row("  pixels equal to every segment", all_same ? "yes" : "NO",
      "in " + std::to_string(compared) + " views", Verdict(all_same));

  // Sections of 1,000,000 samples, or the whole log when it is shorter (bench --quick).
  const int64_t section = std::min<int64_t>(1'000'000, last);
  std::printf("\n4b. Cursor drag on this log: ComputeTripSummary over %lld samples\n",
              static_cast<long long>(section));
  const FuelParams fuel = FuelParamsOf(settings);
  times.clear();
  for (int k = 0; k < 40; ++k) {
    const int64_t first = (last - section) * k / 39;
    start = Clock::now();
    const TripSummary trip = ComputeTripSummary(table, fuel, first, first + section - 1);
    times.push_back(MsSince(start));
    if (trip.driving_time_ms <= 0) {
      Row("trip summary", "FAILED");
    }
  }
  Row("per mouse event, median of 40 sections", Ms(Median(times)),
      "slowest " + Ms(*std::max_element(times.begin(), times.end())), Verdict(Median(times) < 2));
}

}  // namespace dravik::bench
