#include "ui/file_commands.h"

#include <climits>

#include "tests/ui/support/window_story.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "wad/object_names_file.h"
#include "wad/swd_reader.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tarnlow::ui::test {
namespace {

std::string ReportHeaderTitle(const frmMain& w) {
  return w.rtbReport->document()->findBlockByNumber(1).text().toStdString();
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

// Files named on Windows: the companion and the name file are found in any
// letter case, and the label shows the SWD's name as it is on disk.
TEST_F(FileCommandsTest, SwdAndNameFileAreFoundWhateverTheirLetterCase) {
  platform.programFolder = dir.path().string();
  ObjectNamesFileContent names;
  names.objectNames = {"LARA"};
  WriteObjectNames(dir / "tr4objects.DAT", names);
  WriteFileBytes(dir / "TUT1.SWD", SwdFileBytes({3, 0, 0}, {3 * 16, 0, 0}));
  frmMain& w = startWith(writeWad("tut1.WAD", StoryWad(), false));
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("TUT1.SWD"));
  EXPECT_EQ(w.session().swd.NumSwdEntries, 3);
  EXPECT_EQ(*w.session().names.ObjectName(0), "LARA");
  EXPECT_EQ(platform.story.size(), 1u);
}

// A WAD without an SWD beside it keeps the SWD and its label. An unreadable
// one is told once and, however far the reading got, the held SWD stays
// exactly as it was. Either way the WAD is taken.
TEST_F(FileCommandsTest, MissingOrUnreadableSwdLeavesTheHeldSwdWhileTheOpenGoesOn) {
  WriteFileBytes(dir / "level1.swd", SwdFileBytes({3, 768 * 2, 4}, {3 * 16, 768 * 2, 4 * 8}));
  frmMain& w = startWith(writeWad("level1.wad", StoryWad(), false));
  const SwdDocument held = w.session().swd;
  ASSERT_EQ(held.SwdTextData.size(), 2u);
  // None, then two broken; the last breaks after two good sections: a reader
  // that filled the held document as it went would leave them behind.
  const Bytes swds[] = {{}, SwdFileBytes({-1, 0, 0}), SwdFileBytes({2, 768, INT_MIN}, {2 * 16, 768, 0})};
  for (std::int32_t version = 0; version < 3; ++version) {
    SCOPED_TRACE(version);
    const std::string title = "level" + std::to_string(version + 2);
    platform.answerOpen(writeWad(title + ".WAD", WadBuilder().version(version).build(), false));
    const bool withSwd = !swds[version].empty();
    if (withSwd) WriteFileBytes(dir / (title + ".swd"), swds[version]);
    if (withSwd) platform.answerMessage();
    platform.messageTexts.clear();
    w.mnuWAD->trigger();
    EXPECT_EQ(platform.messageTexts.size(), withSwd ? 1u : 0u);
    EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf((withSwd ? title : "level1") + ".swd"));
    EXPECT_EQ(w.session().swd, held);
    EXPECT_EQ(w.session().wad.Version, version);
    EXPECT_EQ(ReportHeaderTitle(w), "Report on WAD: " + title);
  }
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
  WriteFileBytes(dir / "sprites.swd", SwdFileBytes({3, 0, 0}, {3 * 16, 0, 0}));
  platform.answerOpen(pathOf("sprites.swd"));
  w.mnuWAS->trigger();
  EXPECT_EQ(platform.story.back(), "Open []  #1 name= must-exist");
  EXPECT_EQ(w.session().swd.NumSwdEntries, 3);
}

TEST(QtNameFilters, TurnsDescriptionPatternPairsIntoQtFilters) {
  EXPECT_EQ(QtNameFilters("TR WAD file (*.wad)|*.wad"), QStringList{"TR WAD file (*.wad)"});
  EXPECT_EQ(QtNameFilters("RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv"),
            (QStringList{"RichText file (*.rtf)", "Text file (*.txt)", "CSV file (*.csv)"}));
  EXPECT_EQ(QtNameFilters("Levels|*.wad;*.swd"), QStringList{"Levels (*.wad *.swd)"});
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

// A hidden WAD chosen at the start is not opened.
TEST_F(FileCommandsTest, HiddenFilesAndFoldersCountAsMissing) {
  const std::string hidden = writeWad(".level1.wad", StoryWad());
#ifdef _WIN32
  // Windows hides by attribute, not by a leading dot: as Explorer and the
  // Open dialog do, a system file counts as hidden and a read-only one not.
  ASSERT_TRUE(SetFileAttributesW(PathFromUtf8(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
  const std::string system = writeWad("system.wad", StoryWad());
  ASSERT_TRUE(SetFileAttributesW(PathFromUtf8(system).c_str(), FILE_ATTRIBUTE_SYSTEM));
  EXPECT_FALSE(VisibleFileExists(system));
  const std::string readOnly = writeWad("readonly.wad", StoryWad());
  ASSERT_TRUE(SetFileAttributesW(PathFromUtf8(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(VisibleFileExists(readOnly));
#endif
  EXPECT_TRUE(VisibleFileExists(writeWad("level1.wad", StoryWad())));
  EXPECT_FALSE(VisibleFileExists(hidden));
  EXPECT_FALSE(VisibleFileExists(pathOf("none.wad")));
  EXPECT_FALSE(VisibleFileExists(dir.path().string()));
  frmMain& w = startWith(hidden);
  EXPECT_FALSE(w.session().WadLoaded);
  EXPECT_TRUE(w.lblFilename[0]->text().isEmpty());
}

}  // namespace
}  // namespace tarnlow::ui::test
