#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "chart/scaling.h"
#include "common/settings.h"
#include "log/log_table.h"

namespace dravik {

// A 32-bit pixel image to draw into: width x height pixels, pixel (x, y) at
// pixels + y * stride + x * column_stride (strides in pixels; a row-major image has stride = bytes
// per line / 4 and column_stride 1, a column-major one stride 1 and column_stride = its height).
struct PixelBuffer {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int column_stride = 1;
};

// The opaque ARGB32 pixel (0xFFRRGGBB) of a colour.
uint32_t OpaqueArgb(Rgb colour);

// Bresenham line from (x0, y0) towards (x1, y1) in pixels, without the pixel (x1, y1) itself, as a
// pen that moves to a point and draws a line to the next one leaves it; a line to the point where
// the pen stands draws nothing. Pixels outside the buffer are skipped.
void DrawLineWithoutLastPixel(PixelBuffer& buffer, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                              uint32_t argb);

// Smallest and largest chart position of each block of 64 consecutive samples of one item (the
// last block may be shorter), so that the extremes of a long run of samples are found without
// visiting every sample. Made when the item is first drawn.
struct PlotYSummary {
  static constexpr int64_t kBlockSamples = 64;
  // Samples in a group of 64 whole blocks.
  static constexpr int64_t kGroupSamples = kBlockSamples * kBlockSamples;
  std::vector<int16_t> block_min;
  std::vector<int16_t> block_max;
  // The same for groups of 64 whole blocks (4096 samples), for the widest pixel columns.
  std::vector<int16_t> group_min;
  std::vector<int16_t> group_max;
};
PlotYSummary SummarisePlotY(const PlotPositions& plot_y);

// A summary of plot_y with room for all its blocks and groups, not yet filled.
PlotYSummary SummaryRoomFor(int64_t samples);
// Fills the blocks and groups of `summary` (made by SummaryRoomFor(plot_y.size())) that begin in
// samples first..end - 1; first is a multiple of kGroupSamples and end one or plot_y's size, so
// that pieces of a log can be summarised on different threads.
void SummarisePlotYRange(const PlotPositions& plot_y, int64_t first, int64_t end,
                         PlotYSummary& summary);

// An item's trace exactly as a pen drawing one segment per sample: moves to column 0 at the row of
// plot_y[first_sample], then for I = 1..view_span draws to (column of I, row of
// plot_y[first_sample + I]), each segment without its last pixel. Columns are
// round(I * width / view_span) and rows round(y * height / 10800), halves to even; both are taken
// as exact rational roundings rather than through the inexact factors view_span / width and
// 10800 / height, so a true half always rounds to even. Samples beyond plot_y are not drawn.
// Costs one segment per sample; the reference for DrawTrace.
void DrawTraceEverySegment(const PlotPositions& plot_y, int64_t first_sample, int64_t view_span,
                           PixelBuffer& buffer, uint32_t argb);

// The same pixels as DrawTraceEverySegment at a cost that follows the width instead of the
// number of samples: within a pixel column only the first, lowest, highest and last point can
// change the picture, and the extremes come from `summary` (SummarisePlotY of the same plot_y).
void DrawTrace(const PlotPositions& plot_y, const PlotYSummary& summary, int64_t first_sample,
               int64_t view_span, PixelBuffer& buffer, uint32_t argb);

// Where the points of a reference log's trace stand on a picture: the points are its samples
// first..last in order, their columns never falling. starts[c] (c = 0..width) is the first point
// in column c or beyond; the one point before starts[0] that is drawn stands left of the picture
// at lead_column, and the point at starts[width], when there is one, right of it at tail_column.
// The trace is dashed by columns: columns x with x mod (dash_on + dash_off) >= dash_on are left
// out, so that the dash costs nothing and keeps the trace exact.
struct ReferenceColumns {
  int64_t first = 0;
  int64_t last = -1;
  int64_t lead_column = -1;
  int64_t tail_column = 0;
  std::vector<int64_t> starts;
  int dash_on = 6;
  int dash_off = 4;
};

// Whether a trace dashed dash_on columns on, dash_off off shows in column x.
bool DashShows(int64_t x, int dash_on, int dash_off);

// A point of a polyline in pixels.
struct PixelPoint {
  int64_t x = 0;
  int64_t y = 0;
};

// The polyline through `points` as a pen draws it, one segment after the other, each without its
// last pixel, leaving out the columns of the dash's gaps. Costs one segment per point; the
// reference for a reference trace of DrawTraces.
void DrawDashedPolylineEverySegment(std::span<const PixelPoint> points, int dash_on, int dash_off,
                                    PixelBuffer& buffer, uint32_t argb);

// One trace for DrawTraces: an item's positions, their SummarisePlotY and its opaque colour. A
// reference log's trace has `reference` set: plot_y holds the reference's positions, drawn as the
// polyline of (its column, ChartYToRow of its position) over the points of `reference`, dashed.
struct TraceToDraw {
  PlotPositions plot_y;
  const PlotYSummary* summary = nullptr;
  uint32_t argb = 0;
  const ReferenceColumns* reference = nullptr;
};

// Memory that DrawTraces keeps between redraws.
struct TraceScratch {
  std::vector<int32_t> run_top;  // per trace and column, the rows it paints there: top..bottom
  std::vector<int32_t> run_bottom;
};

// The traces in order, later ones over earlier ones, with exactly the pixels of DrawTrace called
// for each in turn (of DrawDashedPolylineEverySegment for a reference trace). Each trace is reduced
// to the one run of rows it paints in each column (the traces shared among two threads where the
// machine has them and columns hold many samples); the runs are then painted a band of columns at a
// time into a copy small enough to stay in the cache and laid over the buffer (the two halves of
// the columns on two threads), so that the cost follows the picture's pixels once rather than every
// pixel of every trace. Colours must be opaque: the copy marks pixels that no trace painted with 0.
void DrawTraces(std::span<const TraceToDraw> traces, int64_t first_sample, int64_t view_span,
                PixelBuffer& buffer, TraceScratch& scratch);

}  // namespace dravik
