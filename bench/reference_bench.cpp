#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "chart/plot_y_store.h"
#include "chart/reference_alignment.h"
#include "common/settings.h"
#include "log/reference_log.h"

#if defined(DRAVIK_BENCH_QT)
#include <QImage>

#include "chart/chart_render.h"
#endif

namespace dravik::bench {

void ReferenceSection(const std::string& log) {
  std::printf("\n10. Redraw with a reference log of the same size, %d items, %d x %d pixels\n",
              kVisibleItems, kChartWidthPx, kChartHeightPx);
#if defined(DRAVIK_BENCH_QT)
  const Settings settings;
  LogTable table;
  ReferenceLog reference;
  // The log read a second time as its own reference, 1.5 s later: as many samples to place and
  // draw as the main log has.
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    Row("load of the log", "FAILED");
    return;
  }
  // The peak after one load is its values and the load's own overhead; the reference read beside
  // it may add its values and that overhead once more, no more.
  const long one_kb = PeakKilobytes();
  if (OpenLog(log, settings, reference.table).kind != LoadFailure::kNone) {
    Row("load of the reference", "FAILED");
    return;
  }
  const long both_kb = PeakKilobytes();
  const double values_kb =
      4.0 * static_cast<double>(table.SampleCount()) * (table.item_count + 1) / 1024;
  Row("peak memory with the reference (VmHWM)", Mb(static_cast<double>(both_kb)),
      "one log's peak " + Mb(static_cast<double>(one_kb)) + " + its values " + Mb(values_kb) +
          " = " + Mb(static_cast<double>(one_kb) + values_kb),
      Verdict(static_cast<double>(both_kb) <= 1.02 * (static_cast<double>(one_kb) + values_kb)));
  reference.items = MatchReferenceItems(table, reference.table);
  reference.offset_ms = 1500;
  std::vector<int> visible;
  for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
    visible.push_back(item);
  }
  const int mode = settings.graph_scale_mode;
  PlotYStore alone;
  alone.Keep(table, visible, mode);
  const ItemRanges ranges = CombinedRanges(table, reference);
  PlotYStore main_y;
  PlotYStore reference_y;
  main_y.Keep(table.item_count, visible, [&](int item) {
    return PlotPositionsWithin(table.Values(item), ranges.min[item], ranges.max[item], mode);
  });
  reference_y.Keep(table.item_count, visible, [&](int item) {
    return PlotPositionsWithin(reference.table.Values(reference.ItemFor(item)), ranges.min[item],
                               ranges.max[item], mode);
  });

  QImage image = NewPicture(QSize(kChartWidthPx, kChartHeightPx));
  // Without and with the reference in turn, so that whatever else the machine runs weighs on
  // both alike; the median of each.
  const auto redraws = [&](const ChartView& view) {
    std::vector<double> without;
    std::vector<double> with;
    for (int i = 0; i < 9; ++i) {
      Clock::time_point begin = Clock::now();
      RenderGraphImage(image, table, alone, view, visible, settings);
      without.push_back(MsSince(begin));
      begin = Clock::now();
      RenderGraphImage(image, table, main_y, view, visible, settings, {&reference, &reference_y});
      with.push_back(MsSince(begin));
    }
    return std::pair(Median(without), Median(with));
  };
  double worst_ratio = 0;
  for (const int magnification : {1, 10, 100}) {
    const ChartView view =
        ViewAt(magnification, ViewAt(magnification, 0, table.last_sample).scroll_maximum / 2,
               table.last_sample);
    const auto [without_ms, with_ms] = redraws(view);
    const double ratio = with_ms / without_ms;
    worst_ratio = std::max(worst_ratio, ratio);
    std::vector<double> placing;
    for (int i = 0; i < 9; ++i) {
      const Clock::time_point begin = Clock::now();
      const ReferenceColumns columns = PlaceReferenceColumns(
          table, reference, FirstVisibleSample(view), view.view_span, kChartWidthPx);
      placing.push_back(MsSince(begin));
      if (columns.starts.empty()) {
        Row("placing the reference", "FAILED");
      }
    }
    Row("DrowGraph, magnification " + std::to_string(magnification) + ", with reference",
        Ms(with_ms),
        "without " + Ms(without_ms) + ": " + Times(ratio) + " (target 2x); placing its samples " +
            Ms(Median(placing)),
        Verdict(ratio <= 2));
  }
  Row("  slowest ratio", Times(worst_ratio), "", Verdict(worst_ratio <= 2));
#else
  (void)log;
  Row("redraw with a reference", "needs the Qt build");
#endif
}

}  // namespace dravik::bench
