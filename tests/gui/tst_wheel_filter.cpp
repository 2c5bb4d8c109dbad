#include <QCheckBox>
#include <QFrame>
#include <QScrollBar>
#include <QtTest>

#include "chart/wheel_filter.h"
#include "gui_test_support.h"

using dravik::TurnWheel;
using dravik::WheelFilter;

class TestWheelFilter : public QObject {
  Q_OBJECT

 private slots:
  void ChartStepsOncePerEvent_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<qint64>("view_span");
    QTest::addColumn<QList<int>>("angles");
    QTest::addColumn<int>("expected");
    QTest::newRow("toward the user") << 100 << 900 << qint64(1000) << QList<int>{-120} << 120;
    QTest::newRow("away from the user") << 100 << 900 << qint64(1000) << QList<int>{120} << 80;
    QTest::newRow("two notches in one event")
        << 100 << 900 << qint64(1000) << QList<int>{-240} << 120;
    QTest::newRow("two half notches") << 100 << 900 << qint64(1000) << QList<int>{-60, -60} << 120;
    QTest::newRow("one half notch") << 100 << 900 << qint64(1000) << QList<int>{-60} << 100;
    QTest::newRow("half notches back and forth")
        << 100 << 900 << qint64(1000) << QList<int>{-60, 60, -60} << 100;
    QTest::newRow("three 90s make two steps")
        << 100 << 900 << qint64(1000) << QList<int>{-90, -90, -90} << 140;
    QTest::newRow("stops at the maximum") << 890 << 900 << qint64(1000) << QList<int>{-120} << 900;
    QTest::newRow("stops at the minimum") << 10 << 900 << qint64(1000) << QList<int>{120} << 0;
    QTest::newRow("span 25 does not move") << 100 << 900 << qint64(25) << QList<int>{-120} << 100;
    QTest::newRow("span 26 moves one") << 100 << 900 << qint64(26) << QList<int>{-120} << 101;
    QTest::newRow("span 125 moves two") << 100 << 900 << qint64(125) << QList<int>{-120} << 102;
  }
  void ChartStepsOncePerEvent() {
    QFETCH(int, value);
    QFETCH(int, maximum);
    QFETCH(qint64, view_span);
    QFETCH(QList<int>, angles);
    QFETCH(int, expected);
    QScrollBar scroll_bar(Qt::Horizontal);
    scroll_bar.setRange(0, maximum);
    scroll_bar.setValue(value);
    WheelFilter* filter = WheelFilter::ForChart(
        &scroll_bar, [view_span] { return view_span; }, &scroll_bar);
    filter->Watch(&scroll_bar);
    for (int angle : angles) {
      TurnWheel(&scroll_bar, angle);
    }
    QCOMPARE(scroll_bar.value(), expected);
  }

  void ChartReadsTheSpanAtEveryNotch() {
    QScrollBar scroll_bar(Qt::Horizontal);
    scroll_bar.setRange(0, 900);
    qint64 span = 1000;
    WheelFilter::ForChart(
        &scroll_bar, [&span] { return span; }, &scroll_bar)
        ->Watch(&scroll_bar);
    TurnWheel(&scroll_bar, -120);
    span = 100;
    TurnWheel(&scroll_bar, -120);
    QCOMPARE(scroll_bar.value(), 22);
  }

  void ItemPanelStepsBy120AndClamps_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("expected");
    QTest::newRow("down") << 50 << -120 << 170;
    QTest::newRow("up to the minimum") << 50 << 120 << 0;
    QTest::newRow("down to the maximum") << 950 << -120 << 1000;
    QTest::newRow("up") << 500 << 120 << 380;
  }
  void ItemPanelStepsBy120AndClamps() {
    QFETCH(int, value);
    QFETCH(int, angle);
    QFETCH(int, expected);
    QScrollBar scroll_bar(Qt::Vertical);
    scroll_bar.setRange(0, 1000);
    scroll_bar.setValue(value);
    WheelFilter::ForItemPanel(&scroll_bar, &scroll_bar)->Watch(&scroll_bar);
    TurnWheel(&scroll_bar, angle);
    QCOMPARE(scroll_bar.value(), expected);
  }

  // A check box inside the carrier inside the frame: the event passes the check box, reaches the
  // carrier and must not travel on to the watched frame as well.
  void ChildOfWatchedWidgetsStepsOnce() {
    QFrame frame;
    QWidget carrier(&frame);
    QCheckBox box(QStringLiteral("Engine Speed"), &carrier);
    QScrollBar scroll_bar(Qt::Vertical, &frame);
    scroll_bar.setRange(0, 1000);
    WheelFilter* filter = WheelFilter::ForItemPanel(&scroll_bar, &frame);
    filter->Watch(&frame);
    filter->Watch(&carrier);
    filter->Watch(&scroll_bar);
    TurnWheel(&box, -120);
    QCOMPARE(scroll_bar.value(), 120);
    TurnWheel(&frame, -120);
    QCOMPARE(scroll_bar.value(), 240);
  }
};

QTEST_MAIN(TestWheelFilter)
#include "tst_wheel_filter.moc"
