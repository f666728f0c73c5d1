#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QListWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>

#include "report/report.h"
#include "tests/ui/support/window_story.h"
#include "ui/line_control.h"
#include "ui/twips.h"

namespace tarnlow::ui::test {
namespace {

std::vector<std::string> PaneText(const frmMain& w) {
  std::vector<std::string> lines;
  for (const QString& line : w.rtbReport->toPlainText().split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

std::vector<std::string> ReportTextOf(const WadDocument& document, const std::string& title, std::int64_t length,
                                      int level) {
  ReportContext context{title, length, FixedClock};
  std::vector<std::string> lines;
  for (const ReportLine& line : MakeReport(document, context, level)) lines.push_back(line.text);
  return lines;
}

std::vector<std::string> VisibleCaptions(const QMenu* menu) {
  std::vector<std::string> captions;
  for (const QAction* action : menu->actions()) {
    if (action->isVisible()) captions.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  }
  return captions;
}

class MainWindowTest : public WindowStory {};

TEST_F(MainWindowTest, StartCancelledLeavesEmptyWindowWithOnlyAlwaysOnItemsEnabled) {
  frmMain& w = startCancelled();
  EXPECT_EQ(platform.story(),
            std::vector<std::string>{"Open [Select a WAD to Edit] TR WAD file (*.wad)|*.wad #1 name= must-exist"});
  EXPECT_EQ(w.windowTitle(), "TombRaider Tarnlow");
  EXPECT_EQ(w.lblFilenameC[0]->text(), "WAD:");
  EXPECT_EQ(w.lblFilenameC[1]->text(), "SWD:");
  EXPECT_TRUE(w.lblFilename[0]->text().isEmpty());
  EXPECT_TRUE(w.lblFilename[1]->text().isEmpty());
  EXPECT_TRUE(w.rtbReport->toPlainText().isEmpty());
  EXPECT_EQ(w.lblMeshes->text(), "Meshes listed in SWD.");
  EXPECT_EQ(w.lblOneObj->text(), "Selected object mesh list");
  EXPECT_EQ(w.tabS->tabText(0), "Statistics");
  EXPECT_EQ(w.tabS->tabText(1), "Animations");
  for (QAction* off : {w.mnuSave, w.mnuSaveAs, w.mnuStatSave, w.mnustatPrint}) {
    EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
  }
  EXPECT_FALSE(w.mnuDetail->isEnabled());
  for (QAction* on : {w.mnuWAD, w.mnuExit, w.mnuContent, w.mnuAbout}) {
    EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
  }
  EXPECT_FALSE(w.session().WadLoaded);
}

TEST_F(MainWindowTest, LaterActivationsDoNoWork) {
  frmMain& w = startCancelled();
  w.setWindowTitle(QStringLiteral("changed"));
  w.Form_Activate();
  EXPECT_EQ(platform.story().size(), 1u);
  EXPECT_EQ(w.windowTitle(), "changed");
}

TEST_F(MainWindowTest, ActivationWhileTheOpenDialogIsUpDoesNotStartAgain) {
  const std::string wad = writeWad("level1.wad", StoryWad());
  platform.answerOpen(wad);
  frmMain& w = makeWindow();
  // The window gets activated again while its first Open dialog is still up.
  platform.duringDialog = [&w] { w.Form_Activate(); };
  w.Form_Activate();
  platform.duringDialog = nullptr;
  EXPECT_EQ(platform.story().size(), 1u);
  EXPECT_TRUE(w.session().WadLoaded);
}

TEST_F(MainWindowTest, OpeningAtStartShowsSummaryReportObjectsAndLabels) {
  const WadDocument document = StoryWad();
  const std::string wad = writeWad("level1.wad", document);
  frmMain& w = startWith(wad);

  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), wad);
  EXPECT_EQ(w.lblFilename[1]->text().toStdString(), pathOf("level1.swd"));
  EXPECT_EQ(w.session().WadTitle, "level1");
  EXPECT_EQ(w.session().WadFileName, wad);
  const auto length = static_cast<std::int64_t>(tarnlow::test::WadFileBytes(document).size());
  EXPECT_EQ(PaneText(w), ReportTextOf(document, "level1", length, 0));
  EXPECT_EQ(w.tabS->currentIndex(), 0);
  EXPECT_FALSE(w.fraWad[0]->isHidden());
  EXPECT_TRUE(w.fraWad[1]->isHidden());
  ASSERT_EQ(w.cboMeshes->count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(w.cboMeshes->item(i)->text().toStdString(), *w.session().names.ObjectName(i)) << i;
  }
  for (QAction* on : {w.mnuSave, w.mnuSaveAs, w.mnuStatSave, w.mnustatPrint}) {
    EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
  }
  EXPECT_TRUE(w.mnuDetail->isEnabled());
  EXPECT_TRUE(w.mnuSummary->isChecked());
}

TEST_F(MainWindowTest, ReportHeaderIsTheOnlyBoldLineAtSummaryLevel) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  QTextBlock block = w.rtbReport->document()->begin();
  for (int i = 0; block.isValid(); block = block.next(), ++i) {
    const bool bold = block.begin().fragment().charFormat().fontWeight() >= QFont::Bold;
    EXPECT_EQ(bold, i == 1) << block.text().toStdString();
  }
}

TEST_F(MainWindowTest, TabsShowTheirOwnPage) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  w.tabS->setCurrentIndex(1);
  EXPECT_TRUE(w.fraWad[0]->isHidden());
  EXPECT_FALSE(w.fraWad[1]->isHidden());
  w.tabS->setCurrentIndex(0);
  EXPECT_FALSE(w.fraWad[0]->isHidden());
  EXPECT_TRUE(w.fraWad[1]->isHidden());
}

TEST_F(MainWindowTest, ResizeKeepsOuterHeightSpansLinesAndReturnsToStatistics) {
  frmMain& w = startCancelled();
  w.show();
  QApplication::processEvents();
  const Twips tw = Twips::OfScreen();
  EXPECT_EQ(w.frameGeometry().height(), tw.px(8805));
  w.tabS->setCurrentIndex(1);
  const QRect report = w.rtbReport->geometry();
  w.setFixedHeight(300);
  QApplication::processEvents();
  EXPECT_EQ(w.frameGeometry().height(), tw.px(8805));
  EXPECT_EQ(w.Line1->width(), w.frameGeometry().width());
  EXPECT_EQ(w.Line2->width(), w.frameGeometry().width());
  EXPECT_EQ(w.Line2->y() - w.Line1->y(), tw.px(35));
  EXPECT_EQ(w.Line1->height(), 1);
  EXPECT_EQ(w.Line2->height(), 2);
  EXPECT_EQ(w.tabS->currentIndex(), 0);
  EXPECT_FALSE(w.fraWad[0]->isHidden());
  EXPECT_TRUE(w.fraWad[1]->isHidden());
  EXPECT_EQ(w.fraWad[1]->pos(), QPoint(tw.px(120), tw.px(1140)));
  EXPECT_EQ(w.rtbReport->geometry(), report);
  w.close();
}

TEST_F(MainWindowTest, ControlsStandWhereTheirTwipsSay) {
  frmMain& w = makeWindow();
  const Twips tw(96);
  if (Twips::OfScreen().px(1440) != 96) GTEST_SKIP() << "the screen is not at 96 dpi";
  EXPECT_EQ(w.lblFilename[0]->geometry(), QRect(72, 8, 621, 17));
  EXPECT_EQ(w.cboMeshes->geometry(), tw.rect(240, 540, 4395, 2205));
  EXPECT_EQ(w.MeshList->geometry(), tw.rect(240, 3060, 4395, 2400));
  EXPECT_EQ(w.rtbReport->geometry(), tw.rect(120, 240, 12015, 6555));
}

TEST_F(MainWindowTest, PathLabelsAreGreenOnBlackWithBorder) {
  frmMain& w = makeWindow();
  for (QLabel* label : w.lblFilename) {
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0, 0, 0));
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->frameShape(), QFrame::Box);
    EXPECT_EQ(label->lineWidth(), 1);
  }
}

TEST_F(MainWindowTest, MenusShowTheirItemsAndHideOpenWas) {
  frmMain& w = startCancelled();
  EXPECT_EQ(w.mnuFile->title(), "&File");
  EXPECT_EQ(w.mnuStatS->title(), "Stats");
  EXPECT_EQ(w.mnuHelp->title(), "&Help");
  EXPECT_EQ(VisibleCaptions(w.mnuFile),
            (std::vector<std::string>{"Open WAD...", "-", "&Save WAD", "Save WAD &as...", "-", "E&xit"}));
  EXPECT_EQ(VisibleCaptions(w.mnuStatS), (std::vector<std::string>{"Detail level", "-", "Save stats as...",
                                                                   "Print Stats..."}));
  EXPECT_EQ(VisibleCaptions(w.mnuDetail), (std::vector<std::string>{"Summary", "Detailed", "Very detailed"}));
  EXPECT_EQ(VisibleCaptions(w.mnuHelp), (std::vector<std::string>{"Content...", "A&bout..."}));
}

TEST_F(MainWindowTest, DetailLevelsMoveTheCheckMarkAndRebuildTheReport) {
  const WadDocument document = StoryWad();
  frmMain& w = startWith(writeWad("level1.wad", document));
  const auto length = static_cast<std::int64_t>(tarnlow::test::WadFileBytes(document).size());
  struct Case {
    QAction* item;
    int level;
  };
  for (const Case& c : {Case{w.mnuVery, 2}, Case{w.mnuDetailed, 1}, Case{w.mnuSummary, 0}}) {
    SCOPED_TRACE(c.level);
    c.item->trigger();
    EXPECT_EQ(w.session().DetailLevel, c.level);
    EXPECT_EQ(w.mnuSummary->isChecked(), c.level == 0);
    EXPECT_EQ(w.mnuDetailed->isChecked(), c.level == 1);
    EXPECT_EQ(w.mnuVery->isChecked(), c.level == 2);
    EXPECT_EQ(PaneText(w), ReportTextOf(document, "level1", length, c.level));
  }
}

TEST_F(MainWindowTest, SameDetailLevelRebuildsHandEditedReport) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  const QString report = w.rtbReport->toPlainText();
  w.rtbReport->setPlainText(QStringLiteral("edited"));
  w.mnuSummary->trigger();
  EXPECT_EQ(w.rtbReport->toPlainText(), report);
  EXPECT_TRUE(w.mnuSummary->isChecked());
}

TEST_F(MainWindowTest, UnreadableWadShowsItsErrorAndEndsTheProgram) {
  tarnlow::test::WadLayout layout = tarnlow::test::WadLayout::Of(StoryWad());
  layout.counts[5] = 0;  // NumStateChanges
  tarnlow::test::WriteFileBytes(dir / "broken.wad", layout.bytes());
  platform.answerOpen(pathOf("broken.wad"));
  platform.answerMessage();
  frmMain& w = makeWindow();
  w.show();
  w.Form_Activate();
  const std::vector<std::string> texts = platform.messageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_TRUE(texts[0].starts_with("ReadWAD -> error code 9\n")) << texts[0];
  EXPECT_GT(texts[0].size(), std::string("ReadWAD -> error code 9\n").size());
  EXPECT_EQ(platform.story().back().substr(0, 21), "Message [Tarnlow] ok ");
  EXPECT_EQ(w.exitStatus(), 1);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(w.session().WadLoaded);
}

TEST_F(MainWindowTest, ExitClosesWithStatusZero) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  w.show();
  w.mnuExit->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.exitStatus(), 0);
}

TEST_F(MainWindowTest, ContentDoesNothing) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  const QString report = w.rtbReport->toPlainText();
  w.mnuContent->trigger();
  EXPECT_EQ(platform.story().size(), 1u);
  EXPECT_EQ(w.rtbReport->toPlainText(), report);
}

TEST_F(MainWindowTest, FaultyObjectNameFileIsToldOnceAndTheWindowGoesOn) {
  tarnlow::test::WriteFileBytes(dir / "TR4Objects.dat", Bytes{0xFF, 0xFF, 0xFF, 0x7F});
  platform.programFolder = dir.path().string();
  platform.answerMessage();
  platform.cancelOpen();
  frmMain& w = makeWindow();
  w.Form_Activate();
  const std::vector<std::string> texts = platform.messageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("TR4Objects.dat"), std::string::npos) << texts[0];
  EXPECT_EQ(platform.story().back().substr(0, 4), "Open");
}

TEST_F(MainWindowTest, MissingObjectNameFileIsToldOnceAndNotCreated) {
  platform.programFolder = dir.path().string();
  platform.answerMessage();
  platform.cancelOpen();
  frmMain& w = makeWindow();
  w.Form_Activate();
  const std::string namesPath = pathOf("TR4Objects.dat");
  EXPECT_EQ(platform.story(),
            (std::vector<std::string>{"Message [Tarnlow] ok exclamation The object-name file " + namesPath +
                                          " was not found.\nObjects are listed without names.",
                                      "Open [Select a WAD to Edit] TR WAD file (*.wad)|*.wad #1 name= must-exist"}));
  EXPECT_FALSE(std::filesystem::exists(namesPath));
  EXPECT_TRUE(w.session().names.ObjectName(0)->empty());
}

}  // namespace
}  // namespace tarnlow::ui::test
