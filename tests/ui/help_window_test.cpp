#include "ui/help_window.h"

#include <QListWidget>
#include <QTextBrowser>

#include "tests/ui/support/window_story.h"

namespace tarnlow::ui::test {
namespace {

class HelpWindowTest : public WindowStory {};

TEST_F(HelpWindowTest, ContentShowsTheGuideWithItsTopicsAndPictures) {
  frmMain& w = startCancelled();
  w.mnuContent->trigger();
  HelpWindow& help = *w.helpWindow();
  const QString guide = QString::fromStdString(ReadFileText(TARNLOW_GUIDE));
  // An overview, then a topic per heading; a topic brings its heading to
  // the top of the text.
  EXPECT_EQ(help.lstTopics->count(), guide.count(QLatin1String("\n## ")) + 1);
  help.resize(900, 600);
  help.lstTopics->setCurrentRow(2);
  help.lstTopics_Click();
  EXPECT_EQ(help.txtGuide->cursorForPosition(QPoint(4, 4)).block().text(), help.lstTopics->item(2)->text());
  int pictures = 0;
  for (QTextBlock block = help.txtGuide->document()->begin(); block.isValid(); block = block.next()) {
    for (auto part = block.begin(); !part.atEnd(); ++part) {
      if (!part.fragment().charFormat().isImageFormat()) continue;
      const QUrl picture(part.fragment().charFormat().toImageFormat().name());
      pictures += !help.txtGuide->loadResource(QTextDocument::ImageResource, picture).isNull();
    }
  }
  EXPECT_EQ(pictures, guide.count(QLatin1String("](docs/")));
}

}  // namespace
}  // namespace tarnlow::ui::test
