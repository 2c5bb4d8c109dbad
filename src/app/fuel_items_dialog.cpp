#include "app/fuel_items_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/fuel_items_form.h"

namespace dravik {
namespace {

QComboBox* ItemList(const char* name, const FuelItemList& list, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->addItem(QStringLiteral("(自動)"));
  for (const std::string& entry : list.entries) {
    box->addItem(QString::fromStdString(entry));
  }
  box->setCurrentIndex(list.selected + 1);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box->setMinimumContentsLength(16);
  return box;
}

QLabel* AutomaticLine(const FuelItemList& list, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(list.automatic_text), parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 0.85);
  label->setFont(font);
  return label;
}

std::string ChosenName(const QComboBox* box) {
  return box->currentIndex() <= 0 ? std::string() : box->currentText().toStdString();
}

}  // namespace

FuelItemsDialog::FuelItemsDialog(const std::vector<std::string>& names, const FuelItemNames& stored,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("燃費計算の項目"));
  const FuelItemsForm form = MakeFuelItemsForm(names, stored);
  auto* grid = new QGridLayout(this);
  cmb_speed_ = ItemList("cmbSpeedItem", form.speed, this);
  cmb_speed_unit_ = new QComboBox(this);
  cmb_speed_unit_->setObjectName(QStringLiteral("cmbSpeedUnit"));
  cmb_speed_unit_->addItems({QStringLiteral("km/h"), QStringLiteral("mph")});
  cmb_speed_unit_->setCurrentIndex(stored.speed_unit == 1 ? 1 : 0);
  cmb_engine_speed_ = ItemList("cmbEngineSpeedItem", form.engine_speed, this);
  cmb_pulse_width_ = ItemList("cmbPulseWidthItem", form.pulse_width, this);

  const struct {
    const char* caption;
    QComboBox* box;
    const FuelItemList& list;
  } rows[] = {{"車速:", cmb_speed_, form.speed},
              {"エンジン回転数:", cmb_engine_speed_, form.engine_speed},
              {"噴射パルス幅:", cmb_pulse_width_, form.pulse_width}};
  int row = 0;
  for (const auto& r : rows) {
    grid->addWidget(new QLabel(QString::fromUtf8(r.caption), this), row, 0);
    grid->addWidget(r.box, row, 1);
    grid->addWidget(AutomaticLine(r.list, this), row + 1, 1);
    row += 2;
  }
  grid->addWidget(cmb_speed_unit_, 0, 2);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("cmdCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, row, 0, 1, 3);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

FuelItemNames FuelItemsDialog::Chosen() const {
  return {ChosenName(cmb_speed_), cmb_speed_unit_->currentIndex(), ChosenName(cmb_engine_speed_),
          ChosenName(cmb_pulse_width_)};
}

}  // namespace dravik
