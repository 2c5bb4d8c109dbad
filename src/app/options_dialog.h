#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "common/settings.h"
#include "log/log_table.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace dravik {

class UserDialog;

// The options dialog "設定": the four display switches, the three fuel parameters of `settings`
// and, through the button "燃費計算の項目...", the fuel items chosen by name, and through
// "計算項目..." the computed items (FormulasDialog). OK validates the
// three fields and, when they pass, stores every value and accepts; a failing field is named in a
// message and the dialog stays open with nothing stored. Cancel, Esc and the close box store
// nothing. Fixed size, without minimise and maximise buttons. Window-modal rather than
// application-modal, so that the help window stays usable while the dialog is open.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // `settings` and `dialogs` must outlive the dialog; a validation message goes through
  // `dialogs`. The check box "スケーリング方法を旧仕様にする" is shown only with
  // `show_scale_mode_option` (the "/d" switch); hidden, its value is still stored by OK.
  OptionsDialog(Settings& settings, bool show_scale_mode_option, UserDialog& dialogs,
                QWidget* parent = nullptr);

  // After OK: the log must be read again, because the flow, the latency, the cylinder count, the
  // fuel items, the formulas, the section switch, the tooltip switch or the scale rounding changed.
  // False until OK succeeds.
  bool ReloadNeeded() const { return options_changed_ || scale_mode_changed_; }
  // After OK: another language was chosen in "表示言語 / Language" and stored in the settings;
  // the owner applies it once the dialog has closed.
  bool LanguageChanged() const { return language_changed_; }

  // The loaded log, whose item names (without the economy item) "燃費計算の項目" offers and which
  // "計算項目..." checks the formulas against; `table` must outlive the dialog. Without it no item
  // is offered and the formulas are checked as for no log.
  void SetLogTable(const LogTable* table);

 signals:
  // The help button was pressed: the owner opens the help at the options page.
  void helpRequested();

 private:
  // The constructor's parts: the display switches and the fuel fields inside `fra_option`, the
  // dialog's buttons, and the tab order through all of them.
  void AddSwitches(QWidget* fra_option, bool show_scale_mode_option);
  void AddFuelFields(QWidget* fra_option);
  // The list "表示言語 / Language", showing the interface language in use.
  void AddLanguageList(QWidget* fra_option);
  Language ChosenLanguage() const;
  void AddButtons();
  void SetTabOrder();
  void cmdOK_Click();
  void ChooseFuelItems();
  void EditFormulas();

  Settings& settings_;
  bool options_changed_ = false;
  bool scale_mode_changed_ = false;
  bool language_changed_ = false;
  UserDialog& dialogs_;
  FuelItemNames fuel_items_;       // chosen in "燃費計算の項目", stored by OK
  std::vector<Formula> formulas_;  // edited in "計算項目", stored by OK
  const LogTable* table_ = nullptr;
  QCheckBox* chk_time_unit_sec_;
  QCheckBox* chk_section_time_;
  QCheckBox* chk_always_tooltip_;
  QCheckBox* chk_graph_scale_mode_;
  QLineEdit* txt_injector_flow_scaling_;
  QLineEdit* txt_injector_latency_;
  QLineEdit* txt_cylinder_;
  QPushButton* cmd_fuel_items_;
  QPushButton* cmd_formulas_;
  QComboBox* cmb_language_;
  QPushButton* cmd_ok_;
  QPushButton* cmd_cancel_;
  QPushButton* cmd_help_;
};

}  // namespace dravik
