#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLatin1String>
#include <QMenu>
#include <QMouseEvent>
#include <QSpontaneKeyEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "app/main_window.h"
#include "common/user_dialog.h"
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

// The dialogs of a test: each question is recorded and answered from its queue without
// blocking; an empty queue answers as a cancel.
class FakeUserDialog : public UserDialog {
 public:
  QStringList messages;
  QStringList open_starts;  // the start path of each open dialog
  QStringList save_offers;  // the path each save dialog proposed
  QList<QColor> colour_starts;
  std::deque<QString> open_answers;
  std::deque<QString> save_answers;
  std::deque<std::optional<QColor>> colour_answers;
  bool colour_runs_out_of_memory = false;
  std::chrono::milliseconds progress_delay{500};  // as the program's own
  int language_questions = 0;
  Language language_answer = Language::kJapanese;

  void ShowMessage(QWidget*, const QString& text) override { messages << text; }
  QString ChooseFileToOpen(QWidget*, const QString& start_path, const QString&) override {
    open_starts << start_path;
    return Next(open_answers).value_or(QString());
  }
  QString ChooseFileToSave(QWidget*, const QString& suggested_path, const QString&) override {
    save_offers << suggested_path;
    return Next(save_answers).value_or(QString());
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor& initial) override {
    colour_starts << initial;
    if (colour_runs_out_of_memory) {
      throw std::bad_alloc();
    }
    return Next(colour_answers).value_or(std::nullopt);
  }
  std::chrono::milliseconds LoadProgressDelay() const override { return progress_delay; }
  Language ChooseLanguage(QWidget*) override {
    ++language_questions;
    return language_answer;
  }

 private:
  template <class T>
  static std::optional<T> Next(std::deque<T>& answers) {
    if (answers.empty()) {
      return std::nullopt;
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// A shown main window whose questions go to `dialogs`.
inline std::unique_ptr<MainWindow> NewShownWindow(FakeUserDialog& dialogs) {
  auto window = std::make_unique<MainWindow>(dialogs);
  window->resize(800, 560);
  window->show();
  return window;
}

// Opens `path` the way the user does: the open button, the open dialog answering `path`.
inline void OpenThroughDialog(MainWindow& window, FakeUserDialog& dialogs, const QString& path) {
  dialogs.open_answers.push_back(path);
  window.findChild<QAbstractButton*>(QLatin1String("cmdOpenFile"))->click();
}

// Runs `act` on the modal dialog that `open` opens, once it is up.
template <class Dialog>
void WithModalDialog(const std::function<void()>& open, const std::function<void(Dialog&)>& act) {
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      act(*dialog);
    }
  });
  open();
}

inline void ReleaseRightButton(QWidget* target) {
  const QPointF local(5, 5);
  QMouseEvent event(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::RightButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Runs `open`, which opens a popup menu, and picks the entry captioned `entry` from it (nothing
// when `entry` is empty). Returns the captions the menu offered, separators as "-".
inline QStringList PickFromPopup(const std::function<void()>& open, const QString& entry) {
  QStringList captions;
  // A timer of this call only: when no menu opens, it must not fire during a later one.
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      return;
    }
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      captions << (action->isSeparator() ? QString("-") : action->text());
      if (action->text() == entry) {
        chosen = action;
      }
    }
    if (chosen != nullptr) {
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    } else {
      menu->close();
    }
  });
  timer.start(0);
  open();
  return captions;
}

// A mouse event at column x_px, half way down `target`.
inline void SendMouse(QWidget* target, QEvent::Type type, double x_px, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
  const QPointF local(x_px, target->height() / 2.0);
  QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// The column of the cursor line drawn in `colour` (blue: cursor 1, orange: cursor 2) on the chart
// surface as shown, looked for half way down; -1 when it shows nowhere.
inline int LineColumn(QWidget* graph, const QColor& colour) {
  const QImage shown = graph->grab().toImage();
  for (int x = 0; x < shown.width(); ++x) {
    if (shown.pixelColor(x, shown.height() / 2) == colour) {
      return x;
    }
  }
  return -1;
}
inline const QColor kCursor1Colour(0, 0, 255);
// What `widget` shows, as the user sees it.
inline QImage Shown(QWidget* widget) {
  return widget->grab().toImage();
}
// Whether every pixel of `image` is white.
inline bool IsBlank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != QColor(Qt::white)) {
        return false;
      }
    }
  }
  return true;
}
inline const QColor kCursor2Colour(255, 128, 0);

}  // namespace dravik
