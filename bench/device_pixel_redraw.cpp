#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/open_log.h"
#include "bench_rows.h"
#include "bench_sections.h"
#include "bench_support.h"
#include "chart/plot_y_store.h"
#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "common/rounding.h"
#include "common/settings.h"

#if defined(DRAVIK_BENCH_QT)
#include <QImage>

#include "chart/chart_render.h"
#endif

namespace dravik::bench {
namespace {

constexpr int kLogicalWidthPx = kChartWidthPx;
constexpr int kLogicalHeightPx = kChartHeightPx;

void RowMs(const std::string& what, double ms, const std::string& baseline, bool ok) {
  Row(what, Ms(ms), baseline, Verdict(ok));
}

// The chart of one screen scaling: its device pixels and the redraw that the window makes there.
class DeviceChart {
 public:
  DeviceChart(const LogTable& table, const PlotYStore& plot_y, double ratio)
      : table_(table),
        plot_y_(plot_y),
        width_(static_cast<int>(RoundHalfEven(kLogicalWidthPx * ratio))),
        height_(static_cast<int>(RoundHalfEven(kLogicalHeightPx * ratio))),
        ratio_(ratio) {
    for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
      items_.push_back(item);
    }
  }

  int Width() const { return width_; }
  int Height() const { return height_; }

  // DrowGraph's picture (grid, labels and traces; the traces alone without Qt); its milliseconds.
  double Redraw(const ChartView& view) {
    const Clock::time_point start = Clock::now();
#if defined(DRAVIK_BENCH_QT)
    RenderGraphImage(picture_, table_, plot_y_, view, items_, settings_);
#else
    std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_, 0xFFFFFFFFu);
    PixelBuffer buffer{pixels.data(), width_, height_, width_};
    DrawTraces(Traces(), FirstVisibleSample(view), view.view_span, buffer, scratch_);
#endif
    return MsSince(start);
  }

  // Whether the fast traces have exactly the pixels of drawing every segment at `view`.
  bool SameAsEverySegment(const ChartView& view) {
    const auto draw = [&](bool every_segment) {
      std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_, 0xFFFFFFFFu);
      PixelBuffer buffer{pixels.data(), width_, height_, width_};
      const int64_t first = FirstVisibleSample(view);
      if (every_segment) {
        for (const TraceToDraw& trace : Traces()) {
          DrawTraceEverySegment(trace.plot_y, first, view.view_span, buffer, trace.argb);
        }
      } else {
        DrawTraces(Traces(), first, view.view_span, buffer, scratch_);
      }
      return pixels;
    };
    return draw(false) == draw(true);
  }

 private:
  std::vector<TraceToDraw> Traces() const {
    std::vector<TraceToDraw> traces;
    for (const int item : items_) {
      traces.push_back({plot_y_.PlotY(item), &plot_y_.Summary(item),
                        OpaqueArgb(settings_.item_colors[item - 1])});
    }
    return traces;
  }

  const LogTable& table_;
  const PlotYStore& plot_y_;
  const Settings settings_;
  int width_;
  int height_;
  double ratio_;
  std::vector<int> items_;
  TraceScratch scratch_;
#if defined(DRAVIK_BENCH_QT)
  QImage picture_ = NewPicture(QSize(width_, height_), ratio_);
#endif
};

void MeasureScaling(const LogTable& table, const PlotYStore& plot_y, int percent) {
  DeviceChart chart(table, plot_y, percent / 100.0);
  std::printf("\n3c. Redraw at %d %% screen scaling: %d x %d logical, %d x %d device pixels\n",
              percent, kLogicalWidthPx, kLogicalHeightPx, chart.Width(), chart.Height());
  const int64_t last = table.last_sample;
  std::vector<double> times;
  for (int i = 0; i < 15; ++i) {
    times.push_back(chart.Redraw(ViewAt(1, 0, last)));
  }
  const double whole_ms = Median(times);
  RowMs("DrowGraph at magnification 1 (median of 15)", whole_ms, "bound 16 ms",
        whole_ms <= kRedrawLimitMs);

  // Every magnification at positions across the scroll range, each redraw the median of three.
  double slowest = 0;
  char slowest_at[64] = "";
  bool all_same = true;
  int views = 0;
  int compared = 0;
  for (const int magnification : kMagnifications) {
    const int64_t maximum = ViewAt(magnification, 0, last).scroll_maximum;
    for (const int64_t position :
         {int64_t{0}, maximum / 3, maximum / 2, 5 * maximum / 7, maximum}) {
      const ChartView view = ViewAt(magnification, position, last);
      const double ms = Median({chart.Redraw(view), chart.Redraw(view), chart.Redraw(view)});
      ++views;
      if (ms > slowest) {
        slowest = ms;
        std::snprintf(slowest_at, sizeof slowest_at, "magnification %d, position %lld",
                      magnification, static_cast<long long>(view.scroll_position));
      }
      // Every segment of the whole log costs seconds: compared where the views differ most.
      if (position == maximum / 2 && (magnification == 1 || magnification >= 20)) {
        all_same = chart.SameAsEverySegment(view) && all_same;
        ++compared;
      }
    }
  }
  char what[64];
  std::snprintf(what, sizeof what, "slowest redraw of %d views", views);
  RowMs(what, slowest, slowest_at, slowest <= kRedrawLimitMs);
  char in_views[32];
  std::snprintf(in_views, sizeof in_views, "in %d views", compared);
  Row("  traces equal to every segment", all_same ? "yes" : "NO", in_views,
      all_same ? "ok" : "MISSED");
}

}  // namespace

void DevicePixelRedrawSection(const std::string& log) {
  const Settings settings;
  LogTable table;
  if (OpenLog(log, settings, table).kind != LoadFailure::kNone) {
    Row("3c. load for the scaled redraw", "FAILED", "", "");
    return;
  }
  std::vector<int> items;
  for (int item = 1; item <= std::min(table.item_count, kVisibleItems); ++item) {
    items.push_back(item);
  }
  PlotYStore plot_y;
  plot_y.Keep(table, items, settings.graph_scale_mode);
  for (const int percent : {200, 150}) {
    MeasureScaling(table, plot_y, percent);
  }
}

}  // namespace dravik::bench
