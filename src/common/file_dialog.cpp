#include "common/file_dialog.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QScreen>
#include <QTreeView>

#include "common/user_dialog.h"

// The platform's dialog (a desktop portal's or the desktop's) is used wherever Qt has one; it
// speaks the desktop's language. Qt's own dialog, used everywhere else, is made to speak the
// interface language here.

namespace dravik {
namespace {

// Columns of Qt's file list.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// Qt writes the sizes and dates of its file list in the system locale, which is English under
// C.UTF-8 and most others; the program speaks its interface language whatever the locale.
class InterfaceFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role == Qt::DisplayRole && files != nullptr) {
      const QModelIndex source = mapToSource(index);
      if (index.column() == kSizeColumn) {
        return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
      }
      if (index.column() == kDateColumn) {
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
      }
    }
    return QIdentityProxyModel::data(index, role);
  }
};

// Qt sizes the columns for English titles; Japanese titles, sizes and dates are wider.
void WidenColumns(QTreeView& list) {
  QHeaderView* header = list.header();
  const QFontMetrics metrics = list.fontMetrics();
  const int margin = 2 * metrics.horizontalAdvance(QLatin1Char('M'));
  const QString widest[] = {
      QLocale().formattedDataSize(999'900'000),
      QMimeDatabase().mimeTypeForName(QStringLiteral("text/csv")).comment(),
      QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59)), QLocale::ShortFormat)};
  for (int column = kSizeColumn; column <= kDateColumn; ++column) {
    header->resizeSection(
        column, std::max({header->sectionSize(column), header->sectionSizeHint(column),
                          metrics.horizontalAdvance(widest[column - kSizeColumn]) + margin}));
  }
}

QString Choose(QFileDialog& dialog) {
  // Only Qt's own dialog has a file list of its own.
  if (QTreeView* list = dialog.findChild<QTreeView*>()) {
    dialog.setProxyModel(new InterfaceFileColumns(&dialog));
    WidenColumns(*list);
    // Wide enough for the columns beside the sidebar and the margins (about half the dialog's
    // own width), so that the names keep room too.
    // Never wider than the screen, where a scaled screen would otherwise cut off its right side.
    const int columns_width = list->header()->length();
    const int wanted = std::max(dialog.width(), columns_width + dialog.width() / 2);
    dialog.resize(std::min(wanted, dialog.screen()->availableGeometry().width()), dialog.height());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return QString();
  }
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString FileKindTranslator::translate(const char* context, const char* source_text,
                                      const char* /*disambiguation*/, int /*n*/) const {
  if (std::strcmp(context, "QAbstractFileIconProvider") != 0) {
    return QString();
  }
  static constexpr struct {
    const char* english;
    const char* japanese;
  } kKinds[] = {{"Drive", "ドライブ"},          {"Folder", "フォルダ"},  {"File", "ファイル"},
                {"Shortcut", "ショートカット"}, {"Alias", "エイリアス"}, {"Unknown", "不明"}};
  const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const auto& k) {
    return std::strcmp(k.english, source_text) == 0;
  });
  return kind == std::end(kKinds) ? QString() : QString::fromUtf8(kind->japanese);
}

QString QtUserDialog::ChooseFileToOpen(QWidget* parent, const QString& start_path,
                                       const QString& filters) {
  QFileDialog dialog(parent, QString(), start_path, filters);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Choose(dialog);
}

QString QtUserDialog::ChooseFileToSave(QWidget* parent, const QString& suggested_path,
                                       const QString& filters) {
  QFileDialog dialog(parent, QString(), suggested_path, filters);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  return Choose(dialog);
}

}  // namespace dravik
