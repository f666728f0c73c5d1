#include "ui/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/emblem.h"

namespace tarnlow::ui {

namespace {
// The guide's topics are its second-level headings; the first part, before
// any heading, is listed as the overview.
constexpr int kTopicLevel = 2;
}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Tarnlow Help"));
  setWindowIcon(WindowIcon());
  auto* splitter = new QSplitter(this);
  lstTopics = new QListWidget(splitter);
  txtGuide = new QTextBrowser(splitter);
  // Links stay inside the guide: the help must not depend on a browser.
  txtGuide->setOpenExternalLinks(false);
  txtGuide->setSource(QUrl(QString::fromLatin1(kGuideResource)), QTextDocument::MarkdownResource);

  auto* overview = new QListWidgetItem(QStringLiteral("Overview"), lstTopics);
  overview->setData(Qt::UserRole, 0);
  for (QTextBlock block = txtGuide->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() != kTopicLevel) continue;
    auto* topic = new QListWidgetItem(block.text(), lstTopics);
    topic->setData(Qt::UserRole, block.position());
  }
  connect(lstTopics, &QListWidget::itemClicked, this, &HelpWindow::lstTopics_Click);
  connect(lstTopics, &QListWidget::itemActivated, this, &HelpWindow::lstTopics_Click);

  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);
  // Wide enough for the topics and the screenshots in the guide.
  resize(1100, 720);
  splitter->setSizes({220, 880});
}

void HelpWindow::lstTopics_Click() {
  const QListWidgetItem* topic = lstTopics->currentItem();
  if (topic == nullptr) return;
  const QTextBlock heading = txtGuide->document()->findBlock(topic->data(Qt::UserRole).toInt());
  const qreal top = txtGuide->document()->documentLayout()->blockBoundingRect(heading).top();
  txtGuide->verticalScrollBar()->setValue(static_cast<int>(top));
}

}  // namespace tarnlow::ui
