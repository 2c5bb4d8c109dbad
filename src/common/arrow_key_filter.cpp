#include "common/arrow_key_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace dravik {

void ArrowKeyFilter::Watch(QWidget* control) {
  control->installEventFilter(this);
}

bool ArrowKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return QObject::eventFilter(watched, event);
  }
  const int key = static_cast<QKeyEvent*>(event)->key();
  QWidget* window = static_cast<QWidget*>(watched)->window();
  if ((key != Qt::Key_Left && key != Qt::Key_Right) || window == watched) {
    return false;
  }
  event->ignore();
  QCoreApplication::sendEvent(window, event);
  return event->isAccepted();
}

}  // namespace dravik
