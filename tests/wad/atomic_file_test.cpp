#include "wad/atomic_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "tests/support/temp_dir.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

std::vector<std::string> Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

#ifndef _WIN32
unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}
#endif

const Bytes kOld(50, 0x0D);
const Bytes kNew = {1, 2, 3};

// POSIX only (modes, umask, fifos, root); the Windows counterparts are in
// windows_files_test.cpp.
#ifndef _WIN32
// The temporary file is private while written; the file it becomes keeps the
// mode of the target it replaces, or a new target gets the mode the umask gives.
TEST(AtomicFile, CommitReplacesTheTargetWithExactlyTheWrittenBytesAndTheUsualMode) {
  test::TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  ASSERT_EQ(::chmod((dir / "t.bin").c_str(), 0640), 0);
  const mode_t mask = ::umask(022);
  for (const char* name : {"t.bin", "new.bin"}) {
    AtomicFile file(dir / name);
    file.write(kNew);
    file.writeZeros(70'000);
    file.commit();
  }
  ::umask(mask);
  Bytes expected = kNew;
  expected.resize(3 + 70'000, 0);
  EXPECT_EQ(ReadFileBytes(dir / "t.bin"), expected);
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"new.bin", "t.bin"}));
  EXPECT_EQ(ModeOf(dir / "t.bin"), 0640u);
  EXPECT_EQ(ModeOf(dir / "new.bin"), 0644u);
}
#endif

TEST(AtomicFile, TargetStaysUntouchedUntilCommitAndAnAbandonedWriteLeavesNoTrace) {
  test::TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  {
    AtomicFile file(dir / "t.bin");
    file.write(kNew);
    EXPECT_EQ(ReadFileBytes(dir / "t.bin"), kOld);
    EXPECT_EQ(Listing(dir.path()).size(), 2u);
  }
  EXPECT_EQ(ReadFileBytes(dir / "t.bin"), kOld);
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"t.bin"});
}

// POSIX only (modes, umask, fifos, root); the Windows counterparts are in
// windows_files_test.cpp.
#ifndef _WIN32
// Root writes anywhere; a parent that is a regular file stops it too.
TEST(AtomicFile, FolderThatCannotBeWrittenFailsWithTheSystemError) {
  test::TempDir dir;
  const bool root = ::geteuid() == 0;
  if (root) {
    WriteFileBytes(dir / "locked", kOld);
  } else {
    std::filesystem::create_directory(dir / "locked");
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  try {
    AtomicFile file(dir / "locked" / "t.bin");
    FAIL() << "no error";
  } catch (const WadError& e) {
    EXPECT_EQ(e.number(), root ? ENOTDIR : EACCES);
    EXPECT_NE(e.where().find("t.bin"), std::string::npos);
  }
}
#endif

TEST(AtomicFile, CommitOntoAFolderFailsAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "t.bin");
  AtomicFile file(dir / "t.bin");
  file.write(kNew);
  EXPECT_THROW(file.commit(), WadError);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "t.bin"));
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"t.bin"});
}

}  // namespace
}  // namespace tarnlow
