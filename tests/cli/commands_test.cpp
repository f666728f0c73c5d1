// What every command shares: help, usage errors, unreadable WADs and
// outputs that cannot be written.
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

TEST(CliCommands, HelpNamesEveryCommand) {
  TempDir dir;
  for (const char* spelling : {"help", "--help", "-h"}) {
    SCOPED_TRACE(spelling);
    const CliRun run = RunCliProcess({spelling}, dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* command : {"objects", "copy", "report", "summary", "dump", "textures", "mesh"}) {
      EXPECT_NE(run.out.find(std::string("\n  ") + command + " "), std::string::npos) << "help lacks " << command;
    }
  }
}

TEST(CliCommands, WrongCommandLinesExitWith64AndNameTheCommand) {
  TempDir dir;
  // A usage error never gets as far as reading a WAD, so none exists.
  const std::string wad = (dir / "never-read.wad").string();
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
    EXPECT_TRUE(run.err.starts_with("tarnlow-cli: " + (known ? args[0] + ": " : std::string()))) << run.err;
  }
}

// The error number of the failed read comes first on stderr.
TEST(CliCommands, UnreadableWadExitsWith2WithTheReadErrorNumberAndWritesNothing) {
  TempDir dir;
  WadLayout broken = WadLayout::Of(WadBuilder().build());
  broken.counts[5] = 0;  // NumStateChanges: error 9
  WriteFileBytes(dir / "broken.wad", broken.bytes());
  WriteObjectNames(dir / "names.dat", ObjectNamesFileContent{});
  const std::string wad = (dir / "broken.wad").string();
  const std::string written = (dir / "written").string();
  const std::vector<std::string> cases[] = {
      {"copy", wad, written}, {"objects", "--names", (dir / "names.dat").string(), wad}, {"report", "-o", written, wad},
      {"dump", wad}, {"textures", wad, "-o", written}, {"mesh", "--pointer", "0", wad, "-o", written},
      {"report", (dir / "missing.wad").string()},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with(args.back().ends_with("missing.wad") ? "ReadWAD -> error code 2\n"
                                                                         : "ReadWAD -> error code 9\n")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(written));
  }
}

TEST(CliCommands, OutputThatCannotBeWrittenExitsWith1) {
  TempDir dir;
  WriteFileBytes(dir / "in.wad", WadFileBytes(WadBuilder().build()));
  WriteFileBytes(dir / "plain-file", Bytes{1});
  const std::string wad = (dir / "in.wad").string(), missing = (dir / "missing" / "out").string();
  const std::vector<std::string> cases[] = {
      {"copy", wad, missing}, {"report", "-o", missing, wad}, {"textures", wad, "-o", (dir / "plain-file").string()}};
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0]);
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with(args[0] + ": ")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  }
}

}  // namespace
}  // namespace tarnlow::test
