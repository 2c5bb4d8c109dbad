#pragma once

#include <cstdint>
#include <functional>
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
#include "log/reference_log.h"

class QScrollBar;

namespace dravik {

class GraphView;
class ScaleView;
class UserDialog;

// The chart: the chart box (picBack) holding the scale strip (picScale) and the chart surface
// (picGraph) beside it, and the time scroll bar (scrX) below the box. It lays these out itself
// and keeps the view state for the log of the main window: the magnification and scroll position,
// the two cursor lines and their readouts, the pictures drawn from them and the copy and save
// commands of the chart picture. The wheel over the chart scrolls it (with Ctrl, asks for another
// magnification); a file dropped on the scale strip or the chart surface is reported.
class ChartPanel : public QWidget {
  Q_OBJECT

 public:
  // Items 1..item_count to draw, ascending: those whose boxes are checked.
  using VisibleItemsSource = std::function<std::vector<int>()>;
  // The readout beside the pointer at `sample` for the items drawn.
  using HoverReadoutSource = std::function<std::vector<ReadoutLine>(int64_t sample)>;

  // `table`, `settings` and `dialogs` are the main window's and must outlive this panel.
  ChartPanel(const LogTable& table, const Settings& settings, VisibleItemsSource visible_items,
             UserDialog& dialogs, QWidget* parent);

  // Places the chart box and the time scroll bar where the window layout puts them in the parent
  // (pixels); the scale strip and the chart surface follow inside the box.
  void Place(const QRect& back_px, const QRect& scroll_px);
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

  // The cursor lines are kept in chart units (sample offsets from the left edge of the view). A
  // line keeps its place on the chart surface while the view scrolls or zooms (its sample
  // changes); when the chart surface changes width, the line moves with its sample.
  void SetCursorsShown(bool shown);
  // A key moved cursor 1 or 2 by `delta` samples: the line follows its sample, scrolling the view
  // to keep it in sight, and reports the readouts as a drag there would. Nothing without a log.
  void StepCursorLine(int cursor, int64_t delta);
  // A key moved the view: the time scroll bar takes the new position and the chart follows.
  void ScrollByKey(ScrollKey key);
  // Whether the numeric display is on: only then do the cursors report readouts.
  void SetNumericDisplayShown(bool shown) { numeric_display_shown_ = shown; }
  // Refreshes both readouts for the samples now under the lines, which stay where they are.
  void ReapplyCursors();
  // The samples between the two lines as they stand now, both included (SectionBetween).
  SampleSection CursorSection() const;

  // Ctrl+C: the chart picture (the scale strip and the graph with the cursor lines, as shown) to
  // the clipboard. Ctrl+S: the same picture to a PNG file chosen in the save dialog, offered
  // beside the log under the log's name. Both do nothing while no log is loaded.
  void CopyPicture();
  void SavePicture();
  // The log whose picture is shown, for the name the save dialog offers.
  void SetLogPath(const QString& path) { log_path_ = path; }
  void SetHoverReadoutSource(HoverReadoutSource source) { hover_readout_ = std::move(source); }

  // The reference log drawn under the main log's traces: the main window's, which must outlive
  // this panel; its offset is moved here by Ctrl + left drag. Without one, or while it is not open,
  // the chart is the main log's alone and Ctrl + left drag moves cursor 1 as a left drag does.
  void SetReference(ReferenceLog* reference) { reference_ = reference; }
  // The reference was opened or closed: the scales and the traces are drawn anew.
  void ReferenceChanged();

 signals:
  // A mouse event on the chart moved the cursors: the numeric display writes these readouts.
  // DrowGraph ends with one for each cursor while the numeric display is on.
  void CursorsMoved(const CursorMove& move);
  // DrowGraph could not make the summary of these items' chart positions for want of memory and
  // left their traces out.
  void ItemsNotDrawn(const QList<int>& items);
  // The wheel turned with Ctrl held: one entry up (+1, away from the user) or down the
  // magnification list.
  void MagnificationStepRequested(int delta);
  // `as_reference`: dropped with Shift held, to be opened as the reference log.
  void FileDropped(const QString& path, bool as_reference);
  // A Ctrl + left drag moved the reference log's offset; `finished` once the button is let go.
  void ReferenceMoved(bool finished);
  // The lines were placed again: moved, or the view under them scrolled or zoomed.
  void CursorLinesPlaced();

 private:
  // Sizes the scale strip to its width and the chart surface to the rest of the box.
  void LayOutBox();
  void scrX_Scroll(int position);
  void scrX_Change(int position);
  // An arrow click of the time scroll bar (`action` of QAbstractSlider) also moves by a wheel step.
  void AddWheelStepToArrow(int action);
  void ApplyScrollBar();
  void picGraph_MouseMove(Qt::MouseButtons buttons, QPointF pos_px,
                          Qt::KeyboardModifiers modifiers);
  void picGraph_MouseDown(Qt::MouseButtons buttons, QPointF pos_px,
                          Qt::KeyboardModifiers modifiers);
  void picGraph_MouseUp(Qt::MouseButtons buttons);
  bool ReferenceShown() const { return reference_ != nullptr && reference_->IsOpen(); }
  // The scale ranges of the items: their own, or with the reference shown both logs' together.
  ItemRanges Ranges() const;
  // The main log's time under pixel column x_px of the chart surface.
  double TimeAt(double x_px) const;
  // A move without a button: the readout of the sample under the pointer, nothing else.
  void ShowHoverReadout(QPointF pos_px);
  // Moves the lines of `buttons` (kLeftButton, kRightButton bits) to chart x and reports the
  // readouts through CursorsMoved. Nothing without a log.
  void MoveCursorLines(int buttons, double chart_x);
  // Chart units under a pixel column of the chart surface, and back, both unrounded.
  double ChartXAt(double x_px) const;
  double ColumnAt(double chart_x) const;
  // Places the lines on the surface at its current size.
  void UpdateCursorLines();
  QImage Picture();

  const LogTable& table_;
  const Settings& settings_;
  VisibleItemsSource visible_items_;
  UserDialog& dialogs_;
  ChartView view_;
  PlotYStore plot_y_;  // of the items drawn
  int32_t scale_width_twips_;
  bool skip_scroll_change_ = false;
  bool numeric_display_shown_ = false;
  // The cursor lines' chart x, cursor 1 then 2, as MoveCursors left them.
  double cursor_x_[2] = {0, 0};
  bool cursors_shown_ = false;
  QString log_path_;
  HoverReadoutSource hover_readout_;
  ReferenceLog* reference_ = nullptr;
  PlotYStore reference_plot_y_;  // the reference's positions by main item, on the items' scales
  // A Ctrl + left drag of the reference: the time under the pointer and the offset when it began.
  bool dragging_reference_ = false;
  double drag_start_time_ms_ = 0;
  double drag_start_offset_ms_ = 0;

  QWidget* back_;
  ScaleView* scale_;
  GraphView* graph_;
  QScrollBar* time_scroll_;
};

}  // namespace dravik
