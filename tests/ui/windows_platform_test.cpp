// The window's file test on Windows: the hidden and system attributes hide
// a file, as Explorer and the Open dialog treat it.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/temp_dir.h"
#include "ui/qt_platform.h"

namespace tarnlow::ui {
namespace {

TEST(WindowsVisibleFileExists, HiddenOrSystemAttributeCountsAsMissing) {
  tarnlow::test::TempDir dir;
  const struct {
    const char* name;
    DWORD attributes;
    bool visible;
  } cases[] = {{"plain.wad", FILE_ATTRIBUTE_NORMAL, true},
               {"hidden.wad", FILE_ATTRIBUTE_HIDDEN, false},
               {"system.wad", FILE_ATTRIBUTE_SYSTEM, false},
               {"readonly.wad", FILE_ATTRIBUTE_READONLY, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tarnlow::test::WriteFileBytes(dir / c.name, Bytes{1});
    ASSERT_TRUE(SetFileAttributesW((dir / c.name).c_str(), c.attributes));
    EXPECT_EQ(VisibleFileExists((dir / c.name).string()), c.visible);
  }
}

}  // namespace
}  // namespace tarnlow::ui
