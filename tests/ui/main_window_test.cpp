#include "ui/main_window.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionButton>

#include "report/report.h"
#include "tests/ui/support/window_story.h"
#include "ui/about_dialog.h"
#include "ui/line_control.h"
#include "ui/twips.h"

namespace tarnlow::ui::test {
namespace {

const std::string kOpenLine = "Open [Select a WAD to Edit] TR WAD file (*.wad)|*.wad #1 name= must-exist";

// The pane's lines against the report of StoryWad as level1.wad.
void ExpectStoryReport(const frmMain& w, int level) {
  ReportContext context{"level1", static_cast<std::int64_t>(WadFileBytes(StoryWad()).size()), FixedClock};
  QStringList expected;
  for (const ReportLine& line : MakeReport(StoryWad(), context, level)) expected << QString::fromStdString(line.text);
  EXPECT_EQ(w.rtbReport->toPlainText(), expected.join(QLatin1Char('\n')));
}

std::vector<std::string> VisibleCaptions(const QMenu* menu) {
  std::vector<std::string> captions;
  for (const QAction* action : menu->actions()) {
    if (action->isVisible()) captions.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  }
  return captions;
}

// Enabled states of the items that depend on a loaded WAD and on the pane.
void ExpectMenuStates(frmMain& w, bool wadLoaded, bool paneHasText) {
  EXPECT_EQ(w.mnuDetail->isEnabled(), wadLoaded);
  for (QAction* item : {w.mnuSave, w.mnuSaveAs}) EXPECT_EQ(item->isEnabled(), wadLoaded);
  for (QAction* item : {w.mnuStatSave, w.mnustatPrint}) EXPECT_EQ(item->isEnabled(), paneHasText);
  for (QAction* on : {w.mnuWAD, w.mnuExit, w.mnuContent, w.mnuAbout}) EXPECT_TRUE(on->isEnabled());
}

class MainWindowTest : public WindowStory {};

TEST_F(MainWindowTest, StartCancelledLeavesAnEmptyWindowWithItsCaptionsAndMenus) {
  frmMain& w = startCancelled();
  EXPECT_EQ(platform.story, std::vector<std::string>{kOpenLine});
  const std::pair<QString, const char*> texts[] = {
      {w.windowTitle(), "TombRaider Tarnlow"}, {w.lblFilenameC[0]->text(), "WAD:"},
      {w.lblFilenameC[1]->text(), "SWD:"}, {w.lblFilename[0]->text(), ""}, {w.rtbReport->toPlainText(), ""},
      {w.lblMeshes->text(), "Meshes listed in SWD."}, {w.lblOneObj->text(), "Selected object mesh list"},
      {w.tabS->tabText(0), "Statistics"}, {w.tabS->tabText(1), "Animations"}, {w.mnuFile->title(), "&File"},
      {w.mnuStatS->title(), "Stats"}, {w.mnuHelp->title(), "&Help"},
  };
  for (const auto& [actual, expected] : texts) EXPECT_EQ(actual, expected);
  const std::pair<const QMenu*, std::vector<std::string>> menus[] = {
      {w.mnuFile, {"Open WAD...", "-", "&Save WAD", "Save WAD &as...", "-", "E&xit"}},
      {w.mnuStatS, {"Detail level", "-", "Save stats as...", "Print Stats..."}},
      {w.mnuDetail, {"Summary", "Detailed", "Very detailed"}}, {w.mnuHelp, {"Content...", "A&bout..."}}};
  for (const auto& [menu, captions] : menus) EXPECT_EQ(VisibleCaptions(menu), captions);
  ExpectMenuStates(w, false, false);
}

TEST_F(MainWindowTest, ActivationsAfterTheFirstDoNoWorkAndExitClosesWithStatusZero) {
  platform.answerOpen(writeWad("level1.wad", StoryWad()));
  frmMain& w = makeWindow();
  // The window gets activated again while its first Open dialog is still up.
  platform.duringDialog = [&w] { w.Form_Activate(); };
  w.Form_Activate();
  platform.duringDialog = nullptr;
  EXPECT_TRUE(w.session().WadLoaded);
  w.setWindowTitle(QStringLiteral("changed"));
  w.Form_Activate();
  w.show();
  EXPECT_EQ(platform.story.size(), 1u);
  EXPECT_EQ(w.windowTitle(), "changed");
  w.mnuExit->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.exitStatus(), 0);
}

TEST_F(MainWindowTest, OpeningAtStartShowsSummaryReportObjectsAndLabels) {
  frmMain& w = startWithStory();
  EXPECT_EQ(w.lblFilename[0]->text().toStdString(), pathOf("level1.wad"));
  ExpectStoryReport(w, 0);
  // The header is the only bold line at summary level.
  QTextBlock block = w.rtbReport->document()->begin();
  for (int i = 0; block.isValid(); block = block.next(), ++i) {
    EXPECT_EQ(block.begin().fragment().charFormat().fontWeight() >= QFont::Bold, i == 1) << block.text().toStdString();
  }
  ASSERT_EQ(w.cboMeshes->count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(w.cboMeshes->item(i)->text().toStdString(), *w.session().names.ObjectName(i));
  ExpectMenuStates(w, true, true);
  EXPECT_TRUE(w.mnuSummary->isChecked());
}

TEST_F(MainWindowTest, ResizeKeepsOuterHeightSpansLinesAndReturnsToStatistics) {
  frmMain& w = startCancelled();
  w.show();
  QApplication::processEvents();
  const Twips tw = Twips::OfScreen();
  EXPECT_EQ(w.frameGeometry().height(), tw.px(8805));
  w.tabS->setCurrentIndex(1);
  EXPECT_TRUE(w.fraWad[0]->isHidden());
  EXPECT_FALSE(w.fraWad[1]->isHidden());
  const QRect report = w.rtbReport->geometry();
  w.setFixedHeight(300);
  QApplication::processEvents();
  EXPECT_EQ(w.frameGeometry().height(), tw.px(8805));
  const int outer = w.frameGeometry().width();
  EXPECT_EQ(std::pair(w.Line1->width(), w.Line2->width()), std::pair(outer, outer));
  EXPECT_EQ(w.Line2->y() - w.Line1->y(), tw.px(35));
  EXPECT_EQ(w.tabS->currentIndex(), 0);
  EXPECT_TRUE(w.fraWad[1]->isHidden());
  EXPECT_EQ(w.rtbReport->geometry(), report);
  w.close();
}

TEST_F(MainWindowTest, DetailLevelsMoveTheCheckMarkAndRebuildTheReport) {
  frmMain& w = startWithStory();
  const std::pair<QAction*, int> cases[] = {{w.mnuSummary, 0}, {w.mnuVery, 2}, {w.mnuDetailed, 1}, {w.mnuSummary, 0}};
  for (const auto& [item, level] : cases) {
    SCOPED_TRACE(level);
    // A hand-edited pane is rebuilt even when the level stays the same.
    w.rtbReport->setPlainText(QStringLiteral("edited"));
    item->trigger();
    const int checked = w.mnuSummary->isChecked() + 2 * w.mnuDetailed->isChecked() + 4 * w.mnuVery->isChecked();
    EXPECT_EQ(checked, 1 << level);
    ExpectStoryReport(w, level);
  }
}

TEST_F(MainWindowTest, UnreadableWadShowsItsErrorAndEndsTheProgram) {
  tarnlow::test::WadLayout layout = tarnlow::test::WadLayout::Of(StoryWad());
  layout.counts[5] = 0;  // NumStateChanges
  WriteFileBytes(dir / "broken.wad", layout.bytes());
  platform.answerOpen(pathOf("broken.wad"));
  platform.answerMessage();
  frmMain& w = makeWindow();
  w.show();
  w.Form_Activate();
  ASSERT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_TRUE(platform.messageTexts[0].starts_with("ReadWAD -> error code 9\n")) << platform.messageTexts[0];
  EXPECT_EQ(w.exitStatus(), 1);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(w.session().WadLoaded);
}

TEST_F(MainWindowTest, ObjectNameFileProblemIsToldOnceBeforeTheOpenDialog) {
  const std::string names = pathOf("TR4Objects.dat");
  platform.programFolder = dir.path().string();
  for (const bool missing : {true, false}) {
    SCOPED_TRACE(missing ? "missing" : "faulty");
    if (!missing) WriteFileBytes(names, Bytes{0xFF, 0xFF, 0xFF, 0x7F});
    platform.story.clear();
    platform.answerMessage();
    startCancelled();
    ASSERT_EQ(platform.story.size(), 2u);
    EXPECT_NE(platform.story[0].find(names), std::string::npos) << platform.story[0];
    EXPECT_EQ(platform.story[1], kOpenLine);
    EXPECT_EQ(std::filesystem::exists(names), !missing) << "never created";
  }
}

// Whether `text` in `font` enlarged by `scale` fits a room of `room` enlarged
// by as much: how the control looks on a screen at that scaling, where
// points and twips grow alike but text is hinted at its new size. Wrapped
// text needs its whole lines; a single line, the height of its ink.
bool Fits(const QString& text, QFont font, QSizeF room, bool wrap, double scale) {
  font.setPointSizeF(font.pointSizeF() * scale);
  room *= scale;
  const QFontMetricsF metrics(font);
  if (wrap) {
    const QRectF lines = metrics.boundingRect(QRectF(QPointF(0, 0), QSizeF(room.width(), 1e6)), Qt::TextWordWrap, text);
    return lines.width() <= room.width() && lines.height() <= room.height();
  }
  return metrics.horizontalAdvance(text) <= room.width() && metrics.tightBoundingRect(text).height() <= room.height();
}

void ExpectTextsFit(const QWidget& root) {
  for (const double scale : {1.0, 1.25}) {
    for (const QLabel* label : root.findChildren<QLabel*>()) {
      if (label->text().isEmpty() || !label->isVisibleTo(&root)) continue;
      EXPECT_TRUE(Fits(label->text(), label->font(), label->contentsRect().size(), label->wordWrap(), scale))
          << label->text().toStdString() << " at " << scale;
    }
    for (const QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
      if (button->text().isEmpty() || !button->isVisibleTo(&root)) continue;
      // The caption is drawn in the button's contents area, inside its bevel.
      QStyleOptionButton option;
      option.initFrom(button);
      option.text = button->text();
      const QSizeF room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
      EXPECT_TRUE(Fits(button->text(), button->font(), room, false, scale))
          << button->text().toStdString() << " at " << scale;
    }
  }
}

TEST(TextFit, EveryTextOfTheAboutBoxFitsItsControl) {
  ScriptedPlatform platform;
  const frmAbout about(platform, nullptr);
  ExpectTextsFit(about);
}

TEST_F(MainWindowTest, EveryTextFitsItsControl) {
  frmMain& w = startWithStory();
  ExpectTextsFit(w);
}

}  // namespace
}  // namespace tarnlow::ui::test
