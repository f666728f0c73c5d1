#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

TEST(CliCopy, WritesTheBytesTheReaderTookAndNothingAfterTheStaticMeshes) {
  const Bytes original = WadFileBytes(WadBuilder()
                                          .version(129)
                                          .meshes({SimpleMesh(), NullShapeMesh()})
                                          .moveables({Moveable(0, 2, 0), Moveable(90, 1, 1)})
                                          .staticMeshes({StaticMeshRecord{}, StaticMeshRecord{}})
                                          .build());
  Bytes withTail = original;
  withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
  for (const Bytes& input : {original, withTail}) {
    SCOPED_TRACE(input.size());
    TempDir dir;
    WriteFileBytes(dir / "in.wad", input);
    const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), (dir / "out.wad").string()}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(ReadFileBytes(dir / "out.wad"), original);
  }
}

TEST(CliCopy, UnwritableTargetExitsWith1AndTheReason) {
  TempDir dir;
  WriteFileBytes(dir / "in.wad", WadFileBytes(WadBuilder().build()));
  const std::filesystem::path target = dir / "no-such-folder" / "out.wad";
  const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), target.string()}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("copy: cannot write " + target.string() + ": ", 0), 0u) << run.err;
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace tarnlow::test
