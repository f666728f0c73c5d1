#include "ui/file_commands.h"

#include <algorithm>
#include <climits>

#include "tests/ui/support/window_story.h"
#include "wad/byte_writer.h"
#include "wad/object_names_file.h"
#include "wad/swd_reader.h"

namespace tarnlow::ui::test {
namespace {

std::string ReportHeaderTitle(const frmMain& w) {
  return w.rtbReport->document()->findBlockByNumber(1).text().toStdString();
}

// An SWD file with its three counts as given: as many entries and records
// as the counts say (none for 0 or less, at most 8), and `rows` texture rows.
Bytes SwdWithCounts(std::int32_t entries, std::int32_t textureBytes, std::int32_t records, std::size_t rows = 0) {
  const auto items = [](std::int32_t count) { return static_cast<std::size_t>(std::clamp(count, 0, 8)); };
  Bytes out;
  ByteWriter w(out);
  w.i32(0x5344);
  w.i32(entries);
  for (std::size_t i = 0; i < items(entries) * 16; ++i) w.u8(static_cast<std::uint8_t>(0x10 + i % 7));
  w.i32(textureBytes);
  for (std::size_t i = 0; i < rows * 768; ++i) w.u8(static_cast<std::uint8_t>(0x20 + i % 11));
  w.i32(records);
  for (std::size_t i = 0; i < items(records) * 8; ++i) w.u8(static_cast<std::uint8_t>(0x30 + i % 5));
  return out;
}

class FileCommandsTest : public WindowStory {};

TEST(ReadWadErrorText, PutsOneBlankBeforeNonNegativeNumbers) {
  EXPECT_EQ(ReadWadErrorText(9, "Subscript out of range"), "ReadWAD -> error code 9\nSubscript out of range");
  EXPECT_EQ(ReadWadErrorText(-2, "x"), "ReadWAD -> error code-2\nx");
}

TEST_F(FileCommandsTest, CancelledOpenOrSaveAsKeepsTheLoadedWadAndTheReport) {
  frmMain& w = startWithStory();
  const QString report = w.rtbReport->toPlainText();
  platform.cancelOpen();
  w.mnuWAD->trigger();
  platform.cancelSave();
  w.mnuSaveAs->trigger();
  EXPECT_EQ(w.session().WadFileName, pathOf("level1.wad"));
  EXPECT_EQ(w.rtbReport->toPlainText(), report);
}

TEST_F(FileCommandsTest, OpeningWadWithoutSwdKeepsThePreviousSwd) {
  frmMain& w = startWithStory();
  platform.answerOpen(writeWad("level2.WAD", WadBuilder().version(129).build(), false));
  w.mnuWAD->trigger();
  EXPECT_EQ(w.session().WadTitle, "level2");
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("level1.swd"));
  EXPECT_EQ(w.session().swd.NumSwdEntries, 1);
  EXPECT_EQ(w.session().wad.Version, 129);
}

// Files named on Windows: the companion and the name file are found in any
// letter case, and the label shows the SWD's name as it is on disk.
TEST_F(FileCommandsTest, SwdAndNameFileAreFoundWhateverTheirLetterCase) {
  platform.programFolder = dir.path().string();
  ObjectNamesFileContent names;
  names.objectNames = {"LARA"};
  WriteObjectNames(dir / "tr4objects.DAT", names);
  WriteFileBytes(dir / "TUT1.SWD", SwdFileBytes(3));
  frmMain& w = startWith(writeWad("tut1.WAD", StoryWad(), false));
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("TUT1.SWD"));
  EXPECT_EQ(w.session().swd.NumSwdEntries, 3);
  EXPECT_EQ(*w.session().names.ObjectName(0), "LARA");
  EXPECT_EQ(platform.story.size(), 1u);
}

// However far the reading got, the held SWD stays exactly as it was, while
// the WAD opened with it is taken.
TEST_F(FileCommandsTest, UnreadableSwdIsToldOnceAndTheHeldSwdStaysWhileTheOpenGoesOn) {
  WriteFileBytes(dir / "level1.swd", SwdWithCounts(3, 768 * 2, 4, 2));
  frmMain& w = startWith(writeWad("level1.wad", StoryWad(), false));
  const SwdDocument held = w.session().swd;
  ASSERT_EQ(held.SwdTextData.size(), 2u);
  // The second breaks after two good sections: a reader that filled the held
  // document as it went would leave them behind.
  const Bytes broken[] = {SwdWithCounts(-1, 0, 0), SwdWithCounts(2, 768, INT_MIN, 1)};
  for (std::int32_t version = 0; version < 2; ++version) {
    SCOPED_TRACE(version);
    const std::string title = "broken" + std::to_string(version);
    platform.answerOpen(writeWad(title + ".wad", WadBuilder().version(version).build(), false));
    WriteFileBytes(dir / (title + ".swd"), broken[version]);
    platform.answerMessage();
    platform.messageTexts.clear();
    w.mnuWAD->trigger();
    ASSERT_EQ(platform.messageTexts.size(), 1u);
    EXPECT_EQ(w.session().swd, held);
    EXPECT_EQ(w.session().wad.Version, version);
    EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: " + title);
  }
}

TEST_F(FileCommandsTest, HiddenWadCountsAsMissing) {
  frmMain& w = startWith(writeWad(".level1.wad", StoryWad()));
  EXPECT_FALSE(w.session().WadLoaded);
  EXPECT_TRUE(w.lblFilename[0]->text().isEmpty());
}

TEST_F(FileCommandsTest, SaveAsTakesTheNewNameEverywhereAndLaterSavesGoThere) {
  frmMain& w = startWithStory();
  w.mnuDetailed->trigger();
  const std::string copy = pathOf("copy");  // no extension: used as typed
  platform.answerSave(copy);
  w.mnuSaveAs->trigger();
  EXPECT_EQ(platform.story.back(),
            "Save [Save as New Wad file] TR WAD file (*.wad)|*.wad #1 name=level1 overwrite-prompt path-must-exist");
  EXPECT_EQ(ReadFileBytes(copy), WadFileBytes(StoryWad()));
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), copy);
  EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: copy");
  EXPECT_EQ(w.session().DetailLevel, 1);
  WriteFileBytes(copy, Bytes{1, 2, 3});
  w.mnuSave->trigger();
  EXPECT_EQ(ReadFileBytes(copy), WadFileBytes(StoryWad()));
}

TEST_F(FileCommandsTest, FailingSavesAreToldAndLeaveWhatWasThere) {
  const std::string wad = pathOf("level1.wad");
  frmMain& w = startWithStory();
  // A folder where the file should go: the rename over it fails.
  std::filesystem::remove(wad);
  std::filesystem::create_directory(wad);
  WriteFileBytes(dir / "level1.wad" / "keep", Bytes{7});
  platform.answerMessage();
  w.mnuSave->trigger();
  ASSERT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_NE(platform.messageTexts[0].find(wad), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir / "level1.wad" / "keep"), Bytes{7});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "no temporary file stays";
  // Save as goes on with its later steps after a failed write.
  const std::string target = pathOf("missing-folder/copy.wad");
  platform.answerSave(target);
  platform.answerMessage();
  w.mnuSaveAs->trigger();
  EXPECT_EQ(platform.messageTexts.size(), 2u);
  EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: copy");
}

TEST_F(FileCommandsTest, OpenWasReadsTheChosenSwd) {
  frmMain& w = startWithStory();
  WriteFileBytes(dir / "sprites.swd", SwdFileBytes(3));
  platform.answerOpen(pathOf("sprites.swd"));
  w.mnuWAS->trigger();
  EXPECT_EQ(platform.story.back(), "Open []  #1 name= must-exist");
  EXPECT_EQ(w.session().swd.NumSwdEntries, 3);
}

}  // namespace
}  // namespace tarnlow::ui::test
