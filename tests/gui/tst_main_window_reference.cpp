#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

#include "app/main_window.h"
#include "app/reference_offset_dialog.h"
#include "chart/graph_view.h"
#include "gui_test_support.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"

using namespace dravik;

// The reference log as the window offers it: opening and closing it, its marks, columns and
// title, Ctrl + left drag, the typed offset, and the main log left alone by every failure.
namespace {

// Samples 100 ms apart of "Boost" and "Vehicle Speed (km/h)" (and "Knock" with `knock`);
// `names` replaces the header.
QString WriteLog(const QTemporaryDir& dir, const QString& name, int rows, int phase,
                 const std::string& names = "Time,Boost,Vehicle Speed (km/h)") {
  std::string text = names + "\r\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(row * 100) + "," + std::to_string((row + phase) % 9) + "," +
            std::to_string(40 + (row * 3 + phase) % 11) + "\r\n";
  }
  return WriteTextFile(dir, name, text);
}

void SendMouseWith(QWidget* target, QEvent::Type type, double x_px, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers) {
  const QPointF local(x_px, target->height() / 2.0);
  QMouseEvent event(type, local, target->mapToGlobal(local),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, modifiers);
  QApplication::sendEvent(target, &event);
}

// Drops `path` on `target` with Shift held, as a file manager does.
void ShiftDrop(QWidget* target, const QString& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  const QPoint at(2, 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(target, &drop);
}

}  // namespace

class TestMainWindowReference : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  FakeUserDialog dialogs_;

  void Pick(MainWindow& window, const QString& entry) {
    PickFromPopup([&] { ReleaseRightButton(Find<ItemPanel>(&window, "fraSelectItem")->Box(1)); },
                  entry);
  }
  void OpenReference(MainWindow& window, const QString& path) {
    dialogs_.open_answers.push_back(path);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
  }
  static QImage Chart(MainWindow& window) {
    return Find<GraphView>(&window, "picGraph")->grab().toImage();
  }
  static QString MaxViewCopy(MaxViewWindow* max_view) {
    max_view->findChild<QPushButton*>("cmdCopy")->click();
    return QGuiApplication::clipboard()->text();
  }

 private slots:
  void init() { dialogs_ = FakeUserDialog(); }

  void OpensDrawsAndClosesTheReference() {
    auto window = NewShownWindow(dialogs_);
    OpenThroughDialog(*window, dialogs_, WriteLog(dir_, "main.csv", 40, 0));
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    MaxViewWindow* max_view = FindTopLevel<MaxViewWindow>();
    const QString title = window->windowTitle();
    const QImage alone = Chart(*window);
    ItemPanel* items = Find<ItemPanel>(window.get(), "fraSelectItem");
    items->Box(1)->setChecked(true);
    items->Box(2)->setChecked(true);
    const QImage checked_alone = Chart(*window);
    const QString copy_alone = MaxViewCopy(max_view);

    OpenReference(*window, WriteLog(dir_, "ref.csv", 50, 4, "Time,boost,Knock"));
    QVERIFY(dialogs_.messages.isEmpty());
    QCOMPARE(window->windowTitle(), title + " ⇔ ref.csv");
    QVERIFY(items->HasReferenceMark(1));
    QVERIFY(!items->HasReferenceMark(2));
    QCOMPARE(items->Box(1)->text(), QString("Boost"));
    QVERIFY(Chart(*window) != checked_alone);
    auto* trips = Find<QTreeWidget>(window.get(), "lstFuelEfficient");
    QCOMPARE(trips->headerItem()->text(3), QString("比較"));
    QCOMPARE(trips->topLevelItem(0)->text(3), QString("5"));  // 4.9 s of the reference
    const QStringList lines = MaxViewCopy(max_view).split("\r\n");
    QVERIFY(
        lines[0].endsWith(", 最大値, 比較 最小値, 比較 現在値1, 比較 現在値2, 比較 変化量, "
                          "比較 最大値"));
    // Both cursors on sample 0: the reference's first sample; its extremes within the main
    // log's 3.9 s.
    QVERIFY2(lines[1].endsWith(", 0, 0, 0, 0, 3900"), qPrintable(lines[1]));
    QVERIFY2(lines[2].endsWith(", 0, 4, 4, 0, 8"), qPrintable(lines[2]));
    QVERIFY(lines[3].endsWith(", , , , , "));

    // Ctrl + left drag moves the reference by the time crossed and the readouts follow.
    GraphView* graph = Find<GraphView>(window.get(), "picGraph");
    const double column = graph->width() / 39.0;
    SendMouseWith(graph, QEvent::MouseButtonPress, 10 * column, Qt::LeftButton,
                  Qt::ControlModifier);
    SendMouseWith(graph, QEvent::MouseMove, 15 * column, Qt::LeftButton, Qt::ControlModifier);
    SendMouseWith(graph, QEvent::MouseButtonRelease, 15 * column, Qt::NoButton,
                  Qt::ControlModifier);
    QCOMPARE(window->windowTitle(), title + " ⇔ ref.csv  [ずれ +500 ms]");

    // A typed offset: a text that is no number is refused in the dialog, which stays open.
    // The dialog opens from the menu's entry, once the menu is gone: looked for until it is up.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* shown = qobject_cast<ReferenceOffsetDialog*>(QApplication::activeModalWidget());
      if (shown == nullptr) {
        return;
      }
      poll.stop();
      [](ReferenceOffsetDialog& dialog) {
        dialog.findChild<QLineEdit*>("txtReferenceOffset")->setText("1.5 s");
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QLabel*>("lblReferenceOffsetProblem")->text(),
                 QString("数値を入力してください。"));
      }(*shown);
      shown->findChild<QLineEdit*>("txtReferenceOffset")->setText("-9000");
      shown->accept();
    });
    poll.start(10);
    Pick(*window, "比較ログの位置合わせ...");
    QCOMPARE(window->windowTitle(),
             title + " ⇔ ref.csv  [ずれ -9000 ms]  [比較ログは時間が重なりません]");
    Pick(*window, "先頭で揃える");
    QCOMPARE(window->windowTitle(), title + " ⇔ ref.csv");

    Pick(*window, "比較ログを閉じる");
    QCOMPARE(window->windowTitle(), title);
    QVERIFY(!items->HasReferenceMark(1));
    QCOMPARE(trips->columnCount(), 3);
    QCOMPARE(Chart(*window), checked_alone);
    items->Box(1)->setChecked(false);
    items->Box(2)->setChecked(false);
    QCOMPARE(Chart(*window), alone);
    QCOMPARE(MaxViewCopy(max_view), copy_alone);
  }

  void FailuresLeaveBothLogsAsTheyWere() {
    auto window = NewShownWindow(dialogs_);
    OpenThroughDialog(*window, dialogs_, WriteLog(dir_, "main.csv", 40, 0));
    ShiftDrop(Find<GraphView>(window.get(), "picGraph"), WriteLog(dir_, "ref.csv", 30, 2));
    const QString title = window->windowTitle();
    QVERIFY(title.endsWith(" ⇔ ref.csv"));

    OpenReference(*window, WriteLog(dir_, "other.csv", 30, 2, "Time,Knock,Lambda"));
    QCOMPARE(dialogs_.messages, QStringList{"比較ログに共通の項目がありません。"});
    OpenReference(*window, dir_.filePath("missing.csv"));
    QCOMPARE(dialogs_.messages.size(), 2);
    QCOMPARE(window->windowTitle(), title);
    QVERIFY(Find<ItemPanel>(window.get(), "fraSelectItem")->HasReferenceMark(1));

    // Another main log keeps the reference while they share an item, and closes it when not.
    OpenThroughDialog(*window, dialogs_, WriteLog(dir_, "second.csv", 20, 1));
    QVERIFY(window->windowTitle().endsWith("second.csv ⇔ ref.csv"));
    OpenThroughDialog(*window, dialogs_, WriteLog(dir_, "third.csv", 20, 1, "Time,Knock,Lambda"));
    QCOMPARE(dialogs_.messages.last(), QString("比較ログに共通の項目がありません。"));
    QVERIFY(window->windowTitle().endsWith("third.csv"));
  }

  void ControlDragMovesCursorOneWithoutAReference() {
    auto window = NewShownWindow(dialogs_);
    OpenThroughDialog(*window, dialogs_, WriteLog(dir_, "main.csv", 40, 0));
    Find<QPushButton>(window.get(), "chkMaxView")->setChecked(true);
    GraphView* graph = Find<GraphView>(window.get(), "picGraph");
    SendMouseWith(graph, QEvent::MouseButtonPress, 5.0 * graph->width() / 39, Qt::LeftButton,
                  Qt::ControlModifier);
    auto* list = FindTopLevel<MaxViewWindow>()->findChild<QTreeWidget*>("lstMaxView");
    QCOMPARE(list->topLevelItem(0)->text(2), QString("500"));
  }
};

QTEST_MAIN(TestMainWindowReference)
#include "tst_main_window_reference.moc"
