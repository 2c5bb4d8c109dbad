#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "app/help_window.h"

using dravik::HelpPage;
using dravik::HelpWindow;

namespace {

void WriteFile(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

}  // namespace

class TestHelpWindow : public QObject {
  Q_OBJECT

 private slots:
  void FindsHelpBesideOrUnderShare_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");  // relative to bin/, empty: not found
    QTest::newRow("beside") << QStringList{"bin/help/index.html"} << "help";
    QTest::newRow("installed") << QStringList{"share/dravik/help/index.html"}
                               << "../share/dravik/help";
    QTest::newRow("beside first") << QStringList{"bin/help/index.html",
                                                 "share/dravik/help/index.html"}
                                  << "help";
    QTest::newRow("directory without contents") << QStringList{"bin/help/options.html"} << "";
    QTest::newRow("none") << QStringList{} << "";
  }
  void FindsHelpBesideOrUnderShare() {
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir root;
    for (const QString& file : files) {
      WriteFile(root.filePath(file), "<p>x</p>");
    }
    const QString bin = root.filePath("bin");
    QDir().mkpath(bin);
    const QString found = HelpWindow::FindHelpDirectory(bin);
    if (expected.isEmpty()) {
      QVERIFY(found.isEmpty());
    } else {
      QCOMPARE(found, QDir::cleanPath(QDir(bin).filePath(expected)));
    }
  }

  void OpensContentsAndOptionsPageInOneWindow() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("index.html"), "<p>contents</p>");
    WriteFile(dir.filePath("options.html"), "<p>options</p>");
    HelpWindow help(dir.path());
    help.ShowPage(HelpPage::kContents);
    QVERIFY(help.isVisible());
    QCOMPARE(help.windowTitle(), QString("Dravik"));
    QCOMPARE(help.findChild<QTextBrowser*>()->source().fileName(), QString("index.html"));
    QVERIFY(help.findChild<QTextBrowser*>()->toPlainText().contains("contents"));
    help.ShowPage(HelpPage::kOptions);
    QCOMPARE(help.findChild<QTextBrowser*>()->source().fileName(), QString("options.html"));
    QVERIFY(help.findChild<QTextBrowser*>()->toPlainText().contains("options"));
  }

  void MissingHelpShowsANote() {
    HelpWindow help(QString{});
    help.ShowPage(HelpPage::kOptions);
    QVERIFY(help.isVisible());
    QVERIFY(help.findChild<QTextBrowser*>()->toPlainText().contains(
        QStringLiteral("ヘルプファイルが見つかりません")));
  }

  void DoesNotKeepTheProgramRunning() {
    HelpWindow help(QString{});
    QVERIFY(!help.testAttribute(Qt::WA_QuitOnClose));
  }

  // Every page of the help is copied beside the built program, and every page link and picture
  // there leads to a file that is there too.
  void ShippedPagesLinkToShippedPages() {
    const QDir source(DRAVIK_HELP_SOURCE_DIR);
    const QDir built(DRAVIK_HELP_BUILD_DIR);
    QVERIFY(source.exists("index.html"));
    QVERIFY(source.exists("options.html"));
    const QRegularExpression link(R"((?:href|src)="([^"#:]+)(#[^"]*)?")");
    for (const QString& page : source.entryList({"*.html"})) {
      QVERIFY2(built.exists(page), qPrintable(page));
      QFile file(built.filePath(page));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QString text = QString::fromUtf8(file.readAll());
      for (auto match = link.globalMatch(text); match.hasNext();) {
        const QString target = match.next().captured(1);
        QVERIFY2(built.exists(target), qPrintable(page + " -> " + target));
      }
    }
  }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
