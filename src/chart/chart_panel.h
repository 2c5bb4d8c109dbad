#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QImage>
#include <QString>
#include <QWidget>

#include "chart/cursors.h"
#include "chart/plot_y_store.h"
#include "chart/scaling.h"
#include "chart/trace_raster.h"
#include "common/settings.h"
#include "log/log_table.h"

class QScrollBar;

namespace dravik {

class GraphView;
class ScaleView;

// The chart box (picBack): the scale strip (picScale) and the chart surface (picGraph) beside it,
// with the time scroll bar (scrX) that it places below itself in its parent. It keeps the view
// state for the log of the main window: the magnification and scroll position, the two cursor
// lines and their readouts, the pictures drawn from them and the copy and save commands of the
// chart picture.
class ChartPanel : public QWidget {
  Q_OBJECT

 public:
  // Items 1..item_count to draw, ascending: those whose boxes are checked.
  using VisibleItemsSource = std::function<std::vector<int>()>;
  // The readout beside the pointer at `sample` for the items drawn.
  using HoverReadoutSource = std::function<std::vector<ReadoutLine>(int64_t sample)>;
  // How a message is shown to the user.
  using MessageFunction = std::function<void(const QString& text)>;
  // How the save dialog asks where to save the chart picture, offering `suggested`: nullopt when
  // the user cancels.
  using SaveDialogHook = std::function<std::optional<QString>(const QString& suggested)>;

  // `table` and `settings` are the main window's and must outlive this panel; the scroll bar is
  // made a child of `parent`.
  ChartPanel(const LogTable& table, const Settings& settings, VisibleItemsSource visible_items,
             QWidget* parent);

  ScaleView* Scale() const { return scale_; }
  GraphView* Graph() const { return graph_; }
  QScrollBar* TimeScrollBar() const { return time_scroll_; }
  const ChartView& View() const { return view_; }
  std::vector<int> VisibleItems() const { return visible_items_(); }
  // The scale strip's width as DrowScale last sized it, for the window layout.
  int32_t ScaleWidthTwips() const { return scale_width_twips_; }

  // Repaints the scale strip for the checked items and moves the chart beside it.
  void DrowScale();
  // Repaints the chart picture from the view state, the checked items and their colours; with
  // the numeric display on, both readouts follow for the samples now under the lines.
  void DrowGraph();
  // Applies a newly chosen magnification to the view and the scroll bar; `redraw` false where
  // the caller draws right after.
  void SetMagnification(int magnification, bool redraw);
  // Forgets what the chart kept of the log shown, before another is read.
  void ForgetPlotY();
  // Clears both pictures after a failed load.
  void ClearPictures();

  // Cursor lines in chart units (sample offsets from the left edge of the view); cursor 1 or 2.
  // A line keeps its place on the chart surface while the view scrolls or zooms (its sample
  // changes); when the chart surface changes width, the line moves with its sample.
  double CursorX(int cursor) const;
  void SetCursorX(int cursor, double x);
  bool CursorsShown() const { return cursors_shown_; }
  void SetCursorsShown(bool shown);
  // Chart units under a pixel column of the chart surface.
  double ChartXAt(double x_px) const;
  // A press or drag on the chart with `buttons` (kLeftButton, kRightButton bits) at chart x:
  // moves the cursor lines and reports the readouts through CursorsMoved. Nothing without a log
  // or without a button.
  void picGraph_MouseDown(int buttons, double chart_x);
  // A key moved cursor 1 or 2 by `delta` samples: the line follows its sample, scrolling the view
  // to keep it in sight, and reports the readouts as a drag there would. Nothing without a log.
  void StepCursorLine(int cursor, int64_t delta);
  // A key moved the view: the time scroll bar takes the new position and the chart follows.
  void ScrollByKey(ScrollKey key);
  // Whether the numeric display is on: only then do the cursors report readouts.
  void SetNumericDisplayShown(bool shown) { numeric_display_shown_ = shown; }
  // Refreshes both readouts for the samples now under the lines, which stay where they are.
  void ReapplyCursors();
  // Places the lines on the surface at its current size.
  void UpdateCursorLines();

  // The chart as shown: the scale strip and the graph with the cursor lines.
  QImage Picture();
  // Ctrl+C: the chart picture to the clipboard. Ctrl+S: the chart picture to a PNG file chosen in
  // the save dialog, offered beside the log under the log's name. Both do nothing while no log is
  // loaded.
  void CopyPicture();
  void SavePicture();
  // The log whose picture is shown, for the name the save dialog offers.
  void SetLogPath(const QString& path) { log_path_ = path; }
  void SetHoverReadoutSource(HoverReadoutSource source) { hover_readout_ = std::move(source); }
  void SetMessageFunction(MessageFunction show_message) { show_message_ = std::move(show_message); }
  // Replaces the save dialog (tests replace it so that nothing blocks).
  void SetSaveDialogHook(SaveDialogHook hook) { save_dialog_hook_ = std::move(hook); }

 signals:
  // A mouse event on the chart moved the cursors: the numeric display writes these readouts.
  // DrowGraph ends with one for each cursor while the numeric display is on.
  void CursorsMoved(const CursorMove& move);
  // DrowGraph could not make the summary of these items' chart positions for want of memory and
  // left their traces out.
  void ItemsNotDrawn(const QList<int>& items);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void scrX_Scroll(int position);
  void scrX_Change(int position);
  // An arrow click of the time scroll bar (`action` of QAbstractSlider) also moves by a wheel step.
  void AddWheelStepToArrow(int action);
  void ApplyScrollBar();
  void picGraph_MouseMove(Qt::MouseButtons buttons, QPointF pos_px);
  // A move without a button: the readout of the sample under the pointer, nothing else.
  void ShowHoverReadout(QPointF pos_px);
  // Moves the lines of `buttons` to column x_px of the chart surface and reports the readouts.
  void MoveCursorLines(int buttons, double x_px);
  double ColumnAt(double chart_x) const;
  // After the chart surface changed from `old_width_px`: the lines move to stay on their samples.
  void KeepCursorSamples(int old_width_px);

  const LogTable& table_;
  const Settings& settings_;
  VisibleItemsSource visible_items_;
  ChartView view_;
  PlotYStore plot_y_;  // of the items drawn
  int32_t scale_width_twips_;
  bool skip_scroll_change_ = false;
  bool numeric_display_shown_ = false;
  // The cursor lines' columns on the chart surface, fractional pixels: the lines' state, from
  // which their chart x follows for the current view and width.
  double cursor_px_[2] = {0, 0};
  bool cursors_shown_ = false;
  QString log_path_;
  MessageFunction show_message_;
  HoverReadoutSource hover_readout_;
  SaveDialogHook save_dialog_hook_;

  ScaleView* scale_;
  GraphView* graph_;
  QScrollBar* time_scroll_;
};

}  // namespace dravik
