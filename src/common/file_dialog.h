#pragma once

#include <QString>
#include <QTranslator>

class QWidget;

namespace dravik {

// The texts of Qt's own file dialog that Qt's Japanese translation lacks: the kinds it shows for
// folders, drives, links and other entries. Installed beside Qt's Japanese translation.
class FileKindTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source_text, const char* disambiguation,
                    int n) const override;
};

// The open dialog, starting at `start_path` (a file is selected, a folder opened). The path
// chosen, or empty when cancelled. `filters` as QFileDialog takes them ("name(*.csv);;...").
QString ChooseFileToOpen(QWidget* parent, const QString& start_path, const QString& filters);

// The save dialog, proposing `suggested_path`; it asks before an existing file is replaced.
QString ChooseFileToSave(QWidget* parent, const QString& suggested_path, const QString& filters);

}  // namespace dravik
