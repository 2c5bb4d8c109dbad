#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/help_window.h"
#include "app/main_window.h"
#include "app/options_dialog.h"
#include "chart/graph_view.h"
#include "gui_test_support.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"

using namespace dravik;

// How the main window drives the numeric display window, the options dialog, the help window
// and the wheel filters.
namespace {

// `items` data items over `rows` samples 250 ms apart, the last item a speed.
QString WriteLog(const QTemporaryDir& dir, const QString& name, int items, int rows) {
  std::string text = "Time";
  for (int item = 1; item < items; ++item) {
    text += ",Item " + std::to_string(item);
  }
  text += ",Vehicle Speed (km/h)\r\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(row * 250);
    for (int item = 1; item <= items; ++item) {
      text += "," + std::to_string(item * 10 + row % 7);
    }
    text += "\r\n";
  }
  return WriteTextFile(dir, name, text);
}

}  // namespace

class TestMainWindowWiring : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  FakeUserDialog dialogs_;

  std::unique_ptr<MainWindow> NewWindow() { return NewShownWindow(dialogs_); }
  void Open(MainWindow& window, const QString& path) { OpenThroughDialog(window, dialogs_, path); }
  static QTreeWidget* List(const MaxViewWindow* max_view) {
    return max_view->findChild<QTreeWidget*>("lstMaxView");
  }

 private slots:
  void init() { dialogs_ = FakeUserDialog(); }

  void NumericDisplayFollowsTheBoxTheLoadsAndTheCursors() {
    auto window = NewWindow();
    Open(*window, WriteLog(dir_, "a.csv", 3, 20));
    QVERIFY(Find<QPushButton>(window.get(), "chkMaxView")->isCheckable());  // a toggle button
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    QPointer<MaxViewWindow> max_view = FindTopLevel<MaxViewWindow>();
    QVERIFY(max_view && max_view->isVisible());
    QCOMPARE(List(max_view)->topLevelItemCount(), 4);
    // A tool window of the main window, so that a click on the chart never hides it; opened for
    // the first time, it is tall enough for every row.
    QCOMPARE(max_view->parentWidget(), window.get());
    QCOMPARE(max_view->windowType(), Qt::Tool);
    QVERIFY(!List(max_view)->verticalScrollBar()->isVisible());

    // Sample 5 of a span of 19.
    GraphView* graph = Find<GraphView>(window.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 5.0 * graph->width() / 19, Qt::LeftButton,
              Qt::LeftButton);
    QCOMPARE(List(max_view)->topLevelItem(0)->text(2), QString("1250"));

    Open(*window, WriteLog(dir_, "b.csv", 5, 20));
    QCOMPARE(List(max_view)->topLevelItemCount(), 6);
    Open(*window, dir_.filePath("missing.csv"));
    QCOMPARE(List(max_view)->topLevelItemCount(), 0);
    QVERIFY(max_view->findChild<QPushButton*>("cmdCopy")->isEnabled());

    max_view->findChild<QPushButton*>("cmdClose")->click();
    QVERIFY(!Find<QPushButton>(window.get(), "chkMaxView")->isChecked());
    QTRY_VERIFY(max_view.isNull());

    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    max_view = FindTopLevel<MaxViewWindow>();
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(false);
    QTRY_VERIFY(max_view.isNull());
  }

  void NumericDisplayFollowsMinimising() {
    auto window = NewWindow();
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    window->showMinimized();
    QVERIFY(FindTopLevel<MaxViewWindow>()->isMinimized());
    window->showNormal();
    QVERIFY(!FindTopLevel<MaxViewWindow>()->isMinimized());
  }

  void ExitClosesTheOtherWindows() {
    auto window = NewWindow();
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    QPointer<MaxViewWindow> max_view = FindTopLevel<MaxViewWindow>();
    Find<QPushButton>(window.get(), "cmdHelp")->click();
    QVERIFY(FindTopLevel<HelpWindow>()->isVisible());
    QCOMPARE(FindTopLevel<HelpWindow>()->windowTitle(), QString("Dravik"));
    window->close();
    QVERIFY(!FindTopLevel<HelpWindow>()->isVisible());
    QTRY_VERIFY(max_view.isNull());
  }

  // A change of the time unit alone redraws and rewrites the numeric display's time row; the
  // dialog's help button opens the help while the dialog is open.
  void OptionsDialogAppliesItsResult() {
    auto window = NewWindow();
    Open(*window, WriteLog(dir_, "a.csv", 3, 20));
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    bool help_shown_during_dialog = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->findChild<QPushButton*>("cmdHelp")->click();
      help_shown_during_dialog =
          FindTopLevel<HelpWindow>() != nullptr && FindTopLevel<HelpWindow>()->isVisible();
      dialog->findChild<QCheckBox*>("chkTimeUnitSec")->setChecked(true);
      dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>(window.get(), "cmdOption")->click();
    QVERIFY(help_shown_during_dialog);
    QCOMPARE(List(FindTopLevel<MaxViewWindow>())->topLevelItem(0)->text(0), QString("Time (秒)"));
  }

  // The log is rewritten with more items behind the window's back: only a reload shows them.
  void OptionsReloadTheLogOnlyWhenTheFiguresOrScalesDepend_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("flow");
    QTest::addColumn<bool>("reloads");
    QTest::newRow("time unit alone") << "chkTimeUnitSec"
                                     << "430.72" << false;
    QTest::newRow("flow") << ""
                          << "500" << true;
    QTest::newRow("section switch") << "chkSectionTime"
                                    << "430.72" << true;
    QTest::newRow("scale rounding") << "chkGraphScaleMode"
                                    << "430.72" << true;
  }

  void OptionsReloadTheLogOnlyWhenTheFiguresOrScalesDepend() {
    QFETCH(QString, box);
    QFETCH(QString, flow);
    QFETCH(bool, reloads);
    auto window = NewWindow();
    Open(*window, WriteLog(dir_, "options.csv", 3, 20));
    WriteLog(dir_, "options.csv", 5, 20);
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      if (!box.isEmpty()) {
        dialog->findChild<QCheckBox*>(box)->setChecked(true);
      }
      dialog->findChild<QLineEdit*>("txtInjectorFlowScaling")->setText(flow);
      dialog->findChild<QPushButton*>("cmdOK")->click();
    });
    Find<QPushButton>(window.get(), "cmdOption")->click();
    QCOMPARE(Find<ItemPanel>(window.get(), "fraSelectItem")->BoxCount(), reloads ? 5 : 3);
  }

  void WheelScrollsTheChartAndTheItemPanel() {
    auto window = NewWindow();
    Open(*window, WriteLog(dir_, "long.csv", 40, 2001));
    QVERIFY(dialogs_.messages.isEmpty());
    Find<QComboBox>(window.get(), "cmbMultipl")->setCurrentIndex(3);  // 10: a span of 200 samples
    emit Find<QComboBox>(window.get(), "cmbMultipl")->activated(3);
    QScrollBar* time = Find<QScrollBar>(window.get(), "scrX");
    const int before = time->value();
    TurnWheel(Find<GraphView>(window.get(), "picGraph"), -120);
    QCOMPARE(time->value(), before + 4);
    TurnWheel(time, 120);
    QCOMPARE(time->value(), before);

    QScrollBar* items = Find<ItemPanel>(window.get(), "fraSelectItem")->findChild<QScrollBar*>();
    QVERIFY(items->maximum() > 120);
    TurnWheel(Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1), -120);
    QCOMPARE(items->value(), 120);
  }
};

QTEST_MAIN(TestMainWindowWiring)
#include "tst_main_window_wiring.moc"
