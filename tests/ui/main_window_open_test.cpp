#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "tests/ui/support/window_story.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::WadLayout;

// StoryWad with NumStateChanges 0 (and no state-change bytes): the reader
// refuses it with error 9.
std::string WriteUnreadableWad(const std::filesystem::path& path) {
  WadLayout layout = WadLayout::Of(StoryWad());
  layout.counts[5] = 0;
  layout.data[5].clear();
  WriteFileBytes(path, layout.bytes());
  return path.string();
}

// What the user sees of the WAD the window holds.
struct Shown {
  std::string wadLabel, swdLabel, report;
  int objects;
  std::string fileName;
  bool operator==(const Shown&) const = default;
};

Shown ShownBy(const frmMain& w) {
  return {w.lblFilename[0]->text().toStdString(), w.lblFilename[1]->text().toStdString(),
          w.rtbReport->toPlainText().toStdString(), w.cboMeshes->count(), w.session().WadFileName};
}

class OpeningTest : public WindowStory {};

TEST_F(OpeningTest, SettingsStartOffAreReadAtStartAndRememberedWhenChanged) {
  frmMain& fresh = startCancelled();
  EXPECT_FALSE(fresh.mnuStayOpen->isChecked());
  fresh.mnuStayOpen->trigger();
  EXPECT_EQ(platform.storedSettings, (WindowSettings{true}));

  frmMain& next = startCancelled();
  EXPECT_TRUE(next.mnuStayOpen->isChecked());
  EXPECT_TRUE(next.session().settings.stayOpenAfterUnreadableWad);
  next.mnuStayOpen->trigger();
  EXPECT_EQ(platform.storedSettings, (WindowSettings{false}));
}

TEST_F(OpeningTest, StayingOpenAfterAnUnreadableWadKeepsTheWadHeldBefore) {
  platform.storedSettings.stayOpenAfterUnreadableWad = true;
  frmMain& w = startWithStory();
  w.show();
  w.mnuVery->trigger();
  w.cboMeshes->setCurrentRow(1);
  const Shown before = ShownBy(w);
  const WadDocument held = w.session().wad;

  platform.answerOpen(WriteUnreadableWad(dir / "broken.wad"));
  platform.answerMessage();
  w.mnuWAD->trigger();
  ASSERT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_TRUE(platform.messageTexts[0].starts_with("ReadWAD -> error code 9\n"));
  EXPECT_EQ(ShownBy(w), before);
  EXPECT_EQ(w.session().wad, held);
  EXPECT_EQ(w.session().WadTitle, "level1");
  EXPECT_EQ(w.cboMeshes->currentRow(), 1);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.exitStatus(), 0);

  // "&Save WAD" still writes the WAD held, to its own file.
  w.mnuSave->trigger();
  EXPECT_EQ(ReadFileBytes(dir / "level1.wad"), WadFileBytes(StoryWad()));
}

TEST_F(OpeningTest, StayingOpenAfterAnUnreadableWadAtStartLeavesTheWindowWithoutAWad) {
  platform.storedSettings.stayOpenAfterUnreadableWad = true;
  platform.answerMessage();
  frmMain& w = startWith(WriteUnreadableWad(dir / "broken.wad"));
  EXPECT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_EQ(w.exitStatus(), 0);
  EXPECT_FALSE(w.session().WadLoaded);
  EXPECT_EQ(w.lblFilename[0]->text(), "");
  EXPECT_FALSE(w.mnuSave->isEnabled());
  // A later open works as ever.
  platform.answerOpen(writeWad("level1.wad", StoryWad()));
  w.mnuWAD->trigger();
  EXPECT_TRUE(w.session().WadLoaded);
  EXPECT_EQ(w.cboMeshes->count(), 3);
}

TEST_F(OpeningTest, WithoutStayingOpenAnUnreadableWadAfterAGoodOneEndsTheProgram) {
  frmMain& w = startWithStory();
  w.show();
  platform.answerOpen(WriteUnreadableWad(dir / "broken.wad"));
  platform.answerMessage();
  w.mnuWAD->trigger();
  EXPECT_EQ(w.exitStatus(), 1);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(OpeningTest, PathGivenAtStartOpensWithoutTheOpenDialog) {
  frmMain& w = makeWindow();
  const std::string path = writeWad("level1.wad", StoryWad());
  w.setStartPath(path);
  w.Form_Activate();
  EXPECT_TRUE(platform.story.empty());
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), path);
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("level1.swd"));
  EXPECT_EQ(w.session().WadTitle, "level1");
  EXPECT_EQ(w.cboMeshes->count(), 3);
  EXPECT_FALSE(w.rtbReport->toPlainText().isEmpty());
}

TEST_F(OpeningTest, MissingPathGivenAtStartIsToldAndTheOpenDialogAsksInstead) {
  frmMain& w = makeWindow();
  w.setStartPath(pathOf("gone.wad"));
  platform.answerMessage();
  platform.answerOpen(writeWad("level1.wad", StoryWad()));
  w.Form_Activate();
  ASSERT_EQ(platform.story.size(), 2u);
  EXPECT_TRUE(platform.story[0].starts_with("Message"));
  EXPECT_TRUE(platform.story[1].starts_with("Open"));
  EXPECT_EQ(w.session().WadFileName, pathOf("level1.wad"));
}

// Drops `file` on the window as a file manager would, and lets the queued
// open run.
bool Drop(frmMain& w, const std::filesystem::path& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
  // Qt delivers a drop to the widget that took the drag when it entered.
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  QApplication::processEvents();
  return drop.isAccepted();
}

TEST_F(OpeningTest, WadDroppedOnTheWindowOpensThroughTheOpenSequence) {
  frmMain& w = startWithStory();
  const WadDocument other = WadBuilder().moveables({Moveable(5, 1, 0)}).build();
  const std::string path = writeWad("Other.WAD", other, false);
  EXPECT_TRUE(Drop(w, path));
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), path);
  EXPECT_EQ(w.session().WadTitle, "Other");
  EXPECT_EQ(w.session().wad, other);
  EXPECT_EQ(w.cboMeshes->count(), 1);
}

TEST_F(OpeningTest, DroppedFileThatIsNotAWadIsRefusedAndChangesNothing) {
  frmMain& w = startWithStory();
  const Shown before = ShownBy(w);
  WriteFileBytes(dir / "notes.txt", WadFileBytes(StoryWad()));
  EXPECT_FALSE(Drop(w, dir / "notes.txt"));
  EXPECT_EQ(ShownBy(w), before);
  EXPECT_EQ(platform.story.size(), 1u);
}

}  // namespace
}  // namespace tarnlow::ui::test
