// Command-line arguments outside the ANSI code page: on Windows they arrive
// through the wide command line, elsewhere as UTF-8 bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_process.h"
#include "tests/report/golden_report.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/file_paths.h"

namespace tarnlow::test {
namespace {

TEST(CliWideNames, WadAndOutputNamedOutsideTheAnsiCodePageWorkLikePlainNames) {
  TempDir dir;
  const Bytes wad = WadFileBytes(GoldenDocument());
  const std::filesystem::path plain = dir / "plain.wad";
  const std::filesystem::path wide = dir.path() / u8"Łódź-Ωμέγα-日本.wad";
  WriteFileBytes(plain, wad);
  WriteFileBytes(wide, wad);
  const CliRun expected = RunCliProcess({"objects", Utf8FromPath(plain)}, dir.path());
  const CliRun objects = RunCliProcess({"objects", Utf8FromPath(wide)}, dir.path());
  EXPECT_EQ(objects.status, 0) << objects.err;
  EXPECT_EQ(objects.out, expected.out);
  // dump names the file it read: the name comes back whole, as UTF-8.
  const CliRun dump = RunCliProcess({"dump", Utf8FromPath(wide)}, dir.path());
  EXPECT_EQ(dump.status, 0) << dump.err;
  EXPECT_NE(dump.out.find(Utf8FromPath(wide.filename())), std::string::npos);
  const CliRun copy = RunCliProcess({"copy", Utf8FromPath(wide), Utf8FromPath(dir.path() / u8"копия.wad")}, dir.path());
  EXPECT_EQ(copy.status, 0) << copy.err;
  EXPECT_EQ(ReadFileBytes(dir.path() / u8"копия.wad"), wad);
}

}  // namespace
}  // namespace tarnlow::test
