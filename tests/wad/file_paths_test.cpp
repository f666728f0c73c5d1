#include "wad/file_paths.h"

#include <gtest/gtest.h>

namespace tarnlow {
namespace {

TEST(FilePaths, TitleFolderAndCompanionOfAPath) {
  const struct {
    const char *path, *title, *titleWithExtension, *folder, *swd;
  } cases[] = {
      {"C:\\levels\\my.level.WAD", "my.level", "my.level.WAD", "C:\\levels\\", "C:\\levels\\my.level.swd"},
      {"C:\\my.dir\\level", "level", "level", "C:\\my.dir\\", "C:\\my.dir\\level.swd"},
      {"mixed/sep\\name.wad", "name", "name.wad", "mixed/sep\\", "mixed/sep\\name.swd"},
      {"level.wad", "level", "level.wad", "", "level.swd"},
      {"C:\\data\\.wad", "", ".wad", "C:\\data\\", "C:\\data\\.swd"},
      {"", "", "", "", ".swd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileTitle(c.path, false), c.title);
    EXPECT_EQ(FileTitle(c.path, true), c.titleWithExtension);
    EXPECT_EQ(FolderOf(c.path), c.folder);
    EXPECT_EQ(SwdPathFor(c.path), c.swd);
  }
}

}  // namespace
}  // namespace tarnlow
