#include "report/report.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <regex>

#include "report/local_clock.h"
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

// The golden document as a hand-built one might be: decoded meshes (one
// with shades and wide numbers, one with more vertices counted than held)
// and counts that disagree with their arrays. The tables end with the
// arrays, negative counts give empty tables, a mesh with shades has no
// normal rows, and only the detailed levels have the mesh table.
WadDocument OddDocument() {
  WadDocument document = GoldenDocument();
  document.NumMeshPointers = 1000000;
  document.NumAnimCommands = 77;
  document.NumStateChanges = -3;
  MeshRecord shaded = test::SimpleMesh(3);
  shaded.CentreX = -5;
  shaded.CollisionSize = 70000;
  shaded.NumNormals = -4;
  shaded.Normals.clear();
  shaded.Shades = {1, 2, 3, 4};
  document.MeshRecords = {shaded, test::SimpleMesh(2)};
  document.MeshRecords[1].NumVertices = 30000;
  return document;
}

// Which document (odd or not) at which level.
class GoldenReport : public ::testing::TestWithParam<std::tuple<bool, int>> {};

// One line per report line, "B|" in front of a bold line and " |" in front
// of a plain one.
TEST_P(GoldenReport, MatchesGoldenFileLineByLine) {
  const auto [odd, level] = GetParam();
  std::string text;
  for (const ReportLine& line : MakeReport(odd ? OddDocument() : GoldenDocument(), GoldenContext(), level)) {
    text.append(line.bold ? "B|" : " |").append(line.text).append("\n");
  }
  const std::string name = std::string(odd ? "odd_" : "") + "report_level" + std::to_string(level) + ".txt";
  test::ExpectGoldenFile(std::filesystem::path(TARNLOW_REPORT_GOLDEN_DIR) / name, text);
}

INSTANTIATE_TEST_SUITE_P(AllLevels, GoldenReport, ::testing::Combine(::testing::Bool(), ::testing::Values(0, 1, 2)));

// Every section empty, as a lenient reading gives it (counts of 0, or below
// 1 as the file held them): at every level each count line says 0 and no
// line holds a negative number or a range that runs backwards.
TEST(MakeReport, EverySectionEmptyGivesZeroCountsAndNoNegativeNumberAtEveryLevel) {
  WadDocument belowOne;
  for (auto count : {&WadDocument::NumTextInfo, &WadDocument::NumTextData, &WadDocument::NumMeshPointers,
                     &WadDocument::NumMeshData, &WadDocument::NumAnimations, &WadDocument::NumStateChanges,
                     &WadDocument::NumAnimDispatches, &WadDocument::NumAnimCommands, &WadDocument::NumMeshTrees,
                     &WadDocument::NumFrames, &WadDocument::NumMoveables}) {
    belowOne.*count = -3;
  }
  const std::regex negative("(^|[^0-9A-Za-z])-[0-9]"), zeroCount(R"(\(Num\w+\): +0$)");
  for (const WadDocument& document : {WadDocument{}, belowOne}) {
    for (int level = 0; level <= 2; ++level) {
      int zeroCounts = 0;
      for (const ReportLine& line : MakeReport(document, GoldenContext(), level)) {
        EXPECT_FALSE(std::regex_search(line.text, negative)) << level << ": " << line.text;
        zeroCounts += std::regex_search(line.text, zeroCount) ? 1 : 0;
      }
      EXPECT_EQ(zeroCounts, 12) << level;
    }
  }
}

// A level outside 0 to 2 gives the summary with an empty level name.
TEST(MakeReport, LevelsOutsideTheRangeGiveTheSummary) {
  auto summary = MakeReport(GoldenDocument(), GoldenContext(), 0);
  summary[4].text = "Detail level: ";
  for (int level : {-1, 3}) EXPECT_EQ(MakeReport(GoldenDocument(), GoldenContext(), level), summary) << level;
}

// Each platform breaks the time down with its own call; the year must be
// this year (give or take the time zone) and every field in its range.
TEST(LocalClock, NowIsThisYearWithFieldsInRange) {
  const LocalDateTime now = LocalNow();
  const std::chrono::year_month_day utc{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  EXPECT_LE(std::abs(now.year - static_cast<int>(utc.year())), 1);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31) << now.month << "/" << now.day;
  EXPECT_TRUE(now.hour < 24 && now.minute < 60 && now.second < 61) << now.hour << ":" << now.minute;
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
