#include "report/report_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "tests/report/golden_report.h"
#include "tests/support/temp_dir.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

using Lines = std::vector<ReportLine>;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(PlainReportText, JoinsLinesWithCrLfAndNoBreakAfterTheLast) {
  EXPECT_EQ(PlainReportText(Lines{{"a", true}, {"", false}, {"  c", false}}), "a\r\n\r\n  c");
  EXPECT_EQ(PlainReportText(Lines{{"only", false}}), "only");
  EXPECT_EQ(PlainReportText({}), "");
  const auto lines = MakeReport(test::GoldenDocument(), test::GoldenContext(), 2);
  const std::string text = PlainReportText(lines);
  std::size_t breaks = 0;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    EXPECT_EQ(text[at - 1], '\r') << "a bare LF at " << at;
    ++breaks;
  }
  EXPECT_EQ(breaks, lines.size() - 1);
  EXPECT_FALSE(text.ends_with("\n"));
}

TEST(RichReportText, EscapesRtfSyntaxAndWritesUnicodeUnits) {
  // é is U+00E9; the emoji is the surrogate pair D83D DE0A; € is U+20AC. A
  // lone continuation byte, a truncated sequence and an overlong "/" are
  // each one replacement character.
  const std::string rtf = RichReportText(Lines{{"a\\b{c}", false},
                                               {"\xC3\xA9 \xF0\x9F\x98\x8A \xE2\x82\xAC", true},
                                               {"x\x80y\xC3", false},
                                               {"\xC0\xAFz", false}});
  EXPECT_TRUE(Has(rtf, "a\\\\b\\{c\\}\\par")) << rtf;
  EXPECT_TRUE(Has(rtf, "\\b \\u233\\'3f \\u-10179\\'3f\\u-8694\\'3f \\u8364\\'3f\\b0 ")) << rtf;
  EXPECT_TRUE(Has(rtf, "x\\u-3\\'3fy\\u-3\\'3f\\par")) << rtf;
  EXPECT_TRUE(Has(rtf, "\\u-3\\'3f\\u-3\\'3fz")) << rtf;
}

TEST(RichReportText, IsOneBalancedGroupInCourierNew) {
  const std::string rtf = RichReportText(MakeReport(test::GoldenDocument(), test::GoldenContext(), 2));
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
  EXPECT_TRUE(Has(rtf, "{\\fonttbl{\\f0\\fmodern Courier New;}}"));
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

// unrtf renders runs of spaces as one space.
std::string CollapseSpaces(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out.push_back(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The golden level-2 report as an RTF file, read back by unrtf.
class RtfRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
    std::ofstream(dir_ / "report.rtf", std::ios::binary) << RichReportText(lines_);
  }
  std::string unrtf(const char* mode) {
    const std::string command = "unrtf " + std::string(mode) + " '" + (dir_ / "report.rtf").string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
    return out;
  }
  test::TempDir dir_;
  std::vector<ReportLine> lines_ = MakeReport(test::GoldenDocument(), test::GoldenContext(), 2);
};

TEST_F(RtfRoundTrip, TextConversionHoldsThePlainLinesInOrder) {
  std::istringstream in(unrtf("--text"));
  std::size_t next = 0;
  for (std::string line; std::getline(in, line) && next < lines_.size();) {
    if (CollapseSpaces(line) == CollapseSpaces(lines_[next].text)) ++next;
  }
  EXPECT_EQ(next, lines_.size()) << "first line not found: " << lines_[std::min(next, lines_.size() - 1)].text;
}

TEST_F(RtfRoundTrip, HtmlConversionShowsExactlyTheBoldLinesBold) {
  const std::string html = unrtf("--html");
  std::vector<std::string> boldInHtml, boldLines;
  for (std::size_t at = html.find("<b>"); at != std::string::npos; at = html.find("<b>", at + 3)) {
    const std::size_t end = html.find("</b>", at);
    ASSERT_NE(end, std::string::npos);
    boldInHtml.push_back(CollapseSpaces(html.substr(at + 3, end - at - 3)));
  }
  for (const ReportLine& line : lines_) {
    if (line.bold) boldLines.push_back(CollapseSpaces(line.text));
  }
  EXPECT_EQ(boldInHtml.size(), 13u);
  EXPECT_EQ(boldInHtml, boldLines);
}

TEST(WriteReportFile, ReplacesAnyOlderFileWithTheTextExactly) {
  test::TempDir dir;
  std::ofstream(dir / "stats.CSV", std::ios::binary) << std::string(20000, 'o');
  const std::string text = PlainReportText(MakeReport(test::GoldenDocument(), test::GoldenContext(), 1));
  WriteReportFile(dir / "stats.CSV", text);
  EXPECT_EQ(ReadText(dir / "stats.CSV"), text);
}

TEST(WriteReportFile, MissingFolderThrowsAndCreatesNothing) {
  test::TempDir dir;
  EXPECT_THROW(WriteReportFile(dir / "missing" / "stats.txt", "x"), WadError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace tarnlow
