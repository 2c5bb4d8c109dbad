#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/open_log.h"
#include "app/report.h"
#include "app/report_chart.h"
#include "chart/chart_render.h"
#include "chart/scaling.h"
#include "common/settings.h"

using namespace dravik;

namespace {

// item 1 climbs 0, 1, 2, ... ; item 2 is 0 throughout.
LogTable RampLog(int rows) {
  std::string text = "Time,Ramp,Zero\r\n";
  for (int row = 0; row < rows; ++row) {
    text += std::to_string(row * 100) + "," + std::to_string(row) + ",0\r\n";
  }
  LogTable table;
  const LoadError error = OpenLogFromBuffer(text, Settings{}, table);
  if (error.kind != LoadFailure::kNone) {
    qFatal("test log did not load");
  }
  return table;
}

ChartView WholeView(const LogTable& table) {
  ChartView view;
  ChangeMagnification(view, 1, table.last_sample);
  return view;
}

}  // namespace

class TestChartRender : public QObject {
  Q_OBJECT

 private slots:
  void tracesFollowTheirChartPositions() {
    const LogTable table = RampLog(101);  // ramp 0..100: range 0..120
    const Settings settings;
    const std::vector<int> items = {1, 2};
    const QImage image = RenderChartImage(table, settings, items, WholeView(table), {1000, 600});
    QCOMPARE(image.size(), QSize(1000, 600));
    // Two scales: a strip of 700 twips (47 px), the chart 953 px wide beside it.
    const int strip = 47;
    const int width = 1000 - strip;
    const QColor ramp(255, 0, 255);
    const QColor zero(0, 0, 255);
    const int bottom = static_cast<int>(ChartYToRow(kPlotBottom, 600));
    PlotYStore plot_y;
    plot_y.Keep(table, items, settings.graph_scale_mode);
    QCOMPARE(image.pixelColor(strip + width / 2, bottom), zero);
    QCOMPARE(image.pixelColor(strip + width - 2, bottom), zero);
    for (const int sample : {15, 55, 85}) {
      const int x = strip + static_cast<int>(ChartXToColumn(sample, table.last_sample, width));
      const int y = static_cast<int>(ChartYToRow(plot_y.PlotY(1)[sample], 600));
      QCOMPARE(image.pixelColor(x, y), ramp);
      QVERIFY(image.pixelColor(x, y - 8) != ramp);
    }
  }

  void gridAndScalesAreDrawn() {
    const LogTable table = RampLog(101);
    const std::vector<int> items = {1};
    const QImage image = RenderChartImage(table, Settings{}, items, WholeView(table), {600, 400});
    // One scale: 400 twips, 27 px; its axis at 30 of 40 strip units.
    const int strip = 27;
    const int axis = static_cast<int>(ChartXToColumn(30, 40, strip));
    QCOMPARE(image.pixelColor(axis, 200), QColor(255, 0, 255));
    const int top = static_cast<int>(ChartYToRow(kPlotTop, 400));
    QCOMPARE(image.pixelColor(strip + 300, top), QColor(128, 128, 128));
    // Some label text lies left of the axis, in black.
    bool black = false;
    for (int x = 0; x < axis && !black; ++x) {
      for (int y = 0; y < 400 && !black; ++y) {
        black = image.pixelColor(x, y) == QColor(Qt::black);
      }
    }
    QVERIFY(black);
  }

  // --scroll gives the time scroll bar's position, in units of 10 samples, clamped to the
  // maximum of the magnification: the ramp's value at the left edge is the first visible sample.
  void reportScrollIsAScrollBarPosition_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("first_sample");
    QTest::newRow("start") << 0 << 0;
    QTest::newRow("position 100") << 100 << 1000;
    QTest::newRow("beyond the maximum") << 5000 << 1800;  // span 200: maximum 180
  }
  void reportScrollIsAScrollBarPosition() {
    QFETCH(int, position);
    QFETCH(int, first_sample);
    QTemporaryDir dir;
    std::string text = "Time,Ramp\r\n";
    for (int row = 0; row <= 2000; ++row) {
      text += std::to_string(row * 100) + "," + std::to_string(row) + "\r\n";
    }
    QFile log(dir.filePath("ramp.csv"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(text.data(), static_cast<qint64>(text.size()));
    log.close();
    ReportOptions options;
    options.logs = {log.fileName().toStdString()};
    options.png_path = dir.filePath("chart.png").toStdString();
    options.magnification = 10;
    options.scroll = position;
    const ReportOutput run = RunReport(options);
    QCOMPARE(run.exit_code, 0);
    std::string error;
    QVERIFY2(WriteReportChart(options, run.settings, run.table, error), error.c_str());

    const QImage image(QString::fromStdString(options.png_path));
    LogTable table;
    QCOMPARE(OpenLogFromBuffer(text, Settings{}, table).kind, LoadFailure::kNone);
    const int strip = 27;  // one scale: 400 twips
    PlotYStore plot_y;
    plot_y.Keep(table, std::vector<int>{1}, 0);
    const int y = static_cast<int>(ChartYToRow(plot_y.PlotY(1)[first_sample], image.height()));
    QCOMPARE(image.pixelColor(strip, y), QColor(255, 0, 255));
    QVERIFY(image.pixelColor(strip, y + 20) != QColor(255, 0, 255));
  }

  void nothingButBackgroundWithoutALog() {
    const LogTable table;
    const QImage image = RenderChartImage(table, Settings{}, {}, ChartView{}, {200, 100});
    QCOMPARE(image.pixelColor(150, 50), QColor(Qt::white));
  }
};

QTEST_MAIN(TestChartRender)
#include "tst_chart_render.moc"
