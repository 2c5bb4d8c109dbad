#pragma once

#include <QObject>

class QWidget;

namespace dravik {

// Buttons and check boxes take Left and Right to move the focus, where the main window steps the
// cursors with them. Installed on such a control, this offers those keys to the control's window
// first; the control gets them only when the window leaves them (no log loaded). Every other key
// a control has no use for reaches its window as usual.
class ArrowKeyFilter : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  void Watch(QWidget* control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace dravik
