#include "app/options_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/options_check.h"
#include "chart/twips.h"
#include "common/number_format.h"

namespace dravik {

namespace {

// Client area in twips: the frame "設定" and the button row with a 120-twip margin.
constexpr int kClientWidthTwips = 5655;
constexpr int kClientHeightTwips = 4335;

void Place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                      TwipsToPixels(height));
}

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

void ShowMessageBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Dravik"), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

OptionsDialog::OptionsDialog(Settings& settings, bool show_scale_mode_option, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      settings_(settings),
      show_message_(ShowMessageBox) {
  setWindowTitle(QStringLiteral("設定"));
  setWindowModality(Qt::WindowModal);
  if (parent != nullptr) {
    setWindowIcon(parent->windowIcon());
  }
  setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));

  auto* fra_option = new QGroupBox(QStringLiteral("設定"), this);
  Place(fra_option, 120, 120, 5415, 3615);
  auto* fra_basic = new QGroupBox(QStringLiteral("基本設定"), fra_option);
  Place(fra_basic, 120, 240, 5175, 1695);
  chk_time_unit_sec_ =
      SwitchBox("chkTimeUnitSec", QStringLiteral("TIME項目の単位を[ms]から[秒]で表記する"),
                settings.time_unit_sec, fra_basic);
  PlaceAt(chk_time_unit_sec_, 240, 240);
  chk_section_time_ =
      SwitchBox("chkSectionTime", QStringLiteral("数値表示ウィンドウに区間情報を表示する"),
                settings.section_time, fra_basic);
  PlaceAt(chk_section_time_, 240, 600);
  chk_always_tooltip_ =
      SwitchBox("chkAlwaysToolTip", QStringLiteral("表示項目のツールチップを常に有効にする"),
                settings.always_tooltip, fra_basic);
  PlaceAt(chk_always_tooltip_, 240, 960);
  chk_graph_scale_mode_ =
      SwitchBox("chkGraphScaleMode", QStringLiteral("スケーリング方法を旧仕様にする"),
                settings.graph_scale_mode, fra_basic);
  PlaceAt(chk_graph_scale_mode_, 240, 1320);
  chk_graph_scale_mode_->setVisible(show_scale_mode_option);

  auto* fra_fuel_efficient = new QGroupBox(QStringLiteral("燃費関連"), fra_option);
  Place(fra_fuel_efficient, 120, 2040, 5175, 1455);
  const auto add_field = [fra_fuel_efficient](const char* name, const QString& caption,
                                              const QString& unit, int top) {
    PlaceAt(new QLabel(caption, fra_fuel_efficient), 240, top + 120);
    auto* text = new QLineEdit(fra_fuel_efficient);
    text->setObjectName(QLatin1String(name));
    Place(text, 2640, top, 975, 330);
    if (!unit.isEmpty()) {
      PlaceAt(new QLabel(unit, fra_fuel_efficient), 3720, top + 120);
    }
    return text;
  };
  txt_injector_flow_scaling_ =
      add_field("txtInjectorFlowScaling", QStringLiteral("インジェクタ容量"),
                QStringLiteral("[cc/min]"), 240);
  txt_injector_latency_ =
      add_field("txtInjectorLatency", QStringLiteral("インジェクタ無効噴射時間"),
                QStringLiteral("[ms]"), 600);
  txt_cylinder_ = add_field("txtCylinder", QStringLiteral("シリンダ数"), QString(), 960);
  txt_injector_flow_scaling_->setText(
      QString::fromStdString(FormatGeneral(settings.injector_flow_scaling)));
  txt_injector_latency_->setText(QString::fromStdString(FormatGeneral(settings.injector_latency)));
  txt_cylinder_->setText(QString::number(settings.cylinder));

  cmd_ok_ = new QPushButton(QStringLiteral("OK"), this);
  Place(cmd_ok_, 1680, 3840, 1215, 375);
  cmd_ok_->setObjectName(QStringLiteral("cmdOK"));
  cmd_ok_->setDefault(true);
  cmd_cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
  cmd_cancel_->setObjectName(QStringLiteral("cmdCancel"));
  Place(cmd_cancel_, 3000, 3840, 1215, 375);
  cmd_help_ = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  cmd_help_->setObjectName(QStringLiteral("cmdHelp"));
  Place(cmd_help_, 4320, 3840, 1215, 375);
  connect(cmd_ok_, &QPushButton::clicked, this, &OptionsDialog::cmdOK_Click);
  connect(cmd_cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmd_help_, &QPushButton::clicked, this, &OptionsDialog::helpRequested);

  setTabOrder(chk_time_unit_sec_, chk_section_time_);
  setTabOrder(chk_section_time_, chk_always_tooltip_);
  setTabOrder(chk_always_tooltip_, chk_graph_scale_mode_);
  setTabOrder(chk_graph_scale_mode_, txt_injector_flow_scaling_);
  setTabOrder(txt_injector_flow_scaling_, txt_injector_latency_);
  setTabOrder(txt_injector_latency_, txt_cylinder_);
  setTabOrder(txt_cylinder_, cmd_ok_);
  setTabOrder(cmd_ok_, cmd_cancel_);
  setTabOrder(cmd_cancel_, cmd_help_);
  chk_time_unit_sec_->setFocus();
}

void OptionsDialog::SetMessageFunction(MessageFunction show_message) {
  show_message_ = std::move(show_message);
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
  const OptionsCheck check = CheckOptions(input, settings_);
  if (!check.ok) {
    show_message_(this, QString::fromStdString(check.message));
    return;
  }
  options_changed_ = check.options_changed;
  scale_mode_changed_ = check.scale_mode_changed;
  StoreOptions(check, settings_);
  accept();
}

}  // namespace dravik
