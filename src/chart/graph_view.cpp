#include "chart/graph_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "common/rounding.h"

namespace dravik {

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void GraphView::ClearPicture() {
  picture_ = QImage();
  update();
}

void GraphView::SetCursorLines(const CursorLines& lines) {
  cursors_ = lines;
  update();
}

void GraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!picture_.isNull()) {
    painter.drawImage(0, 0, picture_);
  }
  if (cursors_.visible) {
    // One device pixel wide, like the traces and grid lines of the picture under them.
    const double ratio = devicePixelRatioF();
    const auto device = [&](int px) { return static_cast<int>(RoundHalfEven(px * ratio)); };
    painter.scale(1 / ratio, 1 / ratio);
    painter.setPen(QColor(0, 0, 255));
    painter.drawLine(device(cursors_.x1_px), device(cursors_.top_px), device(cursors_.x1_px),
                     device(cursors_.bottom_px));
    painter.setPen(QColor(255, 128, 0));
    painter.drawLine(device(cursors_.x2_px), device(cursors_.top_px), device(cursors_.x2_px),
                     device(cursors_.bottom_px));
  }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->buttons(), event->position());
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved(event->buttons(), event->position());
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(event->buttons(), event->position());
}

}  // namespace dravik
