#include "app/formula_edit_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "chart/scaling.h"
#include "log/formula_eval.h"
#include "log/formula_parser.h"

namespace dravik {
namespace {

// A pause in typing before the check runs, so that a long log is not evaluated at every key.
constexpr int kCheckDelayMs = 150;

}  // namespace

FormulaEditDialog::FormulaEditDialog(std::vector<Formula> formulas, size_t index,
                                     const LogTable& table, int graph_scale_mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      formulas_(std::move(formulas)),
      index_(index),
      table_(table),
      graph_scale_mode_(graph_scale_mode) {
  if (index_ >= formulas_.size()) {
    index_ = formulas_.size();
    formulas_.emplace_back();
  }
  setWindowTitle(tr("計算項目の編集"));
  auto* grid = new QGridLayout(this);
  txt_name_ = new QLineEdit(QString::fromStdString(formulas_[index_].name), this);
  txt_name_->setObjectName(QStringLiteral("txtName"));
  txt_expression_ = new QPlainTextEdit(QString::fromStdString(formulas_[index_].expression), this);
  txt_expression_->setObjectName(QStringLiteral("txtExpression"));
  txt_expression_->setTabChangesFocus(true);
  txt_expression_->setMinimumWidth(320);
  lst_items_ = new QListWidget(this);
  lst_items_->setObjectName(QStringLiteral("lstItems"));
  lst_items_->setToolTip(tr("ダブルクリックで式に入れます"));
  lst_items_->setMinimumWidth(220);
  if (table_.IsLoaded()) {
    for (int item = 0; item <= table_.LoggedItemCount(); ++item) {
      lst_items_->addItem(QString::fromStdString(table_.item_names[item]));
    }
  }
  for (size_t k = 0; k < index_; ++k) {
    lst_items_->addItem(QString::fromStdString(formulas_[k].name));
  }
  lbl_check_ = new QLabel(this);
  lbl_check_->setObjectName(QStringLiteral("lblCheck"));
  lbl_check_->setWordWrap(true);
  lbl_check_->setTextFormat(Qt::PlainText);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  cmd_ok_ = buttons->button(QDialogButtonBox::Ok);
  cmd_ok_->setObjectName(QStringLiteral("cmdOK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));

  grid->addWidget(new QLabel(tr("名前:"), this), 0, 0);
  grid->addWidget(txt_name_, 0, 1);
  grid->addWidget(new QLabel(tr("式:"), this), 1, 0, Qt::AlignTop);
  grid->addWidget(txt_expression_, 1, 1);
  grid->addWidget(new QLabel(tr("項目:"), this), 0, 2);
  grid->addWidget(lst_items_, 1, 2, 2, 1);
  grid->addWidget(lbl_check_, 2, 1);
  grid->addWidget(buttons, 3, 0, 1, 3);
  // Room shared between the expression and the item names, also on a small or scaled screen.
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(2, 2);

  check_timer_ = new QTimer(this);
  check_timer_->setSingleShot(true);
  check_timer_->setInterval(kCheckDelayMs);
  connect(check_timer_, &QTimer::timeout, this, &FormulaEditDialog::Check);
  const auto changed = [this] {
    cmd_ok_->setEnabled(false);
    check_timer_->start();
  };
  connect(txt_name_, &QLineEdit::textChanged, this, changed);
  connect(txt_expression_, &QPlainTextEdit::textChanged, this, changed);
  connect(lst_items_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { InsertItem(item->text()); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    // A check still pending runs now, so that OK never keeps an expression it has not seen.
    if (check_timer_->isActive()) {
      check_timer_->stop();
      Check();
    }
    if (cmd_ok_->isEnabled()) {
      accept();
    }
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Check();
  // A new item is named first; an existing one is opened to change its expression.
  if (txt_name_->text().isEmpty()) {
    txt_name_->setFocus();
  } else {
    txt_expression_->setFocus();
  }
}

Formula FormulaEditDialog::Edited() const {
  return {txt_name_->text().toStdString(), txt_expression_->toPlainText().toStdString()};
}

void FormulaEditDialog::Check() {
  formulas_[index_] = Edited();
  const int mode = graph_scale_mode_;
  const FormulaCheck check = CheckFormula(table_, formulas_, index_, [mode](float min, float max) {
    return CanPlotRange(min, max, mode);
  });
  cmd_ok_->setEnabled(check.valid);
  chart_cannot_show_ = check.unshowable;
  QString text;
  if (!check.valid) {
    text = QString::fromStdString(check.error);
  } else if (!check.error.empty()) {
    text = tr("このログでは使えません: ") + QString::fromStdString(check.error);
  } else if (check.evaluated) {
    text = tr("このログで使えます。0になるサンプル: %1").arg(check.zero_samples);
  } else {
    text = tr("使えます。");
  }
  lbl_check_->setText(text);
}

void FormulaEditDialog::InsertItem(const QString& name) {
  txt_expression_->insertPlainText(QString::fromStdString(BracketItemName(name.toStdString())));
  txt_expression_->setFocus();
}

}  // namespace dravik
