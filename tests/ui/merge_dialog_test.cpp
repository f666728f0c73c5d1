// The Merge dialog: another WAD's objects taken into a new WAD beside the
// open one, shown before anything is written and proven before it is.
#include <QComboBox>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QThreadPool>
#include <QTreeWidget>

#include "tests/support/object_wad.h"
#include "tests/ui/support/window_story.h"
#include "ui/merge_dialog.h"
#include "ui/merge_text.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::ObjectWad;

// Slots as the name file beside the test program names them.
constexpr std::int32_t kAnimating1 = 427;
constexpr std::int32_t kAnimating2 = 429;
constexpr std::int32_t kAnimating5 = 435;

class MergeDialogTest : public WindowStory {
 protected:
  // The window on target.wad (ANIMATING1 of one mesh), the Merge dialog
  // open on it with source.wad (ANIMATING1 of two meshes and two
  // animations, then ANIMATING2) chosen.
  MergeDialog& openWithSource() {
    // Their sections without commands are empty.
    platform.storedSettings.openEmptySections = true;
    startWith(writeWad("target.wad", ObjectWad({{kAnimating1, {1}}})));
    writeWad("source.wad", ObjectWad({{kAnimating1, {5, 2}, 2}, {kAnimating2, {3}}}), false);
    window->cmdMerge->click();
    platform.answerOpen(pathOf("source.wad"));
    window->frmMerge->cmdSource->click();
    return *window->frmMerge;
  }

  // The line of the other WAD's object at `position`.
  QTreeWidgetItem* takeLine(MergeDialog& d, int position) { return d.tvwTake->topLevelItem(0)->child(position); }

  // Lets the dialog's work end; fails after a minute rather than hang.
  void settle(const MergeDialog& d) {
    QElapsedTimer waited;
    waited.start();
    while (d.working() && waited.elapsed() < 60'000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    ASSERT_FALSE(d.working());
  }

  // Ticks the other WAD's object at `position` and waits for the plan.
  void take(MergeDialog& d, int position) {
    takeLine(d, position)->setCheckState(0, Qt::Checked);
    settle(d);
    ASSERT_TRUE(d.plan() && d.plan()->ok()) << (d.plan() ? ::testing::PrintToString(d.plan()->refusals) : "no plan");
  }
};

TEST_F(MergeDialogTest, TickingAnObjectShowsWhereItGoesAndWhatItBrings) {
  MergeDialog& d = openWithSource();
  EXPECT_FALSE(d.cmdWrite->isEnabled()) << "nothing ticked, nothing to write";
  take(d, 1);
  ASSERT_EQ(d.plan()->moved.size(), 1u);
  const MovedObject& moved = d.plan()->moved[0];
  EXPECT_EQ(moved.slot, kAnimating2);
  EXPECT_EQ(moved.meshesNew + moved.meshesShared, 1u);
  EXPECT_EQ(takeLine(d, 1)->text(1).toStdString(), moved.slotName);
  EXPECT_FALSE(takeLine(d, 1)->text(2).isEmpty());
  EXPECT_TRUE(takeLine(d, 0)->text(2).isEmpty()) << "an unticked object brings nothing";
  EXPECT_TRUE(d.cmdWrite->isEnabled());
  takeLine(d, 1)->setCheckState(0, Qt::Unchecked);
  settle(d);
  EXPECT_FALSE(d.plan().has_value());
  EXPECT_FALSE(d.cmdWrite->isEnabled());
}

TEST_F(MergeDialogTest, AWadThatCannotBeReadIsToldAndTheListsStay) {
  MergeDialog& d = openWithSource();
  EXPECT_NE(platform.story.back().find("folder=" + dir.path().string()), std::string::npos) << "starts beside the WAD";
  platform.answerOpen(pathOf("gone.wad"));
  platform.answerMessage();
  d.cmdSource->click();
  EXPECT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_EQ(d.tvwTake->topLevelItem(0)->childCount(), 2);
}

TEST_F(MergeDialogTest, EachPlacementReachesThePlan) {
  const struct {
    Placement placement;
    bool replace;
    std::int32_t slot;
    bool refused;
  } cases[] = {
      {Placement::SameSlot, false, kAnimating1, true},  // the open WAD holds ANIMATING1
      {Placement::SameSlot, true, kAnimating1, false},
      {Placement::FirstFree, false, kAnimating2, false},
      {Placement::Slot, false, kAnimating5, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.placement));
    window.reset();
    MergeDialog& d = openWithSource();
    d.tvwTake->setCurrentItem(takeLine(d, 0));
    d.cboPlacement->setCurrentIndex(static_cast<int>(c.placement));
    d.cboSlot->setCurrentIndex(d.cboSlot->findText(QStringLiteral("ANIMATING5")));
    d.chkReplace->setChecked(c.replace);
    takeLine(d, 0)->setCheckState(0, Qt::Checked);
    settle(d);
    ASSERT_TRUE(d.plan().has_value());
    EXPECT_EQ(!d.plan()->ok(), c.refused);
    if (c.refused) continue;
    EXPECT_EQ(d.plan()->moved.at(0).slot, c.slot);
    EXPECT_EQ(d.plan()->moved.at(0).replaces, c.replace);
  }
}

TEST_F(MergeDialogTest, WritesTheProvenSetBesideTheOpenWadAndOpensIt) {
  MergeDialog& d = openWithSource();
  const Bytes before = ReadFileBytes(dir / "target.wad");
  take(d, 1);
  d.tvwLeave->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
  settle(d);
  platform.answerSave(pathOf("together"));
  platform.answerMessage(MessageAnswer::Yes);
  d.cmdWrite->click();
  settle(d);
  const auto asked = std::find_if(platform.story.begin(), platform.story.end(),
                                  [](const std::string& line) { return line.starts_with("Save"); });
  ASSERT_NE(asked, platform.story.end());
  EXPECT_NE(asked->find("name=" + pathOf("target-merged.wad")), std::string::npos) << "beside the open WAD";
  std::int64_t length = 0;
  const WadDocument merged = ReadWADLenient(dir / "together.wad", length);
  ASSERT_EQ(merged.Moveables.size(), 1u);
  EXPECT_EQ(merged.Moveables[0].ObjectID, kAnimating2);
  // The result opens as any WAD does; the file the user had stays as it was.
  QCoreApplication::processEvents();
  EXPECT_EQ(window->session().WadFileName, pathOf("together.wad"));
  EXPECT_EQ(ReadFileBytes(dir / "target.wad"), before);
}

TEST_F(MergeDialogTest, RefusesTheNamesOfTheOpenWadsSet) {
  MergeDialog& d = openWithSource();
  const Bytes before = ReadFileBytes(dir / "target.wad");
  take(d, 1);
  for (const char* name : {"target.wad", "TARGET.WAD", "Target"}) {
    SCOPED_TRACE(name);
    platform.answerSave(pathOf(name));
    platform.answerMessage();
    const std::size_t messages = platform.messageTexts.size();
    d.cmdWrite->click();
    EXPECT_FALSE(d.working()) << "nothing is built for a refused name";
    EXPECT_EQ(platform.messageTexts.size(), messages + 1);
  }
  EXPECT_EQ(ReadFileBytes(dir / "target.wad"), before);
  // Listed, not tested by name: on Windows "TARGET.WAD" is target.wad.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(entry.path().filename(), "TARGET.WAD");
  }
}

TEST_F(MergeDialogTest, AProofThatFailsIsSaidAndNothingIsWritten) {
  MergeDialog& d = openWithSource();
  take(d, 1);
  // A writer that puts the last object into the slot after its own.
  d.setWadWriter([](const std::filesystem::path& path, const WadDocument& document) {
    std::vector<MoveableRecord> moveables = document.Moveables.toVector();
    ++moveables.back().ObjectID;
    WadDocument broken = document;
    broken.Moveables = RecordArray<MoveableRecord>::fromRecords(std::span<const MoveableRecord>(moveables));
    WriteWAD(path, broken);
  });
  platform.answerSave(pathOf("out.wad"));
  platform.answerMessage();
  d.cmdWrite->click();
  settle(d);
  EXPECT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.wad"));
  EXPECT_TRUE(d.isVisible()) << "the user can choose again";
}

TEST_F(MergeDialogTest, ClosingWhileTheProofRunsWritesNothing) {
  MergeDialog& d = openWithSource();
  take(d, 1);
  platform.answerSave(pathOf("out.wad"));
  d.cmdWrite->click();
  d.reject();
  QThreadPool::globalInstance()->waitForDone();
  QCoreApplication::processEvents();
  EXPECT_FALSE(d.working());
  EXPECT_FALSE(std::filesystem::exists(dir / "out.wad"));
}

TEST_F(MergeDialogTest, TheOpenDocumentNeverChanges) {
  MergeDialog& d = openWithSource();
  const Bytes before = ReadFileBytes(dir / "target.wad");
  d.chkReplace->setChecked(true);
  take(d, 0);
  platform.answerSave(pathOf("out.wad"));
  platform.answerMessage(MessageAnswer::No);
  d.cmdWrite->click();
  settle(d);
  ASSERT_TRUE(std::filesystem::exists(dir / "out.wad"));
  d.reject();
  window->mnuSave_Click();
  EXPECT_EQ(ReadFileBytes(dir / "target.wad"), before);
  EXPECT_EQ(window->session().WadFileName, pathOf("target.wad"));
}

TEST(MergeText, CarriedFindingsAreCountedPerSourceInTheOrderTheyCome) {
  const auto carried = [](const char* source) { return CarriedFinding{Finding{}, std::filesystem::path("in") / source}; };
  EXPECT_EQ(CarriedText({carried("b.wad"), carried("a.wad"), carried("b.wad")}),
            "2 findings of the check are carried from b.wad and 1 from a.wad, where the objects taken already had them.");
  EXPECT_EQ(CarriedText({}), "");
}

}  // namespace
}  // namespace tarnlow::ui::test
