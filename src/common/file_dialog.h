#pragma once

#include <QString>
#include <QTranslator>

namespace dravik {

// The texts of Qt's own file dialog that Qt's Japanese translation lacks: the kinds it shows for
// folders, drives, links and other entries. Installed beside Qt's Japanese translation. The file
// dialogs themselves are QtUserDialog's (user_dialog.h), made in file_dialog.cpp.
class FileKindTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source_text, const char* disambiguation,
                    int n) const override;
};

}  // namespace dravik
