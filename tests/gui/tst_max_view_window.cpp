#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "app/open_log.h"
#include "chart/twips.h"
#include "common/settings.h"
#include "gui_test_support.h"
#include "log/log_table.h"
#include "panel/max_view_window.h"
#include "panel/numeric_display.h"

using namespace dravik;

namespace {

// Twelve samples with speed, engine speed and pulse width, so that every row kind appears.
std::string DriveLog() {
  std::string log =
      "Time (msec),Vehicle Speed (km/h),Engine Speed (rpm),"
      "Fuel Injector #1 Pulse Width (ms)\r\n";
  for (int s = 0; s < 12; ++s) {
    log += std::to_string(s * 250) + "," + std::to_string(40 + s) + "," +
           std::to_string(2000 + 10 * s) + ",2." + std::to_string(s % 10) + "\r\n";
  }
  return log;
}

QStringList RowTexts(const QTreeWidget* list, int row) {
  QStringList texts;
  for (int column = 0; column < kMaxViewColumns; ++column) {
    texts.append(list->topLevelItem(row)->text(column));
  }
  return texts;
}

QStringList ModelTexts(const NumericDisplay& display, int row) {
  QStringList texts;
  for (const std::string& text : display.rows[row]) {
    texts.append(QString::fromStdString(text));
  }
  return texts;
}

}  // namespace

class TestMaxViewWindow : public QObject {
  Q_OBJECT

  LogTable table_;
  Settings settings_;
  FakeUserDialog dialogs_;

  static QTreeWidget* List(const QWidget& window) {
    return window.findChild<QTreeWidget*>("lstMaxView");
  }
  static QPushButton* Button(const QWidget& window, const char* name) {
    return window.findChild<QPushButton*>(QLatin1String(name));
  }
  // One readout of cursor 1 on `sample`, cursor 2 on `other`.
  static void ReadOut(MaxViewWindow& window, int64_t sample, int64_t other) {
    CursorMove move;
    move.readouts = {{1, sample, other}};
    window.ApplyCursorMove(move);
  }

  void Load() {
    QCOMPARE(int(OpenLogFromBuffer(DriveLog(), settings_, table_).kind), int(LoadFailure::kNone));
  }

 private slots:
  void init() {
    settings_ = Settings{};
    settings_.section_time = 1;
    settings_.mv_xpos = 1500;
    settings_.mv_ypos = 3000;
    settings_.mv_xsize = 7935;
    settings_.mv_ysize = 3000;
    table_.Clear();
    dialogs_ = FakeUserDialog();
  }

  void HasTheSixColumns() {
    MaxViewWindow window(table_, settings_, dialogs_);
    QCOMPARE(window.windowTitle(), QString("Dravik - 数値表示"));
    const QTreeWidget* list = List(window);
    QCOMPARE(list->columnCount(), 6);
    const QStringList headers{"項目", "最小値", "現在値1", "現在値2", "変化量", "最大値"};
    for (int column = 0; column < 6; ++column) {
      QCOMPARE(list->headerItem()->text(column), headers[column]);
      QCOMPARE(list->columnWidth(column), column == 0 ? 215 : 57);
    }
    QCOMPARE(Button(window, "cmdClose")->text(), QString("閉じる(&X)"));
    QCOMPARE(Button(window, "cmdCopy")->text(), QString("コピー(&C)"));
    QVERIFY(Button(window, "cmdClose")->isDefault());
  }

  void NoLogLeavesTheListEmptyAndCopyDisabled() {
    MaxViewWindow window(table_, settings_, dialogs_);
    QCOMPARE(List(window)->topLevelItemCount(), 0);
    QVERIFY(!Button(window, "cmdCopy")->isEnabled());
  }

  void ShowsTheModelsCells() {
    Load();
    MaxViewWindow window(table_, settings_, dialogs_);
    NumericDisplay expected;
    MaxViewList(expected, table_, settings_);
    UpdateCursorReadout(expected, table_, settings_, 1, 3, 0);
    UpdateCursorReadout(expected, table_, settings_, 2, 8, 3);
    UpdateSectionReadout(expected, table_, settings_, 3, 8);

    CursorMove move;
    move.readouts = {{1, 3, 0}, {2, 8, 3}};
    move.section = SampleSection{3, 8};
    window.ApplyCursorMove(move);

    QVERIFY(Button(window, "cmdCopy")->isEnabled());
    QCOMPARE(List(window)->topLevelItemCount(), int(expected.rows.size()));
    QVERIFY(expected.rows.size() > size_t(table_.item_count + 1));  // section rows too
    for (int row = 0; row < int(expected.rows.size()); ++row) {
      QCOMPARE(RowTexts(List(window), row), ModelTexts(expected, row));
      QCOMPARE(List(window)->topLevelItem(row)->textAlignment(4) & Qt::AlignRight, Qt::AlignRight);
    }
  }

  void TimeUnitChangeRewritesTheTimeRow() {
    Load();
    MaxViewWindow window(table_, settings_, dialogs_);
    settings_.time_unit_sec = 1;
    window.ReDrawTime();
    QVERIFY(List(window)->topLevelItem(0)->text(0).endsWith(" (秒)"));
  }

  void CopyPutsTheModelsTextOnTheClipboard() {
    Load();
    MaxViewWindow window(table_, settings_, dialogs_);
    ReadOut(window, 2, 0);
    Button(window, "cmdCopy")->click();
    NumericDisplay expected;
    MaxViewList(expected, table_, settings_);
    UpdateCursorReadout(expected, table_, settings_, 1, 2, 0);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString::fromStdString(MaxViewClipboardText(expected)));
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(
        "項目, 最小値, 現在値1, 現在値2, 変化量, 最大値\r\n"));
  }

  // After a failed load the list is empty but the copy stays enabled: copying must do nothing.
  void CopyOfAnEmptiedListLeavesTheClipboard() {
    Load();
    MaxViewWindow window(table_, settings_, dialogs_);
    table_.Clear();
    window.ClearList();
    QCOMPARE(List(window)->topLevelItemCount(), 0);
    QVERIFY(Button(window, "cmdCopy")->isEnabled());
    QGuiApplication::clipboard()->setText("kept");
    Button(window, "cmdCopy")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
  }

  void OpensAtTheStoredPlace() {
    MaxViewWindow window(table_, settings_, dialogs_);
    window.show();
    QCOMPARE(window.OuterRectTwips(), QRect(1500, 3000, 7935, 3000));
  }

  // A place saved on a larger screen or edited by hand opens wholly on this one, and what is
  // stored at the close is that fitted place.
  void OpensOnTheScreenWhateverTheSettingsSay_data() {
    QTest::addColumn<QRect>("stored");
    QTest::newRow("hand-edited") << QRect(30000, 30000, 99999999, 99999999);
    QTest::newRow("a larger screen") << QRect(20000, 9000, 45000, 30000);
  }
  void OpensOnTheScreenWhateverTheSettingsSay() {
    QFETCH(QRect, stored);
    settings_.mv_xpos = stored.x();
    settings_.mv_ypos = stored.y();
    settings_.mv_xsize = stored.width();
    settings_.mv_ysize = stored.height();
    QPointer<MaxViewWindow> window = new MaxViewWindow(table_, settings_, dialogs_);
    window->show();
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY(screen.contains(window->frameGeometry()));
    window->close();
    const QRect kept(TwipsToPixels(settings_.mv_xpos), TwipsToPixels(settings_.mv_ypos),
                     TwipsToPixels(settings_.mv_xsize), TwipsToPixels(settings_.mv_ysize));
    QVERIFY(screen.contains(kept));
  }

  // The list leaves 570 twips below it for the buttons, which stand 105 twips below the list and
  // meet at the middle; the window cannot be made lower than its chrome and 560 twips.
  void LaysOutAndKeepsAMinimumHeight() {
    MaxViewWindow window(table_, settings_, dialogs_);
    window.show();
    QCOMPARE(List(window)->geometry(),
             QRect(0, 0, window.frameGeometry().width() - 8, window.height() - 38));
    QCOMPARE(Button(window, "cmdClose")->geometry().top(), List(window)->height() + 7);
    QCOMPARE(Button(window, "cmdCopy")->geometry().top(), List(window)->height() + 7);
    QCOMPARE(Button(window, "cmdCopy")->geometry().left() -
                 Button(window, "cmdClose")->geometry().left(),
             105);
    QCOMPARE(Button(window, "cmdCopy")->size(), QSize(97, 25));
    window.resize(window.width(), 10);
    QCOMPARE(window.height(), window.minimumHeight());
    QVERIFY(window.minimumHeight() > 0 && window.minimumHeight() <= TwipsToPixels(560));
    // At its least size every button is still whole in the window.
    window.resize(10, 10);
    QCOMPARE(window.size(), window.minimumSize());
    QVERIFY(window.rect().contains(Button(window, "cmdClose")->geometry()));
    QVERIFY(window.rect().contains(Button(window, "cmdCopy")->geometry()));
    QVERIFY(window.rect().contains(Button(window, "cmdSaveSection")->geometry()));
  }

  // Large values, many decimals and a long name: every value is shown whole, and the name column
  // grows only so far, giving the name it still cuts a tooltip.
  void ColumnsShowEveryTextWhole() {
    const std::string long_name(120, 'N');
    std::string log = "Time," + long_name + ",Ratio,Offset\r\n";
    for (int s = 0; s < 12; ++s) {
      log +=
          std::to_string(s * 250) + "," + std::to_string(1901723 + s) + ",1.2345678,-98765.4\r\n";
    }
    QCOMPARE(int(OpenLogFromBuffer(log, settings_, table_).kind), int(LoadFailure::kNone));
    MaxViewWindow window(table_, settings_, dialogs_);
    ReadOut(window, 3, 0);
    const QTreeWidget* list = List(window);
    const QFontMetricsF metrics(list->font());
    // The item view keeps this margin either side of a cell's text.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
      for (int column = 1; column < kMaxViewColumns; ++column) {
        const QString text = list->topLevelItem(row)->text(column);
        QVERIFY2(metrics.horizontalAdvance(text) + 2 * margin <= list->columnWidth(column),
                 qPrintable(text));
      }
    }
    QVERIFY(list->columnWidth(0) > 215);
    QVERIFY(metrics.horizontalAdvance(QString::fromStdString(long_name)) > list->columnWidth(0));
    QCOMPARE(list->topLevelItem(1)->toolTip(0), QString::fromStdString(long_name));
    QCOMPARE(list->topLevelItem(2)->toolTip(0), QString());
  }

  void EveryWayOfClosingStoresTheGeometryAndSaysSo_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("close button") << 0;
    QTest::newRow("escape") << 1;
    QTest::newRow("enter") << 2;
    QTest::newRow("close box") << 3;
  }
  void EveryWayOfClosingStoresTheGeometryAndSaysSo() {
    QFETCH(int, way);
    QPointer<MaxViewWindow> window = new MaxViewWindow(table_, settings_, dialogs_);
    window->show();
    window->move(50, 60);
    QSignalSpy closed(window.data(), &MaxViewWindow::Closed);
    if (way == 0) {
      Button(*window, "cmdClose")->click();
    } else if (way == 1) {
      QTest::keyClick(window.data(), Qt::Key_Escape);
    } else if (way == 2) {
      QTest::keyClick(List(*window), Qt::Key_Return);
    } else {
      window->close();
    }
    QCOMPARE(closed.count(), 1);
    QCOMPARE(settings_.mv_xpos, 750);
    QCOMPARE(settings_.mv_ypos, 900);
    QCOMPARE(settings_.mv_ysize, 3000);
    QTRY_VERIFY(window.isNull());
  }

  void DeactivationStoresTheGeometry() {
    MaxViewWindow window(table_, settings_, dialogs_);
    window.show();
    window.move(30, 45);
    QEvent deactivate(QEvent::ActivationChange);
    QApplication::sendEvent(&window, &deactivate);
    QCOMPARE(settings_.mv_xpos, 450);
    QCOMPARE(settings_.mv_ypos, 675);
  }

  // "区間をCSVで保存..." writes the samples between the cursors where the save dialog says, the
  // log's own columns only (not the economy computed from the fuel items); a file that cannot be
  // written is said so.
  void SavesTheSectionBetweenTheCursors() {
    Load();
    MaxViewWindow window(table_, settings_, dialogs_);
    QPushButton* save = Button(window, "cmdSaveSection");
    QVERIFY(!save->isEnabled());
    CursorMove move;
    move.readouts = {{1, 8, 3}, {2, 3, 8}};
    window.ApplyCursorMove(move);
    QTemporaryDir dir;
    const QString path = dir.filePath("section.csv");
    const QString unwritable = dir.filePath("folder.csv");  // a folder takes no file's place
    QVERIFY(QDir(dir.path()).mkdir("folder.csv"));
    dialogs_.save_answers = {path, unwritable};
    // Six samples make no log that opens again: refused before the dialog.
    save->click();
    QCOMPARE(dialogs_.messages,
             QStringList{"区間が短すぎます。11サンプル以上の区間を選んでください。"});
    QVERIFY(dialogs_.save_offers.isEmpty());
    dialogs_.messages.clear();
    move.readouts = {{1, 11, 0}, {2, 0, 11}};
    window.ApplyCursorMove(move);
    save->click();
    QCOMPARE(dialogs_.save_offers, QStringList{"区間.csv"});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    QCOMPARE(lines.size(), 14);  // the header, samples 0 to 11, the last line's end
    QCOMPARE(lines[0], QString("Time (msec),Vehicle Speed (km/h),Engine Speed (rpm),"
                               "Fuel Injector #1 Pulse Width (ms)"));
    QCOMPARE(lines[4], QString("750,43,2030,2.3"));
    QCOMPARE(lines[12], QString("2750,51,2110,2.1"));
    QVERIFY(dialogs_.messages.isEmpty());

    save->click();
    QCOMPARE(dialogs_.messages.size(), 1);
    QVERIFY(dialogs_.messages[0].startsWith(QDir::toNativeSeparators(unwritable) +
                                            " に保存できませんでした。\r\n"));
  }

  void FollowsTheMainWindow() {
    MaxViewWindow window(table_, settings_, dialogs_);
    window.show();
    window.FollowMainWindow(Qt::WindowMinimized);
    QVERIFY(window.isMinimized());
    window.FollowMainWindow(Qt::WindowMaximized);
    QVERIFY(window.isMinimized());
    window.FollowMainWindow(Qt::WindowNoState);
    QVERIFY(!window.isMinimized());
  }
};

QTEST_MAIN(TestMaxViewWindow)
#include "tst_max_view_window.moc"
