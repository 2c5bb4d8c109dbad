#include "app/main_window.h"

#include <algorithm>
#include <optional>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>

#include "app/command_line.h"
#include "app/command_panel.h"
#include "app/help_window.h"
#include "app/options_dialog.h"
#include "app/settings_file.h"
#include "chart/chart_panel.h"
#include "chart/layout.h"
#include "chart/scaling.h"
#include "chart/twips.h"
#include "common/drop_filter.h"
#include "common/path.h"
#include "common/ui_language.h"
#include "common/user_dialog.h"
#include "log/load_error.h"
#include "panel/analysis_window.h"
#include "panel/checked_items.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"
#include "panel/numeric_display.h"
#include "panel/trip_list_panel.h"

namespace dravik {

MainWindow::MainWindow(UserDialog& dialogs, QWidget* parent)
    : TopLevelWindow(parent, {}), dialogs_(dialogs) {
  BuildControls();
  BuildColourMenu();
  BuildReferenceActions();
  InstallChartPictureKeys();
  ConnectPanels();
}

// The numeric display window reads this window's log and settings, so it must not outlive them.
MainWindow::~MainWindow() {
  delete max_view_;
  delete analysis_;
}

void MainWindow::BuildControls() {
  chart_ = new ChartPanel(
      table_, settings_, [this] { return VisibleItems(); }, dialogs_, this);
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

  trips_ = new TripListPanel(this);

  setWindowTitle(QString::fromStdString(
      ExecutableBaseName(QCoreApplication::applicationFilePath().toStdString())));
  ApplyMinimumSize();
}

void MainWindow::ApplyMinimumSize() {
  const MainLayout minimum = LayoutMainWindow(0, 0, 0);
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
  auto* analysis = new QAction(this);
  analysis->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  connect(analysis, &QAction::triggered, this, &MainWindow::OpenAnalysisWindow);
  addAction(analysis);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Keys a focused list or text field has no use for come here; buttons and check boxes offer
  // Left and Right here first (ArrowKeyFilter).
  if (HandleChartKey(*event)) {
    event->accept();
  } else {
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
  if (table_.IsLoaded() && commands_->StepMagnification(delta)) {
    cmbMultipl_Click();
  }
}

void MainWindow::ConnectPanels() {
  // A drop anywhere on the window opens the first file dropped; the panels report drops on
  // their own parts and refuse them on their controls.
  auto* drops = new DropFilter(this);
  drops->Accept(this);
  connect(drops, &DropFilter::FileDropped, this, &MainWindow::Form_OLEDragDrop);
  connect(chart_, &ChartPanel::FileDropped, this, &MainWindow::Form_OLEDragDrop);
  connect(items_, &ItemPanel::FileDropped, this, &MainWindow::Form_OLEDragDrop);
  connect(commands_, &CommandPanel::FileDropped, this, &MainWindow::Form_OLEDragDrop);
  connect(trips_, &TripListPanel::FileDropped, this, &MainWindow::Form_OLEDragDrop);

  connect(chart_, &ChartPanel::MagnificationStepRequested, this, &MainWindow::StepMagnification);
  connect(commands_, &CommandPanel::OpenRequested, this, &MainWindow::cmdOpenFile_Click);
  connect(commands_, &CommandPanel::ExitRequested, this, &MainWindow::cmdExit_Click);
  connect(commands_, &CommandPanel::NumericDisplayToggled, chart_,
          &ChartPanel::SetNumericDisplayShown);
  connect(commands_, &CommandPanel::NumericDisplayToggled, this, &MainWindow::chkMaxView_Click);
  connect(commands_, &CommandPanel::OptionsRequested, this, &MainWindow::cmdOption_Click);
  connect(commands_, &CommandPanel::HelpRequested, this, &MainWindow::cmdHelp_Click);
  connect(commands_, &CommandPanel::MagnificationChosen, this, [this] { cmbMultipl_Click(); });
  // Shutdown after the settings are saved: help closes, then the numeric display window is
  // unloaded (what it stores then is not saved any more).
  connect(this, &MainWindow::Exiting, this, [this] {
    if (help_) {
      help_->close();
    }
    if (max_view_) {
      max_view_->close();
    }
    if (analysis_) {
      analysis_->close();
    }
  });
}

void MainWindow::Form_Load(const std::string& settings_path,
                           const std::vector<std::string>& arguments,
                           const std::string& seed_settings_path,
                           std::optional<Language> language) {
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
    const MainLayout minimum = LayoutMainWindow(0, 0, 0);
    outer = FitOnScreen(outer, *available_twips, minimum.window_width, minimum.window_height);
  }
  SetOuterRectTwips(QRect(outer.left, outer.top, outer.width, outer.height));
  // Someone whose system does not speak Japanese is asked once, at the first start, in both
  // languages; --lang chooses for this run only.
  if (!language && start.created && QLocale::system().language() != QLocale::Japanese) {
    settings_.language = dialogs_.ChooseLanguage(this);
    // Kept at once: a run that ends without a clean exit would otherwise leave a settings file
    // that no longer asks and reads Japanese. A failure here is reported by the save at exit.
    if (start.created_write.ok) {
      SaveSettings(settings_path_, settings_);
    }
  }
  ApplyLanguage(language.value_or(settings_.language));
  const QString where = QString::fromStdString(settings_path);
  if (start.unreadable) {
    ShowMessage(tr("設定ファイルを読み込めませんでした。初期設定で起動し、"
                   "設定ファイルは変更しません。\r\n%1")
                    .arg(where));
  } else if (start.read_only) {
    ShowMessage(tr("設定ファイルが読み取り専用のため、変更は保存されません。\r\n%1").arg(where));
  } else if (start.created && !start.created_write.ok) {
    ShowMessage(tr("設定ファイルを作成できませんでした。設定は保存されません。\r\n%1\r\n%2")
                    .arg(where, QString::fromStdString(
                                    WriteFailureReason(start.created_write.error_number))));
  }

  commands_->ResetMagnification();
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
  max_view_ = new MaxViewWindow(table_, settings_, dialogs_, this);
  max_view_->SetReference(&reference_);
  max_view_->ReferenceList();
  max_view_->setWindowIcon(windowIcon());
  if (table_.IsLoaded()) {
    max_view_->SetLogPath(current_log_path_);
  }
  connect(max_view_, &MaxViewWindow::Closed, this,
          [this] { commands_->SetNumericDisplayChecked(false); });
  connect(this, &MainWindow::LogLoaded, max_view_, &MaxViewWindow::MaxViewList);
  connect(this, &MainWindow::LogCleared, max_view_, &MaxViewWindow::ClearList);
  connect(chart_, &ChartPanel::CursorsMoved, max_view_, &MaxViewWindow::ApplyCursorMove);
  connect(this, &MainWindow::WindowStateFollow, max_view_, &MaxViewWindow::FollowMainWindow);
  max_view_->show();
}

void MainWindow::OpenAnalysisWindow() {
  if (!analysis_) {
    analysis_ = new AnalysisWindow(
        table_, settings_, dialogs_, [this] { return chart_->CursorSection(); }, this);
    analysis_->setWindowIcon(windowIcon());
    connect(this, &MainWindow::LogAboutToChange, analysis_, &AnalysisWindow::WaitForWork);
    connect(this, &MainWindow::LogLoaded, analysis_, &AnalysisWindow::LogLoaded);
    connect(this, &MainWindow::LogCleared, analysis_, &AnalysisWindow::LogCleared);
    connect(chart_, &ChartPanel::CursorLinesPlaced, analysis_, &AnalysisWindow::CursorsPlaced);
    connect(this, &MainWindow::WindowStateFollow, analysis_, &AnalysisWindow::FollowMainWindow);
  }
  analysis_->show();
  analysis_->raise();
  analysis_->activateWindow();
}

void MainWindow::cmdOption_Click() {
  OptionsDialog dialog(settings_, show_scale_mode_option_, dialogs_, this);
  dialog.SetLogTable(&table_);
  connect(&dialog, &OptionsDialog::helpRequested, this, [this] { ShowHelp(HelpPage::kOptions); });
  dialog.exec();
  if (dialog.LanguageChanged()) {
    ApplyLanguage(settings_.language);
  }
  if (dialog.ReloadNeeded()) {
    ReadLogsAgain();
    return;
  }
  UpdateTitle();
  if (table_.IsLoaded()) {
    chart_->DrowGraph();
    if (commands_->NumericDisplayChecked() && max_view_) {
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
  chart_->SetMagnification(commands_->Magnification(), redraw);
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
  const MainLayout layout = LayoutMainWindow(outer.width(), outer.height(), ChromeHeightTwips());
  chart_->Place(PixelRect(layout.back), PixelRect(layout.scroll_x));
  items_->setGeometry(PixelRect(layout.select_item));
  items_->FitItemPanelScroll();
  commands_->move(PixelRect(layout.command).topLeft());
  trips_->move(PixelRect(layout.fuel_efficient).topLeft());
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
  // The panels write their own texts again; the trip list's rows and hint come from the log.
  if (event->type() == QEvent::LanguageChange && !loading_) {
    UpdateTitle();
    if (table_.IsLoaded()) {
      trips_->FillTripList(table_, settings_, &reference_);
    }
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
    if (analysis_ && analysis_->isVisible()) {
      analysis_->StoreGeometry();
    }
    if (!settings_path_.empty() && !keep_settings_file_) {
      const FileWriteResult saved = SaveSettings(settings_path_, settings_);
      if (!saved.ok) {
        ShowMessage(tr("設定を保存できませんでした。\r\n%1\r\n%2")
                        .arg(QString::fromStdString(settings_path_),
                             QString::fromStdString(WriteFailureReason(saved.error_number))));
      }
    }
    emit Exiting();
  }
  event->accept();
}

void MainWindow::ShowMessage(const QString& text) {
  dialogs_.ShowMessage(this, text);
}

}  // namespace dravik
