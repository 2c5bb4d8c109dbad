#include "app/reference_offset_dialog.h"

#include <optional>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/number_format.h"
#include "log/reference_log.h"

namespace dravik {

ReferenceOffsetDialog::ReferenceOffsetDialog(double offset_ms, bool seconds, QWidget* parent)
    : QDialog(parent),
      seconds_(seconds),
      offset_ms_(offset_ms),
      field_(new QLineEdit(this)),
      problem_(new QLabel(this)) {
  setWindowTitle(tr("比較ログの位置合わせ"));
  field_->setObjectName(QStringLiteral("txtReferenceOffset"));
  problem_->setObjectName(QStringLiteral("lblReferenceOffsetProblem"));
  field_->setText(QString::fromStdString(FormatGeneral(seconds ? offset_ms / 1000 : offset_ms)));
  field_->selectAll();
  QPalette palette = problem_->palette();
  palette.setColor(QPalette::WindowText, QColor(192, 0, 0));
  problem_->setPalette(palette);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ReferenceOffsetDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(field_, &QLineEdit::textEdited, problem_, &QLabel::clear);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(seconds ? tr("比較ログのずれ (秒):") : tr("比較ログのずれ (ms):"), this));
  layout->addWidget(field_);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
  // Wide enough for its title and a long offset.
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) * 2);
}

void ReferenceOffsetDialog::accept() {
  const std::optional<double> offset = ParseReferenceOffset(field_->text().toStdString(), seconds_);
  if (!offset) {
    problem_->setText(tr("数値を入力してください。"));
    field_->setFocus();
    field_->selectAll();
    return;
  }
  offset_ms_ = *offset;
  QDialog::accept();
}

}  // namespace dravik
