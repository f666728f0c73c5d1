#include <filesystem>

#include "tests/ui/support/window_story.h"
#include "ui/samples_folder.h"

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

class SoundsTest : public WindowStory {
 protected:
  // A level kit: the WAD in Kit/Graphics/WADS, its samples in Kit/Sound/SAMPLES.
  std::string writeKitWad() {
    fs::create_directories(dir / "Kit/Graphics/WADS");
    fs::create_directories(dir / "Kit/Sound/SAMPLES");
    return writeWad("Kit/Graphics/WADS/level.wad", StoryWad());
  }
};

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
