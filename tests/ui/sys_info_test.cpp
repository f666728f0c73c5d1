#include "ui/sys_info.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/ui/support/scripted_platform.h"

namespace tarnlow::ui::test {
namespace {

const std::string kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kUnavailable = "Message [Tarnlow] ok System Information Is Unavailable At This Time";

TEST(StartSysInfo, StartsThePathValueWithoutLookingForItAndSaysWhenTheStartFails) {
  for (const bool starts : {true, false}) {
    ScriptedPlatform platform;
    platform.registry.setString(kPathKey, "PATH", "/nowhere/msinfo32.exe");
    platform.startSucceeds = starts;
    if (!starts) platform.answerMessage();
    StartSysInfo(platform);
    std::vector<std::string> expected = {"Start /nowhere/msinfo32.exe"};
    if (!starts) expected.push_back(kUnavailable);
    EXPECT_EQ(platform.story, expected);
  }
}

TEST(StartSysInfo, FolderValueIsUsedOnlyWhenTheProgramIsThere) {
  tarnlow::test::TempDir dir;
  ScriptedPlatform platform;
  platform.registry.setString("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", dir.path().string());
  platform.answerMessage();
  StartSysInfo(platform);
  EXPECT_EQ(platform.story, std::vector<std::string>{kUnavailable});
  tarnlow::test::WriteFileBytes(dir.path().string() + "\\MSINFO32.EXE", Bytes{1});
  StartSysInfo(platform);
  EXPECT_EQ(platform.story.back(), "Start " + dir.path().string() + "\\MSINFO32.EXE");
}

TEST(StartSysInfo, NoUsableValueSaysUnavailable) {
  ScriptedPlatform platform;
  platform.registry.set(kPathKey, "PATH", {kRegDword, {}});
  platform.answerMessage();
  StartSysInfo(platform);
  EXPECT_EQ(platform.story, std::vector<std::string>{kUnavailable});
}

}  // namespace
}  // namespace tarnlow::ui::test
