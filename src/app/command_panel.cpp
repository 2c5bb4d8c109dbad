#include "app/command_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "chart/layout.h"
#include "chart/scaling.h"
#include "panel/top_level_window.h"

namespace dravik {

CommandPanel::CommandPanel(QWidget* parent)
    : QGroupBox(parent),
      open_button_(new QPushButton(QStringLiteral("ファイルを開く(&O)"), this)),
      numeric_display_button_(new QPushButton(QStringLiteral("数値表示(&V)"), this)),
      option_button_(new QPushButton(QStringLiteral("設定(&S)"), this)),
      help_button_(new QPushButton(QStringLiteral("ヘルプ(&H)"), this)),
      magnification_label_(new QLabel(QStringLiteral("倍率:"), this)),
      magnification_combo_(new QComboBox(this)),
      exit_button_(new QPushButton(QStringLiteral("終了(&X)"), this)) {
  setObjectName(QStringLiteral("fraCommand"));
  resize(PixelSize(kRightColumnWidth, kCommandFrameHeight));
  open_button_->setObjectName(QStringLiteral("cmdOpenFile"));
  open_button_->setGeometry(PixelRect(kOpenButtonRect));
  numeric_display_button_->setObjectName(QStringLiteral("chkMaxView"));
  numeric_display_button_->setCheckable(true);
  numeric_display_button_->setGeometry(PixelRect(kNumericDisplayButtonRect));
  option_button_->setObjectName(QStringLiteral("cmdOption"));
  option_button_->setGeometry(PixelRect(kOptionButtonRect));
  help_button_->setObjectName(QStringLiteral("cmdHelp"));
  help_button_->setGeometry(PixelRect(kHelpButtonRect));
  magnification_label_->setGeometry(PixelRect(kMagnificationLabelRect));
  magnification_combo_->setObjectName(QStringLiteral("cmbMultipl"));
  magnification_combo_->setGeometry(PixelRect(kMagnificationComboRect));
  for (const int magnification : kMagnifications) {
    magnification_combo_->addItem(QString::number(magnification), magnification);
  }
  magnification_combo_->setEnabled(false);
  exit_button_->setObjectName(QStringLiteral("cmdExit"));
  exit_button_->setGeometry(PixelRect(kExitButtonRect));
}

}  // namespace dravik
