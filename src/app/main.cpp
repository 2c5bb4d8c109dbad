#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QIcon>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "common/file_io.h"
#include "common/parallel.h"
#include "common/ui_language.h"
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
  std::vector<std::string> terminal_arguments(argv + 1, argv + argc);
  const dravik::LanguageOption language = dravik::TakeLanguageOption(terminal_arguments);
  if (!language.error.empty()) {
    std::fprintf(stderr, "dravik: %s\n", language.error.c_str());
    std::fputs(dravik::kDravikUsage, stderr);
    return 2;
  }
  // The messages before the window know only the language --lang names.
  dravik::UseCoreTexts(language.language);
  const dravik::TerminalRequest request = dravik::FindTerminalRequest(terminal_arguments);
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
    std::fputs(
        ("dravik: " + dravik::CoreText::Tr("スレッドを作成できないため、起動できません。") + "\n")
            .c_str(),
        stderr);
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
  // The windows speak the settings' language (or --lang's) whatever the locale, and so do Qt's
  // own buttons and dialogs (Form_Load applies it); until then, Japanese.
  dravik::ApplyLanguage(language.language);

  std::vector<std::string> arguments;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i) {
    arguments.push_back(all[i].toStdString());
  }
  dravik::TakeLanguageOption(arguments);

  dravik::QtUserDialog dialogs;
  dravik::MainWindow window(dialogs);
  QObject::connect(&window, &dravik::MainWindow::Exiting, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  const std::string executable = QCoreApplication::applicationFilePath().toStdString();
  // Settings beside a program whose folder cannot be written carry over to the user's own file.
  window.Form_Load(dravik::SettingsFilePath(executable), arguments,
                   dravik::ChooseSettingsFilePath(executable, true, "", ""),
                   language.given ? std::optional(language.language) : std::nullopt);
  // Qt waits for ever for the shared memory of a window's picture when no descriptor is left
  // to receive it: the window would never be drawn. Nothing has been changed yet.
  constexpr int kWindowFiles = 2;
  if (!dravik::CanOpenFiles(kWindowFiles)) {
    std::fputs(
        ("dravik: " +
         dravik::CoreText::Tr("開いているファイルが多すぎるため、ウィンドウを表示できません。") +
         "\n")
            .c_str(),
        stderr);
    return 1;
  }
  window.show();
  return app.exec();
}
