#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/main_window.h"
#include "chart/graph_view.h"
#include "gui_test_support.h"
#include "log/load_progress_dialog.h"
#include "panel/item_panel.h"

using namespace dravik;

using std::chrono::milliseconds;

class TestLoadProgressDialog : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString WriteLog(int rows) {
    std::string text = "Time,Alpha,Beta\r\n";
    for (int row = 0; row < rows; ++row) {
      text += std::to_string(row * 250) + "," + std::to_string(row % 50) + ",7\r\n";
    }
    return WriteTextFile(dir_, "log.csv", text);
  }

 private slots:
  // Hidden until the delay has passed; then modal, without a cancel button, and neither Esc nor
  // closing dismisses it.
  void appearsAfterTheDelayAndCannotBeDismissed() {
    LoadProgressDialog dialog(nullptr, milliseconds(100));
    dialog.Report(0.0);
    dialog.Report(0.2);
    QVERIFY(dialog.isHidden());
    QTest::qWait(120);
    dialog.Report(0.5);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
    QCOMPARE(dialog.value(), dialog.maximum() / 2);
    QVERIFY(dialog.findChildren<QPushButton*>().isEmpty());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.close());
    QVERIFY(dialog.isVisible());
  }

  // A load shows the dialog while it runs; the window stays usable afterwards, and a resize
  // during the load only lays the window out: the load's own redraw draws at the new size.
  void mainWindowShowsItDuringALoad() {
    FakeUserDialog dialogs;
    MainWindow window(dialogs);
    window.resize(800, 560);
    window.show();
    dialogs.progress_delay = milliseconds(0);
    bool shown_during_load = false;
    QTimer during_load;
    during_load.setSingleShot(true);
    connect(&during_load, &QTimer::timeout, [&] {
      shown_during_load =
          qobject_cast<LoadProgressDialog*>(QApplication::activeModalWidget()) != nullptr;
      window.resize(900, 620);
    });
    during_load.start(0);
    OpenThroughDialog(window, dialogs, WriteLog(200));
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(shown_during_load);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(Find<ItemPanel>(&window, "fraSelectItem")->BoxCount(), 2);
    // Drawn at the new size: the grid reaches the last tenth of the wider surface.
    const QImage shown = Shown(Find<GraphView>(&window, "picGraph"));
    QVERIFY(!IsBlank(shown.copy(shown.width() * 9 / 10, 0, shown.width() / 10, shown.height())));
    QCOMPARE(window.width(), 900);
  }

  void shortLoadsShowNothing() {
    FakeUserDialog dialogs;
    MainWindow window(dialogs);
    window.resize(800, 560);
    window.show();
    int dialogs_shown = 0;
    QTimer during_load;
    during_load.setSingleShot(true);
    connect(&during_load, &QTimer::timeout,
            [&] { dialogs_shown += QApplication::activeModalWidget() != nullptr; });
    during_load.start(0);
    OpenThroughDialog(window, dialogs, WriteLog(200));
    QCOMPARE(dialogs_shown, 0);
    QCOMPARE(Find<ItemPanel>(&window, "fraSelectItem")->BoxCount(), 2);
  }
};

QTEST_MAIN(TestLoadProgressDialog)
#include "tst_load_progress_dialog.moc"
