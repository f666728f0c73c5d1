#include "report/report_files.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace tarnlow
