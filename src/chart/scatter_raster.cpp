#include "chart/scatter_raster.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "chart/trace_raster.h"
#include "common/parallel.h"
#include "common/rounding.h"

namespace dravik {
namespace {

constexpr double kAxisMargin = 0.02;

// Per-pixel state of one thread's share: the last sample (offset from the selection's first, plus
// one; 0 for none) or the count of samples.
using PixelState = std::vector<uint64_t>;

struct Mapping {
  double x_min = 0;
  double x_scale = 0;
  double y_min = 0;
  double y_scale = 0;
  int width = 0;
  int height = 0;
  int point = 1;
};

// Calls mark(pixel index) for each pixel of the point of sample value (x, y).
template <typename Mark>
inline void MarkPoint(const Mapping& m, double x, double y, Mark&& mark) {
  const double fx = (x - m.x_min) * m.x_scale;
  const double fy = (y - m.y_min) * m.y_scale;
  if (!(fx > -1 && fx < m.width && fy > -1 && fy < m.height)) {
    return;
  }
  // Within -1..size the values are small enough for the branch-free rounding.
  const auto px = static_cast<int64_t>(RoundHalfEvenSmall(fx));
  const auto py = m.height - 1 - static_cast<int64_t>(RoundHalfEvenSmall(fy));
  if (m.point == 1) {
    if (px >= 0 && px < m.width && py >= 0 && py < m.height) {
      mark(py * m.width + px);
    }
    return;
  }
  const int64_t left = px - (m.point - 1) / 2;
  const int64_t top = py - (m.point - 1) / 2;
  for (int64_t row = std::max<int64_t>(top, 0); row < std::min<int64_t>(top + m.point, m.height);
       ++row) {
    for (int64_t col = std::max<int64_t>(left, 0); col < std::min<int64_t>(left + m.point, m.width);
         ++col) {
      mark(row * m.width + col);
    }
  }
}

Rgb Blend(Rgb a, Rgb b, double t) {
  const auto mix = [t](int u, int v) { return static_cast<int>(RoundHalfEven(u + (v - u) * t)); };
  return MakeRgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

Rgb ScaleColour(const Rgb* stops, int count, double t) {
  t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0) * (count - 1);
  const int k = std::min(static_cast<int>(t), count - 2);
  return Blend(stops[k], stops[k + 1], t - k);
}

}  // namespace

PlotRange AxisRangeOf(double min, double max) {
  if (min < max) {
    // A margin, so that the points at the extremes are drawn whole inside the axes.
    const double margin = (max - min) * kAxisMargin;
    return {min - margin, max + margin};
  }
  const double half = min != 0 ? std::fabs(min) * 0.1 : 1.0;
  return {min - half, min + half};
}

std::vector<double> RoundTicks(const PlotRange& range, int max_ticks) {
  const double span = range.max - range.min;
  if (!(span > 0) || max_ticks < 1) {
    return {};
  }
  const double raw = span / max_ticks;
  int exponent = static_cast<int>(std::floor(std::log10(raw)));
  int mantissa = 10;
  for (const int m : {1, 2, 5, 10}) {
    if (m * std::pow(10.0, exponent) >= raw) {
      mantissa = m;
      break;
    }
  }
  if (mantissa == 10) {
    mantissa = 1;
    ++exponent;
  }
  const double power = std::pow(10.0, std::abs(exponent));
  const auto tick = [&](int64_t k) {
    const double units = static_cast<double>(k * mantissa);
    return exponent < 0 ? units / power : units * power;
  };
  const double step = exponent < 0 ? mantissa / power : mantissa * power;
  std::vector<double> ticks;
  for (int64_t k = static_cast<int64_t>(std::ceil(range.min / step));; ++k) {
    const double v = tick(k);
    if (v < range.min) {
      continue;
    }
    if (v > range.max) {
      break;
    }
    ticks.push_back(v);
  }
  return ticks;
}

int64_t ValueToPixel(const PlotRange& range, int pixels, double v) {
  return RoundHalfEven((v - range.min) * (pixels - 1) / (range.max - range.min));
}

double PixelToValue(const PlotRange& range, int pixels, double p) {
  return range.min + p * (range.max - range.min) / std::max(pixels - 1, 1);
}

PlotRange ZoomRange(const PlotRange& range, int pixels, double p0, double p1) {
  const double a = PixelToValue(range, pixels, std::min(p0, p1));
  const double b = PixelToValue(range, pixels, std::max(p0, p1));
  return {a, b};
}

Rgb ValueScaleColour(double t) {
  static constexpr Rgb kStops[] = {MakeRgb(0, 0, 255), MakeRgb(0, 200, 255), MakeRgb(0, 200, 0),
                                   MakeRgb(240, 220, 0), MakeRgb(255, 0, 0)};
  return ScaleColour(kStops, 5, t);
}

Rgb DensityScaleColour(double t) {
  static constexpr Rgb kStops[] = {MakeRgb(200, 215, 240), MakeRgb(70, 110, 190),
                                   MakeRgb(10, 20, 80)};
  return ScaleColour(kStops, 3, t);
}

namespace {

// The threads' pixels gathered in the first's: counts added for the density, otherwise the
// highest mark kept, which is the latest sample.
void MergePixelStates(std::vector<PixelState>& states, bool density) {
  PixelState& merged = states.front();
  const size_t pixels = merged.size();
  for (size_t t = 1; t < states.size(); ++t) {
    const uint64_t* other = states[t].data();
    if (density) {
      for (size_t p = 0; p < pixels; ++p) {
        merged[p] += other[p];
      }
    } else {
      for (size_t p = 0; p < pixels; ++p) {
        merged[p] = std::max(merged[p], other[p]);
      }
    }
  }
}

// Each counted pixel on the light-to-dark scale, by the logarithm of its count.
void PaintDensity(const PixelState& counts, ScatterImage& image) {
  const uint64_t most = *std::max_element(counts.begin(), counts.end());
  image.max_density = static_cast<int64_t>(most);
  image.density.assign(counts.begin(), counts.end());
  const double scale = most > 0 ? 1.0 / std::log1p(static_cast<double>(most)) : 0.0;
  for (size_t p = 0; p < counts.size(); ++p) {
    if (counts[p] != 0) {
      image.argb[p] =
          OpaqueArgb(DensityScaleColour(std::log1p(static_cast<double>(counts[p])) * scale));
    }
  }
}

// Each marked pixel in the colour of its sample's value; marks count from the first sample as 1.
void PaintValues(const PixelState& marks, const float* zs, const PlotRange& colour_range,
                 int64_t first, ScatterImage& image) {
  const double z_min = colour_range.min;
  const double z_span = colour_range.max - colour_range.min;
  image.sample_at.assign(marks.size(), -1);
  for (size_t p = 0; p < marks.size(); ++p) {
    if (marks[p] != 0) {
      const int64_t sample = first + static_cast<int64_t>(marks[p]) - 1;
      image.sample_at[p] = sample;
      const double z = zs[sample];
      image.argb[p] = OpaqueArgb(ValueScaleColour(z_span > 0 ? (z - z_min) / z_span : 0.5));
    }
  }
}

}  // namespace

ScatterImage RenderScatter(const LogTable& table, const ScatterRequest& request, int threads) {
  ScatterImage image;
  image.width = std::max(request.width_px, 1);
  image.height = std::max(request.height_px, 1);
  const size_t pixels = static_cast<size_t>(image.width) * image.height;
  image.argb.assign(pixels, 0);
  const SampleSelection& selection = request.selection;
  if (selection.last < selection.first) {
    return image;
  }
  Mapping m;
  m.width = image.width;
  m.height = image.height;
  m.point = std::max(request.point_px, 1);
  m.x_min = request.x_range.min;
  m.x_scale = (image.width - 1) / (request.x_range.max - request.x_range.min);
  m.y_min = request.y_range.min;
  m.y_scale = (image.height - 1) / (request.y_range.max - request.y_range.min);
  const float* xs = table.Values(request.x_item).data();
  const float* ys = table.Values(request.y_item).data();
  const float* filter = FilterValues(table, selection);
  const bool density = request.colour_item < 0;

  // Each thread takes one contiguous share in order, so a later sample within a share overwrites
  // an earlier one and the highest offset wins between shares.
  const int thread_count = ThreadCount(threads);
  const std::vector<int64_t> shares =
      SampleRanges(selection.last - selection.first + 1, thread_count,
                   (selection.last - selection.first + thread_count) / thread_count);
  std::vector<PixelState> states(shares.size() - 1);
  RunTasks(static_cast<int64_t>(states.size()), thread_count, [&](int64_t t) {
    PixelState& state = states[t];
    state.assign(pixels, 0);
    uint64_t* cells = state.data();
    const int64_t begin = selection.first + shares[t];
    const int64_t end = selection.first + shares[t + 1];
    const auto mark_samples = [&](auto with_filter, auto counting) {
      int64_t run_pixel = -1;
      uint64_t run_count = 0;
      for (int64_t s = begin; s < end; ++s) {
        if constexpr (with_filter) {
          if (!PassesFilter(filter, selection, s)) {
            continue;
          }
        }
        const uint64_t mark = static_cast<uint64_t>(s - selection.first + 1);
        MarkPoint(m, xs[s], ys[s], [&](int64_t p) {
          if constexpr (counting) {
            // Runs of samples on one pixel are counted in a register, so that no sample waits
            // for the store of the one before.
            if (p != run_pixel) {
              if (run_pixel >= 0) {
                cells[run_pixel] += run_count;
              }
              run_pixel = p;
              run_count = 0;
            }
            ++run_count;
          } else {
            cells[p] = mark;
          }
        });
      }
      if (run_pixel >= 0) {
        cells[run_pixel] += run_count;
      }
    };
    // One loop for each case, so that the common one tests nothing it does not need.
    if (filter != nullptr) {
      density ? mark_samples(std::true_type{}, std::true_type{})
              : mark_samples(std::true_type{}, std::false_type{});
    } else {
      density ? mark_samples(std::false_type{}, std::true_type{})
              : mark_samples(std::false_type{}, std::false_type{});
    }
  });
  MergePixelStates(states, density);
  if (density) {
    PaintDensity(states.front(), image);
  } else {
    PaintValues(states.front(), table.Values(request.colour_item).data(), request.colour_range,
                selection.first, image);
  }
  return image;
}

ScatterPlot MakeScatterPlot(const LogTable& table, ScatterRequest request, const PlotRange* x_zoom,
                            const PlotRange* y_zoom, int threads) {
  ScatterPlot plot;
  if (request.selection.last - request.selection.first + 1 < 2) {
    plot.too_few_samples = true;
    return plot;
  }
  std::vector<int> items = {request.x_item, request.y_item};
  if (request.colour_item >= 0) {
    items.push_back(request.colour_item);
  }
  const SelectedExtremes extremes = FindSelectedExtremes(table, request.selection, items, threads);
  if (extremes.count == 0) {
    return plot;
  }
  plot.x_data = AxisRangeOf(extremes.min[0], extremes.max[0]);
  plot.y_data = AxisRangeOf(extremes.min[1], extremes.max[1]);
  plot.x_range = x_zoom != nullptr ? *x_zoom : plot.x_data;
  plot.y_range = y_zoom != nullptr ? *y_zoom : plot.y_data;
  if (request.colour_item >= 0) {
    plot.colour_range = {extremes.min[2], extremes.max[2]};
  }
  request.x_range = plot.x_range;
  request.y_range = plot.y_range;
  request.colour_range = plot.colour_range;
  plot.image = RenderScatter(table, request, threads);
  plot.ok = true;
  return plot;
}

}  // namespace dravik
