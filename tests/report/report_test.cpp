#include "report/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/report/golden_report.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::GoldenContext;
using test::GoldenDocument;

const std::string kDashRule(61, '-');

// Index of the first line equal to `text`, or lines.size().
std::size_t Find(const std::vector<ReportLine>& lines, std::string_view text) {
  return static_cast<std::size_t>(
      std::find_if(lines.begin(), lines.end(), [&](const ReportLine& l) { return l.text == text; }) - lines.begin());
}

class GoldenReport : public ::testing::TestWithParam<int> {};

// Set TARNLOW_UPDATE_GOLDEN=1 to rewrite the files after a deliberate change;
// the diff of the golden files is then what a reviewer reads. On a mismatch
// the failure shows a line diff of the two texts.
TEST_P(GoldenReport, MatchesGoldenFileLineByLine) {
  const int level = GetParam();
  const std::string actual = test::ToGoldenText(MakeReport(GoldenDocument(), GoldenContext(), level));
  if (std::getenv("TARNLOW_UPDATE_GOLDEN")) std::ofstream(test::GoldenPath(level), std::ios::binary) << actual;
  std::ostringstream expected;
  expected << std::ifstream(test::GoldenPath(level), std::ios::binary).rdbuf();
  ASSERT_FALSE(expected.str().empty()) << "cannot read " << test::GoldenPath(level);
  EXPECT_EQ(expected.str(), actual);
}

INSTANTIATE_TEST_SUITE_P(AllLevels, GoldenReport, ::testing::Values(0, 1, 2));

TEST(MakeReport, SummaryHasTwentyFourLinesWhateverTheDocumentHolds) {
  WadDocument big = GoldenDocument();
  big.MeshRecords = {test::SimpleMesh(3)};
  for (const WadDocument& document : {WadDocument{}, GoldenDocument(), big}) {
    EXPECT_EQ(MakeReport(document, GoldenContext(), 0).size(), 24u);
  }
}

TEST(MakeReport, CountLinesAreBoldOnlyAtDetailedLevels) {
  for (int level : {0, 1, 2}) {
    SCOPED_TRACE(level);
    for (const ReportLine& line : MakeReport(GoldenDocument(), GoldenContext(), level)) {
      const bool countLine = line.text.starts_with("Texture Info (") || line.text.starts_with("Texture Data (") ||
                             line.text.starts_with("Number of ");
      EXPECT_EQ(line.bold, line.text.starts_with("Report on WAD: ") || (countLine && level > 0)) << line.text;
    }
  }
}

TEST(MakeReport, LevelOutsideRangeHasEmptyLevelNameAndNoSectionLines) {
  auto summary = MakeReport(GoldenDocument(), GoldenContext(), 0);
  summary[4].text = "Detail level: ";
  for (int level : {-1, 3, 1000}) EXPECT_EQ(MakeReport(GoldenDocument(), GoldenContext(), level), summary) << level;
}

TEST(MakeReport, ClosingTimeIsReadAgainWithTheContextSeparators) {
  ReportContext context = GoldenContext();
  context.dateSeparator = '-';
  context.timeSeparator = '.';
  int reads = 0;
  context.clock = [&reads] {
    return ++reads == 1 ? LocalDateTime{2024, 3, 5, 9, 8, 7} : LocalDateTime{2024, 3, 6, 23, 59, 58};
  };
  const auto lines = MakeReport(GoldenDocument(), context, 0);
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(lines[3].text, "Made on 2024-03-05; 09.08.07");
  EXPECT_EQ(lines[20].text, "Report ended at 23.59.58");
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
  EXPECT_EQ(lines[pointers + 5].text, kDashRule);
  EXPECT_EQ(Find(lines, "  , Normals No, X ,Y ,Z ") - Find(lines, "  , Vertices No, X ,Y ,Z "), 3u);
  EXPECT_EQ(lines[Find(lines, "No, AnimCommand") + 6].text, kDashRule);
}

TEST(MakeReport, NegativeCountsGiveEmptyTables) {
  WadDocument document = GoldenDocument();
  document.NumStateChanges = -3;
  const auto lines = MakeReport(document, GoldenContext(), 1);
  const std::size_t header = Find(lines, "No ,StateID, NumAnimDispatched, AnimDispatches");
  ASSERT_LT(header, lines.size());
  EXPECT_EQ(lines[header - 1].text, "Number of State Changes (NumStateChanges):   -3");
  EXPECT_EQ(lines[header + 1].text, kDashRule);
}

TEST(MakeReport, MeshTableAppearsOnlyWithDecodedMeshesAtDetailedLevels) {
  const std::string meshHeader =
      "No, Centre X ,Y ,Z ,Collision Size, Number of Vertices, Number of Normals, Number of Faces";
  WadDocument document = GoldenDocument();
  for (int level : {1, 2}) {
    const auto lines = MakeReport(document, GoldenContext(), level);
    EXPECT_EQ(Find(lines, meshHeader), lines.size());
  }
  document.MeshRecords = {test::SimpleMesh(3)};
  const auto summary = MakeReport(document, GoldenContext(), 0);
  EXPECT_EQ(Find(summary, meshHeader), summary.size());
  for (int level : {1, 2}) {
    const auto lines = MakeReport(document, GoldenContext(), level);
    const std::size_t header = Find(lines, meshHeader);
    ASSERT_LT(header, lines.size());
    EXPECT_EQ(lines[header - 2].text, "This is an array of longs");
    EXPECT_EQ(lines[header - 1].text, kDashRule);
  }
}

TEST(ReportBuilder, AddsIndentOnlyWhenPositive) {
  ReportBuilder builder;
  builder.AddReportLine("a", 2, true);
  builder.AddReportLine("b", -4);
  builder.AddReportLine("c", 0);
  EXPECT_EQ(builder.take(), (std::vector<ReportLine>{{"  a", true}, {"b", false}, {"c", false}}));
}

}  // namespace
}  // namespace tarnlow
