#include "wad/file_paths.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "wad/file_lookup.h"

#include <utility>
#include <vector>

namespace tarnlow {
namespace {

TEST(FilePaths, TitleFolderAndCompanionOfAPath) {
  const struct { const char *path, *title, *titleWithExtension, *folder, *swd; } cases[] = {
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

std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Level files come from Windows: a derived name finds its file whatever the
// letter case on disk, the exact spelling first, else the first in byte order.
TEST(FileLookup, DerivedNameFindsTheFileAsWindowsWould) {
  test::TempDir dir;
  std::vector<const char*> names = {"tut1.SWD", "KARNAK.SWD", "\xC3\x89T\xC3\x89.swd", "other.wad"};
  // An empty name: nothing found.
  std::vector<std::pair<const char*, const char*>> cases = {{"tut1.swd", "tut1.SWD"}, {"Karnak.swd", "KARNAK.SWD"},
      {"\xC3\xA9t\xC3\xA9.swd", "\xC3\x89T\xC3\x89.swd"}, {"tut2.swd", ""}, {"FOLDER.swd", ""}};
#ifndef _WIN32
  // Names that differ only in case stand side by side here, never on Windows.
  names.insert(names.end(), {"dup.SWD", "DUP.swd", "exact.swd", "EXACT.SWD"});
  cases.insert(cases.end(), {{"dup.swd", "DUP.swd"}, {"exact.swd", "exact.swd"}, {"EXACT.SWD", "EXACT.SWD"}});
#endif
  for (const char* name : names) test::WriteFileBytes(dir.path() / Utf8Path(name), {1});
  std::filesystem::create_directory(dir / "folder.swd");
  for (const auto& [wanted, name] : cases) {
    const std::optional<std::filesystem::path> found = FindFileIgnoringCase(dir.path() / Utf8Path(wanted));
    EXPECT_EQ(found.value_or(dir / ""), dir.path() / Utf8Path(name)) << wanted;
  }
}

}  // namespace
}  // namespace tarnlow
