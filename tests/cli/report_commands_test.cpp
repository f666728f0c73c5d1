#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

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

// A WAD whose NumStateChanges is 0: ReadWAD fails with 9.
Bytes BrokenWadBytes() {
  WadLayout broken = WadLayout::Of(GoldenDocument());
  broken.counts[5] = 0;
  return broken.bytes();
}

TEST(CliReport, FixedTimeGivesTheGoldenReportInEachFormat) {
  const GoldenWad files;
  const struct { std::vector<std::string> options; std::string expected; } cases[] = {
      {{"--level", "0"}, PlainReportText(ReadGolden(0))},
      {{"--level", "1"}, PlainReportText(ReadGolden(1))},
      {{"--level", "2"}, PlainReportText(ReadGolden(2))},
      {{"--level", "1", "--format", "csv"}, PlainReportText(ReadGolden(1))},
      {{"--level", "1", "--format", "rtf"}, RichReportText(ReadGolden(1))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.options));
    std::vector<std::string> args = {"report", "--at", kAt, files.wad};
    args.insert(args.begin() + 1, c.options.begin(), c.options.end());
    const CliRun run = RunCliProcess(args, files.dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST(CliReport, OutputFileHoldsTheReportAndStdoutStaysEmpty) {
  const GoldenWad files;
  const std::filesystem::path target = files.dir / "stats.CSV";
  const CliRun run = RunCliProcess({"report", "-o", target.string(), "--at", kAt, files.wad}, files.dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const Bytes written = ReadFileBytes(target);
  EXPECT_EQ(std::string(written.begin(), written.end()), PlainReportText(ReadGolden(0)));
}

TEST(CliReport, UnwritableOutputExitsWith1AndTheReason) {
  const GoldenWad files;
  const std::filesystem::path target = files.dir / "missing" / "stats.txt";
  const CliRun run = RunCliProcess({"report", "-o", target.string(), files.wad}, files.dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("report: cannot write " + target.string() + ": ", 0), 0u) << run.err;
}

TEST(CliReport, WithoutAtTheHeaderCarriesTheCurrentDate) {
  const GoldenWad files;
  const CliRun run = RunCliProcess({"report", files.wad}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  for (int i = 0; i < 4; ++i) std::getline(lines, line);
  EXPECT_TRUE(line.starts_with("Made on 20")) << line;
  EXPECT_EQ(line.size(), std::string("Made on 2024/03/05; 14:05:09\r").size()) << line;
}

TEST(CliSummary, OneRowPerWadInSortedOrderWithTheErrorOfABrokenOne) {
  TempDir dir;
  std::filesystem::create_directories(dir / "levels" / "sub");
  WriteFileBytes(dir / "levels" / "sub" / "b.WAD", BrokenWadBytes());
  WriteFileBytes(dir / "levels" / "a.wad", WadFileBytes(GoldenDocument()));
  WriteFileBytes(dir / "levels" / "notes.txt", Bytes{1, 2, 3});
  const std::string expected =
      "Path,Status,Version,FileSize,NumTextInfo,NumTextData,NumMeshPointers,NumMeshData,NumAnimations,"
      "NumStateChanges,NumAnimDispatches,NumAnimCommands,NumMeshTrees,NumFrames,NumMoveables,NumStaticMeshes\n" +
      (dir / "levels" / "a.wad").string() + ",ok,130," + std::to_string(WadFileBytes(GoldenDocument()).size()) +
      ",3,1536,4,20,3,2,3,5,3,4,2,2\n" + (dir / "levels" / "sub" / "b.WAD").string() +
      ",ReadWAD -> error code 9,," + std::to_string(BrokenWadBytes().size()) + ",,,,,,,,,,,,\n";
  for (const char* jobs : {"1", "4"}) {
    SCOPED_TRACE(jobs);
    const CliRun run = RunCliProcess({"summary", "--jobs", jobs, (dir / "levels").string()}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
  }
}

// Windows allows no quote in a file name.
#ifndef _WIN32
TEST(CliSummary, QuotesPathsWithCommasAndReportsMissingFiles) {
  TempDir dir;
  WriteFileBytes(dir / "a,\"b\".wad", WadFileBytes(GoldenDocument()));
  const CliRun run =
      RunCliProcess({"summary", (dir / "a,\"b\".wad").string(), (dir / "missing.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string header, first, second;
  std::getline(std::getline(std::getline(lines, header), first), second);
  EXPECT_EQ(first.rfind("\"" + dir.path().string() + "/a,\"\"b\"\".wad\",ok,130,", 0), 0u) << first;
  EXPECT_EQ(second.rfind((dir / "missing.wad").string() + ",ReadWAD -> error code ", 0), 0u) << second;
}
#endif

TEST(CliDump, ParsesAsJsonWithEveryRecord) {
  const GoldenWad files;
  const CliRun run = RunCliProcess({"dump", files.wad}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json dump = nlohmann::json::parse(run.out);
  // One field or more of every list, read at the positions the golden
  // document fills with telling values.
  const std::pair<const char*, nlohmann::json> fields[] = {
      {"/Version", 130}, {"/fileSize", WadFileBytes(GoldenDocument()).size()}, {"/counts/NumTextData", 1536},
      {"/TextData/rows", 2}, {"/MeshPointers", {0, 1234, -1, 786432}},
      {"/MeshData/bytes", 40}, {"/Animations/1/FrameOffset", -1234567}, {"/Animations/1/FrameRate", 255},
      {"/Animations/1/Unknown2/7", 229}, {"/Animations/1/AnimCommandCount", 999},
      {"/StateChanges/1/AnimDispatches", 32767}, {"/AnimDispatches/1/NextFrame", 1234},
      {"/AnimCommands", {1, -2, 300, 32767, -32768}}, {"/MeshTrees", {0, 2, 65536}},
      {"/Moveables/1/ObjectID", 7}, {"/Moveables/1/StartingMesh", 3}, {"/Moveables/1/Unknown3", "000000000000"},
      {"/StaticMeshes/1", std::string(64, '0')}};
  for (const auto& [pointer, value] : fields) {
    EXPECT_EQ(dump.value(nlohmann::json::json_pointer(pointer), nlohmann::json()), value) << pointer;
  }
  EXPECT_EQ(std::tuple(dump["counts"].size(), dump["TextInfo"].size(), dump["Frames"].size()), std::tuple(12u, 3u, 4u));
}

}  // namespace
}  // namespace tarnlow::test
