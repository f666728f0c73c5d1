#include "ui/sys_info.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/ui/support/scripted_platform.h"

namespace tarnlow::ui::test {
namespace {

const std::string kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kUnavailable = "Message [Tarnlow] ok System Information Is Unavailable At This Time";

TEST(StartSysInfo, StartsThePathValueWithoutLookingForIt) {
  ScriptedPlatform platform;
  platform.registry.setString(kPathKey, "PATH", "/nowhere/msinfo32.exe");
  StartSysInfo(platform);
  EXPECT_EQ(platform.story(), std::vector<std::string>{"Start /nowhere/msinfo32.exe"});
}

TEST(StartSysInfo, FailedStartSaysUnavailable) {
  ScriptedPlatform platform;
  platform.registry.setString(kPathKey, "PATH", "/nowhere/msinfo32.exe");
  platform.startSucceeds = false;
  platform.answerMessage();
  StartSysInfo(platform);
  EXPECT_EQ(platform.story(), (std::vector<std::string>{"Start /nowhere/msinfo32.exe", kUnavailable}));
}

TEST(StartSysInfo, FolderValueIsUsedOnlyWhenTheProgramIsThere) {
  tarnlow::test::TempDir dir;
  ScriptedPlatform platform;
  platform.registry.setString(kFolderKey, "MSINFO", dir.path().string());
  platform.answerMessage();
  StartSysInfo(platform);
  EXPECT_EQ(platform.story(), std::vector<std::string>{kUnavailable});

  tarnlow::test::WriteFileBytes(dir.path().string() + "\\MSINFO32.EXE", Bytes{1});
  StartSysInfo(platform);
  EXPECT_EQ(platform.story().back(), "Start " + dir.path().string() + "\\MSINFO32.EXE");
}

TEST(StartSysInfo, NoValuesSayUnavailable) {
  ScriptedPlatform platform;
  platform.registry.set(kPathKey, "PATH", {kRegDword, {}});
  platform.answerMessage();
  StartSysInfo(platform);
  EXPECT_EQ(platform.story(), std::vector<std::string>{kUnavailable});
}

}  // namespace
}  // namespace tarnlow::ui::test
