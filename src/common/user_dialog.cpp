#include "common/user_dialog.h"

#include <cstdio>

#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>

#include "common/file_io.h"

// The file dialogs are in file_dialog.cpp, beside what makes Qt's own one Japanese.

namespace dravik {

void UserDialog::ShowErrorBox(QWidget* parent, const QString& text) {
  ShowMessage(parent, text);
  QGuiApplication::clipboard()->setText(text);
}

void UserDialog::ShowSaveFailure(QWidget* parent, const QString& path, int error_number) {
  ShowMessage(parent, QStringLiteral("%1 に保存できませんでした。\r\n%2")
                          .arg(QDir::toNativeSeparators(path),
                               QString::fromStdString(WriteFailureReason(error_number))));
}

void QtUserDialog::ShowMessage(QWidget* parent, const QString& text) {
  // A box that cannot be drawn would wait for an answer nobody can give: with no descriptors
  // left, Qt waits for ever for the shared memory of its picture.
  constexpr int kMessageBoxFiles = 4;
  if (!CanOpenFiles(kMessageBoxFiles)) {
    std::fprintf(stderr, "Dravik: %s\n", qUtf8Printable(QString(text).replace("\r\n", "\n")));
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Dravik"), text, QMessageBox::Ok, parent);
  box.exec();
}

std::optional<QColor> QtUserDialog::ChooseColour(QWidget* parent, const QColor& initial) {
  const QColor picked =
      QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
  if (!picked.isValid()) {
    return std::nullopt;
  }
  return picked;
}

}  // namespace dravik
