#pragma once

#include <cstddef>
#include <vector>

#include <QDialog>

#include "common/settings.h"
#include "log/log_table.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace dravik {

// The editor of one computed item ("計算項目の編集"): its name, its expression, the loaded log's
// items (and the computed items above it) to insert into the expression by a double click, and a
// live check that names the first error with its position, or how many samples of the log would
// read 0. OK is enabled while the name and the expression are usable on some log; a formula that
// only this log cannot have may still be kept.
class FormulaEditDialog : public QDialog {
  Q_OBJECT

 public:
  // Edits formula `index` of `formulas` (index == formulas.size(): a new one at the end);
  // `table` is the loaded log, or an empty table, and must outlive the dialog; values that the
  // chart cannot show with `graph_scale_mode` are checked for as a load checks for them.
  FormulaEditDialog(std::vector<Formula> formulas, size_t index, const LogTable& table,
                    int graph_scale_mode, QWidget* parent = nullptr);

  Formula Edited() const;
  // Whether the last check found that the log's chart cannot show the formula's values.
  bool ChartCannotShow() const { return chart_cannot_show_; }

 private:
  void Check();
  void InsertItem(const QString& name);

  std::vector<Formula> formulas_;
  size_t index_;
  const LogTable& table_;
  int graph_scale_mode_;
  bool chart_cannot_show_ = false;
  QLineEdit* txt_name_;
  QPlainTextEdit* txt_expression_;
  QListWidget* lst_items_;
  QLabel* lbl_check_;
  QPushButton* cmd_ok_;
  QTimer* check_timer_;
};

}  // namespace dravik
