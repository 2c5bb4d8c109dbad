#include "panel/max_view_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

#include "chart/twips.h"
#include "common/file_io.h"
#include "common/user_dialog.h"
#include "panel/max_view_layout.h"
#include "panel/section_csv.h"

namespace dravik {

namespace {

Qt::Alignment ColumnAlignment(int column) {
  return (column == kNameColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
}

int MinimumColumnWidth(int column) {
  return TwipsToPixels(column == kNameColumn ? kMaxViewNameColumnWidth : kMaxViewValueColumnWidth);
}

}  // namespace

MaxViewWindow::MaxViewWindow(const LogTable& table, Settings& settings, UserDialog& dialogs,
                             QWidget* parent)
    : TopLevelWindow(parent, Qt::Tool),
      table_(table),
      settings_(settings),
      dialogs_(dialogs),
      lst_max_view_(new QTreeWidget(this)),
      cmd_close_(new QPushButton(this)),
      cmd_copy_(new QPushButton(this)),
      cmd_save_section_(new QPushButton(this)) {
  WriteTexts();
  setAttribute(Qt::WA_DeleteOnClose);
  // The main window decides when the program ends; this window never keeps it running.
  setAttribute(Qt::WA_QuitOnClose, false);

  lst_max_view_->setObjectName(QStringLiteral("lstMaxView"));
  cmd_close_->setObjectName(QStringLiteral("cmdClose"));
  cmd_copy_->setObjectName(QStringLiteral("cmdCopy"));
  lst_max_view_->setRootIsDecorated(false);
  lst_max_view_->setUniformRowHeights(true);
  lst_max_view_->setAllColumnsShowFocus(true);
  lst_max_view_->header()->setStretchLastSection(false);
  ApplyHeader();
  ResetColumnWidths();
  connect(lst_max_view_->header(), &QHeaderView::sectionResized, this, [this](int column) {
    if (column == kNameColumn) {
      UpdateNameTooltips();
    }
  });
  const QSize button_size = PixelSize(kMaxViewButtonWidth, kMaxViewButtonHeight);
  cmd_close_->resize(button_size);
  cmd_copy_->resize(button_size);
  cmd_close_->setDefault(true);
  // Enter on a focused copy button copies; everywhere else it closes the window.
  cmd_copy_->setAutoDefault(true);
  cmd_copy_->setEnabled(false);
  connect(cmd_close_, &QPushButton::clicked, this, &QWidget::close);
  connect(cmd_copy_, &QPushButton::clicked, this, &MaxViewWindow::cmdCopy_Click);
  cmd_save_section_->setObjectName(QStringLiteral("cmdSaveSection"));
  connect(cmd_save_section_, &QPushButton::clicked, this, &MaxViewWindow::SaveSectionCsv);

  MaxViewList();
  if (parent != nullptr && !HasMaxViewPlace(settings)) {
    PlaceBesideMainWindow();
  } else {
    Rect place{settings.mv_xpos, settings.mv_ypos, settings.mv_xsize, settings.mv_ysize};
    // A place saved on a larger screen or edited by hand is brought wholly onto this screen, as
    // the main window's is, so that the window and its buttons can be seen and what is stored
    // at its close is a sound place again.
    const QWidget* anchor = parent != nullptr ? parent->window() : this;
    if (const QScreen* screen = anchor->screen()) {
      place = FitOnScreen(place, TwipsRect(screen->availableGeometry()),
                          MaxViewMinimumWidth(FrameWidthTwips(), SaveButtonWidthTwips()),
                          ChromeHeightTwips() + kMaxViewMinimumHeightAboveChrome);
    }
    SetOuterRectTwips(QRect(place.left, place.top, place.width, place.height));
  }
}

int MaxViewWindow::ColumnCount() const {
  return kMaxViewColumns + (display_.reference_rows.empty() ? 0 : kReferenceColumns);
}

void MaxViewWindow::ApplyHeader() {
  const int columns = ColumnCount();
  if (lst_max_view_->columnCount() != columns) {
    lst_max_view_->setColumnCount(columns);
    QTreeWidgetItem* header = lst_max_view_->headerItem();
    for (int column = 0; column < columns; ++column) {
      header->setTextAlignment(column, ColumnAlignment(column));
    }
    // Only a new column count or language (RetranslateUi) changes the headers. The reference's
    // columns start as wide as their headers, which are therefore written first.
    WriteHeaders();
    for (int column = kMaxViewColumns; column < columns; ++column) {
      lst_max_view_->setColumnWidth(column, LeastColumnWidth(column));
    }
  }
}

void MaxViewWindow::WriteHeaders() {
  const std::array<std::string, kMaxViewColumns> headers = MaxViewHeaders();
  const std::array<std::string, kReferenceColumns> reference_headers = ReferenceHeaders();
  for (int column = 0; column < lst_max_view_->columnCount(); ++column) {
    lst_max_view_->headerItem()->setText(
        column, QString::fromStdString(column < kMaxViewColumns
                                           ? headers[column]
                                           : reference_headers[column - kMaxViewColumns]));
  }
}

void MaxViewWindow::ReferenceList(bool extremes) {
  if (reference_ == nullptr) {
    display_.reference_rows.clear();
  } else if (extremes || display_.reference_rows.size() != display_.rows.size()) {
    dravik::ReferenceList(display_, table_, *reference_, settings_);
  }
  UpdateReferenceReadout();
  ApplyHeader();
  ShowDisplay();
}

void MaxViewWindow::UpdateReferenceReadout() {
  if (reference_ != nullptr && cursor_samples_) {
    dravik::UpdateReferenceReadout(display_, table_, *reference_, settings_, (*cursor_samples_)[0],
                                   (*cursor_samples_)[1]);
  }
}

void MaxViewWindow::WriteTexts() {
  setWindowTitle(tr("Dravik - 数値表示"));
  cmd_close_->setText(tr("閉じる(&X)"));
  cmd_copy_->setText(tr("コピー(&C)"));
  cmd_save_section_->setText(tr("区間をCSVで保存..."));
}

void MaxViewWindow::RetranslateUi() {
  WriteTexts();
  WriteHeaders();
  dravik::RenameMaxViewRows(display_, table_);
  // Every cell is written and measured anew, and the window keeps room for the save button.
  lst_max_view_->clear();
  ResetColumnWidths();
  ShowDisplay();
  ApplyMinimumSize();
  Form_Resize();
}

void MaxViewWindow::MaxViewList() {
  dravik::MaxViewList(display_, table_, settings_);
  if (reference_ != nullptr) {
    dravik::ReferenceList(display_, table_, *reference_, settings_);
  }
  ApplyHeader();
  // A new log starts from the least widths again: every row is written and measured anew.
  lst_max_view_->clear();
  ResetColumnWidths();
  ShowDisplay();
}

void MaxViewWindow::ReDrawTime() {
  dravik::ReDrawTime(display_, table_, settings_);
  if (reference_ != nullptr) {
    // The reference's times follow the unit too.
    dravik::ReferenceList(display_, table_, *reference_, settings_);
    UpdateReferenceReadout();
  }
  ShowDisplay();
}

void MaxViewWindow::ApplyCursorMove(const CursorMove& move) {
  for (const CursorReadout& readout : move.readouts) {
    std::array<int64_t, 2> samples{readout.sample, readout.other_sample};
    if (readout.cursor == 2) {
      std::swap(samples[0], samples[1]);
    }
    cursor_samples_ = samples;
    dravik::UpdateCursorReadout(display_, table_, settings_, readout.cursor, readout.sample,
                                readout.other_sample);
  }
  if (move.section) {
    dravik::UpdateSectionReadout(display_, table_, settings_, move.section->first,
                                 move.section->last);
  }
  UpdateReferenceReadout();
  ShowDisplay();
}

void MaxViewWindow::ClearList() {
  display_.rows.clear();
  display_.reference_rows.clear();
  ApplyHeader();
  cursor_samples_.reset();
  ShowDisplay();
  ResetColumnWidths();
}

void MaxViewWindow::FollowMainWindow(Qt::WindowStates main_window_states) {
  if (main_window_states & Qt::WindowMinimized) {
    showMinimized();
  } else if (!(main_window_states & Qt::WindowMaximized)) {
    showNormal();
  }
}

void MaxViewWindow::ShowDisplay() {
  const int row_count = static_cast<int>(display_.rows.size());
  if (lst_max_view_->topLevelItemCount() != row_count) {
    lst_max_view_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(row_count);
    for (int row = 0; row < row_count; ++row) {
      auto* item = new QTreeWidgetItem;
      for (int column = 0; column < kMaxViewColumns + kReferenceColumns; ++column) {
        item->setTextAlignment(column, ColumnAlignment(column));
      }
      items.append(item);
    }
    lst_max_view_->addTopLevelItems(items);
  }
  // Only changed cells are written: a cursor drag rewrites a few columns of every row per move.
  // Only they are measured, and the columns only grow, so that a drag never makes them jump.
  bool names_changed = false;
  for (int row = 0; row < row_count; ++row) {
    QTreeWidgetItem* item = lst_max_view_->topLevelItem(row);
    for (int column = 0; column < kMaxViewColumns; ++column) {
      const QString text = QString::fromStdString(display_.rows[row][column]);
      if (item->text(column) != text) {
        item->setText(column, text);
        widest_[column] = std::max(widest_[column], CellWidth(text));
        names_changed = names_changed || column == kNameColumn;
      }
    }
    // The reference's columns, while shown, each as wide as its widest text.
    for (int column = kMaxViewColumns; column < ColumnCount(); ++column) {
      const QString text =
          QString::fromStdString(display_.reference_rows[row][column - kMaxViewColumns]);
      if (item->text(column) != text) {
        item->setText(column, text);
        if (CellWidth(text) > lst_max_view_->columnWidth(column)) {
          lst_max_view_->setColumnWidth(column, CellWidth(text));
        }
      }
    }
  }
  MaxViewWidths least{};
  for (int column = 0; column < kMaxViewColumns; ++column) {
    least[column] = LeastColumnWidth(column);
  }
  const MaxViewWidths widths =
      MaxViewColumnWidths(widest_, least, TwipsToPixels(kMaxViewNameColumnLimit));
  for (int column = 0; column < kMaxViewColumns; ++column) {
    if (widths[column] > lst_max_view_->columnWidth(column)) {
      lst_max_view_->setColumnWidth(column, widths[column]);
    }
  }
  if (names_changed) {
    UpdateNameTooltips();
  }
  cmd_copy_->setEnabled(display_.copy_enabled);
  // The section is known once a cursor has reported its sample.
  cmd_save_section_->setEnabled(cursor_samples_.has_value());
}

int MaxViewWindow::CellWidth(const QString& text) const {
  // The item view keeps this margin on both sides of a cell's text, and cuts a text that is a
  // fraction of a pixel too wide.
  const int margin =
      lst_max_view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lst_max_view_) + 1;
  const double text_px = QFontMetricsF(lst_max_view_->font()).horizontalAdvance(text);
  return static_cast<int>(std::ceil(text_px)) + 2 * margin;
}

int MaxViewWindow::LeastColumnWidth(int column) const {
  return std::max(MinimumColumnWidth(column), lst_max_view_->header()->sectionSizeHint(column));
}

void MaxViewWindow::ResetColumnWidths() {
  widest_ = {};
  for (int column = 0; column < lst_max_view_->columnCount(); ++column) {
    lst_max_view_->setColumnWidth(column, LeastColumnWidth(column));
  }
}

void MaxViewWindow::UpdateNameTooltips() {
  const int width = lst_max_view_->columnWidth(kNameColumn);
  for (int row = 0; row < lst_max_view_->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = lst_max_view_->topLevelItem(row);
    const QString name = item->text(kNameColumn);
    item->setToolTip(kNameColumn, CellWidth(name) > width ? name : QString());
  }
}

void MaxViewWindow::PlaceBesideMainWindow() {
  const QWidget* main_window = parentWidget()->window();
  const QScreen* screen = main_window->screen();
  if (screen == nullptr) {
    return;
  }
  MaxViewContent content;
  const int frames_px = 2 * lst_max_view_->frameWidth();
  const int rows = lst_max_view_->topLevelItemCount();
  if (rows > 0) {
    // At a fractional scale the window system gives the window whole device pixels, so its
    // height in logical pixels may come back one short of the height asked for.
    const double ratio = devicePixelRatioF();
    const int rounding_px = ratio != std::floor(ratio) ? 1 : 0;
    content.rows_height =
        PixelsToTwips(lst_max_view_->header()->sizeHint().height() +
                      rows * lst_max_view_->sizeHintForRow(0) + frames_px + rounding_px);
  }
  content.columns_width = PixelsToTwips(lst_max_view_->header()->length() + frames_px);
  content.scroll_bar_width = PixelsToTwips(lst_max_view_->verticalScrollBar()->sizeHint().width());
  const Rect place =
      PlaceMaxViewWindow(TwipsRect(main_window->frameGeometry()),
                         TwipsRect(screen->availableGeometry()), ChromeHeightTwips(), content);
  SetOuterRectTwips(QRect(place.left, place.top, place.width, place.height));
}

void MaxViewWindow::cmdCopy_Click() {
  const std::string text = MaxViewClipboardText(display_);
  if (!text.empty()) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  }
}

void MaxViewWindow::SaveSectionCsv() {
  if (!table_.IsLoaded() || !cursor_samples_) {
    return;
  }
  // A shorter section would be saved as a log that cannot be opened.
  if (!SectionCanReopen((*cursor_samples_)[0], (*cursor_samples_)[1])) {
    dialogs_.ShowMessage(this, tr("区間が短すぎます。11サンプル以上の区間を選んでください。"));
    return;
  }
  const QString file_name = tr("区間.csv");
  const QString suggested =
      log_path_.isEmpty() ? file_name : QFileInfo(log_path_).dir().filePath(file_name);
  const QString path =
      dialogs_.ChooseFileToSave(this, suggested, tr("csvファイル(*.csv);;全てのファイル(*.*)"));
  if (path.isEmpty()) {
    return;
  }
  const FileWriteResult saved =
      WriteFileAtomically(QFile::encodeName(path).toStdString(),
                          SectionCsvText(table_, (*cursor_samples_)[0], (*cursor_samples_)[1]));
  if (!saved.ok) {
    dialogs_.ShowSaveFailure(this, path, saved.error_number);
  }
}

int32_t MaxViewWindow::SaveButtonWidthTwips() const {
  return std::max(kMaxViewSaveSectionButtonWidth,
                  PixelsToTwips(cmd_save_section_->sizeHint().width()));
}

void MaxViewWindow::ApplyMinimumSize() {
  setMinimumSize(ClientSize(MaxViewMinimumWidth(FrameWidthTwips(), SaveButtonWidthTwips()),
                            ChromeHeightTwips() + kMaxViewMinimumHeightAboveChrome));
}

void MaxViewWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void MaxViewWindow::Form_Resize() {
  if (isMinimized()) {
    return;
  }
  const QRect outer = OuterRectTwips();
  const MaxViewLayout layout = LayoutMaxViewWindow(outer.width(), outer.height(),
                                                   ChromeHeightTwips(), SaveButtonWidthTwips());
  if (layout.window_height != outer.height()) {
    resize(width(), ClientSize(0, layout.window_height).height());
  }
  lst_max_view_->setGeometry(PixelRect(layout.list));
  cmd_close_->setGeometry(PixelRect(layout.close_button));
  cmd_copy_->setGeometry(PixelRect(layout.copy_button));
  cmd_save_section_->setGeometry(PixelRect(layout.save_section_button));
}

void MaxViewWindow::StoreGeometry() {
  const QRect outer = OuterRectTwips();
  settings_.mv_xpos = outer.x();
  settings_.mv_ypos = outer.y();
  settings_.mv_xsize = outer.width();
  settings_.mv_ysize = outer.height();
}

void MaxViewWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !isMinimized()) {
    StoreGeometry();
  }
  if (event->type() == QEvent::LanguageChange) {
    RetranslateUi();
  }
}

void MaxViewWindow::closeEvent(QCloseEvent* event) {
  if (!isMinimized()) {
    StoreGeometry();
  }
  emit Closed();
  event->accept();
}

void MaxViewWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      cmd_close_->click();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace dravik
