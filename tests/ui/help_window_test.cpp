#include "ui/help_window.h"

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

  const QTextDocument& shown = *help->txtGuide->document();
  QStringList headings, blocks;
  for (const QString& line : QString::fromStdString(GuideSource()).split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("## "))) headings << line.mid(3);
  }
  int pictures = 0;
  for (QTextBlock block = shown.begin(); block.isValid(); block = block.next()) {
    blocks << block.text();
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextCharFormat format = fragment.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      ++pictures;
      const QUrl picture(format.toImageFormat().name());
      EXPECT_FALSE(help->txtGuide->loadResource(QTextDocument::ImageResource, picture).isNull())
          << picture.toString().toStdString();
    }
  }
  ASSERT_FALSE(headings.isEmpty());
  for (const QString& heading : headings) EXPECT_TRUE(blocks.contains(heading)) << heading.toStdString();
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
