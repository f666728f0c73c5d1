// The Check window: findings in a list of their own, beside the pictures.
#include <QCheckBox>
#include <QComboBox>
#include <QTreeWidget>

#include "check/check_wad.h"
#include "tests/support/animated_wad.h"
#include "tests/ui/support/window_story.h"
#include "ui/check_window.h"
#include "ui/object_view_widget.h"
#include "ui/playback.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::AnimatedWad;

// Every line of the list that stands for one finding, shown or hidden.
std::vector<QTreeWidgetItem*> FindingLines(const CheckWindow& check) {
  std::vector<QTreeWidgetItem*> lines;
  std::vector<QTreeWidgetItem*> open;
  for (int i = 0; i < check.tvwFindings->topLevelItemCount(); ++i) open.push_back(check.tvwFindings->topLevelItem(i));
  while (!open.empty()) {
    QTreeWidgetItem* item = open.back();
    open.pop_back();
    if (check.findingOf(item) != nullptr) lines.push_back(item);
    for (int i = 0; i < item->childCount(); ++i) open.push_back(item->child(i));
  }
  return lines;
}

QTreeWidgetItem* LineOf(const CheckWindow& check, const std::string& rule) {
  for (QTreeWidgetItem* line : FindingLines(check)) {
    if (check.findingOf(line)->rule == rule) return line;
  }
  return nullptr;
}

// LARA's second key frame of animation 0 (frame 2) needs more words than
// the animation gives it; an unused texture-info record names a missing page.
AnimatedWad Broken() {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.frames[11 + 9] = 0;
  TextInfoRecord bad;
  bad.Bytes[2] = 7;
  wad.textInfo.push_back(bad);
  return wad;
}

class CheckWindowTest : public WindowStory {};

TEST_F(CheckWindowTest, ClickingABoxFindingShowsItsKeyFrameWithTheBoxes) {
  // The second key frame of animation 0 stores maxX 0; moved 300 units off.
  AnimatedWad wad = AnimatedWad::Clean();
  wad.frames[11 + 1] = 300;
  frmMain& w = startWith(writeWad("boxes.wad", wad.build()));
  runCheck();
  QTreeWidgetItem* line = LineOf(*w.frmCheck, kKeyFrameBoxRule);
  ASSERT_NE(line, nullptr);
  EXPECT_FALSE(w.picObject->chkBox->isChecked());
  Q_EMIT w.frmCheck->tvwFindings->itemClicked(line, 0);
  EXPECT_EQ(w.picObject->playback().frame(), 2.0);
  EXPECT_TRUE(w.picObject->chkBox->isChecked());
  EXPECT_TRUE(w.picObject->caption().contains("key frame 1's stored box")) << w.picObject->caption().toStdString();
}

TEST_F(CheckWindowTest, ClickingAFindingSelectsItsObjectAnimationAndFrameAndTheListStays) {
  frmMain& w = startWith(writeWad("broken.wad", Broken().build()));
  runCheck();
  CheckWindow& check = *w.frmCheck;
  EXPECT_TRUE(check.isVisible());
  EXPECT_EQ(check.windowType(), Qt::Dialog) << "stays above the main window";
  QTreeWidgetItem* line = LineOf(check, "key-frame-overrun");
  ASSERT_NE(line, nullptr);
  Q_EMIT check.tvwFindings->itemClicked(line, 0);
  EXPECT_EQ(w.cboMeshes->currentRow(), 0);
  EXPECT_EQ(w.picObject->playback().animation(), 0);
  EXPECT_EQ(w.picObject->playback().frame(), 2.0);
  EXPECT_TRUE(check.isVisible());
  EXPECT_EQ(check.findings().size(), 2u);
}

TEST_F(CheckWindowTest, TheFilterKeepsOneSeverity) {
  frmMain& w = startWith(writeWad("broken.wad", Broken().build()));
  runCheck();
  CheckWindow& check = *w.frmCheck;
  const struct { int filter; bool errorShown, noteShown; } cases[] = {{0, true, true}, {1, true, false}, {3, false, true}};
  for (const auto& c : cases) {
    check.cboSeverity->setCurrentIndex(c.filter);
    EXPECT_EQ(!LineOf(check, "key-frame-overrun")->isHidden(), c.errorShown) << c.filter;
    EXPECT_EQ(!LineOf(check, "texture-page-missing")->isHidden(), c.noteShown) << c.filter;
  }
}

TEST_F(CheckWindowTest, ComparingWithAnotherWadKeepsOnlyWhatItLacks) {
  AnimatedWad older = AnimatedWad::Clean();
  older.frames[11 + 9] = 0;
  const std::string old = writeWad("old.wad", older.build(), false);
  frmMain& w = startWith(writeWad("broken.wad", Broken().build()));
  runCheck();
  CheckWindow& check = *w.frmCheck;
  platform.answerOpen(old);
  check.cmdAgainst->click();
  runCheck(false);
  ASSERT_EQ(check.findings().size(), 1u);
  EXPECT_EQ(check.findings()[0].rule, "texture-page-missing");
  // Beside them, the content compared: a texture-info record that no face
  // uses is no content.
  ASSERT_TRUE(check.contentDiff().has_value());
  EXPECT_TRUE(check.contentDiff()->same());
  // A WAD that cannot be read is told, and the list stays.
  WriteFileBytes(dir / "cut.wad", Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  platform.answerOpen(pathOf("cut.wad"));
  platform.answerMessage();
  check.cmdAgainst->click();
  runCheck(false);
  EXPECT_EQ(check.findings().size(), 1u);
  check.cmdAll->click();
  EXPECT_EQ(check.findings().size(), 2u);
  EXPECT_FALSE(check.contentDiff().has_value());
}

TEST_F(CheckWindowTest, AWadOpenedWhileTheCheckRunsIsCheckedInsteadAndCompareWaits) {
  const WadDocument clean = AnimatedWad::Clean().build();
  const std::string cleanPath = writeWad("clean.wad", clean, false);
  frmMain& w = startWith(writeWad("broken.wad", Broken().build()));
  w.cmdCheck->click();
  CheckWindow& check = *w.frmCheck;
  ASSERT_TRUE(check.working()) << "the result is taken only by the window's own thread";
  check.cmdAgainst_Click();  // asks nothing while the check runs
  platform.answerOpen(cleanPath);
  w.mnuWAD_Click();
  runCheck(false);
  EXPECT_EQ(LineOf(check, "key-frame-overrun"), nullptr);
  EXPECT_EQ(check.findings().size(), CheckWad(clean).size());
}

}  // namespace
}  // namespace tarnlow::ui::test
