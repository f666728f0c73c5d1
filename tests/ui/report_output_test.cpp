#include "ui/report_output.h"

#include <QAbstractButton>
#include <QPrintDialog>
#include <QPrinter>

#include <cstdio>
#include <optional>
#include <regex>

#include "report/report_files.h"
#include "tests/ui/support/window_story.h"
#include "ui/qt_platform.h"
#include "ui/report_pane.h"
#include "wad/file_paths.h"

namespace tarnlow::ui::test {
namespace {

const std::string kSaveDialog =
    "RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv #3 name=";

// The text pdftotext finds in a PDF; a failure when it cannot run. The
// Windows build has no pdftotext to call: there it checks only that a PDF
// was written, and the text is left to the Linux build.
std::optional<std::string> PdfText(const std::filesystem::path& pdf) {
#ifdef _WIN32
  EXPECT_EQ(ReadFileText(pdf).substr(0, 5), "%PDF-");
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
    return LowerCaseName(dir.path().string()) + "\\" + std::filesystem::path(name).make_preferred().string();
#else
    return pathOf(name);
#endif
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
  EXPECT_EQ(ReadFileText(dir / "Reports" / "stats.txt"), PlainReportText(PaneLines(*w.rtbReport->document())));
  QTextCursor(w.rtbReport->document()->findBlockByNumber(0)).insertText(QStringLiteral("MY NOTE "));
  save("karnak.rtf", 1);
  EXPECT_EQ(ReadFileText(dir / "karnak.rtf"), RichReportText(PaneLines(*w.rtbReport->document())));
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
  EXPECT_EQ(ReadFileText(dir / "karnak.CSV"), "old");
  EXPECT_TRUE(w.session().ReportFileName.empty());
  platform.answerMessage(MessageAnswer::Yes);
  save("karnak.csv", 3);
  EXPECT_NE(ReadFileText(dir / "karnak.CSV"), "old");
  EXPECT_EQ(w.session().ReportFileName, savedPath("karnak.CSV"));
  // Saving again to the same file asks nothing, whatever the case typed.
  save("KARNAK.CSV", 3);
  EXPECT_EQ(platform.story.back(), "Save [Save File] " + kSaveDialog + savedPath("karnak.CSV"));
  // Another existing file asks again.
  platform.answerMessage(MessageAnswer::No);
  save("other.csv", 3);
  EXPECT_EQ(platform.story.back(), question);
  EXPECT_EQ(ReadFileText(dir / "other.CSV"), "old");
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

// Rows wider than the page wrap instead of being cut: the animation table's
// header ends far beyond the right margin with its last column
// ("NumAnimCommands" elsewhere must not count).
TEST_F(ReportOutputTest, PrintsTheSelectionOnlyWhenChosenWrapsWideRowsAndLeavesTheCursorAsItWas) {
  frmMain& w = opened();
  w.mnuDetailed->trigger();
  const struct { bool select, selectionOnly; std::string dialog; } cases[] = {
      {false, false, "Print selection-disabled"},
      {true, false, "Print selection-enabled selection-chosen"},
      {true, true, "Print selection-enabled selection-chosen"}};
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dialog + (c.selectionOnly ? ", selection printed" : ""));
    // Either a caret, or the header line "Report on WAD: karnak" selected.
    QTextCursor cursor(w.rtbReport->document()->findBlockByNumber(1));
    if (c.select) cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
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
      EXPECT_EQ(std::regex_search(*text, std::regex("(^|[ ,])AnimCommands")), !c.selectionOnly);
    }
  }
}

const std::vector<ReportLine> kLines = {
    {"=====", false}, {"Report on WAD: karnak", true}, {"Count:   12", true}, {"", false}, {"  0,   1, 1", false},
    {"", true}, {"Ümlaut € end", true}, {"", false},
};

// Showing again replaces the whole content and its formats.
TEST(ReportPane, ShowsTheLinesJoinedWithLineFeedsAndGivesThemBackWithTheirBoldFlags) {
  QTextDocument pane;
  EXPECT_FALSE(PaneHasText(pane));
  ShowReport(pane, kLines);
  EXPECT_EQ(pane.toPlainText().toStdString(),
            "=====\nReport on WAD: karnak\nCount:   12\n\n  0,   1, 1\n\n\xC3\x9Cmlaut \xE2\x82\xAC end\n");
  EXPECT_EQ(PaneLines(pane), kLines);
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

// As the Windows dialog behaves: no page range to type, and "Selection"
// always shown, greyed while nothing is selected.
TEST(PrintDialog, OffersNoPageRangeAndGreysSelectionWhileNothingIsSelected) {
  for (const bool selected : {false, true}) {
    SCOPED_TRACE(selected ? "text selected" : "nothing selected");
    QPrinter printer;
    QPrintDialog dialog(&printer);
    ConfigurePrintDialog(dialog, PrintRequest{selected, selected});
#ifdef _WIN32
    // The native dialog draws its own controls from these options.
    EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintSelection), selected);
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_EQ(dialog.printRange() == QAbstractPrintDialog::Selection, selected);
#else
    dialog.show();
    const auto* selection = dialog.findChild<QAbstractButton*>(QStringLiteral("printSelection"));
    ASSERT_NE(selection, nullptr);
    EXPECT_FALSE(selection->isHidden());
    EXPECT_EQ(selection->isEnabled(), selected);
    EXPECT_EQ(selection->isChecked(), selected);
    const auto* pages = dialog.findChild<QAbstractButton*>(QStringLiteral("printRange"));
    EXPECT_TRUE(pages == nullptr || pages->isHidden() || !pages->isEnabled());
    dialog.hide();
#endif
  }
}

}  // namespace
}  // namespace tarnlow::ui::test
