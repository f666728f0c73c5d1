#include "ui/help_window.h"

#include <QListWidget>
#include <QTextBrowser>
#include <QTextFragment>

#include "tests/ui/support/window_story.h"

namespace tarnlow::ui::test {
namespace {

class HelpWindowTest : public WindowStory {};

// The guide as written in the source tree, the window's one source.
std::string GuideSource() { return ReadFileText(TARNLOW_GUIDE); }

TEST_F(HelpWindowTest, ContentShowsTheWholeGuideWithItsPicturesInOneWindow) {
  frmMain& w = startCancelled();
  w.mnuContent->trigger();
  HelpWindow* help = w.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());

  // Every heading of the guide is a topic, and a topic brings its heading
  // to the top of the text.
  QStringList headings{QStringLiteral("Overview")}, topics;
  for (const QString& line : QString::fromStdString(GuideSource()).split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("## "))) headings << line.mid(3);
  }
  for (int i = 0; i < help->lstTopics->count(); ++i) topics << help->lstTopics->item(i)->text();
  EXPECT_EQ(topics, headings);
  help->resize(900, 600);
  QApplication::processEvents();
  const QTextBrowser& text = *help->txtGuide;
  for (int i : {help->lstTopics->count() / 2, 1}) {
    help->lstTopics->setCurrentRow(i);
    help->lstTopics_Click();
    const QTextCursor top = text.cursorForPosition(QPoint(4, 4));
    EXPECT_EQ(top.block().text().toStdString(), topics[i].toStdString());
  }

  int pictures = 0;
  for (QTextBlock block = text.document()->begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextCharFormat format = fragment.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      ++pictures;
      const QUrl picture(format.toImageFormat().name());
      EXPECT_FALSE(help->txtGuide->loadResource(QTextDocument::ImageResource, picture).isNull())
          << picture.toString().toStdString();
    }
  }
  EXPECT_EQ(pictures, QString::fromStdString(GuideSource()).count(QLatin1String("](docs/")));

  // A second "Content..." brings the same window back.
  help->close();
  w.mnuContent->trigger();
  EXPECT_EQ(w.helpWindow(), help);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(platform.story.size(), 1u);
}

}  // namespace
}  // namespace tarnlow::ui::test
