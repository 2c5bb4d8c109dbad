#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QPushButton;

namespace dravik {

// The command frame (fraCommand): open, numeric display, options, help, the magnification list
// and exit. The main window wires the controls to its handlers.
class CommandPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit CommandPanel(QWidget* parent = nullptr);

  QPushButton* OpenButton() const { return open_button_; }
  // A check box drawn as a push button: a toggle button, down while the numeric display is shown.
  QPushButton* NumericDisplayButton() const { return numeric_display_button_; }
  QPushButton* OptionButton() const { return option_button_; }
  QPushButton* HelpButton() const { return help_button_; }
  QLabel* MagnificationLabel() const { return magnification_label_; }
  // The magnifications in list order, each entry's data its magnification; disabled until a log
  // long enough to zoom is loaded.
  QComboBox* MagnificationCombo() const { return magnification_combo_; }
  QPushButton* ExitButton() const { return exit_button_; }

 private:
  QPushButton* open_button_;
  QPushButton* numeric_display_button_;
  QPushButton* option_button_;
  QPushButton* help_button_;
  QLabel* magnification_label_;
  QComboBox* magnification_combo_;
  QPushButton* exit_button_;
};

}  // namespace dravik
