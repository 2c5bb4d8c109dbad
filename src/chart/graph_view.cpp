#include "chart/graph_view.h"

#include <algorithm>
#include <utility>

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "common/rounding.h"

namespace dravik {

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Moves without a button show the hover readout.
  setMouseTracking(true);
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

void GraphView::SetHover(QList<HoverLine> lines, QPoint pos_px) {
  hover_lines_ = std::move(lines);
  hover_pos_px_ = pos_px;
  update();
}

void GraphView::ClearHover() {
  if (!hover_lines_.isEmpty()) {
    hover_lines_.clear();
    update();
  }
}

void GraphView::leaveEvent(QEvent* event) {
  ClearHover();
  QWidget::leaveEvent(event);
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
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    painter.setPen(QColor(0, 0, 255));
    painter.drawLine(device(cursors_.x1_px), device(cursors_.top_px), device(cursors_.x1_px),
                     device(cursors_.bottom_px));
    painter.setPen(QColor(255, 128, 0));
    painter.drawLine(device(cursors_.x2_px), device(cursors_.top_px), device(cursors_.x2_px),
                     device(cursors_.bottom_px));
    painter.restore();
  }
  if (!hover_lines_.isEmpty()) {
    PaintHover(painter);
  }
}

void GraphView::PaintHover(QPainter& painter) const {
  const QFontMetrics metrics = fontMetrics();
  constexpr int kPadding = 4;
  constexpr int kOffset = 16;  // clear of the pointer
  int text_width = 0;
  for (const HoverLine& line : hover_lines_) {
    text_width = std::max(text_width, metrics.horizontalAdvance(line.text));
  }
  QRect box(0, 0, text_width + 2 * kPadding,
            static_cast<int>(hover_lines_.size()) * metrics.height() + 2 * kPadding);
  // Right of and below the pointer, or on the other side where the chart ends.
  box.moveTo(hover_pos_px_.x() + kOffset + box.width() <= width()
                 ? hover_pos_px_.x() + kOffset
                 : std::max(0, hover_pos_px_.x() - kOffset - box.width()),
             hover_pos_px_.y() + kOffset + box.height() <= height()
                 ? hover_pos_px_.y() + kOffset
                 : std::max(0, hover_pos_px_.y() - kOffset - box.height()));
  painter.setPen(QColor(128, 128, 128));
  painter.setBrush(QColor(255, 255, 240));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  int baseline = box.top() + kPadding + metrics.ascent();
  for (const HoverLine& line : hover_lines_) {
    painter.setPen(line.colour);
    painter.drawText(box.left() + kPadding, baseline, line.text);
    baseline += metrics.height();
  }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(event->buttons(), event->position());
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved(event->buttons(), event->position());
}

}  // namespace dravik
