#include <filesystem>

#include <QListWidget>
#include <QTreeWidget>

#include "sound/sound_table.h"
#include "tests/support/animated_wad.h"
#include "tests/ui/support/window_story.h"
#include "ui/object_view_widget.h"
#include "ui/sample_player.h"
#include "ui/samples_folder.h"
#include "ui/sounds_page.h"

namespace tarnlow::ui::test {
namespace {

namespace fs = std::filesystem;

TEST(KitSamplesFolder, IsSoundSamplesBesideTheGraphicsFolderOfTheWadsFolderInAnyCase) {
  const struct {
    const char* wad;
    const char* folder;  // made beside it
    const char* found;   // empty: none
  } cases[] = {
      {"Kit/graphics/wads/a.wad", "Kit/sound/samples", "Kit/sound/samples"},
      {"Kit/Graphics/WADS/a.wad", "Kit/SOUND/Samples", "Kit/SOUND/Samples"},
      {"Kit/graphics/wads/a.wad", "Kit/sound/other", ""},
      {"Kit/graphics/levels/a.wad", "Kit/sound/samples", ""},
      {"Kit/art/wads/a.wad", "Kit/sound/samples", ""},
      {"Kit/wads/a.wad", "sound/samples", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wad);
    const tarnlow::test::TempDir dir;
    fs::create_directories(dir / c.folder);
    const std::optional<fs::path> found = KitSamplesFolder(dir / c.wad);
    EXPECT_EQ(found.value_or(fs::path()), *c.found ? dir / c.found : fs::path());
  }
}

// Through the system's own call on Windows, Qt Multimedia elsewhere.
TEST(SamplePlayer, AFileThatIsNotThereIsNotPlayed) {
  const tarnlow::test::TempDir dir;
  SamplePlayer player;
  EXPECT_FALSE(player.play(dir / "missing.wav"));
}

#ifdef _WIN32
// The system's call takes a WAV that is there; it plays on its own thread.
TEST(SamplePlayer, AWaveThatIsThereIsHandedToTheSystem) {
  const tarnlow::test::TempDir dir;
  // RIFF header for 8-bit mono at 11025 Hz and four samples of silence.
  const Bytes wave = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                      1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0,
                      'd', 'a', 't', 'a', 4, 0, 0, 0, 128, 128, 128, 128};
  WriteFileBytes(dir / "quiet.wav", wave);
  SamplePlayer player;
  EXPECT_TRUE(player.play(dir / "quiet.wav"));
}
#endif

class SoundsTest : public WindowStory {
 protected:
  // A level kit: the WAD in Kit/Graphics/WADS, its samples in Kit/Sound/SAMPLES.
  // Its one animation command plays slot 0, which picks one of three
  // samples; slot 7 is played by no animation.
  std::string writeKitWad() {
    fs::create_directories(dir / "Kit/Graphics/WADS");
    fs::create_directories(dir / "Kit/Sound/SAMPLES");
    SoundTable table;
    table.slots[0] = SoundSlot{.slot = 0, .volume = 112, .range = 10, .pitch = -3,
                               .samples = {"foot01.wav", "FOOT02.wav", "foot03.wav"}};
    table.slots[7] = SoundSlot{.slot = 7, .volume = 80, .flags = 3, .samples = {"door.wav"}};
    const SoundFiles files = WriteSoundFiles(table);
    WriteFileBytes(dir / "Kit/Graphics/WADS/level.sfx", files.sfx);
    WriteFileBytes(dir / "Kit/Graphics/WADS/LEVEL.SAM", Bytes(files.sam.begin(), files.sam.end()));
    return writeWad("Kit/Graphics/WADS/level.wad", tarnlow::test::AnimatedWad::Clean().build());
  }
  QStringList row(const frmMain& w, int index) const {
    QStringList cells;
    const QTreeWidgetItem* item = w.picSounds->lstSounds->topLevelItem(index);
    for (int column = 0; item != nullptr && column < item->columnCount(); ++column) cells << item->text(column);
    return cells;
  }
};

TEST_F(SoundsTest, ListsEverySlotAndAPickedAnimationShowsAtTheFrameItPlaysTheSound) {
  frmMain& w = startWith(writeKitWad());
  w.cmdSounds->click();
  EXPECT_EQ(w.picPreview->currentWidget(), w.picSounds);
  ASSERT_EQ(w.picSounds->lstSounds->topLevelItemCount(), 2);
  EXPECT_EQ(row(w, 0).mid(0, 7), (QStringList{"0", "foot01.wav, FOOT02.wav, foot03.wav", "112", "10", "0", "-3",
                                               "normal"}));
  EXPECT_NE(row(w, 0).at(7), "played by no animation");
  EXPECT_EQ(row(w, 1).mid(6), (QStringList{"looped", "played by no animation"}));

  w.picSounds->lstSounds->setCurrentItem(w.picSounds->lstSounds->topLevelItem(1));
  EXPECT_EQ(w.picSounds->lstSoundUses->count(), 0);
  w.picSounds->lstSounds->setCurrentItem(w.picSounds->lstSounds->topLevelItem(0));
  ASSERT_EQ(w.picSounds->lstSoundUses->count(), 1);
  w.picSounds->lstSoundUses->setCurrentRow(0);
  EXPECT_EQ(w.picPreview->currentWidget(), w.picObject);
  EXPECT_EQ(w.cboMeshes->currentRow(), 0);
  EXPECT_EQ(w.picObject->playback().animation(), 0);
  EXPECT_DOUBLE_EQ(w.picObject->playback().frame(), 1.0);
}

TEST_F(SoundsTest, ObjectViewNamesAPlaySoundBySlotAndSamplesOnlyWhenATableLiesBesideTheWad) {
  const struct {
    bool table;
    const char* played;
  } cases[] = {
      {true, "PlaySound at frame 1: slot 0 (foot01.wav ... foot03.wav, 3 samples), on land only"},
      {false, "PlaySound at frame 1: sound 0, on land only"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.played);
    frmMain& w = startWith(c.table ? writeKitWad() : writeWad("plain.wad", tarnlow::test::AnimatedWad::Clean().build()));
    w.cboMeshes->setCurrentRow(0);
    w.cboMeshes_Click();
    ObjectViewWidget& view = *w.picObject;
    ASSERT_EQ(view.lstCommands->count(), 2);
    EXPECT_EQ(view.lstCommands->item(0)->text(), c.played);
    // Only the frame that starts the sound names it above the picture.
    EXPECT_FALSE(view.caption().contains(c.played));
    view.showAnimationFrame(0, 1);
    EXPECT_TRUE(view.caption().split('\n').contains(c.played));
  }
}

TEST_F(SoundsTest, PlayTakesThePickedSampleInAnyCaseAndAMissingOneIsSaidByName) {
  frmMain& w = startWith(writeKitWad());
  WriteFileBytes(dir / "Kit/Sound/SAMPLES/Foot02.WAV", {1});
  std::size_t pick = 1;
  std::vector<std::size_t> counts;
  w.picSounds->setSamplePicker([&](std::size_t count) {
    counts.push_back(count);
    return pick;
  });
  w.cmdSounds->click();
  w.picSounds->lstSounds->setCurrentItem(w.picSounds->lstSounds->topLevelItem(0));
  w.picSounds->cmdPlaySound->click();
  EXPECT_EQ(platform.story.back(), "Play " + pathOf("Kit/Sound/SAMPLES/Foot02.WAV"));
  EXPECT_EQ(counts, std::vector<std::size_t>{3});

  // Double-clicked, the first sample: not in the folder.
  pick = 0;
  const std::size_t told = platform.messageTexts.size();
  platform.answerMessage();
  Q_EMIT w.picSounds->lstSounds->itemDoubleClicked(w.picSounds->lstSounds->topLevelItem(0), 0);
  ASSERT_EQ(platform.messageTexts.size(), told + 1);
  EXPECT_NE(platform.messageTexts.back().find("foot01.wav"), std::string::npos);
  EXPECT_FALSE(platform.story.back().starts_with("Play "));

  // A folder of the user's own takes the kit's place; a file the system
  // refuses is said too.
  fs::create_directories(dir / "mine");
  WriteFileBytes(dir / "mine/FOOT02.wav", {1});
  platform.answerFolder(pathOf("mine"));
  w.mnuSamplesFolder->trigger();
  pick = 1;
  platform.samplesPlay = false;
  platform.answerMessage();
  w.picSounds->cmdPlaySound->click();
  EXPECT_EQ(platform.story.at(platform.story.size() - 2), "Play " + pathOf("mine/FOOT02.wav"));
  EXPECT_TRUE(platform.story.back().starts_with("Message"));
}

TEST_F(SoundsTest, SamplesFolderDialogStartsAtTheKitsFolderAndTheChoiceIsRemembered) {
  frmMain& w = startWith(writeKitWad());
  platform.answerFolder(pathOf("mine"));
  w.mnuSamplesFolder->trigger();
  EXPECT_EQ(platform.story.back(), "Folder [Sound samples folder] " + pathOf("Kit/Sound/SAMPLES"));
  EXPECT_EQ(platform.storedSettings.samplesFolder, pathOf("mine"));
  // A cancelled dialog keeps the folder chosen.
  platform.cancelFolder();
  w.mnuSamplesFolder->trigger();
  EXPECT_EQ(platform.story.back(), "Folder [Sound samples folder] " + pathOf("mine"));
  EXPECT_EQ(platform.storedSettings.samplesFolder, pathOf("mine"));
}

}  // namespace
}  // namespace tarnlow::ui::test
