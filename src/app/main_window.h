#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/help_window.h"
#include "chart/cursors.h"
#include "chart/scale_labels.h"
#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "common/settings.h"
#include "log/load_error.h"
#include "log/load_progress_dialog.h"
#include "log/log_table.h"
#include "panel/trip_list.h"

class QComboBox;
class QGroupBox;
class QAction;
class QColor;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QTreeWidget;

namespace dravik {

class GraphView;
class ItemPanel;
class MaxViewWindow;
class ScaleView;
class WheelFilter;

// The main window (frmMain): the chart with its scale strip and time scroll bar on the left; the
// item panel, the command buttons and the trip list on the right. It owns the log, the settings
// and the view state for the whole run; every way of opening a file ends in OpenFile.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up: creates the settings file at `settings_path` when it is missing, reads it with its
  // corrections (screen in twips from the primary screen's available geometry) and places the
  // window, selects magnification 1, then loads the file the command line names. `arguments` are
  // the program's arguments after its name.
  void Form_Load(const std::string& settings_path, const std::vector<std::string>& arguments);

  // Loads the log at `path` and brings every part of the window up to date; a failure shows its
  // message and leaves the window empty. The caller keeps the path as the current log path.
  void OpenFile(const QString& path);
  // Repaints the chart picture from the view state, the checked items and their colours.
  void DrowGraph();
  // Repaints the scale strip for the checked items and moves the chart beside it.
  void DrowScale();

  // What the other windows read and change.
  LogTable& Table() { return table_; }
  const LogTable& Table() const { return table_; }
  Settings& AppSettings() { return settings_; }
  const ChartView& View() const { return view_; }
  const std::string& SettingsPath() const { return settings_path_; }
  QString CurrentLogPath() const { return current_log_path_; }
  void SetCurrentLogPath(const QString& path) { current_log_path_ = path; }
  bool ShowScaleModeOption() const { return show_scale_mode_option_; }
  // Items 1..item_count whose boxes are checked, ascending.
  std::vector<int> VisibleItems() const;

  // Cursor lines in chart units (sample offsets from the left edge of the view); cursor 1 or 2.
  // A line keeps its place on the chart surface: scrolling, zooming and resizing change the chart
  // x under it (and so its sample), not where it stands.
  double CursorX(int cursor) const;
  void SetCursorX(int cursor, double x);
  bool CursorsShown() const { return cursors_shown_; }
  // Chart units under a pixel column of the chart surface.
  double ChartXAt(double x_px) const;
  // A press or drag on the chart with `buttons` (kLeftButton, kRightButton bits) at chart x:
  // moves the cursor lines and reports the readouts to write through CursorsMoved. Nothing
  // without a log or without a button.
  void picGraph_MouseDown(int buttons, double chart_x);

  GraphView* Graph() const { return graph_; }
  ScaleView* Scale() const { return scale_; }
  ItemPanel* Items() const { return items_; }
  QWidget* ChartBox() const { return chart_box_; }
  QScrollBar* TimeScrollBar() const { return time_scroll_; }
  QGroupBox* CommandFrame() const { return command_frame_; }
  QPushButton* OpenButton() const { return open_button_; }
  // chkMaxView: a toggle button, checked while the numeric display is shown.
  QPushButton* MaxViewCheck() const { return max_view_check_; }
  QPushButton* OptionButton() const { return option_button_; }
  QPushButton* HelpButton() const { return help_button_; }
  QComboBox* MagnificationCombo() const { return magnification_combo_; }
  QPushButton* ExitButton() const { return exit_button_; }
  QGroupBox* TripFrame() const { return trip_frame_; }
  QTreeWidget* TripList() const { return trip_list_; }
  // The numeric display window while chkMaxView is checked, else null.
  MaxViewWindow* MaxView() const;
  // The help window once the help has been opened, else null.
  HelpWindow* Help() const { return help_.get(); }
  // The trip list's copy command ("走行/燃費情報のコピー").
  void CopyTripList() { mnuFuelEfficientCopy_Click(); }

  // How messages are shown: a critical box titled "Dravik" with one OK button unless replaced
  // (tests replace it so that nothing blocks).
  using MessageHook = std::function<void(const QString& text)>;
  void SetMessageHook(MessageHook hook) { message_hook_ = std::move(hook); }
  // How the open dialog asks for a file: nullopt when the user cancels. Replaceable likewise.
  using OpenDialogHook = std::function<std::optional<QString>(const QString& current_path)>;
  void SetOpenDialogHook(OpenDialogHook hook) { open_dialog_hook_ = std::move(hook); }
  // How the colour dialog asks for an item's colour, starting from `initial`: nullopt when the
  // user cancels. Replaceable likewise.
  using ColourDialogHook = std::function<std::optional<QColor>(const QColor& initial)>;
  void SetColourDialogHook(ColourDialogHook hook) { colour_dialog_hook_ = std::move(hook); }
  // How the save dialog asks where to save the chart picture, offering `suggested`: nullopt when
  // the user cancels. Replaceable likewise.
  using SaveDialogHook = std::function<std::optional<QString>(const QString& suggested)>;
  void SetSaveDialogHook(SaveDialogHook hook) { save_dialog_hook_ = std::move(hook); }
  // How long a load runs before its progress dialog appears.
  void SetLoadProgressDelay(std::chrono::milliseconds delay) { load_progress_delay_ = delay; }
  // The item colour menu (mnuColor) that a right-button release on an item box opens.
  QMenu* ColourMenu() const { return colour_menu_; }

  // The chart as shown, the scale strip and the graph with the cursor lines.
  QImage ChartPicture() const;
  // Ctrl+C: the chart picture to the clipboard. Ctrl+S: the chart picture to a PNG file chosen in
  // the save dialog. Both do nothing while no log is loaded.
  void CopyChartPicture();
  void SaveChartPicture();

  // Outer window rectangle in twips, as the settings keep it: the window's position and its
  // client size grown by the frame.
  QRect OuterRectTwips() const;
  void SetOuterRectTwips(const QRect& rect_twips);

 signals:
  // A log was loaded (step where the numeric display refills its list) or a load failed (its
  // rows are to be removed).
  void LogLoaded();
  void LogCleared();
  // A mouse event on the chart moved the cursors: the numeric display writes these readouts.
  // DrowGraph ends with one for each cursor while the numeric display is on.
  void CursorsMoved(const CursorMove& move);
  // The window was minimized, restored or maximized; the numeric display follows.
  void WindowStateFollow(Qt::WindowStates states);
  // The window is closing, after the settings were saved: the other windows close too.
  void Exiting();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  // The popup menus and the keys of the chart picture.
  void BuildCommands();
  void InstallDropHandling();
  void cmdOpenFile_Click();
  void cmdExit_Click();
  void chkMaxView_Click(bool checked);
  void cmdOption_Click();
  void cmdHelp_Click();
  void ShowHelp(HelpPage page);
  void InstallWheelFilters();
  // Runs the magnification handler; `redraw` false where the caller draws right after.
  void cmbMultipl_Click(bool redraw = true);
  void scrX_Scroll(int position);
  void scrX_Change(int position);
  void chkItem_Click(int index);
  void chkItem_MouseUp(int index, QPoint global_pos);
  void mnuColor_Click(int entry);
  void ChangeItemColour();
  // The error box of an unexpected error in `procedure`: shown, then put on the clipboard.
  void ShowErrorBox(const std::string& procedure, ErrorNumber number);
  void picGraph_MouseMove(Qt::MouseButtons buttons, QPointF pos_px);
  // Moves the lines of `buttons` to column x_px of the chart surface and reports the readouts.
  void MoveCursorLines(int buttons, double x_px);
  // Refreshes both readouts for the samples now under the lines, which stay where they are.
  void ReapplyCursors();
  double ColumnAt(double chart_x) const;
  void Form_Resize();
  void Form_OLEDragDrop(const QString& path);
  void ApplyScrollBar();
  void ClearAfterFailedLoad();
  void FillTripList();
  void lstFuelEfficient_MouseUp(QPoint global_pos);
  void mnuFuelEfficientCopy_Click();
  void UpdateCursorLines();
  void ShowMessage(const QString& text);
  // The frame the platform reports, or the classic one (19 px caption, 4 px borders) where it
  // reports none.
  void ApplyMinimumSize();

  LogTable table_;
  Settings settings_;
  ChartView view_;
  std::vector<PlotYSummary> plot_y_summaries_;  // per item, empty until the item is drawn
  std::vector<TripListRow> trip_rows_;          // what the trip list shows, for its copy command
  std::string settings_path_;
  QString current_log_path_;
  bool show_scale_mode_option_ = false;
  bool skip_scroll_change_ = false;
  bool exited_ = false;
  bool loading_ = false;  // the table is being read: the window must not draw from it
  std::chrono::milliseconds load_progress_delay_ = LoadProgressDialog::kDefaultDelay;
  // The frame all outer sizes are reckoned with, so that the size stored is the size applied.
  QMargins frame_;
  bool shown_ = false;
  std::optional<QRect> requested_twips_;           // the outer rectangle last asked for
  int32_t scale_width_twips_ = kScaleMarginTwips;  // the strip as DrowScale last sized it
  // The cursor lines' columns on the chart surface, fractional pixels: the lines' state, from
  // which their chart x follows for the current view and width.
  double cursor_px_[2] = {0, 0};
  bool cursors_shown_ = false;
  MessageHook message_hook_;
  OpenDialogHook open_dialog_hook_;
  ColourDialogHook colour_dialog_hook_;
  SaveDialogHook save_dialog_hook_;
  QString loaded_log_path_;   // the log shown, for the picture's file name
  int colour_menu_item_ = 1;  // ColorMenuItem: the item whose box was right-clicked last

  QWidget* chart_box_ = nullptr;  // picBack
  ScaleView* scale_ = nullptr;
  GraphView* graph_ = nullptr;
  QScrollBar* time_scroll_ = nullptr;
  ItemPanel* items_ = nullptr;
  QGroupBox* command_frame_ = nullptr;
  QPushButton* open_button_ = nullptr;
  QPushButton* max_view_check_ = nullptr;
  QPushButton* option_button_ = nullptr;
  QPushButton* help_button_ = nullptr;
  QLabel* magnification_label_ = nullptr;
  QComboBox* magnification_combo_ = nullptr;
  QPushButton* exit_button_ = nullptr;
  QGroupBox* trip_frame_ = nullptr;
  QTreeWidget* trip_list_ = nullptr;
  QMenu* colour_menu_ = nullptr;
  QAction* colour_entry_ = nullptr;
  QPointer<MaxViewWindow> max_view_;  // deletes itself when closed
  std::unique_ptr<HelpWindow> help_;  // a window of its own, created when first asked for
  WheelFilter* chart_wheel_ = nullptr;
  WheelFilter* item_panel_wheel_ = nullptr;
};

}  // namespace dravik
