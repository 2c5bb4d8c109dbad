#include "log/load_progress_dialog.h"

#include <limits>

#include <QCloseEvent>
#include <QCoreApplication>

#include "common/rounding.h"

namespace dravik {
namespace {

constexpr int kSteps = 1000;

}  // namespace

LoadProgressDialog::LoadProgressDialog(QWidget* parent, std::chrono::milliseconds delay)
    : QProgressDialog(parent), delay_(delay) {
  setWindowTitle(QStringLiteral("Dravik"));
  setLabelText(tr("ファイルを読み込んでいます..."));
  setCancelButton(nullptr);
  setRange(0, kSteps);
  setWindowModality(Qt::ApplicationModal);
  setAutoClose(false);
  setAutoReset(false);
  // The dialog decides itself when to appear; QProgressDialog's own timer would show it at an
  // estimate of its own.
  setMinimumDuration(std::numeric_limits<int>::max());
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  since_start_.start();
}

void LoadProgressDialog::Report(double fraction) {
  if (isHidden()) {
    if (since_start_.elapsed() < delay_.count()) {
      return;
    }
    show();
  }
  setValue(static_cast<int>(RoundHalfEven(fraction * kSteps)));
  // The bar and the windows beneath repaint; input reaches only this dialog, which is modal.
  QCoreApplication::processEvents();
}

// Esc: the load cannot be cancelled.
void LoadProgressDialog::reject() {}

void LoadProgressDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
}

}  // namespace dravik
