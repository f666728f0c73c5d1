#include <gtest/gtest.h>

#include <filesystem>

#include "report/report_files.h"
#include "tests/cli/cli_process.h"
#include "tests/report/golden_report.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

const std::string kAt = "2024-03-05 14:05:09";

// golden.wad in a folder of its own, so that its title and length match the
// golden reports.
struct GoldenWad {
  GoldenWad() { WriteFileBytes(wad, WadFileBytes(GoldenDocument())); }
  TempDir dir;
  std::string wad = (dir / "golden.wad").string();
};

// `actual` with the folder replaced by "DIR" equals tests/cli/golden/`name`.
void ExpectGolden(const std::string& name, std::string actual, const std::filesystem::path& folder) {
  for (std::size_t at; (at = actual.find(folder.string())) != std::string::npos;) actual.replace(at, folder.string().size(), "DIR");
  ExpectGoldenFile(std::filesystem::path(TARNLOW_CLI_GOLDEN_DIR) / name, actual);
}

TEST(CliReport, FixedTimeGivesTheGoldenReportInEachFormatOnStdoutOrInTheFile) {
  const GoldenWad files;
  const struct { std::vector<std::string> options; std::string expected; } cases[] = {
      {{"--level", "0"}, PlainReportText(ReadGolden(0))},
      {{"--level", "2"}, PlainReportText(ReadGolden(2))},
      {{"--level", "1", "--format", "csv"}, PlainReportText(ReadGolden(1))},
      {{"--level", "1", "--format", "rtf"}, RichReportText(ReadGolden(1))},
      {{"-o", (files.dir / "stats.CSV").string()}, PlainReportText(ReadGolden(0))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.options));
    std::vector<std::string> args = {"report", "--at", kAt, files.wad};
    args.insert(args.begin() + 1, c.options.begin(), c.options.end());
    const CliRun run = RunCliProcess(args, files.dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Bytes written = ReadFileBytes(files.dir / "stats.CSV");
    EXPECT_EQ(c.options[0] == "-o" ? std::string(written.begin(), written.end()) : run.out, c.expected);
  }
}

TEST(CliReport, WithoutAtTheHeaderCarriesTheCurrentDate) {
  const GoldenWad files;
  const CliRun run = RunCliProcess({"report", files.wad}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string expected = PlainReportText(ReadGolden(0));
  ASSERT_EQ(run.out.size(), expected.size());
  EXPECT_NE(run.out, expected);
  EXPECT_EQ(run.out.substr(0, 80), expected.substr(0, 80));
}

// Paths sorted, quoted when they hold a comma, each broken or missing file
// with the error number of its read.
TEST(CliSummary, OneRowPerWadWithTheErrorOfABrokenOne) {
  TempDir dir;
  std::filesystem::create_directories(dir / "levels" / "sub");
  WadLayout broken = WadLayout::Of(GoldenDocument());
  broken.counts[5] = 0;
  WriteFileBytes(dir / "levels" / "sub" / "b.WAD", broken.bytes());
  WriteFileBytes(dir / "levels" / "a,\"b\".wad", WadFileBytes(GoldenDocument()));
  WriteFileBytes(dir / "levels" / "notes.txt", Bytes{1, 2, 3});
  for (const char* jobs : {"1", "4"}) {
    SCOPED_TRACE(jobs);
    const CliRun run = RunCliProcess(
        {"summary", "--jobs", jobs, (dir / "levels").string(), (dir / "missing.wad").string()}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    ExpectGolden("summary.csv", run.out, dir.path());
  }
}

TEST(CliDump, WritesEveryRecordAsJson) {
  const GoldenWad files;
  const CliRun run = RunCliProcess({"dump", files.wad}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectGolden("dump.json", run.out, files.dir.path());
}

}  // namespace
}  // namespace tarnlow::test
