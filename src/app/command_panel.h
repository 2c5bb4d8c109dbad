#pragma once

#include <QGroupBox>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;

namespace dravik {

// The command frame (fraCommand): open, numeric display, options, help, the magnification list
// and exit. It says what the user asked for through its signals; a file dropped on the frame
// (not on its controls) is one of them.
class CommandPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit CommandPanel(QWidget* parent = nullptr);

  // The magnification of the entry chosen in the list.
  int Magnification() const;
  // Back to the first entry (magnification 1) without a MagnificationChosen.
  void ResetMagnification();
  // The list is offered only for a log long enough to zoom.
  void SetMagnificationEnabled(bool enabled);
  // Moves the list `delta` entries up or down within it, as choosing that entry does; false when
  // the list is disabled or already at its end, nothing then being chosen.
  bool StepMagnification(int delta);
  // The numeric display button: a check box drawn as a push button, down while the window shows.
  bool NumericDisplayChecked() const;
  void SetNumericDisplayChecked(bool checked);

 signals:
  void OpenRequested();
  void NumericDisplayToggled(bool checked);
  void OptionsRequested();
  void HelpRequested();
  // An entry of the magnification list was chosen.
  void MagnificationChosen();
  void ExitRequested();
  // `as_reference`: dropped with Shift held, to be opened as the reference log.
  void FileDropped(const QString& path, bool as_reference);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();

  QPushButton* open_button_;
  QPushButton* numeric_display_button_;
  QPushButton* option_button_;
  QPushButton* help_button_;
  QLabel* magnification_label_;
  QComboBox* magnification_combo_;
  QPushButton* exit_button_;
};

}  // namespace dravik
