// What every command shares: help, usage errors and unreadable WADs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/object_names_file.h"

namespace tarnlow::test {
namespace {

TEST(CliCommands, HelpDocumentsEveryCommandAndTheExitStatuses) {
  TempDir dir;
  for (const char* spelling : {"help", "--help", "-h"}) {
    SCOPED_TRACE(spelling);
    const CliRun run = RunCliProcess({spelling}, dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* expected : {"objects [--names FILE] WAD", "copy IN.wad OUT.wad", "Unknown FaceType - Face N",
                                 "ReadWAD -> error code N", "Exit status"}) {
      EXPECT_NE(run.out.find(expected), std::string::npos) << "help lacks: " << expected;
    }
  }
}

TEST(CliCommands, WrongCommandLinesExitWith64AndNameTheCommand) {
  TempDir dir;
  // A usage error never gets as far as reading a WAD, so none exists.
  const std::string wad = (dir / "never-read.wad").string();
  // One line per command.
  const std::vector<std::vector<std::string>> cases = {
      {}, {"bogus"},
      {"objects"}, {"objects", wad, wad}, {"objects", wad, "--names"}, {"objects", "--colour", wad},
      {"copy", wad}, {"copy", wad, wad, wad}, {"copy", "--force", wad, wad},
      {"report"}, {"report", wad, wad}, {"report", "--level", "3", wad}, {"report", "--level"},
      {"report", "--format", "pdf", wad}, {"report", "--at", "2024-13-05 14:05:09", wad},
      {"report", "--at", "2024-03-05T14:05:09", wad}, {"report", "--at", "2024-03-05 24:00:00", wad},
      {"summary"}, {"summary", "--jobs", "0", wad}, {"summary", "--jobs", "many", wad},
      {"dump"}, {"dump", wad, wad},
      {"textures", wad}, {"textures", "-o", "out"}, {"textures", wad, wad, "-o", "out"},
      {"textures", wad, "-o", "out", "--png"},
      {"mesh", wad, "-o", "m.obj"}, {"mesh", "--object", "1", wad, "-o", "m.obj"},
      {"mesh", "--mesh", "1", wad, "-o", "m.obj"},
      {"mesh", "--object", "1", "--mesh", "0", "--pointer", "3", wad, "-o", "m.obj"},
      {"mesh", "--pointer", "-1", wad, "-o", "m.obj"}, {"mesh", "--pointer", "2x", wad, "-o", "m.obj"},
      {"mesh", "--pointer", "2", wad},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.out, "");
    const bool known = args.size() > 0 && args[0] != "bogus";
    EXPECT_EQ(run.err.rfind("tarnlow-cli: " + (known ? args[0] + ": " : std::string()), 0), 0u) << run.err;
  }
}

TEST(CliCommands, UnreadableWadExitsWith2WithTheReadWadMessageAndWritesNothing) {
  TempDir dir;
  WadLayout broken = WadLayout::Of(WadBuilder().moveables({Moveable(0, 0, 0)}).build());
  broken.counts[5] = 0;  // NumStateChanges: error 9
  WriteFileBytes(dir / "broken.wad", broken.bytes());
  WriteObjectNames(dir / "names.dat", ObjectNamesFileContent{});
  const std::string wad = (dir / "broken.wad").string();
  const std::string written = (dir / "written").string();
  const struct { std::vector<std::string> args; std::string prefix; } cases[] = {
      {{"copy", wad, written}, "ReadWAD -> error code 9\n"},
      {{"objects", "--names", (dir / "names.dat").string(), wad}, "ReadWAD -> error code 9\n"},
      {{"report", wad}, "ReadWAD -> error code 9\n"},
      {{"report", "-o", written, (dir / "missing.wad").string()}, "ReadWAD -> error code 2\n"},
      {{"dump", wad}, "ReadWAD -> error code 9\n"},
      {{"textures", wad, "-o", written}, "ReadWAD -> error code 9\n"},
      {{"mesh", "--pointer", "0", wad, "-o", written}, "ReadWAD -> error code 9\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const CliRun run = RunCliProcess(c.args, dir.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.prefix, 0), 0u) << run.err;
    EXPECT_GT(run.err.size(), c.prefix.size()) << "no description after the number";
    EXPECT_FALSE(std::filesystem::exists(written));
  }
}

}  // namespace
}  // namespace tarnlow::test
