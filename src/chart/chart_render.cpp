#include "chart/chart_render.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "chart/graph_grid.h"
#include "chart/layout.h"
#include "chart/reference_alignment.h"
#include "chart/twips.h"
#include "common/rounding.h"

namespace dravik {
namespace {

constexpr int kDotsPerMeter96Dpi = 3780;
// The reference log's dash, in logical pixels.
constexpr double kDashOnPx = 6;
constexpr double kDashOffPx = 4;
const QColor kGridColour(128, 128, 128);

QColor ColourOf(Rgb colour) {
  return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

// The device pixels to the logical pixel that a picture from NewPicture was made for.
double PixelRatioOf(const QImage& picture) {
  return static_cast<double>(picture.dotsPerMeterY()) / kDotsPerMeter96Dpi;
}

// The chart surface's own font, Arial 8.25 pt; fontconfig substitutes where Arial is missing.
// The picture's density turns the points into its pixels.
QFont TimeLabelFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(8.25);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// The scale labels' font: Arial with a character height of 160 twips at the picture's density.
QFont ScaleLabelFont(const QImage& picture) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(TwipsToPixels(kScaleLabelFontTwips * PixelRatioOf(picture)));
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace

QImage NewPicture(QSize size_px, double pixel_ratio) {
  QImage image(size_px, QImage::Format_RGB32);
  const int dots_per_meter = static_cast<int>(RoundHalfEven(kDotsPerMeter96Dpi * pixel_ratio));
  image.setDotsPerMeterX(dots_per_meter);
  image.setDotsPerMeterY(dots_per_meter);
  image.fill(Qt::white);
  return image;
}

void RenderGraphImage(QImage& image, const LogTable& table, const PlotYStore& plot_y,
                      const ChartView& view, std::span<const int> visible_items,
                      const Settings& settings, const ReferenceTraces& reference) {
  image.fill(Qt::white);
  const int64_t span = view.view_span;
  if (image.isNull() || span <= 0) {
    return;
  }
  const int64_t width = image.width();
  const int64_t height = image.height();
  const int64_t first = FirstVisibleSample(view);
  const auto column = [&](double x) { return static_cast<int>(ChartXToColumn(x, span, width)); };
  const auto row = [&](double y) { return static_cast<int>(ChartYToRow(y, height)); };
  const int top = row(kPlotTop);
  const int bottom = row(kPlotBottom);

  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(kGridColour);
    for (int y = kPlotTop; y <= kPlotBottom; y += 1000) {
      painter.drawLine(0, row(y), column(static_cast<double>(span)), row(y));
    }
    painter.drawLine(0, top, 0, bottom);

    const QFont font = TimeLabelFont();
    painter.setFont(font);
    const QFontMetrics metrics(font, &image);
    const std::vector<int64_t> samples = GridSamples(first, span);
    std::vector<int> xs;
    QStringList labels;
    std::vector<LabelExtent> extents;
    for (const int64_t sample : samples) {
      const int x = column(static_cast<double>(sample - first));
      const QString label =
          QString::fromStdString(TimeLabel(GridTime(table, sample), settings.time_unit_sec));
      xs.push_back(x);
      labels.append(label);
      extents.push_back({x, x + metrics.horizontalAdvance(label)});
    }
    // Labels that would run into their left neighbour are left out; their grid lines stay.
    const std::vector<bool> drawn =
        LabelsToDraw(extents, metrics.horizontalAdvance(QChar(' ')), width);
    for (size_t i = 0; i < samples.size(); ++i) {
      painter.setPen(kGridColour);
      painter.drawLine(xs[i], top, xs[i], bottom);
      if (drawn[i]) {
        painter.setPen(Qt::black);
        painter.drawText(xs[i], bottom + metrics.ascent(), labels[i]);
      }
    }
  }

  PixelBuffer buffer{reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                     static_cast<int>(image.bytesPerLine() / 4)};
  std::vector<TraceToDraw> traces;
  ReferenceColumns columns;
  if (reference.log != nullptr && reference.plot_y != nullptr && reference.log->IsOpen()) {
    columns = PlaceReferenceColumns(table, *reference.log, first, span, width);
    const double ratio = PixelRatioOf(image);
    columns.dash_on = static_cast<int>(RoundHalfEven(kDashOnPx * ratio));
    columns.dash_off = static_cast<int>(RoundHalfEven(kDashOffPx * ratio));
    for (const int item : visible_items) {
      const PlotPositions& positions = reference.plot_y->PlotY(item);
      if (item >= 1 && item <= table.item_count && !positions.empty()) {
        traces.push_back({positions, &reference.plot_y->Summary(item),
                          OpaqueArgb(settings.item_colors[item - 1]), &columns});
      }
    }
  }
  for (const int item : visible_items) {
    if (item < 1 || item > table.item_count || plot_y.PlotY(item).empty()) {
      continue;
    }
    traces.push_back({plot_y.PlotY(item), &plot_y.Summary(item),
                      OpaqueArgb(ItemColour(settings.item_colors, item))});
  }
  // Drawing happens on the window's thread only; the scratch memory stays for the next redraw.
  thread_local TraceScratch scratch;
  DrawTraces(traces, first, span, buffer, scratch);
}

void RenderScaleImage(QImage& image, const ScaleStrip& strip, const ItemColors& colors) {
  image.fill(Qt::white);
  if (image.isNull()) {
    return;
  }
  const int64_t width = image.width();
  const int64_t height = image.height();
  const auto column = [&](double x) {
    return static_cast<int>(ChartXToColumn(x, strip.scale_width, width));
  };
  const auto row = [&](double y) { return static_cast<int>(ChartYToRow(y, height)); };

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  const QFont font = ScaleLabelFont(image);
  painter.setFont(font);
  const int ascent = QFontMetrics(font, &image).ascent();
  for (const ScaleAxis& axis : strip.axes) {
    const QColor colour = ColourOf(ItemColour(colors, axis.item));
    const int x = column(axis.x);
    painter.setPen(colour);
    painter.drawLine(x, row(kPlotTop), x, row(kPlotBottom));
    for (const ScaleTick& tick : axis.ticks) {
      painter.save();
      painter.translate(column(tick.label_x), row(tick.label_y));
      painter.rotate(-90);
      painter.setPen(Qt::black);
      painter.drawText(0, ascent, QString::fromStdString(tick.label));
      painter.restore();
      painter.setPen(colour);
      painter.drawLine(x, row(tick.y), column(axis.x - kScaleTickLength), row(tick.y));
    }
  }
}

QImage RenderChartImage(const LogTable& table, const Settings& settings,
                        std::span<const int> visible_items, const ChartView& view, QSize size_px) {
  QImage picture = NewPicture(size_px);
  const ScaleStrip strip = BuildScaleStrip(table, visible_items, settings.graph_scale_mode);
  const Rect back{0, 0, PixelsToTwips(size_px.width()), PixelsToTwips(size_px.height())};
  const Rect graph_rect = GraphRect(back, strip.width_twips);
  const int strip_px = TwipsToPixels(strip.width_twips);
  const int graph_px = TwipsToPixels(graph_rect.width);

  PlotYStore plot_y;
  plot_y.Keep(table, visible_items, settings.graph_scale_mode);

  QPainter painter(&picture);
  if (strip_px > 0) {
    QImage scale = NewPicture(QSize(strip_px, size_px.height()));
    RenderScaleImage(scale, strip, settings.item_colors);
    painter.drawImage(0, 0, scale);
  }
  if (graph_px > 0) {
    QImage graph = NewPicture(QSize(graph_px, size_px.height()));
    RenderGraphImage(graph, table, plot_y, view, visible_items, settings);
    painter.drawImage(TwipsToPixels(graph_rect.left), 0, graph);
  }
  return picture;
}

FileWriteResult WritePngFile(const QImage& picture, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) {
    FileWriteResult result;
    result.error = "encode " + path + " as PNG";
    result.error_number = EINVAL;
    return result;
  }
  return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace dravik
