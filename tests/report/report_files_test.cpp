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
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PlainReportText, JoinsLinesWithCrLfAndNoBreakAfterTheLast) {
  const std::vector<ReportLine> lines{{"a", true}, {"", false}, {"  c", false}};
  EXPECT_EQ(PlainReportText(lines), "a\r\n\r\n  c");
  EXPECT_EQ(PlainReportText(std::vector<ReportLine>{{"only", false}}), "only");
  EXPECT_EQ(PlainReportText({}), "");
}

TEST(PlainReportText, WholeReportNeverEndsWithALineBreak) {
  const auto lines = MakeReport(test::GoldenDocument(), test::GoldenContext(), 2);
  const std::string text = PlainReportText(lines);
  EXPECT_FALSE(text.ends_with("\r\n"));
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, lines.size() - 1);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "a bare LF";
}

TEST(RichReportText, EscapesRtfSyntaxAndWritesUnicodeUnits) {
  const std::vector<ReportLine> lines{{"a\\b{c}", false}, {"\xC3\xA9 \xF0\x9F\x98\x8A \xE2\x82\xAC", true}};
  const std::string rtf = RichReportText(lines);
  EXPECT_NE(rtf.find("a\\\\b\\{c\\}\\par"), std::string::npos) << rtf;
  // é is U+00E9; the emoji is the surrogate pair D83D DE0A; € is U+20AC.
  EXPECT_NE(rtf.find("\\b \\u233\\'3f \\u-10179\\'3f\\u-8694\\'3f \\u8364\\'3f\\b0 "), std::string::npos) << rtf;
}

TEST(RichReportText, WritesBrokenUtf8AsReplacementCharacters) {
  // A lone continuation byte, a truncated sequence and an overlong "/".
  const std::vector<ReportLine> lines{{"x\x80y\xC3", false}, {"\xC0\xAFz", false}};
  const std::string rtf = RichReportText(lines);
  EXPECT_NE(rtf.find("x\\u-3\\'3fy\\u-3\\'3f\\par"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\u-3\\'3f\\u-3\\'3fz"), std::string::npos) << rtf;
}

TEST(RichReportText, IsOneBalancedGroupInCourierNew) {
  const std::string rtf = RichReportText(MakeReport(test::GoldenDocument(), test::GoldenContext(), 2));
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
  EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fmodern Courier New;}}"), std::string::npos);
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
      continue;
    }
    if (rtf[i] == '{') ++depth;
    if (rtf[i] == '}' && --depth == 0) {
      EXPECT_EQ(rtf.find_first_not_of("\r\n", i + 1), std::string::npos);
    }
  }
  EXPECT_EQ(depth, 0);
}

// Runs a command and returns what it wrote to stdout.
std::string RunCommand(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  if (!pipe) return out;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
  return out;
}

// unrtf renders runs of spaces as one space.
std::string CollapseSpaces(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out.push_back(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

class RtfRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
    lines_ = MakeReport(test::GoldenDocument(), test::GoldenContext(), 2);
    path_ = dir_ / "report.rtf";
    std::ofstream(path_, std::ios::binary) << RichReportText(lines_);
  }
  test::TempDir dir_;
  std::filesystem::path path_;
  std::vector<ReportLine> lines_;
};

TEST_F(RtfRoundTrip, TextConversionHoldsThePlainLinesInOrder) {
  const std::string text = RunCommand("unrtf --text '" + path_.string() + "' 2>/dev/null");
  std::istringstream in(text);
  std::string line;
  std::size_t next = 0;
  while (std::getline(in, line) && next < lines_.size()) {
    if (CollapseSpaces(line) == CollapseSpaces(lines_[next].text)) ++next;
  }
  EXPECT_EQ(next, lines_.size()) << "first line not found: " << lines_[std::min(next, lines_.size() - 1)].text
                                 << "\n" << text;
}

TEST_F(RtfRoundTrip, HtmlConversionShowsExactlyTheBoldLinesBold) {
  const std::string html = RunCommand("unrtf --html '" + path_.string() + "' 2>/dev/null");
  std::vector<std::string> boldInHtml;
  for (std::size_t at = html.find("<b>"); at != std::string::npos; at = html.find("<b>", at + 3)) {
    const std::size_t end = html.find("</b>", at);
    ASSERT_NE(end, std::string::npos);
    boldInHtml.push_back(CollapseSpaces(html.substr(at + 3, end - at - 3)));
  }
  std::vector<std::string> boldLines;
  for (const ReportLine& line : lines_) {
    if (line.bold) boldLines.push_back(CollapseSpaces(line.text));
  }
  EXPECT_EQ(boldInHtml.size(), 13u);
  EXPECT_EQ(boldInHtml, boldLines);
}

TEST_F(RtfRoundTrip, HtmlConversionKeepsLettersBeyondAscii) {
  std::ofstream(path_, std::ios::binary) << RichReportText(std::vector<ReportLine>{{"Karnak \xC3\xA9t\xC3\xA9", true}});
  EXPECT_NE(RunCommand("unrtf --html '" + path_.string() + "' 2>/dev/null").find("<b>Karnak &eacute;t&eacute;</b>"),
            std::string::npos);
}

TEST(WriteReportFile, WritesTheTextExactly) {
  test::TempDir dir;
  const std::string text = PlainReportText(MakeReport(test::GoldenDocument(), test::GoldenContext(), 1));
  WriteReportFile(dir / "stats.CSV", text);
  EXPECT_EQ(ReadText(dir / "stats.CSV"), text);
}

TEST(WriteReportFile, ReplacesAnExistingFile) {
  test::TempDir dir;
  std::ofstream(dir / "stats.txt", std::ios::binary) << "an older, longer report text";
  WriteReportFile(dir / "stats.txt", "new");
  EXPECT_EQ(ReadText(dir / "stats.txt"), "new");
}

TEST(WriteReportFile, MissingFolderThrowsAndCreatesNothing) {
  test::TempDir dir;
  EXPECT_THROW(WriteReportFile(dir / "missing" / "stats.txt", "x"), WadError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace tarnlow
