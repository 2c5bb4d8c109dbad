#include "panel/scatter_view.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "chart/trace_raster.h"
#include "common/number_format.h"
#include "common/rounding.h"

namespace dravik {
namespace {

QColor ColourOf(Rgb rgb) {
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

QString Label(double value) {
  return QString::fromStdString(FormatGeneral(value));
}

// Least pixels between two labels of an axis.
constexpr int kLabelSpacingPx = 70;
constexpr int kColourBarGapPx = 12;
constexpr int kColourBarWidthPx = 14;

// Room for a value label beside an axis or the colour bar.
int LabelWidth(const QFontMetrics& metrics) {
  return metrics.horizontalAdvance(QStringLiteral("-0000.00"));
}

}  // namespace

ScatterView::ScatterView(QWidget* parent)
    : QWidget(parent), rubber_band_(new QRubberBand(QRubberBand::Rectangle, this)) {
  setMouseTracking(true);
  setMinimumSize(320, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScatterView::ShowPlot(std::shared_ptr<const ScatterPlot> plot, const QString& x_title,
                           const QString& y_title, const QString& colour_title) {
  plot_ = std::move(plot);
  const ScatterImage& image = plot_->image;
  // The pixels stay owned by the plot, which this view keeps as long as the picture.
  picture_ = QImage(reinterpret_cast<const uchar*>(image.argb.data()), image.width, image.height,
                    image.width * 4, QImage::Format_ARGB32);
  picture_.setDevicePixelRatio(devicePixelRatioF());
  x_title_ = x_title;
  y_title_ = y_title;
  colour_title_ = colour_title;
  message_.clear();
  update();
}

void ScatterView::ShowMessage(const QString& message) {
  plot_.reset();
  picture_ = QImage();
  message_ = message;
  update();
}

QRect ScatterView::PlotRect() const {
  const QFontMetrics metrics(font());
  const int line = metrics.height();
  const int label = LabelWidth(metrics);
  const int left = label + 2 * line;
  // Room for the colour bar, which a density plot has as well, its labels and its title.
  const int right = kColourBarGapPx + kColourBarWidthPx + 6 + label + 4 + line + 4;
  return QRect(left, line, std::max(width() - left - right, 16),
               std::max(height() - line - 3 * line, 16));
}

QSize ScatterView::PlotSizeDevicePx() const {
  const QRect plot = PlotRect();
  const double ratio = devicePixelRatioF();
  return QSize(static_cast<int>(RoundHalfEven(plot.width() * ratio)),
               static_cast<int>(RoundHalfEven(plot.height() * ratio)));
}

int ScatterView::PointSizeDevicePx(int64_t samples) const {
  const double ratio = devicePixelRatioF();
  const double side = samples < 20'000 ? 3 : samples < 200'000 ? 2 : 1;
  return std::max(1, static_cast<int>(RoundHalfEven(side * ratio)));
}

QPointF ScatterView::DevicePixelAt(QPointF pos) const {
  const QRect plot = PlotRect();
  const double ratio = devicePixelRatioF();
  return QPointF((pos.x() - plot.left()) * ratio, (pos.y() - plot.top()) * ratio);
}

void ScatterView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (plot_ == nullptr) {
    painter.setPen(QColor(160, 0, 0));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
    return;
  }
  const QRect plot = PlotRect();
  PaintAxes(painter, plot);
  painter.drawImage(QRectF(plot), picture_);
  painter.setPen(Qt::black);
  painter.drawRect(plot.adjusted(0, 0, -1, -1));
  PaintColourBar(painter, plot);
}

void ScatterView::PaintAxes(QPainter& painter, const QRect& plot) const {
  const QFontMetrics metrics(font());
  const QSize device = PlotSizeDevicePx();
  const double ratio = devicePixelRatioF();
  const int x_ticks = std::max(2, plot.width() / kLabelSpacingPx);
  const int y_ticks = std::max(2, plot.height() / (metrics.height() * 3));
  for (const double v : RoundTicks(plot_->x_range, x_ticks)) {
    const double x =
        plot.left() + static_cast<double>(ValueToPixel(plot_->x_range, device.width(), v)) / ratio;
    painter.setPen(QColor(225, 225, 225));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
    const QString text = Label(v);
    painter.drawText(
        QPointF(x - metrics.horizontalAdvance(text) / 2.0, plot.bottom() + 4 + metrics.ascent()),
        text);
  }
  for (const double v : RoundTicks(plot_->y_range, y_ticks)) {
    const double y = plot.bottom() -
                     static_cast<double>(ValueToPixel(plot_->y_range, device.height(), v)) / ratio;
    painter.setPen(QColor(225, 225, 225));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
    const QString text = Label(v);
    painter.drawText(
        QPointF(plot.left() - 6 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2.0 - 1),
        text);
  }
  painter.drawText(
      QRect(plot.left(), plot.bottom() + 4 + metrics.height(), plot.width(), metrics.height() * 2),
      Qt::AlignHCenter | Qt::AlignTop, x_title_);
  painter.save();
  painter.translate(0, plot.bottom());
  painter.rotate(-90);
  painter.drawText(QRect(0, 2, plot.height(), metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                   y_title_);
  painter.restore();
}

void ScatterView::PaintColourBar(QPainter& painter, const QRect& plot) const {
  const QFontMetrics metrics(font());
  const QRect bar(plot.right() + kColourBarGapPx, plot.top(), kColourBarWidthPx, plot.height());
  const bool density = colour_title_.isEmpty();
  for (int row = 0; row < bar.height(); ++row) {
    const double t = 1.0 - static_cast<double>(row) / std::max(bar.height() - 1, 1);
    painter.setPen(ColourOf(density ? DensityScaleColour(t) : ValueScaleColour(t)));
    painter.drawLine(bar.left(), bar.top() + row, bar.right(), bar.top() + row);
  }
  painter.setPen(Qt::black);
  painter.drawRect(bar.adjusted(0, 0, -1, -1));
  const auto label = [&](double t, const QString& text) {
    const double y = bar.bottom() - t * (bar.height() - 1);
    painter.drawLine(QPointF(bar.right() + 1, y), QPointF(bar.right() + 4, y));
    painter.drawText(QPointF(bar.right() + 6, y + metrics.ascent() / 2.0 - 1), text);
  };
  if (density) {
    // The scale runs over log(1 + count): the ends are 1 sample and the most on one pixel.
    label(0, QStringLiteral("1"));
    label(1, QString::number(plot_->image.max_density));
  } else {
    const PlotRange& range = plot_->colour_range;
    if (range.max > range.min) {
      for (const double v : RoundTicks(range, std::max(2, bar.height() / (metrics.height() * 3)))) {
        label((v - range.min) / (range.max - range.min), Label(v));
      }
    } else {
      label(0.5, Label(range.min));
    }
  }
  painter.save();
  painter.translate(bar.right() + 6 + LabelWidth(metrics) + 4, bar.bottom());
  painter.rotate(-90);
  painter.drawText(QRect(0, 0, bar.height(), metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                   density ? tr("点の密度 (件数)") : colour_title_);
  painter.restore();
}

void ScatterView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit PlotResized();
}

void ScatterView::mousePressEvent(QMouseEvent* event) {
  if (plot_ == nullptr) {
    return;
  }
  if (event->button() == Qt::RightButton) {
    emit ZoomReset();
    return;
  }
  if (event->button() == Qt::LeftButton && PlotRect().contains(event->position().toPoint())) {
    drag_origin_ = event->position().toPoint();
    dragging_ = true;
    rubber_band_->setGeometry(QRect(drag_origin_, QSize()));
    rubber_band_->show();
  }
}

void ScatterView::mouseMoveEvent(QMouseEvent* event) {
  const QPointF pos = event->position();
  if (dragging_) {
    rubber_band_->setGeometry(QRect(drag_origin_, pos.toPoint()).normalized() & PlotRect());
  }
  if (plot_ == nullptr || !PlotRect().contains(pos.toPoint())) {
    emit HoverLeft();
    return;
  }
  const QPointF device = DevicePixelAt(pos);
  const QSize size = PlotSizeDevicePx();
  const double x = PixelToValue(plot_->x_range, size.width(), device.x());
  const double y = PixelToValue(plot_->y_range, size.height(), size.height() - 1 - device.y());
  const int64_t column = static_cast<int64_t>(std::floor(device.x()));
  const int64_t row = static_cast<int64_t>(std::floor(device.y()));
  const ScatterImage& image = plot_->image;
  const bool inside = column >= 0 && column < image.width && row >= 0 && row < image.height;
  emit Hovered(x, y, inside ? row * image.width + column : -1);
}

void ScatterView::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) {
    return;
  }
  dragging_ = false;
  rubber_band_->hide();
  const QRect area = rubber_band_->geometry();
  if (plot_ == nullptr || area.width() < 4 || area.height() < 4) {
    return;
  }
  const QSize size = PlotSizeDevicePx();
  const QPointF top_left = DevicePixelAt(area.topLeft());
  const QPointF bottom_right = DevicePixelAt(area.bottomRight());
  emit ZoomRequested(ZoomRange(plot_->x_range, size.width(), top_left.x(), bottom_right.x()),
                     ZoomRange(plot_->y_range, size.height(), size.height() - 1 - top_left.y(),
                               size.height() - 1 - bottom_right.y()));
}

void ScatterView::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit HoverLeft();
}

}  // namespace dravik
