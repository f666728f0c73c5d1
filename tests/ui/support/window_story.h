#pragma once

// The window's widgets, as the window tests reach them.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "tests/ui/support/scripted_platform.h"
#include "ui/main_window.h"

namespace tarnlow::ui::test {

using tarnlow::test::Moveable;
using tarnlow::test::ReadFileBytes;
using tarnlow::test::ReadFileText;
using tarnlow::test::SimpleMesh;
using tarnlow::test::SwdFileBytes;
using tarnlow::test::WadBuilder;
using tarnlow::test::WadFileBytes;
using tarnlow::test::WriteFileBytes;

// The report's clock in tests: 2024/03/05 14:05:09.
LocalDateTime FixedClock();

// A WAD with three objects: LARA's two meshes (a dummy and a real one), a
// moveable with the null-mesh shape, and one whose second mesh lies outside
// the mesh pointers.
WadDocument StoryWad();

// A user's session with the window: a folder for their files, the scripted
// platform that answers for them, and the window once it is made.
class WindowStory : public ::testing::Test {
 protected:
  // Writes `document` as `name` (and an SWD beside it when `withSwd`);
  // returns the WAD's path.
  std::string writeWad(const std::string& name, const WadDocument& document, bool withSwd = true);
  // Makes the window (its load step runs) with the report clock fixed.
  frmMain& makeWindow();
  // Makes the window, answers its first Open dialog with `path` and runs
  // the first activation.
  frmMain& startWith(const std::string& path);
  // startWith a level1.wad of StoryWad with its SWD.
  frmMain& startWithStory() { return startWith(writeWad("level1.wad", StoryWad())); }
  // Makes the window, cancels its first Open dialog.
  frmMain& startCancelled();
  // In the system's own separators, as the window gives paths back.
  std::string pathOf(const std::string& name) const { return (dir / name).make_preferred().string(); }
  // Clicks Check (or, with `click` false, only waits) and lets the window
  // run until the check window's work is done; fails after a minute rather
  // than hang.
  void runCheck(bool click = true);

  tarnlow::test::TempDir dir;
  ScriptedPlatform platform;
  std::unique_ptr<frmMain> window;
};

}  // namespace tarnlow::ui::test
