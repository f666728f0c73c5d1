#include "sound/sound_files.h"

#include <gtest/gtest.h>

#include "tests/support/sound_builder.h"
#include "tests/support/temp_dir.h"

namespace tarnlow {
namespace {

using test::TempDir;
using test::WriteFileBytes;

Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(SoundFiles, CompanionsAreFoundInAnyLetterCaseAndRead) {
  TempDir dir;
  std::string sam;
  WriteFileBytes(dir / "LEVEL.SFX", test::SfxBytes(test::CanonicalSfx({7}, {2}, sam)));
  WriteFileBytes(dir / "level.Sam", TextBytes(sam));
  const SoundSet set = LoadSoundFiles(dir / "Level.wad");
  EXPECT_EQ(set.paths.sfx, dir / "LEVEL.SFX");
  EXPECT_EQ(set.paths.sam, dir / "level.Sam");
  EXPECT_FALSE(set.paths.was.has_value());
  ASSERT_TRUE(set.sounds.has_value());
  EXPECT_TRUE(set.sounds->problems.empty());
  EXPECT_EQ(set.sounds->table.find(7)->samples.size(), 2u);
  EXPECT_TRUE(set.failures.empty());
}

TEST(SoundFiles, FilesThatCannotBeReadAreSaidAndTheRestIsRead) {
  TempDir dir;
  std::string sam;
  WriteFileBytes(dir / "a.sfx", test::SfxBytes(test::CanonicalSfx({7}, {1}, sam)));
  WriteFileBytes(dir / "a.was", TextBytes("A:B\n"));
  std::filesystem::resize_file(dir / "a.was", std::uintmax_t{17} << 20);
  const SoundSet set = LoadSoundFiles(dir / "a.wad");
  // The .sam is missing and the .was too large: both said, the table read.
  EXPECT_EQ(set.failures.size(), 2u);
  ASSERT_TRUE(set.sounds.has_value());
  EXPECT_EQ(set.sounds->table.slots.size(), 1u);
  EXPECT_FALSE(set.objects.has_value());
}

TEST(ObjectList, LinesSplitAtTheFirstColonAndAnEmptyFileIsSaid) {
  const ObjectListRead read = ReadObjectList("LARA:Z:\\W\\LARA.prk\r\nno colon\n:C:\\x.prk");
  EXPECT_EQ(read.entries, (std::vector<ObjectListEntry>{{"LARA", "Z:\\W\\LARA.prk"}, {"no colon", ""}, {"", "C:\\x.prk"}}));
  ASSERT_EQ(read.problems.size(), 1u);
  EXPECT_EQ(std::pair(read.problems[0].kind, read.problems[0].line), std::pair(SoundProblemKind::WasLineWithoutColon, 1));
  EXPECT_EQ(ReadObjectList("").problems.at(0).kind, SoundProblemKind::WasEmpty);
}

TEST(ObjectList, WrittenLinesCopyThePathFormOfTheFilesOwnLines) {
  const std::string was = "LARA:D:\\kit\\LARA.prk\nSAS:D:\\kit\\SAS.prk\n";
  const std::vector<ObjectListEntry> source = ReadObjectList(was).entries;
  EXPECT_EQ(WriteObjectList({"LARA", "SAS"}, source), was);
  EXPECT_EQ(WriteObjectList({"BADDY_1"}, {{"", "x"}, {"SAS", "D:\\kit\\SAS.prk"}}), "BADDY_1:D:\\kit\\BADDY_1.prk\n");
}

}  // namespace
}  // namespace tarnlow
