#include "chart/scale_view.h"

#include <QPainter>

namespace dravik {

ScaleView::ScaleView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScaleView::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void ScaleView::ClearPicture() {
  picture_ = QImage();
  update();
}

void ScaleView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!picture_.isNull()) {
    painter.drawImage(0, 0, picture_);
  }
}

}  // namespace dravik
