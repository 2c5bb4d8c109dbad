#include "app/command_panel.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "chart/layout.h"
#include "chart/scaling.h"
#include "common/arrow_key_filter.h"
#include "common/drop_filter.h"
#include "panel/top_level_window.h"

namespace dravik {

CommandPanel::CommandPanel(QWidget* parent)
    : QGroupBox(parent),
      open_button_(new QPushButton(this)),
      numeric_display_button_(new QPushButton(this)),
      option_button_(new QPushButton(this)),
      help_button_(new QPushButton(this)),
      magnification_label_(new QLabel(this)),
      magnification_combo_(new QComboBox(this)),
      exit_button_(new QPushButton(this)) {
  setObjectName(QStringLiteral("fraCommand"));
  resize(PixelSize(kRightColumnWidth, kCommandFrameHeight));
  RetranslateUi();
  open_button_->setObjectName(QStringLiteral("cmdOpenFile"));
  open_button_->setGeometry(PixelRect(kOpenButtonRect));
  numeric_display_button_->setObjectName(QStringLiteral("chkMaxView"));
  numeric_display_button_->setCheckable(true);
  numeric_display_button_->setGeometry(PixelRect(kNumericDisplayButtonRect));
  option_button_->setObjectName(QStringLiteral("cmdOption"));
  option_button_->setGeometry(PixelRect(kOptionButtonRect));
  help_button_->setObjectName(QStringLiteral("cmdHelp"));
  help_button_->setGeometry(PixelRect(kHelpButtonRect));
  magnification_combo_->setObjectName(QStringLiteral("cmbMultipl"));
  for (const int magnification : kMagnifications) {
    magnification_combo_->addItem(QString::number(magnification), magnification);
  }
  magnification_combo_->setEnabled(false);
  exit_button_->setObjectName(QStringLiteral("cmdExit"));
  exit_button_->setGeometry(PixelRect(kExitButtonRect));

  connect(open_button_, &QPushButton::clicked, this, &CommandPanel::OpenRequested);
  connect(numeric_display_button_, &QPushButton::toggled, this,
          &CommandPanel::NumericDisplayToggled);
  connect(option_button_, &QPushButton::clicked, this, &CommandPanel::OptionsRequested);
  connect(help_button_, &QPushButton::clicked, this, &CommandPanel::HelpRequested);
  connect(magnification_combo_, &QComboBox::activated, this, &CommandPanel::MagnificationChosen);
  connect(exit_button_, &QPushButton::clicked, this, &CommandPanel::ExitRequested);

  auto* arrow_keys = new ArrowKeyFilter(this);
  auto* drops = new DropFilter(this);
  connect(drops, &DropFilter::FileDropped, this, &CommandPanel::FileDropped);
  drops->Accept(this);
  for (QPushButton* button :
       {open_button_, numeric_display_button_, option_button_, help_button_, exit_button_}) {
    arrow_keys->Watch(button);
    drops->Refuse(button);
  }
  drops->Refuse(magnification_label_);
  drops->Refuse(magnification_combo_);
}

void CommandPanel::RetranslateUi() {
  open_button_->setText(tr("ファイルを開く(&O)"));
  numeric_display_button_->setText(tr("数値表示(&V)"));
  option_button_->setText(tr("設定(&S)"));
  help_button_->setText(tr("ヘルプ(&H)"));
  magnification_label_->setText(tr("倍率:"));
  exit_button_->setText(tr("終了(&X)"));
  // A caption longer than its place pushes the list's left edge to the right; the list keeps
  // its right edge.
  const QRect label = PixelRect(kMagnificationLabelRect);
  const int label_px = std::max(label.width(), magnification_label_->sizeHint().width());
  magnification_label_->setGeometry(label.x(), label.y(), label_px, label.height());
  const QRect combo = PixelRect(kMagnificationComboRect);
  const int combo_left = std::max(combo.left(), label.x() + label_px + label.x() / 2);
  magnification_combo_->setGeometry(combo_left, combo.y(), combo.right() + 1 - combo_left,
                                    combo.height());
}

void CommandPanel::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) {
    RetranslateUi();
  }
}

int CommandPanel::Magnification() const {
  return magnification_combo_->currentData().toInt();
}

void CommandPanel::ResetMagnification() {
  const QSignalBlocker block(magnification_combo_);
  magnification_combo_->setCurrentIndex(0);
}

void CommandPanel::SetMagnificationEnabled(bool enabled) {
  magnification_combo_->setEnabled(enabled);
}

bool CommandPanel::StepMagnification(int delta) {
  QComboBox* combo = magnification_combo_;
  const int index = std::clamp(combo->currentIndex() + delta, 0, combo->count() - 1);
  if (!combo->isEnabled() || index == combo->currentIndex()) {
    return false;
  }
  combo->setCurrentIndex(index);
  return true;
}

bool CommandPanel::NumericDisplayChecked() const {
  return numeric_display_button_->isChecked();
}

void CommandPanel::SetNumericDisplayChecked(bool checked) {
  numeric_display_button_->setChecked(checked);
}

}  // namespace dravik
