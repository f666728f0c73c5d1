// The About box, and the registry values its System Info button looks up.
#include "ui/about_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/ui/support/scripted_platform.h"
#include "ui/registry.h"

namespace tarnlow::ui::test {
namespace {

const std::string kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

std::vector<std::uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Every read closes its key; a failed one leaves the value empty.
TEST(GetKeyValue, ReadsValuesByTheirBytesOrFailsWithAnEmptyValueAndClosesTheKey) {
  const std::string full(1024, 'a');
  const struct { const char* name; MemoryRegistry::Value value; std::optional<std::string> expected; } cases[] = {
      {"string with its zero", {kRegSz, BytesOf(std::string("C:\\msinfo32.exe") + '\0')}, "C:\\msinfo32.exe"},
      {"string without a zero", {kRegSz, BytesOf("C:\\x.exe")}, "C:\\x.exe"},
      {"only the last zero goes", {kRegSz, BytesOf(std::string("ab\0\0", 4))}, std::string("ab\0", 3)},
      {"1024 bytes without zero", {kRegSz, BytesOf(full)}, full},
      {"1024 bytes ending in zero", {kRegSz, BytesOf(full.substr(0, 1023) + '\0')}, full.substr(0, 1023)},
      {"Windows-1252 text", {kRegSz, {'c', 0xE9}}, "c\xC3\xA9"},
      {"dword, bytes last to first", {kRegDword, {0x78, 0x56, 0x34, 0x12}}, "&h12345678"},
      {"dword with a zero high byte", {kRegDword, {0x0A, 0x01, 0x02, 0x00}}, "&h02010A"},
      {"other types leave the value as passed", {3, {1, 2, 3}}, "before"},
      {"longer than the buffer", {kRegSz, std::vector<std::uint8_t>(1025, 'a')}, std::nullopt},
      {"no bytes at all", {kRegSz, {}}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    registry.set(kKey, "PATH", c.value);
    std::string value = "before";
    EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, kKey, "PATH", value), c.expected.has_value());
    EXPECT_EQ(std::tuple(value, registry.openKeys, registry.lastAccess),
              std::tuple(c.expected.value_or(""), 0, 0x2003Fu));
  }
  // No such key under that root, no such root key, no such value.
  MemoryRegistry registry;
  registry.set(kKey, "PATH", {kRegSz, BytesOf("x")});
  const std::tuple<std::uint32_t, std::string, std::string> missing[] = {
      {kHkeyLocalMachine, "SOFTWARE\\Nothing", "PATH"}, {0x80000001u, kKey, "PATH"}, {kHkeyLocalMachine, kKey, "NOPE"}};
  for (const auto& [root, key, name] : missing) {
    std::string value = "before";
    EXPECT_FALSE(GetKeyValue(registry, root, key, name, value)) << key << " " << name;
    EXPECT_EQ(std::pair(value, registry.openKeys), std::pair(std::string(), 0));
  }
}

TEST(AboutDialog, ShowsItsTextsWithTheTitleInCourierOnLightOrange) {
  ScriptedPlatform platform;
  frmAbout about(platform, nullptr);
  EXPECT_EQ(about.windowTitle(), "About Tarnlow");
  EXPECT_EQ(about.lblTitle->text(), "Tarnlow");
  EXPECT_EQ(about.lblVersion->text(), "Version 0.1.6");
  EXPECT_TRUE(about.lblDescription->text().startsWith(
      "This software will help you investigate a Tomb Raider WAD, edit its meshes animations and save the changes "
      "to a valid WAD file. "));
  EXPECT_EQ(about.lblDisclaimer->text().count(QStringLiteral(". ")) + 1, 2) << "two sentences";
  EXPECT_EQ(about.cmdOK->text(), "OK");
  EXPECT_EQ(about.cmdSysInfo->text(), "System Info...");
  EXPECT_EQ(about.lblTitle->font().family(), "Courier New");
  EXPECT_EQ(about.lblTitle->palette().color(QPalette::Window), QColor(255, 192, 128));
  EXPECT_EQ(about.picIcon->pixmap().size(), QSize(67, 68));
}

TEST(AboutDialog, EnterAndEscCloseIt) {
  for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
    ScriptedPlatform platform;
    frmAbout about(platform, nullptr);
    QTimer::singleShot(0, &about, [&about, key] {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(about.focusWidget() != nullptr ? about.focusWidget() : &about, &press);
    });
    QTimer::singleShot(2000, &about, [&about] { about.done(-1); });
    EXPECT_EQ(about.exec(), key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected) << key;
  }
}

TEST(AboutDialog, SystemInfoButtonRunsTheSearchEachTime) {
  ScriptedPlatform platform;
  platform.registry.set(kKey, "PATH", {kRegSz, BytesOf(std::string("/bin/info") + '\0')});
  frmAbout about(platform, nullptr);
  about.cmdSysInfo->click();
  about.cmdSysInfo->click();
  EXPECT_EQ(platform.story, (std::vector<std::string>{"Start /bin/info", "Start /bin/info"}));
}

}  // namespace
}  // namespace tarnlow::ui::test
