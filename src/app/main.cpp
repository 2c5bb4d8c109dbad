#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "common/file_dialog.h"
#include "common/file_io.h"
#include "common/parallel.h"
#include "common/user_dialog.h"
#include "common/version.h"

namespace {

// The icon of every window and dialog, in the sizes of the installed theme icons.
QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/dravik.png").arg(size));
  }
  return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
  dravik::IgnoreFileSizeSignal();
  // Answered before Qt starts, so that they work without a display.
  const dravik::TerminalRequest request =
      dravik::FindTerminalRequest(std::vector<std::string>(argv + 1, argv + argc));
  switch (request.action) {
    case dravik::TerminalAction::kVersion:
      std::printf("%s\n", dravik::kVersionText);
      return 0;
    case dravik::TerminalAction::kHelp:
      std::fputs(dravik::kDravikUsage, stdout);
      return 0;
    case dravik::TerminalAction::kUnknownOption:
      std::fprintf(stderr, "dravik: unknown option: %s\n", request.option.c_str());
      std::fputs(dravik::kDravikUsage, stderr);
      return 2;
    case dravik::TerminalAction::kNone:
      break;
  }
  // Qt waits for ever for threads it could not start (its display reader, its D-Bus connection,
  // its drawing pool): the window would hang before it is drawn, with no box able to say why.
  constexpr int kQtThreads = 4;
  if (!dravik::CanStartThreads(kQtThreads)) {
    std::fputs("dravik: スレッドを作成できないため、起動できません。\n", stderr);
    return 1;
  }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  // A desktop portal, where one runs, shows the desktop's own file dialogs. Qt's portal theme
  // keeps the desktop's theme for everything else, and without the plugin or a portal Qt takes
  // the desktop's theme and its own dialog as before.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME")) {
    qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
  }
#endif
  QApplication app(argc, argv);
  QApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral(DRAVIK_APP_ID));
  // The program speaks Japanese whatever the locale, so Qt's own buttons and dialogs do too,
  // including the file kinds that Qt takes from the MIME database in the default locale.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  QTranslator qt_texts;
  if (qt_texts.load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_texts);
  }
  dravik::FileKindTranslator file_kinds;
  QApplication::installTranslator(&file_kinds);

  std::vector<std::string> arguments;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i) {
    arguments.push_back(all[i].toStdString());
  }

  dravik::QtUserDialog dialogs;
  dravik::MainWindow window(dialogs);
  QObject::connect(&window, &dravik::MainWindow::Exiting, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  const std::string executable = QCoreApplication::applicationFilePath().toStdString();
  // Settings beside a program whose folder cannot be written carry over to the user's own file.
  window.Form_Load(dravik::SettingsFilePath(executable), arguments,
                   dravik::ChooseSettingsFilePath(executable, true, "", ""));
  // Qt waits for ever for the shared memory of a window's picture when no descriptor is left
  // to receive it: the window would never be drawn. Nothing has been changed yet.
  constexpr int kWindowFiles = 2;
  if (!dravik::CanOpenFiles(kWindowFiles)) {
    std::fputs("dravik: 開いているファイルが多すぎるため、ウィンドウを表示できません。\n", stderr);
    return 1;
  }
  window.show();
  return app.exec();
}
