#include "ui/file_commands.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>

#include "tests/ui/support/window_story.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::ReadFileBytes;
using tarnlow::test::WadFileBytes;
using tarnlow::test::WriteFileBytes;

std::string ReportHeaderTitle(const frmMain& w) {
  return w.rtbReport->document()->findBlockByNumber(1).text().toStdString();
}

WadDocument OtherWad() {
  return tarnlow::test::WadBuilder().version(129).moveables({tarnlow::test::Moveable(5, 0, 0)}).build();
}

class FileCommandsTest : public WindowStory {};

TEST(ReadWadErrorText, PutsOneBlankBeforeNonNegativeNumbers) {
  EXPECT_EQ(ReadWadErrorText(9, "Subscript out of range"), "ReadWAD -> error code 9\nSubscript out of range");
  EXPECT_EQ(ReadWadErrorText(0, "x"), "ReadWAD -> error code 0\nx");
  EXPECT_EQ(ReadWadErrorText(-2, "x"), "ReadWAD -> error code-2\nx");
}

TEST_F(FileCommandsTest, CancelledOpenKeepsTheLoadedWadAndItsLabel) {
  const std::string wad = writeWad("level1.wad", StoryWad());
  frmMain& w = startWith(wad);
  const QString report = w.rtbReport->toPlainText();
  platform.cancelOpen();
  w.mnuWAD->trigger();
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), wad);
  EXPECT_EQ(w.session().WadFileName, wad);
  EXPECT_EQ(w.rtbReport->toPlainText(), report);
}

TEST_F(FileCommandsTest, OpeningWadWithoutSwdKeepsThePreviousSwd) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  const std::string other = writeWad("level2.WAD", OtherWad(), false);
  platform.answerOpen(other);
  w.mnuWAD->trigger();
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), other);
  EXPECT_EQ(w.session().WadTitle, "level2");
  EXPECT_EQ(w.session().SwdPath, pathOf("level2.swd"));
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("level1.swd"));
  EXPECT_EQ(w.session().swd.NumSwdEntries, 1);
  EXPECT_EQ(w.session().wad.Version, 129);
  EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: level2");
}

TEST_F(FileCommandsTest, UnreadableSwdIsToldOnceAndThePreviousSwdStays) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  const std::string other = writeWad("level2.wad", OtherWad(), false);
  WriteFileBytes(dir / "level2.swd", SwdFileBytes(-1));
  platform.answerOpen(other);
  platform.answerMessage();
  w.mnuWAD->trigger();
  const std::vector<std::string> texts = platform.messageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(pathOf("level2.swd")), std::string::npos) << texts[0];
  EXPECT_EQ(w.session().swd.NumSwdEntries, 1);
  // The rest of the open still ran.
  EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: level2");
  EXPECT_EQ(w.cboMeshes->count(), 1);
}

TEST_F(FileCommandsTest, HiddenWadCountsAsMissing) {
  frmMain& w = startWith(writeWad(".level1.wad", StoryWad()));
  EXPECT_FALSE(w.session().WadLoaded);
  EXPECT_TRUE(w.lblFilename[0]->text().isEmpty());
  EXPECT_FALSE(w.mnuSave->isEnabled());
}

TEST_F(FileCommandsTest, SaveWadWritesTheDocumentBackToItsFile) {
  const WadDocument document = StoryWad();
  const std::string wad = writeWad("level1.wad", document);
  frmMain& w = startWith(wad);
  WriteFileBytes(wad, WadFileBytes(OtherWad()));
  w.mnuSave->trigger();
  EXPECT_EQ(ReadFileBytes(wad), WadFileBytes(document));
  EXPECT_EQ(platform.story().size(), 1u);
}

TEST_F(FileCommandsTest, SaveAsTakesTheNewNameEverywhereAndWritesTheBytes) {
  const WadDocument document = StoryWad();
  frmMain& w = startWith(writeWad("level1.wad", document));
  w.mnuDetailed->trigger();
  const std::string copy = pathOf("copy");  // no extension: used as typed
  platform.answerSave(copy);
  w.mnuSaveAs->trigger();
  EXPECT_EQ(platform.story().back(),
            "Save [Save as New Wad file] TR WAD file (*.wad)|*.wad #1 name=level1 overwrite-prompt path-must-exist");
  EXPECT_EQ(ReadFileBytes(copy), WadFileBytes(document));
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), copy);
  EXPECT_EQ(w.session().WadTitle, "copy");
  EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: copy");
  EXPECT_EQ(w.session().DetailLevel, 1);
  EXPECT_NE(w.rtbReport->toPlainText().indexOf(QStringLiteral("No , MeshPointer(Dec)")), -1);
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("level1.swd"));

  WriteFileBytes(copy, Bytes{1, 2, 3});
  w.mnuSave->trigger();
  EXPECT_EQ(ReadFileBytes(copy), WadFileBytes(document));
}

TEST_F(FileCommandsTest, CancelledSaveAsChangesNothing) {
  const std::string wad = writeWad("level1.wad", StoryWad());
  frmMain& w = startWith(wad);
  const QString report = w.rtbReport->toPlainText();
  platform.cancelSave();
  w.mnuSaveAs->trigger();
  EXPECT_EQ(w.session().WadFileName, wad);
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), wad);
  EXPECT_EQ(w.rtbReport->toPlainText(), report);
}

TEST_F(FileCommandsTest, FailingSaveNamesTheFileAndLeavesWhatWasThere) {
  const std::string wad = writeWad("level1.wad", StoryWad());
  frmMain& w = startWith(wad);
  // A folder where the file should go: the rename over it fails.
  std::filesystem::remove(wad);
  std::filesystem::create_directory(wad);
  WriteFileBytes(dir / "level1.wad" / "keep", Bytes{7});
  platform.answerMessage();
  w.mnuSave->trigger();
  const std::vector<std::string> texts = platform.messageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_TRUE(texts[0].starts_with("The WAD could not be saved to " + wad + ":\n")) << texts[0];
  EXPECT_EQ(ReadFileBytes(dir / "level1.wad" / "keep"), Bytes{7});
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u) << "no temporary file stays behind";
}

TEST_F(FileCommandsTest, FailingSaveAsIsToldAndTheRestOfTheCommandRuns) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  const std::string target = pathOf("missing-folder/copy.wad");
  platform.answerSave(target);
  platform.answerMessage();
  w.mnuSaveAs->trigger();
  ASSERT_EQ(platform.messageTexts().size(), 1u);
  EXPECT_NE(platform.messageTexts()[0].find(target), std::string::npos);
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), target);
  EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: copy");
}

TEST_F(FileCommandsTest, OpenWasReadsTheChosenSwd) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  WriteFileBytes(dir / "sprites.swd", SwdFileBytes(3));
  platform.answerOpen(pathOf("sprites.swd"));
  w.mnuWAS->trigger();
  EXPECT_EQ(platform.story().back(), "Open []  #1 name= must-exist");
  EXPECT_EQ(w.session().swd.NumSwdEntries, 3);
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("sprites.swd"));
}

}  // namespace
}  // namespace tarnlow::ui::test
