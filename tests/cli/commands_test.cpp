#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"

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

TEST(CliCommands, WrongCommandLinesExitWith64AndSaySo) {
  TempDir dir;
  const std::string wad = (dir / "never-read.wad").string();
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"bogus"},
      {"objects"},
      {"objects", wad, wad},
      {"objects", wad, "--names"},
      {"objects", "--colour", wad},
      {"copy", wad},
      {"copy", wad, wad, wad},
      {"copy", "--force", wad, wad},
  };
  for (const std::vector<std::string>& args : cases) {
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("tarnlow-cli: ", 0), 0u) << run.err;
    // A usage error never gets as far as reading a WAD.
    EXPECT_EQ(run.err.find("ReadWAD"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace tarnlow::test
