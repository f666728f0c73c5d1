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

TEST(GetKeyValue, ReadsValuesByTheirBytesAndClosesTheKey) {
  const std::string full(1024, 'a');
  const struct { const char* name; MemoryRegistry::Value value; std::string expected; } cases[] = {
      {"string with its zero", {kRegSz, BytesOf(std::string("C:\\msinfo32.exe") + '\0')}, "C:\\msinfo32.exe"},
      {"string without a zero", {kRegSz, BytesOf("C:\\x.exe")}, "C:\\x.exe"},
      {"only the last zero goes", {kRegSz, BytesOf(std::string("ab\0\0", 4))}, std::string("ab\0", 3)},
      {"1024 bytes without zero", {kRegSz, BytesOf(full)}, full},
      {"1024 bytes ending in zero", {kRegSz, BytesOf(full.substr(0, 1023) + '\0')}, full.substr(0, 1023)},
      {"Windows-1252 text", {kRegSz, {'c', 0xE9}}, "c\xC3\xA9"},
      {"dword, bytes last to first", {kRegDword, {0x78, 0x56, 0x34, 0x12}}, "&h12345678"},
      {"dword with a zero high byte", {kRegDword, {0x0A, 0x01, 0x02, 0x00}}, "&h02010A"},
      {"other types leave the value as passed", {3, {1, 2, 3}}, "before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    registry.set(kKey, "PATH", c.value);
    std::string value = "before";
    EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "PATH", value));
    EXPECT_EQ(value, c.expected);
    EXPECT_EQ(registry.openKeys, 0);
    EXPECT_EQ(registry.lastAccess, 0x2003Fu);
  }
}

TEST(GetKeyValue, FailsWithAnEmptyValue) {
  MemoryRegistry registry;
  registry.set(kKey, "PATH", {kRegSz, std::vector<std::uint8_t>(1025, 'a')});  // longer than the buffer
  registry.set(kKey, "EMPTY", {kRegSz, {}});  // no bytes at all
  const struct { std::uint32_t root; std::string key, value; } cases[] = {
      {kHkeyLocalMachine, "SOFTWARE\\Nothing", "PATH"}, {0x80000001u, kKey, "PATH"}, {kHkeyLocalMachine, kKey, "NOPE"},
      {kHkeyLocalMachine, kKey, "PATH"}, {kHkeyLocalMachine, kKey, "EMPTY"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key + " " + c.value);
    std::string value = "before";
    EXPECT_FALSE(GetKeyValue(registry, c.root, c.key, c.value, value));
    EXPECT_TRUE(value.empty());
    EXPECT_EQ(registry.openKeys, 0);
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
  platform.registry.setString(kKey, "PATH", "/bin/info");
  frmAbout about(platform, nullptr);
  about.cmdSysInfo->click();
  about.cmdSysInfo->click();
  EXPECT_EQ(platform.story, (std::vector<std::string>{"Start /bin/info", "Start /bin/info"}));
}

}  // namespace
}  // namespace tarnlow::ui::test
