// merge and remove: OUT's set is written only when the result proves.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_process.h"
#include "tests/support/object_wad.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

class CliMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir / "target.wad", WadFileBytes(ObjectWad({{0, {1}, 2}, {20, {2}}})));
    WriteFileBytes(dir / "target.swd", SwdFileBytes({1, 1, 1}, {8, 8, 8}));
    WriteFileBytes(dir / "source.wad", WadFileBytes(ObjectWad({{20, {3}}, {21, {4}, 2}})));
  }
  CliRun run(const std::vector<std::string>& args) { return RunCliProcess(args, dir.path()); }
  std::string at(const char* name) { return (dir / name).string(); }

  TempDir dir;
};

TEST_F(CliMerge, WritesTheProvenSetAndRemovesItAgain) {
  const CliRun merged = run({"merge", at("target.wad"), "--from", at("source.wad"), "--object", "1", "-o", at("out.wad")});
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(ReadFileBytes(dir / "out.swd"), ReadFileBytes(dir / "target.swd"));
  const CliRun removed = run({"remove", at("out.wad"), "--object", "2", "-o", at("back.wad")});
  ASSERT_EQ(removed.status, 0) << removed.err;
  EXPECT_LT(ReadFileBytes(dir / "back.wad").size(), ReadFileBytes(dir / "out.wad").size());
}

TEST_F(CliMerge, RefusedMergeWritesNothing) {
  const CliRun taken = run({"merge", at("target.wad"), "--from", at("source.wad"), "--object", "0", "-o", at("out.wad")});
  EXPECT_EQ(taken.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.wad"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.swd"));
}

TEST_F(CliMerge, WrongCommandLinesExitWith64) {
  const std::vector<std::vector<std::string>> cases = {
      {"merge", at("target.wad"), "--from", at("source.wad"), "--object", "0"},
      {"merge", at("target.wad"), "--object", "0", "--from", at("source.wad"), "-o", at("out.wad")},
      {"merge", at("target.wad"), "--from", at("source.wad"), "--sounds", "mine", "-o", at("out.wad")},
      {"remove", at("target.wad"), "--from", at("source.wad"), "-o", at("out.wad")},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    EXPECT_EQ(run(args).status, 64);
  }
}

}  // namespace
}  // namespace tarnlow::test
