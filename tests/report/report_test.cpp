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
// the diff of the golden files is then what a reviewer reads.
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

// The summary holds no table whatever the document; a level outside 0 to 2
// gives the summary with an empty level name.
TEST(MakeReport, SummaryAndLevelsOutsideTheRangeHaveNoSectionLines) {
  WadDocument withMeshes = GoldenDocument();
  withMeshes.MeshRecords = {test::SimpleMesh(3)};
  EXPECT_EQ(MakeReport(withMeshes, GoldenContext(), 0).size(), 24u);
  auto summary = MakeReport(GoldenDocument(), GoldenContext(), 0);
  summary[4].text = "Detail level: ";
  for (int level : {-1, 3}) EXPECT_EQ(MakeReport(GoldenDocument(), GoldenContext(), level), summary) << level;
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
  EXPECT_EQ(lines[3].text, "Made on 2024-03-05; 09.08.07");
  EXPECT_EQ(lines[20].text, "Report ended at 23.59.58");
}

// Counts larger than the arrays, as a hand-built document might carry, or
// negative ones: the tables end with the arrays.
TEST(MakeReport, TablesStopWhereTheArraysEndAndNegativeCountsGiveEmptyTables) {
  WadDocument document = GoldenDocument();
  document.NumMeshPointers = 1000000;
  document.NumAnimCommands = 77;
  document.NumStateChanges = -3;
  document.MeshRecords = {test::SimpleMesh(2)};
  document.MeshRecords[0].NumVertices = 30000;
  const auto lines = MakeReport(document, GoldenContext(), 2);
  EXPECT_EQ(lines[Find(lines, "  3,  786 432, C0000") + 1].text, kDashRule);
  EXPECT_EQ(lines[Find(lines, "No, AnimCommand") + 6].text, kDashRule);
  EXPECT_EQ(lines[Find(lines, "No ,StateID, NumAnimDispatched, AnimDispatches") + 1].text, kDashRule);
  EXPECT_EQ(Find(lines, "  , Normals No, X ,Y ,Z ") - Find(lines, "  , Vertices No, X ,Y ,Z "), 3u);
}

// The mesh table follows the mesh data at the detailed levels (the golden
// reports have none without decoded meshes); a mesh with shades has no
// normal rows.
TEST(MakeReport, MeshTableFollowsTheMeshDataWithDecodedMeshesAtDetailedLevels) {
  const std::string header = "No, Centre X ,Y ,Z ,Collision Size, Number of Vertices, Number of Normals, Number of Faces";
  WadDocument document = GoldenDocument();
  MeshRecord mesh = test::SimpleMesh(3);
  mesh.CentreX = -5;
  mesh.CollisionSize = 70000;
  mesh.NumNormals = -4;
  mesh.Normals.clear();
  mesh.Shades = {1, 2, 3, 4};
  document.MeshRecords = {mesh, test::SimpleMesh(1)};
  const std::vector<std::string> expected{
      "This is an array of longs", kDashRule, header, "  0,  -5,  2,  3, 70 000,  3,  -4,  1",
      "  , Vertices No, X ,Y ,Z ", "  ,   0,  0,  0,  0", "  ,   1,  10,  0,  0", "  ,   2,  20,  0,  0",
      "  , Normals No, X ,Y ,Z ", "  1,  1,  2,  3,  100,  1,  1,  1", "  , Vertices No, X ,Y ,Z ",
      "  ,   0,  0,  0,  0", "  , Normals No, X ,Y ,Z ", "  ,   0,  0, -16 384,  0", kDashRule};
  for (int level : {1, 2}) {
    const auto lines = MakeReport(document, GoldenContext(), level);
    const std::size_t at = Find(lines, header);
    ASSERT_LT(at + expected.size() - 2, lines.size());
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < expected.size(); ++i) texts.push_back(lines[at - 2 + i].text);
    EXPECT_EQ(texts, expected);
  }
}

}  // namespace
}  // namespace tarnlow
