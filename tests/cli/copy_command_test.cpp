#include <gtest/gtest.h>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

TEST(CliCopy, WritesTheBytesTheReaderTookAndNothingAfterTheStaticMeshes) {
  const Bytes original = WadFileBytes(
      WadBuilder().version(129).meshes({SimpleMesh(), NullShapeMesh()}).staticMeshes({StaticMeshRecord{}}).build());
  Bytes withTail = original;
  withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
  TempDir dir;
  WriteFileBytes(dir / "in.wad", withTail);
  const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), (dir / "out.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(ReadFileBytes(dir / "out.wad"), original);
}

}  // namespace
}  // namespace tarnlow::test
