#pragma once

#include <memory>
#include <string>

#include <QApplication>
#include <QFile>
#include <QLatin1String>
#include <QSpontaneKeyEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "app/main_window.h"
#include "support/test_log.h"

namespace dravik {

// Writes `text` as the file `name` in `dir` and gives its path.
inline QString WriteTextFile(const QTemporaryDir& dir, const QString& name,
                             const std::string& text) {
  const QString path = dir.filePath(name);
  WriteText(QFile::encodeName(path).toStdString(), text);
  return path;
}

// Delivers a wheel event the way the window system does (spontaneous, through notify, as QTest
// does for keys), so that it travels up to the parents of `target` until a widget takes it.
inline void TurnWheel(QWidget* target, int angle) {
  const QPointF position(2, 2);
  QWheelEvent event(position, target->mapToGlobal(position), QPoint(), QPoint(0, angle),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&event);
  qApp->notify(target, &event);
}

// The widget of class T named `name` inside `window`: the control names of the forms
// ("picGraph", "cmbMultipl", "chkMaxView", ...).
template <class T>
T* Find(const QWidget* window, const char* name) {
  return window->findChild<T*>(QLatin1String(name));
}

// The top-level window of class T, a shown one before a hidden one; null when there is none.
template <class T>
T* FindTopLevel() {
  T* hidden = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<T*>(widget)) {
      if (window->isVisible()) {
        return window;
      }
      hidden = window;
    }
  }
  return hidden;
}

// A shown main window whose messages are collected in `messages` instead of shown.
inline std::unique_ptr<MainWindow> NewShownWindow(QStringList& messages) {
  messages.clear();
  auto window = std::make_unique<MainWindow>();
  window->SetMessageHook([&messages](const QString& text) { messages << text; });
  window->resize(800, 560);
  window->show();
  return window;
}

}  // namespace dravik
