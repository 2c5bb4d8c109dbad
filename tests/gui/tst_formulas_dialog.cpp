#include <functional>
#include <string>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/formulas_dialog.h"
#include "app/open_log.h"
#include "common/settings.h"

using dravik::Formula;
using dravik::FormulasDialog;
using dravik::LogTable;

namespace {

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* widget = dialog->findChild<T*>(QLatin1String(name));
  if (widget == nullptr) {
    qFatal("no %s", name);
  }
  return widget;
}

// Runs `edit` on the editor that clicking `button` opens; an editor that a failed check leaves
// open is closed.
void InEditor(QWidget* button, const std::function<void(QWidget*)>& edit) {
  QTimer::singleShot(0, [edit] {
    auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    edit(editor);
    if (editor->isVisible()) {
      editor->reject();
    }
  });
  QTest::mouseClick(button, Qt::LeftButton);
}

// Types into the editor's fields and waits for its check.
QString TypeAndCheck(QWidget* editor, const QString& name, const QString& expression) {
  QTest::keyClicks(Child<QLineEdit>(editor, "txtName"), name);
  Child<QPlainTextEdit>(editor, "txtExpression")->selectAll();
  QTest::keyClicks(Child<QPlainTextEdit>(editor, "txtExpression"), expression);
  QTest::qWait(300);
  return Child<QLabel>(editor, "lblCheck")->text();
}

QStringList Names(QWidget* dialog) {
  QStringList names;
  auto* list = Child<QTreeWidget>(dialog, "lstFormulas");
  for (int row = 0; row < list->topLevelItemCount(); ++row) {
    names << list->topLevelItem(row)->text(0);
  }
  return names;
}

}  // namespace

class TestFormulasDialog : public QObject {
  Q_OBJECT

 private slots:
  void AddsEditsReordersAndDeletes() {
    std::string text = "Time,Engine Speed (rpm),MAP (kPa)\r\n";
    for (int s = 0; s < 12; ++s) {
      text += std::to_string(s * 100) + "," + std::to_string(1000 + s) + ",100\r\n";
    }
    LogTable table;
    QVERIFY(!dravik::Failed(dravik::OpenLogFromBuffer(text, dravik::Settings{}, table)));
    FormulasDialog dialog({{"Old", "[Gone]"}}, table, 0);
    dialog.show();
    QVERIFY(Names(&dialog) == QStringList{"Old"});
    QVERIFY(Child<QTreeWidget>(&dialog, "lstFormulas")
                ->topLevelItem(0)
                ->text(2)
                .startsWith("このログでは使えません: 1文字目: 項目 [Gone] がありません"));

    InEditor(Child<QPushButton>(&dialog, "cmdAdd"), [](QWidget* editor) {
      QCOMPARE(TypeAndCheck(editor, "Step", "1+"), QString("3文字目: 式が途中で終わっています"));
      QVERIFY(!Child<QPushButton>(editor, "cmdOK")->isEnabled());
      // Another log may have the item: kept, but not for this one.
      QTest::keyClicks(Child<QPlainTextEdit>(editor, "txtExpression"), "[Speed]");
      QTest::qWait(300);
      QCOMPARE(Child<QLabel>(editor, "lblCheck")->text(),
               QString("このログでは使えません: 3文字目: 項目 [Speed] がありません"));
      QVERIFY(Child<QPushButton>(editor, "cmdOK")->isEnabled());
      // A double click on an item of the log writes it in brackets.
      Child<QPlainTextEdit>(editor, "txtExpression")->clear();
      auto* items = Child<QListWidget>(editor, "lstItems");
      const QList<QListWidgetItem*> rpm = items->findItems("Engine Speed (rpm)", Qt::MatchExactly);
      QCOMPARE(rpm.size(), 1);
      const QRect rect = items->visualItemRect(rpm.front());
      QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, rect.center());
      QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, rect.center());
      QTest::keyClicks(Child<QPlainTextEdit>(editor, "txtExpression"), " / 0");
      QTest::qWait(300);
      QCOMPARE(Child<QPlainTextEdit>(editor, "txtExpression")->toPlainText(),
               QString("[Engine Speed (rpm)] / 0"));
      QCOMPARE(Child<QLabel>(editor, "lblCheck")->text(),
               QString("このログで使えます。0になるサンプル: 12"));
      QTest::mouseClick(Child<QPushButton>(editor, "cmdOK"), Qt::LeftButton);
    });
    QVERIFY(Names(&dialog) == (QStringList{"Old", "Step"}));

    QTest::mouseClick(Child<QPushButton>(&dialog, "cmdUp"), Qt::LeftButton);
    QVERIFY(Names(&dialog) == (QStringList{"Step", "Old"}));
    QTest::mouseClick(Child<QPushButton>(&dialog, "cmdDown"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(&dialog, "cmdDelete"), Qt::LeftButton);
    QVERIFY(Names(&dialog) == QStringList{"Old"});
    QVERIFY(dialog.Formulas() == (std::vector<Formula>{{"Old", "[Gone]"}}));
  }

  // A formula whose values the chart cannot show is listed as unusable, in the list and as typed.
  void ListsAFormulaTheChartCannotShow() {
    std::string text = "Time,MAP (kPa)\r\n";
    for (int s = 0; s < 12; ++s) {
      text += std::to_string(s * 100) + ",100\r\n";
    }
    dravik::Settings settings;
    settings.formulas = {{"Huge", "[MAP (kPa)] * 3e36"}};
    LogTable table;
    QVERIFY(!dravik::Failed(dravik::OpenLogFromBuffer(text, settings, table)));
    const QString unusable("このログでは使えません: 値が小さすぎるか大きすぎてグラフに描けません");
    FormulasDialog dialog(settings.formulas, table, 0);
    QCOMPARE(Child<QTreeWidget>(&dialog, "lstFormulas")->topLevelItem(0)->text(2), unusable);
    InEditor(Child<QPushButton>(&dialog, "cmdEdit"), [&unusable](QWidget* editor) {
      QCOMPARE(Child<QLabel>(editor, "lblCheck")->text(), unusable);
      QCOMPARE(TypeAndCheck(editor, "", "[MAP (kPa)] * 3"),
               QString("このログで使えます。0になるサンプル: 0"));
      QTest::mouseClick(Child<QPushButton>(editor, "cmdOK"), Qt::LeftButton);
    });
    QCOMPARE(Child<QTreeWidget>(&dialog, "lstFormulas")->topLevelItem(0)->text(2),
             QString("使えます"));
    InEditor(Child<QPushButton>(&dialog, "cmdAdd"), [&unusable](QWidget* editor) {
      QCOMPARE(TypeAndCheck(editor, "Huger", "[MAP (kPa)] * -3e36"), unusable);
      QTest::mouseClick(Child<QPushButton>(editor, "cmdOK"), Qt::LeftButton);
    });
    QCOMPARE(Child<QTreeWidget>(&dialog, "lstFormulas")->topLevelItem(1)->text(2), unusable);
  }

  void RefusesMoreThanTheLimit() {
    std::vector<Formula> formulas;
    for (int k = 0; k < 64; ++k) {
      formulas.push_back({"F" + std::to_string(k), "1"});
    }
    const LogTable no_log;
    FormulasDialog dialog(formulas, no_log, 0);
    QVERIFY(!Child<QPushButton>(&dialog, "cmdAdd")->isEnabled());
    QCOMPARE(Child<QPushButton>(&dialog, "cmdAdd")->toolTip(), QString("計算項目は64個までです"));
  }
};

QTEST_MAIN(TestFormulasDialog)
#include "tst_formulas_dialog.moc"
