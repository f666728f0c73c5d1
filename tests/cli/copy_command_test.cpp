#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

WadDocument SomeWad() {
  return WadBuilder()
      .version(129)
      .meshes({SimpleMesh(), NullShapeMesh()})
      .moveables({Moveable(0, 2, 0), Moveable(90, 1, 1)})
      .staticMeshes({StaticMeshRecord{}, StaticMeshRecord{}})
      .build();
}

TEST(CliCopy, WritesTheSameBytes) {
  TempDir dir;
  const Bytes original = WadFileBytes(SomeWad());
  WriteFileBytes(dir / "in.wad", original);
  const CliRun copy = RunCliProcess({"copy", (dir / "in.wad").string(), (dir / "out.wad").string()}, dir.path());
  EXPECT_EQ(copy.status, 0) << copy.err;
  EXPECT_EQ(copy.out, "");
  EXPECT_EQ(copy.err, "");
  EXPECT_EQ(ReadFileBytes(dir / "out.wad"), original);
}

TEST(CliCopy, LeavesOutBytesAfterTheStaticMeshes) {
  TempDir dir;
  const Bytes original = WadFileBytes(SomeWad());
  Bytes withTail = original;
  withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
  WriteFileBytes(dir / "in.wad", withTail);
  const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), (dir / "out.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(dir / "out.wad"), original);
}

TEST(CliCopy, UnwritableTargetExitsWith1AndTheReason) {
  TempDir dir;
  WriteFileBytes(dir / "in.wad", WadFileBytes(SomeWad()));
  const std::filesystem::path target = dir / "no-such-folder" / "out.wad";
  const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), target.string()}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("copy: cannot write " + target.string() + ": ", 0), 0u) << run.err;
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(CliCopy, UnreadableSourceWritesNothing) {
  TempDir dir;
  WadLayout broken = WadLayout::Of(SomeWad());
  broken.counts[5] = 0;  // NumStateChanges
  WriteFileBytes(dir / "in.wad", broken.bytes());
  WriteFileBytes(dir / "out.wad", Bytes{9, 9, 9});
  const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), (dir / "out.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("ReadWAD -> error code 9\n", 0), 0u) << run.err;
  EXPECT_EQ(ReadFileBytes(dir / "out.wad"), (Bytes{9, 9, 9}));
}

}  // namespace
}  // namespace tarnlow::test
