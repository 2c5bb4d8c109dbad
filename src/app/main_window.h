#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPointer>
#include <QString>

#include "app/help_window.h"
#include "common/settings.h"
#include "log/load_error.h"
#include "log/log_table.h"
#include "log/reference_log.h"
#include "panel/top_level_window.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace dravik {

class ChartPanel;
class CommandPanel;
class AnalysisWindow;
class ItemPanel;
class MaxViewWindow;
class TripListPanel;
class UserDialog;

// The main window (frmMain): the chart with its scale strip and time scroll bar on the left; the
// item panel, the command buttons and the trip list on the right. It owns the log and the settings
// for the whole run; every way of opening a file ends in OpenFile. Whatever it or the windows it
// opens ask of the user goes through `dialogs`.
class MainWindow : public TopLevelWindow {
  Q_OBJECT

 public:
  // `dialogs` must outlive the window.
  explicit MainWindow(UserDialog& dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up: creates the settings file at `settings_path` when it is missing (with the values of
  // the file at `seed_settings_path` when one can be read there), reads it with its corrections
  // (screen in twips from the primary screen's available geometry) and places the window wholly
  // on that screen, selects magnification 1, then loads the file the command line names.
  // `arguments` are the program's arguments after its name. A settings file that cannot be read
  // is said so once and, like a read-only one, left as it is at exit.
  // The interface language is `language` (--lang) for this run, else the setting's; at the first
  // start (no settings file) on a system whose locale is not Japanese, the user is asked first.
  void Form_Load(const std::string& settings_path, const std::vector<std::string>& arguments,
                 const std::string& seed_settings_path = {},
                 std::optional<Language> language = std::nullopt);

 signals:
  // A log was loaded (step where the numeric display refills its list) or a load failed (its
  // rows are to be removed).
  void LogLoaded();
  void LogCleared();
  // A log is about to be read into the table: whoever reads it on another thread stops first.
  void LogAboutToChange();
  // The window was minimized, restored or maximized; the numeric display follows.
  void WindowStateFollow(Qt::WindowStates states);
  // The window is closing, after the settings were saved: the other windows close too.
  void Exiting();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The least outer size of the layout, for the current frame.
  void ApplyMinimumSize() override;

 private:
  void BuildControls();
  // The item colour menu (mnuColor) that a right-button release on an item box opens.
  void BuildColourMenu();
  // Ctrl+C and Ctrl+S: the chart picture to the clipboard or to a file; Ctrl+T: the scatter plot
  // and table window.
  void InstallChartPictureKeys();
  // Applies a chart key; false when the key is not one of them or no log is loaded.
  bool HandleChartKey(const QKeyEvent& event);
  // Moves the magnification list `delta` entries up or down, as choosing that entry does.
  void StepMagnification(int delta);
  // The panels' requests: open, files dropped, the numeric display, options, help, exit.
  void ConnectPanels();
  // Items 1..item_count whose boxes are checked, ascending.
  std::vector<int> VisibleItems() const;

  // Opening a log (main_window_open.cpp).
  // Loads the log at `path` and brings every part of the window up to date; a failure shows its
  // message and leaves the window empty. The caller keeps the path as the current log path.
  void OpenFile(const QString& path);
  void cmdOpenFile_Click();
  // The open dialog's file kinds, for the main and the reference log alike.
  static QString LogFileFilters();
  // A file dropped anywhere on the window: the main log, or with Shift held the reference log.
  void Form_OLEDragDrop(const QString& path, bool as_reference = false);
  void ClearAfterFailedLoad();
  // Reads `path` into `table` (OpenLog) under the progress dialog; out of memory is a failure.
  LoadError ReadWithProgress(const QString& path, LogTable& table);
  // Shows a failed load's message: its error box or its message.
  void ShowLoadFailure(const LoadError& error);
  // The title: the program's name, " - " and the main log's file name once one is shown, then
  // " ⇔ " and the reference's file name, its offset while not 0 and a word when the two logs do
  // not overlap in time at it.
  void UpdateTitle();

  // The reference log (main_window_reference.cpp).
  // Its entries in the item menu and Ctrl+Shift+O.
  void BuildReferenceActions();
  // The item menu's entries of the reference log, added as the menu is filled.
  void AddReferenceEntries();
  // "比較ログを開く..." and Ctrl+Shift+O: the open dialog, then OpenReference.
  void cmdOpenReference_Click();
  // Reads `path` as the reference log. A failure shows the load's message, and a log without an
  // item in common with the main log "比較ログに共通の項目がありません。"; either leaves the main
  // log and any earlier reference as they were. Needs a main log. The reference starts at
  // `offset_ms`.
  void OpenReference(const QString& path, double offset_ms = 0);
  // The main log and its reference read again after new fuel settings or formulas, the reference
  // at the offset it had.
  void ReadLogsAgain();
  // "比較ログを閉じる": the chart, the item marks, the trip list and the numeric display go back
  // to the main log alone.
  void CloseReference();
  // "比較ログの位置合わせ...": the offset typed in ms (s with TimeUnitSec).
  void AlignReference();
  // "先頭で揃える": the offset back to 0, first samples aligned.
  void ResetReferenceOffset();
  // After a new main log was read: the reference's items matched against it; a reference left
  // without an item in common is closed. True when it was closed for that.
  bool RematchReference();
  // Everything that shows the reference follows its opening or closing, or with `moved` only its
  // new offset (the chart's scales and the trip figures stay).
  void ApplyReference(bool moved = false);
  // Marks for the item panel: the main items the reference has.
  std::vector<bool> ReferenceMarks() const;

  // The other command buttons.
  void cmdExit_Click();
  void chkMaxView_Click(bool checked);
  // Ctrl+T and the item menu's "散布図/集計表...": the scatter plot and table window, opened or
  // brought to the front.
  void OpenAnalysisWindow();
  void cmdOption_Click();
  void cmdHelp_Click();
  void ShowHelp(HelpPage page);
  // Runs the magnification handler; `redraw` false where the caller draws right after.
  void cmbMultipl_Click(bool redraw = true);
  void chkItem_Click(int index);
  // Items whose traces a redraw had no memory for: unchecked, and the user told.
  void UncheckItemsNotDrawn(const QList<int>& items);

  // The item colour menu (main_window_colour_menu.cpp).
  void FillColourMenu();
  void chkItem_MouseUp(int index, QPoint global_pos);
  void mnuColor_Click(int entry);
  void ChangeItemColour();
  // "計算項目...": edits the formulas and reads the open log again with them.
  void EditFormulas();

  void Form_Resize();
  void ShowMessage(const QString& text);

  UserDialog& dialogs_;
  LogTable table_;
  Settings settings_;
  std::string settings_path_;
  // The settings file could not be read or is read-only: it is left as it is at exit.
  bool keep_settings_file_ = false;
  QString current_log_path_;
  QString shown_log_name_;  // the file name of the log shown, for the title
  ReferenceLog reference_;  // the reference log ("比較ログ"), closed while its table is empty
  QString reference_path_;
  bool show_scale_mode_option_ = false;
  bool exited_ = false;
  bool loading_ = false;      // the table is being read: the window must not draw from it
  int colour_menu_item_ = 1;  // ColorMenuItem: the item whose box was right-clicked last

  ChartPanel* chart_ = nullptr;
  ItemPanel* items_ = nullptr;
  CommandPanel* commands_ = nullptr;
  TripListPanel* trips_ = nullptr;
  QMenu* colour_menu_ = nullptr;
  QPointer<MaxViewWindow> max_view_;   // deletes itself when closed
  QPointer<AnalysisWindow> analysis_;  // likewise
  std::unique_ptr<HelpWindow> help_;   // a window of its own, created when first asked for
};

}  // namespace dravik
