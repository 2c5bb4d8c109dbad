#pragma once

#include <cstdint>
#include <vector>

#include "chart/sample_selection.h"
#include "common/settings.h"
#include "log/log_table.h"

namespace dravik {

// The values an axis of the scatter covers, min < max.
struct PlotRange {
  double min = 0;
  double max = 1;
};

// The axis range for data from min to max: the data's own range with 2 % of it added each way, or
// around a constant value (10 % of it each way, 1 each way around 0) so that the axis has a length.
PlotRange AxisRangeOf(double min, double max);

// Round steps for an axis: the multiples within the range of the smallest step of 1, 2 or 5 times
// a power of ten that gives at most max_ticks steps over the range (0.1 over 0..0.75 with 8 ticks
// gives 0, 0.1, ..., 0.7). Each value is the step's multiple computed in decimal, so 0.3 is the
// double nearest to 0.3.
std::vector<double> RoundTicks(const PlotRange& range, int max_ticks);

// Pixel column 0..pixels - 1 of value v: min maps to 0 and max to pixels - 1, rounded half to even.
// May lie outside 0..pixels - 1 for values outside the range.
int64_t ValueToPixel(const PlotRange& range, int pixels, double v);
// The value at pixel p (the inverse of ValueToPixel, not rounded).
double PixelToValue(const PlotRange& range, int pixels, double p);
// The range between pixels p0 and p1 (either order) of an axis of `pixels` pixels, for zooming
// into a dragged rectangle; p0 and p1 must differ.
PlotRange ZoomRange(const PlotRange& range, int pixels, double p0, double p1);

// Colour of t in 0..1 on the scale from blue through cyan, green and yellow to red.
Rgb ValueScaleColour(double t);
// Colour of t in 0..1 on the scale from light (few samples) to dark (many).
Rgb DensityScaleColour(double t);

struct ScatterRequest {
  int x_item = 1;
  int y_item = 1;
  int colour_item = -1;  // -1: no third item, the pixels show the density
  SampleSelection selection;
  PlotRange x_range;  // the view; samples outside it are not drawn
  PlotRange y_range;
  PlotRange colour_range;  // values of the third item mapped to the ends of the scale
  int width_px = 1;
  int height_px = 1;
  int point_px = 1;  // side of each sample's square point
};

// The plot's pixels, row-major from the top, ARGB32 (0xAARRGGBB): 0 (transparent) where no
// sample falls.
struct ScatterImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  // With a third item: the sample shown on each pixel, -1 where none.
  std::vector<int64_t> sample_at;
  // Without one: the samples on each pixel, and the most on one pixel.
  std::vector<int64_t> density;
  int64_t max_density = 0;
};

// One point per selected sample at (x, y), y upwards. With a third item, each pixel takes the
// colour of the last sample (highest index) on it, whatever the threads; without one, each pixel
// counts its samples and takes the density colour of log(1 + count) / log(1 + max_density).
// Runs on up to `threads` threads (0: one per hardware thread).
ScatterImage RenderScatter(const LogTable& table, const ScatterRequest& request, int threads = 0);

// A scatter plot ready to be shown: its axes and colour range and its pixels.
struct ScatterPlot {
  bool ok = false;  // false: too few samples or none counted; nothing else is set
  bool too_few_samples = false;
  PlotRange x_range;
  PlotRange y_range;
  PlotRange colour_range;  // with a third item
  PlotRange x_data;        // the counted samples' own ranges, which a zoom returns to
  PlotRange y_data;
  ScatterImage image;
};

// The scatter of `request` over the data's own ranges (AxisRangeOf of the counted samples'
// extremes), or over the zoomed ranges given; the request's ranges are set here. A selection of
// fewer than 2 samples is too_few_samples; one whose filter leaves none is neither ok nor that.
ScatterPlot MakeScatterPlot(const LogTable& table, ScatterRequest request,
                            const PlotRange* x_zoom = nullptr, const PlotRange* y_zoom = nullptr,
                            int threads = 0);

}  // namespace dravik
