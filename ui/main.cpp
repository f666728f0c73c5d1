#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"

namespace tarnlow::ui {

// Start-up and exit: the main window's display is the program's lifetime.
// `tarnlow PATH` opens that WAD at start instead of asking for one (so "Open
// with" and a WAD dropped on the program work); further arguments are left
// alone. Returns 1 when a WAD that could not be read ended the program,
// else 0.
int Main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarnlow"));
  QtPlatform platform;
  int status = 0;
  {
    frmMain window(platform);
    // Qt's arguments, not argv: on Windows they come from the wide command
    // line, so any file name arrives whole. A relative path is taken from
    // the folder the program was started in.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
      window.setStartPath(ToUtf8(QDir::toNativeSeparators(QFileInfo(arguments.at(1)).absoluteFilePath())));
    }
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
