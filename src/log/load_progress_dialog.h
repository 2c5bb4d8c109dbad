#pragma once

#include <chrono>

#include <QElapsedTimer>
#include <QProgressDialog>

namespace dravik {

// The progress of a long load: a modal progress bar without a cancel button that appears only
// once the load has taken `delay`, so that ordinary files load without it. While it is shown the
// user can start nothing else: the other windows take no input, and Esc and the close box do not
// dismiss it. Its owner destroys it when the load has ended.
class LoadProgressDialog : public QProgressDialog {
  Q_OBJECT

 public:
  // The time counts from construction.
  LoadProgressDialog(QWidget* parent, std::chrono::milliseconds delay);

  // The reader's progress, 0 to 1: shows the dialog once the delay has passed, then moves the bar
  // (which lets the window system repaint while the load goes on).
  void Report(double fraction);

 public slots:
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QElapsedTimer since_start_;
  std::chrono::milliseconds delay_;
};

}  // namespace dravik
