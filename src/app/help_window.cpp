#include "app/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "common/ui_language.h"

namespace dravik {

namespace {

const char kContentsFile[] = "index.html";
const char kOptionsFile[] = "options.html";
// The English pages lie in this folder of the help directory, under the same names.
const char kEnglishFolder[] = "en";

}  // namespace

HelpWindow::HelpWindow(const QString& help_directory)
    : QWidget(nullptr), help_directory_(help_directory), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Dravik"));
  // Help must neither keep the program alive after the main window has gone nor outlive it.
  setAttribute(Qt::WA_QuitOnClose, false);
  connect(qApp, &QCoreApplication::aboutToQuit, this, &QWidget::close);

  browser_->setOpenExternalLinks(true);
  contents_ = new QPushButton(this);
  back_ = new QPushButton(this);
  forward_ = new QPushButton(this);
  RetranslateUi();
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(contents_, &QPushButton::clicked, this, [this] { ShowPage(HelpPage::kContents); });
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents_);
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  resize(760, 600);
}

QString HelpWindow::FindHelpDirectory(const QString& executable_directory) {
  const QDir executable(executable_directory);
  for (const QString& candidate : {executable.filePath(QStringLiteral("help")),
                                   executable.filePath(QStringLiteral("../share/dravik/help"))}) {
    if (QFileInfo::exists(QDir(candidate).filePath(QLatin1String(kContentsFile)))) {
      return QDir::cleanPath(candidate);
    }
  }
  return {};
}

QString HelpWindow::FindHelpDirectory() {
  return FindHelpDirectory(QCoreApplication::applicationDirPath());
}

QString HelpWindow::PagePath(const QString& file) const {
  QDir directory(help_directory_);
  if (InterfaceLanguage() == Language::kEnglish) {
    directory.cd(QLatin1String(kEnglishFolder));
  }
  return directory.filePath(file);
}

void HelpWindow::OpenPage(const QString& file) {
  const QString path = PagePath(file);
  if (help_directory_.isEmpty() || !QFileInfo::exists(path)) {
    browser_->setHtml(tr("<p>ヘルプファイルが見つかりません。</p><p>%1</p>")
                          .arg(tr("プログラムと同じフォルダーの help フォルダー、または "
                                  "../share/dravik/help にヘルプを置いてください。")));
  } else {
    browser_->setSource(QUrl::fromLocalFile(path));
  }
}

void HelpWindow::ShowPage(HelpPage page) {
  OpenPage(QLatin1String(page == HelpPage::kOptions ? kOptionsFile : kContentsFile));
  show();
  if (isMinimized()) {
    showNormal();
  }
  raise();
  activateWindow();
}

void HelpWindow::RetranslateUi() {
  contents_->setText(tr("目次"));
  back_->setText(tr("戻る"));
  forward_->setText(tr("進む"));
}

void HelpWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) {
    RetranslateUi();
    // The page shown is shown again in the new language, the history starting anew from it.
    const QUrl shown = browser_->source();
    if (isVisible() && shown.isLocalFile()) {
      browser_->clearHistory();
      OpenPage(QFileInfo(shown.toLocalFile()).fileName());
    }
  }
}

}  // namespace dravik
