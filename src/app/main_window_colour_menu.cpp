#include <algorithm>
#include <new>
#include <numeric>
#include <vector>

#include <QAction>
#include <QMenu>

#include "app/formulas_dialog.h"
#include "app/main_window.h"
#include "chart/chart_panel.h"
#include "common/user_dialog.h"
#include "panel/item_panel.h"
#include "panel/item_panel_layout.h"

// The item colour menu (mnuColor) that a right-button release on an item box opens: a new colour
// for that item, every box checked, every box unchecked, the scatter plot and table window, or the
// computed items' dialog.

namespace dravik {

void MainWindow::BuildColourMenu() {
  connect(items_, &ItemPanel::ItemRightReleased, this, &MainWindow::chkItem_MouseUp);
  colour_menu_ = new QMenu(this);
}

void MainWindow::FillColourMenu() {
  // Filled as it opens, so that it always speaks the interface language.
  colour_menu_->clear();
  colour_menu_->setTitle(tr("カラー"));
  QAction* colour_entry =
      colour_menu_->addAction(QString::fromStdString(ItemColourMenuCaption(colour_menu_item_)),
                              this, [this] { mnuColor_Click(0); });
  // The settings file keeps the colours of the first 128 items only.
  colour_entry->setEnabled(colour_menu_item_ <= kItemColourCount);
  colour_menu_->addSeparator();
  colour_menu_->addAction(tr("全てチェック"), this, [this] { mnuColor_Click(1); });
  colour_menu_->addAction(tr("全てのチェックを外す"), this, [this] { mnuColor_Click(2); });
  colour_menu_->addSeparator();
  colour_menu_->addAction(tr("散布図/集計表..."), this, &MainWindow::OpenAnalysisWindow);
  colour_menu_->addAction(tr("計算項目..."), this, &MainWindow::EditFormulas);
  AddReferenceEntries();
}

void MainWindow::EditFormulas() {
  FormulasDialog dialog(settings_.formulas, table_, settings_.graph_scale_mode, this);
  if (dialog.exec() != QDialog::Accepted || dialog.Formulas() == settings_.formulas) {
    return;
  }
  settings_.formulas = dialog.Formulas();
  // The computed items of the open log and its reference follow the new list.
  ReadLogsAgain();
}

void MainWindow::chkItem_MouseUp(int index, QPoint global_pos) {
  colour_menu_item_ = index;
  FillColourMenu();
  colour_menu_->exec(global_pos);
}

void MainWindow::mnuColor_Click(int entry) {
  try {
    if (entry == 0) {
      ChangeItemColour();
    } else {
      // Hidden boxes cause no redraw when they change: one redraw follows for them all.
      if (entry == 1) {
        std::vector<int> all(static_cast<size_t>(std::max(table_.item_count, 0)));
        std::iota(all.begin(), all.end(), 1);
        items_->CheckItems(all);
      } else {
        items_->UncheckAll();
      }
      chart_->DrowScale();
      chart_->DrowGraph();
    }
  } catch (const std::bad_alloc&) {
    dialogs_.ShowErrorBox(this, QString::fromStdString(ErrorBoxText(
                                    "mnuColor_Click", static_cast<int>(ErrorNumber::kOutOfMemory),
                                    ErrorDescription(ErrorNumber::kOutOfMemory))));
  }
}

void MainWindow::ChangeItemColour() {
  Rgb& colour = settings_.item_colors[colour_menu_item_ - 1];
  const QColor initial(RedOf(colour), GreenOf(colour), BlueOf(colour));
  const std::optional<QColor> chosen = dialogs_.ChooseColour(this, initial);
  if (!chosen) {
    return;
  }
  colour = MakeRgb(chosen->red(), chosen->green(), chosen->blue());
  items_->SetBoxColour(colour_menu_item_, colour);
  chart_->DrowScale();
  chart_->DrowGraph();
}

}  // namespace dravik
