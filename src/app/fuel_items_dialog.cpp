#include "app/fuel_items_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/fuel_items_form.h"
#include "log/fuel_items.h"

namespace dravik {
namespace {

// The widest a name is shown: a third of the screen, so that no name widens the dialog beyond
// it. A longer name is shortened in the middle and shown whole in its tooltip.
int NameWidthPx(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  return screen ? screen->availableGeometry().width() / 3 : 400;
}

QString ShownName(const QWidget* widget, const QString& name) {
  return widget->fontMetrics().elidedText(name, Qt::ElideMiddle, NameWidthPx(widget));
}

QComboBox* ItemList(const char* name, const FuelItemList& list, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->addItem(FuelItemsDialog::tr("(自動)"), QString());
  for (const std::string& entry : list.entries) {
    const QString whole = QString::fromStdString(entry);
    box->addItem(ShownName(box, whole), whole);
    box->setItemData(box->count() - 1, whole, Qt::ToolTipRole);
  }
  const auto show_tooltip = [box] { box->setToolTip(box->currentData().toString()); };
  QObject::connect(box, &QComboBox::currentIndexChanged, box, show_tooltip);
  box->setCurrentIndex(list.selected + 1);
  show_tooltip();
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box->setMinimumContentsLength(16);
  return box;
}

// "(このログにはありません)" beside a list while it shows a name the loaded log lacks.
QLabel* MissingNote(const FuelItemList& list, QComboBox* box, QWidget* parent) {
  auto* note = new QLabel(FuelItemsDialog::tr("(このログにはありません)"), parent);
  note->setObjectName(box->objectName() + QStringLiteral("Missing"));
  const auto follow = [note, box, missing = list.missing] {
    note->setVisible(missing >= 0 && box->currentIndex() == missing + 1);
  };
  QObject::connect(box, &QComboBox::currentIndexChanged, note, follow);
  follow();
  return note;
}

QLabel* AutomaticLine(const FuelItemList& list, QWidget* parent) {
  const QString whole = QString::fromStdString(list.automatic_text);
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 0.85);
  label->setFont(font);
  label->setText(ShownName(label, whole));
  label->setToolTip(whole);
  return label;
}

std::string ChosenName(const QComboBox* box) {
  return box->currentData().toString().toStdString();
}

}  // namespace

FuelItemsDialog::FuelItemsDialog(const std::vector<std::string>& names, const FuelItemNames& stored,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("燃費計算の項目"));
  const FuelItemsForm form = MakeFuelItemsForm(names, stored);
  auto* grid = new QGridLayout(this);
  cmb_speed_ = ItemList("cmbSpeedItem", form.speed, this);
  cmb_speed_unit_ = new QComboBox(this);
  cmb_speed_unit_->setObjectName(QStringLiteral("cmbSpeedUnit"));
  cmb_speed_unit_->addItems({QStringLiteral("km/h"), QStringLiteral("mph")});
  cmb_speed_unit_->setCurrentIndex(stored.speed_unit == 1 ? 1 : 0);
  // The unit applies to a speed item chosen by name. Picking one sets it as the automatic rules
  // would read that name; the user may still change it.
  cmb_speed_unit_->setEnabled(cmb_speed_->currentIndex() > 0);
  connect(cmb_speed_, &QComboBox::currentIndexChanged, this, [this](int index) {
    cmb_speed_unit_->setEnabled(index > 0);
    if (index > 0) {
      cmb_speed_unit_->setCurrentIndex(SpeedNameSaysMph(ChosenName(cmb_speed_)) ? 1 : 0);
    }
  });
  cmb_engine_speed_ = ItemList("cmbEngineSpeedItem", form.engine_speed, this);
  cmb_pulse_width_ = ItemList("cmbPulseWidthItem", form.pulse_width, this);

  const struct {
    QString caption;
    QComboBox* box;
    const FuelItemList& list;
  } rows[] = {{tr("車速:"), cmb_speed_, form.speed},
              {tr("エンジン回転数:"), cmb_engine_speed_, form.engine_speed},
              {tr("噴射パルス幅:"), cmb_pulse_width_, form.pulse_width}};
  int row = 0;
  for (const auto& r : rows) {
    grid->addWidget(new QLabel(r.caption, this), row, 0);
    grid->addWidget(r.box, row, 1);
    grid->addWidget(AutomaticLine(r.list, this), row + 1, 1);
    grid->addWidget(MissingNote(r.list, r.box, this), row, 3);
    row += 2;
  }
  grid->addWidget(cmb_speed_unit_, 0, 2);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("cmdCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, row, 0, 1, 4);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

FuelItemNames FuelItemsDialog::Chosen() const {
  return {ChosenName(cmb_speed_), cmb_speed_unit_->currentIndex(), ChosenName(cmb_engine_speed_),
          ChosenName(cmb_pulse_width_)};
}

}  // namespace dravik
