#include <new>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/main_window.h"
#include "chart/chart_panel.h"
#include "chart/graph_view.h"
#include "chart/scale_view.h"
#include "chart/scaling.h"
#include "gui_test_support.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"

using namespace dravik;

// The main window's commands: the item colour menu, the trip list's copy menu and the chart
// picture's keys.
namespace {

// Three flat items over `rows` samples 250 ms apart: Alpha 60, Beta 20, Vehicle Speed 40.
QString WriteLog(const QTemporaryDir& dir, int rows = 40) {
  std::string text = "Time,Alpha,Beta,Vehicle Speed (km/h)\r\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(row * 250) + ",60,20,40\r\n";
  }
  return WriteTextFile(dir, "log.csv", text);
}

}  // namespace

class TestMainWindowCommands : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  FakeUserDialog dialogs_;
  QStringList& messages_ = dialogs_.messages;
  std::unique_ptr<MainWindow> window_;

  void NewWindow() {
    window_.reset();
    dialogs_ = FakeUserDialog();
    window_ = NewShownWindow(dialogs_);
  }
  void OpenLog(int rows = 40) { OpenThroughDialog(*window_, dialogs_, WriteLog(dir_, rows)); }
  void Open(int rows = 40) {
    NewWindow();
    OpenLog(rows);
  }
  // The time row of the numeric display at cursor 1 or 2: the sample times 250 ms.
  QString TimeAt(int cursor) const {
    return FindTopLevel<MaxViewWindow>()
        ->findChild<QTreeWidget*>("lstMaxView")
        ->topLevelItem(0)
        ->text(cursor == 1 ? 2 : 3);
  }
  QColor CaptionColour(int item) const {
    return Find<ItemPanel>(window_.get(), "fraSelectItem")
        ->Box(item)
        ->palette()
        .color(QPalette::WindowText);
  }
  // Whether `colour` appears in the middle column of the chart or anywhere in the scale strip.
  static bool TraceHas(const QImage& picture, const QColor& colour) {
    for (int y = 0; y < picture.height(); ++y) {
      if (picture.pixelColor(picture.width() / 2, y) == colour) {
        return true;
      }
    }
    return false;
  }
  static bool StripHas(const QImage& picture, const QColor& colour) {
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (picture.pixelColor(x, y) == colour) {
          return true;
        }
      }
    }
    return false;
  }

 private slots:
  void cleanup() { window_.reset(); }

  void colourMenuOffersItsEntries() {
    Open();
    const QStringList captions = PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(3)); },
        QString());
    QCOMPARE(captions,
             (QStringList{"項目3の色の変更", "-", "全てチェック", "全てのチェックを外す", "-",
                          "散布図/集計表...", "計算項目...", "-", "比較ログを開く...",
                          "比較ログを閉じる", "比較ログの位置合わせ...", "先頭で揃える"}));
    QVERIFY(messages_.isEmpty());
    PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(3)); },
        "散布図/集計表...");
    QTRY_VERIFY(Find<QTabWidget>(window_.get(), "tabAnalysis") != nullptr);
    QCOMPARE(Find<QTabWidget>(window_.get(), "tabAnalysis")->window()->windowTitle(),
             QString("Dravik - 散布図/集計表"));
  }

  // The dialog starts from the item's colour; a new colour shows in the caption, the trace and
  // the scale at once and is still there after the next start.
  void colourChangeShowsAtOnceAndIsSaved() {
    QTemporaryDir settings_dir;
    const std::string ini = settings_dir.filePath("dravik.ini").toStdString();
    NewWindow();
    window_->Form_Load(ini, {});
    OpenLog();
    Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(2)->setChecked(true);
    const QColor before = CaptionColour(2);
    const QColor chosen(12, 200, 99);
    dialogs_.colour_answers.push_back(chosen);
    PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(2)); },
        "項目2の色の変更");
    QCOMPARE(dialogs_.colour_starts, QList<QColor>{before});
    QCOMPARE(CaptionColour(2), chosen);
    QVERIFY(TraceHas(Shown(Find<GraphView>(window_.get(), "picGraph")), chosen));
    QVERIFY(StripHas(Shown(Find<ScaleView>(window_.get(), "picScale")), chosen));
    QVERIFY(!TraceHas(Shown(Find<GraphView>(window_.get(), "picGraph")), before));
    QVERIFY(window_->close());

    NewWindow();
    window_->Form_Load(ini, {});
    OpenLog();
    QCOMPARE(CaptionColour(2), chosen);
  }

  void cancellingTheColourDialogChangesNothing() {
    Open();
    Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(1)->setChecked(true);
    const QColor before = CaptionColour(1);
    const QImage picture = Shown(Find<GraphView>(window_.get(), "picGraph"));
    PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(1)); },
        "項目1の色の変更");
    QCOMPARE(CaptionColour(1), before);
    QCOMPARE(Shown(Find<GraphView>(window_.get(), "picGraph")), picture);
    QVERIFY(messages_.isEmpty());
  }

  void colourMenuErrorsShowTheErrorBox() {
    Open();
    QGuiApplication::clipboard()->clear();
    const QColor before = CaptionColour(1);
    dialogs_.colour_runs_out_of_memory = true;
    PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(1)); },
        "項目1の色の変更");
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].startsWith("エラーです。\r\n場所       : mnuColor_Click()\r\n"));
    QCOMPARE(QGuiApplication::clipboard()->text(), messages_[0]);
    QCOMPARE(CaptionColour(1), before);
  }

  // Unchecking all redraws once: with the numeric display on every graph redraw re-applies the
  // two cursors, so one redraw reports two cursor moves.
  void uncheckAllRedrawsOnce() {
    Open();
    for (int item = 1; item <= 3; ++item) {
      Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(item)->setChecked(true);
    }
    Find<QPushButton>(window_.get(), "chkMaxView")->setChecked(true);
    int cursor_moves = 0;
    connect(window_->findChild<ChartPanel*>(), &ChartPanel::CursorsMoved, this,
            [&] { ++cursor_moves; });
    PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(2)); },
        "全てのチェックを外す");
    for (int item = 1; item <= 3; ++item) {
      QVERIFY(!Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(item)->isChecked());
      QVERIFY(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(item)->isVisible());
    }
    QCOMPARE(cursor_moves, 2);
    QVERIFY(!TraceHas(Shown(Find<GraphView>(window_.get(), "picGraph")), QColor(255, 0, 255)));
    QCOMPARE(Find<ScaleView>(window_.get(), "picScale")->width(),
             7);  // the bare margin: no scale left
  }

  // "全てチェック" checks every box with one redraw; the names checked come back checked, drawn,
  // in the next log that holds them, and an unchecked one does not.
  void checkedItemsAreRememberedForTheNextLog() {
    QTemporaryDir settings_dir;
    const QString ini = settings_dir.filePath("dravik.ini");
    NewWindow();
    window_->Form_Load(ini.toStdString(), {});
    OpenLog();
    PickFromPopup(
        [this] { ReleaseRightButton(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(2)); },
        "全てチェック");
    Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(1)->setChecked(false);
    QVERIFY(window_->close());
    QFile saved(ini);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(
        saved.readAll().contains("[CheckedItems]\r\nItem1=Vehicle Speed (km/h)\r\nItem2=Beta\r\n"));

    NewWindow();
    window_->Form_Load(ini.toStdString(), {});
    OpenLog();
    Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(3)->setChecked(false);
    OpenLog(30);
    auto* items = Find<ItemPanel>(window_.get(), "fraSelectItem");
    QVERIFY(!items->IsItemChecked(1));
    QVERIFY(items->IsItemChecked(2));
    QVERIFY(!items->IsItemChecked(3));
    QVERIFY(StripHas(Shown(Find<ScaleView>(window_.get(), "picScale")), CaptionColour(2)));
  }

  void tripListMenuCopiesOnlyWithRows() {
    NewWindow();
    QWidget* list = Find<QTreeWidget>(window_.get(), "lstFuelEfficient")->viewport();
    QVERIFY(PickFromPopup([list] { ReleaseRightButton(list); }, QString()).isEmpty());

    OpenLog();
    QGuiApplication::clipboard()->clear();
    const QStringList captions =
        PickFromPopup([list] { ReleaseRightButton(list); }, "走行/燃費情報のコピー");
    QCOMPARE(captions, QStringList{"走行/燃費情報のコピー"});
    const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n");
    QCOMPARE(lines.size(),
             Find<QTreeWidget>(window_.get(), "lstFuelEfficient")->topLevelItemCount() + 1);
    QCOMPARE(lines[0],
             Find<QTreeWidget>(window_.get(), "lstFuelEfficient")->topLevelItem(0)->text(0) + ", " +
                 Find<QTreeWidget>(window_.get(), "lstFuelEfficient")->topLevelItem(0)->text(1) +
                 ", " +
                 Find<QTreeWidget>(window_.get(), "lstFuelEfficient")->topLevelItem(0)->text(2));
  }

  // A log with all three fuel items fills the five rows, which show without a scroll bar; a
  // right click for the copy menu picks no row.
  void tripListShowsItsFiveRowsAndTheMenuPicksNone() {
    NewWindow();
    std::string text =
        "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)\r\n";
    for (int row = 0; row < 40; ++row) {
      text += std::to_string(row * 250) + ",60,2000,2.5\r\n";
    }
    OpenThroughDialog(*window_, dialogs_, WriteTextFile(dir_, "fuel.csv", text));
    auto* list = Find<QTreeWidget>(window_.get(), "lstFuelEfficient");
    QCOMPARE(list->topLevelItemCount(), 5);
    QTRY_VERIFY(!list->verticalScrollBar()->isVisible());

    const QPoint on_second_row = list->visualItemRect(list->topLevelItem(1)).center();
    PickFromPopup(
        [list, on_second_row] {
          QTest::mousePress(list->viewport(), Qt::RightButton, {}, on_second_row);
          QMouseEvent release(QEvent::MouseButtonRelease, on_second_row,
                              list->viewport()->mapToGlobal(on_second_row), Qt::RightButton,
                              Qt::NoButton, Qt::NoModifier);
          QApplication::sendEvent(list->viewport(), &release);
        },
        "走行/燃費情報のコピー");
    QCOMPARE(list->currentItem(), nullptr);
    QVERIFY(list->selectedItems().isEmpty());
  }

  // Ctrl+C puts the chart as shown on the clipboard: the strip and the graph, cursor lines and
  // all; Ctrl+S saves the same picture as PNG where the save dialog says.
  void chartPictureKeys() {
    Open();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(1)->setChecked(true);
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 30, Qt::LeftButton, Qt::LeftButton);
    SendMouse(graph, QEvent::MouseButtonRelease, 30, Qt::LeftButton, Qt::NoButton);
    const QSize chart(Find<ScaleView>(window_.get(), "picScale")->width() +
                          Find<GraphView>(window_.get(), "picGraph")->width(),
                      Find<GraphView>(window_.get(), "picGraph")->height());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), chart);
    QCOMPARE(LineColumn(graph, kCursor1Colour), 30);
    const int line_x = Find<ScaleView>(window_.get(), "picScale")->width() + 30;
    QCOMPARE(copied.pixelColor(line_x, copied.height() / 2), QColor(0, 0, 255));

    const QString target = dir_.filePath("picture.png");
    dialogs_.save_answers.push_back(target);
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs_.save_offers, QStringList{dir_.filePath("log.png")});
    QImage saved(target);
    QCOMPARE(saved.size(), chart);
    QCOMPARE(saved.convertToFormat(copied.format()), copied);
  }

  void chartPictureKeysNeedALog() {
    NewWindow();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QGuiApplication::clipboard()->setText("kept");
    QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
    QVERIFY(dialogs_.save_offers.isEmpty());
  }

  // An arrow of the time scroll bar moves by its own step and a wheel step, within the range.
  void arrowClickAddsTheWheelStep() {
    Open(2001);
    Find<QComboBox>(window_.get(), "cmbMultipl")->setCurrentIndex(3);
    emit Find<QComboBox>(window_.get(), "cmbMultipl")->activated(3);
    QScrollBar* time = Find<QScrollBar>(window_.get(), "scrX");
    const int step = static_cast<int>(WheelStep(2000 / 10));  // the span at magnification 10
    QVERIFY(step > 0);
    const int start = time->value();
    time->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(time->value(), start + 1 + step);
    time->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(time->value(), start);
    time->setValue(time->maximum() - 1);
    time->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(time->value(), time->maximum());
  }

  // Left and Right step cursor 1 by one sample (Shift: cursor 2), also from a focused check box,
  // the other cursor keeping its sample when the view follows; the page and end keys move the view;
  // "+" and "-" step the magnification; a focused magnification list keeps its own keys.
  void keysStepCursorsAndMoveTheView() {
    Open(2001);
    Find<QPushButton>(window_.get(), "chkMaxView")->setChecked(true);
    auto* combo = Find<QComboBox>(window_.get(), "cmbMultipl");
    QScrollBar* time = Find<QScrollBar>(window_.get(), "scrX");
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    QTest::keyClick(window_.get(), Qt::Key_Plus);
    QCOMPARE(combo->currentIndex(), 1);
    QTest::keyClick(window_.get(), Qt::Key_Minus);
    QCOMPARE(combo->currentIndex(), 0);
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    // Chart x 10 and 20 of the span of 200 samples.
    SendMouse(graph, QEvent::MouseButtonPress, graph->width() / 20.0, Qt::LeftButton,
              Qt::LeftButton);
    SendMouse(graph, QEvent::MouseButtonPress, graph->width() / 10.0, Qt::RightButton,
              Qt::RightButton);
    const int first = 10 * time->value();
    QTest::keyClick(window_.get(), Qt::Key_Right);
    QTest::keyClick(window_.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(1), Qt::Key_Right);
    QCOMPARE(TimeAt(1), QString::number((first + 12) * 250));
    QCOMPARE(TimeAt(2), QString::number((first + 19) * 250));
    QTest::keyClick(window_.get(), Qt::Key_End);
    QCOMPARE(time->value(), time->maximum());
    QTest::keyClick(window_.get(), Qt::Key_Home);
    QCOMPARE(time->value(), 0);
    // Cursor 1 stepping back past the left edge of a scrolled view brings the view along.
    QTest::keyClick(window_.get(), Qt::Key_PageDown);
    QCOMPARE(time->value(), time->pageStep());
    SendMouse(graph, QEvent::MouseButtonPress, 0, Qt::LeftButton, Qt::LeftButton);
    SendMouse(graph, QEvent::MouseButtonRelease, 0, Qt::LeftButton, Qt::NoButton);
    const QString cursor2_time = TimeAt(2);
    QTest::keyClick(window_.get(), Qt::Key_Left);
    QCOMPARE(TimeAt(1), QString::number((10 * time->pageStep() - 1) * 250));
    QCOMPARE(time->value(), time->pageStep() - 1);
    // Cursor 2, not moved, keeps its sample; its line goes with the view.
    QCOMPARE(TimeAt(2), cursor2_time);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    QCOMPARE(combo->currentIndex(), 0);
  }
};

QTEST_MAIN(TestMainWindowCommands)
#include "tst_main_window_commands.moc"
