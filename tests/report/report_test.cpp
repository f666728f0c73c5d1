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

// One line per report line, "B|" in front of a bold line and " |" in front
// of a plain one.
TEST_P(GoldenReport, MatchesGoldenFileLineByLine) {
  std::string text;
  for (const ReportLine& line : MakeReport(GoldenDocument(), GoldenContext(), GetParam())) {
    text.append(line.bold ? "B|" : " |").append(line.text).append("\n");
  }
  const std::string name = "report_level" + std::to_string(GetParam()) + ".txt";
  test::ExpectGoldenFile(std::filesystem::path(TARNLOW_REPORT_GOLDEN_DIR) / name, text);
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
  context.clock = [&reads] { return ++reads == 1 ? LocalDateTime{2024, 3, 5, 9, 8, 7} : LocalDateTime{2024, 3, 6, 23, 59, 58}; };
  const auto lines = MakeReport(GoldenDocument(), context, 0);
  EXPECT_EQ(std::pair(lines[3].text, lines[20].text),
            (std::pair<std::string, std::string>("Made on 2024-03-05; 09.08.07", "Report ended at 23.59.58")));
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

// The minus sign stands directly before the first digit; hex is upper case
// and negatives are their two's complement.
TEST(NumberFormat, LaysDigitsIntoTheGroupingPatternAndWritesUpperCaseHex) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "  0"}, {123, "  123"}, {1000, " 1 000"}, {1234567, "1 234 567"}, {1234567890, "1234 567 890"},
      {-5, "  -5"}, {-1234, " -1 234"}, {std::numeric_limits<std::int64_t>::min(), "-9223372036854 775 808"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatNum(value), text) << value;
  const std::pair<std::int32_t, const char*> hex[] = {{0, "0"}, {1234, "4D2"}, {-1, "FFFFFFFF"}, {INT32_MIN, "80000000"}};
  for (const auto& [value, text] : hex) EXPECT_EQ(FormatHex(value), text) << value;
}

using Lines = std::vector<ReportLine>;

// Plain text breaks with CRLF between lines. In RTF, é is U+00E9, the emoji
// the surrogate pair D83D DE0A, € U+20AC; a lone continuation byte, a
// truncated sequence and an overlong "/" are each one replacement character;
// the whole is one balanced group.
TEST(ReportText, PlainJoinsWithCrLfAndRichEscapesRtfSyntaxAndWritesUnicodeUnits) {
  EXPECT_EQ(PlainReportText(Lines{{"a", true}, {"", false}, {"  c", false}}), "a\r\n\r\n  c");
  const std::string rtf = RichReportText(Lines{{"a\\b{c}", false},
                                               {"\xC3\xA9 \xF0\x9F\x98\x8A \xE2\x82\xAC", true},
                                               {"x\x80y\xC3", false},
                                               {"\xC0\xAFz", false}});
  for (const char* part : {"a\\\\b\\{c\\}\\par", "\\b \\u233\\'3f \\u-10179\\'3f\\u-8694\\'3f \\u8364\\'3f\\b0 ",
                           "x\\u-3\\'3fy\\u-3\\'3f\\par", "\\u-3\\'3f\\u-3\\'3fz"}) {
    EXPECT_NE(rtf.find(part), std::string::npos) << part << " not in " << rtf;
  }
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
    } else if (rtf[i] == '{' || rtf[i] == '}') {
      depth += rtf[i] == '{' ? 1 : -1;
      EXPECT_TRUE(depth > 0 || rtf.find_first_not_of("\r\n", i + 1) == std::string::npos) << "group closed at " << i;
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

// Only the last "." of the file name counts; one in a folder never does.
// Latin-1 letters are lowered too; other characters stay. Keeping the folder,
// either separator ends it and the last one wins.
TEST(ResolveReportSaveName, LowerCasesAndReExtendsFromTheFilterEntryOptionallyKeepingTheFolder) {
  constexpr auto kRich = ReportFileType::RichText, kPlain = ReportFileType::PlainText;
  const struct { bool keepFolder; const char* chosen; int filter; const char* fileName; ReportFileType type; } cases[] = {
      {false, "C:\\Reports\\Karnak.txt", 1, "c:\\reports\\karnak.rtf", kRich},
      {false, "Stats.rtf", 3, "stats.CSV", kPlain},
      {false, "stats.rtf", -7, "stats.txt", kPlain},
      {false, "C:\\My.Reports\\Level.One.txt", 1, "c:\\my.reports\\level.one.rtf", kRich},
      {false, "/home/me/v1.2/karnak", 3, "/home/me/v1.2/karnak.CSV", kPlain},
      {false, "C:\\\xC3\x89T\xC3\x89\\\xC3\x80 \xC3\x97.TXT", 2, "c:\\\xC3\xA9t\xC3\xA9\\\xC3\xA0 \xC3\x97.txt", kPlain},
      {false, "\xD0\x96.txt", 2, "\xD0\x96.txt", kPlain},
      {true, "/home/Me/Reports/Karnak.TXT", 1, "/home/Me/Reports/karnak.rtf", kRich},
      {true, "/home/Me\\Sub/Karnak", 3, "/home/Me\\Sub/karnak.CSV", kPlain},
      {true, "/home/Me/Sub\\Karnak", 3, "/home/Me/Sub\\karnak.CSV", kPlain},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.chosen) + " with entry " + std::to_string(c.filter));
    const auto target = (c.keepFolder ? ResolveReportSaveNameKeepingFolder : ResolveReportSaveName)(c.chosen, c.filter);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(std::pair(target->fileName, target->type), std::pair(std::string(c.fileName), c.type));
  }
  EXPECT_EQ(LowerCaseName("\xC3" "A\x80Z"), "\xC3" "a\x80z");
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
