#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include <QString>

#include "chart/cursors.h"
#include "chart/scatter_raster.h"
#include "common/settings.h"
#include "log/log_table.h"
#include "panel/bin_table.h"
#include "panel/top_level_window.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace dravik {

class ScatterView;
class UserDialog;

// The window "Dravik - 散布図/集計表": one item against another as a scatter plot coloured by a
// third item (or by the density of the points), and the table of a statistic of the third item
// over bins of the two. The arithmetic is the core's (MakeScatterPlot, ComputeBinTable); it runs on
// a thread of its own, one piece of work at a time, and a result that a newer choice has made
// stale is dropped. Choices are kept by item name in the settings and applied again to each log.
// Closing it stores its place and size, emits Closed and deletes it.
class AnalysisWindow : public TopLevelWindow {
  Q_OBJECT

 public:
  // The samples between the cursor lines as the chart has them now.
  using CursorSectionSource = std::function<SampleSection()>;

  // `table`, `settings` and `dialogs` are the main window's and must outlive this window.
  AnalysisWindow(const LogTable& table, Settings& settings, UserDialog& dialogs,
                 CursorSectionSource cursor_section, QWidget* parent);
  ~AnalysisWindow() override;

  // The log is about to be read again: waits for the work under way, which reads it, and starts
  // none until LogLoaded or LogCleared.
  void WaitForWork();
  // A log was loaded: the lists take its items and the remembered choices apply again.
  void LogLoaded();
  // A load failed: no log.
  void LogCleared();
  // The cursor lines were placed: with the range between the cursors, a changed section redraws.
  void CursorsPlaced();
  // Minimised and restored along with the main window.
  void FollowMainWindow(Qt::WindowStates main_window_states);
  // The settings take the window's place and size, unless it is minimised; the main window asks
  // before it saves the settings at exit, so a window left open keeps where the user put it.
  void StoreGeometry();

 signals:
  void Closed();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // What one run of the worker makes.
  struct Job {
    uint64_t generation = 0;
    bool scatter = true;
    ScatterRequest scatter_request;
    std::optional<PlotRange> x_zoom;
    std::optional<PlotRange> y_zoom;
    BinTableRequest table_request;
  };

  void BuildControls();
  // A caption for `buddy` whose text is `source` in the interface language.
  QLabel* Caption(const char* source, QWidget* buddy, QWidget* parent);
  // That caption in `column` of `grid` and its field in the column after it.
  void AddCaptioned(QGridLayout* grid, int row, int column, const char* source, QWidget* field,
                    QWidget* parent);
  // Every text of the window's own, in the interface language.
  void WriteTexts();
  // Fills the item lists from the log and selects the remembered items.
  void FillItemLists();
  // The settings take the current choices; a remembered item the log lacks stays remembered.
  void StoreChoices();
  // A choice changed: the shown view is made again, the other one when it is next shown.
  void ChoicesChanged();
  // Checks the typed fields (red with a tooltip when bad) and makes the shown view again.
  void Refresh();
  // The job for the shown view, or the reason there is none.
  std::optional<Job> MakeJob(QString& problem);
  void StartJob(Job job);
  void JobFinished(uint64_t generation, bool scatter, std::shared_ptr<const ScatterPlot> plot,
                   std::shared_ptr<const BinTableResult> table, const QString& failure);
  void ShowTable(const BinTable& table);
  void ShowProblem(const QString& text);
  // Copy for what the shown tab holds; the picture can be saved while there is a plot.
  void UpdateButtons();
  void ShowReadout(double x, double y, qint64 pixel);
  void CopyView();
  void SavePicture();
  // The item index selected in a list; -1 for "なし".
  int SelectedItem(const QComboBox* list) const;
  QString ItemTitle(int item) const;

  const LogTable& table_;
  Settings& settings_;
  UserDialog& dialogs_;
  CursorSectionSource cursor_section_;
  bool table_changing_ = false;
  // Names the lists could not select because the log lacks them: X, Y, colour, filter.
  QString missing_[4];
  std::vector<std::pair<QLabel*, const char*>> captions_;  // with their Japanese texts

  QComboBox* cmb_x_item_;
  QComboBox* cmb_y_item_;
  QComboBox* cmb_colour_item_;
  QComboBox* cmb_range_;
  QComboBox* cmb_filter_item_;
  QLineEdit* txt_filter_min_;
  QLineEdit* txt_filter_max_;
  QTabWidget* tabs_;
  ScatterView* scatter_;
  QLabel* lbl_readout_;
  QLineEdit* txt_bins_x_;
  QLineEdit* txt_bins_y_;
  QComboBox* cmb_statistic_;
  QSpinBox* spn_min_count_;
  QLabel* lbl_table_message_;
  QTableWidget* tbl_bins_;
  QPushButton* cmd_copy_;
  QPushButton* cmd_save_picture_;
  QPushButton* cmd_close_;

  std::shared_ptr<const ScatterPlot> plot_;
  std::optional<BinTable> bin_table_;
  std::optional<PlotRange> x_zoom_;
  std::optional<PlotRange> y_zoom_;
  std::optional<SampleSection> section_;  // the cursors' section the shown views were made for
  bool scatter_stale_ = true;
  bool table_stale_ = true;

  std::thread worker_;
  bool busy_ = false;
  bool pending_ = false;
  uint64_t generation_ = 0;
};

}  // namespace dravik
