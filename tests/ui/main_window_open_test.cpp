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

TEST_F(OpeningTest, WithEmptySectionsOnEachOrEverySectionEmptyOpensAndEveryViewWorks) {
  platform.storedSettings.openEmptySections = true;
  for (int section = 0; section <= 11; ++section) {  // 11: sections 0 to 10 all empty
    SCOPED_TRACE(section);
    startWith(section < 11 ? WriteWithEmpty(dir / "pack.wad", {section})
                           : WriteWithEmpty(dir / "pack.wad", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    frmMain& w = *window;
    EXPECT_TRUE(w.session().WadLoaded);
    EXPECT_EQ(platform.story.size(), 1u);  // the Open dialog, no message
    platform.okEveryMessage = true;  // meshes left unreadable are told as ever
    for (QAction* level : {w.mnuSummary, w.mnuDetailed, w.mnuVery}) level->trigger();
    for (int object = 0; object < w.cboMeshes->count(); ++object) {
      w.cboMeshes->setCurrentRow(object);
      for (int mesh = 0; mesh < w.MeshList->count(); ++mesh) w.MeshList->setCurrentRow(mesh);
    }
    w.cmdTextures->click();
    runCheck();
    platform.okEveryMessage = false;
    platform.story.clear();
  }
}

TEST_F(OpeningTest, WithEmptySectionsOnACutFileIsToldAndNotSavedOverItself) {
  platform.storedSettings.openEmptySections = true;
  Bytes bytes = WadFileBytes(StoryWad());
  bytes.resize(bytes.size() * 2 / 3);
  WriteFileBytes(dir / "cut.wad", bytes);
  platform.answerMessage();
  platform.answerMessage();
  startWith(pathOf("cut.wad")).mnuSave->trigger();
  EXPECT_EQ(platform.messageTexts.size(), 2u);
  EXPECT_EQ(ReadFileBytes(dir / "cut.wad"), bytes);
}

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
  EXPECT_EQ(platform.storedSettings, (WindowSettings{false, false}));
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
