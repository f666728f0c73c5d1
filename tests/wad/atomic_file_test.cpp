#include "wad/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

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

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

const Bytes kOld(50, 0x0D);
const Bytes kNew = {1, 2, 3};

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

// Runs `action` in a child process as a user who may create no file in a
// folder of root's (nobody, when the tests run as root). Returns what the
// action returned, or -1 when the child did not end normally.
int RunAsPlainUser(const std::function<int()>& action) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
    ::_exit(action());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// In a folder that allows no new file, a target the user may write is
// written in place at commit, and left as it was until then; anything else
// fails with the system's error and touches nothing.
TEST(AtomicFile, FolderThatAllowsNoNewFileWritesAWritableTargetInPlace) {
  const bool root = ::geteuid() == 0;
  const struct {
    const char* name;
    mode_t mode;  // 0: no such file
    bool commit;
    int error;
    Bytes after;
  } cases[] = {
      {"writable.bin", 0666, true, 0, kNew},
      {"abandoned.bin", 0666, false, 0, kOld},
      {"read-only.bin", 0444, true, EACCES, kOld},
      {"new.bin", 0, true, EACCES, {}},
  };
  test::TempDir dir;
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directory(locked);
  for (const auto& c : cases) {
    if (c.mode == 0) continue;
    WriteFileBytes(locked / c.name, kOld);
    ASSERT_EQ(::chmod((locked / c.name).c_str(), c.mode), 0);
  }
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(locked.c_str(), root ? 0755 : 0555), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int error = RunAsPlainUser([&] {
      try {
        AtomicFile file(locked / c.name);
        file.write(kNew);
        if (c.commit) file.commit();
        return 0;
      } catch (const WadError& e) {
        return e.number();
      }
    });
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(ReadFileBytes(locked / c.name), c.after);
  }
  ASSERT_EQ(::chmod(locked.c_str(), 0755), 0);
  EXPECT_EQ(Listing(locked).size(), 3u);
}

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
