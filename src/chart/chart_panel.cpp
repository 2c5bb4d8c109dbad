#include "chart/chart_panel.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScrollBar>

#include "chart/chart_render.h"
#include "chart/graph_view.h"
#include "chart/layout.h"
#include "chart/reference_alignment.h"
#include "chart/scale_labels.h"
#include "chart/scale_view.h"
#include "chart/twips.h"
#include "chart/wheel_filter.h"
#include "common/drop_filter.h"
#include "common/rounding.h"
#include "common/user_dialog.h"

namespace dravik {
namespace {

// A blank picture for `view` in its device pixels, so that a scaled screen shows it one to one.
QImage NewPictureFor(const QWidget& view) {
  const double ratio = view.devicePixelRatioF();
  return NewPicture(view.size() * ratio, ratio);
}

// Marks a picture drawn in device pixels with its ratio, for the view to show it at its logical
// size. Only once it is drawn: a painter on a marked picture would draw in logical pixels.
QImage ShownAtDevicePixels(QImage picture, const QWidget& view) {
  picture.setDevicePixelRatio(view.devicePixelRatioF());
  return picture;
}

}  // namespace

ChartPanel::ChartPanel(const LogTable& table, const Settings& settings,
                       VisibleItemsSource visible_items, UserDialog& dialogs, QWidget* parent)
    : QWidget(parent),
      table_(table),
      settings_(settings),
      visible_items_(std::move(visible_items)),
      dialogs_(dialogs),
      scale_width_twips_(kScaleMarginTwips),
      back_(new QWidget(this)),
      scale_(new ScaleView(back_)),
      graph_(new GraphView(back_)),
      time_scroll_(new QScrollBar(Qt::Horizontal, this)) {
  back_->setObjectName(QStringLiteral("picBack"));
  scale_->setObjectName(QStringLiteral("picScale"));
  graph_->setObjectName(QStringLiteral("picGraph"));
  time_scroll_->setObjectName(QStringLiteral("scrX"));
  view_.magnification = kMagnifications[0];
  time_scroll_->setRange(0, 0);
  time_scroll_->setSingleStep(1);
  time_scroll_->setEnabled(false);
  connect(time_scroll_, &QScrollBar::sliderMoved, this, &ChartPanel::scrX_Scroll);
  connect(time_scroll_, &QScrollBar::valueChanged, this, &ChartPanel::scrX_Change);
  connect(time_scroll_, &QScrollBar::actionTriggered, this, &ChartPanel::AddWheelStepToArrow);
  connect(graph_, &GraphView::MousePressed, this, &ChartPanel::picGraph_MouseDown);
  connect(graph_, &GraphView::MouseMoved, this, &ChartPanel::picGraph_MouseMove);
  connect(graph_, &GraphView::MouseReleased, this, &ChartPanel::picGraph_MouseUp);

  WheelFilter* wheel = WheelFilter::ForChart(
      time_scroll_, [this] { return view_.view_span; }, this);
  wheel->SetControlWheel([this](int delta) { emit MagnificationStepRequested(delta); });
  auto* drops = new DropFilter(this);
  connect(drops, &DropFilter::FileDropped, this, &ChartPanel::FileDropped);
  for (QWidget* widget : {static_cast<QWidget*>(scale_), static_cast<QWidget*>(graph_)}) {
    wheel->Watch(widget);
    drops->Accept(widget);
  }
  wheel->Watch(time_scroll_);
  for (QWidget* widget :
       {static_cast<QWidget*>(this), back_, static_cast<QWidget*>(time_scroll_)}) {
    drops->Refuse(widget);
  }
}

void ChartPanel::Place(const QRect& back_px, const QRect& scroll_px) {
  const QRect whole = back_px.united(scroll_px);
  setGeometry(whole);
  back_->setGeometry(back_px.translated(-whole.topLeft()));
  time_scroll_->setGeometry(scroll_px.translated(-whole.topLeft()));
  LayOutBox();
}

void ChartPanel::LayOutBox() {
  const int height_px = back_->height();
  scale_->setGeometry(0, 0, TwipsToPixels(scale_width_twips_), height_px);
  const Rect back{0, 0, PixelsToTwips(back_->width()), PixelsToTwips(height_px)};
  const Rect graph_rect = GraphRect(back, scale_width_twips_);
  graph_->setGeometry(TwipsToPixels(graph_rect.left), 0, TwipsToPixels(graph_rect.width),
                      height_px);
  UpdateCursorLines();
}

ItemRanges ChartPanel::Ranges() const {
  return ReferenceShown() ? CombinedRanges(table_, *reference_) : OwnRanges(table_);
}

void ChartPanel::ReferenceChanged() {
  plot_y_.Clear();
  reference_plot_y_.Clear();
  if (table_.IsLoaded()) {
    DrowScale();
    DrowGraph();
  }
}

void ChartPanel::DrowScale() {
  const ScaleStrip strip = BuildScaleStrip(Ranges(), visible_items_(), settings_.graph_scale_mode);
  scale_width_twips_ = strip.width_twips;
  LayOutBox();
  QImage picture = NewPictureFor(*scale_);
  RenderScaleImage(picture, strip, settings_.item_colors);
  scale_->SetPicture(ShownAtDevicePixels(std::move(picture), *scale_));
}

void ChartPanel::DrowGraph() {
  if (!table_.IsLoaded()) {
    return;
  }
  const std::vector<int> visible = visible_items_();
  // An item's summary is made when it is first drawn and forgotten when it is no longer: the load
  // pays for no item, and an item on the chart takes 4 bytes per 64 samples beyond its values.
  std::vector<int> left_out;
  ReferenceTraces reference;
  if (ReferenceShown()) {
    // Both logs' traces of an item share its scale, which covers both logs' values.
    const ItemRanges ranges = Ranges();
    const int mode = settings_.graph_scale_mode;
    left_out = plot_y_.Keep(table_.item_count, visible, [&](int item) {
      return PlotPositionsWithin(table_.Values(item), ranges.min[item], ranges.max[item], mode);
    });
    reference_plot_y_.Keep(table_.item_count, visible, [&](int item) {
      const int other = reference_->ItemFor(item);
      return other < 1 ? PlotPositions()
                       : PlotPositionsWithin(reference_->table.Values(other), ranges.min[item],
                                             ranges.max[item], mode);
    });
    reference = {reference_, &reference_plot_y_};
  } else {
    left_out = plot_y_.Keep(table_, visible, settings_.graph_scale_mode);
  }
  QImage picture = NewPictureFor(*graph_);
  RenderGraphImage(picture, table_, plot_y_, view_, visible, settings_, reference);
  graph_->SetPicture(ShownAtDevicePixels(std::move(picture), *graph_));
  UpdateCursorLines();
  if (numeric_display_shown_) {
    ReapplyCursors();
  }
  if (!left_out.empty()) {
    emit ItemsNotDrawn(QList<int>(left_out.begin(), left_out.end()));
  }
}

void ChartPanel::ForgetPlotY() {
  plot_y_.Clear();
  reference_plot_y_.Clear();
}

void ChartPanel::ClearPictures() {
  graph_->ClearPicture();
  scale_->ClearPicture();
  ForgetPlotY();
}

void ChartPanel::SetMagnification(int magnification, bool redraw) {
  const int64_t old_span = view_.view_span;
  ChangeMagnification(view_, magnification, table_.last_sample);
  // The lines keep their place on the surface, so their chart x scales with the span.
  if (old_span > 0) {
    for (double& x : cursor_x_) {
      x = x * static_cast<double>(view_.view_span) / static_cast<double>(old_span);
    }
  }
  {
    // The change handler would redraw for the new position; the redraw below covers it.
    const QSignalBlocker block(time_scroll_);
    ApplyScrollBar();
  }
  UpdateCursorLines();
  if (redraw && table_.IsLoaded()) {
    DrowGraph();
  }
}

void ChartPanel::ApplyScrollBar() {
  time_scroll_->setRange(0, static_cast<int>(view_.scroll_maximum));
  time_scroll_->setPageStep(static_cast<int>(view_.scroll_large_change));
  time_scroll_->setValue(static_cast<int>(view_.scroll_position));
  time_scroll_->setEnabled(view_.scroll_enabled);
}

void ChartPanel::scrX_Scroll(int position) {
  view_.scroll_position = position;
  DrowGraph();
  skip_scroll_change_ = true;
}

void ChartPanel::scrX_Change(int position) {
  view_.scroll_position = position;
  if (skip_scroll_change_) {
    skip_scroll_change_ = false;
    return;
  }
  DrowGraph();
}

void ChartPanel::AddWheelStepToArrow(int action) {
  // An arrow click is a line step of the bar and a wheel step of the chart at once. The bar has
  // taken its own step already and applies the position once this returns.
  const int64_t step = WheelStep(view_.view_span);
  const int position = time_scroll_->sliderPosition();
  if (action == QAbstractSlider::SliderSingleStepAdd) {
    time_scroll_->setSliderPosition(static_cast<int>(
        ScrollChartForward(position, time_scroll_->minimum(), time_scroll_->maximum(), step)));
  } else if (action == QAbstractSlider::SliderSingleStepSub) {
    time_scroll_->setSliderPosition(static_cast<int>(
        ScrollChartBack(position, time_scroll_->minimum(), time_scroll_->maximum(), step)));
  }
}

double ChartPanel::TimeAt(double x_px) const {
  return TimeAtChartPosition(table_,
                             ChartXAt(x_px) + static_cast<double>(FirstVisibleSample(view_)));
}

void ChartPanel::picGraph_MouseDown(Qt::MouseButtons buttons, QPointF pos_px,
                                    Qt::KeyboardModifiers modifiers) {
  dragging_reference_ = buttons == Qt::LeftButton && (modifiers & Qt::ControlModifier) &&
                        ReferenceShown() && table_.IsLoaded();
  if (dragging_reference_) {
    graph_->ClearHover();
    drag_start_time_ms_ = TimeAt(pos_px.x());
    drag_start_offset_ms_ = reference_->offset_ms;
    return;
  }
  picGraph_MouseMove(buttons, pos_px, modifiers);
}

void ChartPanel::picGraph_MouseUp(Qt::MouseButtons buttons) {
  if (dragging_reference_ && !(buttons & Qt::LeftButton)) {
    dragging_reference_ = false;
    emit ReferenceMoved(true);
  }
}

void ChartPanel::picGraph_MouseMove(Qt::MouseButtons buttons, QPointF pos_px,
                                    Qt::KeyboardModifiers /*modifiers*/) {
  if (dragging_reference_) {
    if (buttons & Qt::LeftButton) {
      // The reference moves with the pointer by the main log's time it has crossed, in whole ms.
      reference_->offset_ms =
          drag_start_offset_ms_ +
          static_cast<double>(RoundHalfEven(TimeAt(pos_px.x()) - drag_start_time_ms_));
      DrowGraph();
      emit ReferenceMoved(false);
    }
    return;
  }
  if (!(buttons & (Qt::LeftButton | Qt::RightButton))) {
    ShowHoverReadout(pos_px);
    return;
  }
  graph_->ClearHover();
  int bits = 0;
  if (buttons & Qt::LeftButton) {
    bits |= kLeftButton;
  }
  if (buttons & Qt::RightButton) {
    bits |= kRightButton;
  }
  MoveCursorLines(bits, ChartXAt(pos_px.x()));
}

void ChartPanel::ShowHoverReadout(QPointF pos_px) {
  if (!table_.IsLoaded() || !hover_readout_) {
    return;
  }
  const std::vector<ReadoutLine> readout =
      hover_readout_(ChartXToSample(ChartXAt(pos_px.x()), FirstVisibleSample(view_)));
  if (readout.empty()) {
    graph_->ClearHover();
    return;
  }
  graph_->SetHover(readout, pos_px.toPoint());
}

void ChartPanel::StepCursorLine(int cursor, int64_t delta) {
  if (!table_.IsLoaded()) {
    return;
  }
  const int64_t sample = ChartXToSample(cursor_x_[cursor == 1 ? 0 : 1], FirstVisibleSample(view_));
  const CursorStep step =
      StepCursor(sample, delta, cursor_x_[cursor == 1 ? 1 : 0], table_.last_sample, view_);
  const bool scrolls = step.scroll_position != view_.scroll_position;
  if (scrolls) {
    view_.scroll_position = step.scroll_position;
    // The redraw below follows the new position once the line stands on its sample.
    const QSignalBlocker block(time_scroll_);
    ApplyScrollBar();
  }
  const double x = static_cast<double>(step.sample - FirstVisibleSample(view_));
  if (scrolls) {
    cursor_x_[cursor == 1 ? 0 : 1] = x;
    // The other cursor was not moved: it keeps its sample, its line going with the view.
    cursor_x_[cursor == 1 ? 1 : 0] = step.other_line_x;
    DrowGraph();
  }
  MoveCursorLines(cursor == 1 ? kLeftButton : kRightButton, x);
}

void ChartPanel::ScrollByKey(ScrollKey key) {
  if (!table_.IsLoaded()) {
    return;
  }
  time_scroll_->setValue(static_cast<int>(ScrollForKey(view_, key)));
}

void ChartPanel::ReapplyCursors() {
  MoveCursorLines(kLeftButton, cursor_x_[0]);
  MoveCursorLines(kRightButton, cursor_x_[1]);
}

void ChartPanel::MoveCursorLines(int buttons, double chart_x) {
  CursorContext context;
  context.item_count = table_.item_count;
  context.last_sample = table_.last_sample;
  context.first_visible_sample = FirstVisibleSample(view_);
  context.line1_x = cursor_x_[0];
  context.line2_x = cursor_x_[1];
  context.max_view_shown = numeric_display_shown_;
  context.section_time = settings_.section_time != 0;
  context.has_speed = table_.has_speed;
  const CursorMove move = MoveCursors(buttons, chart_x, context);
  cursor_x_[0] = move.line1_x;
  cursor_x_[1] = move.line2_x;
  UpdateCursorLines();
  if (!move.readouts.empty() || move.section) {
    emit CursorsMoved(move);
  }
}

void ChartPanel::SetCursorsShown(bool shown) {
  cursors_shown_ = shown;
  UpdateCursorLines();
}

double ChartPanel::ChartXAt(double x_px) const {
  return ColumnToChartX(x_px, view_.view_span, graph_->width());
}

// The fractional column of chart x; unrounded, unlike the drawing's ChartXToColumn, so that the
// chart x read back from it is the one given.
double ChartPanel::ColumnAt(double chart_x) const {
  const double span = static_cast<double>(view_.view_span);
  return span > 0 ? chart_x * graph_->width() / span : 0.0;
}

void ChartPanel::UpdateCursorLines() {
  GraphView::CursorLines lines;
  lines.visible = cursors_shown_;
  lines.x1_px = static_cast<int>(RoundHalfEven(ColumnAt(cursor_x_[0])));
  lines.x2_px = static_cast<int>(RoundHalfEven(ColumnAt(cursor_x_[1])));
  lines.top_px = static_cast<int>(ChartYToRow(kCursorLineTop, graph_->height()));
  lines.bottom_px = static_cast<int>(ChartYToRow(kCursorLineBottom, graph_->height()));
  graph_->SetCursorLines(lines);
  emit CursorLinesPlaced();
}

SampleSection ChartPanel::CursorSection() const {
  return SectionBetween(cursor_x_[0], cursor_x_[1], FirstVisibleSample(view_));
}

QImage ChartPanel::Picture() {
  // The box holds exactly the scale strip and the graph beside it; grabbing it paints both
  // pictures with the cursor lines over them, as they are shown.
  return back_->grab().toImage();
}

void ChartPanel::CopyPicture() {
  if (!table_.IsLoaded()) {
    return;
  }
  QGuiApplication::clipboard()->setImage(Picture());
}

void ChartPanel::SavePicture() {
  if (!table_.IsLoaded()) {
    return;
  }
  const QFileInfo log(log_path_);
  const QString suggested = log.dir().filePath(log.completeBaseName() + QStringLiteral(".png"));
  const QString chosen =
      dialogs_.ChooseFileToSave(window(), suggested, QStringLiteral("PNG (*.png)"));
  if (chosen.isEmpty()) {
    return;
  }
  const FileWriteResult saved = WritePngFile(Picture(), QFile::encodeName(chosen).toStdString());
  if (!saved.ok) {
    dialogs_.ShowSaveFailure(window(), chosen, saved.error_number);
  }
}

}  // namespace dravik
