#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "app/main_window.h"
#include "chart/chart_panel.h"
#include "chart/graph_view.h"
#include "chart/layout.h"
#include "chart/scaling.h"
#include "common/rounding.h"
#include "gui_test_support.h"
#include "panel/item_panel.h"
#include "panel/max_view_window.h"

using namespace dravik;

// How mouse events on the chart move the two cursor lines and feed the numeric display.
namespace {

// Time, two items and a speed over `rows` samples 250 ms apart; item 1 holds the sample number.
QString WriteLog(const QTemporaryDir& dir, int rows) {
  std::string text = "Time,Count,Other,Vehicle Speed (km/h)\r\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(row * 250) + "," + std::to_string(row) + ",5,40\r\n";
  }
  return WriteTextFile(dir, "log.csv", text);
}

}  // namespace

class TestMainWindowCursors : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  FakeUserDialog dialogs_;
  std::unique_ptr<MainWindow> window_;
  QList<CursorMove> moves_;
  int rows_ = 0;

  // A shown window with a 4001-sample log and the numeric display on.
  void Open(int rows = 4001) {
    dialogs_ = FakeUserDialog();
    window_ = std::make_unique<MainWindow>(dialogs_);
    window_->resize(900, 600);
    window_->show();
    rows_ = rows;
    OpenThroughDialog(*window_, dialogs_, WriteLog(dir_, rows));
    QVERIFY(dialogs_.messages.isEmpty());
    Find<QPushButton>(window_.get(), "chkMaxView")->setChecked(true);
    moves_.clear();
    connect(window_->findChild<ChartPanel*>(), &ChartPanel::CursorsMoved, this,
            [this](const CursorMove& move) { moves_ << move; });
  }
  QTreeWidget* NumericList() const {
    return FindTopLevel<MaxViewWindow>()->findChild<QTreeWidget*>("lstMaxView");
  }
  // The numeric display's text of the Count row (sample numbers) in column 2 (cursor 1) or 3.
  QString CountAt(int cursor) const {
    return NumericList()->topLevelItem(1)->text(cursor == 1 ? 2 : 3);
  }
  // The magnification chosen and the time scroll bar's position.
  int Magnification() const {
    return Find<QComboBox>(window_.get(), "cmbMultipl")->currentText().toInt();
  }
  // The sample under pixel column x_px at the current view: the span of the last sample over the
  // magnification, from the first visible sample (10 a scroll unit).
  int64_t SampleAt(double x_px) const {
    const int64_t span = RoundHalfEven((rows_ - 1.0) / Magnification());
    const double chart_x =
        ColumnToChartX(x_px, span, Find<GraphView>(window_.get(), "picGraph")->width());
    return ChartXToSample(chart_x, 10 * Find<QScrollBar>(window_.get(), "scrX")->value());
  }
  int Line(int cursor) const {
    return LineColumn(Find<GraphView>(window_.get(), "picGraph"),
                      cursor == 1 ? kCursor1Colour : kCursor2Colour);
  }
  void Zoom(int index) {
    Find<QComboBox>(window_.get(), "cmbMultipl")->setCurrentIndex(index);
    emit Find<QComboBox>(window_.get(), "cmbMultipl")->activated(index);
  }

 private slots:
  void cleanup() { window_.reset(); }

  void buttonsPlaceTheirLines() {
    Open();
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 100, Qt::LeftButton, Qt::LeftButton);
    SendMouse(graph, QEvent::MouseButtonRelease, 100, Qt::LeftButton, Qt::NoButton);
    SendMouse(graph, QEvent::MouseButtonPress, 300, Qt::RightButton, Qt::RightButton);
    SendMouse(graph, QEvent::MouseButtonRelease, 300, Qt::RightButton, Qt::NoButton);
    QCOMPARE(Line(1), 100);
    QCOMPARE(Line(2), 300);
    // The line spans the rows of its chart units, top and bottom included.
    const QImage shown = graph->grab().toImage();
    const int top = static_cast<int>(ChartYToRow(kCursorLineTop, graph->height()));
    const int bottom = static_cast<int>(ChartYToRow(kCursorLineBottom, graph->height()));
    QVERIFY(shown.pixelColor(100, top - 1) != kCursor1Colour);
    QCOMPARE(shown.pixelColor(100, top), kCursor1Colour);
    QCOMPARE(shown.pixelColor(100, bottom), kCursor1Colour);
    QVERIFY(shown.pixelColor(100, bottom + 1) != kCursor1Colour);
    QCOMPARE(CountAt(1), QString::number(SampleAt(100)));
    QCOMPARE(CountAt(2), QString::number(SampleAt(300)));
    QCOMPARE(NumericList()->topLevelItem(1)->text(4),
             QString::number(SampleAt(300) - SampleAt(100)));
  }

  void bothButtonsMoveBothLinesCursorOneFirst() {
    Open();
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 50, Qt::LeftButton, Qt::LeftButton);
    moves_.clear();
    SendMouse(graph, QEvent::MouseButtonPress, 200, Qt::RightButton,
              Qt::LeftButton | Qt::RightButton);
    QCOMPARE(Line(1), -1);  // under line 2
    QCOMPARE(Line(2), 200);
    QCOMPARE(moves_.size(), 1);
    QCOMPARE(moves_[0].readouts.size(), size_t{2});
    QCOMPARE(moves_[0].readouts[0].cursor, 1);
    QCOMPARE(moves_[0].readouts[1].cursor, 2);
    QCOMPARE(CountAt(1), CountAt(2));
  }

  // Without a button a move changes nothing; with one the line follows, past the surface's
  // edge too, and a sample outside the log leaves the readout as it was.
  void dragsFollowTheMouseOnlyWithAButton() {
    Open();
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 100, Qt::LeftButton, Qt::LeftButton);
    SendMouse(graph, QEvent::MouseMove, 150, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(Line(1), 150);
    QCOMPARE(CountAt(1), QString::number(SampleAt(150)));
    SendMouse(graph, QEvent::MouseMove, -40, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(Line(1), -1);  // left of the surface
    QCOMPARE(CountAt(1), QString::number(SampleAt(150)));
    SendMouse(graph, QEvent::MouseButtonRelease, -40, Qt::LeftButton, Qt::NoButton);
    moves_.clear();
    SendMouse(graph, QEvent::MouseMove, 250, Qt::NoButton, Qt::NoButton);
    QCOMPARE(Line(1), -1);
    QVERIFY(moves_.isEmpty());

    // Zoomed in, a line dragged right of the surface still reads the samples beyond the view.
    Zoom(3);
    SendMouse(graph, QEvent::MouseButtonPress, 10, Qt::RightButton, Qt::RightButton);
    SendMouse(graph, QEvent::MouseMove, graph->width() + 30, Qt::NoButton, Qt::RightButton);
    QCOMPARE(CountAt(2), QString::number(SampleAt(graph->width() + 30)));
    QVERIFY(SampleAt(graph->width() + 30) > SampleAt(graph->width()));
  }

  // Scrolling and zooming redraw the graph: the lines stay where they stand and the readouts
  // follow the samples now under them.
  void linesKeepTheirPlaceWhileTheViewChanges() {
    Open();
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    Zoom(3);
    SendMouse(graph, QEvent::MouseButtonPress, 120, Qt::LeftButton, Qt::LeftButton);
    SendMouse(graph, QEvent::MouseButtonRelease, 120, Qt::LeftButton, Qt::NoButton);
    SendMouse(graph, QEvent::MouseButtonPress, 480, Qt::RightButton, Qt::RightButton);
    SendMouse(graph, QEvent::MouseButtonRelease, 480, Qt::RightButton, Qt::NoButton);
    const int64_t first = SampleAt(120);
    const int64_t second = SampleAt(480);
    QCOMPARE(CountAt(1), QString::number(first));

    QScrollBar* time = Find<QScrollBar>(window_.get(), "scrX");
    time->setValue(time->value() + 1);
    QCOMPARE(Line(1), 120);
    QCOMPARE(Line(2), 480);
    QCOMPARE(CountAt(1), QString::number(first + 10));
    QCOMPARE(CountAt(2), QString::number(second + 10));

    Zoom(0);
    QCOMPARE(Line(1), 120);
    QCOMPARE(Line(2), 480);
    QCOMPARE(CountAt(1), QString::number(SampleAt(120)));
    QCOMPARE(CountAt(2), QString::number(SampleAt(480)));
  }

  // A resize of the window or a wider scale strip moves the lines with their samples, so the
  // readouts stay as they were.
  void linesKeepTheirSamplesWhenTheChartChangesWidth() {
    Open();
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 300, Qt::LeftButton, Qt::LeftButton);
    const QString sample = CountAt(1);
    const int width = graph->width();
    window_->resize(700, 600);
    QVERIFY(graph->width() < width);
    QCOMPARE(Line(1), qRound(300.0 * graph->width() / width));
    QCOMPARE(CountAt(1), sample);
  }

  // With the numeric display off the lines move and nothing is read out; turning it on writes
  // nothing until the next press or redraw.
  void readoutsOnlyWhileTheNumericDisplayIsOn() {
    Open();
    Find<QPushButton>(window_.get(), "chkMaxView")->setChecked(false);
    GraphView* graph = Find<GraphView>(window_.get(), "picGraph");
    SendMouse(graph, QEvent::MouseButtonPress, 100, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(Line(1), 100);
    QVERIFY(moves_.isEmpty());
    Find<QPushButton>(window_.get(), "chkMaxView")->setChecked(true);
    QCOMPARE(CountAt(1), QString("0"));
    // The next redraw: a box checked (the line keeps its sample as the scale strip widens).
    const QString sample = QString::number(SampleAt(100));
    Find<ItemPanel>(window_.get(), "fraSelectItem")->Box(2)->setChecked(true);
    QCOMPARE(CountAt(1), sample);
  }

  void nothingMovesWithoutALog() {
    window_ = std::make_unique<MainWindow>(dialogs_);
    window_->resize(900, 600);
    window_->show();
    SendMouse(Find<GraphView>(window_.get(), "picGraph"), QEvent::MouseButtonPress, 100,
              Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(Line(1), -1);
    QCOMPARE(Line(2), -1);
  }
};

QTEST_MAIN(TestMainWindowCursors)
#include "tst_main_window_cursors.moc"
