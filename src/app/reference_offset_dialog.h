#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace dravik {

// "比較ログの位置合わせ": the reference log's offset typed in ms, or in seconds when the time unit
// is seconds. OK with a text that is not a number leaves the dialog open and says so under the
// field; the offset is taken only from an accepted dialog.
class ReferenceOffsetDialog : public QDialog {
  Q_OBJECT

 public:
  ReferenceOffsetDialog(double offset_ms, bool seconds, QWidget* parent = nullptr);

  // The offset in ms of an accepted dialog.
  double OffsetMs() const { return offset_ms_; }

 public slots:
  void accept() override;

 private:
  bool seconds_;
  double offset_ms_;
  QLineEdit* field_;
  QLabel* problem_;
};

}  // namespace dravik
