// What every command shares: help, usage errors, unreadable WADs and
// outputs that cannot be written; and the commands that copy and report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "report/report_files.h"
#include "tests/cli/cli_process.h"
#include "tests/report/golden_report.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/object_names_file.h"

namespace tarnlow::test {
namespace {

// `actual` with the folder replaced by "DIR" equals tests/cli/golden/`name`.
void ExpectGolden(const std::string& name, std::string actual, const std::filesystem::path& folder) {
  for (std::size_t at; (at = actual.find(folder.string())) != std::string::npos;) actual.replace(at, folder.string().size(), "DIR");
  ExpectGoldenFile(std::filesystem::path(TARNLOW_CLI_GOLDEN_DIR) / name, actual);
}

TEST(CliCommands, HelpNamesEveryCommand) {
  TempDir dir;
  for (const char* spelling : {"help", "--help", "-h"}) {
    const CliRun run = RunCliProcess({spelling}, dir.path());
    EXPECT_EQ(std::pair(run.status, run.err), std::pair(0, std::string())) << spelling;
    ExpectGolden("help.txt", run.out, dir.path());
  }
}

TEST(CliCommands, WrongCommandLinesExitWith64AndNameTheCommand) {
  TempDir dir;
  // A usage error never gets as far as reading a WAD, so none exists.
  const std::string wad = (dir / "never-read.wad").string();
  const std::vector<std::vector<std::string>> cases = {
      {}, {"bogus"}, {"objects"}, {"objects", wad, wad}, {"objects", wad, "--names"}, {"objects", "--colour", wad},
      {"copy", wad}, {"copy", "--force", wad, wad}, {"report", wad, wad}, {"report", "--level", "3", wad},
      {"report", "--level"}, {"report", "--format", "pdf", wad}, {"report", "--at", "2024-13-05 14:05:09", wad},
      {"report", "--at", "2024-03-05T14:05:09", wad}, {"report", "--at", "2024-03-05 24:00:00", wad}, {"summary"},
      {"summary", "--jobs", "0", wad}, {"summary", "--jobs", "many", wad}, {"dump", wad, wad}, {"textures", wad},
      {"textures", wad, wad, "-o", "out"}, {"textures", wad, "-o", "out", "--png"}, {"mesh", wad, "-o", "m.obj"},
      {"mesh", "--object", "1", wad, "-o", "m.obj"}, {"mesh", "--object", "1", "--mesh", "0", "--pointer", "3", wad, "-o", "m.obj"},
      {"mesh", "--pointer", "-1", wad, "-o", "m.obj"}, {"mesh", "--pointer", "2x", wad, "-o", "m.obj"},
      {"mesh", "--pointer", "2", wad}, {"check"}, {"check", "--format", "xml", wad},
  };
  for (const std::vector<std::string>& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(std::pair(run.status, run.out), std::pair(64, std::string()));
    const bool known = args.size() > 0 && args[0] != "bogus";
    EXPECT_TRUE(run.err.starts_with("tarnlow-cli: " + (known ? args[0] + ": " : std::string()))) << run.err;
  }
}

// The error number of the failed read comes first on stderr (9: a zero
// NumStateChanges where the reading is the window's; 2: no such file); an
// output that cannot be written exits with 1. Neither leaves a file behind.
TEST(CliCommands, UnreadableWadExitsWith2AndUnwritableOutputWith1) {
  TempDir dir;
  WadLayout broken = WadLayout::Of(WadBuilder().build());
  broken.counts[5] = 0;
  WriteFileBytes(dir / "broken.wad", broken.bytes());
  WriteFileBytes(dir / "good.wad", WadFileBytes(WadBuilder().build()));
  WriteFileBytes(dir / "plain-file", Bytes{1});
  WriteObjectNames(dir / "names.dat", ObjectNamesFileContent{});
  const std::string wad = (dir / "broken.wad").string(), good = (dir / "good.wad").string();
  const std::string missing = (dir / "missing.wad").string();
  const std::string out = (dir / "out").string(), unwritable = (dir / "missing" / "out").string();
  const std::string code9 = "ReadWAD -> error code 9\n", code2 = "ReadWAD -> error code 2\n";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"copy", wad, out}, code9}, {{"report", "-o", out, wad}, code9},
      {{"objects", "--names", (dir / "names.dat").string(), wad}, code9}, {{"dump", missing}, code2},
      {{"textures", missing, "-o", out}, code2}, {{"mesh", "--pointer", "0", missing, "-o", out}, code2},
      {{"check", missing}, code2}, {{"report", missing}, code2}, {{"copy", "--lenient", missing, out}, code2},
      {{"copy", good, unwritable}, "copy: "}, {{"report", "-o", unwritable, good}, "report: "},
      {{"textures", good, "-o", (dir / "plain-file").string()}, "textures: "},
  };
  for (const auto& [args, errStart] : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(std::pair(run.status, run.out), std::pair(errStart.starts_with("ReadWAD") ? 2 : 1, std::string()));
    EXPECT_TRUE(run.err.starts_with(errStart)) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out) || std::filesystem::exists(dir / "missing"));
  }
}

// Each of sections 1 to 11 empty in turn, a cut inside each section, and
// bytes after the static meshes: summary (as every looking command) reads
// them and says once on stderr which section was empty, short or missing;
// copy refuses what the window refuses, and with --lenient copies a file not
// cut short byte for byte, empty sections and all.
TEST(CliLenient, EmptyAndCutWadsAreReadAndNotedOnceAndCopiedByteForByte) {
  const WadLayout whole = WadLayout::Of(WadBuilder().textureRows(2).meshes({SimpleMesh()}).build());
  struct Case { Bytes bytes; bool cut; int section; };
  std::vector<Case> cases;
  for (std::size_t s = 0; s + 1 < WadLayout::kSections; ++s) {
    WadLayout empty = whole;
    empty.counts[s] = 0;
    empty.data[s].clear();
    const Bytes all = whole.bytes();
    const auto cutAt = std::ptrdiff_t(whole.countOffset(int(s)) + 4 + whole.data[s].size() / 2);
    cases.insert(cases.end(), {{empty.bytes(), false, int(s)}, {Bytes(all.begin(), all.begin() + cutAt), true, int(s)}});
  }
  Bytes trailing = whole.bytes();
  trailing.insert(trailing.end(), {7, 7, 7});
  cases.push_back({trailing, false, -1});

  TempDir dir;
  const std::string in = (dir / "in.wad").string(), out = (dir / "out.wad").string();
  for (const Case& c : cases) {
    const std::string section = c.section < 0 ? "" : kSectionNames[std::size_t(c.section)];
    SCOPED_TRACE(section + (c.cut ? " cut" : ""));
    WriteFileBytes(in, c.bytes);
    const CliRun summary = RunCliProcess({"summary", in}, dir.path());
    const std::string status = c.section < 0 ? ",ok," : c.cut ? ",\"read, cut short\"," : ",\"read, with empty sections\",";
    EXPECT_NE(summary.out.find(status), std::string::npos) << summary.out;
    EXPECT_EQ(std::count(summary.err.begin(), summary.err.end(), '\n'), c.section < 0 ? 0 : 1) << summary.err;
    EXPECT_NE(summary.err.find(section), std::string::npos) << summary.err;

    EXPECT_EQ(RunCliProcess({"copy", in, out}, dir.path()).status, c.section < 0 || (c.cut && c.section == 10) ? 0 : 2);
    EXPECT_EQ(RunCliProcess({"copy", "--lenient", in, out}, dir.path()).status, 0);
    if (!c.cut) {
      EXPECT_EQ(ReadFileBytes(out), c.section < 0 ? whole.bytes() : c.bytes);
    }
  }
}

// The copy goes through the reader and the writer: bytes after the static
// meshes are not copied.
TEST(CliCopy, WritesTheBytesTheReaderTookToTheSecondPathQuietly) {
  TempDir dir;
  const Bytes original = WadFileBytes(WadBuilder().version(129).meshes({SimpleMesh(), NullShapeMesh()}).build());
  Bytes withTail = original;
  withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
  WriteFileBytes(dir / "in.wad", withTail);
  const CliRun run = RunCliProcess({"copy", (dir / "in.wad").string(), (dir / "out.wad").string()}, dir.path());
  EXPECT_EQ(std::tuple(run.status, run.out + run.err, ReadFileBytes(dir / "out.wad")), std::tuple(0, "", original));
}

const std::string kAt = "2024-03-05 14:05:09";

// The golden report of `level`, which the report tests pin, as `format` writes it.
std::string Report(std::string (*format)(std::span<const ReportLine>), int level) {
  return format(MakeReport(GoldenDocument(), GoldenContext(), level));
}

// golden.wad in a folder of its own, so that its title and length match the
// golden reports.
Level GoldenWad() { return Level(GoldenDocument(), "golden.wad"); }

TEST(CliReport, FixedTimeGivesTheGoldenReportInEachFormatOnStdoutOrInTheFile) {
  const Level files = GoldenWad();
  const struct { std::vector<std::string> options; std::string expected; } cases[] = {
      {{"--level", "0"}, Report(PlainReportText, 0)},
      {{"--level", "1", "--format", "csv"}, Report(PlainReportText, 1)},
      {{"--level", "1", "--format", "rtf"}, Report(RichReportText, 1)},
      {{"-o", (files.dir / "stats.CSV").string()}, Report(PlainReportText, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.options));
    std::vector<std::string> args = {"report", "--at", kAt, files.wad};
    args.insert(args.begin() + 1, c.options.begin(), c.options.end());
    const CliRun run = files.run(args);
    ASSERT_EQ(std::pair(run.status, run.err), std::pair(0, std::string()));
    EXPECT_EQ(c.options[0] == "-o" ? ReadFileText(files.dir / "stats.CSV") : run.out, c.expected);
  }
}

TEST(CliReport, WithoutAtTheHeaderCarriesTheCurrentDate) {
  const Level files = GoldenWad();
  const CliRun run = files.run({"report", files.wad});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string expected = Report(PlainReportText, 0);
  EXPECT_EQ(std::pair(run.out.size(), run.out.substr(0, 80)), std::pair(expected.size(), expected.substr(0, 80)));
  EXPECT_NE(run.out, expected);
}

// Paths sorted, quoted when they hold a comma, a WAD with an empty section
// read and said to be so, a missing file with the error number of its read. Windows allows no quote in a file name.
#ifndef _WIN32
TEST(CliSummary, OneRowPerWadWithTheErrorOfABrokenOne) {
  TempDir dir;
  std::filesystem::create_directories(dir / "levels" / "sub");
  WadLayout broken = WadLayout::Of(GoldenDocument());
  broken.counts[5] = 0;
  broken.data[5].clear();
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
#endif

// The golden text holds the WAD's path with "/"; the Windows dump is
// compared byte for byte with the Linux one by scripts/windows-compare.
#ifndef _WIN32
TEST(CliDump, WritesEveryRecordAsJson) {
  const Level files = GoldenWad();
  const CliRun run = files.run({"dump", files.wad});
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectGolden("dump.json", run.out, files.dir.path());
}
#endif

}  // namespace
}  // namespace tarnlow::test
