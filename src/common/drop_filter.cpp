#include "common/drop_filter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace dravik {
namespace {

constexpr char kRefusesDrops[] = "dravik_refuses_drops";

// The first local file of a drop; empty when the drop carries none.
QString FirstDroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) {
    return {};
  }
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) {
      return url.toLocalFile();
    }
  }
  return {};
}

}  // namespace

DropFilter::DropFilter(QObject* parent) : QObject(parent) {}

void DropFilter::Accept(QWidget* widget) {
  widget->setAcceptDrops(true);
  widget->installEventFilter(this);
}

void DropFilter::Refuse(QWidget* widget) {
  widget->setAcceptDrops(true);
  widget->setProperty(kRefusesDrops, true);
  widget->installEventFilter(this);
}

bool DropFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
    return QObject::eventFilter(watched, event);
  }
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = FirstDroppedFile(drop->mimeData());
  if (watched->property(kRefusesDrops).toBool() || path.isEmpty()) {
    drop->ignore();
    return true;
  }
  // Opening a log takes nothing away from where it lies: answered as a copy, so that no file
  // manager takes the drop for a move.
  if (drop->possibleActions() & Qt::CopyAction) {
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
  } else {
    drop->acceptProposedAction();
  }
  if (type == QEvent::Drop) {
    emit FileDropped(path, (drop->modifiers() & Qt::ShiftModifier) != 0);
  }
  return true;
}

}  // namespace dravik
