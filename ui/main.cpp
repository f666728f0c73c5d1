#include <QApplication>

#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace tarnlow::ui {

// Start-up and exit: the main window's display is the program's lifetime.
// Returns 1 when a WAD that could not be read ended the program, else 0.
int Main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarnlow"));
  QtPlatform platform;
  int status = 0;
  {
    frmMain window(platform);
    platform.setDialogParent(&window);
    window.show();
    QApplication::exec();
    status = window.exitStatus();
    platform.setDialogParent(nullptr);
  }
  return status;
}

}  // namespace tarnlow::ui

int main(int argc, char** argv) { return tarnlow::ui::Main(argc, argv); }
