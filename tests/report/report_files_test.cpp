#include "report/report_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "tests/report/golden_report.h"
#include "tests/support/temp_dir.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

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

// unrtf renders runs of spaces as one space.
std::string CollapseSpaces(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out.push_back(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The golden level-2 report as an RTF file is one balanced group that unrtf
// reads back line by line.
TEST(RichReportText, IsOneBalancedGroupThatReadsBackAsThePlainLines) {
  const Lines lines = MakeReport(test::GoldenDocument(), test::GoldenContext(), 2);
  const std::string rtf = RichReportText(lines);
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
  if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
  test::TempDir dir;
  WriteReportFile(dir / "report.rtf", rtf);
  const std::string command = "unrtf --text '" + (dir / "report.rtf").string() + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  char buffer[4096];
  for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) text.append(buffer, n);
  std::istringstream in(text);
  std::size_t next = 0;
  for (std::string line; std::getline(in, line) && next < lines.size();) {
    if (CollapseSpaces(line) == CollapseSpaces(lines[next].text)) ++next;
  }
  EXPECT_EQ(next, lines.size()) << "first line not found: " << lines[std::min(next, lines.size() - 1)].text;
}

TEST(WriteReportFile, ReplacesAnyOlderFileWithTheTextExactlyAndCreatesNoFolder) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "stats.CSV", Bytes(20000, 'o'));
  WriteReportFile(dir / "stats.CSV", "a\r\nb");
  EXPECT_EQ(test::ReadFileBytes(dir / "stats.CSV"), (Bytes{'a', '\r', '\n', 'b'}));
  EXPECT_THROW(WriteReportFile(dir / "missing" / "stats.txt", "x"), WadError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace tarnlow
