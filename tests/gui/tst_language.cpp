#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "app/main_window.h"
#include "app/options_dialog.h"
#include "common/ui_language.h"
#include "gui_test_support.h"
#include "panel/max_view_window.h"

using namespace dravik;

// The interface language switched while the windows are open: in English no Japanese is left in
// the main window, the numeric display, the options dialog and a message box (item names and the
// language list aside), and back in Japanese every text is what it was.
namespace {

// Every text a widget and its children show: titles, captions, list entries and headers, tooltips.
QStringList ShownTexts(const QWidget* root) {
  QStringList texts;
  QList<const QWidget*> widgets{root};
  for (const QWidget* child : root->findChildren<QWidget*>()) {
    widgets << child;
  }
  for (const QWidget* widget : widgets) {
    texts << widget->windowTitle() << widget->toolTip();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      texts << button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
      texts << label->text();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
      texts << group->title();
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
      texts << edit->placeholderText();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
      for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
      }
    } else if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i) {
        texts << tabs->tabText(i);
      }
    } else if (const auto* tree = qobject_cast<const QTreeWidget*>(widget)) {
      for (int column = 0; column < tree->columnCount(); ++column) {
        texts << tree->headerItem()->text(column);
        for (int row = 0; row < tree->topLevelItemCount(); ++row) {
          texts << tree->topLevelItem(row)->text(column);
        }
      }
    }
  }
  texts.removeAll(QString());
  return texts;
}

QStringList JapaneseTexts(const QStringList& texts) {
  static const QRegularExpression japanese(
      QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}"
                     "\\x{ff00}-\\x{ffef}]"));
  static const QStringList kept = {QStringLiteral("表示言語 / Language"), QStringLiteral("日本語"),
                                   QStringLiteral("瞬間燃費 (km/l)")};
  QStringList found;
  for (const QString& text : texts) {
    if (text.contains(japanese) && !kept.contains(text)) {
      found << text;
    }
  }
  return found;
}

// Loads a log with vehicle and engine speed and the pulse width (the economy item, every
// section row and trip figure) in Japanese.
QString LoadFuelLog(MainWindow& window, const QTemporaryDir& dir) {
  std::string log = "Time,Vehicle Speed (km/h),Engine Speed,Fuel Injector #1 Pulse Width (ms)\r\n";
  for (int row = 0; row < 40; ++row) {
    log += std::to_string(row * 250) + ",60,2000,3\r\n";
  }
  const QString ini = WriteTextFile(
      dir, "dravik.ini", "[Setting]\r\nSectionTime=1\r\nInjectorFlowScaling=430\r\nCylinder=4\r\n");
  const QString path = WriteTextFile(dir, "log.csv", log);
  window.Form_Load(ini.toStdString(), {path.toStdString()}, {}, Language::kJapanese);
  return path;
}

void Switch(Language language) {
  ApplyLanguage(language);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

}  // namespace

class TestLanguage : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowSwitchesAndSwitchesBack() {
    QTemporaryDir dir;
    FakeUserDialog dialogs;
    const auto window = NewShownWindow(dialogs);
    LoadFuelLog(*window, dir);
    Find<QAbstractButton>(window.get(), "chkMaxView")->click();
    auto* numeric = FindTopLevel<MaxViewWindow>();
    QVERIFY(numeric != nullptr);
    const QStringList japanese = ShownTexts(window.get()) + ShownTexts(numeric);
    QVERIFY(japanese.contains(QStringLiteral("区間燃費 (km/l)")));

    Switch(Language::kEnglish);
    QCOMPARE(JapaneseTexts(ShownTexts(window.get()) + ShownTexts(numeric)), QStringList());
    QVERIFY(ShownTexts(numeric).contains(QStringLiteral("Cursor 1")));
    {
      // The dialog is modal: the language never changes while it is open.
      Settings settings;
      OptionsDialog options(settings, true, dialogs, window.get());
      QCOMPARE(JapaneseTexts(ShownTexts(&options)), QStringList());
      // A refused field's message, and Qt's own standard buttons.
      Find<QLineEdit>(&options, "txtCylinder")->setText(QStringLiteral("x"));
      Find<QPushButton>(&options, "cmdOK")->click();
      QCOMPARE(dialogs.messages.size(), 1);
      QCOMPARE(JapaneseTexts(dialogs.messages), QStringList());
      QMessageBox box(QMessageBox::Critical, QStringLiteral("Dravik"), dialogs.messages[0],
                      QMessageBox::Ok | QMessageBox::Cancel);
      QCOMPARE(JapaneseTexts(ShownTexts(&box)), QStringList());
    }

    Switch(Language::kJapanese);
    QCOMPARE(ShownTexts(window.get()) + ShownTexts(numeric), japanese);
    QMessageBox japanese_box(QMessageBox::Critical, QStringLiteral("Dravik"), QString(),
                             QMessageBox::Cancel);
    QCOMPARE(japanese_box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
  }

  void tripNamesBesideAReferenceShowWhole() {
    QTemporaryDir dir;
    FakeUserDialog dialogs;
    const auto window = NewShownWindow(dialogs);
    dialogs.open_answers.push_back(LoadFuelLog(*window, dir));
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    Switch(Language::kEnglish);
    // Four columns: a name too long takes its narrow form; the tooltip and the copy keep it whole.
    auto* trips = Find<QTreeWidget>(window.get(), "lstFuelEfficient");
    QCOMPARE(trips->columnCount(), 4);
    QCOMPARE(trips->topLevelItem(1)->text(0), QStringLiteral("Avg. speed"));
    QCOMPARE(trips->topLevelItem(1)->toolTip(0), QStringLiteral("Average speed"));
    PickFromPopup([&] { ReleaseRightButton(trips->viewport()); },
                  QStringLiteral("Copy the trip figures"));
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("\r\nAverage speed, ")));
    Switch(Language::kJapanese);
    QCOMPARE(trips->topLevelItem(1)->text(0), QStringLiteral("平均速度"));
  }

  void onlyTheFirstStartAsksAndLangDecidesForOneRun() {
    if (QLocale::system().language() == QLocale::Japanese) {
      QSKIP("the question is for systems that do not speak Japanese");
    }
    QTemporaryDir dir;
    const std::string ini = dir.filePath("dravik.ini").toStdString();
    FakeUserDialog dialogs;
    dialogs.language_answer = Language::kEnglish;
    // The first start asks; the answer is kept. --lang chooses for its run only.
    const struct {
      std::optional<Language> lang;
      Language shown;
    } starts[] = {{std::nullopt, Language::kEnglish},
                  {Language::kJapanese, Language::kJapanese},
                  {std::nullopt, Language::kEnglish}};
    for (const auto& start : starts) {
      const auto window = NewShownWindow(dialogs);
      window->Form_Load(ini, {}, {}, start.lang);
      QCOMPARE(InterfaceLanguage(), start.shown);
      // The answer is in the file before the window closes.
      QFile file(QString::fromStdString(ini));
      QVERIFY(file.open(QIODevice::ReadOnly));
      QVERIFY(file.readAll().contains("\r\nLanguage=en\r\n"));
      window->close();
    }
    QCOMPARE(dialogs.language_questions, 1);
    Switch(Language::kJapanese);
  }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
