#include "app/main_window.h"

#include <algorithm>
#include <optional>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>

#include "app/command_line.h"
#include "app/command_panel.h"
#include "app/drop_filter.h"
#include "app/fuel_items_form.h"
#include "app/help_window.h"
#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "app/wheel_filter.h"
#include "chart/chart_panel.h"
#include "chart/graph_view.h"
#include "chart/layout.h"
#include "chart/scale_labels.h"
#include "chart/scale_view.h"
#include "chart/scaling.h"
#include "chart/twips.h"
#include "common/path.h"
#include "log/load_error.h"
#include "panel/checked_items.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"
#include "panel/numeric_display.h"
#include "panel/trip_list_panel.h"

namespace dravik {

MainWindow::MainWindow(QWidget* parent) : TopLevelWindow(parent, {}) {
  BuildControls();
  BuildColourMenu();
  InstallChartPictureKeys();
  InstallChartKeys();
  InstallDropHandling();
  InstallWheelFilters();
}

// The numeric display window reads this window's log and settings, so it must not outlive them.
MainWindow::~MainWindow() {
  delete max_view_;
}

void MainWindow::BuildControls() {
  chart_ = new ChartPanel(
      table_, settings_, [this] { return VisibleItems(); }, this);
  chart_->SetMessageFunction([this](const QString& text) { ShowMessage(text); });
  chart_->SetHoverReadoutSource(
      [this](int64_t sample) { return HoverReadout(table_, settings_, VisibleItems(), sample); });

  items_ = new ItemPanel(this);
  items_->setObjectName(QStringLiteral("fraSelectItem"));
  items_->resize(TwipsToPixels(kRightColumnWidth), items_->height());
  connect(items_, &ItemPanel::ItemClicked, this, &MainWindow::chkItem_Click);
  // Queued: the boxes are unchecked and the message shown once the redraw that ran short is over.
  connect(chart_, &ChartPanel::ItemsNotDrawn, this, &MainWindow::UncheckItemsNotDrawn,
          Qt::QueuedConnection);

  commands_ = new CommandPanel(this);
  QPushButton* numeric_display = commands_->NumericDisplayButton();
  connect(commands_->OpenButton(), &QPushButton::clicked, this, &MainWindow::cmdOpenFile_Click);
  connect(commands_->ExitButton(), &QPushButton::clicked, this, &MainWindow::cmdExit_Click);
  connect(numeric_display, &QPushButton::toggled, chart_, &ChartPanel::SetNumericDisplayShown);
  connect(numeric_display, &QPushButton::toggled, this, &MainWindow::chkMaxView_Click);
  connect(commands_->OptionButton(), &QPushButton::clicked, this, &MainWindow::cmdOption_Click);
  connect(commands_->HelpButton(), &QPushButton::clicked, this, &MainWindow::cmdHelp_Click);
  connect(commands_->MagnificationCombo(), &QComboBox::activated, this,
          [this] { cmbMultipl_Click(); });

  trips_ = new TripListPanel(this);

  setWindowTitle(QString::fromStdString(
      ExecutableBaseName(QCoreApplication::applicationFilePath().toStdString())));
  ApplyMinimumSize();
}

void MainWindow::ApplyMinimumSize() {
  const MainLayout minimum = LayoutMainWindow(0, 0, 0, kScaleMarginTwips);
  setMinimumSize(ClientSize(minimum.window_width, minimum.window_height));
}

void MainWindow::InstallChartPictureKeys() {
  // The keys that move the cursors and the view are handled in keyPressEvent, so that a focused
  // list or text field keeps its own keys.
  auto* copy_chart = new QAction(this);
  copy_chart->setShortcut(QKeySequence::Copy);
  connect(copy_chart, &QAction::triggered, chart_, &ChartPanel::CopyPicture);
  addAction(copy_chart);
  auto* save_chart = new QAction(this);
  save_chart->setShortcut(QKeySequence::Save);
  connect(save_chart, &QAction::triggered, chart_, &ChartPanel::SavePicture);
  addAction(save_chart);
}

void MainWindow::InstallChartKeys() {
  // Buttons and check boxes would take Left and Right to move the focus; every other widget
  // passes the keys it has no use for up to this window.
  QCoreApplication::instance()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && qobject_cast<QAbstractButton*>(watched) != nullptr &&
      static_cast<QWidget*>(watched)->window() == this) {
    return HandleChartKey(*static_cast<QKeyEvent*>(event));
  }
  return TopLevelWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (!HandleChartKey(*event)) {
    TopLevelWindow::keyPressEvent(event);
  }
}

bool MainWindow::HandleChartKey(const QKeyEvent& event) {
  if (!table_.IsLoaded() || loading_ ||
      (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    return false;
  }
  const int cursor = (event.modifiers() & Qt::ShiftModifier) ? 2 : 1;
  switch (event.key()) {
    case Qt::Key_Left:
      chart_->StepCursorLine(cursor, -1);
      return true;
    case Qt::Key_Right:
      chart_->StepCursorLine(cursor, 1);
      return true;
    case Qt::Key_PageUp:
      chart_->ScrollByKey(ScrollKey::kPageBack);
      return true;
    case Qt::Key_PageDown:
      chart_->ScrollByKey(ScrollKey::kPageForward);
      return true;
    case Qt::Key_Home:
      chart_->ScrollByKey(ScrollKey::kStart);
      return true;
    case Qt::Key_End:
      chart_->ScrollByKey(ScrollKey::kEnd);
      return true;
    case Qt::Key_Plus:
      StepMagnification(1);
      return true;
    case Qt::Key_Minus:
      StepMagnification(-1);
      return true;
    default:
      return false;
  }
}

void MainWindow::StepMagnification(int delta) {
  QComboBox* combo = commands_->MagnificationCombo();
  const int index = std::clamp(combo->currentIndex() + delta, 0, combo->count() - 1);
  if (!combo->isEnabled() || !table_.IsLoaded() || index == combo->currentIndex()) {
    return;
  }
  combo->setCurrentIndex(index);
  cmbMultipl_Click();
}

void MainWindow::InstallDropHandling() {
  auto* drops = new DropFilter(this);
  connect(drops, &DropFilter::FileDropped, this, &MainWindow::Form_OLEDragDrop);
  QTreeWidget* trip_list = trips_->List();
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(chart_->Graph()),
                          static_cast<QWidget*>(chart_->Scale()), static_cast<QWidget*>(commands_),
                          static_cast<QWidget*>(trips_), static_cast<QWidget*>(trip_list),
                          trip_list->viewport(), trip_list->header()->viewport()}) {
    drops->Accept(widget);
  }
  items_->SetDropFilter(drops);
  for (QWidget* widget :
       {static_cast<QWidget*>(chart_), static_cast<QWidget*>(chart_->TimeScrollBar()),
        static_cast<QWidget*>(commands_->OpenButton()),
        static_cast<QWidget*>(commands_->NumericDisplayButton()),
        static_cast<QWidget*>(commands_->OptionButton()),
        static_cast<QWidget*>(commands_->HelpButton()),
        static_cast<QWidget*>(commands_->MagnificationLabel()),
        static_cast<QWidget*>(commands_->MagnificationCombo()),
        static_cast<QWidget*>(commands_->ExitButton()),
        static_cast<QWidget*>(items_->ScrollBar())}) {
    drops->Refuse(widget);
  }
}

void MainWindow::InstallWheelFilters() {
  const std::vector<QWidget*> chart_widgets = {chart_->Graph(), chart_->Scale(),
                                               chart_->TimeScrollBar()};
  const std::vector<QWidget*> item_widgets = {items_, items_->List(), items_->ScrollBar()};
  chart_wheel_ = WheelFilter::ForChart(
      chart_->TimeScrollBar(), [this] { return chart_->View().view_span; }, this);
  chart_wheel_->SetControlWheel([this](int delta) { StepMagnification(delta); });
  for (QWidget* widget : chart_widgets) {
    chart_wheel_->Watch(widget);
  }
  item_panel_wheel_ = WheelFilter::ForItemPanel(items_->ScrollBar(), this);
  for (QWidget* widget : item_widgets) {
    item_panel_wheel_->Watch(widget);
  }
  // Shutdown after the settings are saved: help closes, the wheel filters go, then the numeric
  // display window is unloaded (what it stores then is not saved any more).
  connect(this, &MainWindow::Exiting, this, [this, chart_widgets, item_widgets] {
    if (help_) {
      help_->close();
    }
    for (QWidget* widget : chart_widgets) {
      chart_wheel_->Unwatch(widget);
    }
    for (QWidget* widget : item_widgets) {
      item_panel_wheel_->Unwatch(widget);
    }
    if (max_view_) {
      max_view_->close();
    }
  });
}

void MainWindow::Form_Load(const std::string& settings_path,
                           const std::vector<std::string>& arguments,
                           const std::string& seed_settings_path) {
  settings_path_ = settings_path;
  ScreenSize screen;
  std::optional<Rect> available_twips;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    const QRect available = primary->availableGeometry();
    screen = {PixelsToTwips(available.width()), PixelsToTwips(available.height())};
    available_twips = Rect{PixelsToTwips(available.x()), PixelsToTwips(available.y()),
                           screen.width_twips, screen.height_twips};
  }
  const StartUpSettings start = LoadSettings(settings_path, screen, seed_settings_path);
  settings_ = start.settings;
  keep_settings_file_ = start.unreadable || start.read_only;
  Rect outer{settings_.xpos, settings_.ypos, settings_.xsize, settings_.ysize};
  if (available_twips) {
    const MainLayout minimum = LayoutMainWindow(0, 0, 0, kScaleMarginTwips);
    outer = FitOnScreen(outer, *available_twips, minimum.window_width, minimum.window_height);
  }
  SetOuterRectTwips(QRect(outer.left, outer.top, outer.width, outer.height));
  const QString where = QString::fromStdString(settings_path);
  if (start.unreadable) {
    ShowMessage(QStringLiteral("設定ファイルを読み込めませんでした。初期設定で起動し、"
                               "設定ファイルは変更しません。\r\n%1")
                    .arg(where));
  } else if (start.created && !start.created_write.ok) {
    ShowMessage(
        QStringLiteral("設定ファイルを作成できませんでした。設定は保存されません。\r\n%1\r\n%2")
            .arg(where,
                 QString::fromStdString(WriteFailureReason(start.created_write.error_number))));
  }

  commands_->MagnificationCombo()->setCurrentIndex(0);
  cmbMultipl_Click();

  const CommandLine command_line = ProcessCommandLine(arguments);
  show_scale_mode_option_ = command_line.show_scale_mode_option;
  if (command_line.names_file) {
    current_log_path_ = QString::fromStdString(command_line.path);
    OpenFile(current_log_path_);
  }
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
  max_view_ = new MaxViewWindow(table_, settings_, this);
  max_view_->setWindowIcon(windowIcon());
  connect(max_view_, &MaxViewWindow::Closed, this,
          [this] { commands_->NumericDisplayButton()->setChecked(false); });
  connect(this, &MainWindow::LogLoaded, max_view_, &MaxViewWindow::MaxViewList);
  connect(this, &MainWindow::LogCleared, max_view_, &MaxViewWindow::ClearList);
  connect(chart_, &ChartPanel::CursorsMoved, max_view_, &MaxViewWindow::ApplyCursorMove);
  connect(this, &MainWindow::WindowStateFollow, max_view_, &MaxViewWindow::FollowMainWindow);
  max_view_->show();
}

void MainWindow::cmdOption_Click() {
  OptionsDialog dialog(settings_, show_scale_mode_option_, this);
  dialog.SetLogItemNames(LoggedItemNames(table_));
  connect(&dialog, &OptionsDialog::helpRequested, this, [this] { ShowHelp(HelpPage::kOptions); });
  dialog.exec();
  if (dialog.ReloadNeeded()) {
    if (!current_log_path_.isEmpty()) {
      OpenFile(current_log_path_);
    }
    return;
  }
  if (table_.IsLoaded()) {
    chart_->DrowGraph();
    if (commands_->NumericDisplayButton()->isChecked() && max_view_) {
      max_view_->ReDrawTime();
      chart_->ReapplyCursors();
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

void MainWindow::cmbMultipl_Click(bool redraw) {
  chart_->SetMagnification(commands_->MagnificationCombo()->currentData().toInt(), redraw);
}

void MainWindow::chkItem_Click(int index) {
  if (table_.IsLoaded() && !loading_ && index >= 1 && index <= table_.item_count) {
    RememberItemCheck(settings_.checked_items, table_.item_names[index],
                      items_->IsItemChecked(index));
  }
  if (index > items_->BoxCount() || items_->Box(index)->isHidden() || !table_.IsLoaded()) {
    return;
  }
  chart_->DrowScale();
  chart_->DrowGraph();
}

void MainWindow::UncheckItemsNotDrawn(const QList<int>& items) {
  for (const int item : items) {
    if (item <= items_->BoxCount()) {
      items_->Box(item)->setChecked(false);
    }
  }
  ShowMessage(
      QString::fromStdString(ErrorBoxText("DrowGraph", static_cast<int>(ErrorNumber::kOutOfMemory),
                                          ErrorDescription(ErrorNumber::kOutOfMemory))));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void MainWindow::Form_Resize() {
  if (isMinimized()) {
    return;
  }
  const QRect outer = OuterRectTwips();
  const MainLayout layout = LayoutMainWindow(outer.width(), outer.height(), ChromeHeightTwips(),
                                             chart_->ScaleWidthTwips());
  chart_->setGeometry(PixelRect(layout.back));
  chart_->Scale()->setGeometry(PixelRect(layout.scale));
  chart_->Graph()->setGeometry(PixelRect(layout.graph));
  chart_->TimeScrollBar()->setGeometry(PixelRect(layout.scroll_x));
  items_->setGeometry(PixelRect(layout.select_item));
  items_->FitItemPanelScroll();
  commands_->move(PixelRect(layout.command).topLeft());
  trips_->move(PixelRect(layout.fuel_efficient).topLeft());
  chart_->UpdateCursorLines();
  if (table_.IsLoaded() && !loading_) {
    chart_->DrowScale();
    chart_->DrowGraph();
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
    if (!settings_path_.empty() && !keep_settings_file_) {
      const FileWriteResult saved = SaveSettings(settings_path_, settings_);
      if (!saved.ok) {
        ShowMessage(QStringLiteral("設定を保存できませんでした。\r\n%1\r\n%2")
                        .arg(QString::fromStdString(settings_path_),
                             QString::fromStdString(WriteFailureReason(saved.error_number))));
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
