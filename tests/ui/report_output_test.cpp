#include "ui/report_output.h"

#include <QAction>
#include <QTextCursor>
#include <QListWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdio>
#include <filesystem>

#include "report/report_files.h"
#include "tests/ui/support/window_story.h"
#include "ui/report_pane.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::ReadFileBytes;
using tarnlow::test::WriteFileBytes;

std::string FileText(const std::filesystem::path& path) {
  const Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// The text pdftotext finds in a PDF, or nothing when it cannot run.
std::optional<std::string> PdfText(const std::filesystem::path& pdf) {
  const std::string command = std::string(PDFTOTEXT) + " -layout '" + pdf.string() + "' - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string text;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional(text) : std::nullopt;
}

class ReportOutputTest : public WindowStory {
 protected:
  frmMain& opened() { return startWith(writeWad("karnak.wad", StoryWad())); }
};

TEST_F(ReportOutputTest, FirstSaveAsksWithCsvPreselectedAndWritesCrLfText) {
  frmMain& w = opened();
  platform.answerSave(pathOf("Stats.TXT"), 2);
  w.mnuStatSave->trigger();
  EXPECT_EQ(platform.story().back(),
            "Save [Save File as] RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv #3 name=");
  const std::string saved = pathOf("stats.txt");
  EXPECT_EQ(w.session().ReportFileName, saved);
  const std::string expected = PlainReportText(PaneLines(*w.rtbReport->document()));
  EXPECT_EQ(FileText(saved), expected);
  EXPECT_NE(expected.find("\r\nReport on WAD: karnak\r\n"), std::string::npos);
}

TEST_F(ReportOutputTest, ExtensionComesFromTheFilterEntry) {
  struct Case {
    std::string chosen;
    int filterIndex;
    std::string saved;
  };
  frmMain& w = opened();
  for (const Case& c : {Case{"Karnak.txt", 1, "karnak.rtf"}, Case{"Stats.TXT", 3, "stats.CSV"},
                        Case{"Plain", 2, "plain.txt"}, Case{"low.rtf", 0, "low.txt"}}) {
    SCOPED_TRACE(c.chosen);
    platform.answerSave(pathOf(c.chosen), c.filterIndex);
    w.mnuStatSave->trigger();
    EXPECT_EQ(w.session().ReportFileName, pathOf(c.saved));
    EXPECT_TRUE(std::filesystem::exists(dir / c.saved));
  }
}

TEST_F(ReportOutputTest, RichTextKeepsHandEditsAndBold) {
  frmMain& w = opened();
  QTextCursor cursor(w.rtbReport->document()->findBlockByNumber(0));
  cursor.insertText(QStringLiteral("MY NOTE "));
  platform.answerSave(pathOf("karnak.rtf"), 1);
  w.mnuStatSave->trigger();
  const std::string rtf = FileText(dir / "karnak.rtf");
  EXPECT_EQ(rtf, RichReportText(PaneLines(*w.rtbReport->document())));
  EXPECT_TRUE(rtf.starts_with("{\\rtf1"));
  EXPECT_NE(rtf.find("MY NOTE ="), std::string::npos);
}

TEST_F(ReportOutputTest, SavingAgainToTheSameFileAsksNothing) {
  frmMain& w = opened();
  platform.answerSave(pathOf("karnak.csv"), 3);
  w.mnuStatSave->trigger();
  platform.answerSave(pathOf("KARNAK.CSV"), 3);
  w.mnuStatSave->trigger();
  EXPECT_EQ(platform.story().back(), "Save [Save File] RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|"
                                     "CSV file (*.csv)|*.csv #3 name=" + pathOf("karnak.CSV"));
  EXPECT_EQ(platform.messageTexts().size(), 0u);
}

TEST_F(ReportOutputTest, AnotherExistingFileAsksAndNoLeavesFileAndNameAlone) {
  frmMain& w = opened();
  platform.answerSave(pathOf("first.csv"), 3);
  w.mnuStatSave->trigger();
  WriteFileBytes(dir / "other.CSV", Bytes{'o', 'l', 'd'});
  platform.answerSave(pathOf("other.csv"), 3);
  platform.answerMessage(MessageAnswer::No);
  w.mnuStatSave->trigger();
  EXPECT_EQ(platform.story().back(),
            "Message [Overwrite File] yes-no exclamation Do you want to overwrite existing file?");
  EXPECT_EQ(FileText(dir / "other.CSV"), "old");
  EXPECT_EQ(w.session().ReportFileName, pathOf("first.CSV"));

  platform.answerSave(pathOf("other.csv"), 3);
  platform.answerMessage(MessageAnswer::Yes);
  w.mnuStatSave->trigger();
  EXPECT_NE(FileText(dir / "other.CSV"), "old");
  EXPECT_EQ(w.session().ReportFileName, pathOf("other.CSV"));
}

TEST_F(ReportOutputTest, FirstSaveOverAnExistingFileAsks) {
  frmMain& w = opened();
  WriteFileBytes(dir / "karnak.CSV", Bytes{'o', 'l', 'd'});
  platform.answerSave(pathOf("karnak.csv"), 3);
  platform.answerMessage(MessageAnswer::No);
  w.mnuStatSave->trigger();
  EXPECT_EQ(FileText(dir / "karnak.CSV"), "old");
  EXPECT_TRUE(w.session().ReportFileName.empty());
}

TEST_F(ReportOutputTest, CancelledSaveChangesNothing) {
  frmMain& w = opened();
  platform.cancelSave();
  w.mnuStatSave->trigger();
  EXPECT_TRUE(w.session().ReportFileName.empty());
}

TEST_F(ReportOutputTest, FailedWriteIsToldAndTheNameIsStillTaken) {
  frmMain& w = opened();
  const std::string target = pathOf("no-such-folder/stats.csv");
  platform.answerSave(target, 3);
  platform.answerMessage();
  w.mnuStatSave->trigger();
  const std::string saved = pathOf("no-such-folder/stats.CSV");
  EXPECT_EQ(w.session().ReportFileName, saved);
  ASSERT_EQ(platform.messageTexts().size(), 1u);
  EXPECT_TRUE(platform.messageTexts()[0].starts_with("The report could not be saved to " + saved + ":\n"))
      << platform.messageTexts()[0];
}

TEST_F(ReportOutputTest, EmptyPaneNeitherSavesNorPrints) {
  QTextEdit pane;
  Session session;
  SaveStats(session, platform, pane);
  PrintStats(platform, pane);
  EXPECT_TRUE(platform.story().empty());
}

TEST_F(ReportOutputTest, PrintsTheWholeReportAndKeepsTheCaretWithoutSelection) {
  frmMain& w = opened();
  QTextCursor caret(w.rtbReport->document());
  caret.setPosition(10);
  w.rtbReport->setTextCursor(caret);
  platform.answerPrint(pathOf("all.pdf"), false);
  w.mnustatPrint->trigger();
  EXPECT_EQ(platform.story().back(), "Print selection-disabled");
  EXPECT_EQ(w.rtbReport->textCursor().position(), 10);
  EXPECT_FALSE(w.rtbReport->textCursor().hasSelection());
  const auto text = PdfText(dir / "all.pdf");
  ASSERT_TRUE(text.has_value()) << "pdftotext could not read the printed file";
  EXPECT_NE(text->find("Report on WAD: karnak"), std::string::npos);
  EXPECT_NE(text->find("End of report on karnak WAD file."), std::string::npos);
}

TEST_F(ReportOutputTest, PrintsOnlyTheSelectionAndKeepsIt) {
  frmMain& w = opened();
  const QTextBlock header = w.rtbReport->document()->findBlockByNumber(1);
  QTextCursor selection(header);
  selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  w.rtbReport->setTextCursor(selection);
  platform.answerPrint(pathOf("part.pdf"), true);
  w.mnustatPrint->trigger();
  EXPECT_EQ(platform.story().back(), "Print selection-enabled selection-chosen");
  EXPECT_EQ(w.rtbReport->textCursor().selectedText(), header.text());
  const auto text = PdfText(dir / "part.pdf");
  ASSERT_TRUE(text.has_value()) << "pdftotext could not read the printed file";
  EXPECT_NE(text->find("Report on WAD: karnak"), std::string::npos);
  EXPECT_EQ(text->find("End of report"), std::string::npos);
}

TEST_F(ReportOutputTest, SelectionLeftUnchosenPrintsEverythingAndRestoresTheSelection) {
  frmMain& w = opened();
  QTextCursor selection(w.rtbReport->document()->findBlockByNumber(1));
  selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  w.rtbReport->setTextCursor(selection);
  platform.answerPrint(pathOf("all.pdf"), false);
  w.mnustatPrint->trigger();
  EXPECT_EQ(w.rtbReport->textCursor().anchor(), selection.anchor());
  EXPECT_EQ(w.rtbReport->textCursor().position(), selection.position());
  const auto text = PdfText(dir / "all.pdf");
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("End of report on karnak WAD file."), std::string::npos);
}

TEST_F(ReportOutputTest, CancelledPrintWritesNothing) {
  frmMain& w = opened();
  platform.cancelPrint();
  w.mnustatPrint->trigger();
  EXPECT_FALSE(std::filesystem::exists(dir / "all.pdf"));
}

}  // namespace
}  // namespace tarnlow::ui::test
