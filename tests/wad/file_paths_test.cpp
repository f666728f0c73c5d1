#include "wad/file_paths.h"

#include <gtest/gtest.h>

namespace tarnlow {
namespace {

TEST(FilePaths, TitleFolderAndCompanionOfAPath) {
  const struct {
    const char* path;
    const char* title;
    const char* titleWithExtension;
    const char* folder;
    const char* swd;
  } cases[] = {
      {"C:\\data\\level1.wad", "level1", "level1.wad", "C:\\data\\", "C:\\data\\level1.swd"},
      {"C:\\levels\\my.level.wad", "my.level", "my.level.wad", "C:\\levels\\", "C:\\levels\\my.level.swd"},
      {"C:\\levels\\tomb.WAD", "tomb", "tomb.WAD", "C:\\levels\\", "C:\\levels\\tomb.swd"},
      {"C:\\my.dir\\level", "level", "level", "C:\\my.dir\\", "C:\\my.dir\\level.swd"},
      {"/home/lara/wads/city.wad", "city", "city.wad", "/home/lara/wads/", "/home/lara/wads/city.swd"},
      {"mixed/sep\\name.wad", "name", "name.wad", "mixed/sep\\", "mixed/sep\\name.swd"},
      {"level.wad", "level", "level.wad", "", "level.swd"},
      {"C:\\data\\", "", "", "C:\\data\\", "C:\\data\\.swd"},
      {"\\root.wad", "root", "root.wad", "\\", "\\root.swd"},
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
