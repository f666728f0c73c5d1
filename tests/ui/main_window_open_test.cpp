#include <QDropEvent>
#include <QMimeData>

#include "tests/ui/support/window_story.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::WadLayout;

// StoryWad with the sections in `empty` (0-based) counted 0 and left empty.
std::string WriteWithEmpty(const std::filesystem::path& path, std::initializer_list<int> empty) {
  WadLayout layout = WadLayout::Of(StoryWad());
  for (int section : empty) {
    layout.counts[section] = 0;
    layout.data[section].clear();
  }
  WriteFileBytes(path, layout.bytes());
  return path.string();
}

class OpeningTest : public WindowStory {};

TEST_F(OpeningTest, StayingOpenAfterAnUnreadableWadKeepsTheWadHeldBefore) {
  platform.storedSettings.stayOpenAfterUnreadableWad = true;
  frmMain& w = startWithStory();
  w.show();
  const QString report = w.rtbReport->toPlainText();
  platform.answerOpen(WriteWithEmpty(dir / "broken.wad", {5}));
  platform.answerMessage();
  w.mnuWAD->trigger();
  EXPECT_TRUE(platform.messageTexts.at(0).starts_with("ReadWAD -> error code 9\n"));
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), pathOf("level1.wad"));
  EXPECT_EQ(w.session().WadFileName, pathOf("level1.wad"));
  EXPECT_EQ(w.rtbReport->toPlainText(), report);
  EXPECT_EQ(w.session().wad, StoryWad());
  EXPECT_TRUE(w.isVisible());
  // The settings were read at start, and a change is remembered.
  w.mnuStayOpen->trigger();
  EXPECT_FALSE(platform.storedSettings.stayOpenAfterUnreadableWad);
}

// Drops `file` on the window as a file manager would (Qt delivers the drop
// to the widget that took the drag on entering); lets the queued open run.
bool Drop(frmMain& w, const std::string& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  QApplication::processEvents();
  return true;
}

TEST_F(OpeningTest, PathAtStartOrADroppedWadOpensWithoutTheDialogAndOtherFilesAreRefused) {
  makeWindow().setStartPath(writeWad("level1.wad", StoryWad()));
  window->Form_Activate();
  EXPECT_TRUE(platform.story.empty());
  EXPECT_EQ(window->cboMeshes->count(), 3);

  WriteFileBytes(dir / "notes.txt", WadFileBytes(StoryWad()));
  EXPECT_FALSE(Drop(*window, pathOf("notes.txt")));
  const WadDocument other = WadBuilder().moveables({Moveable(5, 1, 0)}).build();
  EXPECT_TRUE(Drop(*window, writeWad("Other.WAD", other, false)));
  EXPECT_EQ(window->lblFilename[0]->text().toStdString(), pathOf("Other.WAD"));
  EXPECT_EQ(window->session().wad, other);
}

}  // namespace
}  // namespace tarnlow::ui::test
