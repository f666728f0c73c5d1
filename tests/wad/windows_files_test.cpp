// File behaviours that Windows answers differently from POSIX: run in both
// suites, they pin one outcome for both.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <cstdio>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "tests/support/wad_fault.h"
#include "wad/exclusive_file.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace tarnlow {
namespace {

using test::ReadFileBytes;
using test::WadBuilder;
using test::WadFileBytes;
using test::WriteFileBytes;

int ReadWadErrorNumber(const std::filesystem::path& path) {
  std::int64_t length = 0;
  return test::FaultOf([&] { ReadWAD(path, length); }).first;
}

TEST(ExclusiveCreate, SecondCreateOfTheSameNameFailsAndKeepsTheFirstFile) {
  test::TempDir dir;
  int error = 0;
  std::FILE* first = CreateExclusive(dir / "t.tmp", error);
  ASSERT_NE(first, nullptr) << error;
  ASSERT_EQ(std::fwrite("first", 1, 5, first), 5u);
  ASSERT_EQ(std::fclose(first), 0);
  EXPECT_EQ(CreateExclusive(dir / "t.tmp", error), nullptr);
  EXPECT_EQ(error, EEXIST);
  EXPECT_EQ(ReadFileBytes(dir / "t.tmp"), Bytes({'f', 'i', 'r', 's', 't'}));
}

// Windows refuses to open a folder with EACCES; the reader still says it is one.
TEST(WindowsFiles, FolderMissingFileOrPipeGivenAsAWadFailsWithItsOwnNumber) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "level.wad");
  EXPECT_EQ(ReadWadErrorNumber(dir / "level.wad"), EISDIR);
  EXPECT_EQ(ReadWadErrorNumber(dir / "absent.wad"), ENOENT);
#ifndef _WIN32
  // A reader that opened a pipe plainly would wait forever for a writer.
  ASSERT_EQ(::mkfifo((dir / "pipe.wad").c_str(), 0600), 0);
  EXPECT_EQ(ReadWadErrorNumber(dir / "pipe.wad"), EINVAL);
#endif
}

// A name outside every ANSI code page reaches the system whole.
TEST(WindowsFiles, WadNamedOutsideTheAnsiCodePageIsWrittenAndReadBack) {
  test::TempDir dir;
  const std::filesystem::path path = dir.path() / u8"Łódź-Ωμέγα-日本.wad";
  const WadDocument document = WadBuilder().build();
  WriteWAD(path, document);
  std::int64_t length = 0;
  EXPECT_EQ(ReadWAD(path, length), document);
  EXPECT_EQ(ReadFileBytes(path), WadFileBytes(document));
}

#ifdef _WIN32
// Windows will not replace a read-only file; the save fails and keeps it.
TEST(WindowsFiles, ReadOnlyTargetIsKeptAndTheSaveFails) {
  test::TempDir dir;
  WriteFileBytes(dir / "level.wad", Bytes(10, 0x44));
  std::filesystem::permissions(dir / "level.wad", std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                      std::filesystem::perms::others_read);
  EXPECT_THROW(WriteWAD(dir / "level.wad", WadBuilder().build()), WadError);
  EXPECT_EQ(ReadFileBytes(dir / "level.wad"), Bytes(10, 0x44));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}
#endif

}  // namespace
}  // namespace tarnlow
