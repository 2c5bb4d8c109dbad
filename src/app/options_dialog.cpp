#include "app/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/formulas_dialog.h"
#include "app/fuel_items_dialog.h"
#include "app/fuel_items_form.h"
#include "app/options_check.h"
#include "app/options_layout.h"
#include "chart/twips.h"
#include "common/number_format.h"
#include "common/ui_language.h"
#include "common/user_dialog.h"
#include "panel/top_level_window.h"

namespace dravik {

namespace {

// Labels and check boxes take the size their text needs.
void PlaceAt(QWidget* widget, int left, int top) {
  widget->adjustSize();
  widget->move(TwipsToPixels(left), TwipsToPixels(top));
}

QCheckBox* SwitchBox(const char* name, const QString& caption, int32_t value, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QLatin1String(name));
  if (value == 0 || value == 1) {
    box->setChecked(value == 1);
  } else {
    // A hand-edited value other than 0 or 1 is shown greyed and kept unless the user changes it.
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
  }
  return box;
}

int32_t SwitchValue(const QCheckBox* box, int32_t previous) {
  switch (box->checkState()) {
    case Qt::Unchecked:
      return 0;
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      break;
  }
  return previous;
}

}  // namespace

OptionsDialog::OptionsDialog(Settings& settings, bool show_scale_mode_option, UserDialog& dialogs,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      settings_(settings),
      dialogs_(dialogs),
      fuel_items_(settings.fuel_items),
      formulas_(settings.formulas) {
  setWindowTitle(tr("設定"));
  setWindowModality(Qt::WindowModal);
  if (parent != nullptr) {
    setWindowIcon(parent->windowIcon());
  }
  setFixedSize(PixelSize(kOptionsClientWidth, kOptionsClientHeight));

  auto* fra_option = new QGroupBox(tr("設定"), this);
  fra_option->setGeometry(PixelRect(kOptionsFrameRect));
  AddSwitches(fra_option, show_scale_mode_option);
  AddFuelFields(fra_option);
  AddLanguageList(fra_option);
  AddButtons();
  SetTabOrder();
  chk_time_unit_sec_->setFocus();
}

void OptionsDialog::AddSwitches(QWidget* fra_option, bool show_scale_mode_option) {
  const Settings& settings = settings_;
  auto* fra_basic = new QGroupBox(tr("基本設定"), fra_option);
  fra_basic->setGeometry(PixelRect(kBasicFrameRect));
  chk_time_unit_sec_ = SwitchBox("chkTimeUnitSec", tr("TIME項目の単位を[ms]から[秒]で表記する"),
                                 settings.time_unit_sec, fra_basic);
  PlaceAt(chk_time_unit_sec_, kSwitchLeft, kSwitchTops[0]);
  chk_section_time_ = SwitchBox("chkSectionTime", tr("数値表示ウィンドウに区間情報を表示する"),
                                settings.section_time, fra_basic);
  PlaceAt(chk_section_time_, kSwitchLeft, kSwitchTops[1]);
  chk_always_tooltip_ = SwitchBox("chkAlwaysToolTip", tr("表示項目のツールチップを常に有効にする"),
                                  settings.always_tooltip, fra_basic);
  PlaceAt(chk_always_tooltip_, kSwitchLeft, kSwitchTops[2]);
  chk_graph_scale_mode_ = SwitchBox("chkGraphScaleMode", tr("スケーリング方法を旧仕様にする"),
                                    settings.graph_scale_mode, fra_basic);
  PlaceAt(chk_graph_scale_mode_, kSwitchLeft, kSwitchTops[3]);
  chk_graph_scale_mode_->setVisible(show_scale_mode_option);
}

void OptionsDialog::AddFuelFields(QWidget* fra_option) {
  const Settings& settings = settings_;
  auto* fra_fuel_efficient = new QGroupBox(tr("燃費関連"), fra_option);
  fra_fuel_efficient->setGeometry(PixelRect(kFuelFrameRect));
  const auto add_field = [fra_fuel_efficient](const char* name, const QString& caption,
                                              const QString& unit, int top) {
    PlaceAt(new QLabel(caption, fra_fuel_efficient), kFieldCaptionLeft, top + kFieldTextDrop);
    auto* text = new QLineEdit(fra_fuel_efficient);
    text->setObjectName(QLatin1String(name));
    text->setGeometry(PixelRect(Rect{kFieldTextLeft, top, kFieldTextWidth, kFieldTextHeight}));
    if (!unit.isEmpty()) {
      PlaceAt(new QLabel(unit, fra_fuel_efficient), kFieldUnitLeft, top + kFieldTextDrop);
    }
    return text;
  };
  txt_injector_flow_scaling_ = add_field("txtInjectorFlowScaling", tr("インジェクタ容量"),
                                         QStringLiteral("[cc/min]"), kFieldTops[0]);
  txt_injector_latency_ = add_field("txtInjectorLatency", tr("インジェクタ無効噴射時間"),
                                    QStringLiteral("[ms]"), kFieldTops[1]);
  txt_cylinder_ = add_field("txtCylinder", tr("シリンダ数"), QString(), kFieldTops[2]);
  txt_injector_flow_scaling_->setText(
      QString::fromStdString(FormatGeneral(settings.injector_flow_scaling)));
  txt_injector_latency_->setText(QString::fromStdString(FormatGeneral(settings.injector_latency)));
  txt_cylinder_->setText(QString::number(settings.cylinder));
  cmd_fuel_items_ = new QPushButton(tr("燃費計算の項目..."), fra_fuel_efficient);
  cmd_fuel_items_->setObjectName(QStringLiteral("cmdFuelItems"));
  cmd_fuel_items_->setGeometry(PixelRect(kFuelItemsButtonRect));
  connect(cmd_fuel_items_, &QPushButton::clicked, this, &OptionsDialog::ChooseFuelItems);
  cmd_formulas_ = new QPushButton(tr("計算項目..."), fra_fuel_efficient);
  cmd_formulas_->setObjectName(QStringLiteral("cmdFormulas"));
  cmd_formulas_->setGeometry(PixelRect(kFormulasButtonRect));
  connect(cmd_formulas_, &QPushButton::clicked, this, &OptionsDialog::EditFormulas);
}

void OptionsDialog::AddLanguageList(QWidget* fra_option) {
  // Written in both languages, and each language in its own, so that anyone finds them.
  auto* caption = new QLabel(QStringLiteral("表示言語 / Language"), fra_option);
  caption->setObjectName(QStringLiteral("lblLanguage"));
  PlaceAt(caption, kLanguageCaptionLeft, kLanguageCaptionTop);
  cmb_language_ = new QComboBox(fra_option);
  cmb_language_->setObjectName(QStringLiteral("cmbLanguage"));
  cmb_language_->addItem(QStringLiteral("日本語"), static_cast<int>(Language::kJapanese));
  cmb_language_->addItem(QStringLiteral("English"), static_cast<int>(Language::kEnglish));
  cmb_language_->setGeometry(PixelRect(kLanguageListRect));
  cmb_language_->setCurrentIndex(cmb_language_->findData(static_cast<int>(InterfaceLanguage())));
}

Language OptionsDialog::ChosenLanguage() const {
  return static_cast<Language>(cmb_language_->currentData().toInt());
}

void OptionsDialog::AddButtons() {
  cmd_ok_ = new QPushButton(QStringLiteral("OK"), this);
  cmd_ok_->setGeometry(PixelRect(kOptionsOkRect));
  cmd_ok_->setObjectName(QStringLiteral("cmdOK"));
  cmd_ok_->setDefault(true);
  cmd_cancel_ = new QPushButton(tr("キャンセル"), this);
  cmd_cancel_->setObjectName(QStringLiteral("cmdCancel"));
  cmd_cancel_->setGeometry(PixelRect(kOptionsCancelRect));
  cmd_help_ = new QPushButton(tr("ヘルプ(&H)"), this);
  cmd_help_->setObjectName(QStringLiteral("cmdHelp"));
  cmd_help_->setGeometry(PixelRect(kOptionsHelpRect));
  connect(cmd_ok_, &QPushButton::clicked, this, &OptionsDialog::cmdOK_Click);
  connect(cmd_cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmd_help_, &QPushButton::clicked, this, &OptionsDialog::helpRequested);
}

// The order in which the dialog's controls are laid out, top to bottom, then the buttons.
void OptionsDialog::SetTabOrder() {
  setTabOrder(chk_time_unit_sec_, chk_section_time_);
  setTabOrder(chk_section_time_, chk_always_tooltip_);
  setTabOrder(chk_always_tooltip_, chk_graph_scale_mode_);
  setTabOrder(chk_graph_scale_mode_, txt_injector_flow_scaling_);
  setTabOrder(txt_injector_flow_scaling_, txt_injector_latency_);
  setTabOrder(txt_injector_latency_, txt_cylinder_);
  setTabOrder(txt_cylinder_, cmd_formulas_);
  setTabOrder(cmd_formulas_, cmd_fuel_items_);
  setTabOrder(cmd_fuel_items_, cmb_language_);
  setTabOrder(cmb_language_, cmd_ok_);
  setTabOrder(cmd_ok_, cmd_cancel_);
  setTabOrder(cmd_cancel_, cmd_help_);
}

void OptionsDialog::ChooseFuelItems() {
  FuelItemsDialog dialog(table_ != nullptr ? LoggedItemNames(*table_) : std::vector<std::string>{},
                         fuel_items_, this);
  if (dialog.exec() == QDialog::Accepted) {
    fuel_items_ = dialog.Chosen();
  }
}

void OptionsDialog::SetLogTable(const LogTable* table) {
  table_ = table;
}

void OptionsDialog::EditFormulas() {
  const LogTable no_log;
  FormulasDialog dialog(formulas_, table_ != nullptr ? *table_ : no_log, settings_.graph_scale_mode,
                        this);
  if (dialog.exec() == QDialog::Accepted) {
    formulas_ = dialog.Formulas();
  }
}

void OptionsDialog::cmdOK_Click() {
  OptionsInput input;
  input.time_unit_sec = SwitchValue(chk_time_unit_sec_, settings_.time_unit_sec);
  input.section_time = SwitchValue(chk_section_time_, settings_.section_time);
  input.graph_scale_mode = SwitchValue(chk_graph_scale_mode_, settings_.graph_scale_mode);
  input.always_tooltip = SwitchValue(chk_always_tooltip_, settings_.always_tooltip);
  input.flow_text = txt_injector_flow_scaling_->text().toStdString();
  input.latency_text = txt_injector_latency_->text().toStdString();
  input.cylinder_text = txt_cylinder_->text().toStdString();
  input.fuel_items = fuel_items_;
  const OptionsCheck check = CheckOptions(input, settings_);
  if (!check.ok) {
    dialogs_.ShowMessage(this, QString::fromStdString(check.message));
    return;
  }
  options_changed_ = check.options_changed || formulas_ != settings_.formulas;
  scale_mode_changed_ = check.scale_mode_changed;
  StoreOptions(check, settings_);
  settings_.formulas = formulas_;
  // The list shows the language in use, which --lang may have chosen for this run only: the
  // setting changes when the user picks another.
  language_changed_ = ChosenLanguage() != InterfaceLanguage();
  if (language_changed_) {
    settings_.language = ChosenLanguage();
  }
  accept();
}

}  // namespace dravik
