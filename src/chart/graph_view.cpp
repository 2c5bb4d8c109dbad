#include "chart/graph_view.h"

#include <QMouseEvent>
#include <QPainter>

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
    painter.setPen(QColor(0, 0, 255));
    painter.drawLine(cursors_.x1_px, cursors_.top_px, cursors_.x1_px, cursors_.bottom_px);
    painter.setPen(QColor(255, 128, 0));
    painter.drawLine(cursors_.x2_px, cursors_.top_px, cursors_.x2_px, cursors_.bottom_px);
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
