#include <new>

#include <QCoreApplication>

#include "app/command_panel.h"
#include "app/main_window.h"
#include "app/open_log.h"
#include "app/settings_file.h"
#include "chart/chart_panel.h"
#include "chart/scaling.h"
#include "common/path.h"
#include "common/user_dialog.h"
#include "log/load_error.h"
#include "log/load_progress_dialog.h"
#include "panel/checked_items.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"
#include "panel/trip_list_panel.h"

// The main window's load sequence: the ways a file is chosen, the read under the progress dialog,
// then either every part of the window brought up to date or all of it emptied after a failure.

namespace dravik {

QString MainWindow::LogFileFilters() {
  return tr("csvファイル(*.csv);;ログファイル(*.csv *.txt *.log *.msl *.mlg);;全てのファイル(*.*)");
}

void MainWindow::cmdOpenFile_Click() {
  const QString chosen = dialogs_.ChooseFileToOpen(this, current_log_path_, LogFileFilters());
  if (chosen.isEmpty()) {
    return;
  }
  current_log_path_ = chosen;
  OpenFile(current_log_path_);
}

void MainWindow::Form_OLEDragDrop(const QString& path, bool as_reference) {
  setFocus();
  if (as_reference) {
    OpenReference(path);
    return;
  }
  current_log_path_ = path;
  OpenFile(path);
}

LoadError MainWindow::ReadWithProgress(const QString& path, LogTable& table) {
  // The progress dialog lets the window system repaint during a long load.
  LoadProgressDialog progress(this, dialogs_.LoadProgressDelay());
  try {
    return OpenLog(path.toStdString(), settings_, table,
                   [&progress](double fraction) { progress.Report(fraction); });
  } catch (const std::bad_alloc&) {
    table.Clear();
    return LoadError{LoadFailure::kGeneral, ErrorNumber::kOutOfMemory};
  }
}

void MainWindow::ShowLoadFailure(const LoadError& error) {
  const QString text = QString::fromStdString(LoadFailureMessage(error));
  if (IsErrorBox(error)) {
    dialogs_.ShowErrorBox(this, text);
  } else {
    ShowMessage(text);
  }
}

void MainWindow::UpdateTitle() {
  QString title = QString::fromStdString(
      ExecutableBaseName(QCoreApplication::applicationFilePath().toStdString()));
  if (!shown_log_name_.isEmpty()) {
    title += QStringLiteral(" - ") + shown_log_name_;
  }
  if (reference_.IsOpen()) {
    title +=
        QStringLiteral(" ⇔ ") + QString::fromStdString(FileNameOf(reference_path_.toStdString()));
    if (reference_.offset_ms != 0) {
      title += tr("  [ずれ %1]")
                   .arg(QString::fromStdString(
                       ReferenceOffsetText(reference_.offset_ms, settings_.time_unit_sec != 0)));
    }
    if (table_.IsLoaded() && OverlapWithMain(table_, reference_).empty()) {
      title += tr("  [比較ログは時間が重なりません]");
    }
  }
  setWindowTitle(title);
}

void MainWindow::OpenFile(const QString& path) {
  emit LogAboutToChange();
  commands_->ResetMagnification();
  commands_->SetMagnificationEnabled(false);
  cmbMultipl_Click(false);
  chart_->SetCursorsShown(false);
  items_->ClearItemPanel();
  chart_->ForgetPlotY();

  // Nothing may draw from the table until it is complete.
  loading_ = true;
  const LoadError error = ReadWithProgress(path, table_);
  loading_ = false;
  if (error.kind != LoadFailure::kNone) {
    ShowLoadFailure(error);
    ClearAfterFailedLoad();
    return;
  }
  const bool reference_lost = RematchReference();

  items_->BuildItemPanel(table_.item_names, table_.item_count, settings_.item_colors,
                         settings_.always_tooltip != 0);
  items_->MarkComputedItems(table_.item_names, table_.first_computed, table_.computed_count,
                            settings_.always_tooltip != 0);
  // The items checked before under these names come up checked with the first paint below.
  items_->CheckItems(
      RememberedItemsOf(table_.item_names, table_.item_count, settings_.checked_items));
  items_->SetReferenceMarks(ReferenceMarks());
  trips_->FillTripList(table_, settings_, &reference_);
  shown_log_name_ = QString::fromStdString(FileNameOf(path.toStdString()));
  UpdateTitle();
  chart_->SetLogPath(path);
  if (max_view_) {
    max_view_->SetLogPath(path);
  }
  emit LogLoaded();
  // The scales and the graph are drawn right below, so the magnification handler leaves it.
  cmbMultipl_Click(false);
  chart_->DrowScale();
  chart_->DrowGraph();
  chart_->SetCursorsShown(true);
  commands_->SetMagnificationEnabled(CanChangeMagnification(table_.last_sample));
  if (reference_lost) {
    ShowMessage(QString::fromStdString(NoSharedItemsMessage()));
  }
}

void MainWindow::ClearAfterFailedLoad() {
  items_->ClearItemPanel();
  chart_->ClearPictures();
  trips_->ClearTripList();
  emit LogCleared();
}

}  // namespace dravik
