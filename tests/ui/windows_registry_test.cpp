// The Windows registry reader against values that wine's own reg tool wrote
// (tests/ui/windows_registry_values.sh runs first).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "ui/platform.h"
#include "ui/registry.h"
#include "ui/sys_info.h"
#include "wad/file_paths.h"

namespace tarnlow::ui {
namespace {

constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;

// Answers from the real registry and file system; records what it is asked
// to start and to say.
class RecordingPlatform : public Platform {
 public:
  std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> FolderDialog(const std::string&, const std::string&) override { return {}; }
  std::optional<PrintAnswer> PrintDialog(const PrintRequest&) override { return {}; }
  std::string ProgramFolder() override { return {}; }
  RegistryReader& Registry() override { return *registry_; }
  MessageAnswer ShowMessage(const std::string& text, const std::string&, MessageButtons, MessageIcon) override {
    said.push_back(text);
    return MessageAnswer::Ok;
  }
  bool FileExists(const std::string& path) override {
    return std::filesystem::is_regular_file(PathFromUtf8(path));
  }
  std::optional<std::string> FindFile(const std::string& path) override {
    return FileExists(path) ? std::optional<std::string>(path) : std::nullopt;
  }
  bool StartProgram(const std::string& path) override {
    started.push_back(path);
    return true;
  }
  bool PlaySample(const std::string&) override { return false; }
  WindowSettings LoadSettings() override { return {}; }
  void SaveSettings(const WindowSettings&) override {}
  std::vector<std::string> started, said;

 private:
  std::unique_ptr<RegistryReader> registry_ = MakeSystemRegistry();
};

TEST(WindowsRegistry, ReadsEachValueTypeAndFailsOnMissingOrOversizedValues) {
  const struct {
    const char* key;
    const char* value;
    bool found;
    std::string text;
  } cases[] = {
      {"Software\\Tarnlow\\RegistryTest", "Text", true, "C:\\Tools\\msinfo32.exe"},
      {"Software\\Tarnlow\\RegistryTest", "Number", true, "&h12345678"},
      {"Software\\Tarnlow\\RegistryTest", "Binary", true, "as passed"},
      // Through the ANSI code page (1252) and back to UTF-8.
      {"Software\\Tarnlow\\RegistryTest", "Accented", true, "Caf\xC3\xA9 \xC3\xBC"},
      // RegQueryValueExA answers ERROR_MORE_DATA for 1,100 bytes.
      {"Software\\Tarnlow\\RegistryTest", "Long", false, ""},
      {"Software\\Tarnlow\\RegistryTest", "Absent", false, ""},
      {"Software\\Tarnlow\\NoSuchKey", "Text", false, ""},
  };
  const std::unique_ptr<RegistryReader> registry = MakeSystemRegistry();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::string text = "as passed";
    EXPECT_EQ(GetKeyValue(*registry, kHkeyCurrentUser, c.key, c.value, text), c.found);
    EXPECT_EQ(text, c.text);
  }
}

TEST(WindowsRegistry, SystemInformationComesFromMsinfoThenSharedToolsThenIsUnavailable) {
  RecordingPlatform platform;
  StartSysInfo(platform);
  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), ERROR_SUCCESS);
  StartSysInfo(platform);
  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location"), ERROR_SUCCESS);
  StartSysInfo(platform);
  EXPECT_EQ(platform.started,
            (std::vector<std::string>{"C:\\Tools\\msinfo32.exe", "C:\\windows\\system32\\MSINFO32.EXE"}));
  EXPECT_EQ(platform.said, std::vector<std::string>{"System Information Is Unavailable At This Time"});
}

}  // namespace
}  // namespace tarnlow::ui
