#include "app/formulas_dialog.h"

#include <algorithm>
#include <span>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/formula_edit_dialog.h"
#include "log/formula_eval.h"
#include "log/formula_parser.h"

namespace dravik {
namespace {

QPushButton* Button(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace

FormulasDialog::FormulasDialog(std::vector<Formula> formulas, const LogTable& table,
                               int graph_scale_mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      formulas_(std::move(formulas)),
      table_(table),
      graph_scale_mode_(graph_scale_mode) {
  for (const FormulaOutcome& outcome : table_.formula_outcomes) {
    if (outcome.unshowable) {
      unshowable_.push_back(outcome.formula);
    }
  }
  setWindowTitle(tr("計算項目"));
  auto* grid = new QGridLayout(this);
  lst_formulas_ = new QTreeWidget(this);
  lst_formulas_->setObjectName(QStringLiteral("lstFormulas"));
  lst_formulas_->setRootIsDecorated(false);
  lst_formulas_->setHeaderLabels({tr("名前"), tr("式"), tr("このログ")});
  lst_formulas_->setMinimumSize(640, 240);
  lst_formulas_->header()->setStretchLastSection(true);
  lst_formulas_->setColumnWidth(0, 130);
  lst_formulas_->setColumnWidth(1, 270);
  grid->addWidget(lst_formulas_, 0, 0);

  auto* column = new QVBoxLayout;
  cmd_add_ = Button("cmdAdd", tr("追加"), this);
  cmd_edit_ = Button("cmdEdit", tr("編集"), this);
  cmd_delete_ = Button("cmdDelete", tr("削除"), this);
  cmd_up_ = Button("cmdUp", tr("上へ"), this);
  cmd_down_ = Button("cmdDown", tr("下へ"), this);
  for (QPushButton* button : {cmd_add_, cmd_edit_, cmd_delete_, cmd_up_, cmd_down_}) {
    button->setAutoDefault(false);
    column->addWidget(button);
  }
  column->addStretch();
  grid->addLayout(column, 0, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
  grid->addWidget(buttons, 1, 0, 1, 2);

  connect(cmd_add_, &QPushButton::clicked, this,
          [this] { Edit(static_cast<int>(formulas_.size())); });
  connect(cmd_edit_, &QPushButton::clicked, this, [this] { Edit(SelectedRow()); });
  connect(lst_formulas_, &QTreeWidget::itemDoubleClicked, this, [this] { Edit(SelectedRow()); });
  connect(cmd_delete_, &QPushButton::clicked, this, [this] {
    const int row = SelectedRow();
    if (row >= 0) {
      formulas_.erase(formulas_.begin() + row);
      Refill(std::min(row, static_cast<int>(formulas_.size()) - 1));
    }
  });
  connect(cmd_up_, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(cmd_down_, &QPushButton::clicked, this, [this] { Move(1); });
  connect(lst_formulas_, &QTreeWidget::itemSelectionChanged, this, &FormulasDialog::UpdateButtons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Refill(formulas_.empty() ? -1 : 0);
}

void FormulasDialog::Refill(int selected) {
  lst_formulas_->clear();
  ComputedPlan plan;
  if (table_.IsLoaded()) {
    // A formula whose values the log could not show, when it was opened or as edited here, stays
    // left out: what the list shows is what opening the log again would do.
    std::vector<std::string> set_aside(formulas_.size());
    for (size_t k = 0; k < formulas_.size(); ++k) {
      if (std::find(unshowable_.begin(), unshowable_.end(), formulas_[k]) != unshowable_.end()) {
        set_aside[k] = UnshowableReason();
      }
    }
    plan = PlanComputedItems(std::span(table_.item_names).first(table_.LoggedItemCount() + 1),
                             formulas_, true, set_aside);
  }
  for (size_t k = 0; k < formulas_.size(); ++k) {
    QString status;
    if (!plan.formulas.empty()) {
      status = plan.formulas[k].item > 0 ? tr("使えます")
                                         : tr("このログでは使えません: ") +
                                               QString::fromStdString(plan.formulas[k].reason);
    }
    auto* row = new QTreeWidgetItem(
        lst_formulas_, {QString::fromStdString(formulas_[k].name),
                        QString::fromStdString(formulas_[k].expression).simplified(), status});
    row->setToolTip(2, status);
  }
  const bool full = formulas_.size() >= static_cast<size_t>(kMaxFormulas);
  cmd_add_->setEnabled(!full);
  cmd_add_->setToolTip(full ? tr("計算項目は%1個までです").arg(kMaxFormulas) : QString());
  if (selected >= 0 && selected < lst_formulas_->topLevelItemCount()) {
    lst_formulas_->setCurrentItem(lst_formulas_->topLevelItem(selected));
  }
  UpdateButtons();
}

void FormulasDialog::UpdateButtons() {
  const int row = SelectedRow();
  cmd_edit_->setEnabled(row >= 0);
  cmd_delete_->setEnabled(row >= 0);
  cmd_up_->setEnabled(row > 0);
  cmd_down_->setEnabled(row >= 0 && row + 1 < static_cast<int>(formulas_.size()));
}

int FormulasDialog::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = lst_formulas_->selectedItems();
  return selected.isEmpty() ? -1 : lst_formulas_->indexOfTopLevelItem(selected.front());
}

void FormulasDialog::Edit(int row) {
  if (row < 0 || row > static_cast<int>(formulas_.size()) ||
      (row == static_cast<int>(formulas_.size()) &&
       formulas_.size() >= static_cast<size_t>(kMaxFormulas))) {
    return;
  }
  FormulaEditDialog editor(formulas_, static_cast<size_t>(row), table_, graph_scale_mode_, this);
  if (editor.exec() != QDialog::Accepted) {
    return;
  }
  if (editor.ChartCannotShow()) {
    unshowable_.push_back(editor.Edited());
  }
  if (row == static_cast<int>(formulas_.size())) {
    formulas_.push_back(editor.Edited());
  } else {
    formulas_[row] = editor.Edited();
  }
  Refill(row);
}

void FormulasDialog::Move(int delta) {
  const int row = SelectedRow();
  const int to = row + delta;
  if (row < 0 || to < 0 || to >= static_cast<int>(formulas_.size())) {
    return;
  }
  std::swap(formulas_[row], formulas_[to]);
  Refill(to);
}

}  // namespace dravik
