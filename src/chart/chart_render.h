#pragma once

#include <span>
#include <string>

#include <QImage>

#include "chart/plot_y_store.h"
#include "chart/scale_labels.h"
#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "common/file_io.h"
#include "common/settings.h"
#include "log/log_table.h"
#include "log/reference_log.h"

namespace dravik {

// A blank picture of `size_px` pixels at 96 x pixel_ratio dots per inch: RenderGraphImage and
// RenderScaleImage draw into its own pixels at that density, lines one pixel wide and text at its
// point size, so that a screen with pixel_ratio device pixels to the logical pixel gets a picture
// of its device pixels rather than one of logical pixels enlarged.
QImage NewPicture(QSize size_px, double pixel_ratio = 1);

// A reference log drawn under the main log's traces: the log, and its positions by main item on
// the main items' scales (none for an item it lacks).
struct ReferenceTraces {
  const ReferenceLog* log = nullptr;
  const PlotYStore* plot_y = nullptr;
};

// Draws the chart picture into `image` (the chart's size in its pixels): white, the grey grid and
// the time labels under the plot band, then the trace of every item of `visible_items` in its
// colour, each through the core's rasteriser into the image's pixels; `plot_y` holds the
// positions and summary of every visible item (others are left out). With an open `reference`,
// its traces of the visible items come first, dashed in the items' colours, at the times its
// offset puts them (PlaceReferenceColumns), the dash 6 pixels on and 4 off at the picture's
// density. Nothing but the background when view.view_span is 0.
void RenderGraphImage(QImage& image, const LogTable& table, const PlotYStore& plot_y,
                      const ChartView& view, std::span<const int> visible_items,
                      const Settings& settings, const ReferenceTraces& reference = {});

// Draws the scale strip into `image` (the strip's size in its pixels): for each axis of `strip` its
// line and ticks in the item's colour and its labels in black, rotated to read bottom to top.
void RenderScaleImage(QImage& image, const ScaleStrip& strip, const ItemColors& colors);

// The chart as the main window shows it, size_px in all: the scale strip of `visible_items` at
// the left and the chart filling the rest (the chart vanishes when the strip takes the width).
QImage RenderChartImage(const LogTable& table, const Settings& settings,
                        std::span<const int> visible_items, const ChartView& view, QSize size_px);

// Writes `picture` as a PNG file at `path` through WriteFileAtomically: a picture that cannot be
// encoded or written in full leaves no file behind and the previous file of that name as it was.
FileWriteResult WritePngFile(const QImage& picture, const std::string& path);

}  // namespace dravik
