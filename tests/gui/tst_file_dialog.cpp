#include <functional>

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "common/file_dialog.h"
#include "common/ui_language.h"
#include "common/user_dialog.h"
#include "support/test_log.h"

namespace {

constexpr int kKindColumn = 2;
constexpr int kDateColumn = 3;

// Calls `inspect` with the shown dialog and the row of `name` once Qt's file list holds it (the
// list fills in the background), and closes the dialog; after 5 s it closes it unexamined.
void WhenListed(const QString& name,
                std::function<void(QFileDialog&, QTreeView&, const QModelIndex&)> inspect) {
  auto* poll = new QTimer;
  auto* waited = new QElapsedTimer;
  waited->start();
  QObject::connect(poll, &QTimer::timeout, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    QTreeView* list = dialog != nullptr ? dialog->findChild<QTreeView*>() : nullptr;
    if (list == nullptr) {
      return;
    }
    const QModelIndexList found = list->model()->match(
        list->model()->index(0, 0, list->rootIndex()), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    const bool timed_out = waited->elapsed() > 5000;
    if (found.isEmpty() && !timed_out) {
      return;
    }
    if (!found.isEmpty()) {
      inspect(*dialog, *list, found.first());
    }
    poll->deleteLater();
    delete waited;
    dialog->reject();
  });
  poll->start(20);
}

}  // namespace

class TestFileDialog : public QObject {
  Q_OBJECT

 private slots:
  void QtsOwnDialogIsJapaneseWithColumnsFittingTheirTitles() {
    dravik::ApplyLanguage(dravik::Language::kJapanese);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("logs")));
    QString kind;
    QString date;
    bool titles_fit = false;
    WhenListed(QStringLiteral("logs"), [&](QFileDialog&, QTreeView& list, const QModelIndex& row) {
      kind = row.siblingAtColumn(kKindColumn).data().toString();
      date = row.siblingAtColumn(kDateColumn).data().toString();
      titles_fit = true;
      for (int column = 1; column <= kDateColumn; ++column) {
        titles_fit &= list.header()->sectionSize(column) >= list.header()->sectionSizeHint(column);
      }
    });
    QVERIFY(dravik::QtUserDialog()
                .ChooseFileToOpen(nullptr, dir.path(), QStringLiteral("csv (*.csv)"))
                .isEmpty());
    QCOMPARE(kind, QStringLiteral("フォルダ"));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$"))
                 .match(date)
                 .hasMatch(),
             qPrintable(date));
    QVERIFY(titles_fit);
  }

  void AcceptedDialogGivesTheChosenPath() {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("drive.csv"));
    dravik::WriteText(QFile::encodeName(log).toStdString(), "Time\n0\n");
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->selectFile(log);
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the Open button
    });
    QCOMPARE(
        dravik::QtUserDialog().ChooseFileToOpen(nullptr, dir.path(), QStringLiteral("csv (*.csv)")),
        log);
  }
};

QTEST_MAIN(TestFileDialog)
#include "tst_file_dialog.moc"
