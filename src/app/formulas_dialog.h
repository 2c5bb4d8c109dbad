#pragma once

#include <vector>

#include <QDialog>

#include "common/settings.h"
#include "log/log_table.h"

class QPushButton;
class QTreeWidget;

namespace dravik {

// The dialog "計算項目": the user's formulas in list order with their name, their expression and
// what the loaded log makes of them ("このログでは使えません" with the reason), and the buttons
// "追加", "編集", "削除", "上へ" and "下へ". Adding and editing open FormulaEditDialog; a double
// click edits too. At most kMaxFormulas formulas: "追加" is then disabled and says why. OK
// accepts; Formulas() then holds the list.
class FormulasDialog : public QDialog {
  Q_OBJECT

 public:
  // `table` is the loaded log, or an empty table, and must outlive the dialog; a formula whose
  // values the chart cannot show with `graph_scale_mode` is one the log cannot have.
  FormulasDialog(std::vector<Formula> formulas, const LogTable& table, int graph_scale_mode,
                 QWidget* parent = nullptr);

  const std::vector<Formula>& Formulas() const { return formulas_; }

 private:
  // Fills the list anew and selects row `selected` (none when out of range).
  void Refill(int selected);
  int SelectedRow() const;
  void UpdateButtons();
  void Edit(int row);
  void Move(int delta);

  std::vector<Formula> formulas_;
  const LogTable& table_;
  int graph_scale_mode_;
  std::vector<Formula> unshowable_;  // formulas whose values the log's chart cannot show
  QTreeWidget* lst_formulas_;
  QPushButton* cmd_add_;
  QPushButton* cmd_edit_;
  QPushButton* cmd_delete_;
  QPushButton* cmd_up_;
  QPushButton* cmd_down_;
};

}  // namespace dravik
