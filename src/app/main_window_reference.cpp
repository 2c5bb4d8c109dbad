#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "app/reference_offset_dialog.h"
#include "chart/chart_panel.h"
#include "common/user_dialog.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"
#include "panel/trip_list_panel.h"

// The reference log ("比較ログ"): a second log read by the same readers, drawn dashed under the
// main log's traces at an offset in time, with its figures beside the main log's.

namespace dravik {

void MainWindow::AddReferenceEntries() {
  colour_menu_->addSeparator();
  colour_menu_->addAction(tr("比較ログを開く..."), this, &MainWindow::cmdOpenReference_Click);
  // These need an open reference.
  for (QAction* entry :
       {colour_menu_->addAction(tr("比較ログを閉じる"), this, &MainWindow::CloseReference),
        colour_menu_->addAction(tr("比較ログの位置合わせ..."), this, &MainWindow::AlignReference),
        colour_menu_->addAction(tr("先頭で揃える"), this, &MainWindow::ResetReferenceOffset)}) {
    entry->setEnabled(reference_.IsOpen());
  }
}

void MainWindow::BuildReferenceActions() {
  auto* open = new QAction(this);
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  connect(open, &QAction::triggered, this, &MainWindow::cmdOpenReference_Click);
  addAction(open);
  chart_->SetReference(&reference_);
  connect(chart_, &ChartPanel::ReferenceMoved, this, [this](bool finished) {
    UpdateTitle();
    if (max_view_) {
      max_view_->ReferenceList(finished);
    }
  });
}

void MainWindow::cmdOpenReference_Click() {
  if (!table_.IsLoaded() || loading_) {
    return;
  }
  const QString chosen = dialogs_.ChooseFileToOpen(
      this, reference_path_.isEmpty() ? current_log_path_ : reference_path_, LogFileFilters());
  if (!chosen.isEmpty()) {
    OpenReference(chosen);
  }
}

void MainWindow::OpenReference(const QString& path, double offset_ms) {
  if (!table_.IsLoaded() || loading_) {
    return;
  }
  // Read beside the reference shown, so that a failure leaves it as it was.
  LogTable read;
  const LoadError error = ReadWithProgress(path, read);
  if (error.kind != LoadFailure::kNone) {
    ShowLoadFailure(error);
    return;
  }
  std::vector<int> items = MatchReferenceItems(table_, read);
  if (!SharesItems(items)) {
    ShowMessage(QString::fromStdString(NoSharedItemsMessage()));
    return;
  }
  reference_.table = std::move(read);
  reference_.items = std::move(items);
  reference_.offset_ms = offset_ms;
  reference_path_ = path;
  ApplyReference();
}

void MainWindow::ReadLogsAgain() {
  // The reference first: the main log's load then matches both logs' items and draws them once.
  if (reference_.IsOpen()) {
    LogTable read;
    const LoadError error = ReadWithProgress(reference_path_, read);
    if (error.kind == LoadFailure::kNone) {
      chart_->ForgetPlotY();  // what it keeps points into the table replaced here
      reference_.table = std::move(read);
    } else {
      ShowLoadFailure(error);
    }
  }
  if (!current_log_path_.isEmpty()) {
    OpenFile(current_log_path_);
  }
}

void MainWindow::CloseReference() {
  reference_ = ReferenceLog{};
  reference_path_.clear();
  ApplyReference();
}

void MainWindow::AlignReference() {
  if (!reference_.IsOpen()) {
    return;
  }
  ReferenceOffsetDialog dialog(reference_.offset_ms, settings_.time_unit_sec != 0, this);
  if (dialog.exec() == QDialog::Accepted) {
    reference_.offset_ms = dialog.OffsetMs();
    ApplyReference(true);
  }
}

void MainWindow::ResetReferenceOffset() {
  reference_.offset_ms = 0;
  ApplyReference(true);
}

bool MainWindow::RematchReference() {
  if (!reference_.IsOpen()) {
    return false;
  }
  reference_.items = MatchReferenceItems(table_, reference_.table);
  if (SharesItems(reference_.items)) {
    return false;
  }
  reference_ = ReferenceLog{};
  reference_path_.clear();
  return true;
}

void MainWindow::ApplyReference(bool moved) {
  UpdateTitle();
  if (!table_.IsLoaded()) {
    return;
  }
  if (moved) {
    chart_->DrowGraph();
  } else {
    items_->SetReferenceMarks(ReferenceMarks());
    trips_->FillTripList(table_, settings_, &reference_);
    chart_->ReferenceChanged();
  }
  if (max_view_) {
    max_view_->ReferenceList();
  }
}

std::vector<bool> MainWindow::ReferenceMarks() const {
  std::vector<bool> marks;
  if (reference_.IsOpen()) {
    marks.resize(static_cast<size_t>(table_.item_count) + 1);
    for (int item = 1; item <= table_.item_count; ++item) {
      marks[item] = reference_.ItemFor(item) > 0;
    }
  }
  return marks;
}

}  // namespace dravik
