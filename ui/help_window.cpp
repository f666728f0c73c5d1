#include "ui/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/emblem.h"

namespace tarnlow::ui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Tarnlow Help"));
  setWindowIcon(WindowIcon());
  txtGuide = new QTextBrowser(this);
  // Links stay inside the guide: the help must not depend on a browser.
  txtGuide->setOpenExternalLinks(false);
  txtGuide->setSource(QUrl(QString::fromLatin1(kGuideResource)), QTextDocument::MarkdownResource);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(txtGuide);
  // Wide enough for the screenshots in the guide.
  resize(900, 700);
}

}  // namespace tarnlow::ui
