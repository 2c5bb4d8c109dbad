#include "chart/trace_raster.h"

#include <algorithm>
#include <cstdlib>

#include "chart/scaling.h"
#include "common/parallel.h"

namespace dravik {
namespace {

// Columns ahead of the one drawn whose border samples are asked for.
constexpr int64_t kPrefetchColumns = 3;

// Where a pen's pixels go: Plot sets one pixel, Fill rows first..last of one column; both are
// given only pixels inside the picture.
struct PixelTarget {
  PixelBuffer& buffer;
  uint32_t argb;

  void Plot(int64_t x, int64_t y) {
    buffer.pixels[y * buffer.stride + x * buffer.column_stride] = argb;
  }
  void Fill(int64_t x, int64_t first, int64_t last) {
    uint32_t* column = buffer.pixels + x * buffer.column_stride;
    if (buffer.stride == 1) {
      // A column-major buffer holds the run in consecutive memory: one fill, which vectorises.
      std::fill(column + first, column + last + 1, argb);
      return;
    }
    for (int64_t y = first; y <= last; ++y) {
      column[y * buffer.stride] = argb;
    }
  }
};

// The rows a trace paints in each column, as one run top..bottom per column (empty while top >
// bottom). One run is enough: the points of a column are joined by vertical segments, and the
// segments entering and leaving the column are 8-connected lines, monotone in y, whose pixels in
// the column touch a point of it, so every pixel a trace paints in a column joins one run.
struct RunTarget {
  int32_t* top;
  int32_t* bottom;

  void Plot(int64_t x, int64_t y) { Fill(x, y, y); }
  void Fill(int64_t x, int64_t first, int64_t last) {
    top[x] = std::min(top[x], static_cast<int32_t>(first));
    bottom[x] = std::max(bottom[x], static_cast<int32_t>(last));
  }
};

// DrawLineWithoutLastPixel into any target of a width x height picture.
template <class Target>
void LineWithoutLastPixel(Target& target, int64_t width, int64_t height, int64_t x0, int64_t y0,
                          int64_t x1, int64_t y1) {
  if (x0 == x1) {
    // Vertical runs are most of a dense trace: fill the clipped run directly.
    if (x0 < 0 || x0 >= width || y0 == y1) {
      return;
    }
    const int64_t top = std::max<int64_t>(y0 < y1 ? y0 : y1 + 1, 0);
    const int64_t bottom = std::min(y0 < y1 ? y1 - 1 : y0, height - 1);
    if (top <= bottom) {
      target.Fill(x0, top, bottom);
    }
    return;
  }
  const int64_t dx = std::llabs(x1 - x0);
  const int64_t dy = -std::llabs(y1 - y0);
  const int64_t sx = x0 < x1 ? 1 : -1;
  const int64_t sy = y0 < y1 ? 1 : -1;
  int64_t error = dx + dy;
  while (x0 != x1 || y0 != y1) {
    if (x0 >= 0 && x0 < width && y0 >= 0 && y0 < height) {
      target.Plot(x0, y0);
    }
    const int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

// The pen of a trace: consecutive points joined by lines without their last pixel; repeated
// points draw nothing and are dropped.
template <class Target>
class Pen {
 public:
  Pen(Target& target, int64_t width, int64_t height)
      : target_(target), width_(width), height_(height) {}

  void To(int64_t x, int64_t y) {
    if (!placed_) {
      placed_ = true;
    } else if (x != x_ || y != y_) {
      LineWithoutLastPixel(target_, width_, height_, x_, y_, x, y);
    }
    x_ = x;
    y_ = y;
  }

  // Fills rows top..bottom of column x, where the pen stands, and leaves the pen at (x, y).
  void FillColumnAndStay(int64_t top, int64_t bottom, int64_t y) {
    LineWithoutLastPixel(target_, width_, height_, x_, top, x_, bottom + 1);
    y_ = y;
  }

 private:
  Target& target_;
  int64_t width_;
  int64_t height_;
  bool placed_ = false;
  int64_t x_ = 0;
  int64_t y_ = 0;
};

// Offsets that can be drawn: the view, cut where the positions end. -1 when nothing can be drawn.
int64_t LastDrawableOffset(const PlotPositions& plot_y, int64_t first_sample, int64_t view_span,
                           int64_t width, int64_t height) {
  const int64_t count = plot_y.size();
  if (width <= 0 || height <= 0 || view_span <= 0 || first_sample < 0 || first_sample >= count) {
    return -1;
  }
  return std::min(view_span, count - 1 - first_sample);
}

void ScanExtremes(const int16_t* begin, const int16_t* end, int16_t& lowest, int16_t& highest) {
  int16_t low = lowest;
  int16_t high = highest;
  for (const int16_t* p = begin; p != end; ++p) {
    low = std::min(low, *p);
    high = std::max(high, *p);
  }
  lowest = low;
  highest = high;
}

// Extremes of the summary's blocks [first, end) (of their minima and maxima), from whole groups
// and the blocks around them.
void BlockExtremes(const PlotYSummary& summary, int64_t first, int64_t end, int16_t& lowest,
                   int16_t& highest) {
  constexpr int64_t kGroup = PlotYSummary::kBlockSamples;
  const auto scan = [&](const std::vector<int16_t>& minima, const std::vector<int16_t>& maxima,
                        int64_t begin, int64_t stop) {
    int16_t unused = highest;
    ScanExtremes(minima.data() + begin, minima.data() + stop, lowest, unused);
    unused = lowest;
    ScanExtremes(maxima.data() + begin, maxima.data() + stop, unused, highest);
  };
  const int64_t first_group = (first + kGroup - 1) / kGroup;
  const int64_t end_group = std::min<int64_t>(end / kGroup, summary.group_min.size());
  if (first_group >= end_group) {
    scan(summary.block_min, summary.block_max, first, end);
    return;
  }
  scan(summary.block_min, summary.block_max, first, first_group * kGroup);
  scan(summary.group_min, summary.group_max, first_group, end_group);
  scan(summary.block_min, summary.block_max, end_group * kGroup, end);
}

// Extremes of plot_y[first..last] from whole blocks of the summary and the samples around them.
void RangeExtremes(const PlotPositions& plot_y, const PlotYSummary& summary, int64_t first,
                   int64_t last, int16_t& lowest, int16_t& highest) {
  constexpr int64_t kBlock = PlotYSummary::kBlockSamples;
  lowest = plot_y[first];
  highest = plot_y[first];
  const int64_t first_block = (first + kBlock - 1) / kBlock;
  const int64_t end_block = (last + 1) / kBlock;  // blocks before it end within the range
  if (first_block >= end_block) {
    plot_y.Extremes(first, last + 1, lowest, highest);
    return;
  }
  plot_y.Extremes(first, first_block * kBlock, lowest, highest);
  BlockExtremes(summary, first_block, end_block, lowest, highest);
  plot_y.Extremes(end_block * kBlock, last + 1, lowest, highest);
}

// A reference trace reduced as TraceInto reduces a trace, its columns taken from `columns`
// instead of from the sample offsets.
template <class Target>
void ReferenceTraceInto(const PlotPositions& plot_y, const PlotYSummary& summary,
                        const ReferenceColumns& columns, int64_t width, int64_t height,
                        Target& target) {
  if (width <= 0 || height <= 0 || columns.last < columns.first ||
      columns.starts.size() != static_cast<size_t>(width) + 1) {
    return;
  }
  const auto row = [&](int64_t k) { return ChartYToRow(plot_y[k], height); };
  Pen pen(target, width, height);
  int64_t k = columns.first;
  if (k < columns.starts[0]) {
    pen.To(columns.lead_column, row(k));
    k = columns.starts[0];
  }
  for (int64_t column = 0; column < width && k <= columns.last; ++column) {
    const int64_t end = std::min(columns.starts[column + 1] - 1, columns.last);
    if (end < k) {
      continue;
    }
    // As TraceInto does, the border block a few columns on is asked for while this one is drawn.
    const int64_t ahead =
        std::min(columns.starts[std::min(column + kPrefetchColumns, width)], columns.last) /
        PlotYSummary::kBlockSamples * PlotYSummary::kBlockSamples;
    plot_y.Prefetch(ahead, std::min(ahead + PlotYSummary::kBlockSamples, plot_y.size()));
    int16_t lowest;
    int16_t highest;
    if (end == columns.last) {
      // No segment leaves the last point, so its own pixel shows only when an earlier segment of
      // the column reaches its row: the points before the last run at its row are filled as one
      // run, then the pen goes on to that row.
      const int64_t last_row = row(end);
      int64_t run = end;
      while (run > k && (plot_y[run - 1] == plot_y[end] || row(run - 1) == last_row)) {
        --run;
      }
      pen.To(column, row(k));
      if (run > k) {
        RangeExtremes(plot_y, summary, k, run - 1, lowest, highest);
        pen.FillColumnAndStay(ChartYToRow(lowest, height), ChartYToRow(highest, height),
                              row(run - 1));
        pen.To(column, last_row);
      }
      return;
    }
    RangeExtremes(plot_y, summary, k, end, lowest, highest);
    pen.To(column, row(k));
    pen.FillColumnAndStay(ChartYToRow(lowest, height), ChartYToRow(highest, height), row(end));
    k = end + 1;
  }
  if (k <= columns.last) {
    pen.To(columns.tail_column, row(k));
  }
}

// A pixel target that leaves out the columns of a dash's gaps.
struct DashedTarget {
  PixelTarget pixels;
  int dash_on;
  int dash_off;

  void Plot(int64_t x, int64_t y) {
    if (DashShows(x, dash_on, dash_off)) {
      pixels.Plot(x, y);
    }
  }
  void Fill(int64_t x, int64_t first, int64_t last) {
    if (DashShows(x, dash_on, dash_off)) {
      pixels.Fill(x, first, last);
    }
  }
};

// Rows top..bottom of one column.
struct Run {
  int32_t top;
  int32_t bottom;
};

// Adds `run` to `runs`, which are disjoint, apart and ascending, merging those it overlaps or
// touches; `merged` is room for the result.
void AddRun(std::vector<Run>& runs, Run run, std::vector<Run>& merged) {
  merged.clear();
  size_t k = 0;
  for (; k < runs.size() && runs[k].bottom + 1 < run.top; ++k) {
    merged.push_back(runs[k]);
  }
  for (; k < runs.size() && runs[k].top <= run.bottom + 1; ++k) {
    run.top = std::min(run.top, runs[k].top);
    run.bottom = std::max(run.bottom, runs[k].bottom);
  }
  merged.push_back(run);
  merged.insert(merged.end(), runs.begin() + static_cast<std::ptrdiff_t>(k), runs.end());
  runs.swap(merged);
}

}  // namespace

uint32_t OpaqueArgb(Rgb colour) {
  return 0xFF000000u | static_cast<uint32_t>(RedOf(colour)) << 16 |
         static_cast<uint32_t>(GreenOf(colour)) << 8 | static_cast<uint32_t>(BlueOf(colour));
}

void DrawLineWithoutLastPixel(PixelBuffer& buffer, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                              uint32_t argb) {
  PixelTarget target{buffer, argb};
  LineWithoutLastPixel(target, buffer.width, buffer.height, x0, y0, x1, y1);
}

bool DashShows(int64_t x, int dash_on, int dash_off) {
  const int64_t period = int64_t{dash_on} + dash_off;
  return period <= 0 || x % period < dash_on;
}

void DrawDashedPolylineEverySegment(std::span<const PixelPoint> points, int dash_on, int dash_off,
                                    PixelBuffer& buffer, uint32_t argb) {
  if (buffer.width <= 0 || buffer.height <= 0) {
    return;
  }
  DashedTarget target{{buffer, argb}, dash_on, dash_off};
  Pen pen(target, buffer.width, buffer.height);
  for (const PixelPoint& point : points) {
    pen.To(point.x, point.y);
  }
}

PlotYSummary SummaryRoomFor(int64_t samples) {
  constexpr int64_t kBlock = PlotYSummary::kBlockSamples;
  const int64_t blocks = (samples + kBlock - 1) / kBlock;
  PlotYSummary summary;
  summary.block_min.resize(blocks);
  summary.block_max.resize(blocks);
  summary.group_min.resize(blocks / kBlock);
  summary.group_max.resize(blocks / kBlock);
  return summary;
}

void SummarisePlotYRange(const PlotPositions& plot_y, int64_t first, int64_t end,
                         PlotYSummary& summary) {
  constexpr int64_t kBlock = PlotYSummary::kBlockSamples;
  const int64_t count = plot_y.size();
  const int64_t end_block = (end + kBlock - 1) / kBlock;
  for (int64_t b = first / kBlock; b < end_block; ++b) {
    int16_t lowest = plot_y[b * kBlock];
    int16_t highest = lowest;
    plot_y.Extremes(b * kBlock, std::min(count, (b + 1) * kBlock), lowest, highest);
    summary.block_min[b] = lowest;
    summary.block_max[b] = highest;
  }
  const int64_t end_group =
      std::min<int64_t>(end_block / kBlock, static_cast<int64_t>(summary.group_min.size()));
  for (int64_t g = first / PlotYSummary::kGroupSamples; g < end_group; ++g) {
    int16_t lowest = summary.block_min[g * kBlock];
    int16_t highest = summary.block_max[g * kBlock];
    int16_t unused = highest;
    ScanExtremes(summary.block_min.data() + g * kBlock, summary.block_min.data() + (g + 1) * kBlock,
                 lowest, unused);
    unused = lowest;
    ScanExtremes(summary.block_max.data() + g * kBlock, summary.block_max.data() + (g + 1) * kBlock,
                 unused, highest);
    summary.group_min[g] = lowest;
    summary.group_max[g] = highest;
  }
}

PlotYSummary SummarisePlotY(const PlotPositions& plot_y) {
  const int64_t count = plot_y.size();
  PlotYSummary summary = SummaryRoomFor(count);
  SummarisePlotYRange(plot_y, 0, count, summary);
  return summary;
}

void DrawTraceEverySegment(const PlotPositions& plot_y, int64_t first_sample, int64_t view_span,
                           PixelBuffer& buffer, uint32_t argb) {
  const int64_t last =
      LastDrawableOffset(plot_y, first_sample, view_span, buffer.width, buffer.height);
  PixelTarget target{buffer, argb};
  Pen pen(target, buffer.width, buffer.height);
  for (int64_t i = 0; i <= last; ++i) {
    pen.To(ChartXToColumn(static_cast<double>(i), view_span, buffer.width),
           ChartYToRow(plot_y[first_sample + i], buffer.height));
  }
}

// Why a column reduces to its first, lowest, highest and last point: the points of one column all
// share its x, so the segments between them are vertical and, once the segment leaving the column
// has drawn its first pixel at the last point, together cover exactly the rows from the lowest to
// the highest point, whatever their order; that run is filled once. The segments entering and
// leaving a column join its first and last point to the neighbouring columns and stay as they are.
// Two columns need care. The column of offset view_span is x = width, outside the buffer: only the
// segment into it shows, so its first point is enough. A last column inside the buffer (positions
// ending before the view does) has no leaving segment, so whether its last point is drawn depends
// on the order of its points: it is drawn point by point.
template <class Target>
void TraceInto(const PlotPositions& plot_y, const PlotYSummary& summary, int64_t first_sample,
               int64_t view_span, int64_t width, int64_t height, Target& target) {
  const int64_t last = LastDrawableOffset(plot_y, first_sample, view_span, width, height);
  Pen pen(target, width, height);
  int64_t begin = 0;
  while (begin <= last) {
    const int64_t column = ChartXToColumn(static_cast<double>(begin), view_span, width);
    const int64_t first_row = ChartYToRow(plot_y[first_sample + begin], height);
    if (column >= width) {
      pen.To(column, first_row);
      return;
    }
    // Offsets up to (2 column + 1) view_span / (2 width) round to this column, give or take the
    // rounding of the half; step to the exact end.
    int64_t end = std::clamp((2 * column + 1) * view_span / (2 * width), begin, last);
    while (end < last && ChartXToColumn(static_cast<double>(end + 1), view_span, width) == column) {
      ++end;
    }
    while (end > begin && ChartXToColumn(static_cast<double>(end), view_span, width) != column) {
      --end;
    }
    // The samples read one by one are those of the summary block around each border of columns,
    // far apart in memory where columns hold many samples: the block at the border a few columns
    // on is asked for while this one is drawn.
    const int64_t ahead = first_sample + std::min(last, end + kPrefetchColumns * (end + 1 - begin));
    const int64_t block = ahead / PlotYSummary::kBlockSamples * PlotYSummary::kBlockSamples;
    plot_y.Prefetch(block, std::min(block + PlotYSummary::kBlockSamples, plot_y.size()));
    if (end == last) {
      for (int64_t i = begin; i <= last; ++i) {
        pen.To(column, ChartYToRow(plot_y[first_sample + i], height));
      }
      return;
    }
    int16_t lowest;
    int16_t highest;
    RangeExtremes(plot_y, summary, first_sample + begin, first_sample + end, lowest, highest);
    pen.To(column, first_row);
    pen.FillColumnAndStay(ChartYToRow(lowest, height), ChartYToRow(highest, height),
                          ChartYToRow(plot_y[first_sample + end], height));
    begin = end + 1;
  }
}

void DrawTrace(const PlotPositions& plot_y, const PlotYSummary& summary, int64_t first_sample,
               int64_t view_span, PixelBuffer& buffer, uint32_t argb) {
  PixelTarget target{buffer, argb};
  TraceInto(plot_y, summary, first_sample, view_span, buffer.width, buffer.height, target);
}

void DrawTraces(std::span<const TraceToDraw> traces, int64_t first_sample, int64_t view_span,
                PixelBuffer& buffer, TraceScratch& scratch) {
  const int64_t width = buffer.width;
  const int64_t height = buffer.height;
  if (width <= 0 || height <= 0 || traces.empty()) {
    return;
  }
  const auto count = static_cast<int64_t>(traces.size());
  scratch.run_top.assign(static_cast<size_t>(count * width), static_cast<int32_t>(height));
  scratch.run_bottom.assign(static_cast<size_t>(count * width), -1);
  // A second thread pays for tracing where columns hold more than a few samples, each of which
  // is made from its value.
  constexpr int64_t kDenseSamplesPerColumn = 32;
  const int trace_threads = view_span >= kDenseSamplesPerColumn * width ? ThreadCount(0) : 1;
  RunTasks(count, trace_threads, [&](int64_t k) {
    RunTarget runs{scratch.run_top.data() + k * width, scratch.run_bottom.data() + k * width};
    if (traces[k].reference != nullptr) {
      ReferenceTraceInto(traces[k].plot_y, *traces[k].summary, *traces[k].reference, width, height,
                         runs);
    } else {
      TraceInto(traces[k].plot_y, *traces[k].summary, first_sample, view_span, width, height, runs);
    }
  });

  // Each column is painted straight into the buffer, every pixel once: the traces are taken
  // from the last, and each paints only the rows that no later trace covers. Neighbouring
  // columns share the rows' cache lines, so the columns are taken in order.
  constexpr int64_t kLineColumns = 16;
  const auto paint_columns = [&](int64_t begin, int64_t end) {
    std::vector<Run> covered;
    std::vector<Run> merged;
    for (int64_t x = begin; x < end; ++x) {
      covered.clear();
      uint32_t* column = buffer.pixels + x * buffer.column_stride;
      for (int64_t k = count - 1; k >= 0; --k) {
        const Run run{scratch.run_top[k * width + x], scratch.run_bottom[k * width + x]};
        const ReferenceColumns* reference = traces[k].reference;
        if (run.top > run.bottom ||
            (reference != nullptr && !DashShows(x, reference->dash_on, reference->dash_off))) {
          continue;
        }
        const uint32_t argb = traces[k].argb;
        const auto paint = [&](int32_t first, int32_t last) {
          for (int64_t y = first; y <= last; ++y) {
            column[y * buffer.stride] = argb;
          }
        };
        int32_t y = run.top;
        for (const Run& done : covered) {
          if (done.bottom < y) {
            continue;
          }
          if (done.top > run.bottom) {
            break;
          }
          paint(y, done.top - 1);
          y = std::max(y, done.bottom + 1);
        }
        paint(y, run.bottom);
        AddRun(covered, run, merged);
      }
    }
  };
  const int threads = std::min(ThreadCount(0), 2);
  const int64_t middle =
      std::min(width, (width / 2 + kLineColumns - 1) / kLineColumns * kLineColumns);
  const int64_t bounds[] = {0, threads == 2 ? middle : width, width};
  RunTasks(threads, threads, [&](int64_t half) { paint_columns(bounds[half], bounds[half + 1]); });
}

}  // namespace dravik
