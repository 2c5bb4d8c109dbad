#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QString>
#include <QWidget>

#include "chart/cursors.h"
#include "common/settings.h"
#include "log/log_table.h"
#include "log/reference_log.h"
#include "panel/numeric_display.h"
#include "panel/top_level_window.h"

class QPushButton;
class QTreeWidget;

namespace dravik {

class UserDialog;

// The numeric display window "Dravik - 数値表示" (frmMaxView): for the time column and every item
// the minimum, the values at the two cursors, their difference and the maximum, and optionally
// the section figures between the cursors. The texts come from the numeric display model; this
// window shows them and copies the model's clipboard text.
//
// A tool window of the main window (`parent`), so that it stays above it while the chart is used.
// Opening it runs the load steps: the six columns, MaxViewList and the place and size of the
// settings (mv_xpos.. in twips); while the settings hold no place of its own it opens beside the
// main window, tall enough for every row and wide enough for every column. The value columns are
// at least their classic widths and grow to show every text whole; the name column grows up to a
// limit and a name it still cuts has a tooltip. At its least size every button stays in view.
// Closing it in any way (the close button, Esc, Enter, the close box, close()) stores its place and
// size into the settings, emits Closed and deletes it; deactivating it stores them as well. The
// owner minimises and restores it along with the main window through FollowMainWindow.
class MaxViewWindow : public TopLevelWindow {
  Q_OBJECT

 public:
  // `table`, `settings` and `dialogs` are the main window's and must outlive this window.
  MaxViewWindow(const LogTable& table, Settings& settings, UserDialog& dialogs,
                QWidget* parent = nullptr);

  // Rebuilds every row from the loaded log (nothing while no log is loaded) and enables the copy.
  void MaxViewList();
  // Rewrites the time row, and the reference's cells, for the current time unit.
  void ReDrawTime();
  // The readouts of one mouse event on the chart, cursor 1 first, then the section.
  void ApplyCursorMove(const CursorMove& move);
  // Removes all rows after a failed load; the copy button keeps its state and copies nothing
  // until the list is filled again.
  void ClearList();
  // The reference log whose columns follow "最大値" while it is open: the main window's, which
  // must outlive this window; null for none.
  void SetReference(const ReferenceLog* reference) { reference_ = reference; }
  // The reference was opened, closed or moved: its columns come or go and are written anew, the
  // readouts at the cursors as they stand. With `extremes` false (while a drag moves it) only the
  // readouts are written; the minimum and maximum wait for the drag's end.
  void ReferenceList(bool extremes = true);
  // The log shown, whose folder the section save dialog starts in.
  void SetLogPath(const QString& path) { log_path_ = path; }
  // Minimised with the main window and back to normal when it is normal; a maximised main window
  // leaves this one as it is.
  void FollowMainWindow(Qt::WindowStates main_window_states);

 signals:
  // The window is closing, its place stored: the main window unchecks its numeric display box.
  void Closed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The least size keeps the list's client area above the chrome and the buttons in view.
  void ApplyMinimumSize() override;

 private:
  // The window's own texts and the list's headers in the interface language.
  void WriteTexts();
  void WriteHeaders();
  // After a change of language: every text again, the figures kept.
  void RetranslateUi();
  void cmdCopy_Click();
  // "区間をCSVで保存...": the samples between the two cursors to a CSV file chosen in the save
  // dialog, which starts in the log's folder; a section too short to open again is refused and a
  // file that cannot be written is said so, each with a message. Enabled once the cursors have
  // reported their samples.
  void SaveSectionCsv();
  void Form_Resize();
  // The section save button's width: its classic width, or what its text needs in the font.
  int32_t SaveButtonWidthTwips() const;
  void StoreGeometry();
  void ShowDisplay();
  // Pixels a cell needs to show `text` whole in the list's font.
  int CellWidth(const QString& text) const;
  // A column's least width: its classic width, wide enough for its header.
  int LeastColumnWidth(int column) const;
  // Every column back to its least width, forgetting the texts it has shown.
  void ResetColumnWidths();
  // A name the name column cuts gets its whole text as tooltip.
  void UpdateNameTooltips();
  // Opens beside the main window on its screen, sized to the rows and columns.
  void PlaceBesideMainWindow();

  const LogTable& table_;
  Settings& settings_;
  UserDialog& dialogs_;
  QString log_path_;
  NumericDisplay display_;
  QTreeWidget* lst_max_view_;
  QPushButton* cmd_close_;
  QPushButton* cmd_copy_;
  QPushButton* cmd_save_section_;
  // The widest text each column has shown since the list was last filled, in pixels.
  MaxViewWidths widest_{};
  // The cursors' samples as the last readouts gave them; none before the first.
  std::optional<std::array<int64_t, 2>> cursor_samples_;
  const ReferenceLog* reference_ = nullptr;
  // The list's columns as shown: six, and five more while the reference's are shown.
  int ColumnCount() const;
  // Sets the header's columns to those of the display.
  void ApplyHeader();
  // The reference's readouts at the cursors, when they have reported their samples.
  void UpdateReferenceReadout();
};

}  // namespace dravik
