#pragma once

#include <cstdint>
#include <memory>

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "chart/scatter_raster.h"

class QRubberBand;

namespace dravik {

// The scatter plot's surface: the points' picture inside axes with round-step labels and the item
// names, a colour bar with its labels beside it, or a message where there is no plot. A rectangle
// dragged with the left button asks to zoom into it; a right click asks for the whole range again.
class ScatterView : public QWidget {
  Q_OBJECT

 public:
  explicit ScatterView(QWidget* parent = nullptr);

  // Shows `plot` (its image made at PlotSizeDevicePx) with the axis titles; `colour_title` is
  // empty for a density plot.
  void ShowPlot(std::shared_ptr<const ScatterPlot> plot, const QString& x_title,
                const QString& y_title, const QString& colour_title);
  // Shows `message` instead of a plot.
  void ShowMessage(const QString& message);
  bool HasPlot() const { return plot_ != nullptr; }
  // The plot area in device pixels, the size its image is to be made at.
  QSize PlotSizeDevicePx() const;
  // The side of one sample's point in device pixels: larger for few samples, so they stand out.
  int PointSizeDevicePx(int64_t samples) const;

 signals:
  // The plot area changed size: the image is to be made again.
  void PlotResized();
  // The pointer is over pixel `pixel` (row-major in the image) at values x, y; or it left.
  void Hovered(double x, double y, qint64 pixel);
  void HoverLeft();
  void ZoomRequested(const PlotRange& x, const PlotRange& y);
  void ZoomReset();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QRect PlotRect() const;
  // Device pixel column and row (from the top) of a point on the widget within the plot area.
  QPointF DevicePixelAt(QPointF pos) const;
  void PaintAxes(QPainter& painter, const QRect& plot) const;
  void PaintColourBar(QPainter& painter, const QRect& plot) const;

  std::shared_ptr<const ScatterPlot> plot_;
  QImage picture_;
  QString x_title_;
  QString y_title_;
  QString colour_title_;
  QString message_;
  QRubberBand* rubber_band_;
  QPoint drag_origin_;
  bool dragging_ = false;
};

}  // namespace dravik
