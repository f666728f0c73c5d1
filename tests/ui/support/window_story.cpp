#include "tests/ui/support/window_story.h"

#include <QElapsedTimer>

#include "ui/check_window.h"

namespace tarnlow::ui::test {

LocalDateTime FixedClock() { return {2024, 3, 5, 14, 5, 9}; }

WadDocument StoryWad() {
  // The first mesh starts at offset 0, so its pointer is 0: a dummy.
  return WadBuilder()
      .meshes({SimpleMesh(), SimpleMesh(4), tarnlow::test::NullShapeMesh()})
      .moveables({Moveable(0, 2, 0), Moveable(1, 1, 2), Moveable(2, 2, 2)})
      .build();
}

std::string WindowStory::writeWad(const std::string& name, const WadDocument& document, bool withSwd) {
  WriteFileBytes(dir / name, WadFileBytes(document));
  if (withSwd) WriteFileBytes(dir / (name.substr(0, name.rfind('.')) + ".swd"), SwdFileBytes({1, 0, 0}, {16, 0, 0}));
  return pathOf(name);
}

frmMain& WindowStory::makeWindow() {
  window = std::make_unique<frmMain>(platform);
  window->setClock(FixedClock);
  return *window;
}

frmMain& WindowStory::startWith(const std::string& path) {
  platform.answerOpen(path);
  makeWindow().Form_Activate();
  return *window;
}

void WindowStory::runCheck(bool click) {
  if (click) window->cmdCheck->click();
  QElapsedTimer waited;
  waited.start();
  while (window->frmCheck->working() && waited.elapsed() < 60'000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  ASSERT_FALSE(window->frmCheck->working());
}

frmMain& WindowStory::startCancelled() {
  platform.cancelOpen();
  makeWindow().Form_Activate();
  return *window;
}

}  // namespace tarnlow::ui::test
