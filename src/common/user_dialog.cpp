#include "common/user_dialog.h"

#include <cstdio>

#include <QClipboard>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include "common/file_io.h"

// The file dialogs are in file_dialog.cpp, beside what makes Qt's own one Japanese.

namespace dravik {

void UserDialog::ShowErrorBox(QWidget* parent, const QString& text) {
  ShowMessage(parent, text);
  QGuiApplication::clipboard()->setText(text);
}

void UserDialog::ShowSaveFailure(QWidget* parent, const QString& path, int error_number) {
  ShowMessage(parent,
              QCoreApplication::translate("dravik::UserDialog", "%1 に保存できませんでした。\r\n%2")
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

Language QtUserDialog::ChooseLanguage(QWidget* parent) {
  // Asked before the language is known, so every text stands in both languages.
  QMessageBox box(QMessageBox::Question, QStringLiteral("Dravik"),
                  QStringLiteral("表示言語を選んでください。\nChoose the language of Dravik."),
                  QMessageBox::NoButton, parent);
  box.addButton(QStringLiteral("日本語"), QMessageBox::AcceptRole);
  QPushButton* english = box.addButton(QStringLiteral("English"), QMessageBox::AcceptRole);
  box.setDefaultButton(english);
  box.exec();
  return box.clickedButton() == english ? Language::kEnglish : Language::kJapanese;
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
