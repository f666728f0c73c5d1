#include "report/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "report/report_files.h"
#include "report/save_naming.h"
#include "tests/report/golden_report.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_error.h"

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

TEST_P(GoldenReport, MatchesGoldenFileLineByLine) {
  test::ExpectGoldenFile(test::GoldenPath(GetParam()), test::ToGoldenText(MakeReport(GoldenDocument(), GoldenContext(), GetParam())));
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

// The minus sign stands directly before the first digit.
TEST(FormatNum, LaysDigitsIntoTheGroupingPattern) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "  0"}, {123, "  123"}, {1000, " 1 000"}, {1234567, "1 234 567"}, {1234567890, "1234 567 890"},
      {-5, "  -5"}, {-1234, " -1 234"}, {std::numeric_limits<std::int32_t>::min(), "-2147 483 648"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854 775 808"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatNum(value), text) << value;
}

TEST(FormatHex, WritesUpperCaseDigitsAndTwosComplementForNegatives) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0"}, {1234, "4D2"}, {-1, "FFFFFFFF"}, {std::numeric_limits<std::int32_t>::min(), "80000000"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatHex(value), text) << value;
}

using Lines = std::vector<ReportLine>;

TEST(PlainReportText, JoinsLinesWithCrLfAndNoBreakAfterTheLast) {
  EXPECT_EQ(PlainReportText(Lines{{"a", true}, {"", false}, {"  c", false}}), "a\r\n\r\n  c");
  EXPECT_EQ(PlainReportText({}), "");
}

// é is U+00E9; the emoji is the surrogate pair D83D DE0A; € is U+20AC. A lone
// continuation byte, a truncated sequence and an overlong "/" are each one
// replacement character.
TEST(RichReportText, EscapesRtfSyntaxAndWritesUnicodeUnits) {
  const std::string rtf = RichReportText(Lines{{"a\\b{c}", false},
                                               {"\xC3\xA9 \xF0\x9F\x98\x8A \xE2\x82\xAC", true},
                                               {"x\x80y\xC3", false},
                                               {"\xC0\xAFz", false}});
  for (const char* part : {"a\\\\b\\{c\\}\\par", "\\b \\u233\\'3f \\u-10179\\'3f\\u-8694\\'3f \\u8364\\'3f\\b0 ",
                           "x\\u-3\\'3fy\\u-3\\'3f\\par", "\\u-3\\'3f\\u-3\\'3fz"}) {
    EXPECT_NE(rtf.find(part), std::string::npos) << part << " not in " << rtf;
  }
}

// The golden level-2 report as an RTF file is one balanced group.
TEST(RichReportText, IsOneBalancedGroup) {
  const std::string rtf = RichReportText(MakeReport(test::GoldenDocument(), test::GoldenContext(), 2));
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}' && --depth == 0) {
      EXPECT_EQ(rtf.find_first_not_of("\r\n", i + 1), std::string::npos);
    }
  }
  EXPECT_EQ(depth, 0);
}

TEST(WriteReportFile, ReplacesAnyOlderFileWithTheTextExactlyAndCreatesNoFolder) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "stats.CSV", Bytes(20000, 'o'));
  WriteReportFile(dir / "stats.CSV", "a\r\nb");
  EXPECT_EQ(test::ReadFileBytes(dir / "stats.CSV"), (Bytes{'a', '\r', '\n', 'b'}));
  EXPECT_THROW(WriteReportFile(dir / "missing" / "stats.txt", "x"), WadError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

constexpr auto kRich = ReportFileType::RichText;
constexpr auto kPlain = ReportFileType::PlainText;

struct NameCase {
  const char* chosen;
  int filter;
  const char* fileName;
  ReportFileType type;
};

void ExpectNames(std::optional<ReportSaveTarget> (*resolve)(std::string_view, int), std::initializer_list<NameCase> cases) {
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(c.chosen) + " with entry " + std::to_string(c.filter));
    const auto target = resolve(c.chosen, c.filter);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(std::pair(target->fileName, target->type), std::pair(std::string(c.fileName), c.type));
  }
}

// Only the last "." of the file name counts; one in a folder never does.
// Latin-1 letters are lowered too; other characters stay.
TEST(ResolveReportSaveName, LowerCasesAndReExtendsFromTheFilterEntry) {
  ExpectNames(ResolveReportSaveName, {
      {"C:\\Reports\\Karnak.txt", 1, "c:\\reports\\karnak.rtf", kRich},
      {"C:\\Reports\\Stats.TXT", 2, "c:\\reports\\stats.txt", kPlain},
      {"Stats.rtf", 3, "stats.CSV", kPlain},
      {"stats.rtf", -7, "stats.txt", kPlain},
      {"C:\\My.Reports\\Level.One.txt", 1, "c:\\my.reports\\level.one.rtf", kRich},
      {"/home/me/v1.2/karnak", 3, "/home/me/v1.2/karnak.CSV", kPlain},
      {"A.rtf.txt", 1, "a.rtf.rtf", kRich},
      {"C:\\\xC3\x89T\xC3\x89\\\xC3\x80 \xC3\x97.TXT", 2, "c:\\\xC3\xA9t\xC3\xA9\\\xC3\xA0 \xC3\x97.txt", kPlain},
      {"\xD0\x96.txt", 2, "\xD0\x96.txt", kPlain},
  });
  EXPECT_EQ(LowerCaseName("\xC3" "A\x80Z"), "\xC3" "a\x80z");
}

// Either separator ends the folder; the last one wins.
TEST(ResolveReportSaveNameKeepingFolder, LowersOnlyTheFileNameAndKeepsTheFolderAsChosen) {
  ExpectNames(ResolveReportSaveNameKeepingFolder, {
      {"/home/Me/Reports/Karnak.TXT", 1, "/home/Me/Reports/karnak.rtf", kRich},
      {"/home/Me\\Sub/Karnak", 3, "/home/Me\\Sub/karnak.CSV", kPlain},
      {"/home/Me/Sub\\Karnak", 3, "/home/Me/Sub\\karnak.CSV", kPlain},
      {"/home/Me/V1.2/Level.One.Txt", 2, "/home/Me/V1.2/level.one.txt", kPlain},
      {"/home/\xC3\x89T\xC3\x89/\xC3\x80.TXT", 2, "/home/\xC3\x89T\xC3\x89/\xC3\xA0.txt", kPlain},
  });
  for (const char* chosen : {"", "C:\\Reports\\", "/"}) {
    EXPECT_FALSE(ResolveReportSaveName(chosen, 3).has_value()) << chosen;
    EXPECT_FALSE(ResolveReportSaveNameKeepingFolder(chosen, 3).has_value()) << chosen;
  }
}

TEST(OverwriteQuestionNeeded, AskedBeforeTheFirstSaveAndForEveryOtherName) {
  const struct { const char* reportFileName; const char* chosen; bool needed; } cases[] = {
      {"", "c:\\reports\\karnak.csv", true},
      {"c:\\reports\\karnak.CSV", "C:\\Reports\\Karnak.csv", false},
      {"c:\\reports\\karnak.CSV", "c:\\reports\\karnak.txt", true},
      {"c:\\\xC3\xA9t\xC3\xA9.txt", "C:\\\xC3\x89T\xC3\x89.TXT", false},
  };
  for (const auto& c : cases) EXPECT_EQ(OverwriteQuestionNeeded(c.reportFileName, c.chosen), c.needed) << c.chosen;
  EXPECT_EQ(ReportSaveDialogTitle(""), "Save File as");
  EXPECT_EQ(ReportSaveDialogTitle("c:\\reports\\karnak.CSV"), "Save File");
}

}  // namespace
}  // namespace tarnlow
