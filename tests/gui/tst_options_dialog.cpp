#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include "app/fuel_items_dialog.h"
#include "app/options_dialog.h"
#include "common/settings.h"
#include "gui_test_support.h"

using dravik::FakeUserDialog;
using dravik::OptionsDialog;
using dravik::Settings;

namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(QLatin1String(name));
  if (widget == nullptr) {
    qFatal("no %s", name);
  }
  return widget;
}

void SetFields(QWidget& dialog, const QString& flow, const QString& latency,
               const QString& cylinders) {
  Child<QLineEdit>(dialog, "txtInjectorFlowScaling")->setText(flow);
  Child<QLineEdit>(dialog, "txtInjectorLatency")->setText(latency);
  Child<QLineEdit>(dialog, "txtCylinder")->setText(cylinders);
}

bool SameSettings(const Settings& a, const Settings& b) {
  return a.time_unit_sec == b.time_unit_sec && a.section_time == b.section_time &&
         a.graph_scale_mode == b.graph_scale_mode && a.always_tooltip == b.always_tooltip &&
         a.injector_flow_scaling == b.injector_flow_scaling &&
         a.injector_latency == b.injector_latency && a.cylinder == b.cylinder;
}

}  // namespace

class TestOptionsDialog : public QObject {
  Q_OBJECT

  FakeUserDialog dialogs_;

 private slots:
  void init() { dialogs_ = FakeUserDialog(); }

  void ShowsTheSettings() {
    Settings settings;
    settings.section_time = 1;
    OptionsDialog dialog(settings, false, dialogs_);
    QCOMPARE(dialog.windowTitle(), QString("設定"));
    QCOMPARE(Child<QLineEdit>(dialog, "txtInjectorFlowScaling")->text(), QString("430.72"));
    QCOMPARE(Child<QLineEdit>(dialog, "txtInjectorLatency")->text(), QString("0.98"));
    QCOMPARE(Child<QLineEdit>(dialog, "txtCylinder")->text(), QString("4"));
    QVERIFY(!Child<QCheckBox>(dialog, "chkTimeUnitSec")->isChecked());
    QVERIFY(Child<QCheckBox>(dialog, "chkSectionTime")->isChecked());
    QVERIFY(Child<QPushButton>(dialog, "cmdOK")->isDefault());
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
  }

  void BadFieldKeepsTheDialogOpenAndStoresNothing_data() {
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("latency");
    QTest::addColumn<QString>("cylinders");
    QTest::addColumn<QString>("field");
    QTest::newRow("flow not a number") << "abc"
                                       << "1"
                                       << "6"
                                       << "インジェクタ容量";
    QTest::newRow("latency empty") << "500"
                                   << ""
                                   << "6"
                                   << "インジェクタ無効噴射時間";
    QTest::newRow("both wrong: flow first") << "abc"
                                            << "x"
                                            << "6"
                                            << "インジェクタ容量";
    QTest::newRow("numbers before signs") << "-1"
                                          << "x"
                                          << "6"
                                          << "インジェクタ無効噴射時間";
    QTest::newRow("cylinders -0.6") << "500"
                                    << "1"
                                    << "-0.6"
                                    << "シリンダ数";
  }
  void BadFieldKeepsTheDialogOpenAndStoresNothing() {
    QFETCH(QString, flow);
    QFETCH(QString, latency);
    QFETCH(QString, cylinders);
    QFETCH(QString, field);
    Settings settings;
    const Settings before = settings;
    OptionsDialog dialog(settings, false, dialogs_);
    dialog.show();
    Child<QCheckBox>(dialog, "chkTimeUnitSec")->setChecked(true);
    SetFields(dialog, flow, latency, cylinders);
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(dialogs_.messages, QStringList{field + "には\r\n正数の数値を入力してください。"});
    QVERIFY(dialog.isVisible());
    QVERIFY(SameSettings(settings, before));
    QVERIFY(!dialog.ReloadNeeded());
  }

  void OkStoresAllSeven() {
    Settings settings;
    OptionsDialog dialog(settings, true, dialogs_);
    dialog.show();
    for (const char* name :
         {"chkTimeUnitSec", "chkSectionTime", "chkAlwaysToolTip", "chkGraphScaleMode"}) {
      Child<QCheckBox>(dialog, name)->setChecked(true);
    }
    SetFields(dialog, " 550.5 ", "1.25", "4.5");
    Child<QPushButton>(dialog, "cmdOK")->click();
    QVERIFY(dialogs_.messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(settings.time_unit_sec, 1);
    QCOMPARE(settings.section_time, 1);
    QCOMPARE(settings.always_tooltip, 1);
    QCOMPARE(settings.graph_scale_mode, 1);
    QCOMPARE(settings.injector_flow_scaling, 550.5f);
    QCOMPARE(settings.injector_latency, 1.25f);
    QCOMPARE(settings.cylinder, 4);
    QVERIFY(dialog.ReloadNeeded());
  }

  void TimeUnitAloneChangesNoOption() {
    Settings settings;
    OptionsDialog dialog(settings, false, dialogs_);
    dialog.show();
    Child<QCheckBox>(dialog, "chkTimeUnitSec")->setChecked(true);
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(settings.time_unit_sec, 1);
    QVERIFY(!dialog.ReloadNeeded());
  }

  void CancelEscAndCloseBoxStoreNothing_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("cancel button") << 0;
    QTest::newRow("escape") << 1;
    QTest::newRow("close box") << 2;
  }
  void CancelEscAndCloseBoxStoreNothing() {
    QFETCH(int, way);
    Settings settings;
    const Settings before = settings;
    OptionsDialog dialog(settings, false, dialogs_);
    dialog.show();
    Child<QCheckBox>(dialog, "chkAlwaysToolTip")->setChecked(true);
    SetFields(dialog, "100", "2", "8");
    if (way == 0) {
      Child<QPushButton>(dialog, "cmdCancel")->click();
    } else if (way == 1) {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
      dialog.close();
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(SameSettings(settings, before));
    QVERIFY(!dialog.ReloadNeeded());
  }

  // Without "/d" the scaling box is hidden, yet OK stores its unchanged state.
  void HiddenScaleModeBoxCarriesItsValue() {
    Settings settings;
    settings.graph_scale_mode = 1;
    OptionsDialog dialog(settings, false, dialogs_);
    dialog.show();
    QVERIFY(Child<QCheckBox>(dialog, "chkGraphScaleMode")->isHidden());
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(settings.graph_scale_mode, 1);

    OptionsDialog shown(settings, true, dialogs_);
    shown.show();
    QVERIFY(Child<QCheckBox>(shown, "chkGraphScaleMode")->isVisible());
    Child<QCheckBox>(shown, "chkGraphScaleMode")->setChecked(false);
    Child<QPushButton>(shown, "cmdOK")->click();
    QCOMPARE(settings.graph_scale_mode, 0);
  }

  // A hand-edited switch value other than 0 or 1 is shown greyed and kept when left alone.
  void GreyedSwitchKeepsItsValue() {
    Settings settings;
    settings.section_time = 5;
    OptionsDialog dialog(settings, false, dialogs_);
    dialog.show();
    QCOMPARE(Child<QCheckBox>(dialog, "chkSectionTime")->checkState(), Qt::PartiallyChecked);
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(settings.section_time, 5);
    QVERIFY(!dialog.ReloadNeeded());
  }

  void HelpButtonAsksForHelpAndStaysOpen() {
    Settings settings;
    OptionsDialog dialog(settings, false, dialogs_);
    dialog.show();
    QSignalSpy help(&dialog, &OptionsDialog::helpRequested);
    Child<QPushButton>(dialog, "cmdHelp")->click();
    QCOMPARE(help.count(), 1);
    QVERIFY(dialog.isVisible());
  }

  // The items chosen in "燃費計算の項目" are stored by the options dialog's OK and need a reload;
  // the lines under the lists say what the automatic rules pick.
  void ChosenFuelItemsAreStoredByOk() {
    Settings settings;
    OptionsDialog dialog(settings, false, dialogs_);
    dravik::LogTable log;
    log.item_names = {"Time", "RPM", "Injector PW (ms)", "Speed (mph)"};
    log.last_sample = 1;
    dialog.SetLogTable(&log);
    dialog.show();
    QStringList lines;
    QStringList units;
    int speed_entries = 0;
    QTimer::singleShot(0, &dialog, [&] {
      auto* items = dialog.findChild<dravik::FuelItemsDialog*>();
      QVERIFY(items != nullptr);
      QCOMPARE(items->windowTitle(), QString("燃費計算の項目"));
      for (const QLabel* label : items->findChildren<QLabel*>()) {
        if (label->text().startsWith("自動")) {
          lines.append(label->text());
        }
      }
      auto* speed = Child<QComboBox>(*items, "cmbSpeedItem");
      auto* unit = Child<QComboBox>(*items, "cmbSpeedUnit");
      speed_entries = speed->count();
      // Picking an item sets the unit its name says; the user may still change it.
      speed->setCurrentIndex(3);
      units.append(unit->currentText());
      speed->setCurrentIndex(1);
      units.append(unit->currentText());
      unit->setCurrentIndex(1);
      Child<QPushButton>(*items, "cmdOK")->click();
    });
    Child<QPushButton>(dialog, "cmdFuelItems")->click();
    QCOMPARE(speed_entries, 4);
    QCOMPARE(units, QStringList({"mph", "km/h"}));
    QCOMPARE(lines,
             QStringList({"自動: Speed (mph) [mph]", "自動: RPM", "自動: Injector PW (ms)"}));
    QCOMPARE(settings.fuel_items.speed, std::string());
    Child<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(settings.fuel_items.speed, std::string("RPM"));
    QCOMPARE(settings.fuel_items.speed_unit, 1);
    QVERIFY(dialog.ReloadNeeded());
  }

  // A name of any length is shown within the screen, whole in its tooltip, and chosen whole.
  void LongItemNamesKeepTheDialogOnTheScreen() {
    QString long_name;
    for (int i = 0; i < 40; ++i) {
      long_name += QStringLiteral("エンジン回転数の長い名前");
    }
    const std::string name = long_name.toStdString();
    dravik::FuelItemsDialog dialog({"Time", name}, {name, 0, "", ""});
    dialog.show();
    QVERIFY(dialog.width() <= dialog.screen()->availableGeometry().width());
    auto* speed = Child<QComboBox>(dialog, "cmbSpeedItem");
    QCOMPARE(speed->currentIndex(), 1);
    QVERIFY(speed->currentText().size() < long_name.size());
    QCOMPARE(speed->toolTip(), long_name);
    QCOMPARE(speed->itemData(1, Qt::ToolTipRole).toString(), long_name);
    QCOMPARE(dialog.Chosen().speed, name);
  }

  void TabOrder_data() {
    QTest::addColumn<bool>("scale_mode_shown");
    QTest::newRow("with /d") << true;
    QTest::newRow("without /d") << false;
  }
  void TabOrder() {
    QFETCH(bool, scale_mode_shown);
    Settings settings;
    OptionsDialog dialog(settings, scale_mode_shown, dialogs_);
    dialog.show();
    QStringList order;
    QWidget* first = Child<QWidget>(dialog, "chkTimeUnitSec");
    QWidget* widget = first;
    do {
      if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus) &&
          !widget->objectName().isEmpty()) {
        order.append(widget->objectName());
      }
      widget = widget->nextInFocusChain();
    } while (widget != first);
    QStringList expected{"chkTimeUnitSec", "chkSectionTime", "chkAlwaysToolTip"};
    if (scale_mode_shown) {
      expected.append("chkGraphScaleMode");
    }
    expected << "txtInjectorFlowScaling"
             << "txtInjectorLatency"
             << "txtCylinder"
             << "cmdFormulas"
             << "cmdFuelItems"
             << "cmbLanguage"
             << "cmdOK"
             << "cmdCancel"
             << "cmdHelp";
    QCOMPARE(order, expected);
  }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
