#include "report/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tests/report/golden_report.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::GoldenContext;
using test::GoldenDocument;

bool Contains(const std::vector<ReportLine>& lines, std::string_view text) {
  return std::any_of(lines.begin(), lines.end(), [&](const ReportLine& l) { return l.text == text; });
}

// Index of the first line equal to `text`, or lines.size().
std::size_t Find(const std::vector<ReportLine>& lines, std::string_view text) {
  return static_cast<std::size_t>(
      std::find_if(lines.begin(), lines.end(), [&](const ReportLine& l) { return l.text == text; }) - lines.begin());
}

class GoldenReport : public ::testing::TestWithParam<int> {};

// Set TARNLOW_UPDATE_GOLDEN=1 to rewrite the files after a deliberate change;
// the diff of the golden files is then what a reviewer reads.
TEST_P(GoldenReport, MatchesGoldenFileLineByLine) {
  const int level = GetParam();
  const std::vector<ReportLine> actual = MakeReport(GoldenDocument(), GoldenContext(), level);
  if (std::getenv("TARNLOW_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(test::GoldenPath(level), std::ios::binary) << test::ToGoldenText(actual);
  }
  const std::vector<ReportLine> expected = test::ReadGolden(test::GoldenPath(level));
  ASSERT_FALSE(expected.empty()) << "cannot read " << test::GoldenPath(level);
  EXPECT_EQ(test::DiffLines(expected, actual), "");
}

INSTANTIATE_TEST_SUITE_P(AllLevels, GoldenReport, ::testing::Values(0, 1, 2));

TEST(MakeReport, SummaryHasTwentyFourLinesWhateverTheDocumentHolds) {
  WadDocument big = GoldenDocument();
  big.MeshRecords = {test::SimpleMesh(3)};
  for (const WadDocument& document : {WadDocument{}, GoldenDocument(), big}) {
    EXPECT_EQ(MakeReport(document, GoldenContext(), 0).size(), 24u);
  }
}

TEST(MakeReport, EmptyDocumentPrintsZeroCountsWithTwoLeadingSpaces) {
  const auto lines = MakeReport(WadDocument{}, GoldenContext(), 0);
  EXPECT_EQ(lines[6].text, "Texture Info (NumTextInfo):   0");
  EXPECT_EQ(lines[17].text, "Number of Static Meshes (NumStaticMeshes):   0");
}

TEST(MakeReport, CountLinesAreBoldOnlyAtDetailedLevels) {
  for (int level : {0, 1, 2}) {
    SCOPED_TRACE(level);
    const auto lines = MakeReport(GoldenDocument(), GoldenContext(), level);
    for (const ReportLine& line : lines) {
      const bool countLine = line.text.starts_with("Texture Info (") || line.text.starts_with("Texture Data (") ||
                             line.text.starts_with("Number of ");
      const bool titleLine = line.text.starts_with("Report on WAD: ");
      EXPECT_EQ(line.bold, titleLine || (countLine && level > 0)) << line.text;
    }
  }
}

TEST(MakeReport, LevelOutsideRangeHasEmptyLevelNameAndNoSectionLines) {
  for (int level : {-1, 3, 1000}) {
    SCOPED_TRACE(level);
    const auto lines = MakeReport(GoldenDocument(), GoldenContext(), level);
    auto summary = MakeReport(GoldenDocument(), GoldenContext(), 0);
    summary[4].text = "Detail level: ";
    EXPECT_EQ(lines, summary);
  }
}

TEST(MakeReport, ClosingTimeIsReadAgainFromTheClock) {
  ReportContext context = GoldenContext();
  int reads = 0;
  context.clock = [&reads] {
    ++reads;
    return reads == 1 ? LocalDateTime{2024, 3, 5, 9, 8, 7} : LocalDateTime{2024, 3, 6, 23, 59, 58};
  };
  const auto lines = MakeReport(GoldenDocument(), context, 0);
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(lines[3].text, "Made on 2024/03/05; 09:08:07");
  EXPECT_EQ(lines[20].text, "Report ended at 23:59:58");
}

TEST(MakeReport, DateAndTimeUseTheContextSeparators) {
  ReportContext context = GoldenContext();
  context.dateSeparator = '-';
  context.timeSeparator = '.';
  const auto lines = MakeReport(GoldenDocument(), context, 0);
  EXPECT_EQ(lines[3].text, "Made on 2024-03-05; 14.05.09");
  EXPECT_EQ(lines[20].text, "Report ended at 14.05.09");
}

TEST(MakeReport, HeaderPrintsGroupedFileSizeAndPlainVersion) {
  ReportContext context = GoldenContext();
  context.wadFileLength = 2345678;
  WadDocument document = GoldenDocument();
  document.Version = 1234567;
  const auto lines = MakeReport(document, context, 0);
  EXPECT_EQ(lines[2].text, "File size: 2 345 678 bytes, version: 1234567");
}

TEST(MakeReport, TablesStopWhereTheArraysEnd) {
  // Counts larger than the arrays, as a hand-built document might carry.
  WadDocument document = GoldenDocument();
  document.NumMeshPointers = 1000000;
  document.NumAnimations = 2000000000;
  document.NumAnimCommands = 77;
  document.MeshRecords = {test::SimpleMesh(2)};
  document.MeshRecords[0].NumVertices = 30000;
  document.MeshRecords[0].NumNormals = 500;
  const auto lines = MakeReport(document, GoldenContext(), 2);
  const std::size_t pointers = Find(lines, "No , MeshPointer(Dec), MeshPointer(Hex)");
  ASSERT_LT(pointers, lines.size());
  EXPECT_EQ(lines[pointers + 4].text, "  3,  786 432, C0000");
  EXPECT_EQ(lines[pointers + 5].text, std::string(61, '-'));
  EXPECT_EQ(Find(lines, "  , Normals No, X ,Y ,Z ") - Find(lines, "  , Vertices No, X ,Y ,Z "), 3u);
  const std::size_t commands = Find(lines, "No, AnimCommand");
  EXPECT_EQ(lines[commands + 6].text, std::string(61, '-'));
}

TEST(MakeReport, NegativeCountsGiveEmptyTables) {
  WadDocument document = GoldenDocument();
  document.NumStateChanges = -3;
  const auto lines = MakeReport(document, GoldenContext(), 1);
  const std::size_t header = Find(lines, "No ,StateID, NumAnimDispatched, AnimDispatches");
  ASSERT_LT(header, lines.size());
  EXPECT_EQ(lines[header - 1].text, "Number of State Changes (NumStateChanges):   -3");
  EXPECT_EQ(lines[header + 1].text, std::string(61, '-'));
}

TEST(MakeReport, TextureIndexLineGivesTheGridExtent) {
  const WadDocument document = test::WadBuilder().textureRows(1024).build();
  const auto lines = MakeReport(document, GoldenContext(), 2);
  EXPECT_TRUE(Contains(lines, "Texture Data indexes: Index 1: 0 to   255 Index 2: 0 to  1 023"));
}

TEST(MakeReport, MeshTableAppearsOnlyWithDecodedMeshes) {
  WadDocument document = GoldenDocument();
  const std::string meshHeader =
      "No, Centre X ,Y ,Z ,Collision Size, Number of Vertices, Number of Normals, Number of Faces";
  for (int level : {1, 2}) EXPECT_FALSE(Contains(MakeReport(document, GoldenContext(), level), meshHeader));
  document.MeshRecords = {test::SimpleMesh(3)};
  EXPECT_FALSE(Contains(MakeReport(document, GoldenContext(), 0), meshHeader));
  for (int level : {1, 2}) {
    const auto lines = MakeReport(document, GoldenContext(), level);
    const std::size_t header = Find(lines, meshHeader);
    ASSERT_LT(header, lines.size());
    EXPECT_EQ(lines[header - 2].text, "This is an array of longs");
    EXPECT_EQ(lines[header - 1].text, std::string(61, '-'));
  }
}

TEST(MakeReport, TitleAppearsInHeaderAndClosingLine) {
  ReportContext context = GoldenContext();
  context.wadTitle = "karnak";
  const auto lines = MakeReport(WadDocument{}, context, 0);
  EXPECT_EQ(lines[1].text, "Report on WAD: karnak");
  EXPECT_EQ(lines[19].text, "End of report on karnak WAD file.");
}

TEST(MakeReport, AcknowledgementLineIsIndentedByFive) {
  const auto lines = MakeReport(WadDocument{}, GoldenContext(), 0);
  EXPECT_EQ(lines[22].text, "     All data type names are as given by Tavrel in his source code.");
}

TEST(ReportBuilder, AddsIndentOnlyWhenPositive) {
  ReportBuilder builder;
  builder.AddReportLine("a", 2, true);
  builder.AddReportLine("b", -4);
  builder.AddReportLine("c", 0);
  const std::vector<ReportLine> expected{{"  a", true}, {"b", false}, {"c", false}};
  EXPECT_EQ(builder.take(), expected);
}

}  // namespace
}  // namespace tarnlow
