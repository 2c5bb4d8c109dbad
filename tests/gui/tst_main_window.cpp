#include <cstdint>
#include <functional>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/open_log.h"
#include "app/options_dialog.h"
#include "chart/chart_render.h"
#include "chart/graph_view.h"
#include "chart/plot_y_store.h"
#include "chart/scale_view.h"
#include "chart/scaling.h"
#include "gui_test_support.h"
#include "log/load_error.h"
#include "panel/item_panel.h"
#include "panel/trip_list_panel.h"
#include "support/address_space_limit.h"

using namespace dravik;

namespace {

// A log of `rows` samples 250 ms apart; `value(item, row)` gives the data fields.
std::string MakeLog(const std::string& header, int items, int rows,
                    const std::function<double(int, int)>& value) {
  std::string text = header + "\r\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(row * 250);
    for (int item = 1; item <= items; ++item) {
      text += "," + std::to_string(value(item, row));
    }
    text += "\r\n";
  }
  return text;
}

std::string SimpleLog(int rows) {
  return MakeLog("Time,Alpha,Beta,Vehicle Speed (km/h)", 3, rows,
                 [](int item, int row) { return item * 10 + row % 7; });
}

QString ReadFile(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}

QString TitleFor(const QString& file_name) {
  return QCoreApplication::applicationName() + " - " + file_name;
}

// Drops `data` as a file manager does, offering a copy or a move; gives the action answered.
Qt::DropAction Drop(QWidget* target, QMimeData* data) {
  const QPoint at(2, 2);
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(at, offered, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(at, offered, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.dropAction();
}

// What the options dialog of `window` shows in its field `name`; the dialog is cancelled.
QString OptionsField(MainWindow& window, const char* name) {
  QString text;
  WithModalDialog<OptionsDialog>(
      [&] { Find<QPushButton>(&window, "cmdOption")->click(); },
      [&](OptionsDialog& dialog) {
        auto* field = dialog.findChild<QLineEdit*>(QLatin1String(name));
        auto* box = dialog.findChild<QCheckBox*>(QLatin1String(name));
        text = field != nullptr ? field->text() : box->isVisibleTo(&dialog) ? "shown" : "hidden";
        dialog.reject();
      });
  return text;
}

// The file an open dialog of `window` would start at (the current log path); the dialog is
// cancelled.
QString OpenDialogStart(MainWindow& window, FakeUserDialog& dialogs) {
  Find<QPushButton>(&window, "cmdOpenFile")->click();
  return dialogs.open_starts.isEmpty() ? QString("not asked") : dialogs.open_starts.takeLast();
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  FakeUserDialog dialogs_;
  QStringList& messages_ = dialogs_.messages;

  // A shown window whose questions are answered by dialogs_.
  std::unique_ptr<MainWindow> NewWindow() { return NewShownWindow(dialogs_); }
  void Open(MainWindow& window, const QString& path) { OpenThroughDialog(window, dialogs_, path); }

 private slots:
  void init() { dialogs_ = FakeUserDialog(); }

  void loadsAGoodLog() {
    auto window = NewWindow();
    Open(*window, WriteTextFile(dir_, "good.csv", SimpleLog(20)));
    QVERIFY(messages_.isEmpty());
    QCOMPARE(window->windowTitle(), TitleFor("good.csv"));
    ItemPanel* items = Find<ItemPanel>(window.get(), "fraSelectItem");
    QCOMPARE(items->BoxCount(), 3);
    QCOMPARE(items->Box(1)->text(), QString("Alpha"));
    QCOMPARE(items->Box(3)->text(), QString("Vehicle Speed (km/h)"));
    for (int i = 1; i <= 3; ++i) {
      QVERIFY(!items->Box(i)->isHidden());
      QVERIFY(!items->Box(i)->isChecked());
    }
    QVERIFY(Find<QTreeWidget>(window.get(), "lstFuelEfficient")->topLevelItemCount() >= 1);
    QCOMPARE(Find<QTreeWidget>(window.get(), "lstFuelEfficient")->topLevelItemCount(),
             3);  // speed item, no economy
    QCOMPARE(Find<QTreeWidget>(window.get(), "lstFuelEfficient")->topLevelItem(0)->text(0),
             QString("走行時間"));
    QCOMPARE(
        Find<QTreeWidget>(window.get(), "lstFuelEfficient")->topLevelItem(0)->textAlignment(1) &
            Qt::AlignRight,
        Qt::AlignRight);
    PickFromPopup(
        [&] {
          ReleaseRightButton(Find<QTreeWidget>(window.get(), "lstFuelEfficient")->viewport());
        },
        "走行/燃費情報のコピー");
    const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n");
    QCOMPARE(lines.size(), 4);  // three rows, each ended by CR LF
    QVERIFY(lines[0].startsWith("走行時間, "));
    QVERIFY(LineColumn(Find<GraphView>(window.get(), "picGraph"), kCursor2Colour) >= 0);
    QVERIFY(!IsBlank(Shown(Find<GraphView>(window.get(), "picGraph"))));
    QVERIFY(!Find<QComboBox>(window.get(), "cmbMultipl")->isEnabled());
  }

  // The filter shows the boxes whose names hold its text, one under the other; a hidden box keeps
  // its check and its trace, and unchecking every box reaches the hidden ones too.
  void filterShowsMatchingBoxesOnly() {
    auto window = NewWindow();
    Open(*window, WriteTextFile(dir_, "filter.csv", SimpleLog(20)));
    ItemPanel* items = Find<ItemPanel>(window.get(), "fraSelectItem");
    items->Box(1)->setChecked(true);
    QTest::keyClicks(Find<QLineEdit>(window.get(), "txtItemFilter"), "bEtA");
    QVERIFY(items->Box(1)->isHidden());
    QVERIFY(!items->Box(2)->isHidden());
    QVERIFY(items->Box(3)->isHidden());
    QCOMPARE(items->Box(2)->y(), 0);
    QVERIFY(items->IsItemChecked(1));
    items->UncheckAll();
    QVERIFY(!items->IsItemChecked(1));
    QVERIFY(items->Box(1)->isHidden());
    Find<QLineEdit>(window.get(), "txtItemFilter")->clear();
    QVERIFY(!items->Box(1)->isHidden());
    QVERIFY(items->Box(3)->y() > items->Box(2)->y());
  }

  void failedLoadLeavesTheWindowEmpty() {
    auto window = NewWindow();
    Open(*window, WriteTextFile(dir_, "good.csv", SimpleLog(2000)));
    Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->setChecked(true);
    Find<QComboBox>(window.get(), "cmbMultipl")->setCurrentIndex(3);
    emit Find<QComboBox>(window.get(), "cmbMultipl")->activated(3);
    QVERIFY(Find<QScrollBar>(window.get(), "scrX")->isEnabled());

    Open(*window, WriteTextFile(dir_, "short.csv", SimpleLog(10)));
    QCOMPARE(
        messages_,
        QStringList{QString::fromStdString(LoadFailureMessage({LoadFailure::kTooFewSamples}))});
    QCOMPARE(window->windowTitle(), TitleFor("good.csv"));
    QCOMPARE(Find<ItemPanel>(window.get(), "fraSelectItem")->BoxCount(), 1);
    QVERIFY(Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->isHidden());
    QCOMPARE(Find<QTreeWidget>(window.get(), "lstFuelEfficient")->topLevelItemCount(), 0);
    QVERIFY(IsBlank(Shown(Find<GraphView>(window.get(), "picGraph"))));
    QVERIFY(IsBlank(Shown(Find<ScaleView>(window.get(), "picScale"))));
    QCOMPARE(LineColumn(Find<GraphView>(window.get(), "picGraph"), kCursor2Colour), -1);
    QCOMPARE(Find<QComboBox>(window.get(), "cmbMultipl")->currentIndex(), 0);
    QVERIFY(!Find<QComboBox>(window.get(), "cmbMultipl")->isEnabled());
    QVERIFY(!Find<QScrollBar>(window.get(), "scrX")->isEnabled());
    // A failed load keeps the path it was asked for, for the next open dialog.
    QCOMPARE(OpenDialogStart(*window, dialogs_), dir_.filePath("short.csv"));
  }

  void missingFileShowsTheErrorBoxAndCopiesIt() {
    auto window = NewWindow();
    QGuiApplication::clipboard()->clear();
    Open(*window, dir_.filePath("missing.csv"));
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains("場所       : OpenFile()"));
    QCOMPARE(QGuiApplication::clipboard()->text(), messages_[0]);
    QCOMPARE(Find<ItemPanel>(window.get(), "fraSelectItem")->BoxCount(), 1);
  }

  void magnificationOfferedAboveAThousandSamples_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("11 samples") << 11 << false;
    QTest::newRow("1001 samples") << 1001 << false;
    QTest::newRow("1002 samples") << 1002 << true;
  }
  void magnificationOfferedAboveAThousandSamples() {
    QFETCH(int, rows);
    QFETCH(bool, enabled);
    auto window = NewWindow();
    Open(*window, WriteTextFile(dir_, "rows.csv", SimpleLog(rows)));
    QCOMPARE(Find<QComboBox>(window.get(), "cmbMultipl")->isEnabled(), enabled);
    QCOMPARE(Find<QComboBox>(window.get(), "cmbMultipl")->currentIndex(), 0);
  }

  void zoomKeepsTheCentreAndScrolls() {
    auto window = NewWindow();
    Open(*window, WriteTextFile(dir_, "long.csv", SimpleLog(10001)));
    QComboBox* combo = Find<QComboBox>(window.get(), "cmbMultipl");
    combo->setCurrentIndex(3);  // x10
    emit combo->activated(3);
    QCOMPARE(Find<QScrollBar>(window.get(), "scrX")->maximum(), 900);
    QCOMPARE(Find<QScrollBar>(window.get(), "scrX")->pageStep(), 100);
    QCOMPARE(Find<QScrollBar>(window.get(), "scrX")->value(), 450);
    QVERIFY(Find<QScrollBar>(window.get(), "scrX")->isEnabled());

    Find<QScrollBar>(window.get(), "scrX")->setValue(900);

    combo->setCurrentIndex(0);
    emit combo->activated(0);
    QCOMPARE(Find<QScrollBar>(window.get(), "scrX")->value(), 0);
    QVERIFY(!Find<QScrollBar>(window.get(), "scrX")->isEnabled());
  }

  void firstBoxKeepsItsStateAcrossLoads() {
    auto window = NewWindow();
    Open(*window, WriteTextFile(dir_, "good.csv", SimpleLog(20)));
    Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->setChecked(true);
    Find<ItemPanel>(window.get(), "fraSelectItem")->Box(2)->setChecked(true);
    // A log whose names were never checked: no remembered name checks a box.
    Open(*window, WriteTextFile(dir_, "other.csv",
                                MakeLog("Time,Gamma,Delta", 2, 20, [](int, int) { return 1.0; })));
    QVERIFY(Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->isChecked());
    QVERIFY(!Find<ItemPanel>(window.get(), "fraSelectItem")->Box(2)->isChecked());
  }

  void checkedItemsAreDrawnAtTheirRows() {
    auto window = NewWindow();
    // Alpha is 60 throughout (range 0..70), Beta 0 throughout (range 0..1, the bottom line).
    Open(*window,
         WriteTextFile(dir_, "flat.csv", MakeLog("Time,Alpha,Beta", 2, 50, [](int item, int) {
                         return item == 1 ? 60.0 : 0.0;
                       })));
    Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->setChecked(true);
    Find<ItemPanel>(window.get(), "fraSelectItem")->Box(2)->setChecked(true);
    const QImage picture = Shown(Find<GraphView>(window.get(), "picGraph"));
    const int height = picture.height();
    const int alpha_row = static_cast<int>(ChartYToRow(1829, height));  // 10400 - 60 x 10000 / 70
    const int beta_row = static_cast<int>(ChartYToRow(kPlotBottom, height));
    const int x = picture.width() / 2;
    QCOMPARE(picture.pixelColor(x, alpha_row), QColor(255, 0, 255));
    QCOMPARE(picture.pixelColor(x, beta_row), QColor(0, 0, 255));
    QCOMPARE(picture.pixelColor(x, alpha_row - 3), QColor(Qt::white));
    // Two visible scales: the strip is 700 twips wide and the chart starts beside it.
    QCOMPARE(Find<ScaleView>(window.get(), "picScale")->width(), 47);
    QCOMPARE(Find<GraphView>(window.get(), "picGraph")->x(), 47);
  }

  // Chart positions are made when an item is first drawn. The first box stays checked across a
  // load, so the next log's first paint must come from that log's own positions: a wide column of
  // the first log against a flat line in the second.
  void aReloadDrawsTheNewLogsTraces() {
    auto window = NewWindow();
    Open(*window,
         WriteTextFile(dir_, "wide.csv", MakeLog("Time,Alpha,Beta", 2, 200000, [](int, int row) {
                         return row % 100;
                       })));
    Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->setChecked(true);
    Open(*window,
         WriteTextFile(dir_, "flat.csv", MakeLog("Time,Alpha,Beta", 2, 200000, [](int, int row) {
                         return row < 10 ? 0 : 50;
                       })));
    QVERIFY(Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1)->isChecked());
    // As the chart draws that log from nothing: magnification 1, the first box alone.
    LogTable table;
    const Settings settings;
    OpenLog(dir_.filePath("flat.csv").toStdString(), settings, table);
    PlotYStore fresh;
    fresh.Keep(table, std::vector<int>{1}, 0);
    ChartView view;
    ChangeMagnification(view, 1, table.last_sample);
    QImage expected = NewPicture(Find<GraphView>(window.get(), "picGraph")->size());
    RenderGraphImage(expected, table, fresh, view, std::vector<int>{1}, settings);
    // Column 0 holds the cursor lines.
    const QImage shown = Shown(Find<GraphView>(window.get(), "picGraph"));
    const QRect traces(1, 0, shown.width() - 1, shown.height());
    QCOMPARE(shown.copy(traces).convertToFormat(expected.format()), expected.copy(traces));
    // Alpha is 50 from sample 10 on, a flat line: in the middle of the chart nothing is drawn
    // below it (9900 lies between two grid lines).
    const QImage picture = Shown(Find<GraphView>(window.get(), "picGraph"));
    const int x = picture.width() * 11 / 20;
    const int line_row = static_cast<int>(ChartYToRow(fresh.PlotY(1)[10000], picture.height()));
    QCOMPARE(picture.pixelColor(x, line_row), QColor(255, 0, 255));
    QCOMPARE(picture.pixelColor(x, static_cast<int>(ChartYToRow(9900, picture.height()))),
             QColor(Qt::white));
  }

  // With the address space held to a little more than the process uses, a log whose values do not
  // fit ends in error 7; the settings stay, and once memory is there again the window opens and
  // draws as before.
  void runningOutOfMemoryEndsInError7AndTheWindowGoesOn() {
    if (kUnderAddressSanitizer) {
      QSKIP("the address sanitizer needs far more address space than any limit here allows");
    }
    auto window = NewWindow();
    const QString big = WriteTextFile(
        dir_, "big.csv",
        MakeLog("Time,Alpha,Beta", 2, 3'000'000, [](int, int row) { return row % 90; }));
    {
      const AddressSpaceLimit limit(48 << 20);  // less than the file and its values
      Open(*window, big);
    }
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains("場所       : OpenFile()"));
    QVERIFY(messages_[0].contains("メモリが不足しています。"));
    QCOMPARE(Find<ItemPanel>(window.get(), "fraSelectItem")->BoxCount(), 1);

    Open(*window, big);
    QCOMPARE(Find<ItemPanel>(window.get(), "fraSelectItem")->BoxCount(), 2);
    QCheckBox* alpha = Find<ItemPanel>(window.get(), "fraSelectItem")->Box(1);
    alpha->setChecked(true);
    const QImage picture = Shown(Find<GraphView>(window.get(), "picGraph"));
    int magenta = 0;
    for (int y = 0; y < picture.height(); ++y) {
      magenta += picture.pixelColor(picture.width() / 2, y) == QColor(255, 0, 255);
    }
    QVERIFY(magenta > 0);
    QCOMPARE(messages_.size(), 1);
  }

  void dropLoadsTheFirstOfSeveralFiles() {
    auto window = NewWindow();
    const QString first = WriteTextFile(dir_, "first.csv", SimpleLog(20));
    const QString second = WriteTextFile(dir_, "second.csv", SimpleLog(30));
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second),
                   QUrl::fromLocalFile(dir_.filePath("third.csv"))});
    QCOMPARE(Drop(Find<QTreeWidget>(window.get(), "lstFuelEfficient")->viewport(), data),
             Qt::CopyAction);
    QCOMPARE(window->windowTitle(), TitleFor("first.csv"));
    QCOMPARE(OpenDialogStart(*window, dialogs_), first);

    auto* on_box = new QMimeData;
    on_box->setUrls({QUrl::fromLocalFile(second)});
    Drop(Find<ItemPanel>(window.get(), "fraSelectItem")->Box(2), on_box);
    QCOMPARE(window->windowTitle(), TitleFor("second.csv"));

    auto* text_only = new QMimeData;
    text_only->setText("not a file");
    Drop(Find<GraphView>(window.get(), "picGraph"), text_only);
    QCOMPARE(window->windowTitle(), TitleFor("second.csv"));
    QVERIFY(messages_.isEmpty());
    delete data;
    delete on_box;
    delete text_only;
  }

  // Settings that cannot be read, or are kept read-only, are said so once, and nothing is written
  // over them at exit.
  void settingsThatCannotBeWrittenAreNeverOverwritten_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("cylinder");
    QTest::newRow("folder") << "folder"
                            << "設定ファイルを読み込めませんでした。" << 4;
    QTest::newRow("beyond the size limit") << "oversized"
                                           << "設定ファイルを読み込めませんでした。" << 4;
    QTest::newRow("read-only") << "read-only"
                               << "設定ファイルが読み取り専用のため、変更は保存されません。\r\n"
                               << 6;
  }
  void settingsThatCannotBeWrittenAreNeverOverwritten() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(int, cylinder);
    QTemporaryDir settings_dir;
    const QString ini = settings_dir.filePath("dravik.ini");
    if (kind == "folder") {
      QVERIFY(QDir().mkdir(ini));
    } else {
      WriteTextFile(settings_dir, "dravik.ini",
                    "[Setting]\r\nCylinder=6\r\n" +
                        std::string(kind == "oversized" ? dravik::kMaxIniFileBytes : 0, ';'));
    }
    if (kind == "read-only") {
      QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    const auto contents = [&ini] { return QFileInfo(ini).isFile() ? ReadFile(ini) : "folder"; };
    const QString before = contents();
    messages_.clear();
    {
      auto window = NewWindow();
      window->Form_Load(ini.toStdString(), {});
      QCOMPARE(messages_.size(), 1);
      QVERIFY(messages_.front().startsWith(message));
      QVERIFY(messages_.front().endsWith(ini));
      QCOMPARE(OptionsField(*window, "txtCylinder"), QString::number(cylinder));
      QVERIFY(window->close());
    }
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(contents(), before);
    messages_.clear();
  }

  void startUpLoadsTheCommandLineFileAndExitSavesTheSettings() {
    QTemporaryDir settings_dir;
    const QString ini = settings_dir.filePath("dravik.ini");
    const QString log = WriteTextFile(dir_, "start.csv", SimpleLog(20));
    {
      auto window = NewWindow();
      window->Form_Load(ini.toStdString(), {"/d", log.toStdString()});
      QVERIFY(QFile::exists(ini));
      QCOMPARE(OptionsField(*window, "chkGraphScaleMode"), QString("shown"));
      QCOMPARE(OpenDialogStart(*window, dialogs_), log);
      QCOMPARE(window->windowTitle(), TitleFor("start.csv"));
      // First start: raised to the minimum.
      QCOMPARE(window->OuterRectTwips().width(), 10875);
      WithModalDialog<OptionsDialog>([&] { Find<QPushButton>(window.get(), "cmdOption")->click(); },
                                     [](OptionsDialog& dialog) {
                                       dialog.findChild<QLineEdit*>("txtCylinder")->setText("6");
                                       dialog.findChild<QPushButton*>("cmdOK")->click();
                                     });
      window->SetOuterRectTwips(QRect(150, 300, 11250, 8250));
      QVERIFY(window->close());
    }
    const QString text = ReadFile(ini);
    QVERIFY(text.startsWith("[Setting]\r\nXpos=150\r\nYpos=300\r\nXsize=11250\r\nYsize=8250\r\n"));
    QVERIFY(text.contains("\r\nCylinder=6\r\n"));

    auto window = NewWindow();
    window->Form_Load(ini.toStdString(), {});
    QCOMPARE(OptionsField(*window, "txtCylinder"), QString("6"));
    QCOMPARE(window->OuterRectTwips(), QRect(150, 300, 11250, 8250));
    QCOMPARE(OptionsField(*window, "chkGraphScaleMode"), QString("hidden"));
  }

  // The place and size that a run writes at exit come back unchanged from the next run, shown
  // the way the program shows itself (placed before it is shown), whatever the first file held.
  void geometryIsStableFromRunToRun_data() {
    QTest::addColumn<QRect>("first");
    QTest::newRow("multiples of a pixel") << QRect(150, 300, 12000, 9000);
    QTest::newRow("between pixels") << QRect(1007, 293, 10883, 8003);
    QTest::newRow("below the minimum") << QRect(0, 0, 3000, 3000);
  }
  void geometryIsStableFromRunToRun() {
    QFETCH(QRect, first);
    QTemporaryDir settings_dir;
    const QString ini = settings_dir.filePath("dravik.ini");
    WriteTextFile(settings_dir, "dravik.ini",
                  QString("[Setting]\r\nXpos=%1\r\nYpos=%2\r\nXsize=%3\r\nYsize=%4\r\n")
                      .arg(first.x())
                      .arg(first.y())
                      .arg(first.width())
                      .arg(first.height())
                      .toStdString());
    // One run; returns the place and size lines that it wrote.
    const auto run = [&]() -> QString {
      MainWindow window(dialogs_);
      window.Form_Load(ini.toStdString(), {});
      window.show();
      if (!QTest::qWaitForWindowExposed(&window) || !window.close()) {
        return "not run";
      }
      return ReadFile(ini).section("\r\n", 1, 4);
    };
    const QString written = run();
    QCOMPARE(run(), written);
    QCOMPARE(run(), written);
    QVERIFY(messages_.isEmpty());
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
