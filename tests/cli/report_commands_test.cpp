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

std::string TextOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// golden.wad in `dir`, so that its title and length match the golden reports.
std::filesystem::path WriteGoldenWad(const TempDir& dir) {
  const std::filesystem::path path = dir / "golden.wad";
  WriteFileBytes(path, WadFileBytes(GoldenDocument()));
  return path;
}

// A WAD whose NumStateChanges is 0: ReadWAD fails with 9.
Bytes BrokenWadBytes() {
  WadLayout broken = WadLayout::Of(GoldenDocument());
  broken.counts[5] = 0;
  return broken.bytes();
}

TEST(CliReport, FixedTimeGivesTheGoldenReportAtEveryLevel) {
  TempDir dir;
  const std::filesystem::path wad = WriteGoldenWad(dir);
  for (int level : {0, 1, 2}) {
    SCOPED_TRACE(level);
    const CliRun run = RunCliProcess({"report", "--level", std::to_string(level), "--at", kAt, wad.string()}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, PlainReportText(ReadGolden(GoldenPath(level))));
    EXPECT_EQ(run.err, "");
  }
}

TEST(CliReport, CsvIsThePlainTextAndRtfMarksTheBoldLines) {
  TempDir dir;
  const std::filesystem::path wad = WriteGoldenWad(dir);
  const auto golden = ReadGolden(GoldenPath(1));
  const CliRun csv = RunCliProcess({"report", "--level", "1", "--format", "csv", "--at", kAt, wad.string()}, dir.path());
  EXPECT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out, PlainReportText(golden));
  const CliRun rtf = RunCliProcess({"report", "--level", "1", "--format", "rtf", "--at", kAt, wad.string()}, dir.path());
  EXPECT_EQ(rtf.status, 0) << rtf.err;
  EXPECT_EQ(rtf.out, RichReportText(golden));
}

TEST(CliReport, OutputFileHoldsTheReportAndStdoutStaysEmpty) {
  TempDir dir;
  const std::filesystem::path wad = WriteGoldenWad(dir);
  const CliRun run =
      RunCliProcess({"report", "-o", (dir / "stats.CSV").string(), "--at", kAt, wad.string()}, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(TextOf(ReadFileBytes(dir / "stats.CSV")), PlainReportText(ReadGolden(GoldenPath(0))));
}

TEST(CliReport, UnwritableOutputExitsWith1AndTheReason) {
  TempDir dir;
  const std::filesystem::path wad = WriteGoldenWad(dir);
  const std::filesystem::path target = dir / "missing" / "stats.txt";
  const CliRun run = RunCliProcess({"report", "-o", target.string(), wad.string()}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("report: cannot write " + target.string() + ": ", 0), 0u) << run.err;
}

TEST(CliReport, WithoutAtTheHeaderCarriesTheCurrentDate) {
  TempDir dir;
  const CliRun run = RunCliProcess({"report", WriteGoldenWad(dir).string()}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  for (int i = 0; i < 4; ++i) std::getline(lines, line);
  EXPECT_TRUE(line.starts_with("Made on 20")) << line;
  EXPECT_EQ(line.size(), std::string("Made on 2024/03/05; 14:05:09\r").size()) << line;
}

TEST(CliReport, BrokenWadExitsWith2AndTheReadWadMessage) {
  TempDir dir;
  WriteFileBytes(dir / "broken.wad", BrokenWadBytes());
  const CliRun run = RunCliProcess({"report", (dir / "broken.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("ReadWAD -> error code 9\n", 0), 0u) << run.err;
}

TEST(CliReport, BadArgumentsAreUsageErrors) {
  TempDir dir;
  const std::string wad = WriteGoldenWad(dir).string();
  const std::vector<std::vector<std::string>> cases = {
      {"report"},
      {"report", wad, wad},
      {"report", "--level", "3", wad},
      {"report", "--level"},
      {"report", "--format", "pdf", wad},
      {"report", "--at", "2024-13-05 14:05:09", wad},
      {"report", "--at", "2024-03-05T14:05:09", wad},
      {"report", "--at", "2024-03-05 24:00:00", wad},
      {"report", "--colour", wad},
      {"summary"},
      {"summary", "--jobs", "0", wad},
      {"summary", "--jobs", "many", wad},
      {"dump"},
      {"dump", wad, wad},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
  }
}

TEST(CliSummary, OneRowPerWadInSortedOrderWithTheErrorOfABrokenOne) {
  TempDir dir;
  std::filesystem::create_directories(dir / "levels" / "sub");
  WriteFileBytes(dir / "levels" / "sub" / "b.WAD", BrokenWadBytes());
  WriteFileBytes(dir / "levels" / "a.wad", WadFileBytes(GoldenDocument()));
  WriteFileBytes(dir / "levels" / "notes.txt", Bytes{1, 2, 3});
  const std::string good = (dir / "levels" / "a.wad").string();
  const std::string bad = (dir / "levels" / "sub" / "b.WAD").string();
  const std::string size = std::to_string(WadFileBytes(GoldenDocument()).size());
  const std::string expected =
      "Path,Status,Version,FileSize,NumTextInfo,NumTextData,NumMeshPointers,NumMeshData,NumAnimations,"
      "NumStateChanges,NumAnimDispatches,NumAnimCommands,NumMeshTrees,NumFrames,NumMoveables,NumStaticMeshes\n" +
      good + ",ok,130," + size + ",3,1536,4,20,3,2,3,5,3,4,2,2\n" +
      bad + ",ReadWAD -> error code 9,," + std::to_string(BrokenWadBytes().size()) + ",,,,,,,,,,,,\n";
  for (const char* jobs : {"1", "4"}) {
    SCOPED_TRACE(jobs);
    const CliRun run = RunCliProcess({"summary", "--jobs", jobs, (dir / "levels").string()}, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
  }
}

TEST(CliSummary, QuotesPathsWithCommasAndReportsMissingFiles) {
  TempDir dir;
  WriteFileBytes(dir / "a,\"b\".wad", WadFileBytes(GoldenDocument()));
  const std::string quoted = "\"" + dir.path().string() + "/a,\"\"b\"\".wad\"";
  const CliRun run =
      RunCliProcess({"summary", (dir / "a,\"b\".wad").string(), (dir / "missing.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string header, first, second;
  std::getline(lines, header);
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_EQ(first.rfind(quoted + ",ok,130,", 0), 0u) << first;
  EXPECT_EQ(second.rfind((dir / "missing.wad").string() + ",ReadWAD -> error code ", 0), 0u) << second;
}

TEST(CliDump, ParsesAsJsonWithEveryRecord) {
  TempDir dir;
  const CliRun run = RunCliProcess({"dump", WriteGoldenWad(dir).string()}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json dump = nlohmann::json::parse(run.out);
  const WadDocument document = GoldenDocument();
  EXPECT_EQ(dump["Version"], 130);
  EXPECT_EQ(dump["fileSize"], WadFileBytes(document).size());
  EXPECT_EQ(dump["counts"]["NumAnimations"], 3);
  EXPECT_EQ(dump["counts"]["NumTextData"], 1536);
  EXPECT_EQ(dump["counts"].size(), 12u);
  EXPECT_EQ(dump["TextInfo"].size(), 3u);
  EXPECT_EQ(dump["TextData"]["rows"], 2);
  EXPECT_EQ(dump["MeshPointers"], nlohmann::json({0, 1234, -1, 786432}));
  EXPECT_EQ(dump["MeshData"]["bytes"], 40);
  EXPECT_EQ(dump["Animations"].size(), 3u);
  EXPECT_EQ(dump["Animations"][1]["FrameOffset"], -1234567);
  EXPECT_EQ(dump["Animations"][1]["FrameRate"], 255);
  EXPECT_EQ(dump["Animations"][1]["Unknown2"][7], 229);
  EXPECT_EQ(dump["Animations"][1]["AnimCommandCount"], 999);
  EXPECT_EQ(dump["StateChanges"][1]["AnimDispatches"], 32767);
  EXPECT_EQ(dump["AnimDispatches"][1]["NextFrame"], 1234);
  EXPECT_EQ(dump["AnimCommands"], nlohmann::json({1, -2, 300, 32767, -32768}));
  EXPECT_EQ(dump["MeshTrees"], nlohmann::json({0, 2, 65536}));
  EXPECT_EQ(dump["Frames"].size(), 4u);
  EXPECT_EQ(dump["Moveables"][1]["ObjectID"], 7);
  EXPECT_EQ(dump["Moveables"][1]["StartingMesh"], 3);
  EXPECT_EQ(dump["Moveables"][1]["Unknown3"], "000000000000");
  EXPECT_EQ(dump["StaticMeshes"].size(), 2u);
  EXPECT_EQ(dump["StaticMeshes"][0], std::string(64, '0'));
}

TEST(CliDump, BrokenWadExitsWith2) {
  TempDir dir;
  WriteFileBytes(dir / "broken.wad", BrokenWadBytes());
  const CliRun run = RunCliProcess({"dump", (dir / "broken.wad").string()}, dir.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("ReadWAD -> error code 9\n", 0), 0u) << run.err;
}

}  // namespace
}  // namespace tarnlow::test
