#include "ui/report_pane.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace tarnlow::ui {
namespace {

const std::vector<ReportLine> kLines = {
    {"=====", false}, {"Report on WAD: karnak", true}, {"Count:   12", true}, {"", false}, {"  0,   1, 1", false},
    {"", true}, {"Ümlaut € end", true}, {"", false},
};

TEST(ReportPane, ShowsTheLinesJoinedWithLineFeedsAndGivesThemBackWithTheirBoldFlags) {
  QTextDocument pane;
  ShowReport(pane, kLines);
  EXPECT_EQ(pane.toPlainText().toStdString(),
            "=====\nReport on WAD: karnak\nCount:   12\n\n  0,   1, 1\n\n\xC3\x9Cmlaut \xE2\x82\xAC end\n");
  EXPECT_EQ(PaneLines(pane), kLines);
}

TEST(ReportPane, ShowingAgainReplacesTheWholeContentAndItsFormats) {
  QTextDocument pane;
  EXPECT_FALSE(PaneHasText(pane));
  ShowReport(pane, kLines);
  const std::vector<ReportLine> plain = {{"one", false}, {"two", false}};
  ShowReport(pane, plain);
  EXPECT_EQ(PaneLines(pane), plain);
  EXPECT_FALSE(pane.isUndoAvailable());
  ShowReport(pane, {});
  EXPECT_FALSE(PaneHasText(pane));
}

TEST(ReportPane, HandEditsAndBoldAreKept) {
  QTextDocument pane;
  ShowReport(pane, kLines);
  QTextCursor cursor(pane.findBlockByNumber(0));
  cursor.insertText(QStringLiteral(">>"));
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.select(QTextCursor::BlockUnderCursor);
  cursor.mergeCharFormat(bold);
  const std::vector<ReportLine> lines = PaneLines(pane);
  ASSERT_EQ(lines.size(), kLines.size());
  EXPECT_EQ(lines[0], (ReportLine{">>=====", true}));
  EXPECT_EQ(lines[4], kLines[4]);
}

}  // namespace
}  // namespace tarnlow::ui
