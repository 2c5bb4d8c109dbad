#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace dravik {

// The two places the program opens its help at.
enum class HelpPage { kContents, kOptions };

// The program's help: the HTML pages shipped with it, in the interface language (the English
// pages in the folder "en" of the help directory), shown in one window titled "Dravik". The
// window is top-level without a parent, so that it stays usable beside the main window and beside
// the modal options dialog; it does not keep the program running once the main window has closed
// and it closes itself when the program quits.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // `help_directory` holds index.html and options.html; empty when no help was found, in which
  // case the window shows a short note instead of the pages.
  explicit HelpWindow(const QString& help_directory = FindHelpDirectory());

  // The help directory for the executable in `executable_directory`: "help" beside it (the build
  // tree), else "../share/dravik/help" (an installed program). Empty when neither holds
  // index.html.
  static QString FindHelpDirectory(const QString& executable_directory);
  // The same for the running program.
  static QString FindHelpDirectory();

  // Opens `page`, shows the window and brings it to the front. The window is reused: opening a
  // page while it is shown only changes the page.
  void ShowPage(HelpPage page);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();
  // The page `file` ("index.html") of the interface language.
  QString PagePath(const QString& file) const;
  void OpenPage(const QString& file);

  QString help_directory_;
  QTextBrowser* browser_;
  QPushButton* contents_;
  QPushButton* back_;
  QPushButton* forward_;
};

}  // namespace dravik
