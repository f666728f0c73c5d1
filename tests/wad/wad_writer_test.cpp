// Writing files safely: the atomic file under every writer, and the WAD
// writer on top of it.
#include "wad/wad_writer.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "tests/support/wad_fault.h"
#include "wad/atomic_file.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"

namespace tarnlow {
namespace {

using test::FaultOf;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::vector<std::string> Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const Bytes kOld(50, 0x0D);
const Bytes kNew = {1, 2, 3};

// A commit onto a folder fails.
TEST(AtomicFile, TargetStaysUntouchedUntilCommitAndAnAbandonedOrFailedWriteLeavesNoTrace) {
  test::TempDir dir;
  WriteFileBytes(dir / "t.bin", kOld);
  {
    AtomicFile file(dir / "t.bin");
    file.write(kNew);
    EXPECT_EQ(Listing(dir.path()).size(), 2u);
  }
  EXPECT_EQ(ReadFileBytes(dir / "t.bin"), kOld);
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"t.bin"});
  std::filesystem::create_directory(dir / "folder");
  AtomicFile file(dir / "folder");
  file.write(kNew);
  EXPECT_THROW(file.commit(), WadError);
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"folder", "t.bin"}));
}

// POSIX only (modes, umask, users); the Windows counterparts are in
// windows_files_test.cpp.
#ifndef _WIN32
unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The file it becomes keeps the mode of the target it replaces, or a new
// target gets the mode the umask gives.
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
  EXPECT_EQ(std::pair(ModeOf(dir / "t.bin"), ModeOf(dir / "new.bin")), std::pair(0640u, 0644u));
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
  // A mode of 0: no such file.
  const struct { const char* name; mode_t mode; bool commit; int error; Bytes after; } cases[] = {
      {"writable.bin", 0666, true, 0, kNew}, {"abandoned.bin", 0666, false, 0, kOld},
               {"read-only.bin", 0444, true, EACCES, kOld}, {"new.bin", 0, true, EACCES, {}}};
  test::TempDir dir;
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directory(locked);
  for (const auto& c : cases) {
    if (c.mode == 0) continue;
    WriteFileBytes(locked / c.name, kOld);
    ASSERT_EQ(::chmod((locked / c.name).c_str(), c.mode), 0);
  }
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(locked.c_str(), ::geteuid() == 0 ? 0755 : 0555), 0);
  for (const auto& c : cases) {
    const int error = RunAsPlainUser([&] {
      return FaultOf([&] {
               AtomicFile file(locked / c.name);
               file.write(kNew);
               if (c.commit) file.commit();
             }).first;
    });
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(ReadFileBytes(locked / c.name), c.after) << c.name;
  }
  ASSERT_EQ(::chmod(locked.c_str(), 0755), 0);
  EXPECT_EQ(Listing(locked).size(), 3u);
}
#endif

WadDocument SmallDocument() {
  StaticMeshRecord statue;
  statue.Bytes.fill(9);
  return test::WadBuilder().version(-7).textureRows(2).meshes({test::SimpleMesh()}).staticMeshes({statue}).build();
}

// Read, then written over a longer file: exactly the bytes the reader
// consumed, zeros where it supplied them past the end of a short file, and
// nothing of the bytes after the static meshes or of the old file. 1000
// texture bytes give one row; a negative static-mesh count reads no records.
TEST(WadWriter, WritesBackExactlyWhatTheReaderConsumed) {
  const auto with = [](int section, std::int32_t count) {
    test::WadLayout layout = test::WadLayout::Of(test::WadBuilder().build());
    layout.counts[std::size_t(section)] = count;
    return layout;
  };
  Bytes shortFileWritten = with(10, 1000).bytes();
  shortFileWritten.resize(with(10, 1000).countOffset(11) + 18 * 999 + 4, 0);
  Bytes trailer = test::WadFileBytes(SmallDocument());
  trailer.insert(trailer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  const std::pair<Bytes, Bytes> cases[] = {{trailer, test::WadFileBytes(SmallDocument())},
                                           {with(1, 1000).bytes(), with(1, 1000).bytes()},
                                           {with(11, -5).bytes(), with(11, -5).bytes()},
                                           {with(10, 1000).bytes(), shortFileWritten}};
  test::TempDir dir;
  for (const auto& [file, expected] : cases) {
    WriteFileBytes(dir / "in.wad", file);
    WriteFileBytes(dir / "out.wad", Bytes(100'000, 0xCC));
    std::int64_t length = 0;
    WriteWAD(dir / "out.wad", ReadWAD(dir / "in.wad", length));
    EXPECT_EQ(ReadFileBytes(dir / "out.wad"), expected) << file.size();
  }
}

// Each array out of step with its count: refused before the disk is touched.
TEST(WadWriter, ArrayThatDisagreesWithItsCountIsRefusedAndTheTargetKept) {
  const std::pair<const char*, void (*)(WadDocument&)> cases[] = {
      {"TextInfo", [](WadDocument& d) { d.NumTextInfo = 2; }},    {"TextData", [](WadDocument& d) { d.NumTextData = 768 * 3; }},
      {"MeshPointers", [](WadDocument& d) { d.NumMeshPointers += 1; }}, {"MeshData", [](WadDocument& d) { d.MeshData.push_back(0); }},
      {"Animations", [](WadDocument& d) { d.NumAnimations = 0; }}, {"StateChanges", [](WadDocument& d) { d.NumStateChanges = 3; }},
      {"AnimDispatches", [](WadDocument& d) { d.NumAnimDispatches = 5; }}, {"AnimCommands", [](WadDocument& d) { d.NumAnimCommands = 4; }},
      {"MeshTrees", [](WadDocument& d) { d.NumMeshTrees = 9; }},  {"Frames", [](WadDocument& d) { d.NumFrames = 2; }},
      {"Moveables", [](WadDocument& d) { d.NumMoveables = 2; }},  {"StaticMeshes", [](WadDocument& d) { d.NumStaticMeshes = 0; }},
  };
  test::TempDir dir;
  for (const auto& [array, spoil] : cases) {
    SCOPED_TRACE(array);
    WriteFileBytes(dir / "level.wad", Bytes(10, 0x33));
    WadDocument document = SmallDocument();
    spoil(document);
    EXPECT_EQ(FaultOf([&] { WriteWAD(dir / "level.wad", document); }),
              std::pair(int{kSubscriptOutOfRange}, std::string(array)));
    EXPECT_EQ(ReadFileBytes(dir / "level.wad"), Bytes(10, 0x33));
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"level.wad"}) << "a temporary file left";
  }
}

}  // namespace
}  // namespace tarnlow
