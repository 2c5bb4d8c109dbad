#include "app/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace dravik {

namespace {

const char kContentsFile[] = "index.html";
const char kOptionsFile[] = "options.html";

}  // namespace

HelpWindow::HelpWindow(const QString& help_directory)
    : QWidget(nullptr), help_directory_(help_directory), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Dravik"));
  // Help must neither keep the program alive after the main window has gone nor outlive it.
  setAttribute(Qt::WA_QuitOnClose, false);
  connect(qApp, &QCoreApplication::aboutToQuit, this, &QWidget::close);

  browser_->setOpenExternalLinks(true);
  auto* contents = new QPushButton(QStringLiteral("目次"), this);
  auto* back = new QPushButton(QStringLiteral("戻る"), this);
  auto* forward = new QPushButton(QStringLiteral("進む"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, [this] { ShowPage(HelpPage::kContents); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
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

void HelpWindow::ShowPage(HelpPage page) {
  const QString file = QLatin1String(page == HelpPage::kOptions ? kOptionsFile : kContentsFile);
  const QString path = QDir(help_directory_).filePath(file);
  if (help_directory_.isEmpty() || !QFileInfo::exists(path)) {
    browser_->setHtml(
        QStringLiteral("<p>ヘルプファイルが見つかりません。</p><p>%1</p>")
            .arg(QStringLiteral("プログラムと同じフォルダーの help フォルダー、または "
                                "../share/dravik/help にヘルプを置いてください。")));
  } else {
    browser_->setSource(QUrl::fromLocalFile(path));
  }
  show();
  if (isMinimized()) {
    showNormal();
  }
  raise();
  activateWindow();
}

}  // namespace dravik
