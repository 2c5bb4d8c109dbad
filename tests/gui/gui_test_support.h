#pragma once

#include <memory>
#include <string>

#include <QApplication>
#include <QFile>
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
