#include "wad/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const Bytes kOld(50, 0x0D);
const Bytes kNew = {1, 2, 3};

TEST(AtomicFile, CommitReplacesTheTargetWithExactlyTheWrittenBytes) {
  TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  {
    AtomicFile file(dir / "t.bin");
    file.write(kNew);
    file.writeZeros(70'000);
    file.commit();
  }
  Bytes expected = kNew;
  expected.resize(3 + 70'000, 0);
  EXPECT_EQ(ReadFileBytes(dir / "t.bin"), expected);
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"t.bin"});
}

TEST(AtomicFile, TargetStaysUntouchedUntilCommit) {
  TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  AtomicFile file(dir / "t.bin");
  file.write(kNew);
  EXPECT_EQ(ReadFileBytes(dir / "t.bin"), kOld);
  EXPECT_EQ(Listing(dir.path()).size(), 2u);  // the target and the temporary file beside it
}

TEST(AtomicFile, DestroyingWithoutCommitRemovesTheTemporaryFile) {
  TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  {
    AtomicFile file(dir / "t.bin");
    file.write(kNew);
  }
  EXPECT_EQ(ReadFileBytes(dir / "t.bin"), kOld);
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"t.bin"});
}

TEST(AtomicFile, ReplacedTargetKeepsItsPermissions) {
  TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  ASSERT_EQ(::chmod((dir / "t.bin").c_str(), 0640), 0);
  AtomicFile file(dir / "t.bin");
  file.write(kNew);
  file.commit();
  struct stat info {};
  ASSERT_EQ(::stat((dir / "t.bin").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(AtomicFile, NewTargetGetsTheUsualModeNotAPrivateOne) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  {
    AtomicFile file(dir / "new.bin");
    file.commit();
  }
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat((dir / "new.bin").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST(AtomicFile, FolderThatCannotBeWrittenFailsWithTheSystemError) {
  TempDir dir;
  std::filesystem::path target;
  int expected = 0;
  if (::geteuid() == 0) {
    // Root writes anywhere; a parent that is a regular file stops it too.
    WriteFileBytes(dir / "plain", kOld);
    target = dir / "plain" / "t.bin";
    expected = ENOTDIR;
  } else {
    std::filesystem::create_directory(dir / "locked");
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    target = dir / "locked" / "t.bin";
    expected = EACCES;
  }
  try {
    AtomicFile file(target);
    FAIL() << "no error";
  } catch (const WadError& e) {
    EXPECT_EQ(e.number(), expected);
    EXPECT_NE(e.where().find("t.bin"), std::string::npos);
  }
}

TEST(AtomicFile, CommitOntoAFolderFailsAndLeavesNoTemporaryFile) {
  TempDir dir;
  std::filesystem::create_directory(dir / "t.bin");
  AtomicFile file(dir / "t.bin");
  file.write(kNew);
  EXPECT_THROW(file.commit(), WadError);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "t.bin"));
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"t.bin"});
}

}  // namespace
}  // namespace tarnlow
