#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace dravik {

// Files dropped on the main window (Form_OLEDragDrop). A widget it accepts drops for takes a drag
// that carries a local file and reports the drop's first local file; a widget it refuses drops
// for takes the drag and declines it, so that the drag does not fall through to the frame or
// window beneath it. A drag without a local file is declined everywhere.
class DropFilter : public QObject {
  Q_OBJECT

 public:
  explicit DropFilter(QObject* parent = nullptr);

  void Accept(QWidget* widget);
  void Refuse(QWidget* widget);

 signals:
  // A drop on an accepting widget: `path` is its first local file; `as_reference` says Shift was
  // held, which opens it as the reference log.
  void FileDropped(const QString& path, bool as_reference);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace dravik
