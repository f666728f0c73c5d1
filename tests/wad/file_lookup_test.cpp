#include "wad/file_lookup.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace tarnlow {
namespace {

std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Level files come from Windows: a derived name finds its file whatever the
// letter case on disk, the exact spelling first, else the first in byte order.
TEST(FileLookup, DerivedNameFindsTheFileAsWindowsWould) {
  test::TempDir dir;
  for (const char* name : {"tut1.SWD", "KARNAK.SWD", "dup.SWD", "DUP.swd", "exact.swd", "EXACT.SWD",
                           "\xC3\x89T\xC3\x89.swd", "other.wad"}) {
    test::WriteFileBytes(dir.path() / Utf8Path(name), {1});
  }
  std::filesystem::create_directory(dir / "folder.swd");
  const struct {
    const char* wanted;
    const char* found;  // nullptr: nothing
  } cases[] = {
      {"tut1.swd", "tut1.SWD"},
      {"Karnak.swd", "KARNAK.SWD"},
      {"dup.swd", "DUP.swd"},
      {"exact.swd", "exact.swd"},
      {"EXACT.SWD", "EXACT.SWD"},
      {"\xC3\xA9t\xC3\xA9.swd", "\xC3\x89T\xC3\x89.swd"},
      {"tut2.swd", nullptr},
      {"FOLDER.swd", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wanted);
    const std::optional<std::filesystem::path> found = FindFileIgnoringCase(dir.path() / Utf8Path(c.wanted));
    ASSERT_EQ(found.has_value(), c.found != nullptr);
    if (found) EXPECT_EQ(*found, dir.path() / Utf8Path(c.found));
  }
}

}  // namespace
}  // namespace tarnlow
