#include "chart/trace_raster.h"

#include <algorithm>
#include <cstdlib>

#include "chart/scaling.h"
#include "common/parallel.h"

namespace dravik {
namespace {

// The pen of a trace: consecutive points joined by lines without their last pixel; repeated
// points draw nothing and are dropped.
class Pen {
 public:
  Pen(PixelBuffer& buffer, uint32_t argb) : buffer_(buffer), argb_(argb) {}

  void To(int64_t x, int64_t y) {
    if (!placed_) {
      placed_ = true;
    } else if (x != x_ || y != y_) {
      DrawLineWithoutLastPixel(buffer_, x_, y_, x, y, argb_);
    }
    x_ = x;
    y_ = y;
  }

  // Fills rows top..bottom of column x, where the pen stands, and leaves the pen at (x, y).
  void FillColumnAndStay(int64_t top, int64_t bottom, int64_t y) {
    DrawLineWithoutLastPixel(buffer_, x_, top, x_, bottom + 1, argb_);
    y_ = y;
  }

 private:
  PixelBuffer& buffer_;
  uint32_t argb_;
  bool placed_ = false;
  int64_t x_ = 0;
  int64_t y_ = 0;
};

// Offsets that can be drawn: the view, cut where the positions end. -1 when nothing can be drawn.
int64_t LastDrawableOffset(std::span<const int16_t> plot_y, int64_t first_sample, int64_t view_span,
                           const PixelBuffer& buffer) {
  const int64_t count = static_cast<int64_t>(plot_y.size());
  if (buffer.width <= 0 || buffer.height <= 0 || view_span <= 0 || first_sample < 0 ||
      first_sample >= count) {
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
void RangeExtremes(std::span<const int16_t> plot_y, const PlotYSummary& summary, int64_t first,
                   int64_t last, int16_t& lowest, int16_t& highest) {
  constexpr int64_t kBlock = PlotYSummary::kBlockSamples;
  lowest = plot_y[first];
  highest = plot_y[first];
  const int64_t first_block = (first + kBlock - 1) / kBlock;
  const int64_t end_block = (last + 1) / kBlock;  // blocks before it end within the range
  if (first_block >= end_block) {
    ScanExtremes(plot_y.data() + first, plot_y.data() + last + 1, lowest, highest);
    return;
  }
  ScanExtremes(plot_y.data() + first, plot_y.data() + first_block * kBlock, lowest, highest);
  BlockExtremes(summary, first_block, end_block, lowest, highest);
  ScanExtremes(plot_y.data() + end_block * kBlock, plot_y.data() + last + 1, lowest, highest);
}

}  // namespace

uint32_t OpaqueArgb(Rgb colour) {
  return 0xFF000000u | static_cast<uint32_t>(RedOf(colour)) << 16 |
         static_cast<uint32_t>(GreenOf(colour)) << 8 | static_cast<uint32_t>(BlueOf(colour));
}

void DrawLineWithoutLastPixel(PixelBuffer& buffer, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                              uint32_t argb) {
  const int64_t width = buffer.width;
  const int64_t height = buffer.height;
  if (x0 == x1) {
    // Vertical runs are most of a dense trace: fill the clipped run directly.
    if (x0 < 0 || x0 >= width || y0 == y1) {
      return;
    }
    const int64_t top = y0 < y1 ? y0 : y1 + 1;
    const int64_t bottom = y0 < y1 ? y1 - 1 : y0;
    uint32_t* column = buffer.pixels + x0 * buffer.column_stride;
    for (int64_t y = std::max<int64_t>(top, 0); y <= std::min(bottom, height - 1); ++y) {
      column[y * buffer.stride] = argb;
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
      buffer.pixels[y0 * buffer.stride + x0 * buffer.column_stride] = argb;
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

PlotYSummary SummarisePlotY(std::span<const int16_t> plot_y) {
  constexpr int64_t kBlock = PlotYSummary::kBlockSamples;
  const int64_t count = static_cast<int64_t>(plot_y.size());
  const int64_t blocks = (count + kBlock - 1) / kBlock;
  PlotYSummary summary;
  summary.block_min.resize(blocks);
  summary.block_max.resize(blocks);
  for (int64_t b = 0; b < blocks; ++b) {
    int16_t lowest = plot_y[b * kBlock];
    int16_t highest = lowest;
    ScanExtremes(plot_y.data() + b * kBlock, plot_y.data() + std::min(count, (b + 1) * kBlock),
                 lowest, highest);
    summary.block_min[b] = lowest;
    summary.block_max[b] = highest;
  }
  const int64_t groups = blocks / kBlock;
  summary.group_min.resize(groups);
  summary.group_max.resize(groups);
  for (int64_t g = 0; g < groups; ++g) {
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
  return summary;
}

void SummarisePlotYOf(const LogTable& table, std::span<const int> items,
                      std::vector<PlotYSummary>& summaries, int threads) {
  if (summaries.size() < static_cast<size_t>(table.item_count) + 1) {
    summaries.resize(static_cast<size_t>(table.item_count) + 1);
  }
  std::vector<int> missing;
  for (const int item : items) {
    if (item >= 1 && item <= table.item_count && summaries[item].block_min.empty()) {
      missing.push_back(item);
    }
  }
  // An item named twice must not be summarised by two threads at once.
  std::sort(missing.begin(), missing.end());
  missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
  // Items go to whichever thread is free next: one item's work is the same for all, but a thread
  // may lose its core for a while to something else on the machine.
  RunTasks(static_cast<int64_t>(missing.size()), ThreadCount(threads),
           [&](int64_t k) { summaries[missing[k]] = SummarisePlotY(table.PlotY(missing[k])); });
}

void DrawTraceEverySegment(std::span<const int16_t> plot_y, int64_t first_sample, int64_t view_span,
                           PixelBuffer& buffer, uint32_t argb) {
  const int64_t last = LastDrawableOffset(plot_y, first_sample, view_span, buffer);
  Pen pen(buffer, argb);
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
void DrawTrace(std::span<const int16_t> plot_y, const PlotYSummary& summary, int64_t first_sample,
               int64_t view_span, PixelBuffer& buffer, uint32_t argb) {
  const int64_t last = LastDrawableOffset(plot_y, first_sample, view_span, buffer);
  const int64_t width = buffer.width;
  const int64_t height = buffer.height;
  Pen pen(buffer, argb);
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

void DrawTraces(std::span<const TraceToDraw> traces, int64_t first_sample, int64_t view_span,
                PixelBuffer& buffer, TraceScratch& scratch) {
  const int64_t width = buffer.width;
  const int64_t height = buffer.height;
  if (width <= 0 || height <= 0 || traces.empty()) {
    return;
  }
  // A second thread pays for itself only where columns hold many samples and runs are tall.
  constexpr int64_t kDenseSamplesPerColumn = 256;
  const bool two_threads =
      traces.size() >= 2 && ThreadCount(0) >= 2 && view_span >= kDenseSamplesPerColumn * width;
  const size_t split = two_threads ? traces.size() / 2 : traces.size();
  const auto draw = [&](std::vector<uint32_t>& pixels, std::span<const TraceToDraw> part) {
    pixels.assign(static_cast<size_t>(width * height), 0);
    PixelBuffer columns{pixels.data(), buffer.width, buffer.height, 1, buffer.height};
    for (const TraceToDraw& trace : part) {
      DrawTrace(trace.plot_y, *trace.summary, first_sample, view_span, columns, trace.argb);
    }
  };
  // A band of 16 columns at a time, so that the buffer is written a whole cache line per row.
  constexpr int64_t kBand = 16;
  const uint32_t* earlier = scratch.pixels.data();
  const auto lay_over = [&](const uint32_t* later, int64_t band_begin, int64_t band_end) {
    for (int64_t band = band_begin; band < band_end; band += kBand) {
      const int64_t columns_end = std::min(width, band + kBand);
      for (int64_t y = 0; y < height; ++y) {
        uint32_t* row = buffer.pixels + y * buffer.stride;
        for (int64_t x = band; x < columns_end; ++x) {
          const auto at = static_cast<size_t>(x * height + y);
          const uint32_t painted = later != nullptr && later[at] != 0 ? later[at] : earlier[at];
          if (painted != 0) {
            row[x * buffer.column_stride] = painted;
          }
        }
      }
    }
  };
  if (!two_threads) {
    draw(scratch.pixels, traces);
    earlier = scratch.pixels.data();
    lay_over(nullptr, 0, width);
    return;
  }
  // The two halves of the traces on two threads, then the two halves of the columns.
  std::vector<uint32_t>* const copies[] = {&scratch.pixels, &scratch.later};
  const std::span<const TraceToDraw> parts[] = {traces.first(split), traces.subspan(split)};
  RunTasks(2, 2, [&](int64_t half) { draw(*copies[half], parts[half]); });
  earlier = scratch.pixels.data();
  const uint32_t* later = scratch.later.data();
  const int64_t middle = (width / 2 + kBand - 1) / kBand * kBand;
  const int64_t bounds[] = {0, middle, width};
  RunTasks(2, 2, [&](int64_t half) { lay_over(later, bounds[half], bounds[half + 1]); });
}

}  // namespace dravik
