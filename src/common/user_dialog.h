#pragma once

#include <chrono>
#include <optional>

#include <QColor>
#include <QString>

#include "common/core_text.h"

class QWidget;

namespace dravik {

// Everything the windows ask of the person in front of them, in one place: the windows are given
// one and never open a message box or a common dialog themselves. QtUserDialog shows Qt's
// dialogs; a test passes its own, which records what was asked and answers without blocking.
class UserDialog {
 public:
  virtual ~UserDialog() = default;

  // A message box titled "Dravik" with the critical icon and one OK button, over `parent`.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // The open dialog, starting at `start_path` (a file is selected, a folder opened); `filters` as
  // QFileDialog takes them ("name(*.csv);;..."). The path chosen, or empty when cancelled.
  virtual QString ChooseFileToOpen(QWidget* parent, const QString& start_path,
                                   const QString& filters) = 0;
  // The save dialog, proposing `suggested_path`; it asks before an existing file is replaced.
  virtual QString ChooseFileToSave(QWidget* parent, const QString& suggested_path,
                                   const QString& filters) = 0;
  // The colour dialog starting from `initial`; nullopt when cancelled.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) = 0;
  // How long a load runs before its progress is shown, so that ordinary files load without it.
  virtual std::chrono::milliseconds LoadProgressDelay() const = 0;
  // The first start's question, written in both languages: which language the windows speak.
  virtual Language ChooseLanguage(QWidget* parent) = 0;

  // The box of an unexpected error: shown, then its text put on the clipboard.
  void ShowErrorBox(QWidget* parent, const QString& text);
  // The message of a file that could not be written at `path`: the path and the system's reason.
  void ShowSaveFailure(QWidget* parent, const QString& path, int error_number);
};

// The dialogs of the running program: Qt's message box and colour dialog, and the file dialogs
// (file_dialog.cpp): the desktop's where Qt has one, else Qt's own made Japanese.
class QtUserDialog : public UserDialog {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  QString ChooseFileToOpen(QWidget* parent, const QString& start_path,
                           const QString& filters) override;
  QString ChooseFileToSave(QWidget* parent, const QString& suggested_path,
                           const QString& filters) override;
  std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) override;
  std::chrono::milliseconds LoadProgressDelay() const override {
    return std::chrono::milliseconds(500);
  }
  Language ChooseLanguage(QWidget* parent) override;
};

}  // namespace dravik
