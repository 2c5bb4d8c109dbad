#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/main_window.h"
#include "app/report.h"
#include "chart/twips.h"
#include "gui_test_support.h"

using namespace dravik;

// The scatter plot and table window as the user reaches it: Ctrl+T on the main window, its lists
// and fields by their names, the copy button.
namespace {

// RPM 0..3 and Load 0..4 in turn, AFR rising by one each sample.
std::string GridLog() {
  std::string text = "Time,RPM,Load,AFR\r\n";
  for (int s = 0; s < 40; ++s) {
    text += std::to_string(s * 100) + "," + std::to_string(s % 4) + "," + std::to_string(s % 5) +
            "," + std::to_string(s) + ".25\r\n";
  }
  return text;
}

QWidget* OpenAnalysis(MainWindow& main) {
  main.activateWindow();
  if (!QTest::qWaitForWindowActive(&main)) {
    return nullptr;
  }
  QTest::keyClick(&main, Qt::Key_T, Qt::ControlModifier);
  QWidget* tabs = Find<QTabWidget>(&main, "tabAnalysis");
  return tabs == nullptr ? nullptr : tabs->window();
}

void ShowTableTab(QWidget* window) {
  QTabBar* bar = Find<QTabWidget>(window, "tabAnalysis")->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
}

}  // namespace

class TestAnalysisWindow : public QObject {
  Q_OBJECT

 private slots:
  void TheCopiedTableIsWhatTheReportPrints();
  void ARememberedItemTheLogLacksIsNamed();
};

void TestAnalysisWindow::TheCopiedTableIsWhatTheReportPrints() {
  QTemporaryDir dir;
  const QString log = WriteTextFile(dir, "grid.csv", GridLog());
  FakeUserDialog dialogs;
  const auto main = NewShownWindow(dialogs);
  OpenThroughDialog(*main, dialogs, log);
  QWidget* window = OpenAnalysis(*main);
  QVERIFY(window != nullptr);
  QCOMPARE(window->windowTitle(), QString("Dravik - 散布図/集計表"));
  auto* colour = Find<QComboBox>(window, "cmbColourItem");
  QCOMPARE(colour->currentText(), QString("なし"));
  colour->setFocus();
  for (int k = 0; k < 3; ++k) {
    QTest::keyClick(colour, Qt::Key_Down);
  }
  QCOMPARE(colour->currentText(), QString("AFR"));
  ShowTableTab(window);
  auto* bins_x = Find<QLineEdit>(window, "txtBinsX");
  QTest::keyClicks(bins_x, "0,2,4");
  auto* table = Find<QTableWidget>(window, "tblBins");
  QTRY_COMPARE(table->columnCount(), 2);
  QTRY_COMPARE(table->rowCount(), 16);
  QTest::mouseClick(Find<QPushButton>(window, "cmdCopy"), Qt::LeftButton);
  const QString copied = QGuiApplication::clipboard()->text();
  const ReportOutput report = RunReport(
      ParseReportArguments({"--table", "1,2,3", "--bins-x", "0,2,4", log.toStdString()}).options);
  QCOMPARE(copied, QString::fromStdString(report.out));

  // A bad edge: the field says which, and the last good table stays.
  QTest::keyClicks(bins_x, ",3");
  QVERIFY(bins_x->toolTip().contains("「3」"));
  QTest::qWait(50);
  QCOMPARE(table->columnCount(), 2);
  QTest::mouseClick(Find<QPushButton>(window, "cmdCopy"), Qt::LeftButton);
  QCOMPARE(QGuiApplication::clipboard()->text(), copied);

  // The plot saved as a PNG where the save dialog says.
  QTabBar* bar = Find<QTabWidget>(window, "tabAnalysis")->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  auto* save = Find<QPushButton>(window, "cmdSavePicture");
  QTRY_VERIFY(save->isEnabled());
  dialogs.save_answers.push_back(dir.filePath("scatter.png"));
  QTest::mouseClick(save, Qt::LeftButton);
  QCOMPARE(QImage(dir.filePath("scatter.png")).isNull(), false);
  QVERIFY(dialogs.messages.isEmpty());
}

void TestAnalysisWindow::ARememberedItemTheLogLacksIsNamed() {
  QTemporaryDir dir;
  const QString log = WriteTextFile(dir, "grid.csv", GridLog());
  const QString ini =
      WriteTextFile(dir, "dravik.ini", "[Analysis]\r\nXItem=Boost\r\nYItem=Load\r\n");
  FakeUserDialog dialogs;
  const auto main = NewShownWindow(dialogs);
  main->Form_Load(ini.toStdString(), {log.toStdString()});
  QWidget* window = OpenAnalysis(*main);
  QVERIFY(window != nullptr);
  QCOMPARE(Find<QComboBox>(window, "cmbXItem")->currentText(), QString("なし"));
  QCOMPARE(Find<QComboBox>(window, "cmbYItem")->currentText(), QString("Load"));
  ShowTableTab(window);
  QTRY_COMPARE(Find<QLabel>(window, "lblTableMessage")->text(),
               QString("項目「Boost」がこのログにありません。"));

  // Left open where the user moved it, the window is found there at the next start.
  window->move(window->pos() + QPoint(40, 30));
  const int xpos = PixelsToTwips(window->x());
  main->close();
  QFile file(ini);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QString saved = QString::fromUtf8(file.readAll()).section("[Analysis]", 1);
  QVERIFY2(saved.contains(QString("\r\nXpos=%1\r\n").arg(xpos)), qPrintable(saved));
}

QTEST_MAIN(TestAnalysisWindow)
#include "tst_analysis_window.moc"
