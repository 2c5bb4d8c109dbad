#include "app/main_window.h"

#include <new>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QWindow>

#include "app/command_line.h"
#include "app/drop_filter.h"
#include "app/help_window.h"
#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "app/wheel_filter.h"
#include "chart/chart_image_view.h"
#include "chart/graph_view.h"
#include "chart/layout.h"
#include "chart/scale_labels.h"
#include "chart/scale_view.h"
#include "chart/twips.h"
#include "common/path.h"
#include "common/rounding.h"
#include "log/csv_reader.h"
#include "log/fuel_trip.h"
#include "log/load_error.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"
#include "panel/top_level_window.h"

namespace dravik {
MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  BuildControls();
  BuildCommands();
  InstallDropHandling();
  InstallWheelFilters();
  view_.magnification = kMagnifications[0];
}

// The numeric display window reads this window's log and settings, so it must not outlive them.
MainWindow::~MainWindow() {
  delete max_view_;
}

void MainWindow::InstallWheelFilters() {
  chart_wheel_ = WheelFilter::ForChart(
      time_scroll_, [this] { return view_.view_span; }, this);
  for (QWidget* widget : {static_cast<QWidget*>(graph_), static_cast<QWidget*>(scale_),
                          static_cast<QWidget*>(time_scroll_)}) {
    chart_wheel_->Watch(widget);
  }
  item_panel_wheel_ = WheelFilter::ForItemPanel(items_->ScrollBar(), this);
  for (QWidget* widget : {static_cast<QWidget*>(items_), items_->List(),
                          static_cast<QWidget*>(items_->ScrollBar())}) {
    item_panel_wheel_->Watch(widget);
  }
  // Shutdown after the settings are saved: help closes, the wheel filters go, then the numeric
  // display window is unloaded (what it stores then is not saved any more).
  connect(this, &MainWindow::Exiting, this, [this] {
    if (help_) {
      help_->close();
    }
    for (QWidget* widget : {static_cast<QWidget*>(graph_), static_cast<QWidget*>(scale_),
                            static_cast<QWidget*>(time_scroll_)}) {
      chart_wheel_->Unwatch(widget);
    }
    for (QWidget* widget : {static_cast<QWidget*>(items_), items_->List(),
                            static_cast<QWidget*>(items_->ScrollBar())}) {
      item_panel_wheel_->Unwatch(widget);
    }
    if (max_view_) {
      max_view_->close();
    }
  });
}

MaxViewWindow* MainWindow::MaxView() const {
  return max_view_;
}

void MainWindow::chkMaxView_Click(bool checked) {
  if (!checked) {
    if (max_view_) {
      max_view_->close();
    }
    return;
  }
  if (max_view_) {
    return;
  }
  max_view_ = new MaxViewWindow(table_, settings_);
  max_view_->setWindowIcon(windowIcon());
  connect(max_view_, &MaxViewWindow::Closed, this, [this] { max_view_check_->setChecked(false); });
  connect(this, &MainWindow::LogLoaded, max_view_, &MaxViewWindow::MaxViewList);
  connect(this, &MainWindow::LogCleared, max_view_, &MaxViewWindow::ClearList);
  connect(this, &MainWindow::CursorsMoved, max_view_, &MaxViewWindow::ApplyCursorMove);
  connect(this, &MainWindow::WindowStateFollow, max_view_, &MaxViewWindow::FollowMainWindow);
  max_view_->show();
}

void MainWindow::cmdOption_Click() {
  OptionsDialog dialog(settings_, show_scale_mode_option_, this);
  connect(&dialog, &OptionsDialog::helpRequested, this, [this] { ShowHelp(HelpPage::kOptions); });
  dialog.exec();
  if (dialog.ReloadNeeded()) {
    if (!current_log_path_.isEmpty()) {
      OpenFile(current_log_path_);
    }
    return;
  }
  if (table_.IsLoaded()) {
    DrowGraph();
    if (max_view_check_->isChecked() && max_view_) {
      max_view_->ReDrawTime();
      ReapplyCursors();
    }
  }
}

void MainWindow::cmdHelp_Click() {
  ShowHelp(HelpPage::kContents);
}

void MainWindow::ShowHelp(HelpPage page) {
  if (!help_) {
    help_ = std::make_unique<HelpWindow>();
  }
  help_->ShowPage(page);
}

void MainWindow::BuildControls() {
  chart_box_ = new QWidget(this);
  scale_ = new ScaleView(chart_box_);
  graph_ = new GraphView(chart_box_);
  time_scroll_ = new QScrollBar(Qt::Horizontal, this);
  time_scroll_->setRange(0, 0);
  time_scroll_->setSingleStep(1);
  time_scroll_->setEnabled(false);
  connect(time_scroll_, &QScrollBar::sliderMoved, this, &MainWindow::scrX_Scroll);
  connect(time_scroll_, &QScrollBar::valueChanged, this, &MainWindow::scrX_Change);
  connect(graph_, &GraphView::MousePressed, this, &MainWindow::picGraph_MouseMove);
  connect(graph_, &GraphView::MouseMoved, this, &MainWindow::picGraph_MouseMove);

  items_ = new ItemPanel(this);
  items_->resize(TwipsToPixels(kRightColumnWidth), items_->height());
  connect(items_, &ItemPanel::ItemClicked, this, &MainWindow::chkItem_Click);

  command_frame_ = new QGroupBox(this);
  command_frame_->resize(TwipsToPixels(kRightColumnWidth), TwipsToPixels(kCommandFrameHeight));
  const auto place = [](QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(PixelRect(Rect{left, top, width, height}));
  };
  open_button_ = new QPushButton(QStringLiteral("ファイルを開く(&O)"), command_frame_);
  place(open_button_, 120, 240, 1575, 375);
  // chkMaxView, a check box drawn as a push button: a toggle button, down while the numeric
  // display is shown.
  max_view_check_ = new QPushButton(QStringLiteral("数値表示(&V)"), command_frame_);
  max_view_check_->setCheckable(true);
  place(max_view_check_, 1800, 240, 1575, 375);
  option_button_ = new QPushButton(QStringLiteral("設定(&S)"), command_frame_);
  place(option_button_, 120, 720, 1575, 375);
  help_button_ = new QPushButton(QStringLiteral("ヘルプ(&H)"), command_frame_);
  place(help_button_, 1800, 720, 1575, 375);
  magnification_label_ = new QLabel(QStringLiteral("倍率:"), command_frame_);
  place(magnification_label_, 120, 1275, 390, 180);
  magnification_combo_ = new QComboBox(command_frame_);
  place(magnification_combo_, 600, 1200, 1095, 300);
  for (const int magnification : kMagnifications) {
    magnification_combo_->addItem(QString::number(magnification), magnification);
  }
  magnification_combo_->setEnabled(false);
  exit_button_ = new QPushButton(QStringLiteral("終了(&X)"), command_frame_);
  place(exit_button_, 1800, 1200, 1575, 375);
  connect(open_button_, &QPushButton::clicked, this, &MainWindow::cmdOpenFile_Click);
  connect(exit_button_, &QPushButton::clicked, this, &MainWindow::cmdExit_Click);
  connect(max_view_check_, &QPushButton::toggled, this, &MainWindow::chkMaxView_Click);
  connect(option_button_, &QPushButton::clicked, this, &MainWindow::cmdOption_Click);
  connect(help_button_, &QPushButton::clicked, this, &MainWindow::cmdHelp_Click);
  connect(magnification_combo_, &QComboBox::activated, this, [this] { cmbMultipl_Click(); });

  trip_frame_ = new QGroupBox(QStringLiteral("走行/燃費情報"), this);
  trip_frame_->resize(TwipsToPixels(kRightColumnWidth), TwipsToPixels(kCommandFrameHeight));
  trip_list_ = new QTreeWidget(trip_frame_);
  place(trip_list_, 120, 240, 3255, 1335);
  trip_list_->setRootIsDecorated(false);
  trip_list_->setItemsExpandable(false);
  trip_list_->setSelectionMode(QAbstractItemView::SingleSelection);
  trip_list_->setHeaderLabels(
      {QStringLiteral("項目"), QStringLiteral("値"), QStringLiteral("単位")});
  trip_list_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  trip_list_->header()->setStretchLastSection(false);
  trip_list_->setColumnWidth(0, TwipsToPixels(1420));
  trip_list_->setColumnWidth(1, TwipsToPixels(950));
  trip_list_->setColumnWidth(2, TwipsToPixels(800));
  // The columns fit the list; a horizontal bar would only hide the last row.
  trip_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // lstFuelEfficient_MouseUp: the popup menu opens on the right button's release.
  trip_list_->viewport()->installEventFilter(this);

  setWindowTitle(QString::fromStdString(
      ExecutableBaseName(QCoreApplication::applicationFilePath().toStdString())));
  frame_ = FrameExtents(*this);
  ApplyMinimumSize();
}

void MainWindow::ApplyMinimumSize() {
  const MainLayout minimum = LayoutMainWindow(0, 0, 0, kScaleMarginTwips);
  setMinimumSize(TwipsToPixels(minimum.window_width) - frame_.left() - frame_.right(),
                 TwipsToPixels(minimum.window_height) - frame_.top() - frame_.bottom());
}

void MainWindow::InstallDropHandling() {
  auto* drops = new DropFilter(this);
  connect(drops, &DropFilter::FileDropped, this, &MainWindow::Form_OLEDragDrop);
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(graph_),
                          static_cast<QWidget*>(scale_), static_cast<QWidget*>(command_frame_),
                          static_cast<QWidget*>(trip_frame_), static_cast<QWidget*>(trip_list_),
                          trip_list_->viewport(), trip_list_->header()->viewport()}) {
    drops->Accept(widget);
  }
  items_->SetDropFilter(drops);
  for (QWidget* widget :
       {chart_box_, static_cast<QWidget*>(time_scroll_), static_cast<QWidget*>(open_button_),
        static_cast<QWidget*>(max_view_check_), static_cast<QWidget*>(option_button_),
        static_cast<QWidget*>(help_button_), static_cast<QWidget*>(magnification_label_),
        static_cast<QWidget*>(magnification_combo_), static_cast<QWidget*>(exit_button_),
        static_cast<QWidget*>(items_->ScrollBar())}) {
    drops->Refuse(widget);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched == trip_list_->viewport()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      lstFuelEfficient_MouseUp(mouse->globalPosition().toPoint());
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::Form_OLEDragDrop(const QString& path) {
  setFocus();
  current_log_path_ = path;
  OpenFile(path);
}

void MainWindow::Form_Load(const std::string& settings_path,
                           const std::vector<std::string>& arguments) {
  settings_path_ = settings_path;
  ScreenSize screen;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    const QRect available = primary->availableGeometry();
    screen = {PixelsToTwips(available.width()), PixelsToTwips(available.height())};
  }
  const StartUpSettings start = LoadSettings(settings_path, screen);
  settings_ = start.settings;
  SetOuterRectTwips(QRect(settings_.xpos, settings_.ypos, settings_.xsize, settings_.ysize));
  if (start.created && !start.created_write.ok) {
    ShowMessage(QString::fromStdString(start.created_write.error));
  }

  magnification_combo_->setCurrentIndex(0);
  cmbMultipl_Click();

  const CommandLine command_line = ProcessCommandLine(arguments);
  show_scale_mode_option_ = command_line.show_scale_mode_option;
  if (command_line.names_file) {
    current_log_path_ = QString::fromStdString(command_line.path);
    OpenFile(current_log_path_);
  }
}

void MainWindow::cmdOpenFile_Click() {
  std::optional<QString> chosen;
  if (open_dialog_hook_) {
    chosen = open_dialog_hook_(current_log_path_);
  } else {
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), current_log_path_,
                                     QStringLiteral("csvファイル(*.csv);;全てのファイル(*.*)"));
    if (!path.isEmpty()) {
      chosen = path;
    }
  }
  if (!chosen) {
    return;
  }
  current_log_path_ = *chosen;
  OpenFile(current_log_path_);
}

void MainWindow::OpenFile(const QString& path) {
  {
    const QSignalBlocker block_combo(magnification_combo_);
    magnification_combo_->setCurrentIndex(0);
  }
  magnification_combo_->setEnabled(false);
  cmbMultipl_Click(false);
  items_->ScrollBar()->setValue(0);
  cursors_shown_ = false;
  UpdateCursorLines();
  items_->ClearItemPanel();
  plot_y_summaries_.clear();

  LoadError error;
  {
    // The progress dialog lets the window system repaint during a long load, so nothing may draw
    // from the table until it is complete.
    LoadProgressDialog progress(this, load_progress_delay_);
    loading_ = true;
    try {
      error = ReadLog(path.toStdString(), settings_, table_,
                      [&progress](double fraction) { progress.Report(fraction); });
    } catch (const std::bad_alloc&) {
      table_.Clear();
      error = LoadError{LoadFailure::kGeneral, ErrorNumber::kOutOfMemory};
    }
    loading_ = false;
  }
  if (error.kind != LoadFailure::kNone) {
    const QString text = QString::fromStdString(LoadFailureMessage(error));
    ShowMessage(text);
    if (IsErrorBox(error)) {
      QGuiApplication::clipboard()->setText(text);
    }
    ClearAfterFailedLoad();
    return;
  }

  items_->BuildItemPanel(table_.item_names, table_.item_count, settings_.item_colors,
                         settings_.always_tooltip != 0);
  FillTripList();
  setWindowTitle(QString::fromStdString(
      ExecutableBaseName(QCoreApplication::applicationFilePath().toStdString()) + " - " +
      FileNameOf(path.toStdString())));
  loaded_log_path_ = path;
  emit LogLoaded();
  // The scales and the graph are drawn right below, so the magnification handler leaves it.
  cmbMultipl_Click(false);
  DrowScale();
  DrowGraph();
  cursors_shown_ = true;
  UpdateCursorLines();
  magnification_combo_->setEnabled(CanChangeMagnification(table_.last_sample));
}

void MainWindow::FillTripList() {
  trip_list_->clear();
  const TripSummary trip =
      ComputeTripSummary(table_, FuelParamsOf(settings_), 0, table_.last_sample);
  trip_rows_ = TripListRows(trip, table_.has_speed, table_.has_economy);
  for (const TripListRow& row : trip_rows_) {
    auto* item = new QTreeWidgetItem(
        trip_list_, {QString::fromStdString(row.name), QString::fromStdString(row.value),
                     QString::fromStdString(row.unit)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
}

void MainWindow::ClearAfterFailedLoad() {
  items_->ClearItemPanel();
  graph_->ClearPicture();
  scale_->ClearPicture();
  trip_list_->clear();
  trip_rows_.clear();
  plot_y_summaries_.clear();
  emit LogCleared();
}

std::vector<int> MainWindow::VisibleItems() const {
  std::vector<int> visible;
  for (int item = 1; item <= table_.item_count; ++item) {
    if (items_->IsItemChecked(item)) {
      visible.push_back(item);
    }
  }
  return visible;
}

void MainWindow::DrowScale() {
  const ScaleStrip strip = BuildScaleStrip(table_, VisibleItems(), settings_.graph_scale_mode);
  scale_width_twips_ = strip.width_twips;
  const int height_px = chart_box_->height();
  scale_->setGeometry(0, 0, TwipsToPixels(strip.width_twips), height_px);
  QImage picture = NewPicture(scale_->size());
  RenderScaleImage(picture, strip, settings_.item_colors);
  scale_->SetPicture(std::move(picture));
  const Rect back{0, 0, PixelsToTwips(chart_box_->width()), PixelsToTwips(height_px)};
  const Rect graph_rect = GraphRect(back, strip.width_twips);
  graph_->setGeometry(TwipsToPixels(graph_rect.left), 0, TwipsToPixels(graph_rect.width),
                      height_px);
}

void MainWindow::DrowGraph() {
  if (!table_.IsLoaded()) {
    return;
  }
  const std::vector<int> visible = VisibleItems();
  // An item's trace summary is made when the item is first drawn rather than at the load: the
  // load's first paint pays only for the items already checked, and many items of a wide log are
  // never drawn at all.
  SummarisePlotYOf(table_, visible, plot_y_summaries_);
  QImage picture = NewPicture(graph_->size());
  RenderGraphImage(picture, table_, plot_y_summaries_, view_, visible, settings_);
  graph_->SetPicture(std::move(picture));
  UpdateCursorLines();
  if (max_view_check_->isChecked()) {
    ReapplyCursors();
  }
}

void MainWindow::picGraph_MouseMove(Qt::MouseButtons buttons, QPointF pos_px) {
  int bits = 0;
  if (buttons & Qt::LeftButton) {
    bits |= kLeftButton;
  }
  if (buttons & Qt::RightButton) {
    bits |= kRightButton;
  }
  MoveCursorLines(bits, pos_px.x());
}

void MainWindow::picGraph_MouseDown(int buttons, double chart_x) {
  MoveCursorLines(buttons, ColumnAt(chart_x));
}

void MainWindow::ReapplyCursors() {
  MoveCursorLines(kLeftButton, cursor_px_[0]);
  MoveCursorLines(kRightButton, cursor_px_[1]);
}

void MainWindow::MoveCursorLines(int buttons, double x_px) {
  if (table_.item_count < 1) {
    return;
  }
  CursorContext context;
  context.item_count = table_.item_count;
  context.last_sample = table_.last_sample;
  context.first_visible_sample = FirstVisibleSample(view_);
  context.line1_x = CursorX(1);
  context.line2_x = CursorX(2);
  context.max_view_shown = max_view_check_->isChecked();
  context.section_time = settings_.section_time != 0;
  context.has_speed = table_.has_speed;
  const CursorMove move = MoveCursors(buttons, ChartXAt(x_px), context);
  // The pixel column is kept rather than the chart x, so that a line re-applied later addresses
  // exactly the sample it addressed when it was placed.
  if (buttons & kLeftButton) {
    cursor_px_[0] = x_px;
  }
  if (buttons & kRightButton) {
    cursor_px_[1] = x_px;
  }
  UpdateCursorLines();
  if (!move.readouts.empty() || move.section) {
    emit CursorsMoved(move);
  }
}

double MainWindow::CursorX(int cursor) const {
  return ChartXAt(cursor_px_[cursor == 1 ? 0 : 1]);
}

void MainWindow::SetCursorX(int cursor, double x) {
  cursor_px_[cursor == 1 ? 0 : 1] = ColumnAt(x);
  UpdateCursorLines();
}

double MainWindow::ChartXAt(double x_px) const {
  return ColumnToChartX(x_px, view_.view_span, graph_->width());
}

// The fractional column of chart x; unrounded, unlike the drawing's ChartXToColumn, so that the
// chart x read back from it is the one given.
double MainWindow::ColumnAt(double chart_x) const {
  const double span = static_cast<double>(view_.view_span);
  return span > 0 ? chart_x * graph_->width() / span : 0.0;
}

void MainWindow::UpdateCursorLines() {
  GraphView::CursorLines lines;
  lines.visible = cursors_shown_;
  lines.x1_px = static_cast<int>(RoundHalfEven(cursor_px_[0]));
  lines.x2_px = static_cast<int>(RoundHalfEven(cursor_px_[1]));
  lines.top_px = static_cast<int>(ChartYToRow(kCursorLineTop, graph_->height()));
  lines.bottom_px = static_cast<int>(ChartYToRow(kCursorLineBottom, graph_->height()));
  graph_->SetCursorLines(lines);
}

void MainWindow::cmbMultipl_Click(bool redraw) {
  ChangeMagnification(view_, magnification_combo_->currentData().toInt(), table_.last_sample);
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

void MainWindow::ApplyScrollBar() {
  time_scroll_->setRange(0, static_cast<int>(view_.scroll_maximum));
  time_scroll_->setPageStep(static_cast<int>(view_.scroll_large_change));
  time_scroll_->setValue(static_cast<int>(view_.scroll_position));
  time_scroll_->setEnabled(view_.scroll_enabled);
}

void MainWindow::scrX_Scroll(int position) {
  view_.scroll_position = position;
  DrowGraph();
  skip_scroll_change_ = true;
}

void MainWindow::scrX_Change(int position) {
  view_.scroll_position = position;
  if (skip_scroll_change_) {
    skip_scroll_change_ = false;
    return;
  }
  DrowGraph();
}

void MainWindow::chkItem_Click(int index) {
  if (index > items_->BoxCount() || items_->Box(index)->isHidden() || !table_.IsLoaded()) {
    return;
  }
  DrowScale();
  DrowGraph();
}

// The window's position (its frame's, as Qt keeps it for a window) and its client size grown by
// frame_: the same frame that SetOuterRectTwips took off, so that a size stored is the size
// applied at the next start.
QRect MainWindow::OuterRectTwips() const {
  const QSize outer = size().grownBy(frame_);
  return QRect(PixelsToTwips(x()), PixelsToTwips(y()), PixelsToTwips(outer.width()),
               PixelsToTwips(outer.height()));
}

void MainWindow::SetOuterRectTwips(const QRect& rect_twips) {
  requested_twips_ = rect_twips;
  const int width = TwipsToPixels(rect_twips.width()) - frame_.left() - frame_.right();
  const int height = TwipsToPixels(rect_twips.height()) - frame_.top() - frame_.bottom();
  move(TwipsToPixels(rect_twips.x()), TwipsToPixels(rect_twips.y()));
  resize(std::max(width, minimumWidth()), std::max(height, minimumHeight()));
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Before the first show the platform reports no frame and the classic one stood in. Where the
  // real frame is known now, the place and size asked for are applied again with it.
  const QMargins frame = FrameExtents(*this);
  if (!shown_ && frame != frame_) {
    frame_ = frame;
    ApplyMinimumSize();
    if (requested_twips_) {
      SetOuterRectTwips(*requested_twips_);
    }
  }
  shown_ = true;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void MainWindow::Form_Resize() {
  if (isMinimized()) {
    return;
  }
  const int32_t chrome = WindowChromeHeight(frame_.top() - frame_.bottom(), frame_.bottom());
  const QRect outer = OuterRectTwips();
  const MainLayout layout =
      LayoutMainWindow(outer.width(), outer.height(), chrome, scale_width_twips_);
  chart_box_->setGeometry(PixelRect(layout.back));
  scale_->setGeometry(PixelRect(layout.scale));
  graph_->setGeometry(PixelRect(layout.graph));
  time_scroll_->setGeometry(PixelRect(layout.scroll_x));
  items_->setGeometry(PixelRect(layout.select_item));
  items_->FitItemPanelScroll();
  command_frame_->move(PixelRect(layout.command).topLeft());
  trip_frame_->move(PixelRect(layout.fuel_efficient).topLeft());
  UpdateCursorLines();
  if (table_.IsLoaded() && !loading_) {
    DrowScale();
    DrowGraph();
  }
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    emit WindowStateFollow(windowState());
  }
}

void MainWindow::cmdExit_Click() {
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!exited_) {
    exited_ = true;
    const QRect outer = OuterRectTwips();
    settings_.xpos = outer.x();
    settings_.ypos = outer.y();
    settings_.xsize = outer.width();
    settings_.ysize = outer.height();
    if (!settings_path_.empty()) {
      const FileWriteResult saved = SaveSettings(settings_path_, settings_);
      if (!saved.ok) {
        ShowMessage(QString::fromStdString(saved.error));
      }
    }
    emit Exiting();
  }
  event->accept();
}

void MainWindow::ShowMessage(const QString& text) {
  if (message_hook_) {
    message_hook_(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Dravik"), text, QMessageBox::Ok, this);
  box.exec();
}

}  // namespace dravik
