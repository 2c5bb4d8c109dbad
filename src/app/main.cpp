#include <string>
#include <vector>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/main_window.h"
#include "app/settings_file.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The program speaks Japanese whatever the locale, so Qt's own buttons and dialogs do too.
  QTranslator qt_texts;
  if (qt_texts.load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_texts);
  }

  std::vector<std::string> arguments;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i) {
    arguments.push_back(all[i].toStdString());
  }

  dravik::MainWindow window;
  QObject::connect(&window, &dravik::MainWindow::Exiting, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  const std::string executable = QCoreApplication::applicationFilePath().toStdString();
  // Settings beside a program whose folder cannot be written carry over to the user's own file.
  window.Form_Load(dravik::SettingsFilePath(executable), arguments,
                   dravik::ChooseSettingsFilePath(executable, true, "", ""));
  window.show();
  return app.exec();
}
