#include "ui/report_output.h"

#include <cstdio>
#include <optional>
#include <regex>

#include "report/report_files.h"
#include "tests/ui/support/window_story.h"
#include "ui/report_pane.h"
#include "wad/file_paths.h"

namespace tarnlow::ui::test {
namespace {

const std::string kSaveDialog =
    "RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv #3 name=";

std::string FileText(const std::filesystem::path& path) {
  const Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// The text pdftotext finds in a PDF; a failure when it cannot run. The
// Windows build has no pdftotext to call: there it checks only that a PDF
// was written, and the text is left to the Linux build.
std::optional<std::string> PdfText(const std::filesystem::path& pdf) {
#ifdef _WIN32
  EXPECT_EQ(FileText(pdf).substr(0, 5), "%PDF-");
  return std::nullopt;
#else
  const std::string command = std::string(PDFTOTEXT) + " -layout '" + pdf.string() + "' - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string text;
  char buffer[4096];
  for (std::size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  EXPECT_TRUE(pipe != nullptr && pclose(pipe) == 0) << "pdftotext could not read " << pdf;
  return text;
#endif
}

class ReportOutputTest : public WindowStory {
 protected:
  frmMain& opened() { return startWith(writeWad("karnak.wad", StoryWad())); }
  void save(const std::string& name, int filterIndex) {
    platform.answerSave(pathOf(name), filterIndex);
    window->mnuStatSave->trigger();
  }
  // The name a report saved as `name` in the test folder is kept under. On
  // Windows the whole chosen path is lowered, which names the same folder
  // there; elsewhere the folder is kept as it is spelled.
  std::string savedPath(const std::string& name) {
#ifdef _WIN32
    return LowerCaseName(dir.path().string()) + "\\" + name;
#else
    return pathOf(name);
#endif
  }
  // Selects the report's header line "Report on WAD: karnak".
  QTextCursor selectHeader() {
    QTextCursor selection(window->rtbReport->document()->findBlockByNumber(1));
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    window->rtbReport->setTextCursor(selection);
    return selection;
  }
};

// Text keeps the pane's lines with CR LF; rich text keeps hand edits and bold.
TEST_F(ReportOutputTest, FirstSaveAsksWithCsvPreselectedAndWritesWhatThePaneHolds) {
  frmMain& w = opened();
  // A folder spelled in capitals tells whether it was kept or lowered.
  std::filesystem::create_directory(dir / "Reports");
  save("Reports/Stats.TXT", 2);
  EXPECT_EQ(platform.story.back(), "Save [Save File as] " + kSaveDialog);
#ifdef _WIN32
  EXPECT_EQ(w.session().ReportFileName, LowerCaseName(pathOf("Reports/Stats.TXT")));
#else
  EXPECT_EQ(w.session().ReportFileName, pathOf("Reports/stats.txt"));
#endif
  EXPECT_EQ(std::filesystem::directory_iterator(dir / "Reports")->path().filename(), "stats.txt");
  EXPECT_EQ(FileText(dir / "Reports" / "stats.txt"), PlainReportText(PaneLines(*w.rtbReport->document())));
  QTextCursor(w.rtbReport->document()->findBlockByNumber(0)).insertText(QStringLiteral("MY NOTE "));
  save("karnak.rtf", 1);
  EXPECT_EQ(FileText(dir / "karnak.rtf"), RichReportText(PaneLines(*w.rtbReport->document())));
}

TEST_F(ReportOutputTest, OverwriteQuestionComesForAnExistingFileOtherThanTheLastSaved) {
  frmMain& w = opened();
  platform.cancelSave();
  w.mnuStatSave->trigger();
  WriteFileBytes(dir / "karnak.CSV", Bytes{'o', 'l', 'd'});
  WriteFileBytes(dir / "other.CSV", Bytes{'o', 'l', 'd'});
  const std::string question = "Message [Overwrite File] yes-no exclamation Do you want to overwrite existing file?";
  // The first save asks; No leaves the file and the name alone.
  platform.answerMessage(MessageAnswer::No);
  save("karnak.csv", 3);
  EXPECT_EQ(platform.story.back(), question);
  EXPECT_EQ(FileText(dir / "karnak.CSV"), "old");
  EXPECT_TRUE(w.session().ReportFileName.empty());
  platform.answerMessage(MessageAnswer::Yes);
  save("karnak.csv", 3);
  EXPECT_NE(FileText(dir / "karnak.CSV"), "old");
  EXPECT_EQ(w.session().ReportFileName, savedPath("karnak.CSV"));
  // Saving again to the same file asks nothing, whatever the case typed.
  save("KARNAK.CSV", 3);
  EXPECT_EQ(platform.story.back(), "Save [Save File] " + kSaveDialog + savedPath("karnak.CSV"));
  // Another existing file asks again.
  platform.answerMessage(MessageAnswer::No);
  save("other.csv", 3);
  EXPECT_EQ(platform.story.back(), question);
  EXPECT_EQ(FileText(dir / "other.CSV"), "old");
  EXPECT_EQ(w.session().ReportFileName, savedPath("karnak.CSV"));
}

TEST_F(ReportOutputTest, FailedWriteIsToldAndTheNameIsStillTaken) {
  frmMain& w = opened();
  platform.answerMessage();
  save("no-such-folder/stats.csv", 3);
  EXPECT_EQ(w.session().ReportFileName, savedPath("no-such-folder/stats.CSV"));
  EXPECT_EQ(platform.messageTexts.size(), 1u);
  // An empty pane neither saves nor prints.
  QTextEdit pane;
  Session session;
  platform.story.clear();
  SaveStats(session, platform, pane);
  PrintStats(platform, pane);
  EXPECT_TRUE(platform.story.empty());
}

TEST_F(ReportOutputTest, PrintsTheSelectionOnlyWhenChosenAndLeavesTheCursorAsItWas) {
  frmMain& w = opened();
  const struct { bool select, selectionOnly; std::string dialog; } cases[] = {
      {false, false, "Print selection-disabled"},
               {true, false, "Print selection-enabled selection-chosen"},
               {true, true, "Print selection-enabled selection-chosen"}};
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dialog + (c.selectionOnly ? ", selection printed" : ""));
    QTextCursor cursor(w.rtbReport->document());
    cursor.setPosition(10);
    if (c.select) cursor = selectHeader();
    w.rtbReport->setTextCursor(cursor);
    const std::string pdf = pathOf("print" + std::to_string(++run) + ".pdf");
    // A cancelled print first: it ends quietly and changes nothing.
    platform.cancelPrint();
    w.mnustatPrint->trigger();
    platform.answerPrint(pdf, c.selectionOnly);
    w.mnustatPrint->trigger();
    EXPECT_EQ(platform.story.back(), c.dialog);
    const QTextCursor after = w.rtbReport->textCursor();
    EXPECT_EQ(std::pair(after.anchor(), after.position()), std::pair(cursor.anchor(), cursor.position()));
    if (const auto text = PdfText(pdf)) {
      EXPECT_NE(text->find("Report on WAD: karnak"), std::string::npos);
      EXPECT_EQ(text->find("End of report on karnak WAD file.") != std::string::npos, !c.selectionOnly);
    }
  }
}

TEST_F(ReportOutputTest, PrintedRowsWiderThanThePageWrapInsteadOfBeingCut) {
  frmMain& w = opened();
  w.mnuDetailed->trigger();
  const std::string pdf = pathOf("wide.pdf");
  platform.answerPrint(pdf, false);
  w.mnustatPrint->trigger();
  // The animation table's header ends far beyond the right margin with its
  // last column; "NumAnimCommands" elsewhere must not count.
  if (const auto text = PdfText(pdf)) {
    EXPECT_TRUE(std::regex_search(*text, std::regex("(^|[ ,])AnimCommands")));
  }
}

}  // namespace
}  // namespace tarnlow::ui::test
