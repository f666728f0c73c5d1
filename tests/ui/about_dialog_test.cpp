#include "ui/about_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/ui/support/scripted_platform.h"

namespace tarnlow::ui::test {
namespace {

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
  platform.registry.setString("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/bin/info");
  frmAbout about(platform, nullptr);
  about.cmdSysInfo->click();
  about.cmdSysInfo->click();
  EXPECT_EQ(platform.story, (std::vector<std::string>{"Start /bin/info", "Start /bin/info"}));
}

}  // namespace
}  // namespace tarnlow::ui::test
