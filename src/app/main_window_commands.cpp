#include <new>

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPixmap>
#include <QTreeWidget>

#include "app/main_window.h"
#include "panel/item_panel.h"
#include "panel/item_panel_layout.h"

// The main window's commands beside its controls: the item colour menu, the trip list's copy
// menu and the chart picture's copy and save keys. No other key does anything here: no key moves
// a cursor or the view.

namespace dravik {

void MainWindow::BuildCommands() {
  connect(items_, &ItemPanel::ItemRightReleased, this, &MainWindow::chkItem_MouseUp);
  colour_menu_ = new QMenu(QStringLiteral("カラー"), this);
  colour_entry_ = colour_menu_->addAction(QString(), this, [this] { mnuColor_Click(0); });
  colour_menu_->addSeparator();
  colour_menu_->addAction(QStringLiteral("全てのチェックを外す"), this,
                          [this] { mnuColor_Click(2); });

  auto* copy_chart = new QAction(this);
  copy_chart->setShortcut(QKeySequence::Copy);
  connect(copy_chart, &QAction::triggered, this, &MainWindow::CopyChartPicture);
  addAction(copy_chart);
  auto* save_chart = new QAction(this);
  save_chart->setShortcut(QKeySequence::Save);
  connect(save_chart, &QAction::triggered, this, &MainWindow::SaveChartPicture);
  addAction(save_chart);
}

void MainWindow::lstFuelEfficient_MouseUp(QPoint global_pos) {
  if (trip_list_->topLevelItemCount() == 0) {
    return;
  }
  QMenu menu(QStringLiteral("走行/燃費情報"), this);
  menu.addAction(QStringLiteral("走行/燃費情報のコピー"), this,
                 &MainWindow::mnuFuelEfficientCopy_Click);
  menu.exec(global_pos);
}

void MainWindow::mnuFuelEfficientCopy_Click() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(TripListClipboardText(trip_rows_)));
}

void MainWindow::chkItem_MouseUp(int index, QPoint global_pos) {
  colour_menu_item_ = index;
  colour_entry_->setText(QString::fromStdString(ItemColourMenuCaption(index)));
  colour_menu_->exec(global_pos);
}

void MainWindow::mnuColor_Click(int entry) {
  try {
    if (entry == 0) {
      ChangeItemColour();
    } else {
      // Hidden boxes cause no redraw when they change: one redraw follows for them all.
      items_->UncheckAll();
      DrowScale();
      DrowGraph();
    }
  } catch (const std::bad_alloc&) {
    ShowErrorBox("mnuColor_Click", ErrorNumber::kOutOfMemory);
  }
}

void MainWindow::ChangeItemColour() {
  Rgb& colour = settings_.item_colors[colour_menu_item_ - 1];
  const QColor initial(RedOf(colour), GreenOf(colour), BlueOf(colour));
  std::optional<QColor> chosen;
  if (colour_dialog_hook_) {
    chosen = colour_dialog_hook_(initial);
  } else {
    const QColor picked =
        QColorDialog::getColor(initial, this, QString(), QColorDialog::DontUseNativeDialog);
    if (picked.isValid()) {
      chosen = picked;
    }
  }
  if (!chosen) {
    return;
  }
  colour = MakeRgb(chosen->red(), chosen->green(), chosen->blue());
  items_->SetBoxColour(colour_menu_item_, colour);
  DrowScale();
  DrowGraph();
}

void MainWindow::ShowErrorBox(const std::string& procedure, ErrorNumber number) {
  const QString text = QString::fromStdString(
      ErrorBoxText(procedure, static_cast<int>(number), ErrorDescription(number)));
  ShowMessage(text);
  QGuiApplication::clipboard()->setText(text);
}

QImage MainWindow::ChartPicture() const {
  // The chart box holds exactly the scale strip and the graph beside it; grabbing it paints
  // both pictures with the cursor lines over them, as they are shown.
  return chart_box_->grab().toImage();
}

void MainWindow::CopyChartPicture() {
  if (!table_.IsLoaded()) {
    return;
  }
  QGuiApplication::clipboard()->setImage(ChartPicture());
}

void MainWindow::SaveChartPicture() {
  if (!table_.IsLoaded()) {
    return;
  }
  const QFileInfo log(loaded_log_path_);
  const QString suggested = log.dir().filePath(log.completeBaseName() + QStringLiteral(".png"));
  std::optional<QString> chosen;
  if (save_dialog_hook_) {
    chosen = save_dialog_hook_(suggested);
  } else {
    const QString path =
        QFileDialog::getSaveFileName(this, QString(), suggested, QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty()) {
      chosen = path;
    }
  }
  if (!chosen) {
    return;
  }
  if (!ChartPicture().save(*chosen, "PNG")) {
    ShowMessage(
        QStringLiteral("%1 に保存できませんでした。").arg(QDir::toNativeSeparators(*chosen)));
  }
}

}  // namespace dravik
